// The INI reader behind the language and tips files, on arbitrary bytes.
#include "Sprache.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  const QByteArray bytes(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
  const Ini::Inhalt inhalt = Ini::parsen(Ini::dekodieren(bytes));
  for (const auto& abschnitt : inhalt) {
    for (const QString& wert : abschnitt) {
      if (wert.size() > 254)
        std::abort();
    }
  }
  return 0;
}
