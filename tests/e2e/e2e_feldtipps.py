#!/usr/bin/env python3
"""The tip window on a real desktop: it appears beside the dialog, stays on top, follows the
focus from field to field with the tip of each, and never takes the focus from the dialog."""

import os

import velmark_e2e as e2e


def zeilen_lesen(prozess, bedingung, zeit=15):
    """Reads the probe's report lines until one fulfils bedingung; returns that line's fields."""
    import select
    import time
    ende = time.monotonic() + zeit
    puffer = b""
    while time.monotonic() < ende:
        bereit, _, _ = select.select([prozess.stdout], [], [], max(0.0, ende - time.monotonic()))
        if not bereit:
            continue
        teil = os.read(prozess.stdout.fileno(), 4096)
        if not teil:
            break
        puffer += teil
        while b"\n" in puffer:
            zeile, puffer = puffer.split(b"\n", 1)
            felder = {}
            for wort in zeile.decode().split(" "):
                if "=" in wort:
                    k, v = wort.split("=", 1)
                    felder[k] = v
                elif felder:
                    felder[list(felder)[-1]] += " " + wort
            if bedingung(felder):
                return felder
    raise e2e.Zeitueberschreitung("keine passende Meldung des Testdialogs")


def tipps_beim_tabben(args):
    with e2e.Sitzung("feldtipps", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        tipps = os.path.join(s.ordner, "tipps.dll")
        probe = s.starten(os.path.join(args.tests, "feldtipps-probe"), s.ordner, "Anna",
                          lesen=True)
        dialog = s.vorn_abwarten("^Feldtipps Probe$", "Testdialog aktiv")
        titel = s.sprachtext(681)

        # The first field has the focus from the start; Tab moves to the date field.
        s.tasten("Tab", fenster=None)
        meldung = zeilen_lesen(probe, lambda f: f.get("fokus") == "txtDatum")
        tippfenster = s.fenster_abwarten(name=f"^{titel}$")
        assert meldung["tipp"] == e2e.ini_text(tipps, "Tips", 57), meldung
        assert meldung["aktiv"] == "frmProbe", meldung
        e2e.warten(lambda: s.aktives_fenster() == dialog, "Fokus bleibt im Dialog", zeit=5)
        ort = s.geometrie(tippfenster)
        dx, dy, db, dh = s.geometrie(dialog)
        assert ort[0] >= dx + db, f"Tippfenster {ort} nicht rechts neben dem Dialog {dx, dy, db, dh}"
        # A tool window above the others that has no button in the task bar.
        zustand = s.fensterzustand(tippfenster)
        assert {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_ABOVE"} <= zustand, zustand
        s.bildschirmfoto("datum")

        # Further fields: new text, same place, the dialog keeps the focus.
        s.tasten("Tab")
        meldung = zeilen_lesen(probe, lambda f: f.get("fokus") == "cboKonto")
        assert meldung["tipp"] == e2e.ini_text(tipps, "Tips", 56), meldung
        s.tasten("Tab")
        meldung = zeilen_lesen(probe, lambda f: f.get("fokus") == "txtOhneTipp")
        assert meldung["tipp"] == s.sprachtext(1410), meldung
        assert s.geometrie(tippfenster) == ort, "das Tippfenster wurde verschoben"
        assert s.aktives_fenster() == dialog, "das Tippfenster hat den Fokus genommen"
        s.bildschirmfoto("ohne-tipp")

        # A click into the tip window does not take the focus either.
        s.klicken(tippfenster)
        s.tasten("shift+Tab")
        meldung = zeilen_lesen(probe, lambda f: f.get("fokus") == "cboKonto")
        assert meldung["aktiv"] == "frmProbe", meldung
        assert s.aktives_fenster() == dialog

        # F1 in the dialog opens the help window at the dialog's topic; Esc closes it again.
        s.tasten("F1")
        hilfe = s.vorn_abwarten("^Velmark Schnellerfassung – Hilfe$", "Hilfefenster vorn")
        s.bildschirmfoto("hilfe")
        s.tasten("Escape")
        e2e.warten(lambda: not s.fenster(name="^Velmark Schnellerfassung – Hilfe$"),
                   "Hilfefenster geschlossen")
        # The focus goes back to the dialog, not to the tip window.
        e2e.warten(lambda: s.aktives_fenster() == dialog, "Testdialog wieder aktiv")

        # Esc closes the dialog, and the tip window goes with it.
        s.tasten("Escape")
        assert e2e.beendet(probe) == 0
        assert not s.fenster(name=f"^{titel}$")


if __name__ == "__main__":
    e2e.ausfuehren([tipps_beim_tabben])
