#pragma once
// The password sign-in and user administration (so far its frame: title, help context, Esc).

#include "Formular.h"

class frmBenutzer : public Formular {
  Q_OBJECT

 public:
  frmBenutzer();

 protected:
  void beimLaden() override;
  void beimEntladen() override;
};
