#include "frmEinnahme.h"

#include "Module1.h"
#include "SpracheAnwenden.h"
#include "Zustand.h"

frmEinnahme::frmEinnahme() {
  resize(420, 260);
}

void frmEinnahme::beimLaden() {
  SpracheAnwenden(ProduktWert(QStringLiteral("Sprache")));
  setWindowTitle(Text(538));
  setzeHilfekontext(50);
}

void frmEinnahme::beimEntladen() {
  TippfensterEntladen();
}
