#pragma once
// The hidden main form of zamlo: it owns the icon in the notification area and its command menu,
// runs the five commands, and is itself the information window.

#include "Formular.h"

#include <QSystemTrayIcon>
#include <memory>

namespace Ui {
class frmTray;
}
class Bildliste;
class HelpCallBack;
class QAction;
class QLabel;
class QMenu;
class Tastenkuerzel;

class frmTray : public Formular {
  Q_OBJECT

 public:
  frmTray();
  ~frmTray() override;

  // Where start-up takes the program folder from; empty: the folder of the executable.
  static QString programmordnerVorgabe;

  QMenu* mnuThing() const { return m_mnuThing; }
  QSystemTrayIcon* TrayDaten() const { return m_trayDaten; }
  HelpCallBack* HelpObj() const { return m_helpObj; }

 public slots:
  // The commands of the menu.
  void mnuVelmark_Starten();
  void mnuEinnahme_Buchen();
  void mnuAusgabe_Buchen();
  void mnuInfo();
  void mnuClose();
  // Takes the session's last booking back, after asking; only while nobody has changed it.
  void mnuZuruecknehmen();

  // The icon's mouse: right button pressed opens the menu at the mouse, a double click starts
  // the main program, anything else does nothing.
  void symbolAktiviert(QSystemTrayIcon::ActivationReason grund);

 protected:
  void beimLaden() override;
  void beimEntladen() override;
  // The information window closes by hiding; the program ends only through mnuClose.
  bool schliessenErlaubt() override;
  void reject() override;
  void changeEvent(QEvent* ereignis) override;

 private:
  void menuAufbauen();
  void MenuPictures();
  void menuZeigen(const QPoint& ort);
  void buchen(const QString& art, const QString& buchungsdialog);
  // The confirmation in the notification area, where the platform shows notifications.
  void benachrichtigen(int titel, const QString& text);
  void zuruecknehmenZeigen();
  // The global shortcuts of the booking commands, by the per-user settings; one that another
  // program holds is said once in the information window.
  void TastenkuerzelAnmelden();

  Ui::frmTray* ui;
  QMenu* m_mnuThing = nullptr;
  QAction* m_starten = nullptr;
  QAction* m_zuruecknehmen = nullptr;
  QLabel* m_hinweis = nullptr;  // the information window's note on a taken shortcut
  std::unique_ptr<Tastenkuerzel> m_kuerzel;
  QSystemTrayIcon* m_trayDaten = nullptr;
  HelpCallBack* m_helpObj = nullptr;
  Bildliste* m_imageList1 = nullptr;
};
