// The settings file's parser: whatever it reads it writes back byte for byte, and a value it sets
// reads back, while every other line survives.
#include "RegDatei.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse) {
  QByteArray bytes(reinterpret_cast<const char*>(daten), static_cast<qsizetype>(groesse));
  RegDatei datei = RegDatei::parsen(bytes);
  QByteArray erwartet = bytes;
  if (!erwartet.isEmpty() && !erwartet.endsWith('\n'))
    erwartet.append('\n');
  if (datei.text() != erwartet)
    std::abort();

  const QString schluessel = QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\Fuzz");
  RegWert wert;
  wert.text = QString::fromUtf8(bytes.left(40));
  datei.setzen(schluessel, QStringLiteral("Wert"), wert);
  const RegDatei wieder = RegDatei::parsen(datei.text());
  const auto gelesen = wieder.wert(schluessel, QStringLiteral("wert"));
  if (!gelesen || gelesen->text != wert.text)
    std::abort();
  // Every original line is still there.
  const QByteArray neu = datei.text();
  for (const QByteArray& zeile : bytes.split('\n')) {
    if (!zeile.isEmpty() && !neu.contains(zeile))
      std::abort();
  }
  return 0;
}
