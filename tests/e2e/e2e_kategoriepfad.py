#!/usr/bin/env python3
"""The category tree reached from a booking, by keyboard alone: from the tray's expense dialog the
category button opens the tree (and F1 in it a help window that works above it); the user adds a
main category and an entry under it and names both with F2; after OK the dialog's category holds
the new entry, and the list knows it. Then the entry, now used by two bookings, is deleted; the
move dialog moves both to the new main category, and the rows say so."""

import velmark_e2e as e2e
from buchungsschritte import betrag_und_zweck, dialog_oeffnen, buchungen, name_muster, startdatum

HAUPT, EINTRAG = "Garten", "Pflanzen"
HILFE = "^Velmark Schnellerfassung – Hilfe$"


def baum_abwarten(s):
    baum = s.vorn_abwarten(name_muster(s.sprachtext(755)), "Kategoriedialog vorn")
    return baum


def zurueck_im_dialog(s, dialog):
    e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(755))), "Kategoriedialog zu")
    e2e.warten(lambda: s.aktives_fenster() == dialog, "Ausgabedialog wieder vorn")


def umbenennen(s, name):
    """F2 on the selected node, the whole label replaced, Return."""
    s.tasten("F2", "ctrl+a")
    s.schreiben(name)
    s.tasten("Return")


def neu_benennen_buchen_verschieben(args):
    with e2e.Sitzung("kategoriepfad", args.programmordner, args.werkzeuge, args.ausgabe) as s:
        zamlo = s.starten("zamlo")
        symbol = s.tray_symbol("zamlo")
        vorher = s.sql("Anna.mdb", "SELECT max(ID) FROM Buchungen")[0][0]

        dialog = dialog_oeffnen(s, symbol, "a", 359)
        # From the account list backwards over the save and help buttons to the category button.
        s.tasten("shift+Tab", "shift+Tab", "shift+Tab", "space")
        baum = baum_abwarten(s)
        # Help from the modal dialog comes above it and takes keys: Esc closes it again.
        s.tasten("F1")
        hilfe = s.vorn_abwarten(HILFE, "Hilfefenster vorn")
        s.bildschirmfoto("hilfe")
        s.tasten("Escape")
        e2e.warten(lambda: not s.fenster(name=HILFE), "Hilfefenster zu")
        e2e.warten(lambda: s.aktives_fenster() == baum, "Kategoriedialog wieder vorn")
        # The root is selected: the menu key, "Neu", "Kategorie" adds a main category under it
        # and selects it; F2 names it. The same for an entry under the new main category.
        s.tasten("Menu", "n", "k")
        umbenennen(s, HAUPT)
        s.tasten("Menu", "n", "e")
        umbenennen(s, EINTRAG)
        # Names given by the program are no choice of the user: up to the main category and
        # back down to the entry is.
        s.tasten("Up", "Down")
        s.bildschirmfoto("baum")
        s.tasten("alt+o")
        zurueck_im_dialog(s, dialog)
        kategorien = s.sql("Anna.mdb", "SELECT Kategorie, Unterkategorie FROM Kategorien")
        assert (HAUPT, HAUPT) in kategorien and (HAUPT, EINTRAG) in kategorien, kategorien

        # The focus is back on the category button: Tab round to the account list, then amount
        # and purpose; the category is the new entry already. Übernehmen books and clears.
        s.tasten("Tab", "Tab", "Tab")
        betrag_und_zweck(s, "7,95", "Blumenerde")
        s.tasten("Tab")
        s.bildschirmfoto("gewaehlt")
        s.tasten("Tab", "Tab", "Tab", "space")
        e2e.warten(lambda: s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen WHERE ID > ?",
                                 vorher)[0][0] == 1, "erste Buchung gespeichert")
        # The cleared dialog puts the focus into the amount. "Pfl" in the category list completes
        # to the new entry, which it does only when the list holds it; Return is OK.
        s.schreiben("12")
        s.tasten("Tab", "Tab")
        s.schreiben("Tomatenpflanzen")
        s.tasten("Tab")
        s.schreiben("Pfl")
        s.tasten("Return")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(359))), "Dialog zu")
        assert zamlo.poll() is None, "zamlo ist beendet"
        neu = buchungen(s, "Anna.mdb", "ID > ?", vorher)
        assert len(neu) == 2 and all(startdatum(z) for z in neu), neu
        assert [z[:3] + z[4:] for z in neu] == [
            (vorher + 1, "Girokonto", "Ausgabe", 7.95, "EUR", 0.0, 7.95, "", "", EINTRAG,
             "Blumenerde", 0, None),
            (vorher + 2, "Girokonto", "Ausgabe", 12.0, "EUR", 0.0, 12.0, "", "", EINTRAG,
             "Tomatenpflanzen", 0, None)], neu

        # The entry with its two bookings is deleted; the move dialog moves them.
        dialog = dialog_oeffnen(s, symbol, "a", 359)
        s.tasten("shift+Tab", "shift+Tab", "shift+Tab", "space")
        baum = baum_abwarten(s)
        # Typing a name selects the main category; Right opens it, Down reaches the entry.
        s.schreiben(HAUPT)
        s.tasten("Right", "Down", "Delete")
        frage = s.vorn_abwarten(name_muster(s.sprachtext(1454)), "Frage vorn")
        s.tasten("Return")
        verschieben = s.vorn_abwarten(name_muster(s.sprachtext(2221)), "Verschiebedialog vorn")
        # The source is the deleted entry; in the grid every booking, in the tree the main
        # category by its name.
        s.tasten("Tab", "ctrl+a", "Tab")
        s.schreiben(HAUPT)
        s.bildschirmfoto("verschieben")
        s.tasten("Return")
        e2e.warten(lambda: s.aktives_fenster() in s.fenster(name=name_muster(s.sprachtext(1716)))
                   and s.aktives_fenster() != verschieben, "Meldung vorn")
        s.tasten("Return")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(2221))),
                   "Verschiebedialog zu")
        e2e.warten(lambda: s.aktives_fenster() == baum, "Kategoriedialog wieder vorn")
        s.tasten("alt+o")
        zurueck_im_dialog(s, dialog)
        s.tasten("Escape")
        e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(359))), "Dialog zu")

        assert [z[10] for z in buchungen(s, "Anna.mdb", "ID > ?", vorher)] == [HAUPT, HAUPT]
        kategorien = s.sql("Anna.mdb", "SELECT Kategorie, Unterkategorie FROM Kategorien")
        assert (HAUPT, HAUPT) in kategorien and (HAUPT, EINTRAG) not in kategorien, kategorien
        # The other bookings kept their categories.
        assert s.sql("Anna.mdb", "SELECT count(*) FROM Buchungen WHERE Kategorie = ?",
                     HAUPT) == [(2,)]


if __name__ == "__main__":
    e2e.ausfuehren([neu_benennen_buchen_verschieben])
