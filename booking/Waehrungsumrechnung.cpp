#include "Waehrungsumrechnung.h"

#include <cmath>

namespace {

const QString Euro = QStringLiteral("EUR");

Umrechnung fehler(Umrechnung::Fehler art, const QString& waehrung = {}) {
  Umrechnung u;
  u.fehler = art;
  u.waehrung = waehrung;
  return u;
}

}  // namespace

std::optional<double> gueltigerKurs(const QVariant& gespeichert) {
  if (!gespeichert.isValid() || gespeichert.isNull())
    return std::nullopt;
  bool ok = false;
  const double kurs = gespeichert.toDouble(&ok);
  if (!ok || !std::isfinite(kurs) || kurs <= 0)
    return std::nullopt;
  return kurs;
}

Umrechnung umrechnen(double betrag, const QString& E, std::optional<double> kursE, const QString& Z,
                     std::optional<double> kursZ) {
  Umrechnung u;
  if (E == Z) {
    u.betrag = betrag;
    u.unveraendert = true;
    return u;
  }
  if (E.isEmpty() || Z.isEmpty())
    return fehler(Umrechnung::Fehler::KeineWaehrung);
  if (E != Euro && !kursE)
    return fehler(Umrechnung::Fehler::OhneKurs, E);
  if (Z != Euro && !kursZ)
    return fehler(Umrechnung::Fehler::OhneKurs, Z);
  double ergebnis = 0;
  if (Z != Euro) {
    if (E == Euro) {
      ergebnis = betrag * *kursZ;
    } else {
      u.euro = betrag / *kursE;
      ergebnis = *u.euro * *kursZ;
    }
  } else {
    ergebnis = betrag / *kursE;
  }
  if (!std::isfinite(ergebnis) || std::fabs(ergebnis) >= Umrechnungsgrenze)
    return fehler(Umrechnung::Fehler::ZuGross, Z);
  u.betrag = ergebnis;
  return u;
}
