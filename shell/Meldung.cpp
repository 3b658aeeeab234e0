#include "Meldung.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QSpacerItem>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct Haken {
  bool aktiv = false;
  QList<int> antworten;
  QList<MeldungTest::Eintrag> gezeigt;
};

Haken& haken() {
  static Haken h;
  return h;
}

struct Knopf {
  int antwort;
  QMessageBox::ButtonRole rolle;
  const char* text;
};

QList<Knopf> knoepfe(int stil) {
  switch (stil & 7) {
    case 1: return {{1, QMessageBox::AcceptRole, "OK"}, {2, QMessageBox::RejectRole, "Abbrechen"}};
    case 2:
      return {{3, QMessageBox::RejectRole, "&Abbruch"},
              {4, QMessageBox::AcceptRole, "&Wiederholen"},
              {5, QMessageBox::AcceptRole, "&Ignorieren"}};
    case 3:
      return {{6, QMessageBox::YesRole, "&Ja"},
              {7, QMessageBox::NoRole, "&Nein"},
              {2, QMessageBox::RejectRole, "Abbrechen"}};
    case 4: return {{6, QMessageBox::YesRole, "&Ja"}, {7, QMessageBox::NoRole, "&Nein"}};
    case 5:
      return {{4, QMessageBox::AcceptRole, "&Wiederholen"},
              {2, QMessageBox::RejectRole, "Abbrechen"}};
    default: return {{1, QMessageBox::AcceptRole, "OK"}};
  }
}

QMessageBox::Icon symbol(int stil) {
  switch (stil & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

int Meldung(const QString& prompt, const QString& titel, int stil) {
  return Meldung(prompt, titel, stil, 0, 0);
}

int Meldung(const QString& prompt, const QString& titel, int stil, int promptNr, int titelNr) {
  const QList<Knopf> liste = knoepfe(stil);
  Haken& h = haken();
  if (h.aktiv) {
    const int antwort = h.antworten.isEmpty() ? liste.first().antwort : h.antworten.takeFirst();
    h.gezeigt.append({prompt, titel, stil, antwort, promptNr, titelNr});
    return antwort;
  }
  QMessageBox box(symbol(stil), titel, prompt, QMessageBox::NoButton,
                  QApplication::activeWindow());
  QList<std::pair<QPushButton*, int>> zuordnung;
  for (const Knopf& k : liste)
    zuordnung.append(std::pair{box.addButton(QString::fromUtf8(k.text), k.rolle), k.antwort});
  box.setDefaultButton(zuordnung.first().first);
  // The box sizes itself by its text only; a longer title would be cut in the title bar.
  const int titelBreite = QFontMetrics(box.font()).horizontalAdvance(titel) + 120;
  if (auto* gitter = qobject_cast<QGridLayout*>(box.layout()))
    gitter->addItem(new QSpacerItem(titelBreite, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                    gitter->rowCount(), 0, 1, gitter->columnCount());
  // Esc answers like the cancel button where there is one, otherwise like the only button.
  for (const auto& [knopf, antwort] : zuordnung) {
    if (antwort == Antwort::Abbrechen || antwort == Antwort::Nein || liste.size() == 1)
      box.setEscapeButton(knopf);
  }
  box.exec();
  for (const auto& [knopf, antwort] : zuordnung) {
    if (box.clickedButton() == knopf)
      return antwort;
  }
  return liste.size() == 1 ? liste.first().antwort : Antwort::Abbrechen;
}

namespace MeldungTest {

void installieren() {
  haken() = Haken{};
  haken().aktiv = true;
}
void entfernen() { haken() = Haken{}; }
bool installiert() { return haken().aktiv; }
void antworten(const QList<int>& a) { haken().antworten.append(a); }
const QList<Eintrag>& gezeigt() { return haken().gezeigt; }
void vergessen() { haken().gezeigt.clear(); }

}  // namespace MeldungTest
