#include "SpracheAnwenden.h"

#include "Formular.h"
#include "Sprache.h"
#include "Werte.h"
#include "Zustand.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace {

void beschriften(QObject* objekt, const QString& datei) {
  const QVariant tag = objekt->property("Tag");
  if (!tag.isValid())
    return;
  const auto nummer = Werte::ganzzahl16(tag.toString());
  if (!nummer)
    return;
  // The Tag keeps the number as it was looked up ("0146" becomes "146"), input fields' too.
  objekt->setProperty("Tag", QString::number(*nummer));
  const auto text = [&] {
    return SprachText(datei, QStringLiteral("Sprache"), QString::number(*nummer));
  };
  if (auto* knopf = qobject_cast<QAbstractButton*>(objekt))
    knopf->setText(text());
  else if (auto* label = qobject_cast<QLabel*>(objekt))
    label->setText(text());
  else if (auto* aktion = qobject_cast<QAction*>(objekt))
    aktion->setText(text());
  else if (auto* gruppe = qobject_cast<QGroupBox*>(objekt))
    gruppe->setTitle(text());
  else if (auto* menue = qobject_cast<QMenu*>(objekt))
    menue->setTitle(text());
}

}  // namespace

void SpracheAnwenden(const QString& Sprache) {
  const QString datei = sprachdateiFuer(Sprache);
  for (Formular* form : Formulare::alle()) {
    for (QObject* objekt : form->findChildren<QObject*>())
      beschriften(objekt, datei);
  }
}
