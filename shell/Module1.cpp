#include "Module1.h"

#include "Formular.h"
#include "Werte.h"
#include "Zustand.h"
#include "frmHilfe.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
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

void TippfensterEntladen() {
  Formulare::entladen(QStringLiteral("frmHilfe"));
}
