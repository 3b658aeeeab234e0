#pragma once
// A query as the dialogs describe it: a table, the columns (all when none are named), conditions
// joined by AND, and the sort order. The SQL is built from it with "?" for every value, so values
// are always bound, never part of the text: a name with a single quote is a name like any other.
// (Examples with `using namespace Qt::StringLiterals`.)
//
//   Abfrage(u"Kategorien"_s).sortiert({u"Unterkategorie"_s})
//       SELECT * FROM Kategorien ORDER BY Unterkategorie COLLATE VMNOCASE
//   Abfrage(u"Adressen"_s).wo(u"Name"_s, name)
//       SELECT * FROM Adressen WHERE Name = ? COLLATE VMNOCASE
//
// Text comparisons and text sort orders ignore letter case (Textvergleich); a condition on a
// date, amount or number column compares the converted value ("05.03.2001" finds 2001-03-05).

#include "Bedingung.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Abfrage {
 public:
  Abfrage() = default;
  explicit Abfrage(const QString& tabelle, const QStringList& spalten = {});

  Abfrage& wo(const QString& spalte, const QVariant& wert);
  Abfrage& wie(const QString& spalte, const QString& muster);
  Abfrage& wo(const Bedingung& bedingung);
  Abfrage& sortiert(const QStringList& spalten);

  const QString& tabelle() const { return m_tabelle; }
  const QStringList& spalten() const { return m_spalten; }
  const QList<Bedingung>& bedingungen() const { return m_bedingungen; }
  const QStringList& sortierung() const { return m_sortierung; }

  // A table is named and every name is a plain name (letters, digits, "_"). Nothing else is run.
  bool gueltig() const;

  // "SELECT ... FROM ... [WHERE ...] [ORDER BY ...]" with "?" for the values; empty when invalid.
  QString sql() const;
  // The same rows, each led by its rowid (which a record source needs to store edits).
  QString leseSql() const;
  // "SELECT rowid FROM ... [WHERE ...] [ORDER BY ...] LIMIT 1": the row a record source makes
  // current first.
  QString ersteZeileSql() const;
  // "SELECT count(*) FROM ... [WHERE ...]".
  QString anzahlSql() const;
  // "DELETE FROM ... [WHERE ...]".
  QString loeschSql() const;
  // The values for the "?" of the WHERE part, in order.
  QVariantList werte() const;

  static bool istName(const QString& name);

 private:
  QList<Bedingung> reihenfolge() const;
  QString wherePart() const;
  QString orderPart() const;

  QString m_tabelle;
  QStringList m_spalten;
  QList<Bedingung> m_bedingungen;
  QStringList m_sortierung;
};
