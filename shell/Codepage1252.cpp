#include "Codepage1252.h"

namespace Codepage1252 {
namespace {

// 0x80 to 0x9F; 0 marks a byte the code page leaves undefined.
constexpr char16_t Hoch[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                               0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

QChar zeichen(unsigned char b) {
  if (b >= 0x80 && b <= 0x9F && Hoch[b - 0x80] != 0)
    return QChar(Hoch[b - 0x80]);
  return QChar(static_cast<char16_t>(b));
}

QString dekodieren(const QByteArray& bytes) {
  // The code page is Latin-1 but for 0x80-0x9F: Qt widens Latin-1 many bytes at a time (a body
  // of megabytes), and only bytes of that range are put right afterwards.
  QString text = QString::fromLatin1(bytes);
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype n = bytes.size();
  bool hoch = false;
  for (qsizetype i = 0; i < n; ++i)
    hoch |= (b[i] & 0xE0) == 0x80;
  if (hoch) {
    QChar* ziel = text.data();
    for (qsizetype i = 0; i < n; ++i) {
      if ((b[i] & 0xE0) == 0x80)
        ziel[i] = zeichen(b[i]);
    }
  }
  return text;
}

std::optional<unsigned char> byte(QChar z) {
  const char16_t u = z.unicode();
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
    return static_cast<unsigned char>(u);
  for (int i = 0; i < 32; ++i) {
    if (Hoch[i] == u && u != 0)
      return static_cast<unsigned char>(0x80 + i);
    if (Hoch[i] == 0 && u == 0x80 + i)
      return static_cast<unsigned char>(u);
  }
  return std::nullopt;
}

}  // namespace Codepage1252
