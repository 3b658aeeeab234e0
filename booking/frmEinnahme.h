#pragma once
// The income booking dialog: the booking dialog with the income's texts and tips, help context 50,
// the payer list cboAuftraggeber, no inventory box, OK and Übernehmen enabled from the start and
// the date put back to the start-up date after each take-over.

#include "Buchungsdialog.h"

class frmEinnahme : public Buchungsdialog {
  Q_OBJECT

 public:
  frmEinnahme();
};
