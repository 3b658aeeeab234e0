#!/usr/bin/env python3
"""An expense booked from the tray with the keyboard alone: the tray's expense command opens the
dialog for Anna (the demo's default user), the user types an amount, picks a category from the
list, presses Enter on OK, and the row is in Anna's household book."""

import velmark_e2e as e2e
from buchungsschritte import betrag_und_zweck, buchungen, dialog_oeffnen, name_muster, startdatum


def ausgabe_buchen(args):
    with e2e.Sitzung("ausgabe", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        zamlo = s.starten("zamlo")
        symbol = s.tray_symbol("zamlo")
        vorher = s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen")[0][0]

        dialog = dialog_oeffnen(s, symbol, "a", 359)

        # The purpose typed in full (the list completes each letter; the last one leaves nothing
        # to complete).
        betrag_und_zweck(s, "12,5", "Wocheneinkauf")
        tippfenster = s.fenster_abwarten(name=name_muster(s.sprachtext(681)))
        # The category picked from its list: open it, jump to the entry by its first letter,
        # take it with Enter.
        s.tasten("Tab", "alt+Down")
        s.tasten("L", "Return")
        s.tasten("Tab")
        s.schreiben("Supermarkt am Markt")
        # Inventory box, Übernehmen, OK.
        s.tasten("Tab", "Tab", "Tab")
        e2e.warten(lambda: s.aktives_fenster() == dialog, "der Dialog behält den Fokus")
        dx, dy, db, dh = s.geometrie(dialog)
        tx, ty, tb, th = s.geometrie(tippfenster)
        assert tx >= dx + db or tx + tb <= dx, "das Tippfenster verdeckt den Dialog"
        s.bildschirmfoto("dialog")

        s.tasten("Return")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(359))), "Dialog geschlossen")
        assert zamlo.poll() is None, "zamlo ist beendet"
        assert not s.fenster(name=name_muster(s.sprachtext(1265))), "Meldung 1264 erschienen"

        assert s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen")[0][0] == vorher + 1
        zeile = buchungen(s, "Anna.mdb")[-1]
        assert startdatum(zeile), zeile
        assert zeile[:3] + zeile[4:] == (
            6, "Girokonto", "Ausgabe", 12.5, "EUR", 0.0, 12.5, "Supermarkt am Markt", "",
            "Lebensmittel", "Wocheneinkauf", 0, None), zeile

        # The calendar from the dialog, opened and closed with the keyboard.
        dialog = dialog_oeffnen(s, symbol, "a", 359)
        s.tasten("Tab", "Tab", "space")
        kalender = s.vorn_abwarten(name_muster(s.sprachtext(745)), "Kalender vorn")
        s.bildschirmfoto("kalender")
        s.tasten("Escape")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(745))), "Kalender zu")
        e2e.warten(lambda: s.aktives_fenster() == dialog, "Ausgabedialog nach dem Kalender")
        s.tasten("Escape")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(359))), "Dialog zu")
        assert s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen")[0][0] == vorher + 1


if __name__ == "__main__":
    e2e.ausfuehren([ausgabe_buchen])
