#pragma once
// Conversions between the values the dialogs work with (German value texts such as "1.234,50" and
// "05.03.2001", numbers, booleans) and the column types of the data files: amounts REAL rounded
// to cents, dates TEXT "yyyy-mm-dd", booleans INTEGER -1 / 0, whole numbers INTEGER, the rest
// TEXT. The kind of a column follows from its name, which is unique in meaning across the tables.

#include <QStringView>
#include <QVariant>
#include <optional>

namespace Umwandlung {

enum class Spaltenart {
  Text,
  Betrag,         // Betrag, Einnahme, Ausgabe, Saldo, Kaufpreis: REAL, rounded to cents
  Zahl,           // Kurs: REAL as it is
  Datum,          // Datum: TEXT yyyy-mm-dd
  Ganzzahl,       // ID, Versicherung, Steuer: 16-bit whole numbers
  Wahrheitswert,  // Aktiv, Versichert: -1 true, 0 false
  Zeilennummer,   // rowid: a row's own number in its table (64-bit), to find that one row
};

// Letter case of the name is ignored ("Kontoname" is "KontoName").
Spaltenart art(QStringView spalte);

// The value as stored in a column of this kind; no value when it cannot be converted (the
// column's assignment then fails and is skipped). An invalid QVariant stands for NULL.
std::optional<QVariant> speicherwert(Spaltenart art, const QVariant& wert);

// A stored value as the program reads it: double for amounts and rates, QDate for dates, int for
// whole numbers and booleans, QString for texts; an invalid QVariant for NULL. A stored value
// that does not fit its column's kind comes back as it is.
QVariant lesewert(Spaltenart art, const QVariant& gespeichert);

}  // namespace Umwandlung
