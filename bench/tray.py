#!/usr/bin/env python3
"""zamlo against a minimal Qt tray program, under Xvfb with IceWM's notification area: the time
from the start of the process until its icon is shown, and the resident memory after it idled.
Both programs run in turns in the same session (one start of each is not counted: it fills the
file cache); the results go to a JSON file as lists of single runs.

    tray.py --programmordner DIR --werkzeuge DIR --grossbuch DIR --ausgabe DATEI
            [--laeufe N] [--ruhe SEKUNDEN]
"""

import argparse
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# The display, window manager and waiting are those of the end-to-end tests.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from velmark_e2e import ICEWM_EINSTELLUNGEN, _X11, warten  # noqa: E402


class Sitzung:
    def __init__(self, basis):
        self.temp = tempfile.mkdtemp(prefix="tray-", dir=basis)
        self.prozesse = []
        self.umgebung = {k: v for k, v in os.environ.items()
                         if k not in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY",
                                      "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER")}
        for name in ("config", "runtime"):
            os.makedirs(os.path.join(self.temp, name), mode=0o700)
        self.umgebung.update({
            "XDG_CONFIG_HOME": os.path.join(self.temp, "config"),
            "XDG_RUNTIME_DIR": os.path.join(self.temp, "runtime"),
            "HOME": self.temp,
            "QT_QPA_PLATFORM": "xcb",
            "NO_AT_BRIDGE": "1",
        })

    def __enter__(self):
        try:
            self._anzeige()
            self._icewm()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _anzeige(self):
        lesen, schreiben = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(schreiben), "-screen", "0",
                                 "1024x768x24", "-nolisten", "tcp", "-noreset"],
                                pass_fds=(schreiben,), stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True)
        os.close(schreiben)
        self.prozesse.append(xvfb)
        nummer = b""
        ende = time.monotonic() + 20
        while not nummer.endswith(b"\n") and time.monotonic() < ende:
            if select.select([lesen], [], [], 1)[0]:
                teil = os.read(lesen, 16)
                if not teil:
                    break
                nummer += teil
        os.close(lesen)
        if not nummer.endswith(b"\n"):
            raise RuntimeError("Xvfb hat keine Anzeige gemeldet")
        self.anzeige = ":" + nummer.decode().strip()
        self.umgebung["DISPLAY"] = self.anzeige

    def _icewm(self):
        privat = os.path.join(self.temp, "icewm")
        os.makedirs(privat)
        with open(os.path.join(privat, "preferences"), "w") as f:
            f.write(ICEWM_EINSTELLUNGEN)
        self.prozesse.append(subprocess.Popen(
            ["icewm"], env=dict(self.umgebung, ICEWM_PRIVCFG=privat),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True))
        x11 = _X11(self.anzeige)
        warten(lambda: x11.selektionsbesitzer("_NET_SYSTEM_TRAY_S0"),
               "Infobereich von IceWM", 30)
        time.sleep(1)  # the task bar settles before the first measurement

    def __exit__(self, *_):
        for p in reversed(self.prozesse):
            if p.poll() is None:
                os.killpg(p.pid, signal.SIGTERM)
        for p in reversed(self.prozesse):
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()
        shutil.rmtree(self.temp, ignore_errors=True)
        return False

    def messen(self, symbolzeit, programm, ruhe):
        aus = subprocess.run([symbolzeit, str(ruhe), programm], env=self.umgebung,
                             capture_output=True, text=True, timeout=120)
        if aus.returncode != 0:
            raise RuntimeError(f"{os.path.basename(programm)}: {aus.stderr.strip()}")
        return json.loads(aus.stdout)


def main():
    a = argparse.ArgumentParser()
    a.add_argument("--programmordner", required=True)
    a.add_argument("--werkzeuge", required=True)
    a.add_argument("--grossbuch", required=True)
    a.add_argument("--ausgabe", required=True)
    a.add_argument("--laeufe", type=int, default=5)
    a.add_argument("--ruhe", type=float, default=10)
    args = a.parse_args()

    basis = os.path.dirname(os.path.abspath(args.ausgabe))
    with Sitzung(basis) as s:
        # zamlo in a program folder of its own with the large book, as installed.
        ordner = os.path.join(s.temp, "Velmark")
        shutil.copytree(args.programmordner, ordner, symlinks=True)
        for datei in ("Daten.mdb", "Clara.mdb"):
            shutil.copy(os.path.join(args.grossbuch, datei), ordner)
        symbolzeit = os.path.join(args.werkzeuge, "velmark-symbolzeit")
        programme = {"zamlo": os.path.join(ordner, "zamlo"),
                     "referenz": os.path.join(args.werkzeuge, "velmark-bench-tray")}
        ergebnis = {name: {"start_ms": [], "rss_kb": []} for name in programme}
        for name, pfad in programme.items():
            s.messen(symbolzeit, pfad, 0)
        for lauf in range(args.laeufe):
            reihenfolge = list(programme.items())
            if lauf % 2:
                reihenfolge.reverse()
            for name, pfad in reihenfolge:
                m = s.messen(symbolzeit, pfad, args.ruhe)
                ergebnis[name]["start_ms"].append(m["start_ms"])
                ergebnis[name]["rss_kb"].append(m["rss_kb"])
                print(f"  {name}: {m['start_ms']:.1f} ms, {m['rss_kb']} KiB", file=sys.stderr)
    with open(args.ausgabe, "w") as f:
        json.dump(ergebnis, f, indent=1)


if __name__ == "__main__":
    main()
