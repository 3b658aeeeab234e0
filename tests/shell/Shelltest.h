#pragma once
// The fixture of the shell's dialog tests: one program folder without data files for the whole
// run, message boxes answered by the test, the shell's forms registered.
//
//   class TestHilfe : public Shelltest {
//     Q_OBJECT
//    private slots:
//     void initTestCase() { einmalig(); }
//     void cleanupTestCase() { ordnerLoeschen(); }
//     void init() { neuStarten(); }
//     void cleanup() { TestUmgebung::formulareEntladen(); }
//   };

#include "Formularhilfen.h"
#include "Meldung.h"
#include "ShellFormulare.h"
#include "TestMain.h"
#include "Testordner.h"
#include "Zustand.h"

#include <QTest>

class Shelltest : public QObject {
 protected:
  Testordner* m_ordner = nullptr;

  void einmalig() {
    m_ordner = new Testordner(Testordner::Daten::Keine);
    QVERIFY2(m_ordner->ok(), qPrintable(m_ordner->fehler()));
    MeldungTest::installieren();
    shellFormulareAnmelden();
  }
  void ordnerLoeschen() { delete m_ordner; }

  // Fresh settings, zamlo started on 5 March 2024, no message shown yet.
  void neuStarten() {
    TestUmgebung::einstellungenLeeren();
    zustandStarten(m_ordner->pfad(), QDate(2024, 3, 5));
    MeldungTest::vergessen();
  }
};
