#include "frmAusgabe.h"

#include "Module1.h"
#include "SpracheAnwenden.h"
#include "Zustand.h"

frmAusgabe::frmAusgabe() {
  resize(420, 260);
}

void frmAusgabe::beimLaden() {
  SpracheAnwenden(ProduktWert(QStringLiteral("Sprache")));
  setWindowTitle(Text(359));
  setzeHilfekontext(40);
}

void frmAusgabe::beimEntladen() {
  TippfensterEntladen();
}
