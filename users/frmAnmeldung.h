#pragma once
// The sign-in dialog without password: the user picks a name from the users of the shared data
// file, and the booking dialog of zustand().Buchungsart opens for that user.

#include "Datensatzquelle.h"
#include "Formular.h"

namespace Ui {
class frmAnmeldung;
}
class QComboBox;

class frmAnmeldung : public Formular {
  Q_OBJECT

 public:
  frmAnmeldung();
  ~frmAnmeldung() override;

  QComboBox* cboBenutzer() const;

 public slots:
  // OK, also Enter in the list: a non-empty name signs in.
  void cmdOK_Click();

 protected:
  void beimLaden() override;
  void beimEntladen() override;

 private:
  Ui::frmAnmeldung* ui;
  Datensatzquelle Data1;
};
