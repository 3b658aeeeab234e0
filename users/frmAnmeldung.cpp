#include "frmAnmeldung.h"

#include "Module1.h"
#include "SpracheAnwenden.h"
#include "Zustand.h"

frmAnmeldung::frmAnmeldung() {
  resize(420, 260);
}

void frmAnmeldung::beimLaden() {
  SpracheAnwenden(ProduktWert(QStringLiteral("Sprache")));
  setWindowTitle(Text(307));
  setzeHilfekontext(450);
}

void frmAnmeldung::beimEntladen() {
  TippfensterEntladen();
}
