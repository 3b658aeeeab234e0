// Context help: F1 in every form with a help context, the help button, and the help window at
// the anchor of the context number; a missing file or topic gives a note, never an error box.

#include "BookingFormulare.h"
#include "Hilfe.h"
#include "Hilfefenster.h"
#include "Shelltest.h"
#include "UsersFormulare.h"
#include "frmHilfe.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

class frmMitHilfe : public Formular {
  Q_OBJECT

 public:
  frmMitHilfe() {
    auto* layout = new QVBoxLayout(this);
    feld = new QLineEdit(this);
    layout->addWidget(feld);
    knopf = new QPushButton(QStringLiteral("&Hilfe"), this);
    layout->addWidget(knopf);
    connect(knopf, &QPushButton::clicked, this, &Formular::hilfeAnzeigen);
  }
  void kontext(int k) { setzeHilfekontext(k); }
  QLineEdit* feld;
  QPushButton* knopf;
};

}  // namespace

class TestHilfe : public Shelltest {
  Q_OBJECT

  Hilfefenster* fenster() { return Formulare::geladen<Hilfefenster>(); }
  int scrollwert() { return fenster()->browser()->verticalScrollBar()->value(); }

 private slots:
  void initTestCase() {
    einmalig();
    bookingFormulareAnmelden();
    usersFormulareAnmelden();
  }
  void cleanupTestCase() { ordnerLoeschen(); }

  void init() {
    neuStarten();
    HilfeTest::vergessen();
  }

  void cleanup() { TestUmgebung::formulareEntladen(); }

  // Every dialog that exists opens its own topic with F1, wherever the key is pressed.
  void f1JeDialog_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("kontext");
    QTest::addColumn<int>("titel");
    QTest::newRow("frmAusgabe") << "frmAusgabe" << 40 << 359;
    QTest::newRow("frmEinnahme") << "frmEinnahme" << 50 << 538;
    QTest::newRow("frmBenutzer") << "frmBenutzer" << 160 << 446;
    QTest::newRow("frmAnmeldung") << "frmAnmeldung" << 450 << 307;
    QTest::newRow("frmKennwort") << "frmKennwort" << 420 << 766;
    QTest::newRow("frmHilfe") << "frmHilfe" << 460 << 681;
  }

  void f1JeDialog() {
    QFETCH(QString, form);
    QFETCH(int, kontext);
    QFETCH(int, titel);
    Formular* f = Formulare::laden(form);
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), Text(titel));
    QVERIFY(!f->windowTitle().isEmpty());
    QCOMPARE(f->hilfekontext(), kontext);
    f->show();
    QTest::keyClick(f, Qt::Key_F1);
    QCOMPARE(HilfeTest::aufrufe(), QList<int>({kontext}));
    QVERIFY(fenster());
    QVERIFY(fenster()->isVisible());
    QVERIFY(fenster()->themaGefunden());
    QVERIFY(!fenster()->findChild<QLabel*>(QStringLiteral("lblHinweis"))->isVisible());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  // The dialog sees F1 before its controls; the help button calls the same help.
  void f1AusEinemFeldUndHilfeknopf() {
    auto* f = Formulare::laden<frmMitHilfe>();
    f->kontext(270);
    f->show();
    f->feld->setFocus();
    QTest::keyClick(f->feld, Qt::Key_F1);
    QCOMPARE(HilfeTest::aufrufe(), QList<int>({270}));
    QTest::mouseClick(f->knopf, Qt::LeftButton);
    QCOMPARE(HilfeTest::aufrufe(), QList<int>({270, 270}));
    // One help window for all calls.
    QCOMPARE(Formulare::alle().size(), 2);
    // Without a help context, F1 stays with the control.
    f->kontext(0);
    QTest::keyClick(f->feld, Qt::Key_F1);
    QCOMPARE(HilfeTest::aufrufe().size(), 2);
  }

  // Each call scrolls to its own topic and brings the window to the front.
  void ankerJeKontext() {
    HilfeZeigen(40);
    QVERIFY(fenster());
    const int bei40 = scrollwert();
    QVERIFY(bei40 > 0);  // scrolled on the first call too, while the window was just shown
    HilfeZeigen(560);
    const int bei560 = scrollwert();
    QVERIFY2(bei560 > bei40, qPrintable(QStringLiteral("%1 / %2").arg(bei40).arg(bei560)));
    HilfeZeigen(160);
    const int bei160 = scrollwert();
    QVERIFY(bei160 > bei40 && bei160 < bei560);
    fenster()->showMinimized();
    HilfeZeigen(40);
    QCOMPARE(scrollwert(), bei40);
    QTRY_VERIFY(!fenster()->isMinimized());
    QCOMPARE(fenster()->windowTitle(), fenster()->browser()->documentTitle());
    QVERIFY(!fenster()->windowTitle().isEmpty());
  }

  void fehlendesThema() {
    HilfeZeigen(999);
    QVERIFY(fenster());
    QVERIFY(fenster()->isVisible());
    QVERIFY(!fenster()->themaGefunden());
    auto* hinweis = fenster()->findChild<QLabel*>(QStringLiteral("lblHinweis"));
    QVERIFY(hinweis->isVisible());
    QCOMPARE(hinweis->text(), Text(3008));
    QVERIFY(!hinweis->text().isEmpty());
    QCOMPARE(scrollwert(), 0);
    // The next good topic takes the note away.
    HilfeZeigen(50);
    QVERIFY(fenster()->themaGefunden());
    QVERIFY(!hinweis->isVisible());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  void fehlendeDatei() {
    zustand().Hilfedatei = m_ordner->datei(QStringLiteral("fehlt.html"));
    HilfeZeigen(40);
    QVERIFY(fenster());
    QVERIFY(fenster()->isVisible());
    QVERIFY(!fenster()->themaGefunden());
    QCOMPARE(fenster()->findChild<QLabel*>(QStringLiteral("lblHinweis"))->text(), Text(3008));
    QVERIFY(fenster()->browser()->toPlainText().isEmpty());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    // Esc closes it like any dialog.
    QTest::keyClick(fenster(), Qt::Key_Escape);
    QVERIFY(!fenster());
  }
};

VELMARK_TEST_MAIN(TestHilfe)
#include "tst_hilfe.moc"
