#include "BookingFormulare.h"

#include "frmAusgabe.h"
#include "frmEinnahme.h"
#include "frmKalender.h"

void bookingFormulareAnmelden() {
  Formulare::anmelden<frmAusgabe>();
  Formulare::anmelden<frmEinnahme>();
  Formulare::anmelden<frmKalender>();
}
