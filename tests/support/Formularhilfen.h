#pragma once
// For the tests of forms (they link the shell library): what is left of one test's forms goes
// before the next test starts.

#include "Formular.h"

#include <QCoreApplication>
#include <QEvent>

namespace TestUmgebung {

// Every loaded form unloaded, and the widgets it left to deleteLater deleted.
inline void formulareEntladen() {
  Formulare::alleEntladen();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace TestUmgebung
