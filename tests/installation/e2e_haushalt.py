#!/usr/bin/env python3
"""A household starts from nothing: a fresh installation without demo data, the first user made
through the tray program's sign-in with password, the note of the expense dialog that the empty
book needs an account, the main program started from it, the first account and a rate made there,
an expense booked from the tray in that currency, seen in the main program, corrected and exported
as CSV. Everything with the keyboard, as a user without a mouse would; the rows checked in the
files."""

import csv
import io
import os
import sqlite3

from e2e_installation import Installation, starten_wie_desktop, zamlo_beenden
import buchungsschritte as buchen
import e2e_tray
import velmark_e2e as e2e


def anmelden(s, neu):
    """The sign-in with password as Anna; a new user confirms the password once more."""
    s.vorn_abwarten(buchen.name_muster(s.sprachtext(446)), "Anmeldung mit Kennwort vorn")
    s.schreiben("Anna")
    s.tasten("Tab")
    s.schreiben("anna")
    s.tasten("Return")
    if neu:
        s.vorn_abwarten(buchen.name_muster(s.sprachtext(766)), "Kennwortbestätigung vorn")
        s.schreiben("anna")
        s.tasten("Return")


def dialog(s, titel):
    """A dialog of the main program by its title, once it is in front."""
    return s.vorn_abwarten(buchen.name_muster(titel), f"„{titel}“ vorn")


def zu(s, titel):
    e2e.warten(lambda: not s.fenster(name=buchen.name_muster(titel)), f"„{titel}“ zu")


def haushalt_von_null(args):
    with e2e.Sitzung("haushalt", args.programmordner, args.werkzeuge, args.ausgabe,
                     demo=False) as s:
        s.umgebung["XDG_DATA_HOME"] = os.path.join(s.temp, "data")
        inst = Installation(s.umgebung)
        inst.installieren(args.programmordner.rstrip("/"))
        buch = inst.datei("Anna.mdb")

        def zeilen(sql, datei=buch):
            with sqlite3.connect(datei) as db:
                ergebnis = db.execute(sql).fetchall()
            db.close()
            return ergebnis

        zamlo = starten_wie_desktop(s, inst.autostart)
        symbol = s.tray_symbol("zamlo")

        # --- the first user, through the tray's sign-in with password --------------------------
        e2e_tray.menue_oeffnen(s, symbol)
        s.tasten("a")
        anmelden(s, neu=True)
        # The new book has no account: the expense dialog shows with the note above it, and Ja
        # starts the main program.
        s.fenster_abwarten(name=buchen.name_muster(s.sprachtext(359)))
        dialog(s, s.sprachtext(3140))
        s.bildschirmfoto("ohne-konto")
        s.tasten("Return")
        e2e.warten(lambda: not s.fenster(name=buchen.name_muster(s.sprachtext(359))),
                   "Ausgabedialog zu")

        # --- the main program: password, first account, a rate ---------------------------------
        dialog(s, "Kennwort für „Anna“")
        s.schreiben("anna")
        s.tasten("Return")
        fenster = dialog(s, "Velmark – Haushaltsbuch von Anna")
        s.bildschirmfoto("erster-start")
        # It opened on the accounts page with "Neues Konto" in focus.
        s.tasten("space")
        dialog(s, "Neues Konto")
        s.schreiben("Girokonto")
        s.tasten("Return")
        zu(s, "Neues Konto")
        assert zeilen("SELECT KontoName, Waehrung FROM Konten") == [("Girokonto", "EUR")]
        s.tasten("alt+w", "alt+n")
        dialog(s, "Neue Währung")
        s.schreiben("usd")
        s.tasten("Tab")
        s.schreiben("1,1")
        s.tasten("Return")
        zu(s, "Neue Währung")
        assert zeilen("SELECT Waehrung, Kurs, Aktiv FROM Wechselkurs ORDER BY rowid",
                      inst.datei("Daten.mdb")) == [("EUR", 1.0, -1), ("USD", 1.1, -1)]

        # --- an expense from the tray, in dollars into the euro account -----------------------
        e2e_tray.menue_oeffnen(s, symbol)
        s.tasten("a")
        anmelden(s, neu=False)
        buchen.dialog_abwarten(s, 359)
        s.tasten("Tab", "Tab", "Tab")
        s.schreiben("11")
        s.tasten("Tab")
        s.schreiben("U")  # the entry currency USD
        s.tasten("Tab")
        s.schreiben("Wocheneinkauf")
        s.tasten("Tab")
        s.schreiben("Lebensmittel")
        s.bildschirmfoto("ausgabe")
        buchen.ok_und_zu(s, 359)
        assert zeilen("SELECT ID, KontoName, Betrag, Waehrung, Ausgabe, Kategorie FROM Buchungen") \
            == [(1, "Girokonto", 11.0, "USD", 10.0, "Lebensmittel")]

        # --- seen in the main program, corrected, exported -------------------------------------
        # Back in its window, it shows what the tray program booked meanwhile.
        s.xdotool("windowactivate", "--sync", fenster, pruefen=False)
        e2e.warten(lambda: s.aktives_fenster() == fenster, "Hauptprogramm vorn")
        s.tasten("alt+b")
        s.bildschirmfoto("gebucht")
        s.tasten("Return")
        dialog(s, "Buchung Nr. 1 korrigieren")
        s.tasten("Tab")
        s.schreiben("12,1")
        s.tasten("Return")
        zu(s, "Buchung Nr. 1 korrigieren")
        # 12,10 USD are 11,00 EUR.
        assert zeilen("SELECT Betrag, Waehrung, Ausgabe FROM Buchungen") == [(12.1, "USD", 11.0)]

        ziel = os.path.join(s.temp, "Buchungen Anna.csv")
        s.tasten("alt+x")
        dialog(s, "Buchungen exportieren")
        s.tasten("ctrl+a")
        s.schreiben(ziel)
        s.tasten("Return")
        e2e.warten(lambda: os.path.isfile(ziel), "CSV-Datei geschrieben")
        s.bildschirmfoto("exportiert")
        with open(ziel, encoding="utf-8-sig", newline="") as f:
            saetze = list(csv.reader(io.StringIO(f.read()), delimiter=";"))
        assert saetze[0][:3] == ["Nr.", "Datum", "Konto"], saetze
        assert len(saetze) == 2 and saetze[1][0] == "1" and saetze[1][2:4] == [
            "Girokonto", "Ausgabe"] and saetze[1][8:] == ["12,10", "USD", "0,00", "11,00"], saetze

        s.tasten("alt+F4")
        e2e.warten(lambda: not s.fenster(name="Haushaltsbuch von Anna"), "Hauptprogramm zu")
        zamlo_beenden(s, zamlo, symbol)


if __name__ == "__main__":
    e2e.ausfuehren([haushalt_von_null])
