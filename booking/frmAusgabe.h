#pragma once
// The expense booking dialog: the booking dialog with the expense's texts, help context 40, the
// payee list cboEmpfaenger and the inventory box Check1.

#include "Buchungsdialog.h"

class frmAusgabe : public Buchungsdialog {
  Q_OBJECT

 public:
  frmAusgabe();
};
