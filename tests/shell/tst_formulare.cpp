// Forms: one instance each, load and unload handlers, captions from Tags, the start-up state.

#include "Formular.h"
#include "Formularhilfen.h"
#include "Registry.h"
#include "Sprache.h"
#include "SpracheAnwenden.h"
#include "TestMain.h"
#include "Testordner.h"
#include "Zustand.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

int geladenZaehler = 0;
int entladenZaehler = 0;

class frmEins : public Formular {
  Q_OBJECT
 public:
  frmEins() {
    knopf = new QPushButton(QStringLiteral("&Design"), this);
    knopf->setObjectName(QStringLiteral("cmdOK"));
    knopf->setProperty("Tag", QStringLiteral("0201"));
    label = new QLabel(QStringLiteral("Design"), this);
    label->setProperty("Tag", QStringLiteral("350"));
    feld = new QLineEdit(QStringLiteral("Eingabe"), this);
    feld->setProperty("Tag", QStringLiteral("056"));
    kaputt = new QLabel(QStringLiteral("bleibt"), this);
    kaputt->setProperty("Tag", QStringLiteral("kein"));
    aktion = new QAction(QStringLiteral("Menü"), this);
    aktion->setProperty("Tag", QStringLiteral("146"));
  }
  QPushButton* knopf;
  QLabel* label;
  QLineEdit* feld;
  QLabel* kaputt;
  QAction* aktion;

 protected:
  void beimLaden() override { ++geladenZaehler; }
  void beimEntladen() override { ++entladenZaehler; }
};

class frmZwei : public Formular {
  Q_OBJECT
 public:
  bool darfSchliessen = true;

 protected:
  bool schliessenErlaubt() override { return darfSchliessen; }
};

// Its unload loads another form, as a field that gets the focus next loads the tip window.
class frmLaedtBeimEntladen : public Formular {
  Q_OBJECT
 protected:
  void beimEntladen() override { Formulare::laden<frmZwei>(); }
};

class frmSelbstEntladen : public Formular {
  Q_OBJECT
 protected:
  void beimLaden() override { entladen(); }
};

}  // namespace

class TestFormulare : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { TestUmgebung::formulareEntladen(); }

  void einInstanzJeFormular() {
    geladenZaehler = entladenZaehler = 0;
    auto* a = Formulare::laden<frmEins>();
    QVERIFY(a);
    QCOMPARE(a->objectName(), QStringLiteral("frmEins"));
    QCOMPARE(Formulare::laden<frmEins>(), a);
    QCOMPARE(geladenZaehler, 1);
    QCOMPARE(Formulare::geladen(QStringLiteral("frmEins")), a);
    a->entladen();
    QCOMPARE(entladenZaehler, 1);
    QVERIFY(!Formulare::geladen<frmEins>());
    a->entladen();  // twice is once
    QCOMPARE(entladenZaehler, 1);
    auto* b = Formulare::laden<frmEins>();
    QVERIFY(b);
    QCOMPARE(geladenZaehler, 2);
  }

  void ladenNachName() {
    QVERIFY(!Formulare::laden(QStringLiteral("frmZwei")));
    Formulare::anmelden<frmZwei>();
    auto* f = Formulare::laden(QStringLiteral("frmZwei"));
    QVERIFY(f);
    QCOMPARE(Formulare::geladen<frmZwei>(), f);
  }

  void ladenDasSichSelbstEntlaedt() { QVERIFY(!Formulare::laden<frmSelbstEntladen>()); }

  void schliessenDurchBenutzer() {
    auto* f = Formulare::laden<frmZwei>();
    f->show();
    f->darfSchliessen = false;
    f->close();
    QCOMPARE(Formulare::geladen<frmZwei>(), f);
    f->darfSchliessen = true;
    f->close();
    QVERIFY(!Formulare::geladen<frmZwei>());
  }

  void escEntlaedt() {
    auto* f = Formulare::laden<frmZwei>();
    f->show();
    QTest::keyClick(f, Qt::Key_Escape);
    QVERIFY(!Formulare::geladen<frmZwei>());
  }

  void alleEntladenInUmgekehrterFolge() {
    entladenZaehler = 0;
    Formulare::laden<frmEins>();
    Formulare::laden<frmZwei>();
    QCOMPARE(Formulare::alle().size(), 2);
    Formulare::alleEntladen();
    QCOMPARE(Formulare::alle().size(), 0);
    QCOMPARE(entladenZaehler, 1);
    // A form loaded while the others unload goes too.
    Formulare::laden<frmEins>();
    Formulare::laden<frmLaedtBeimEntladen>();
    Formulare::alleEntladen();
    QCOMPARE(Formulare::alle().size(), 0);
  }

  void beschriftungAusTags() {
    Testordner ordner(Testordner::Daten::Keine);
    QVERIFY(ordner.ok());
    zustandStarten(ordner.pfad(), QDate(2026, 12, 7));
    auto* f = Formulare::laden<frmEins>();
    SpracheAnwenden(QString());
    const QString datei = ordner.datei(QStringLiteral("kvastlang.dll"));
    QCOMPARE(f->knopf->text(), SprachText(datei, QStringLiteral("Sprache"), QStringLiteral("201")));
    QVERIFY(!f->knopf->text().isEmpty());
    QCOMPARE(f->label->text(), SprachText(datei, QStringLiteral("Sprache"), QStringLiteral("350")));
    QCOMPARE(f->aktion->text(),
             SprachText(datei, QStringLiteral("Sprache"), QStringLiteral("146")));
    QCOMPARE(f->feld->text(), QStringLiteral("Eingabe"));  // input fields carry tip keys
    QCOMPARE(f->kaputt->text(), QStringLiteral("bleibt"));
    // Each number is written back in its plain decimal form; a Tag that is no number stays.
    QCOMPARE(f->knopf->property("Tag").toString(), QStringLiteral("201"));
    QCOMPARE(f->feld->property("Tag").toString(), QStringLiteral("56"));
    QCOMPARE(f->kaputt->property("Tag").toString(), QStringLiteral("kein"));
    // A language value whose file is missing gives empty captions.
    SpracheAnwenden(QStringLiteral("Klingonisch"));
    QCOMPARE(f->knopf->text(), QString());
  }

  void startzustand() {
    TestUmgebung::einstellungenLeeren();
    zustandStarten(QStringLiteral("/opt/velmark"), QDate(2026, 12, 31));
    const Zustand& z = zustand();
    QCOMPARE(z.Programmordner, QStringLiteral("/opt/velmark/"));
    QCOMPARE(z.HeuteText, QStringLiteral("31.12.2026"));
    QCOMPARE(z.Sprachdatei, QStringLiteral("/opt/velmark/kvastlang.dll"));
    QCOMPARE(z.Datendatei, QStringLiteral("/opt/velmark/Daten.mdb"));
    QCOMPARE(z.Tippdatei, QStringLiteral("/opt/velmark/tipps.dll"));
    QCOMPARE(z.Hilfedatei, QStringLiteral("/opt/velmark/Hilfe.html"));
    // A folder that already ends in its separator gets no second one.
    zustandStarten(QStringLiteral("/"), QDate(2026, 12, 31));
    QCOMPARE(zustand().Programmordner, QStringLiteral("/"));
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("Sprache"),
                               QStringLiteral("Deutsch")),
             0);
    zustandStarten(QStringLiteral("/x"), QDate(2026, 12, 31));
    QCOMPARE(zustand().Sprachdatei, QStringLiteral("/x/kvastlangDeutsch.dll"));
    zustand().AktuellerBenutzer.clear();
    QCOMPARE(BenutzerSchluessel(), ProduktSchluessel + QStringLiteral("\\"));
  }
};

VELMARK_TEST_MAIN(TestFormulare)
#include "tst_formulare.moc"
