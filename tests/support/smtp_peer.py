"""SMTP peer for the tests, on 127.0.0.1 and a free port.

usage: smtp_peer.py MODE FOLDER
  MODE smtp:   an aiosmtpd server; each accepted message is written to
               FOLDER as N.eml (the data as received, dot-stuffing undone)
               and N.env (sender on the first line, recipients after it).
               Recipients starting "refuse" get 550, "moved" get a 551 with
               the forward path <forwarded@example.com>, "lost" a 551 without
               one; a sender starting "reject" gets 554 after the data.
  MODE silent: accepts connections and never says a word.
  MODE hangup: answers the dialogue up to 354, reads a little of the data
               and closes the connection without a reply.
Prints "PORT <n>" once it listens, then runs until stdin closes.
"""
import os
import socket
import sys
import threading


def free_port():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
    s.close()
    return port


def wait_for_stdin_close():
    try:
        sys.stdin.read()
    except Exception:
        pass


def run_smtp(folder):
    from aiosmtpd.controller import Controller

    class Handler:
        count = 0

        async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
            if address.startswith("refuse"):
                return "550 5.1.1 Mailbox unavailable"
            if address.startswith("moved"):
                return "551 5.1.6 User not local; please try <forwarded@example.com>"
            if address.startswith("lost"):
                return "551 5.1.6 User not local"
            envelope.rcpt_tos.append(address)
            return "250 OK"

        async def handle_DATA(self, server, session, envelope):
            if envelope.mail_from.startswith("reject"):
                return "554 5.6.0 Message refused"
            Handler.count += 1
            base = os.path.join(folder, str(Handler.count))
            with open(base + ".eml.tmp", "wb") as f:
                f.write(envelope.original_content or envelope.content)
            with open(base + ".env", "w") as f:
                f.write(envelope.mail_from + "\n" + "\n".join(envelope.rcpt_tos) + "\n")
            os.rename(base + ".eml.tmp", base + ".eml")
            return "250 Message accepted for delivery"

    port = free_port()
    controller = Controller(Handler(), hostname="127.0.0.1", port=port)
    controller.start()
    print("PORT %d" % port, flush=True)
    wait_for_stdin_close()
    controller.stop()


def run_silent():
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(5)
    kept = []

    def accept():
        while True:
            try:
                conn, _ = server.accept()
                kept.append(conn)
            except OSError:
                return

    threading.Thread(target=accept, daemon=True).start()
    print("PORT %d" % server.getsockname()[1], flush=True)
    wait_for_stdin_close()
    server.close()


def run_hangup():
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(5)

    def talk(conn):
        try:
            conn.sendall(b"220 peer ready\r\n")
            reader = conn.makefile("rb")
            while True:
                line = reader.readline()
                if not line:
                    return
                verb = line[:4].upper()
                if verb == b"DATA":
                    conn.sendall(b"354 go ahead\r\n")
                    reader.readline()
                    conn.close()
                    return
                conn.sendall(b"250 OK\r\n")
        except OSError:
            pass

    def accept():
        while True:
            try:
                conn, _ = server.accept()
            except OSError:
                return
            threading.Thread(target=talk, args=(conn,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    print("PORT %d" % server.getsockname()[1], flush=True)
    wait_for_stdin_close()
    server.close()


if __name__ == "__main__":
    if sys.argv[1] == "silent":
        run_silent()
    elif sys.argv[1] == "hangup":
        run_hangup()
    else:
        run_smtp(sys.argv[2])
