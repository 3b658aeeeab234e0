#include "frmHilfe.h"

#include "Meldung.h"
#include "Module1.h"
#include "Registry.h"
#include "Sprache.h"
#include "SpracheAnwenden.h"
#include "Zustand.h"
#include "ui_frmHilfe.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>

namespace {

// The window's size as laid out, in twips.
constexpr qint16 BreiteTwips = 4800;
constexpr qint16 HoeheTwips = 1380;
constexpr int Abstand = 8;

}  // namespace

frmHilfe::frmHilfe() : ui(new Ui::frmHilfe) {
  ui->setupUi(this);
  setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_ShowWithoutActivating, true);
  setFocusPolicy(Qt::NoFocus);
}

frmHilfe::~frmHilfe() {
  delete ui;
}

QLabel* frmHilfe::lbTip() const {
  return ui->lbTip;
}

void frmHilfe::beimLaden() {
  const QString sprache = BenutzerWert(QStringLiteral("Sprache"));
  SpracheAnwenden(sprache);
  setWindowTitle(
      SprachText(sprachdateiFuer(sprache), QStringLiteral("Sprache"), QStringLiteral("681")));
  setzeHilfekontext(460);

  const QString bild = zustand().Programmordner + QStringLiteral("tipp.png");
  ui->Picture1->setPixmap(
      QPixmap(QFileInfo::exists(bild) ? bild : QStringLiteral(":/bilder/tipp.png")));

  qint16 breite = BreiteTwips;
  qint16 hoehe = HoeheTwips;
  TwipsInPixel(breite, hoehe);
  resize(breite, hoehe);
  nebenAktivesFensterStellen();
}

// The first tip appears beside the dialog that asked for it; from then on the window stays where
// it is (or where the user put it).
void frmHilfe::nebenAktivesFensterStellen() {
  QWidget* dialog = QApplication::activeWindow();
  if (!dialog && QApplication::focusWidget())
    dialog = QApplication::focusWidget()->window();
  QScreen* schirm = dialog ? dialog->screen() : QGuiApplication::primaryScreen();
  if (!schirm)
    return;
  const QRect frei = schirm->availableGeometry();
  QPoint ort;
  if (dialog && dialog != this) {
    const QRect rahmen = dialog->frameGeometry();
    ort = QPoint(rahmen.right() + 1 + Abstand, rahmen.top());
    if (ort.x() + width() > frei.right())
      ort.setX(rahmen.left() - Abstand - width());
  } else {
    ort = QPoint(frei.right() - width() - 4 * Abstand, frei.bottom() - height() - 4 * Abstand);
  }
  ort.setX(std::clamp(ort.x(), frei.left(), std::max(frei.left(), frei.right() - width())));
  ort.setY(std::clamp(ort.y(), frei.top(), std::max(frei.top(), frei.bottom() - height())));
  move(ort);
}

void frmHilfe::Kontexthilfe(const QString& Nummer) {
  QWidget* dialog = QApplication::activeWindow();
  if ((!dialog || dialog == this) && QApplication::focusWidget())
    dialog = QApplication::focusWidget()->window();
  if (dialog && dialog != this)
    m_dialog = dialog;
  if (!Nummer.isEmpty())
    ui->lbTip->setText(SprachText(zustand().Tippdatei, QStringLiteral("Tips"), Nummer));
  else
    ui->lbTip->setText(
        SprachText(zustand().Sprachdatei, QStringLiteral("Sprache"), QStringLiteral("1410")));
}

bool frmHilfe::schliessenErlaubt() {
  if (MeldungNr(1411, 1412, 36) != Antwort::Ja)
    return false;
  RegistrySchreiben(HKCU, BenutzerSchluessel(), QStringLiteral("Zamlotipp"), QStringLiteral("0"));
  return true;
}

void frmHilfe::reject() {
  close();
}

// The window refuses the focus through its flags; where a window manager (or the user's click)
// activates it all the same, the activation goes straight back to the dialog.
void frmHilfe::changeEvent(QEvent* ereignis) {
  Formular::changeEvent(ereignis);
  if (ereignis->type() == QEvent::ActivationChange && isActiveWindow() && m_dialog &&
      m_dialog->isVisible())
    m_dialog->activateWindow();
}
