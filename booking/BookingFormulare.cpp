#include "BookingFormulare.h"

#include "frmAusgabe.h"
#include "frmEinnahme.h"

void bookingFormulareAnmelden() {
  Formulare::anmelden<frmAusgabe>();
  Formulare::anmelden<frmEinnahme>();
}
