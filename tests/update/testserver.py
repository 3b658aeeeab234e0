#!/usr/bin/env python3
"""Local update server for the tests of the update program.

    testserver.py <folder> [port]

Listens on 127.0.0.1 only (port 0: a free one) and prints the port on its first line. Files are
served from <folder>; a missing file gives 404. The address path is
<mode>/<parameters...>/<file name>; the mode decides how the server answers for the main program
file (a name starting with "kvasto"); every other file is served as in mode "ok", so that the
version check before a download works whatever the download meets:

    ok                 200, the file with Content-Length
    401, 404, 500      that status with a short text body
    ohnestatus         the file's bytes without any status line or header, then close
    halb               200 with the full Content-Length, half of the body, then close
    kurz/<n>           200 with the full Content-Length, the body less n bytes, then close
    stau/<n>           200 with the full Content-Length, n bytes of the body, then silence until
                       the client goes away
    stumm              accepts the request and never answers
    ohnelaenge         200 without Content-Length, the file, then close
    langsam/<n>/<ms>   200 with Content-Length, the body in pieces of n bytes every ms
                       milliseconds
    umleitung          301 to the same file in mode ok
    zulang/<n>         200 announcing n bytes fewer than the body it sends, then close
    endlos             200 without Content-Length, a body that never ends
    muell              200 with header lines that are no headers (no colon, bytes above 127, a
                       Content-Length that is no number, two that disagree), then the file
    schema/<art>       301 to another scheme: "datei" (file:///etc/hostname), "ftp"
                       (ftp://127.0.0.1/<file>)
"""

import os
import select
import socket
import sys
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    ordner = "."

    def log_message(self, format, *args):
        pass

    def datei(self, name):
        pfad = os.path.join(self.ordner, os.path.basename(name))
        with open(pfad, "rb") as f:
            return f.read()

    def kopf(self, status, laenge=None):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        if laenge is not None:
            self.send_header("Content-Length", str(laenge))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.flush()

    def warten_bis_getrennt(self, sekunden=120):
        # Silence on an open connection, until the client closes it.
        ende = time.monotonic() + sekunden
        while time.monotonic() < ende:
            lesbar, _, _ = select.select([self.connection], [], [], 0.2)
            if lesbar:
                try:
                    if not self.connection.recv(4096):
                        return
                except OSError:
                    return

    def schliessen(self):
        self.close_connection = True
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def do_GET(self):
        teile = [t for t in self.path.split("?")[0].split("/") if t]
        if len(teile) < 2:
            self.kopf(400, 0)
            return
        modus, parameter, name = teile[0], teile[1:-1], teile[-1]
        if not name.startswith("kvasto"):
            modus = "ok"
        try:
            if modus in ("401", "404", "500"):
                text = ("Status " + modus).encode()
                self.kopf(int(modus), len(text))
                self.wfile.write(text)
                return
            if modus == "umleitung":
                self.send_response(301)
                self.send_header("Location", "/ok/" + name)
                self.send_header("Content-Length", "0")
                self.send_header("Connection", "close")
                self.end_headers()
                return
            if modus == "schema":
                ziel = "file:///etc/hostname" if parameter[0] == "datei" else "ftp://127.0.0.1/" + name
                self.send_response(301)
                self.send_header("Location", ziel)
                self.send_header("Content-Length", "0")
                self.send_header("Connection", "close")
                self.end_headers()
                return
            if modus == "endlos":
                self.send_response(200)
                self.send_header("Connection", "close")
                self.end_headers()
                block = b"x" * 65536
                while True:
                    self.wfile.write(block)
            if modus == "stumm":
                self.warten_bis_getrennt()
                self.schliessen()
                return
            try:
                inhalt = self.datei(name)
            except OSError:
                self.kopf(404, 0)
                return
            if modus == "ok":
                self.kopf(200, len(inhalt))
                self.wfile.write(inhalt)
            elif modus == "ohnestatus":
                self.wfile.write(inhalt)
                self.wfile.flush()
                self.schliessen()
            elif modus == "halb":
                self.kopf(200, len(inhalt))
                self.wfile.write(inhalt[: len(inhalt) // 2])
                self.wfile.flush()
                self.schliessen()
            elif modus == "kurz":
                self.kopf(200, len(inhalt))
                self.wfile.write(inhalt[: len(inhalt) - int(parameter[0])])
                self.wfile.flush()
                self.schliessen()
            elif modus == "stau":
                self.kopf(200, len(inhalt))
                self.wfile.write(inhalt[: int(parameter[0])])
                self.wfile.flush()
                self.warten_bis_getrennt()
                self.schliessen()
            elif modus == "zulang":
                self.kopf(200, len(inhalt) - int(parameter[0]))
                self.wfile.write(inhalt)
                self.wfile.flush()
                self.schliessen()
            elif modus == "muell":
                self.wfile.write(b"HTTP/1.1 200 OK\r\n"
                                 b"Das ist kein Kopf\r\n"
                                 b"\xff\xfe\x00: \x80\x81\r\n"
                                 b"Content-Length: viele\r\n"
                                 b"Content-Length: " + str(len(inhalt)).encode() + b"\r\n"
                                 b"Content-Length: 7\r\n"
                                 b": ohne Namen\r\n"
                                 b"Connection: close\r\n\r\n")
                self.wfile.write(inhalt)
                self.wfile.flush()
                self.schliessen()
            elif modus == "ohnelaenge":
                self.send_response(200)
                self.send_header("Connection", "close")
                self.end_headers()
                self.wfile.write(inhalt)
                self.wfile.flush()
                self.schliessen()
            elif modus == "langsam":
                stueck, pause = int(parameter[0]), int(parameter[1]) / 1000.0
                self.kopf(200, len(inhalt))
                for anfang in range(0, len(inhalt), stueck):
                    self.wfile.write(inhalt[anfang : anfang + stueck])
                    self.wfile.flush()
                    time.sleep(pause)
            else:
                self.kopf(400, 0)
        except (BrokenPipeError, ConnectionResetError):
            pass


def main():
    Handler.ordner = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    server = ThreadingHTTPServer(("127.0.0.1", port), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
