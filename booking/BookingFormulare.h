#pragma once

// Makes the booking dialogs known by name: frmAusgabe, frmEinnahme, frmKalender.
void bookingFormulareAnmelden();
