#include "Kennwortkodierung.h"

#include "Codepage1252.h"

namespace {

std::optional<QString> verschieben(const QString& text, int um) {
  QString aus;
  aus.reserve(text.size());
  for (const QChar c : text) {
    const auto b = Codepage1252::byte(c);
    if (!b)
      return std::nullopt;
    const int code = *b + um;
    if (code < 0 || code > 255)
      return std::nullopt;
    aus.append(Codepage1252::zeichen(static_cast<unsigned char>(code)));
  }
  return aus;
}

}  // namespace

std::optional<QString> KennwortKodieren(const QString& text) {
  return verschieben(text, -KennwortOffset);
}

std::optional<QString> KennwortDekodieren(const QString& text) {
  return verschieben(text, KennwortOffset);
}
