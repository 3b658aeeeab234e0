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

QString FormatFileSize(double n) {
  if (!std::isfinite(n))
    return {};
  if (n >= 0 && n <= 999)
    return Werte::allgemein(n) + u' ' + UpdateText(1684);
  if (n >= 1000 && n <= 1023999)
    return Werte::formatieren(n / 1024, u"##0.0") + u' ' + UpdateText(1685);
  if (n >= 1024000 && n <= 1023999999)
    return Werte::formatieren(n / (1024.0 * 1024), u"##0.0#") + u' ' + UpdateText(1686);
  if (n >= 1024000000)
    return Werte::formatieren(n / (1024.0 * 1024 * 1024), u"##0.0#") + u' ' + UpdateText(1687);
  return {};
}

QString FormatTime(float sglTime) {
  const double t = sglTime;
  if (!std::isfinite(t))
    return {};
  if (t >= 0 && t <= 59)
    return Werte::formatieren(t, u"0") + u' ' + UpdateText(1681);
  if (t >= 60 && t <= 3599)
    return Werte::formatieren(std::floor(t / 60), u"#0") + u' ' + UpdateText(1682) +
           Werte::formatieren(static_cast<double>(ganz(t) % 60), u"0") + u' ' + UpdateText(1681);
  return Werte::formatieren(std::floor(t / 3600), u"#0") + u' ' + UpdateText(1683) +
         Werte::formatieren(static_cast<double>(ganz(t / 60) % 60), u"0") + u' ' + UpdateText(1682);
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
  if (!(sekunden > 0) || !std::isfinite(sekunden) || i <= 0 || total <= i)
    return std::nullopt;
  const float rate = static_cast<float>(static_cast<double>(i) / sekunden);
  const float rest = static_cast<float>(static_cast<double>(total - i) / rate);
  if (!std::isfinite(rate) || !std::isfinite(rest))
    return std::nullopt;
  return UpdateText(1676) + u' ' + FormatTime(rest) + QStringLiteral(" (") +
         FormatFileSize(static_cast<double>(i) * 1024) + QStringLiteral(" von ") +
         FormatFileSize(static_cast<double>(total) * 1024) + QStringLiteral(" kopiert)") +
         QStringLiteral("\r\r\r") + UpdateText(1677) + u' ' +
         Werte::formatieren(static_cast<double>(rate), u"###,##0.0") + QStringLiteral(" KB/Sek");
}

QString OrdnerKurz(const QString& ordner) {
  return ordner.size() < 33 ? ordner : ordner.left(30) + QStringLiteral("...");
}
