// Number and date texts: any text is a number or not, never a crash; what is read formats and
// reads back to the same value.
#include "Werte.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
  if (const auto wert = Werte::zahl(text)) {
    if (!std::isfinite(*wert))
      std::abort();
    for (const char16_t* format :
         {u"##,##0.00", u"Standard", u"##0%", u"###,##0.0", u"##0.0", u"##0.0#", u"0", u"#0"}) {
      const QString aus = Werte::formatieren(*wert, QStringView(format));
      if (aus.isEmpty())
        std::abort();
    }
    const auto zurueck = Werte::zahl(Werte::allgemein(*wert));
    if (!zurueck || std::fabs(*zurueck - *wert) > std::fabs(*wert) * 1e-14)
      std::abort();
    const auto betrag = Werte::zahl(Werte::formatieren(*wert, u"##,##0.00"));
    if (!betrag || std::fabs(*betrag - *wert) > 0.005 + std::fabs(*wert) * 1e-14)
      std::abort();
    Werte::floatText(static_cast<float>(*wert));
  }
  Werte::ganzzahl16(text);
  if (const auto datum = Werte::datum(text)) {
    if (!datum->isValid() || Werte::datum(Werte::datumText(*datum)) != datum)
      std::abort();
  }
  Werte::formatieren(text, u"dd.mm.yyyy");
  return 0;
}
