#pragma once
// The sign-in dialog without password (so far its frame: title, help context, Esc).

#include "Formular.h"

class frmAnmeldung : public Formular {
  Q_OBJECT

 public:
  frmAnmeldung();

 protected:
  void beimLaden() override;
  void beimEntladen() override;
};
