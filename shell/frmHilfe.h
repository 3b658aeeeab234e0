#pragma once
// The tip window: a small tool window above all others that shows the tip of the input field
// that has the focus. It never takes the focus itself. The user closing it is asked whether tips
// should be switched off for good.

#include "Formular.h"

#include <QPointer>

namespace Ui {
class frmHilfe;
}
class QLabel;

class frmHilfe : public Formular {
  Q_OBJECT

 public:
  frmHilfe();
  ~frmHilfe() override;

  // Shows the tip under the key `Nummer` of the tips file; for an empty key text 1410.
  void Kontexthilfe(const QString& Nummer);

  QLabel* lbTip() const;

  // The window's size on the screen (its design size in twips, in pixels), frame not included.
  static QSize groesse();
  // Where the window goes beside a dialog whose frame is `dialog`, for a window frame of
  // `rahmen`: right of it, else left of it, else below or above it, whichever first lies wholly
  // in `frei`; else the bottom right corner of `frei`. The result is the window's frame.
  static QRect ortNeben(const QRect& dialog, const QSize& rahmen, const QRect& frei);

 protected:
  void beimLaden() override;
  bool schliessenErlaubt() override;
  void changeEvent(QEvent* ereignis) override;
  void showEvent(QShowEvent* ereignis) override;
  // Esc is a close by the user as well.
  void reject() override;

 private:
  void nebenAktivesFensterStellen();

  Ui::frmHilfe* ui;
  // The window whose field the tip is about; it gets the activation back.
  QPointer<QWidget> m_dialog;
};
