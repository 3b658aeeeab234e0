#pragma once
// The rules of the amount and date fields, the same in both booking dialogs: which typed
// characters they take, the day steps of the date field, and what leaving the amount field does.

#include <QChar>
#include <QString>
#include <optional>

class QKeyEvent;

namespace Feldregeln {

// The character a key press types into a field, if it types one: keys that only move, delete,
// confirm, cancel or switch fields (arrows, Delete, Enter, Esc, Tab) type none and are left to
// the field and the dialog. Backspace counts as typed (code 8), as do Ctrl combinations that carry
// a control character (Ctrl+V is code 22).
std::optional<QChar> getippt(const QKeyEvent* taste);

// Amount field: Backspace (8), the codes 40 to 57 (( ) * + , - . / and the digits) and the signs
// of arithmetic (multiplication, division, minus sign) for an expression.
bool Betragszeichen(QChar zeichen);

// The amount a field's text stands for: a number, or an expression's value rounded to cents.
std::optional<double> Betragswert(const QString& text);

enum class Datumstaste {
  Tippen,      // Backspace, space, "." and the digits
  TagVor,      // "+": one day later, the sign itself is not typed
  TagZurueck,  // "-": one day earlier
  Verwerfen,
};
Datumstaste Datumszeichen(QChar zeichen);

// The date text moved by `tage` days, as "dd.mm.yyyy"; no value when the text is no date.
std::optional<QString> Tagesschritt(const QString& text, int tage);

// The amount field's text when it is left: an expression replaced by its value rounded to cents,
// then formatted "##,##0.00" when it is a number.
QString BetragVerlassen(const QString& text);

}  // namespace Feldregeln
