// Password coding: what codes, decodes to itself.
#include "Kennwortkodierung.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
  if (const auto kodiert = KennwortKodieren(text)) {
    if (KennwortDekodieren(*kodiert) != text)
      std::abort();
  }
  KennwortDekodieren(text);
  return 0;
}
