#!/usr/bin/env python3
"""An income booked from the tray with the keyboard alone, with a payer who is not in the address
list yet: leaving the payer list asks whether to take the name in (a real message box), the user
answers Yes with the button's access key, and both the address and the booking are in Anna's
household book."""

import velmark_e2e as e2e
from buchungsschritte import betrag_und_zweck, buchungen, dialog_oeffnen, name_muster, startdatum

ZAHLER = "O'Neill Consulting"


def einnahme_mit_neuem_auftraggeber(args):
    with e2e.Sitzung("einnahme", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        zamlo = s.starten("zamlo")
        symbol = s.tray_symbol("zamlo")
        vorher = s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen")[0][0]
        adressen = s.sql("Anna.mdb", "SELECT count(*) FROM Adressen")[0][0]

        dialog = dialog_oeffnen(s, symbol, "e", 538)
        betrag_und_zweck(s, "1250", "Bonus")
        # Category and payer typed; the category list completes "G" to its entry at once.
        s.tasten("Tab")
        s.schreiben("Gehalt")
        s.tasten("Tab")
        s.schreiben(ZAHLER)
        s.bildschirmfoto("dialog")

        # Leaving the payer list asks (title 1336) with Ja and Nein, Ja the default.
        s.tasten("Tab")
        frage = s.vorn_abwarten(name_muster(s.sprachtext(1336)), "die Frage ist vorn")
        s.bildschirmfoto("frage")
        assert s.sql("Anna.mdb", "SELECT count(*) FROM Adressen")[0][0] == adressen
        s.tasten("alt+j")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(1336))), "Frage zu")
        e2e.warten(lambda: s.aktives_fenster() == dialog, "Einnahmedialog wieder vorn")
        # Stored at once, with the counter's value before any booking of this run.
        assert s.sql("Anna.mdb", "SELECT ID, Name FROM Adressen ORDER BY rowid DESC LIMIT 1") \
            == [(0, ZAHLER)]

        # The focus went on to Übernehmen; Tab to OK and Enter.
        s.tasten("Tab", "Return")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(538))), "Dialog zu")
        assert zamlo.poll() is None, "zamlo ist beendet"
        assert not s.fenster(name=name_muster(s.sprachtext(1340))), "Meldung 1339 erschienen"

        assert s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen")[0][0] == vorher + 1
        zeile = buchungen(s, "Anna.mdb")[-1]
        assert startdatum(zeile), zeile
        assert zeile[:3] + zeile[4:] == (
            6, "Girokonto", "Einnahme", 1250.0, "EUR", 1250.0, 0.0, "", ZAHLER, "Gehalt",
            "Bonus", None, None), zeile
        assert s.sql("Anna.mdb", "SELECT count(*) FROM Adressen WHERE Name = ?", ZAHLER) == [(1,)]

        # The next time the name is known (in any letter case): leaving the list asks nothing,
        # so the Esc that follows reaches the dialog and closes it.
        dialog = dialog_oeffnen(s, symbol, "e", 538)
        s.tasten(*["Tab"] * 7)
        s.schreiben("o'n")
        s.tasten("Tab", "Escape")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(538))), "Dialog zu")
        assert not s.fenster(name=name_muster(s.sprachtext(1336))), "erneut gefragt"
        assert s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen")[0][0] == vorher + 1
        assert s.sql("Anna.mdb", "SELECT count(*) FROM Adressen")[0][0] == adressen + 1

if __name__ == "__main__":
    e2e.ausfuehren([einnahme_mit_neuem_auftraggeber])
