#pragma once
// Text comparison as the household-book engine does it: letter case is ignored for every letter
// ("EUR" = "eur", "Ä" = "ä"), accents are not ("a" <> "ä"). The same rules run inside SQLite (a
// collation for "=" and ORDER BY, a replacement for LIKE, registered on each connection) and in
// memory (finding a row in a record source that is already read).

#include <QChar>
#include <QString>
#include <QStringView>

struct sqlite3;

namespace Textvergleich {

// Name of the collation registered on every connection; generated SQL writes
// "Spalte = ? COLLATE VMNOCASE". No index or view of a file may use it: other programs must be
// able to read and write the files without it.
inline constexpr char Kollation[] = "VMNOCASE";

// Equal when the texts differ at most in letter case.
bool gleich(QStringView a, QStringView b);

// A key for hash tables: two texts have equal keys exactly when gleich() holds for them, so that
// many names are found among many rows in one pass.
QString schluessel(QStringView text);

// Order of the collation: alphabetically by the letters without case and accents ("Ä" beside
// "A", "ß" as "ss"), ties broken by the case-folded text. 0 exactly when gleich().
int vergleichen(QStringView a, QStringView b);

// LIKE: "%" any run of characters, "_" one character, letter case ignored; `escape` (when not
// null) makes the character after it literal. A pattern that ends in a lone escape matches
// nothing.
bool wie(QStringView text, QStringView muster, QChar escape = QChar());

// Registers the collation and like() with 2 and 3 arguments on a connection. False with the
// engine's message when the engine refuses.
bool registrieren(sqlite3* db, const char** fehler = nullptr);

}  // namespace Textvergleich
