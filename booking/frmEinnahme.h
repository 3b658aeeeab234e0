#pragma once
// The income booking dialog (so far its frame: title, help context, Esc).

#include "Formular.h"

class frmEinnahme : public Formular {
  Q_OBJECT

 public:
  frmEinnahme();

 protected:
  void beimLaden() override;
  void beimEntladen() override;
};
