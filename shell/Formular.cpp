#include "Formular.h"

#include "Hilfe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>

namespace {

// Key preview for F1: one filter on the application sees the key before any control of a form
// does, also in controls added after the form was built.
class HilfetastenFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* ziel, QEvent* ereignis) override {
    if (ereignis->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent*>(ereignis)->key() != Qt::Key_F1 || !ziel->isWidgetType())
      return false;
    // Only inside the form's own window: a message box or an open list keeps its keys.
    auto* form = qobject_cast<Formular*>(static_cast<QWidget*>(ziel)->window());
    if (!form || form->hilfekontext() == 0)
      return false;
    form->hilfeAnzeigen();
    return true;
  }
};

void hilfetasteEinrichten() {
  static QPointer<HilfetastenFilter> filter;
  if (!filter && qApp) {
    filter = new HilfetastenFilter(qApp);
    qApp->installEventFilter(filter);
  }
}

QList<QPointer<Formular>>& geladene() {
  static QList<QPointer<Formular>> liste;
  return liste;
}

QHash<QString, Formulare::Fabrik>& fabriken() {
  static QHash<QString, Formulare::Fabrik> f;
  return f;
}

}  // namespace

Formular::Formular(QWidget* parent) : QDialog(parent) {
  hilfetasteEinrichten();
}

Formular::~Formular() { Formulare::vergessen(this); }

void Formular::entladen() {
  if (m_entladen)
    return;
  m_entladen = true;
  beimEntladen();
  Formulare::vergessen(this);
  hide();
  deleteLater();
}

void Formular::closeEvent(QCloseEvent* ereignis) {
  if (!m_entladen && !schliessenErlaubt()) {
    ereignis->ignore();
    return;
  }
  entladen();
  ereignis->accept();
}

void Formular::reject() { entladen(); }

void Formular::hilfeAnzeigen() {
  if (m_hilfekontext != 0)
    HilfeZeigen(m_hilfekontext);
}

void Formulare::anmelden(const QString& name, Fabrik fabrik) { fabriken().insert(name, std::move(fabrik)); }

Formular* Formulare::eintragen(Formular* form, const QString& name) {
  QPointer<Formular> wache(form);
  form->setObjectName(name);
  geladene().append(form);
  form->beimLaden();
  if (!wache || form->wirdEntladen())
    return nullptr;
  return form;
}

Formular* Formulare::laden(const QString& name) {
  if (auto* f = geladen(name))
    return f;
  const auto fabrik = fabriken().constFind(name);
  if (fabrik == fabriken().cend())
    return nullptr;
  return eintragen((*fabrik)(), name);
}

Formular* Formulare::nichtModalZeigen(const QString& name) {
  Formular* form = laden(name);
  if (form)
    nachVorneHolen(form);
  return form;
}

void nachVorneHolen(QWidget* fenster) {
  if (fenster->isMinimized())
    fenster->showNormal();
  else
    fenster->show();
  fenster->raise();
  fenster->activateWindow();
}

Formular* Formulare::geladen(const QString& name) {
  for (const auto& f : geladene()) {
    if (f && !f->wirdEntladen() && f->objectName() == name)
      return f;
  }
  return nullptr;
}

QList<Formular*> Formulare::alle() {
  QList<Formular*> liste;
  for (const auto& f : geladene()) {
    if (f && !f->wirdEntladen())
      liste.append(f);
  }
  return liste;
}

void Formulare::entladen(const QString& name) {
  if (auto* f = geladen(name))
    f->entladen();
}

void Formulare::alleEntladen() {
  // Later forms first, so that a dialog goes before the form that opened it. Unloading one form
  // can load another (the focus moves on and a field shows its tip): repeat until none is left.
  for (QList<Formular*> liste = alle(); !liste.isEmpty(); liste = alle()) {
    for (auto it = liste.crbegin(); it != liste.crend(); ++it)
      (*it)->entladen();
  }
}

void Formulare::vergessen(Formular* form) { geladene().removeAll(form); }
