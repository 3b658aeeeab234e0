"""Harness for the end-to-end tests: a virtual display with IceWM and its notification area, a
program folder copied from the build with the demo data, and the built programs run as
processes, driven with xdotool and checked in their SQLite files.

Every wait polls a condition until a deadline; nothing sleeps for a fixed time to let something
happen. A test uses one Sitzung (session) as a context manager; leaving it ends every process the
session started.

    with Sitzung("name", programmordner, werkzeuge, ausgabe) as s:
        zamlo = s.starten("zamlo")
        symbol = s.tray_symbol("zamlo")
        s.klicken(symbol, knopf=3)
        s.bildschirmfoto("menue")
"""

import ctypes
import ctypes.util
import os
import select
import shutil
import signal
import sqlite3
import subprocess
import tempfile
import time


class Zeitueberschreitung(AssertionError):
    pass


def warten(bedingung, beschreibung, zeit=15.0, intervall=0.05):
    """Polls bedingung() until it returns something true; returns that, or fails after zeit s."""
    ende = time.monotonic() + zeit
    while True:
        ergebnis = bedingung()
        if ergebnis:
            return ergebnis
        if time.monotonic() > ende:
            raise Zeitueberschreitung(f"Zeitüberschreitung ({zeit:.0f} s): {beschreibung}")
        time.sleep(intervall)


def ini_text(datei, abschnitt, schluessel):
    """A value of an INI-format text file (the language and tips files), as the programs read it."""
    aktuell = None
    with open(datei, encoding="utf-8") as f:
        for zeile in f:
            zeile = zeile.strip()
            if zeile.startswith("[") and zeile.endswith("]"):
                aktuell = zeile[1:-1].strip().lower()
            elif aktuell == abschnitt.lower() and "=" in zeile:
                name, wert = zeile.split("=", 1)
                if name.strip().lower() == str(schluessel).lower():
                    wert = wert.strip()
                    if len(wert) >= 2 and wert[0] == wert[-1] and wert[0] in "\"'":
                        wert = wert[1:-1]
                    return wert[:254]
    return ""


def ini_setzen(datei, abschnitt, schluessel, wert):
    """Replaces (or adds) one value in an INI-format file."""
    with open(datei, encoding="utf-8") as f:
        zeilen = f.read().splitlines()
    aktuell, gesetzt, aus = None, False, []
    for zeile in zeilen:
        kopf = zeile.strip()
        if kopf.startswith("[") and kopf.endswith("]"):
            if aktuell == abschnitt.lower() and not gesetzt:
                aus.append(f"{schluessel}={wert}")
                gesetzt = True
            aktuell = kopf[1:-1].strip().lower()
        elif (aktuell == abschnitt.lower() and "=" in zeile
              and zeile.split("=", 1)[0].strip() == str(schluessel)):
            if not gesetzt:
                aus.append(f"{schluessel}={wert}")
                gesetzt = True
            continue
        aus.append(zeile)
    if not gesetzt:
        aus.append(f"{schluessel}={wert}")
    with open(datei, "w", encoding="utf-8") as f:
        f.write("\n".join(aus) + "\n")


class _X11:
    """The one Xlib call xdotool does not offer: who owns a selection. Each query opens its own
    connection and closes it at once, so that no connection outlives the server (Xlib ends the
    whole process when its server goes away)."""

    def __init__(self, anzeige):
        self.anzeige = anzeige.encode()
        self.lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.lib.XOpenDisplay.restype = ctypes.c_void_p
        self.lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.lib.XInternAtom.restype = ctypes.c_ulong
        self.lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.lib.XGetSelectionOwner.restype = ctypes.c_ulong
        self.lib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.lib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    def selektionsbesitzer(self, name):
        verbindung = self.lib.XOpenDisplay(self.anzeige)
        if not verbindung:
            return 0
        try:
            atom = self.lib.XInternAtom(verbindung, name.encode(), 0)
            return self.lib.XGetSelectionOwner(verbindung, atom)
        finally:
            self.lib.XCloseDisplay(verbindung)


ICEWM_EINSTELLUNGEN = """\
ShowTaskBar=1
TaskBarAutoHide=0
TaskBarEnableSystemTray=1
TaskBarShowClock=0
TaskBarShowAPMStatus=0
TaskBarShowMailboxStatus=0
TaskBarShowCPUStatus=0
TaskBarShowNetStatus=0
TaskBarShowMEMStatus=0
TaskBarShowWorkspaces=0
TaskBarShowStartMenu=0
TaskBarShowWindowListMenu=0
TaskBarShowShowDesktopButton=0
TaskBarDoubleHeight=0
FocusRequestFlashTime=0
TaskBarShowTray=1
ShowWorkspaceStatus=0
"""


class Sitzung:
    """One test's world: Xvfb (display chosen by the server), IceWM with its notification area,
    fresh settings and runtime folders, and a program folder with the demo data."""

    def __init__(self, name, programmordner, werkzeuge, ausgabe, breite=1024, hoehe=768,
                 demo=True):
        self.name = name
        self.gebaut = programmordner
        self.werkzeuge = werkzeuge
        self.ausgabe = ausgabe
        self.groesse = (breite, hoehe)
        self.demo = demo
        self.prozesse = []
        self.x11 = None
        self.temp = None

    # --- set-up and tear-down ------------------------------------------------------------

    def __enter__(self):
        try:
            self._aufbauen()
        except BaseException:
            self._abbauen()
            raise
        return self

    def __exit__(self, art, fehler, spur):
        if art is not None:
            self._fehler_festhalten()
        self._abbauen()
        return False

    def _fehler_festhalten(self):
        """On a failure: a screenshot and the output of every program, for the test log."""
        try:
            print(f"Bildschirm beim Fehler: {self.bildschirmfoto('fehler')}", flush=True)
        except Exception as e:  # the display may be the problem
            print(f"kein Bildschirmfoto: {e}", flush=True)
        for p in self.prozesse:
            log = getattr(p, "logdatei", None)
            if log and os.path.exists(log):
                with open(log, "rb") as f:
                    inhalt = f.read()[-4000:].decode(errors="replace")
                if inhalt:
                    print(f"--- Ausgabe von {p.args[0]}:\n{inhalt}", flush=True)

    def _aufbauen(self):
        self.temp = tempfile.mkdtemp(prefix=f"velmark-e2e-{self.name}-")
        os.makedirs(self.ausgabe, exist_ok=True)
        self.config = os.path.join(self.temp, "config")
        self.laufzeit = os.path.join(self.temp, "runtime")
        os.makedirs(self.config)
        os.makedirs(self.laufzeit, mode=0o700)
        self.ordner = os.path.join(self.temp, "Velmark") + os.sep
        shutil.copytree(self.gebaut, self.ordner, symlinks=True)
        self.umgebung = dict(os.environ)
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                     "SESSION_MANAGER"):
            self.umgebung.pop(name, None)
        self.umgebung.update({
            "XDG_CONFIG_HOME": self.config,
            "XDG_RUNTIME_DIR": self.laufzeit,
            "HOME": self.temp,
            "QT_QPA_PLATFORM": "xcb",
            "NO_AT_BRIDGE": "1",
        })
        if self.demo:
            subprocess.run([os.path.join(self.werkzeuge, "velmark-daten"), "demo", self.ordner],
                           env=self.umgebung, check=True, timeout=60)
        self._anzeige_starten()
        self._icewm_starten()

    def _anzeige_starten(self):
        lesen, schreiben = os.pipe()
        breite, hoehe = self.groesse
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(schreiben), "-screen", "0", f"{breite}x{hoehe}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(schreiben,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(schreiben)
        self.prozesse.append(xvfb)
        nummer = b""
        ende = time.monotonic() + 20
        while not nummer.endswith(b"\n"):
            rest = ende - time.monotonic()
            if rest <= 0 or xvfb.poll() is not None:
                os.close(lesen)
                raise RuntimeError("Xvfb hat keine Anzeige gemeldet")
            bereit, _, _ = select.select([lesen], [], [], rest)
            if bereit:
                teil = os.read(lesen, 16)
                if not teil:
                    break
                nummer += teil
        os.close(lesen)
        self.anzeige = ":" + nummer.decode().strip()
        self.umgebung["DISPLAY"] = self.anzeige
        self.x11 = _X11(self.anzeige)

    def _icewm_starten(self):
        privat = os.path.join(self.temp, "icewm")
        os.makedirs(privat)
        with open(os.path.join(privat, "preferences"), "w") as f:
            f.write(ICEWM_EINSTELLUNGEN)
        umgebung = dict(self.umgebung, ICEWM_PRIVCFG=privat)
        self.icewm = subprocess.Popen(["icewm"], env=umgebung, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL, start_new_session=True)
        self.prozesse.append(self.icewm)
        warten(lambda: self.x11.selektionsbesitzer("_NET_SYSTEM_TRAY_S0"),
               "Infobereich von IceWM", zeit=30)

    def _reste_beenden(self):
        """Programs of this session's folder that others started (zamlo starts kvasto)."""
        if not self.temp or not os.path.isdir("/proc"):
            return
        for eintrag in os.listdir("/proc"):
            if not eintrag.isdigit():
                continue
            try:
                ziel = os.readlink(f"/proc/{eintrag}/exe")
            except OSError:
                continue
            if ziel.startswith(self.temp + os.sep):
                try:
                    os.kill(int(eintrag), signal.SIGKILL)
                except OSError:
                    pass

    def _abbauen(self):
        self._reste_beenden()
        for p in reversed(self.prozesse):
            if p.poll() is None:
                try:
                    os.killpg(p.pid, signal.SIGTERM)
                except (ProcessLookupError, PermissionError):
                    p.terminate()
        for p in reversed(self.prozesse):
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(p.pid, signal.SIGKILL)
                except (ProcessLookupError, PermissionError):
                    p.kill()
                p.wait(timeout=10)
        if self.temp and os.environ.get("VELMARK_TEST_BEHALTEN", "0") not in ("", "0"):
            print(f"Temporärer Ordner behalten: {self.temp}", flush=True)
        elif self.temp:
            shutil.rmtree(self.temp, ignore_errors=True)

    # --- programs ------------------------------------------------------------------------

    def starten(self, programm, *argumente, ordner=None, lesen=False):
        """Starts a program of the program folder copy (or a path) in its own process group.
        Its output goes to a log file in the session (read it with protokoll()), or with lesen=True
        to a pipe that the test reads as it goes."""
        pfad = programm if os.sep in programm else os.path.join(ordner or self.ordner, programm)
        log = os.path.join(self.temp, f"{os.path.basename(pfad)}-{len(self.prozesse)}.log")
        with open(log, "wb") as logdatei:
            p = subprocess.Popen([pfad, *argumente], env=self.umgebung,
                                 stdout=subprocess.PIPE if lesen else logdatei,
                                 stderr=subprocess.STDOUT, start_new_session=True)
        p.logdatei = log
        self.prozesse.append(p)
        return p

    @staticmethod
    def protokoll(prozess):
        """What a program started without lesen=True has written so far."""
        with open(prozess.logdatei, "rb") as f:
            return f.read()

    def sprachtext(self, nummer):
        return ini_text(os.path.join(self.ordner, "kvastlang.dll"), "Sprache", nummer)

    def sql(self, datei, abfrage, *werte):
        """Rows of a query on a data file of the program folder."""
        verbindung = sqlite3.connect(os.path.join(self.ordner, datei), timeout=10)
        try:
            return verbindung.execute(abfrage, werte).fetchall()
        finally:
            verbindung.close()

    def sql_schreiben(self, datei, anweisung, *werte):
        """Runs one writing statement on a data file of the program folder and commits it, as the
        main application would change its files."""
        verbindung = sqlite3.connect(os.path.join(self.ordner, datei), timeout=10)
        try:
            with verbindung:
                verbindung.execute(anweisung, werte)
        finally:
            verbindung.close()

    # --- windows -------------------------------------------------------------------------

    def xdotool(self, *argumente, pruefen=True):
        ergebnis = subprocess.run(["xdotool", *map(str, argumente)], env=self.umgebung,
                                  capture_output=True, text=True, timeout=20)
        if pruefen and ergebnis.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(map(str, argumente))}: {ergebnis.stderr}")
        return ergebnis.stdout

    def fenster(self, name=None, klasse=None, pid=None, sichtbar=True):
        """Window ids matching all given criteria (name as a regular expression)."""
        argumente = ["search"]
        if sichtbar:
            argumente.append("--onlyvisible")
        if pid is not None:
            argumente += ["--pid", pid]
        if klasse is not None:
            argumente += ["--class", klasse]
        if name is not None:
            argumente += ["--name", name]
        elif klasse is None and pid is None:
            argumente += ["--name", "."]
        aus = self.xdotool(*argumente, pruefen=False)
        return [int(z) for z in aus.split()]

    def fenster_abwarten(self, name=None, klasse=None, pid=None, zeit=15):
        return warten(lambda: self.fenster(name=name, klasse=klasse, pid=pid),
                      f"Fenster name={name!r} klasse={klasse!r}", zeit=zeit)[0]

    def vorn_abwarten(self, name, beschreibung):
        """The window whose name matches the pattern `name`, once it shows and is the active
        window."""
        fenster = self.fenster_abwarten(name=name)
        warten(lambda: self.aktives_fenster() == fenster, beschreibung)
        return fenster

    def fenstername(self, fenster):
        return self.xdotool("getwindowname", fenster, pruefen=False).strip()

    def geometrie(self, fenster):
        """(x, y, breite, hoehe) of a window on the screen."""
        werte = {}
        for zeile in self.xdotool("getwindowgeometry", "--shell", fenster).splitlines():
            if "=" in zeile:
                k, v = zeile.split("=", 1)
                werte[k] = int(v)
        return werte["X"], werte["Y"], werte["WIDTH"], werte["HEIGHT"]

    def rahmen(self, fenster):
        """(links, rechts, oben, unten): the window manager's frame around a window, title bar
        included (_NET_FRAME_EXTENTS); None while it has none."""
        ergebnis = subprocess.run(["xprop", "-id", str(fenster), "_NET_FRAME_EXTENTS"],
                                  env=self.umgebung, capture_output=True, text=True, timeout=20)
        _, trenner, werte = ergebnis.stdout.partition("=")
        if not trenner:
            return None
        return tuple(int(w) for w in werte.split(","))

    def fensterzustand(self, fenster):
        """The states a window has in _NET_WM_STATE (names such as "_NET_WM_STATE_ABOVE")."""
        ergebnis = subprocess.run(["xprop", "-id", str(fenster), "_NET_WM_STATE"],
                                  env=self.umgebung, capture_output=True, text=True, timeout=20)
        _, _, werte = ergebnis.stdout.partition("=")
        return {w.strip() for w in werte.split(",") if w.strip()}

    def aktives_fenster(self):
        aus = self.xdotool("getactivewindow", pruefen=False).strip()
        return int(aus) if aus else None

    def tray_symbol(self, klasse, zeit=20):
        """The icon window a program put into IceWM's notification area: a small visible window
        of the program's class that lies in the task bar at the bottom of the screen."""
        def suchen():
            for f in self.fenster(klasse=klasse):
                x, y, b, h = self.geometrie(f)
                if b <= 64 and h <= 64 and y > self.groesse[1] - 80:
                    return f
            return None
        return warten(suchen, f"Symbol von {klasse} im Infobereich", zeit=zeit)

    def klicken(self, fenster, knopf=1, anzahl=1, x=None, y=None):
        """Clicks into a window (at its middle unless x, y are given)."""
        if x is None or y is None:
            _, _, b, h = self.geometrie(fenster)
            x, y = b // 2, h // 2
        self.xdotool("mousemove", "--window", fenster, x, y)
        self.xdotool("click", "--repeat", anzahl, "--delay", 80, knopf)

    def tasten(self, *tasten, fenster=None):
        """Key presses as the user types them (xdotool key names: Tab, Return, alt+F4, a ...)."""
        argumente = ["key", "--delay", 60]
        if fenster is not None:
            argumente += ["--window", fenster]
        self.xdotool(*argumente, *tasten)

    def schreiben(self, text):
        self.xdotool("type", "--delay", 40, text)

    def bildschirmfoto(self, name):
        """The whole screen as PNG in the output folder; returns the path."""
        pfad = os.path.join(self.ausgabe, f"{self.name}-{name}.png")
        subprocess.run(["import", "-window", "root", pfad], env=self.umgebung, check=True,
                       timeout=30, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return pfad


def beendet(prozess, zeit=15):
    """Waits for a process to end; returns its exit code."""
    try:
        return prozess.wait(timeout=zeit)
    except subprocess.TimeoutExpired:
        raise Zeitueberschreitung(f"Prozess {prozess.args[0]} läuft nach {zeit} s noch")


def argumente():
    """The paths CTest passes to every end-to-end test."""
    import argparse
    parser = argparse.ArgumentParser()
    parser.add_argument("--programmordner", required=True, help="the built program folder")
    parser.add_argument("--werkzeuge", required=True, help="folder of velmark-daten")
    parser.add_argument("--tests", default="", help="folder of the test programs")
    parser.add_argument("--ausgabe", required=True, help="folder for screenshots")
    parser.add_argument("nur", nargs="*", help="run only these test functions")
    return parser.parse_args()


def ausfuehren(tests):
    """Runs test functions f(args) one after the other; the exit code says whether all passed."""
    import sys
    import traceback
    args = argumente()
    fehler = 0
    for test in tests:
        if args.nur and test.__name__ not in args.nur:
            continue
        beginn = time.monotonic()
        try:
            test(args)
            print(f"PASS   {test.__name__} ({time.monotonic() - beginn:.1f} s)", flush=True)
        except Exception:
            fehler += 1
            print(f"FAIL!  {test.__name__}", flush=True)
            traceback.print_exc()
    sys.exit(1 if fehler else 0)
