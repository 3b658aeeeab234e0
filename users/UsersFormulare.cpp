#include "UsersFormulare.h"

#include "Zustand.h"
#include "frmAnmeldung.h"
#include "frmBenutzer.h"
#include "frmKennwort.h"

void usersFormulareAnmelden() {
  Formulare::anmelden<frmAnmeldung>();
  Formulare::anmelden<frmBenutzer>();
  Formulare::anmelden<frmKennwort>();
}

void BuchungsdialogZeigen() {
  Formulare::nichtModalZeigen(zustand().Buchungsart == u"Ausgabe" ? QStringLiteral("frmAusgabe")
                                                                  : QStringLiteral("frmEinnahme"));
}
