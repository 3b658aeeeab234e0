#pragma once
// The 8-bit code page of the household's Windows desktops (Windows-1252). Bytes the code page
// leaves undefined map to the C1 control of the same value, so every byte round-trips.

#include <QByteArray>
#include <QString>
#include <optional>

namespace Codepage1252 {

QChar zeichen(unsigned char byte);
QString dekodieren(const QByteArray& bytes);
// The byte of a character; no value when the code page cannot represent it.
std::optional<unsigned char> byte(QChar zeichen);

}  // namespace Codepage1252
