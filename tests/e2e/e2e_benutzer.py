#!/usr/bin/env python3
"""The sign-in dialogs on a real desktop. With "Kennwort" = 1 the tray's booking commands show
the password sign-in; a new user is created through the password prompt and the booking dialog
opens for that user, who books an expense into the new book; the next command shows the sign-in
with the options. Without password and default user they show the list of users."""

import os
import re
import sqlite3

import buchungsschritte as buchen
import velmark_e2e as e2e
from e2e_tray import menue_oeffnen


def name_muster(text):
    return "^" + re.escape(text) + "$"


def einstellung_setzen(s, name, wert):
    """A text value of the product key in the session's settings file (registry export format)."""
    datei = os.path.join(s.config, "Quillon", "Velmark.reg")
    with open(datei, encoding="utf-8") as f:
        text = f.read()
    zeile = f'"{name}"="{wert}"'
    text, anzahl = re.subn(rf'^"{name}"=.*$', zeile, text, count=1, flags=re.M)
    assert anzahl == 1, f"{name} fehlt in den Einstellungen"
    with open(datei, "w", encoding="utf-8") as f:
        f.write(text)


def kodiert(kennwort):
    """The coded form of a password of plain ASCII characters (each code lowered by 13)."""
    return "".join(chr(ord(z) - 13) for z in kennwort)


def tabellen(pfad):
    verbindung = sqlite3.connect(f"file:{pfad}?mode=ro", uri=True)
    try:
        return verbindung.execute(
            "SELECT type, name, sql FROM sqlite_master ORDER BY name").fetchall()
    finally:
        verbindung.close()


def assert_aussenhoehe(s, fenster, hoehe):
    """The window's height with the window manager's frame and title bar is `hoehe` pixels, give
    or take the pixel or two by which the frame the layout estimated differs from IceWM's."""
    rahmen = e2e.warten(lambda: s.rahmen(fenster), "Fensterrahmen")
    innen = s.geometrie(fenster)[3]
    assert abs(innen + rahmen[2] + rahmen[3] - hoehe) <= 2, (innen, rahmen)


def anmeldung_abwarten(s):
    fenster = s.vorn_abwarten(name_muster(s.sprachtext(446)), "Anmeldung mit Kennwort vorn")
    return fenster


def neuen_benutzer_anlegen(s, symbol, name, kennwort, befehl="a"):
    """Through the tray's booking command (a: Ausgabe, e: Einnahme), the sign-in with password
    and the prompt; returns the booking dialog's window."""
    menue_oeffnen(s, symbol)
    s.tasten(befehl)
    anmeldung = anmeldung_abwarten(s)
    s.bildschirmfoto("anmeldung-kurz")
    # Users exist and nobody has signed in: the short layout, 2505 twips the outer height.
    assert_aussenhoehe(s, anmeldung, 167)
    # The preselected name is selected: typing replaces it.
    s.schreiben(name)
    s.tasten("Tab")
    s.schreiben(kennwort)
    s.tasten("Return")
    prompt = s.vorn_abwarten(name_muster(s.sprachtext(766)), "Kennwortbestätigung vorn")
    s.schreiben(kennwort)
    s.bildschirmfoto("bestaetigung")
    s.tasten("Return")
    titel = s.sprachtext(359 if befehl == "a" else 538)
    dialog = s.vorn_abwarten(name_muster(titel), "Buchungsdialog vorn")
    assert not s.fenster(name=name_muster(s.sprachtext(446))), "Anmeldung noch offen"
    return dialog


def neuer_benutzer(args):
    with e2e.Sitzung("benutzer", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        einstellung_setzen(s, "Kennwort", "1")
        name, kennwort = "D'Arcy", "it's geheim"
        # zamlo makes no accounts; the main application does. Here its template brings one, so
        # that the new book takes a booking at once (a book without an account refuses every
        # date, as it has no start date to check against).
        s.sql_schreiben("unbenannt.mdb", "INSERT INTO Konten (KontoName, Waehrung, Datum) "
                                        "VALUES ('Girokonto', 'EUR', '2020-01-01')")
        zamlo = s.starten("zamlo")
        symbol = s.tray_symbol("zamlo")

        ausgabe = neuen_benutzer_anlegen(s, symbol, name, kennwort)
        s.bildschirmfoto("ausgabe")

        # Daten.mdb: the new row with the coded password, after Anna and Ben.
        assert s.sql("Daten.mdb", "SELECT Benutzername, Kennwort FROM Benutzer")[2:] == [
            (name, kodiert(kennwort))]
        # The book: a copy of the template with its own Benutzer row, password as typed.
        buch = os.path.join(s.ordner, name + ".mdb")
        assert os.path.isfile(buch)
        assert tabellen(buch) == tabellen(os.path.join(s.ordner, "unbenannt.mdb"))
        assert s.sql(name + ".mdb", "SELECT Benutzername, Kennwort FROM Benutzer") == [
            (name, kennwort)]
        assert s.sql(name + ".mdb", "SELECT count(*) FROM Buchungen") == [(0,)]
        reste = [n for n in os.listdir(s.ordner) if n.endswith((".tmp", "-journal"))]
        assert not reste, reste

        # The expense dialog that opened for the new user books into the new book, with a
        # category the empty book does not know yet and no payee.
        assert s.aktives_fenster() == ausgabe
        buchen.ausgabe_eintippen(s, "23,4", "Erste Ausgabe", "Haushalt")
        buchen.ok_und_zu(s, 359)
        assert zamlo.poll() is None, "zamlo ist beendet"
        zeilen = buchen.buchungen(s, name + ".mdb")
        assert len(zeilen) == 1 and buchen.startdatum(zeilen[0]), zeilen
        assert zeilen[0][:3] + zeilen[0][4:] == (
            1, "Girokonto", "Ausgabe", 23.4, "EUR", 0.0, 23.4, "", "", "Haushalt",
            "Erste Ausgabe", 0, None), zeilen
        assert s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen") == [(5,)]

        # The next command: someone has signed in, so the options show (4560 twips).
        menue_oeffnen(s, symbol)
        s.tasten("e")
        anmeldung = anmeldung_abwarten(s)
        assert_aussenhoehe(s, anmeldung, 304)
        # The new user has tips on: the tip window shows beside the dialog, not on it.
        tipp = s.fenster_abwarten(name=name_muster(s.sprachtext(681)))
        e2e.warten(lambda: s.aktives_fenster() == anmeldung, "Anmeldung behält den Fokus")
        dx, _, db, _ = s.geometrie(anmeldung)
        tx, _, tb, _ = s.geometrie(tipp)
        assert tx >= dx + db or tx + tb <= dx, (s.geometrie(anmeldung), s.geometrie(tipp))
        s.bildschirmfoto("anmeldung-voll")
        s.tasten("Escape")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(446))),
                   "Anmeldung geschlossen")
        assert not s.fenster(name=name_muster(s.sprachtext(538))), "Einnahme ohne Anmeldung"

        menue_oeffnen(s, symbol)
        s.tasten("b")
        assert e2e.beendet(zamlo) == 0


def ohne_kennwort(args):
    """"Kennwort" 0 and "Standard" 0: the sign-in without password, a name from the list."""
    with e2e.Sitzung("anmeldung", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        einstellung_setzen(s, "Standard", "0")
        zamlo = s.starten("zamlo")
        symbol = s.tray_symbol("zamlo")
        menue_oeffnen(s, symbol)
        s.tasten("e")
        anmeldung = s.vorn_abwarten(name_muster(s.sprachtext(307)), "Anmeldung vorn")
        s.bildschirmfoto("anmeldung")
        s.tasten("Down", "Return")
        einnahme = s.vorn_abwarten(name_muster(s.sprachtext(538)), "Einnahmedialog vorn")
        assert not s.fenster(name=name_muster(s.sprachtext(307))), "Anmeldung noch offen"
        menue_oeffnen(s, symbol)
        s.tasten("b")
        assert e2e.beendet(zamlo) == 0


if __name__ == "__main__":
    e2e.ausfuehren([neuer_benutzer, ohne_kennwort])
