#pragma once
// Colours as the settings store keeps them: a 32-bit colour value 0x00BBGGRR, written as a number
// or as a text in the notation "&H00BBGGRR&" (the row colours "RowColorEven" and "RowColorOdd").

#include <QColor>
#include <QVariant>
#include <optional>

// The colour of a settings value: a number, a text "&H..." (hexadecimal, the trailing "&"
// optional) or a decimal text. No colour when the value is missing, is no such number, or names
// a system colour (high byte not 0).
std::optional<QColor> Farbwert(const QVariant& wert);
