#pragma once
// A record source: Data1, Data2 and Data3 of the dialogs. It is bound to a file, given a query,
// walked row by row, searched, counted and written through.
//
//   Datensatzquelle Data2;
//   Data2.verbinden(zustand().Benutzerdatei);              // at load
//   Data2.abfrageSetzen(Abfrage(u"Konten"_s));              // set the SQL text and refresh
//   if (Data2.finden(Bedingung::gleich(u"KontoName"_s, cboKonto->currentText())))
//     KontoWaehrung = Data2.wert(u"Waehrung"_s).toString();
//   for (Data2.ersteZeile(); !Data2.eof(); Data2.naechsteZeile()) ...
//   Data2.neu(); Data2.setzen(u"Verwendung"_s, text); Data2.speichern();
//   Data2.schliessen();                                     // at unload
//
// Rows are read when first needed and then kept in memory, so no statement stays open between
// two calls; appending needs no rows. Values come typed (Umwandlung::lesewert): double, QDate,
// int, QString, and an invalid QVariant for NULL or when there is no current row. Values to
// store may be the dialogs' texts ("1.234,50", "05.03.2001"); a value that does not fit its
// column is skipped and the row stored without it.
//
// Failures never throw: reads of a file that is missing or broken give no rows, writes return
// false, and fehler() says why in German. An unopened file is tried again at the next use.

#include "Abfrage.h"
#include "Datenbank.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

class Datensatzquelle {
 public:
  Datensatzquelle() = default;

  // Binds the source to a file with a connection of its own (the DatabaseName of the source).
  bool verbinden(const QString& pfad);
  // Binds the source to an open connection, to write in the same transaction as its owner.
  void verbinden(const Datenbank& db);
  // Closes the source's database (its rows and query stay until the next refresh).
  void schliessen();
  bool offen() const { return m_db.offen(); }
  const QString& pfad() const { return m_pfad; }
  // The source's database, opened again if it is not open.
  Datenbank& datenbank();

  // Sets the query (its SQL text becomes zustand().SqlText) and refreshes.
  void abfrageSetzen(const Abfrage& abfrage);
  // The rows are read again at the next need.
  void aktualisieren();
  const Abfrage& abfrage() const { return m_abfrage; }

  // Walking: after a refresh the first row is current.
  void ersteZeile();
  void letzteZeile();
  void naechsteZeile();
  bool eof();
  // Number of rows; counted by the engine when the rows are not read yet.
  int anzahl();
  // Makes the first row that meets the condition current; false (position kept) when none does.
  bool finden(const Bedingung& bedingung);
  // For a text column: the first row of each of its texts, keyed by Textvergleich::schluessel,
  // the row that finden(Bedingung::gleich(spalte, text)) makes current, for many texts at once.
  QHash<QString, int> ersteZeilen(const QString& spalte);
  // A column's place in the rows, by name in any letter case; -1 when there is none.
  int spaltenIndex(const QString& spalte) const;
  // A column of the current row, by name in any letter case.
  QVariant wert(const QString& spalte);

  // Random access for grids.
  QStringList spalten();
  int zeilenAnzahl();
  QVariant wert(int zeile, int spalte);
  int position() const { return m_position; }

  // Appending (neu) or editing the current row (bearbeiten), then setzen and speichern.
  void neu();
  bool bearbeiten();
  // False when the column is not in the table or the value does not fit it: the column is then
  // left out of the row.
  bool setzen(const QString& spalte, const QVariant& wert);
  bool speichern();
  void abbrechen();

  // Why the last failing operation failed.
  const QString& fehler() const { return m_fehler; }

 private:
  enum class Modus { Keiner, Neu, Bearbeiten };
  bool laden();
  bool sicherstellen();

  QString m_pfad;
  Datenbank m_db;
  Abfrage m_abfrage;
  bool m_geladen = false;
  QStringList m_spalten;
  QHash<QString, int> m_index;  // lower-case name -> column
  QList<QVariantList> m_zeilen;
  QList<qint64> m_zeilennummern;
  int m_position = 0;
  Modus m_modus = Modus::Keiner;
  QList<QPair<QString, QVariant>> m_aenderungen;  // column as the table spells it, stored value
  QString m_fehler;
};
