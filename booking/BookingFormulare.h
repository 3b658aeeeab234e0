#pragma once

// Makes the booking dialogs known by name: frmAusgabe, frmEinnahme.
void bookingFormulareAnmelden();
