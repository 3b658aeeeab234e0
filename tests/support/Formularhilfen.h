#pragma once
// For the tests of forms (they link the shell library): what is left of one test's forms goes
// before the next test starts; the entries of a list.

#include "Formular.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>

namespace TestUmgebung {

// Every loaded form unloaded, and the widgets it left to deleteLater deleted.
inline void formulareEntladen() {
  Formulare::alleEntladen();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace TestUmgebung

// The texts of a list's entries, in their order.
inline QStringList eintraege(const QComboBox* liste) {
  QStringList e;
  for (int i = 0; i < liste->count(); ++i)
    e.append(liste->itemText(i));
  return e;
}
