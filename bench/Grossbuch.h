#pragma once
// A large household book for the benchmarks, made from the shipped schema: 100,000 bookings,
// 5,000 addresses, 500 categories in two levels, 50 accounts, 10,000 purposes, and a shared data
// file with 30 currencies (some inactive) and a few users. The same seed gives the same bytes of
// content on every run, so figures of two runs measure the same work.

#include <QString>
#include <QStringList>

namespace Grossbuch {

// The user whose book it is; the book is <ordner>/Clara.mdb.
inline const QString Benutzer = QStringLiteral("Clara");

struct Umfang {
  int buchungen = 100000;
  int adressen = 5000;
  int hauptkategorien = 50;
  int unterkategorienJeHaupt = 9;  // plus the main category's own row: 10 rows each
  int konten = 50;
  int verwendungen = 10000;
  int waehrungen = 30;
};

// The category with far more bookings than the others (a tenth of them): moving its bookings is
// what the move benchmark does. MoveZiel is another subcategory of the same main category.
inline const QString VielKategorie = QStringLiteral("Lebensmittel");
inline const QString VerschiebeZiel = QStringLiteral("Getränke");

// Makes Daten.mdb and Clara.mdb in `ordner` (replacing them).
bool anlegen(const QString& ordner, const Umfang& umfang = {}, QString* fehler = nullptr);

// The same names the generator uses, in table order, for benchmarks that need them.
QStringList verwendungen(const Umfang& umfang = {});

}  // namespace Grossbuch
