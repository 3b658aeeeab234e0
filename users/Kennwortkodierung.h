#pragma once
// Passwords in the shared data file are stored coded: every character's code in the 8-bit code
// page lowered by a fixed offset. Comparison always happens on the decoded text.

#include <QString>
#include <optional>

inline constexpr int KennwortOffset = 13;

// No value when a character cannot be coded: not in the code page, or its code below the offset.
std::optional<QString> KennwortKodieren(const QString& text);
// No value when a stored character is outside the code page or its raised code exceeds 255.
std::optional<QString> KennwortDekodieren(const QString& text);
