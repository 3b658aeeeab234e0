#pragma once
// What the booking dialogs remember of a purpose: the category and the payee or payer of the
// latest booking of the same kind with that purpose (letter case ignored, as the engine compares).
//
//   if (const auto v = LetzteBuchungMitZweck(Data1.datenbank(), Buchungsart::Ausgabe, zweck))
//     if (cboKategorie->currentText().isEmpty()) cboKategorie->setEditText(v->Kategorie);
//
// One statement. The household book's index Buchungen_Verwendungszweck (built-in NOCASE, which any
// program can maintain) narrows it to the texts that share the purpose's leading ASCII characters
// in any letter case; the program's collation decides among those. "Latest" is the latest date,
// among bookings of one day the one stored last. A book without the index gives the same answer
// by reading the whole table.

#include "Buchung.h"

#include <QString>
#include <QStringView>
#include <optional>

class Datenbank;

struct Zweckvorschlag {
  QString Kategorie;
  QString Name;  // Empfaenger of an expense, Auftraggeber of an income
};

// No value when no booking of that kind has the purpose, the purpose is empty or the book cannot
// be read (then *fehler says why).
std::optional<Zweckvorschlag> LetzteBuchungMitZweck(Datenbank& db, Buchungsart art,
                                                    const QString& zweck,
                                                    QString* fehler = nullptr);

namespace Zweckgedaechtnis {

// The statement: with a range its values are the range's bounds, the purpose and the kind;
// without one the purpose and the kind.
QString sql(Buchungsart art, bool mitBereich);
// The NOCASE range [unten, oben) that holds every text equal to `zweck` under the program's
// collation: its characters before the first one outside ASCII. Both empty: no range.
struct Bereich {
  QString unten;
  QString oben;
};
Bereich bereich(QStringView zweck);

}  // namespace Zweckgedaechtnis
