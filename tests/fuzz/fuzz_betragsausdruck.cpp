// Expressions of the amount field: any text is an expression or not, never a crash or a stack
// overflow; a value is finite and within the bound, its replacement text reads back as the value
// rounded to cents, and parentheses and a sign around it keep it.
#include "Betragsausdruck.h"
#include "Werte.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
  const auto wert = Betragsausdruck::auswerten(text);
  if (wert) {
    if (!std::isfinite(*wert) || std::fabs(*wert) > Betragsausdruck::Hoechstbetrag)
      std::abort();
    const auto geklammert = Betragsausdruck::auswerten(QStringLiteral("-(") + text + u')');
    // One level more may pass the nesting bound; otherwise the sign is the only change.
    if (geklammert && *geklammert != -*wert)
      std::abort();
  }
  if (const auto ersetzt = Betragsausdruck::ersetzen(text)) {
    const auto zurueck = Werte::zahl(*ersetzt);
    if (!wert || !zurueck || std::fabs(*zurueck - *wert) > 0.005 + std::fabs(*wert) * 1e-14)
      std::abort();
  }
  return 0;
}
