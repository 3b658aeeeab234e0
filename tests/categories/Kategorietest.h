#pragma once
// The fixture both category dialog tests share: a fresh program folder with the demo data per
// test (started on 5 March 2027, Anna signed in, no category chosen), its household book, and
// the forms gone and the data files closed after each test.
//
//   class TestVerschieben : public Kategorietest {
//     Q_OBJECT
//    private slots:
//     void initTestCase() { einmalig(); }
//     void init() { vorbereiten(); }
//     void cleanup() { aufraeumen(); }
//   };

#include "CategoriesFormulare.h"
#include "Datenbank.h"
#include "DemoDaten.h"
#include "Formular.h"
#include "Formularhilfen.h"
#include "Hilfe.h"
#include "Meldung.h"
#include "TestMain.h"
#include "Testordner.h"
#include "Zustand.h"

#include <QTest>

class Kategorietest : public QObject {
 protected:
  Testordner* m_ordner = nullptr;

  QString buch() const { return m_ordner->datei(QStringLiteral("Anna.mdb")); }
  void sql(const QString& text) { QVERIFY(DemoDaten::sqlAusfuehren(buch(), text)); }

  // For initTestCase, init and cleanup.
  static void einmalig() {
    MeldungTest::installieren();
    categoriesFormulareAnmelden();
  }
  void vorbereiten() {
    TestUmgebung::einstellungenLeeren();
    m_ordner = new Testordner;
    QVERIFY2(m_ordner->ok(), qPrintable(m_ordner->fehler()));
    zustandStarten(m_ordner->pfad(), QDate(2027, 3, 5));
    zustand().AktuellerBenutzer = QStringLiteral("Anna");
    zustand().Benutzerdatei = buch();
    zustand().AusgewaehlteKategorie.clear();
    MeldungTest::vergessen();
    HilfeTest::vergessen();
  }
  void aufraeumen() {
    TestUmgebung::formulareEntladen();
    Datenbank::alleSchliessen();
    delete m_ordner;
    m_ordner = nullptr;
  }
};
