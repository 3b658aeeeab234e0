// zamlo on a desktop without a notification area: one note, non-modal and outside the message
// hook, none while an area is there or comes in time, gone once one appears; its end button runs
// the end command.

#include "Infobereich.h"
#include "Shelltest.h"
#include "frmTray.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

// Every note that shows, however many the watcher made.
int sichtbareHinweise() {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    n += w->objectName() == u"Infobereichhinweis" && w->isVisible();
  return n;
}

}  // namespace

class TestInfobereich : public Shelltest {
  Q_OBJECT

  bool m_da = false;
  int m_gefragt = 0;

  std::function<bool()> bereich() {
    return [this] {
      ++m_gefragt;
      return m_da;
    };
  }
  // Long enough for several looks of the watcher.
  static void einigeRunden() { QTest::qWait(4 * Infobereich::Intervall); }

 private slots:
  void initTestCase() { einmalig(); }
  void cleanupTestCase() { ordnerLoeschen(); }
  void init() {
    neuStarten();
    m_da = false;
    m_gefragt = 0;
    frmTray::programmordnerVorgabe = m_ordner->pfad();
    QVERIFY(Formulare::laden<frmTray>());
  }
  void cleanup() {
    Infobereich::ueberwachen([] { return true; }, 0);
    TestUmgebung::formulareEntladen();
  }

  void ohneBereichEinHinweis() {
    Infobereich::ueberwachen(bereich(), 0);
    QMessageBox* box = Infobereich::hinweis();
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QVERIFY(!box->isModal());
    QCOMPARE(box->windowModality(), Qt::NonModal);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(box->text(), Text(3060));
    QCOMPARE(box->windowTitle(), Text(3160));
    // Whole, not cut at the lookup's 254 characters.
    QVERIFY(box->text().endsWith(u'.') && !box->windowTitle().isEmpty());
    QCOMPARE(box->property("Tag").toInt(), 3060);
    QVERIFY(MeldungTest::gezeigt().isEmpty());

    // The watcher keeps looking, but shows it once, also after the user closed it.
    einigeRunden();
    QCOMPARE(sichtbareHinweise(), 1);
    const int gefragt = m_gefragt;
    QTest::mouseClick(box->defaultButton(), Qt::LeftButton);
    QTRY_VERIFY(!Infobereich::hinweis());
    einigeRunden();
    QCOMPARE(sichtbareHinweise(), 0);
    QVERIFY(Formulare::geladen<frmTray>());
    // Closed by the user, the note has done its work: the watcher stops.
    const int danach = m_gefragt;
    QVERIFY(danach > gefragt);
    einigeRunden();
    QCOMPARE(m_gefragt, danach);
  }

  void bereichDaOderRechtzeitig() {
    m_da = true;
    Infobereich::ueberwachen(bereich(), 0);
    einigeRunden();
    QCOMPARE(m_gefragt, 1);
    QCOMPARE(sichtbareHinweise(), 0);

    // A panel that comes up after zamlo, within the wait: no note.
    m_da = false;
    Infobereich::ueberwachen(bereich(), Infobereich::Wartezeit);
    QTRY_VERIFY(m_gefragt >= 3);
    QVERIFY(!Infobereich::hinweis());
    m_da = true;
    const int gefragt = m_gefragt;
    QTRY_VERIFY(m_gefragt > gefragt);
    einigeRunden();
    QCOMPARE(m_gefragt, gefragt + 1);
    QCOMPARE(sichtbareHinweise(), 0);
  }

  void hinweisGehtMitDemBereich() {
    Infobereich::ueberwachen(bereich(), 0);
    QVERIFY(Infobereich::hinweis());
    m_da = true;
    QTRY_VERIFY(!Infobereich::hinweis());
    QCOMPARE(sichtbareHinweise(), 0);
    QVERIFY(Formulare::geladen<frmTray>());
  }

  void beendenIstDerEndbefehl() {
    Infobereich::ueberwachen(bereich(), 0);
    auto* beenden = Infobereich::hinweis()->findChild<QPushButton*>(QStringLiteral("cmdBeenden"));
    QVERIFY(beenden);
    QCOMPARE(beenden->text(), Text(3061));
    QTest::mouseClick(beenden, Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen<frmTray>());
    QTRY_COMPARE(sichtbareHinweise(), 0);
  }
};

VELMARK_TEST_MAIN(TestInfobereich)
#include "tst_infobereich.moc"
