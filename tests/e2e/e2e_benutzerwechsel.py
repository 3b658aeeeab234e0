#!/usr/bin/env python3
"""Two members in one session: Anna signs in through the tray's expense command and starts a
booking; the same command again signs in Ben. zamlo asks (a real message box) whether Anna's
begun booking may go, the user answers Yes, Anna's dialog closes and a fresh one opens for Ben,
whose booking lands in Ben's household book with Ben's first number."""

import os
import re

import buchungsschritte as buchen
import velmark_e2e as e2e
from e2e_benutzer import einstellung_setzen
from e2e_tray import menue_oeffnen
from buchungsschritte import name_muster


def benutzerwert(s, benutzer, name):
    """A text value of a user's key in the session's settings file; None when it is missing."""
    with open(os.path.join(s.config, "Quillon", "Velmark.reg"), encoding="utf-8") as f:
        text = f.read()
    kopf = re.escape(f"[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\{benutzer}]")
    block = re.search(rf"^{kopf}$(.*?)(?=^\[|\Z)", text, flags=re.M | re.S | re.I)
    if not block:
        return None
    wert = re.search(rf'^"{re.escape(name)}"="([^"]*)"', block.group(1), flags=re.M | re.I)
    return wert.group(1) if wert else None


def anmelden(s, symbol, *tasten):
    """The tray's expense command; in the sign-in list the keys that pick the user, then Enter."""
    menue_oeffnen(s, symbol)
    s.tasten("a")
    s.vorn_abwarten(name_muster(s.sprachtext(307)), "Anmeldung vorn")
    s.tasten(*tasten, "Return")


def anna_dann_ben(args):
    with e2e.Sitzung("benutzerwechsel", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        einstellung_setzen(s, "Standard", "0")
        zamlo = s.starten("zamlo")
        symbol = s.tray_symbol("zamlo")
        anna_vorher = buchen.buchungen(s, "Anna.mdb")
        assert benutzerwert(s, "Anna", "ID") == "5" and benutzerwert(s, "Ben", "ID") == "0"

        # Anna, the first name of the list, types an amount and books nothing yet.
        anmelden(s, symbol)
        annas = buchen.dialog_abwarten(s, 359)
        s.tasten("Tab", "Tab", "Tab")
        s.schreiben("5")

        # Ben through the same command: asked first, then Anna's dialog makes room for his.
        anmelden(s, symbol, "Down")
        s.vorn_abwarten(name_muster(s.sprachtext(3110)), "die Frage ist vorn")
        s.bildschirmfoto("frage")
        s.tasten("alt+j")
        e2e.warten(lambda: annas not in s.fenster(name=name_muster(s.sprachtext(359))),
                   "Annas Dialog zu")
        bens = buchen.dialog_abwarten(s, 359)
        assert bens != annas
        buchen.ausgabe_eintippen(s, "7,77", "Kinokarte", "Kino")
        s.bildschirmfoto("ben")
        buchen.ok_und_zu(s, 359)
        assert zamlo.poll() is None, "zamlo ist beendet"

        zeilen = buchen.buchungen(s, "Ben.mdb")
        assert len(zeilen) == 1 and buchen.startdatum(zeilen[0]), zeilen
        assert zeilen[0][:3] + zeilen[0][4:] == (
            1, "Girokonto", "Ausgabe", 7.77, "EUR", 0.0, 7.77, "", "", "Kino", "Kinokarte", 0,
            None), zeilen
        assert benutzerwert(s, "Ben", "ID") == "1"
        assert buchen.buchungen(s, "Anna.mdb") == anna_vorher
        assert benutzerwert(s, "Anna", "ID") == "5"

        menue_oeffnen(s, symbol)
        s.tasten("b")
        assert e2e.beendet(zamlo) == 0


if __name__ == "__main__":
    e2e.ausfuehren([anna_dann_ben])
