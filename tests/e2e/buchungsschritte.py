"""The steps of the booking dialogs that several end-to-end tests take with the keyboard: open a
dialog from the tray, type a booking, read the row back from the household book."""

import datetime
import re

import velmark_e2e as e2e
from e2e_tray import menue_oeffnen

# The columns of a booking row, in the order the dialogs write them, and the balance.
SPALTEN = ("ID, KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, Ausgabe, Empfaenger, "
           "Auftraggeber, Kategorie, Verwendungszweck, Versicherung, Saldo")


def name_muster(text):
    return "^" + re.escape(text) + "$"


def dialog_oeffnen(s, symbol, taste, titel):
    """A booking command of the tray by its access key ("a" expense, "e" income); returns the
    dialog (caption text number `titel`) once it is the active window."""
    menue_oeffnen(s, symbol)
    s.tasten(taste)
    return dialog_abwarten(s, titel)


def dialog_abwarten(s, titel):
    dialog = s.vorn_abwarten(name_muster(s.sprachtext(titel)), f"Buchungsdialog {titel} vorn")
    return dialog


def betrag_und_zweck(s, betrag, zweck):
    """From the account list, which has the focus when the dialog opens: Tab through date and
    calendar to the amount, then on through the currency to the purpose."""
    s.tasten("Tab", "Tab", "Tab")
    s.schreiben(betrag)
    s.tasten("Tab", "Tab")
    s.schreiben(zweck)


def ausgabe_eintippen(s, betrag, zweck, kategorie, empfaenger=""):
    """An expense typed from the account list on: amount, purpose, category and (unless empty)
    payee. The focus stays in the payee list; Return then presses OK."""
    betrag_und_zweck(s, betrag, zweck)
    s.tasten("Tab")
    s.schreiben(kategorie)
    s.tasten("Tab")
    if empfaenger:
        s.schreiben(empfaenger)


def ok_und_zu(s, titel):
    """Return presses OK; waits until the dialog has closed without a message."""
    s.tasten("Return")
    e2e.warten(lambda: not s.fenster(name=name_muster(s.sprachtext(titel))), "Buchungsdialog zu")


def buchungen(s, datei, *bedingung):
    """The booking rows of a household book with every column of SPALTEN, in the order they were
    written; an optional condition with its values ("ID > ?", 5)."""
    wo = f" WHERE {bedingung[0]}" if bedingung else ""
    return s.sql(datei, f"SELECT {SPALTEN} FROM Buchungen{wo} ORDER BY rowid", *bedingung[1:])


def startdatum(zeile):
    """Whether a row's date is the day zamlo started: today, or yesterday should the test have
    crossed midnight. The dialogs book on that day unless told otherwise."""
    heute = datetime.date.today()
    return zeile[3] in {heute.isoformat(), (heute - datetime.timedelta(days=1)).isoformat()}
