#!/usr/bin/env python3
"""Local HTTP server for the Downloader tests. Listens on 127.0.0.1 on a free port and prints
"PORT <n>" as its first line. Each path is one behaviour:

  /hallo               "Hallo Welt"
  /bytes               bytes above 127 and a zero byte
  /laenge/<n>          n bytes, byte i = 32 + i % 95
  /leer                200 with an empty body
  /fehlt               404 with a body
  /abgebrochen         announces 100 bytes, sends 10, closes
  /langsam/<ms>        "langsam" after <ms> milliseconds
  /tropfen/<n>         n bytes "a".., one per second
  /riesig              more than 64 MiB, with Content-Length
  /riesig-ohne-laenge  more than 64 MiB, without Content-Length (ends when the connection closes)
  /kopf                the request's header lines as the body
  /frisch              the number of this request, with a long cache lifetime
  /umleitung           302 to /hallo
  /umleitung-datei     302 to file:///etc/hostname (another scheme)
  /umleitung-ftp       302 to ftp://127.0.0.1/hallo
  /zulang              announces 5 bytes, sends "Hallo Welt"
  /muell               header lines that are no headers (no colon, bytes above 127, a
                       Content-Length that is no number, two that disagree), then "Hallo Welt"
  /zaehler             how many connections the other paths received so far
"""
import socketserver
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

GRENZE = 64 * 1024 * 1024
sperre = threading.Lock()
verbindungen = 0
zaehlerabfragen = 0


class Server(ThreadingHTTPServer):
    daemon_threads = True

    def verify_request(self, request, client_address):
        global verbindungen
        with sperre:
            verbindungen += 1
        return True


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def antworten(self, koerper, status=200, laenge=True, kopf=None):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        if laenge:
            self.send_header("Content-Length", str(len(koerper)))
        for name, wert in (kopf or {}).items():
            self.send_header(name, wert)
        self.end_headers()
        self.wfile.write(koerper)

    def riesig(self, mit_laenge):
        block = b"x" * (1024 * 1024)
        gesamt = GRENZE + 1024
        self.send_response(200)
        if mit_laenge:
            self.send_header("Content-Length", str(gesamt))
        self.end_headers()
        geschickt = 0
        while geschickt < gesamt:
            teil = block[: min(len(block), gesamt - geschickt)]
            self.wfile.write(teil)
            geschickt += len(teil)

    def do_GET(self):
        global zaehlerabfragen
        teile = self.path.strip("/").split("/")
        art = teile[0]
        try:
            if art == "hallo":
                self.antworten(b"Hallo Welt")
            elif art == "bytes":
                self.antworten(b"A\x80\xe4\x00\x9f\x81\xffZ")
            elif art == "laenge":
                n = int(teile[1])
                self.antworten(bytes(32 + i % 95 for i in range(n)))
            elif art == "leer":
                self.antworten(b"")
            elif art == "fehlt":
                self.antworten(b"<html>nicht gefunden</html>", status=404)
            elif art == "abgebrochen":
                self.send_response(200)
                self.send_header("Content-Length", "100")
                self.end_headers()
                self.wfile.write(b"0123456789")
                self.wfile.flush()
            elif art == "langsam":
                time.sleep(int(teile[1]) / 1000)
                self.antworten(b"langsam")
            elif art == "tropfen":
                n = int(teile[1])
                self.send_response(200)
                self.send_header("Content-Length", str(n))
                self.end_headers()
                for i in range(n):
                    self.wfile.write(bytes([ord("a") + i % 26]))
                    self.wfile.flush()
                    if i + 1 < n:
                        time.sleep(1)
            elif art == "riesig":
                self.riesig(True)
            elif art == "riesig-ohne-laenge":
                self.riesig(False)
            elif art == "kopf":
                self.antworten(str(self.headers).encode("latin-1"))
            elif art == "frisch":
                with sperre:
                    nummer = verbindungen - zaehlerabfragen
                self.antworten(str(nummer).encode(),
                               kopf={"Cache-Control": "max-age=3600"})
            elif art == "umleitung":
                self.send_response(302)
                self.send_header("Location", "/hallo")
                self.send_header("Content-Length", "0")
                self.end_headers()
            elif art in ("umleitung-datei", "umleitung-ftp"):
                self.send_response(302)
                self.send_header("Location", "file:///etc/hostname" if art.endswith("datei")
                                 else "ftp://127.0.0.1/hallo")
                self.send_header("Content-Length", "0")
                self.end_headers()
            elif art == "zulang":
                self.send_response(200)
                self.send_header("Content-Length", "5")
                self.end_headers()
                self.wfile.write(b"Hallo Welt")
            elif art == "muell":
                self.wfile.write(b"HTTP/1.0 200 OK\r\n"
                                 b"Das ist kein Kopf\r\n"
                                 b"\xff\xfe\x00: \x80\x81\r\n"
                                 b"Content-Length: viele\r\n"
                                 b"Content-Length: 10\r\n"
                                 b"Content-Length: 7\r\n"
                                 b": ohne Namen\r\n\r\n"
                                 b"Hallo Welt")
            elif art == "zaehler":
                with sperre:
                    zaehlerabfragen += 1
                    anzahl = verbindungen - zaehlerabfragen
                self.antworten(str(anzahl).encode())
            else:
                self.antworten(b"unbekannt", status=400)
        except (BrokenPipeError, ConnectionResetError):
            pass


def main():
    server = Server(("127.0.0.1", 0), Handler)
    print("PORT", server.server_address[1], flush=True)
    # Ends with the test: stdin closes when the test process goes away.
    threading.Thread(target=server.serve_forever, daemon=True).start()
    sys.stdin.read()
    server.shutdown()


if __name__ == "__main__":
    main()
