#include "Anmeldepruefung.h"

#include "Datensatzquelle.h"
#include "Kennwortkodierung.h"

using namespace Qt::StringLiterals;

std::optional<QVariant> BenutzerzeileSuchen(Datensatzquelle& Data1, const QString& name) {
  Data1.abfrageSetzen(Abfrage(u"Benutzer"_s));
  for (Data1.ersteZeile(); !Data1.eof(); Data1.naechsteZeile()) {
    const QVariant zeile = Data1.wert(u"Benutzername"_s);
    if (!zeile.isNull() && zeile.toString() == name)
      return Data1.wert(u"Kennwort"_s);
  }
  return std::nullopt;
}

std::optional<QString> KennwortLesen(const QVariant& kodiert) {
  if (kodiert.isNull())
    return std::nullopt;
  return KennwortDekodieren(kodiert.toString());
}

bool KennwortPasst(Datensatzquelle& Data1, const QString& name, const QString& eingabe) {
  const auto kodiert = BenutzerzeileSuchen(Data1, name);
  if (!kodiert)
    return false;
  const auto kennwort = KennwortLesen(*kodiert);
  return kennwort && *kennwort == eingabe;
}
