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
#include <QShowEvent>

#ifdef VELMARK_XCB
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#endif

namespace {

// The window's size as laid out, in twips.
constexpr qint16 BreiteTwips = 4800;
constexpr qint16 HoeheTwips = 1380;

// A tool window has no place in the task bar, but X11 window managers such as IceWM list every
// window that does not say so itself (a tool window only tells them its type). The states go on
// the window before it is mapped; Qt adds its own to them when it maps the window, and a window
// manager clears them when the window is hidden, so this runs at every show.
void ausTaskleisteHalten([[maybe_unused]] QWidget* fenster) {
#ifdef VELMARK_XCB
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection())
    return;
  xcb_connection_t* verbindung = x11->connection();
  const auto atom = [verbindung](const char* name) {
    const auto anfrage = xcb_intern_atom(verbindung, 0, std::strlen(name), name);
    xcb_intern_atom_reply_t* antwort = xcb_intern_atom_reply(verbindung, anfrage, nullptr);
    xcb_atom_t a = XCB_ATOM_NONE;
    if (antwort)
      a = antwort->atom;
    std::free(antwort);
    return a;
  };
  const xcb_atom_t zustand = atom("_NET_WM_STATE");
  const xcb_atom_t werte[] = {atom("_NET_WM_STATE_SKIP_TASKBAR"), atom("_NET_WM_STATE_SKIP_PAGER")};
  if (zustand == XCB_ATOM_NONE || werte[0] == XCB_ATOM_NONE || werte[1] == XCB_ATOM_NONE)
    return;
  xcb_change_property(verbindung, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(fenster->winId()),
                      zustand, XCB_ATOM_ATOM, 32, 2, werte);
  xcb_flush(verbindung);
#endif
}

// Where the window goes with no dialog beside it: the bottom right corner of the screen.
QRect ecke(const QSize& rahmen, const QRect& frei) {
  QRect ort(QPoint(), rahmen);
  ort.moveBottomRight(frei.bottomRight() - QPoint(4 * FensterAbstand, 4 * FensterAbstand));
  return ort;
}

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

  resize(groesse());
  nebenAktivesFensterStellen();
}

QSize frmHilfe::groesse() {
  qint16 breite = BreiteTwips;
  qint16 hoehe = HoeheTwips;
  TwipsInPixel(breite, hoehe);
  return {breite, hoehe};
}

QRect frmHilfe::ortNeben(const QRect& dialog, const QSize& rahmen, const QRect& frei) {
  const int a = FensterAbstand;
  const int rechtsbuendig = dialog.right() + 1 - rahmen.width();
  if (const auto ort =
          ErsterFreierOrt({QRect({dialog.right() + 1 + a, dialog.top()}, rahmen),
                           QRect({dialog.left() - a - rahmen.width(), dialog.top()}, rahmen),
                           QRect({rechtsbuendig, dialog.bottom() + 1 + a}, rahmen),
                           QRect({rechtsbuendig, dialog.top() - a - rahmen.height()}, rahmen)},
                          frei, dialog))
    return *ort;
  return ecke(rahmen, frei);
}

// The first tip appears beside the dialog that asked for it; from then on the window stays where
// it is (or where the user put it).
void frmHilfe::nebenAktivesFensterStellen() {
  QWidget* dialog = QApplication::activeWindow();
  if ((!dialog || dialog == this) && QApplication::focusWidget())
    dialog = QApplication::focusWidget()->window();
  if (dialog == this)
    dialog = nullptr;
  QScreen* schirm = dialog ? dialog->screen() : QGuiApplication::primaryScreen();
  if (!schirm)
    return;
  const QRect frei = schirm->availableGeometry();
  const QSize rahmen = groesse().grownBy(Fensterrahmen(dialog));
  move((dialog ? ortNeben(dialog->frameGeometry(), rahmen, frei) : ecke(rahmen, frei)).topLeft());
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

void frmHilfe::showEvent(QShowEvent* ereignis) {
  // Sent before the window is mapped; a spontaneous one (restored by the window manager) comes
  // after it and must leave the states alone.
  if (!ereignis->spontaneous())
    ausTaskleisteHalten(this);
  Formular::showEvent(ereignis);
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
