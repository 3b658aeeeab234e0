#include "Formular.h"

#include <QCloseEvent>
#include <QPointer>

namespace {

QList<QPointer<Formular>>& geladene() {
  static QList<QPointer<Formular>> liste;
  return liste;
}

QHash<QString, Formulare::Fabrik>& fabriken() {
  static QHash<QString, Formulare::Fabrik> f;
  return f;
}

}  // namespace

Formular::Formular(QWidget* parent) : QDialog(parent) {}

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
  // Later forms first, so that a dialog goes before the form that opened it.
  const QList<Formular*> liste = alle();
  for (auto it = liste.crbegin(); it != liste.crend(); ++it)
    (*it)->entladen();
}

void Formulare::vergessen(Formular* form) { geladene().removeAll(form); }
