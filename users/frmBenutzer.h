#pragma once
// The sign-in with password, which is also where the sign-in mode is chosen and new users are
// created. A known name needs its password; a new name with a password is confirmed in
// frmKennwort and then created (Benutzeranlage). Either way the booking dialog of
// zustand().Buchungsart opens for the user.

#include "Datensatzquelle.h"
#include "Formular.h"

namespace Ui {
class frmBenutzer;
}
class QComboBox;
class QLineEdit;
class QRadioButton;

class frmBenutzer : public Formular {
  Q_OBJECT

 public:
  frmBenutzer();
  ~frmBenutzer() override;

  QComboBox* cboBenutzer() const;
  QLineEdit* txtKennwort() const;
  // Result of the last BenutzerSuchen (16-bit boolean: -1 true, 0 false).
  qint16 BenutzerVorhanden() const { return m_benutzerVorhanden; }

 public slots:
  // OK, also Enter in the password field.
  void cmdOK_Click();

 protected:
  void beimLaden() override;
  void beimEntladen() override;
  bool eventFilter(QObject* ziel, QEvent* ereignis) override;

 private:
  // The layouts without and with the three options (measures in twips).
  void KurzeAnsicht();
  void VolleAnsicht();
  void ansicht(bool optionen, qint16 linie, qint16 knoepfe, qint16 hoehe);
  void breiteAnpassen();
  void KennwortLaden();
  // False when the users cannot be read (Data1.fehler() says why); nobody is found then.
  bool BenutzerSuchen();
  void BenutzerAktivieren();
  void anmeldeartSchreiben();
  bool kennwortStimmt();
  void neuerBenutzer();
  // Before the user is signed in: another user's booking dialogs go; a No to their question
  // unloads this dialog and signs nobody in.
  bool wechselZulassen();

  Ui::frmBenutzer* ui;
  Datensatzquelle Data1;
  qint16 m_benutzerVorhanden = 0;
  // The coded password of the row BenutzerSuchen found (NULL when the row holds none).
  QVariant m_gefundenesKennwort;
};
