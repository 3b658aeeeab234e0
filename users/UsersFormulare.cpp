#include "UsersFormulare.h"

#include "frmAnmeldung.h"
#include "frmBenutzer.h"

void usersFormulareAnmelden() {
  Formulare::anmelden<frmAnmeldung>();
  Formulare::anmelden<frmBenutzer>();
}
