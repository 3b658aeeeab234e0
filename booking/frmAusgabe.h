#pragma once
// The expense booking dialog (so far its frame: title, help context, Esc).

#include "Formular.h"

class frmAusgabe : public Formular {
  Q_OBJECT

 public:
  frmAusgabe();

 protected:
  void beimLaden() override;
  void beimEntladen() override;
};
