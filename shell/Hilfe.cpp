#include "Hilfe.h"

#include "Formular.h"
#include "Hilfefenster.h"

namespace {

QList<int>& aufrufListe() {
  static QList<int> liste;
  return liste;
}

}  // namespace

void HilfeZeigen(int kontext) {
  aufrufListe().append(kontext);
  if (auto* fenster = Formulare::laden<Hilfefenster>())
    fenster->zeigen(kontext);
}

namespace HilfeTest {

const QList<int>& aufrufe() {
  return aufrufListe();
}
void vergessen() {
  aufrufListe().clear();
}

}  // namespace HilfeTest
