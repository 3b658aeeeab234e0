#pragma once
// What the main program keeps in the data files, and every change it makes to them: the accounts
// of a household book, the exchange rates and the insurance currency of the shared data file, and
// the correction or deletion of one booking. Every change checks its input first and then runs in
// one short transaction through the data layer (values bound): all of it or nothing. Nothing here
// changes a table's columns or writes any other file.
//
//   Haushaltsbuch buch(ordner + u"Daten.mdb"_s);
//   buch.buchOeffnen(ordner + u"Anna.mdb"_s);
//   const Aenderung e = buch.kontoAnlegen({u"Girokonto"_s, u"EUR"_s, QDate(2026, 1, 1)});
//   if (!e.ok()) e.melden();

#include "Datenbank.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// The result of a change: stored, or why not.
struct Aenderung {
  enum class Art {
    Gespeichert,
    Ungueltig,         // the input: message 3045 with the reason; `feld` names the field
    Verwendet,         // an account that bookings use: message 3042 with their number
    Fehlgeschlagen,    // the file refused: message 3041 with the reason; nothing changed
    FalschesKennwort,  // message 1296, as the sign-in says it
  };
  Art art = Art::Gespeichert;
  QString grund;
  QString feld;    // objectName of the input field the reason is about
  QString name;    // the account of Verwendet
  int anzahl = 0;  // its bookings

  bool ok() const { return art == Art::Gespeichert; }
  void melden() const;

  static Aenderung ungueltig(const QString& grund, const QString& feld = {});
  static Aenderung fehlgeschlagen(const QString& grund);
  static Aenderung verwendet(const QString& konto, int anzahl);
};

struct Konto {
  QString name;
  QString waehrung;
  QDate beginn;  // the start date: the tray program books nothing dated before it
};

struct Kurs {
  QString waehrung;
  double kurs = 0;  // units of this currency per euro
  bool aktiv = false;
};

// What a correction of a booking changes, as typed (German value texts).
struct Buchungskorrektur {
  QString datum;
  QString betrag;  // in the booking's entry currency
  QString kategorie;
  QString verwendungszweck;
  QString name;  // payee of an expense, payer of an income
};

class Haushaltsbuch {
 public:
  explicit Haushaltsbuch(const QString& datendatei);

  // Opens the household book (an existing file; none is made). False with the reason.
  bool buchOeffnen(const QString& pfad, QString* fehler = nullptr);
  void buchSchliessen();
  const Datenbank& buch() const { return m_buch; }
  Datenbank& daten();

  // --- accounts ---
  QList<Konto> konten();
  // A new name must differ from every other account's name also in more than letter case and
  // may not hold "%" or "_" (the tray program looks accounts up with LIKE). The currency is an
  // active one, or, for a change, the account's own.
  Aenderung kontoAnlegen(const Konto& konto);
  // Renames (the bookings of the account follow), changes the currency or the start date.
  Aenderung kontoAendern(const QString& bisher, const Konto& konto);
  // Only while no booking uses it.
  Aenderung kontoLoeschen(const QString& name);
  int buchungenMitKonto(const QString& name);

  // --- rates and insurance currency ---
  QList<Kurs> kurse();
  // A code of three letters (stored in capitals), a German number greater than 0 that is a
  // finite 32-bit value, as the rates are read. The euro, the base of every rate, stays at 1.
  Aenderung kursAnlegen(const QString& waehrung, const QString& kurs, bool aktiv);
  Aenderung kursAendern(const QString& waehrung, const QString& kurs);
  Aenderung aktivSetzen(const QString& waehrung, bool aktiv);
  QString versicherungswaehrung();
  Aenderung versicherungSetzen(const QString& waehrung);

  // --- bookings (by rowid) ---
  // Date, amount, category, purpose and payee or payer. A changed amount is converted into the
  // account's currency as the booking dialog converts it; an inventory item of the booking
  // follows (category, date, description, and for a new amount its price).
  Aenderung buchungKorrigieren(qint64 zeile, const Buchungskorrektur& korrektur);
  // The booking and its inventory item, both or neither.
  Aenderung buchungLoeschen(qint64 zeile);

 private:
  std::optional<double> kursVon(const QString& waehrung);
  Aenderung kontoPruefen(const Konto& konto, const QString& bisher);
  Aenderung kursPruefen(const QString& kurs, float& wert);
  // A price in the insurance currency, as the booking dialog states it in the inventory.
  QString versicherungsbetrag(double preis, const QString& E);

  QString m_datendatei;
  Datenbank m_daten;
  Datenbank m_buch;
};
