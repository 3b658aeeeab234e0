#pragma once
// Values as texts: every amount and date the program shows or stores passes through here, always
// in the German form (decimal comma, grouping point, "dd.mm.yyyy") whatever the machine's locale.

#include <QDate>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

namespace Werte {

// A number text as the dialogs read it: blanks around it, an optional sign in front or behind,
// grouping points (ignored), at most one decimal comma, an optional exponent. Anything else, and
// values beyond the range of a double, give no number.
std::optional<double> zahl(QStringView text);

// The number read as a 16-bit whole number (rounded half to even, as the conversion to Integer
// does); no value when it is no number or out of range. "0146" gives 146.
std::optional<qint16> ganzzahl16(QStringView text);

// Formats used by the dialogs: "##,##0.00", "Standard", "##0%", "###,##0.0", "##0.0", "##0.0#",
// "0", "#0", "Allgemeine Zahl" (general number) and the date format "dd.mm.yyyy". Rounding is half
// away from zero on the value's 15-significant-digit decimal form. A non-finite value gives "".
QString formatieren(double wert, QStringView format);

// The text passed through a format: a number text is formatted as a number, a date text with the
// date format as a date; any other text comes back unchanged.
QString formatieren(const QString& text, QStringView format);

// General number: up to 15 significant digits, no grouping, exponent form for very large and
// very small values ("1E+15").
QString allgemein(double wert);

// A 32-bit float as text: its shortest form of at most seven significant digits (10 -> "10",
// 1.1 -> "1,1", 1/3 -> "0,3333333", 12345678 -> "1,234568E+07").
QString floatText(float wert);

// A date text: day, month, year separated by ".", "/" or "-" (two- or four-digit year), or ISO
// yyyy-mm-dd; blanks around it ignored; calendar rules checked.
std::optional<QDate> datum(QStringView text);

// "dd.mm.yyyy".
QString datumText(const QDate& datum);

// A value as the language turns it into text: numbers in their general form with a decimal comma,
// floats with at most seven digits, dates "dd.mm.yyyy", booleans "Wahr"/"Falsch".
QString alsText(const QVariant& wert);

inline constexpr QStringView Betragsformat = u"##,##0.00";
inline constexpr QStringView Standard = u"Standard";
inline constexpr QStringView Datumsformat = u"dd.mm.yyyy";

}  // namespace Werte
