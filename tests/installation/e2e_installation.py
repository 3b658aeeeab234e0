#!/usr/bin/env python3
"""The installation as a household member meets it: install.sh into a fresh XDG_DATA_HOME and
XDG_CONFIG_HOME, the tray icon after a (simulated) log-in, an installation over the old one,
the installed update program against a local server, the uninstallation; and what goes wrong:
a running zamlo, a target that cannot be written, nothing to uninstall."""

import hashlib
import os
import re
import sqlite3
import subprocess
import sys
import tempfile

HIER = os.path.dirname(os.path.abspath(__file__))
WURZEL = os.path.normpath(os.path.join(HIER, "..", ".."))
sys.path.insert(0, os.path.join(WURZEL, "tests", "e2e"))

import buchungsschritte as buchen_e2e  # noqa: E402  (the booking dialog's steps)
import e2e_tray  # noqa: E402  (its menu helper)
import velmark_e2e as e2e  # noqa: E402

INSTALL = os.path.join(WURZEL, "scripts", "install.sh")
UNINSTALL = os.path.join(WURZEL, "scripts", "uninstall.sh")
TESTSERVER = os.path.join(WURZEL, "tests", "update", "testserver.py")
ID = "de.quillon.velmark"
SYMBOLGROESSEN = ("16x16", "32x32", "48x48", "64x64", "256x256")


class Installation:
    """Where an installation of one user lies, from the environment install.sh sees."""

    def __init__(self, umgebung):
        self.umgebung = umgebung
        daten, konfig = umgebung["XDG_DATA_HOME"], umgebung["XDG_CONFIG_HOME"]
        self.daten, self.konfig = daten, konfig
        self.ordner = os.path.join(daten, "Quillon", "Velmark")
        self.menue = {p: os.path.join(daten, "applications", f"{ID}.{p}.desktop")
                      for p in ("zamlo", "update")}
        self.autostart = os.path.join(konfig, "autostart", f"{ID}.zamlo.desktop")
        self.einstellungen = os.path.join(konfig, "Quillon", "Velmark.reg")
        self.symbole = [os.path.join(daten, "icons", "hicolor", g, "apps", f"{ID}.png")
                        for g in SYMBOLGROESSEN]
        self.symbole.append(os.path.join(daten, "icons", "hicolor", "scalable", "apps",
                                         f"{ID}.svg"))

    def datei(self, name):
        return os.path.join(self.ordner, name)

    def skript(self, skript, *argumente):
        return subprocess.run(["bash", skript, *argumente], env=self.umgebung,
                              capture_output=True, text=True, timeout=120)

    def installieren(self, programmordner, erwartet=0):
        r = self.skript(INSTALL, programmordner)
        assert r.returncode == erwartet, \
            f"install.sh: {r.returncode} statt {erwartet}\n{r.stdout}\n{r.stderr}"
        return r

    def deinstallieren(self, erwartet=0):
        r = self.skript(UNINSTALL)
        assert r.returncode == erwartet, \
            f"uninstall.sh: {r.returncode} statt {erwartet}\n{r.stdout}\n{r.stderr}"
        return r

    def dateien(self, mit_ordnern=False):
        """Every file (and folder) under the data and settings folders, with its bytes' hash."""
        ergebnis = {}
        for wurzel in (self.daten, self.konfig):
            for ordner, unterordner, namen in os.walk(wurzel):
                for name in namen:
                    pfad = os.path.join(ordner, name)
                    ergebnis[pfad] = hashwert(pfad)
                if mit_ordnern:
                    for name in unterordner:
                        ergebnis[os.path.join(ordner, name)] = "Ordner"
        return ergebnis

    def einstellung(self, name):
        """A value of the product key in the settings file, as its text in the file."""
        if not os.path.exists(self.einstellungen):
            return None
        with open(self.einstellungen, encoding="utf-8") as f:
            text = f.read()
        treffer = re.search(rf'^"{re.escape(name)}"=(.*)$', text, re.MULTILINE | re.IGNORECASE)
        return treffer.group(1).strip() if treffer else None


def hashwert(pfad):
    if os.path.islink(pfad):
        return "-> " + os.readlink(pfad)
    with open(pfad, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def inhalt(pfad):
    with open(pfad, "rb") as f:
        return f.read()


def exec_befehl(desktopdatei):
    """The command line of a desktop entry's Exec key, as a desktop starts it: first the string
    escapes of the value undone, then the entry's quoting; field codes dropped."""
    gruppe, wert = None, None
    with open(desktopdatei, encoding="utf-8") as f:
        for zeile in f.read().splitlines():
            if zeile.startswith("["):
                gruppe = zeile.strip()
            elif gruppe == "[Desktop Entry]" and zeile.startswith("Exec="):
                wert = zeile[len("Exec="):]
    assert wert, f"kein Exec in {desktopdatei}"
    ersetzung = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}
    text, i = "", 0
    while i < len(wert):
        if wert[i] == "\\" and i + 1 < len(wert) and wert[i + 1] in ersetzung:
            text += ersetzung[wert[i + 1]]
            i += 2
        else:
            text += wert[i]
            i += 1
    argumente, i = [], 0
    while i < len(text):
        if text[i] == " ":
            i += 1
            continue
        argument = ""
        if text[i] == '"':
            i += 1
            while text[i] != '"':
                if text[i] == "\\" and text[i + 1] in '"`$\\':
                    i += 1
                argument += text[i]
                i += 1
            i += 1
        else:
            while i < len(text) and text[i] != " ":
                argument += text[i]
                i += 1
        if re.fullmatch(r"%[fFuUick]", argument):
            continue
        argumente.append(argument.replace("%%", "%"))
    return argumente


def programmordner_dateien(ordner):
    """The programs and runtime files of the built program folder: its files and library links,
    no subfolder (the designer plugin stays in the build)."""
    return sorted(n for n in os.listdir(ordner)
                  if not os.path.isdir(os.path.join(ordner, n)) or os.path.islink(
                      os.path.join(ordner, n)))


def buchen(s, inst, symbol):
    """The first use of a new installation, as a household member goes it: the first booking
    command shows the sign-in with password, as there is no user yet; a new name and password,
    the password confirmed, and the expense dialog opens for the new user, who books an expense
    with the keyboard (the steps of buchungsschritte.py). Returns (book file, booking number) as read
    back from the new book.

    The main application, which keeps the accounts, is not part of this system: its template
    here brings one account, so that the new book takes a booking (a book without an account
    refuses every date)."""
    with sqlite3.connect(inst.datei("unbenannt.mdb")) as db:
        db.execute("INSERT INTO Konten VALUES ('Girokonto', 'EUR', '2020-01-01')")
    db.close()

    e2e_tray.menue_oeffnen(s, symbol)
    s.tasten("a")
    anmeldung = s.vorn_abwarten(buchen_e2e.name_muster(s.sprachtext(446)),
                                "Anmeldung mit Kennwort vorn")
    s.schreiben("Anna")
    s.tasten("Tab")
    s.schreiben("anna")
    s.tasten("Return")
    prompt = s.vorn_abwarten(buchen_e2e.name_muster(s.sprachtext(766)), "Kennwortbestätigung vorn")
    s.schreiben("anna")
    s.tasten("Return")

    buchen_e2e.dialog_abwarten(s, 359)
    buchen_e2e.betrag_und_zweck(s, "12,5", "Wocheneinkauf")
    s.tasten("Tab")
    s.schreiben("Lebensmittel")
    s.tasten("Return")
    e2e.warten(lambda: not s.fenster(name=buchen_e2e.name_muster(s.sprachtext(359))),
               "Ausgabedialog zu")
    buch = inst.datei("Anna.mdb")
    with sqlite3.connect(buch) as db:
        zeilen = db.execute("SELECT ID, KontoName, Buchung, Betrag, Ausgabe, Kategorie,"
                            " Verwendungszweck FROM Buchungen").fetchall()
    db.close()
    assert zeilen == [(1, "Girokonto", "Ausgabe", 12.5, 12.5, "Lebensmittel", "Wocheneinkauf")], \
        zeilen
    with sqlite3.connect(inst.datei("Daten.mdb")) as db:
        assert db.execute("SELECT Benutzername FROM Benutzer").fetchall() == [("Anna",)]
    db.close()
    return buch, zeilen[0][0]


def starten_wie_desktop(s, desktopdatei):
    """Starts what a desktop entry's Exec line names (a log-in runs the autostart entry so)."""
    befehl = exec_befehl(desktopdatei)
    return s.starten(befehl[0], *befehl[1:])


def zamlo_beenden(s, zamlo, symbol):
    e2e_tray.menue_oeffnen(s, symbol)
    s.tasten("b")
    assert e2e.beendet(zamlo) == 0
    e2e.warten(lambda: not s.fenster(klasse="zamlo"), "Symbol von zamlo weg")


def taste_in(s, titel, taste):
    """Waits for the window with this exact title, brings it to the front and presses a key."""
    fenster = s.fenster_abwarten(name="^" + re.escape(titel) + "$", zeit=60)
    # A window that has just been mapped may not take the focus at the first attempt.
    for versuch in range(5):
        s.xdotool("windowactivate", "--sync", fenster, pruefen=False)
        try:
            e2e.warten(lambda: s.aktives_fenster() == fenster, f"„{titel}“ vorn", zeit=2)
            break
        except e2e.Zeitueberschreitung:
            if versuch == 4:
                raise
    s.xdotool("key", "--clearmodifiers", taste)


def version(args):
    r = subprocess.run([os.path.join(args.werkzeuge, "velmark-daten"), "version"],
                       capture_output=True, text=True, check=True, timeout=30)
    return r.stdout.strip()


def installieren_buchen_aktualisieren_entfernen(args):
    with e2e.Sitzung("installation", args.programmordner, args.werkzeuge, args.ausgabe,
                     demo=False) as s:
        s.umgebung["XDG_DATA_HOME"] = os.path.join(s.temp, "data")
        inst = Installation(s.umgebung)
        gebaut = args.programmordner.rstrip("/")
        v = version(args)

        # --- first installation ----------------------------------------------------------
        r = inst.installieren(gebaut)
        assert "installiert" in r.stdout, r.stdout
        installiert = set(os.listdir(inst.ordner))
        for name in programmordner_dateien(gebaut):
            if name.endswith(".mdb") and name != "unbenannt.mdb":
                continue
            assert name in installiert, f"{name} nicht installiert"
            assert hashwert(inst.datei(name)) == hashwert(os.path.join(gebaut, name)), name
        assert "designer" not in installiert, "das Designer-Plugin ist mitinstalliert"
        for name in ("uninstall.sh", "Daten.mdb", "programm.ver"):
            assert name in installiert, f"{name} fehlt"
        assert os.access(inst.datei("zamlo"), os.X_OK)
        assert inhalt(inst.datei("programm.ver")) == f"{v}\r\n".encode()
        # The shared data file of a first installation: nobody, the euro only.
        with sqlite3.connect(inst.datei("Daten.mdb")) as db:
            assert db.execute("SELECT * FROM Benutzer").fetchall() == []
            assert db.execute("SELECT Waehrung, Kurs, Aktiv FROM Wechselkurs").fetchall() == \
                [("EUR", 1.0, -1)]
            assert db.execute("SELECT Waehrung FROM Versicherung").fetchall() == [("EUR",)]
        for datei in [*inst.menue.values(), inst.autostart, *inst.symbole]:
            assert os.path.isfile(datei), f"{datei} fehlt"
        pruefung = subprocess.run(["desktop-file-validate", *inst.menue.values(), inst.autostart],
                                  capture_output=True, text=True, timeout=30)
        assert pruefung.returncode == 0 and not pruefung.stdout.strip(), pruefung.stdout
        assert exec_befehl(inst.autostart) == [inst.datei("zamlo")]
        assert exec_befehl(inst.menue["update"]) == [inst.datei("update")]
        assert inst.einstellung("Autostart") == "dword:00000001"
        # No user yet: the booking commands lead to the sign-in with password, where the first
        # user is made.
        assert inst.einstellung("Kennwort") == '"1"'

        # --- log-in: the autostart entry starts zamlo, its icon appears ------------------------
        zamlo = starten_wie_desktop(s, inst.autostart)
        symbol = s.tray_symbol("zamlo")
        s.bildschirmfoto("anmeldung")

        # While it runs, neither installation nor uninstallation touches a file.
        vorher = inst.dateien(mit_ordnern=True)
        for skript, r in (("install.sh", inst.installieren(gebaut, erwartet=1)),
                          ("uninstall.sh", inst.deinstallieren(erwartet=1))):
            assert "Beenden" in r.stderr and "zamlo" in r.stderr, f"{skript}: {r.stderr}"
        assert inst.dateien(mit_ordnern=True) == vorher, "geändert, während zamlo lief"

        buch, nummer = buchen(s, inst, symbol)
        zamlo_beenden(s, zamlo, symbol)

        # --- over the old installation: data, version file and settings byte for byte ---------
        behalten = [buch, inst.datei("Daten.mdb"), inst.datei("unbenannt.mdb"),
                    inst.datei("programm.ver"), inst.einstellungen]
        with sqlite3.connect(inst.datei("unbenannt.mdb")) as db:  # the household's own template
            db.execute("INSERT INTO Verwendung VALUES ('Haushalt')")
        stand = {p: inhalt(p) for p in behalten}
        # Not even rewritten with the same bytes: the files are the same files afterwards.
        knoten = {p: os.stat(p).st_ino for p in behalten}
        with open(inst.datei("kvasto"), "wb") as f:  # a damaged program is replaced
            f.write(b"kaputt")
        with open(inst.datei("Hilfe.html"), "wb") as f:
            f.write(b"kaputt")
        inst.installieren(gebaut)
        for p in behalten:
            assert inhalt(p) == stand[p], f"{p} verändert"
            assert os.stat(p).st_ino == knoten[p], f"{p} ersetzt"
        for name in ("kvasto", "Hilfe.html"):
            assert inhalt(inst.datei(name)) == inhalt(os.path.join(gebaut, name)), name
        with sqlite3.connect(buch) as db:
            assert db.execute("SELECT Betrag FROM Buchungen WHERE ID = ?", (nummer,)).fetchall() \
                == [(12.5,)]

        # A user who removed the start at log-in keeps it removed.
        os.remove(inst.autostart)
        inst.installieren(gebaut)
        assert not os.path.exists(inst.autostart)
        assert inst.einstellung("Autostart") == "dword:00000000"
        inst.installieren(gebaut)
        assert not os.path.exists(inst.autostart)

        # --- the installed update program, from its menu entry, against a local server ---------
        serverordner = os.path.join(s.temp, "server")
        os.makedirs(serverordner)
        neu = b"#!/bin/sh\necho neu\n" + os.urandom(4000)
        for name, daten in (("programm.ver", b"1.1"), ("kvasto", neu),
                            ("news.txt", f"Version 1.1: schnellere Buchung.\r\n"
                                         f"Version {v}: erste Ausgabe.\r\n".encode())):
            with open(os.path.join(serverordner, name), "wb") as f:
                f.write(daten)
        server = subprocess.Popen([sys.executable, TESTSERVER, serverordner],
                                  stdout=subprocess.PIPE, text=True, start_new_session=True)
        s.prozesse.append(server)
        port = int(server.stdout.readline())
        subprocess.run([os.path.join(args.werkzeuge, "velmark-daten"), "einstellung", "URL",
                        f"http://127.0.0.1:{port}/ok/"], env=s.umgebung, check=True, timeout=30)
        update = starten_wie_desktop(s, inst.menue["update"])
        taste_in(s, s.sprachtext(1690), "Return")
        taste_in(s, f"{s.sprachtext(1695)} {v} {s.sprachtext(1696)} 1.1", "Return")
        taste_in(s, s.sprachtext(1692), "Return")
        assert e2e.beendet(update, zeit=60) == 0
        assert inhalt(inst.datei("kvasto")) == neu
        assert inhalt(inst.datei("programm.ver")) == b"1.1\r\n"

        # An installation over it keeps the newer main program and its version file.
        inst.installieren(gebaut)
        assert inhalt(inst.datei("kvasto")) == neu
        assert inhalt(inst.datei("programm.ver")) == b"1.1\r\n"

        # --- the menu entry starts zamlo --------------------------------------------------------
        zamlo = starten_wie_desktop(s, inst.menue["zamlo"])
        symbol = s.tray_symbol("zamlo")
        zamlo_beenden(s, zamlo, symbol)

        # --- uninstallation: the data stay, everything else goes -------------------------------
        stand = {p: inhalt(p) for p in behalten}
        r = inst.deinstallieren()
        assert len(r.stdout.strip().splitlines()) == 1 and inst.ordner in r.stdout, r.stdout
        assert sorted(os.listdir(inst.ordner)) == \
            ["Anna.mdb", "Daten.mdb", "programm.ver", "unbenannt.mdb"]
        for p in behalten:
            assert inhalt(p) == stand[p], f"{p} verändert"
        draussen = [p for p in inst.dateien() if not p.startswith(inst.ordner + os.sep)
                    and p != inst.einstellungen]
        assert draussen == [], f"übrig: {draussen}"

        # After an uninstallation the choice about the start at log-in still holds.
        inst.installieren(gebaut)
        assert not os.path.exists(inst.autostart)
        assert inhalt(inst.datei("kvasto")) == inhalt(os.path.join(gebaut, "kvasto"))
        assert inhalt(inst.datei("programm.ver")) == f"{v}\r\n".encode(), \
            "die Versionsdatei nennt nicht das installierte Hauptprogramm"
        inst.deinstallieren()
        r = inst.deinstallieren()
        assert "nicht installiert" in r.stdout, r.stdout


def fehlerfaelle(args):
    """Without a display: targets that cannot be written, and nothing to uninstall."""
    gebaut = args.programmordner.rstrip("/")
    with tempfile.TemporaryDirectory(prefix="velmark-installation-") as temp:
        umgebung = dict(os.environ, HOME=temp, XDG_DATA_HOME=os.path.join(temp, "data"),
                        XDG_CONFIG_HOME=os.path.join(temp, "config"))
        inst = Installation(umgebung)

        r = inst.deinstallieren()
        assert "nicht installiert" in r.stdout, r.stdout
        assert not os.path.exists(inst.daten) and not os.path.exists(inst.konfig)

        # A file where a folder must be (root may write anywhere, but not into a file): a clear
        # message, nothing copied anywhere, no temporary folder left.
        for sperre in (os.path.join(inst.daten, "Quillon"), inst.ordner):
            os.makedirs(os.path.dirname(sperre), exist_ok=True)
            with open(sperre, "w") as f:
                f.write("im Weg")
            vorher = inst.dateien(mit_ordnern=True)
            r = inst.installieren(gebaut, erwartet=1)
            assert "abgebrochen" in r.stderr and sperre in r.stderr, r.stderr
            assert inst.dateien(mit_ordnern=True) == vorher, "etwas wurde geschrieben"
            os.remove(sperre)


def autostart_abgeschaltet(args):
    """Desktop settings turn a start at log-in off by keeping the entry with Hidden=true: an
    installation over it leaves that entry alone and remembers the choice; the uninstallation
    removes it (it is the installation's file)."""
    gebaut = args.programmordner.rstrip("/")
    with tempfile.TemporaryDirectory(prefix="velmark-installation-") as temp:
        umgebung = dict(os.environ, HOME=temp, XDG_DATA_HOME=os.path.join(temp, "data"),
                        XDG_CONFIG_HOME=os.path.join(temp, "config"))
        inst = Installation(umgebung)
        inst.installieren(gebaut)
        with open(inst.autostart, "a", encoding="utf-8") as f:
            f.write("Hidden=true\n")
        abgeschaltet = inhalt(inst.autostart)
        r = inst.installieren(gebaut)
        assert inhalt(inst.autostart) == abgeschaltet
        assert inst.einstellung("Autostart") == "dword:00000000"
        assert "nicht bei der Anmeldung" in r.stdout, r.stdout
        inst.deinstallieren()
        assert not os.path.exists(inst.autostart)


if __name__ == "__main__":
    e2e.ausfuehren([fehlerfaelle, autostart_abgeschaltet,
                    installieren_buchen_aktualisieren_entfernen])
