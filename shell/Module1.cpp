#include "Module1.h"

#include "Formular.h"
#include "Werte.h"
#include "Zustand.h"
#include "frmHilfe.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

constexpr int TwipsProPixel = 15;

qint16 aufGanzzahl16(double wert) {
  // Rounds half to even, as the conversion to a 16-bit whole number does.
  const double r = std::nearbyint(wert);
  return static_cast<qint16>(std::clamp(r, -32768.0, 32767.0));
}

// The control the user works in: the inner line edit of a combo or spin box counts as the box.
QWidget* bedienelement(QWidget* w) {
  if (w && qobject_cast<QLineEdit*>(w) && w->parentWidget() &&
      (qobject_cast<QComboBox*>(w->parentWidget()) ||
       qobject_cast<QAbstractSpinBox*>(w->parentWidget())))
    return w->parentWidget();
  return w;
}

// Whether the field (or the line edit inside it) is the application's focus widget.
bool hatFokus(const QWidget* feld) {
  const QWidget* fokus = QApplication::focusWidget();
  return fokus && (fokus == feld || feld->isAncestorOf(fokus));
}

// The got-focus handler of a field. A field that only lost the focus because its window was
// deactivated, or because its own list popped up, does not run it again when the focus comes
// back: the user's caret and selection stay as they were.
class FokusFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* ziel, QEvent* ereignis) override {
    if (ereignis->type() == QEvent::FocusOut) {
      const auto grund = static_cast<QFocusEvent*>(ereignis)->reason();
      m_nurFensterwechsel = grund == Qt::ActiveWindowFocusReason || grund == Qt::PopupFocusReason;
    } else if (ereignis->type() == QEvent::FocusIn) {
      // A dialog being shown sends its focus widget a focus-in of its own before the window is
      // active and the field has the focus: the field gets it for real a moment later.
      if (!hatFokus(static_cast<QWidget*>(ziel)))
        return QObject::eventFilter(ziel, ereignis);
      const auto grund = static_cast<QFocusEvent*>(ereignis)->reason();
      const bool zurueck = m_nurFensterwechsel &&
                           (grund == Qt::ActiveWindowFocusReason || grund == Qt::PopupFocusReason);
      m_nurFensterwechsel = false;
      if (!zurueck)
        FeldFokus();
    }
    return QObject::eventFilter(ziel, ereignis);
  }

 private:
  bool m_nurFensterwechsel = false;
};

}  // namespace

void FeldFokusVerbinden(QWidget* feld) {
  if (feld)
    feld->installEventFilter(new FokusFilter(feld));
}

void DatumsfeldPruefen(QLineEdit* Feld) {
  if (!Feld)
    return;
  const QString text = Feld->text();
  if (text.isEmpty())
    return;
  if (text.size() == 10 && text.right(4).compare(QLatin1String("1000")) >= 0) {
    if (const auto datum = Werte::datum(text)) {
      Feld->setText(Werte::datumText(*datum));
      return;
    }
  }
  MeldungNr(1655, 1656, 64);
  Feld->setText(zustand().HeuteText);
  Feld->setFocus(Qt::OtherFocusReason);
}

void FeldFokus() {
  QWidget* fokus = QApplication::focusWidget();
  QWidget* element = bedienelement(fokus);
  if (auto* feld = qobject_cast<QLineEdit*>(element))
    feld->setSelection(0, feld->text().size());
  if (BenutzerWert(QStringLiteral("Zamlotipp")) != u"1")
    return;
  auto* tipp = Formulare::laden<frmHilfe>();
  if (!tipp)
    return;
  ObenZeigen(tipp);
  tipp->Kontexthilfe(element ? element->property("Tag").toString() : QString());
}

void ObenZeigen(QWidget* form) {
  if (!form)
    return;
  // Qt keeps a window's geometry in pixels already; the window keeps its own place and size.
  form->setAttribute(Qt::WA_ShowWithoutActivating, true);
  if (!form->isVisible())
    form->show();
  form->raise();
}

void TwipsInPixel(qint16& x, qint16& y) {
  x = aufGanzzahl16(static_cast<double>(x) / TwipsProPixel);
  y = aufGanzzahl16(static_cast<double>(y) / TwipsProPixel);
}

std::optional<QRect> ErsterFreierOrt(std::initializer_list<QRect> orte, const QRect& frei,
                                     const QRect& fest) {
  for (QRect ort : orte) {
    ort.moveLeft(
        std::clamp(ort.left(), frei.left(), std::max(frei.left(), frei.right() - ort.width() + 1)));
    ort.moveTop(
        std::clamp(ort.top(), frei.top(), std::max(frei.top(), frei.bottom() - ort.height() + 1)));
    if (frei.contains(ort) && !ort.intersects(fest))
      return ort;
  }
  return std::nullopt;
}

QMargins Fensterrahmen(const QWidget* fenster) {
  const auto rahmen = [](const QWidget* w) {
    const QRect aussen = w->frameGeometry();
    const QRect innen = w->geometry();
    return QMargins(innen.left() - aussen.left(), innen.top() - aussen.top(),
                    aussen.right() - innen.right(), aussen.bottom() - innen.bottom());
  };
  for (const QWidget* w : {fenster, static_cast<const QWidget*>(QApplication::activeWindow())}) {
    if (w && w->isVisible() && !rahmen(w).isNull())
      return rahmen(w);
  }
  return {4, 24, 4, 4};
}

void TippfensterPlatzLassen(QWidget* dialog) {
  if (!dialog)
    return;
  QScreen* schirm = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
  if (!schirm)
    return;
  // The size it will show with: what its layout asks for, as showing it would make it.
  dialog->ensurePolished();
  if (dialog->layout())
    dialog->layout()->activate();
  if (!dialog->testAttribute(Qt::WA_Resized))
    dialog->adjustSize();
  const QRect frei = schirm->availableGeometry();
  const QMargins rahmen = Fensterrahmen(dialog);
  QRect ort(QPoint(), dialog->size().grownBy(rahmen));
  ort.moveCenter(frei.center());

  if (BenutzerWert(QStringLiteral("Zamlotipp")) == u"1") {
    const auto* tipp = Formulare::geladen<frmHilfe>();
    if (tipp && tipp->isVisible()) {
      const QRect belegt = tipp->frameGeometry().marginsAdded(
          QMargins(FensterAbstand, FensterAbstand, FensterAbstand, FensterAbstand));
      if (ort.intersects(belegt)) {
        // Left of it, right of it, below, above: the first place on the screen that is clear;
        // else as far from it as the screen allows.
        const QSize g = ort.size();
        if (const auto platz = ErsterFreierOrt({QRect({belegt.left() - g.width(), ort.top()}, g),
                                                QRect({belegt.right() + 1, ort.top()}, g),
                                                QRect({ort.left(), belegt.bottom() + 1}, g),
                                                QRect({ort.left(), belegt.top() - g.height()}, g)},
                                               frei, belegt))
          ort = *platz;
        else if (belegt.center().x() >= frei.center().x())
          ort.moveLeft(frei.left());
        else
          ort.moveRight(frei.right());
      }
    } else {
      // Room on the right for the tip window in its frame, when the screen has it.
      const int tippBreite = frmHilfe::groesse().grownBy(rahmen).width() + FensterAbstand;
      const int rechts = frei.right() - tippBreite;
      // A dialog too wide for both side by side stays in the middle; the tip goes below it.
      if (ort.right() > rechts && ort.width() <= rechts - frei.left() + 1)
        ort.moveRight(rechts);
    }
  }
  ort.moveTop(std::max(ort.top(), frei.top()));
  dialog->move(ort.topLeft());
}

void TippfensterEntladen() {
  Formulare::entladen(QStringLiteral("frmHilfe"));
}
