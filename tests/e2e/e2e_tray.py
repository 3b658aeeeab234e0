#!/usr/bin/env python3
"""zamlo on a real desktop: the icon in IceWM's notification area, its menu with the captions of
the language file, the commands, the single-instance rule and the end command."""

import os
import re
import signal
import time

import velmark_e2e as e2e


def menue_oeffnen(s, symbol):
    """Right button on the icon; returns the menu's window once it shows. A right press that
    follows the previous one within the double-click time counts as a double click, which opens
    nothing: such a click is repeated."""
    def menue():
        for f in s.fenster(klasse="zamlo"):
            if f not in vorher and f != symbol:
                return f
        return None
    for versuch in range(5):
        vorher = set(s.fenster(klasse="zamlo"))
        s.klicken(symbol, knopf=3)
        try:
            return e2e.warten(menue, "Menü des Symbols", zeit=2)
        except e2e.Zeitueberschreitung:
            if versuch == 4:
                raise


def name_muster(text):
    return "^" + re.escape(text) + "$"


def befehle(args):
    with e2e.Sitzung("tray", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        # The captions come from the language file: one of them changed in this copy.
        sprache = os.path.join(s.ordner, "kvastlang.dll")
        e2e.ini_setzen(sprache, "Sprache", 149, "In&fo zum Test")
        titel = s.sprachtext(842)

        zamlo = s.starten("zamlo")
        symbol = s.tray_symbol("zamlo")
        s.bildschirmfoto("symbol")

        # A single click does nothing; the right button then opens the menu at the mouse.
        s.klicken(symbol, knopf=1)
        menue = menue_oeffnen(s, symbol)
        mx, my, mb, mh = s.geometrie(menue)
        sx, sy, sb, sh = s.geometrie(symbol)
        assert mx <= sx + sb // 2 <= mx + mb + 2, "Menü nicht an der Maus"
        assert mh > 5 * 15, f"Menü zu klein für fünf Einträge: {mh}"
        assert not s.fenster(name=name_muster(titel)), "der einfache Klick hat etwas geöffnet"
        s.bildschirmfoto("menue")

        # The changed caption's access key opens the information window (title 842).
        s.tasten("f")
        info = s.vorn_abwarten(name_muster(titel), "Informationsfenster vorn")
        s.bildschirmfoto("information")
        s.tasten("alt+s")  # Command1 "&Schließen"
        e2e.warten(lambda: not s.fenster(name=name_muster(titel)), "Informationsfenster weg")

        # Anna is the default user: the booking commands open their dialogs at once, side by
        # side, and the same command again brings back the one that is open.
        ausgabe_titel, einnahme_titel = s.sprachtext(359), s.sprachtext(538)
        menue_oeffnen(s, symbol)
        s.tasten("a")
        ausgabe = s.fenster_abwarten(name=name_muster(ausgabe_titel))
        # (A window that becomes active closes an open menu: wait until it is.)
        e2e.warten(lambda: s.aktives_fenster() == ausgabe, "Ausgabefenster vorn")
        menue_oeffnen(s, symbol)
        s.tasten("e")
        einnahme = s.vorn_abwarten(name_muster(einnahme_titel), "Einnahmefenster vorn")
        menue_oeffnen(s, symbol)
        s.tasten("a")
        e2e.warten(lambda: s.aktives_fenster() == ausgabe, "Ausgabefenster wieder vorn")
        assert s.fenster(name=name_muster(ausgabe_titel)) == [ausgabe]
        s.bildschirmfoto("buchungsfenster")

        # "Velmark starten" from the menu and by double click: the stand-in main program shows
        # Anna's household book.
        menue_oeffnen(s, symbol)
        s.tasten("v")
        kvasto = s.vorn_abwarten("^Velmark – Haushaltsbuch von Anna$", "Hauptprogramm vorn")
        s.bildschirmfoto("hauptprogramm")
        s.klicken(symbol, knopf=1, anzahl=2)
        e2e.warten(lambda: len(s.fenster(name="^Velmark – Haushaltsbuch von Anna$")) >= 2,
                   "zweites Hauptprogramm nach dem Doppelklick")

        # A second zamlo ends at once with code 0 and leaves the first alone.
        zweites = s.starten("zamlo")
        assert e2e.beendet(zweites, zeit=15) == 0
        assert s.protokoll(zweites) == b"", "der zweite Start hat etwas ausgegeben"
        assert zamlo.poll() is None, "das erste zamlo ist beendet"
        assert s.fenster(klasse="zamlo") and symbol in s.fenster(klasse="zamlo")

        # "Beenden" closes the open booking dialogs without asking, removes the icon and ends
        # the process with code 0.
        menue_oeffnen(s, symbol)
        s.tasten("b")
        assert e2e.beendet(zamlo) == 0
        e2e.warten(lambda: not s.fenster(klasse="zamlo"), "Symbol und Fenster verschwunden")
        s.bildschirmfoto("beendet")


def sperre_hinterlassen(s, inhalt, alter):
    """zamlo's lock file as a start killed before it wrote its number, or any garbage, leaves it."""
    pfad = os.path.join(s.laufzeit, "zamlo.lock")
    with open(pfad, "wb") as f:
        f.write(inhalt)
    zeit = time.time() - alter
    os.utime(pfad, (zeit, zeit))


def beenden(s, zamlo):
    menue_oeffnen(s, s.tray_symbol("zamlo"))
    s.tasten("b")
    assert e2e.beendet(zamlo) == 0
    e2e.warten(lambda: not s.fenster(klasse="zamlo"), "Symbol verschwunden")


def alte_sperre(args):
    """A zamlo killed hard leaves its lock behind; the next start takes it over, as it takes over
    an empty lock file and one of garbage. A running zamlo still wins, whatever its file says."""
    with e2e.Sitzung("sperre", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        erstes = s.starten("zamlo")
        s.tray_symbol("zamlo")
        os.kill(erstes.pid, signal.SIGKILL)
        erstes.wait(timeout=10)
        e2e.warten(lambda: not s.fenster(klasse="zamlo"), "Symbol des getöteten zamlo weg")
        sperren = [n for n in os.listdir(s.laufzeit) if n.startswith("zamlo")]
        assert sperren, "keine Sperrdatei zurückgeblieben"

        zweites = s.starten("zamlo")
        s.tray_symbol("zamlo")
        assert zweites.poll() is None
        sperre_hinterlassen(s, b"garbage", 2 * 86400)
        drittes = s.starten("zamlo")
        assert e2e.beendet(drittes, zeit=15) == 0
        assert zweites.poll() is None, "das laufende zamlo ist beendet"
        beenden(s, zweites)

        for inhalt in (b"", b"garbage\n\xff"):
            sperre_hinterlassen(s, inhalt, 2 * 86400)
            zamlo = s.starten("zamlo")
            s.tray_symbol("zamlo")
            assert zamlo.poll() is None, f"zamlo startet nicht mit der Sperrdatei {inhalt!r}"
            beenden(s, zamlo)


if __name__ == "__main__":
    e2e.ausfuehren([befehle, alte_sperre])
