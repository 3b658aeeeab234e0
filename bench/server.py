#!/usr/bin/env python3
"""HTTP server of the benchmarks on 127.0.0.1: GET /bytes/<n> answers with n bytes from memory
(printable text, the same for every request), with Content-Length. The port is free and printed
on the first line of the output. Ends when its standard input closes, so that it never outlives
the benchmark that started it. Sizes given as arguments are made before the port is printed.

    server.py [n ...]"""

import http.server
import socketserver
import sys
import threading

MUSTER = bytes(range(0x20, 0x7F)) * 1024
_inhalte = {}


def inhalt(n):
    if n not in _inhalte:
        wiederholung = n // len(MUSTER) + 1
        _inhalte[n] = memoryview((MUSTER * wiederholung)[:n])
    return _inhalte[n]


class Anfrage(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        teile = self.path.strip("/").split("/")
        if len(teile) != 2 or teile[0] != "bytes" or not teile[1].isdigit():
            self.send_error(404)
            return
        daten = inhalt(int(teile[1]))
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(daten)))
        self.end_headers()
        self.wfile.write(daten)

    def log_message(self, *args):
        pass


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    for n in sys.argv[1:]:
        inhalt(int(n))
    server = Server(("127.0.0.1", 0), Anfrage)
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    server.shutdown()


if __name__ == "__main__":
    main()
