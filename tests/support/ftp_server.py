#!/usr/bin/python3
"""FTP peer for the lead-file tests, bound to 127.0.0.1 on a free port.

Prints the port on its first line, then serves until killed.
Modes: "ftp" (a pyftpdlib server over --root), "silent" (accepts connections
and never sends a byte), "stall-retr" (logs in, then never answers RETR).
"""
import argparse
import logging
import socket
import sys


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    parser.add_argument("--mode", default="ftp", choices=["ftp", "silent", "stall-retr"])
    args = parser.parse_args()

    if args.mode == "silent":
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        listener.listen(16)
        print(listener.getsockname()[1], flush=True)
        held = []
        while True:
            connection, _ = listener.accept()
            held.append(connection)

    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler
    from pyftpdlib.servers import FTPServer

    logging.basicConfig(level=logging.CRITICAL, stream=sys.stderr)
    logging.getLogger("pyftpdlib").setLevel(logging.CRITICAL)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")

    class Handler(FTPHandler):
        if args.mode == "stall-retr":
            def ftp_RETR(self, file):
                pass  # never answers

    Handler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), Handler)
    print(server.address[1], flush=True)
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
