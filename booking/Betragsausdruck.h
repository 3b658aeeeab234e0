#pragma once
// Arithmetic in the amount field: "12,50+3,20", "3*4,99", "(10-2,5)/3". The operands are German
// number texts (digits, grouping points, one decimal comma); the operators + and -, the minus
// sign U+2212, * and the multiplication sign, / and the division sign, parentheses, a sign in
// front of any operand or parenthesis, blanks between them. * and / bind tighter than + and -,
// operators of one level go from left to right.
//
// A hand-written recursive-descent parser:
//   Ausdruck := Term (("+" | "-") Term)*
//   Term     := Faktor (("*" | "/") Faktor)*
//   Faktor   := ("+" | "-") Faktor | Zahl | "(" Ausdruck ")"
// Nesting (parentheses and signs together) is bounded by Tiefengrenze, so no input can exhaust
// the stack; a division by zero, an intermediate value that is not finite and a result beyond
// Hoechstbetrag make the text no number, as does anything malformed.

#include <QString>
#include <QStringView>
#include <optional>

namespace Betragsausdruck {

inline constexpr int Tiefengrenze = 256;
// Beyond this a double no longer holds every cent.
inline constexpr double Hoechstbetrag = 1e13;

// The value of the expression, unrounded; no value when the text is no expression.
std::optional<double> auswerten(QStringView text);

// The text that replaces an expression when the amount field is left or Enter is pressed: the
// value rounded to cents in the field's own form ("##,##0.00"). No value for a text that is a plain
// number already (the field's rules take it as before) or that is no expression.
std::optional<QString> ersetzen(QStringView text);

}  // namespace Betragsausdruck
