#include "frmBenutzer.h"

#include "Module1.h"
#include "SpracheAnwenden.h"
#include "Zustand.h"

frmBenutzer::frmBenutzer() {
  resize(420, 260);
}

void frmBenutzer::beimLaden() {
  SpracheAnwenden(ProduktWert(QStringLiteral("Sprache")));
  setWindowTitle(Text(446));
  setzeHilfekontext(160);
}

void frmBenutzer::beimEntladen() {
  TippfensterEntladen();
}
