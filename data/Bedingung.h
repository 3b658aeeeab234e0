#pragma once
// One condition on a column: "Spalte = Wert" (text ignoring letter case) or "Spalte LIKE Muster".
// Used in queries (WHERE, with the value bound) and to find a row among rows already read.

#include <QString>
#include <QVariant>

enum class Vergleich { Gleich, Wie };

struct Bedingung {
  QString spalte;
  Vergleich vergleich = Vergleich::Gleich;
  QVariant wert;  // Gleich: a value for the column (converted as written); Wie: the pattern

  static Bedingung gleich(const QString& spalte, const QVariant& wert) {
    return {spalte, Vergleich::Gleich, wert};
  }
  static Bedingung wie(const QString& spalte, const QString& muster) {
    return {spalte, Vergleich::Wie, muster};
  }

  // The value to bind: converted for the column (Gleich) or the pattern as text (Wie); NULL, which
  // matches nothing, when the value does not fit the column.
  QVariant gebundenerWert() const;

  // Whether a value read from the column (as the record source gives it) meets the condition,
  // by the same rules as the query.
  bool trifftZu(const QVariant& gelesen) const;

  // The same test for many values of the column (finding a row among thousands): the column's
  // kind and the value looked for are worked out once, not for every row.
  class Pruefung {
   public:
    explicit Pruefung(const Bedingung& bedingung);
    bool trifftZu(const QVariant& gelesen) const;

   private:
    Vergleich m_vergleich;
    int m_art;  // Umwandlung::Spaltenart of the column
    QVariant m_gesucht;
    // Equality of a text column with a text: what nearly every search of the dialogs is.
    bool m_textGleich = false;
    QString m_text;
  };
};
