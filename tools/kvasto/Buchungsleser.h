#pragma once
// kvasto's own read path through the bookings of a household book, for books of 100,000 rows:
// the list reads only the row numbers of what passes the filter and then the rows it shows, the
// sums are grouped by the engine. Statements run on the book's connection of the data layer
// (collation, like() and busy timeout as everywhere), every value is bound, and every statement
// is finished before a call returns, so no read keeps the file locked.

#include "Datenbank.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <optional>

struct Buchungsfilter {
  QString konto;           // KontoName, letter case ignored; empty: every account
  QDate monat;             // any day of the month; invalid: every month
  QStringList kategorien;  // Kategorie is one of them, letter case ignored; empty: every one
  QString text;            // part of the purpose, payee or payer, letter case ignored

  bool operator==(const Buchungsfilter&) const = default;
};

// The columns of a booking as the list reads them, with the data layer's types (Umwandlung).
enum class Buchungsspalte {
  Zeile,  // rowid
  ID,
  Datum,
  KontoName,
  Buchung,
  Empfaenger,
  Auftraggeber,
  Kategorie,
  Verwendungszweck,
  Betrag,
  Waehrung,
  Einnahme,
  Ausgabe,
  Versicherung,
  Anzahl
};

inline QVariant spalte(const QVariantList& zeile, Buchungsspalte s) {
  return zeile.value(int(s));
}

// Income and expense of one group of bookings: a month ("yyyy-mm") or a subcategory, split by
// account when asked.
struct Gruppensumme {
  QString schluessel;
  QString konto;
  int anzahl = 0;
  double einnahmen = 0;
  double ausgaben = 0;
};

class Buchungsleser {
 public:
  explicit Buchungsleser(const Datenbank& buch);

  // The row numbers of the bookings that pass, newest first (date, number, row; descending).
  bool zeilennummern(const Buchungsfilter& filter, QList<qint64>& aus);
  // The bookings with these row numbers, by number; a row that is gone meanwhile is missing.
  bool zeilen(const QList<qint64>& nummern, QHash<qint64, QVariantList>& aus);
  // Sums by month or by subcategory (Kategorie as stored), each split by account if `jeKonto`.
  // The month sums leave the filter's month out: they are the months to choose from.
  bool summenJeMonat(const Buchungsfilter& filter, bool jeKonto, QList<Gruppensumme>& aus);
  bool summenJeKategorie(const Buchungsfilter& filter, bool jeKonto, QList<Gruppensumme>& aus);
  // Bookings per account (KontoName as stored).
  bool buchungenJeKonto(QHash<QString, int>& aus);
  // Every booking that passes, in the list's order, one call per row.
  bool alle(const Buchungsfilter& filter, const std::function<void(const QVariantList&)>& zeile);
  // Another number as soon as another program has committed a change to the file.
  std::optional<qint64> datenstand();

  const QString& fehler() const { return m_fehler; }

 private:
  bool lesen(const QString& sql, const QVariantList& werte,
             const std::function<void(const QVariantList&)>& zeile);
  bool summen(const QString& gruppe, const Buchungsfilter& filter, bool jeKonto,
              QList<Gruppensumme>& aus);

  Datenbank m_buch;
  QString m_fehler;
};
