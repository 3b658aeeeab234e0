#pragma once
// The password prompt: a new user types the password a second time. The prompt compares nothing;
// it hands the text back in zustand().BestaetigtesKennwort: the typed text after OK, "" after
// Abbrechen or Esc. Closed by its close box it leaves the value as it was.

#include "Formular.h"

namespace Ui {
class frmKennwort;
}
class QLineEdit;

class frmKennwort : public Formular {
  Q_OBJECT

 public:
  frmKennwort();
  ~frmKennwort() override;

  QLineEdit* txtPasswort() const;

 public slots:
  void cmdOK_Click();

 protected:
  void beimLaden() override;
  void beimEntladen() override;
  // Esc and Abbrechen.
  void reject() override;

 private:
  Ui::frmKennwort* ui;
};
