#include "UpdateFormate.h"

#include "UpdateModul.h"
#include "Werte.h"

#include <cmath>

namespace {

// Whole seconds or minutes as the conversion to an integer rounds them (half to even); 64-bit,
// so that a long remaining time never overflows.
qint64 ganz(double wert) {
  return static_cast<qint64>(std::nearbyint(wert));
}

}  // namespace

Fortschrittstexte Fortschrittstexte::lesen() {
  return {UpdateText(1676), UpdateText(1677), UpdateText(1681), UpdateText(1682), UpdateText(1683),
          UpdateText(1684), UpdateText(1685), UpdateText(1686), UpdateText(1687)};
}

QString FormatFileSize(double n) {
  return FormatFileSize(n, Fortschrittstexte::lesen());
}

QString FormatFileSize(double n, const Fortschrittstexte& texte) {
  if (!std::isfinite(n))
    return {};
  if (n >= 0 && n <= 999)
    return Werte::allgemein(n) + u' ' + texte.bytes;
  if (n >= 1000 && n <= 1023999)
    return Werte::formatieren(n / 1024, u"##0.0") + u' ' + texte.kilobytes;
  if (n >= 1024000 && n <= 1023999999)
    return Werte::formatieren(n / (1024.0 * 1024), u"##0.0#") + u' ' + texte.megabytes;
  if (n >= 1024000000)
    return Werte::formatieren(n / (1024.0 * 1024 * 1024), u"##0.0#") + u' ' + texte.gigabytes;
  return {};
}

QString FormatTime(float sglTime) {
  return FormatTime(sglTime, Fortschrittstexte::lesen());
}

QString FormatTime(float sglTime, const Fortschrittstexte& texte) {
  const double t = sglTime;
  if (!std::isfinite(t))
    return {};
  if (t >= 0 && t <= 59)
    return Werte::formatieren(t, u"0") + u' ' + texte.sekunden;
  if (t >= 60 && t <= 3599)
    return Werte::formatieren(std::floor(t / 60), u"#0") + u' ' + texte.minuten +
           Werte::formatieren(static_cast<double>(ganz(t) % 60), u"0") + u' ' + texte.sekunden;
  return Werte::formatieren(std::floor(t / 3600), u"#0") + u' ' + texte.stunden +
         Werte::formatieren(static_cast<double>(ganz(t / 60) % 60), u"0") + u' ' + texte.minuten;
}

QString ReturnFileOrFolder(const QString& FullPath, bool ReturnFile, bool IsURL) {
  // Paths in this program use "/" on every platform; a native Windows path uses "\".
  const qsizetype p = IsURL ? FullPath.lastIndexOf(u'/')
                            : std::max(FullPath.lastIndexOf(u'/'), FullPath.lastIndexOf(u'\\'));
  if (ReturnFile)
    return p < 0 ? FullPath : FullPath.mid(p + 1);
  return p < 0 ? QString() : FullPath.left(p + 1);
}

std::optional<QString> Fortschrittstext(qint64 i, qint64 total, double sekunden) {
  return Fortschrittstext(i, total, sekunden, Fortschrittstexte::lesen());
}

std::optional<QString> Fortschrittstext(qint64 i, qint64 total, double sekunden,
                                        const Fortschrittstexte& texte) {
  if (!(sekunden > 0) || !std::isfinite(sekunden) || i <= 0 || total <= i)
    return std::nullopt;
  const float rate = static_cast<float>(static_cast<double>(i) / sekunden);
  const float rest = static_cast<float>(static_cast<double>(total - i) / rate);
  if (!std::isfinite(rate) || !std::isfinite(rest))
    return std::nullopt;
  return texte.restzeit + u' ' + FormatTime(rest, texte) + QStringLiteral(" (") +
         FormatFileSize(static_cast<double>(i) * 1024, texte) + QStringLiteral(" von ") +
         FormatFileSize(static_cast<double>(total) * 1024, texte) + QStringLiteral(" kopiert)") +
         QStringLiteral("\r\r\r") + texte.rate + u' ' +
         Werte::formatieren(static_cast<double>(rate), u"###,##0.0") + QStringLiteral(" KB/Sek");
}

QString OrdnerKurz(const QString& ordner) {
  return ordner.size() < 33 ? ordner : ordner.left(30) + QStringLiteral("...");
}
