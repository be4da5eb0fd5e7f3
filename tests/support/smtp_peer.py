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
  The misbehaving modes talk SMTP by hand; each writes every command line
  it hears to FOLDER/commands (data lines not included) and every message
  whose data it received to N.eml and N.env as above:
    data250:    answers DATA with 250 instead of 354 (then takes what
                comes as commands);
    extrahelo:  answers HELO with one reply too many;
    greeting2:  sends a second greeting after its answer to HELO;
    nodot:      takes the data and never answers the final ".";
    closedot:   takes the data and closes the connection without a reply;
    421greet:   greets with 421 and closes;
    421mail:    answers MAIL FROM with 421 and closes;
    endless:    greets, then sends bytes without a line end until the
                client hangs up (or 256 MB went out), and writes how many
                it sent to FOLDER/endless.
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


class Misbehaving:
    def __init__(self, kind, folder):
        self.kind = kind
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()

    def heard(self, line):
        with self.lock:
            with open(os.path.join(self.folder, "commands"), "ab") as f:
                f.write(line.rstrip(b"\r\n") + b"\n")

    def keep(self, sender, recipients, data):
        with self.lock:
            self.count += 1
            base = os.path.join(self.folder, str(self.count))
        with open(base + ".env", "w") as f:
            f.write(sender + "\n" + "\n".join(recipients) + "\n")
        with open(base + ".eml.tmp", "wb") as f:
            f.write(data)
        os.rename(base + ".eml.tmp", base + ".eml")

    def endless(self, conn):
        sent = 0
        chunk = b"x" * 65536
        try:
            conn.sendall(b"220 ")
            while sent < 256 * 1024 * 1024:
                conn.sendall(chunk)
                sent += len(chunk)
        except OSError:
            pass
        with open(os.path.join(self.folder, "endless.tmp"), "w") as f:
            f.write(str(sent))
        os.rename(os.path.join(self.folder, "endless.tmp"), os.path.join(self.folder, "endless"))

    def talk(self, conn):
        kind = self.kind
        if kind == "endless":
            self.endless(conn)
            conn.close()
            return
        reader = conn.makefile("rb")
        sender, recipients = "", []
        try:
            if kind == "421greet":
                conn.sendall(b"421 4.3.2 Service not available, closing channel\r\n")
                conn.close()
                return
            conn.sendall(b"220 peer ready\r\n")
            while True:
                line = reader.readline(100000)
                if not line:
                    return
                self.heard(line)
                verb = line[:4].upper()
                if verb in (b"HELO", b"EHLO"):
                    reply = b"250 peer\r\n"
                    if kind == "extrahelo":
                        reply += b"250 one more\r\n"
                    elif kind == "greeting2":
                        reply += b"220 peer ready again\r\n"
                    conn.sendall(reply)
                elif verb == b"MAIL":
                    if kind == "421mail":
                        conn.sendall(b"421 4.7.0 Try again later, closing channel\r\n")
                        conn.close()
                        return
                    sender = line.decode().split("<", 1)[-1].split(">", 1)[0]
                    recipients = []
                    conn.sendall(b"250 OK\r\n")
                elif verb == b"RCPT":
                    recipients.append(line.decode().split("<", 1)[-1].split(">", 1)[0])
                    conn.sendall(b"250 OK\r\n")
                elif verb == b"DATA":
                    if kind == "data250":
                        conn.sendall(b"250 OK\r\n")
                        continue
                    conn.sendall(b"354 go ahead\r\n")
                    data = b""
                    while True:
                        part = reader.readline(100000)
                        if not part:
                            return
                        if part in (b".\r\n", b".\n"):
                            break
                        if part.startswith(b"."):
                            part = part[1:]
                        data += part
                    self.keep(sender, recipients, data)
                    if kind == "closedot":
                        conn.close()
                        return
                    if kind == "nodot":
                        continue
                    conn.sendall(b"250 Message accepted\r\n")
                elif verb == b"QUIT":
                    conn.sendall(b"221 bye\r\n")
                    conn.close()
                    return
                else:
                    conn.sendall(b"500 Command unrecognised\r\n")
        except OSError:
            pass


def run_misbehaving(kind, folder):
    peer = Misbehaving(kind, folder)
    server = socket.socket()
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(5)

    def accept():
        while True:
            try:
                conn, _ = server.accept()
            except OSError:
                return
            threading.Thread(target=peer.talk, args=(conn,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    print("PORT %d" % server.getsockname()[1], flush=True)
    wait_for_stdin_close()
    server.close()


if __name__ == "__main__":
    if sys.argv[1] == "silent":
        run_silent()
    elif sys.argv[1] == "hangup":
        run_hangup()
    elif sys.argv[1] != "smtp":
        run_misbehaving(sys.argv[1], sys.argv[2])
    else:
        run_smtp(sys.argv[2])
