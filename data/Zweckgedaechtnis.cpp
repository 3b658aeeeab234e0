#include "Zweckgedaechtnis.h"

#include "Datenbank.h"
#include "Textvergleich.h"
#include "Verbindung.h"

namespace Zweckgedaechtnis {

namespace {

const QString MitBereich = QStringLiteral(
    "SELECT Kategorie, %1 FROM Buchungen "
    "WHERE Verwendungszweck >= ? COLLATE NOCASE AND Verwendungszweck < ? COLLATE NOCASE "
    "AND Verwendungszweck = ? COLLATE VMNOCASE AND Buchung = ? COLLATE VMNOCASE "
    "ORDER BY Datum DESC, rowid DESC LIMIT 1");
// A purpose without a leading ASCII character has no range: every row is compared.
const QString OhneBereich = QStringLiteral(
    "SELECT Kategorie, %1 FROM Buchungen "
    "WHERE Verwendungszweck = ? COLLATE VMNOCASE AND Buchung = ? COLLATE VMNOCASE "
    "ORDER BY Datum DESC, rowid DESC LIMIT 1");

QString namensspalte(Buchungsart art) {
  return art == Buchungsart::Ausgabe ? QStringLiteral("Empfaenger")
                                     : QStringLiteral("Auftraggeber");
}

}  // namespace

QString sql(Buchungsart art, bool mitBereich) {
  return (mitBereich ? MitBereich : OhneBereich).arg(namensspalte(art));
}

Bereich bereich(QStringView zweck) {
  // Qt's folding maps character to character, so a text equal to `zweck` has, up to its first
  // character outside ASCII, the same ASCII letters in some letter case: NOCASE orders all of
  // them between the lower-case prefix and that prefix with its last character raised by one.
  // (The Kelvin sign and the long s fold to "k" and "s" too; a purpose spelt with them in place
  // of the typed letters is not remembered.)
  QString praefix;
  for (const QChar c : zweck) {
    if (c.unicode() >= 0x80)
      break;
    praefix.append(c.toLower());
  }
  // A last character of 0x7F would become a character outside ASCII, which sorts after it anyway.
  while (!praefix.isEmpty() && praefix.back().unicode() == 0x7f)
    praefix.chop(1);
  if (praefix.isEmpty())
    return {};
  QString oben = praefix;
  oben.back() = QChar(char16_t(oben.back().unicode() + 1));
  return {praefix, oben};
}

}  // namespace Zweckgedaechtnis

std::optional<Zweckvorschlag> LetzteBuchungMitZweck(Datenbank& db, Buchungsart art,
                                                    const QString& zweck, QString* fehler) {
  if (zweck.isEmpty() || !db.offen())
    return std::nullopt;
  const auto bereich = Zweckgedaechtnis::bereich(zweck);
  const bool mitBereich = !bereich.unten.isEmpty();
  const QString buchung = art == Buchungsart::Ausgabe ? QStringLiteral("Ausgabe")
                                                      : QStringLiteral("Einnahme");
  QVariantList werte;
  if (mitBereich)
    werte = {bereich.unten, bereich.oben};
  werte << zweck << buchung;
  QStringList spalten;
  QList<QVariantList> zeilen;
  if (!db.verbindung()->lesen(Zweckgedaechtnis::sql(art, mitBereich), werte, spalten, zeilen,
                              fehler) ||
      zeilen.isEmpty())
    return std::nullopt;
  const auto text = [](const QVariant& v) { return v.isNull() ? QString() : v.toString(); };
  return Zweckvorschlag{text(zeilen[0].value(0)), text(zeilen[0].value(1))};
}
