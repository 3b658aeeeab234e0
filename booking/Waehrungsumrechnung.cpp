#include "Waehrungsumrechnung.h"

namespace {
const QString Euro = QStringLiteral("EUR");
}

Umrechnung umrechnen(float betrag, const QString& E, float kursE, const QString& Z, float kursZ) {
  Umrechnung u;
  u.betrag = betrag;
  if (E == Z)
    return u;
  if (Z != Euro) {
    if (E == Euro) {
      u.betrag = betrag * kursZ;
    } else {
      u.euro = betrag / kursE;
      u.ueberEuro = true;
      u.betrag = u.euro * kursZ;
    }
  } else {
    u.betrag = betrag / kursE;
  }
  return u;
}
