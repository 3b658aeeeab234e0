#include "ShellFormulare.h"

#include "Hilfefenster.h"
#include "frmHilfe.h"
#include "frmTray.h"

void shellFormulareAnmelden() {
  Formulare::anmelden<frmTray>();
  Formulare::anmelden<frmHilfe>();
  Formulare::anmelden<Hilfefenster>();
}
