// The tray form: start-up state and captions, the icon's mouse, the routes of the booking
// commands, the information window, the end command, and the single-instance lock.

#include "BookingFormulare.h"
#include "CoolMenu.h"
#include "Einzelinstanz.h"
#include "HelpCallBack.h"
#include "Programm.h"
#include "Registry.h"
#include "Shelltest.h"
#include "Sprache.h"
#include "UsersFormulare.h"
#include "frmHilfe.h"
#include "frmTray.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

namespace {

void produktWert(const char* name, const QVariant& wert) {
  if (!wert.isValid())
    return;
  const bool alsText = wert.typeId() == QMetaType::QString;
  QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QString::fromLatin1(name), wert, alsText), 0);
}

// What a booking command showed: the form, whether modal, and the state it saw when it showed.
struct Gezeigt {
  QString form;
  bool modal = false;
  QString benutzer;
  QString datei;
  QString art;
};

// Runs a command and reports the form that came up. A modal form is looked at and unloaded from
// inside its own loop, as a user would close it.
Gezeigt beobachten(const std::function<void()>& befehl) {
  Gezeigt g;
  auto merken = [&g](Formular* f, bool modal) {
    g.form = f->objectName();
    g.modal = modal;
    g.benutzer = zustand().AktuellerBenutzer;
    g.datei = zustand().Benutzerdatei;
    g.art = zustand().Buchungsart;
  };
  QTimer wache;
  wache.setInterval(10);
  QObject::connect(&wache, &QTimer::timeout, [&] {
    if (auto* f = qobject_cast<Formular*>(QApplication::activeModalWidget())) {
      merken(f, true);
      f->entladen();
    }
  });
  wache.start();
  befehl();
  wache.stop();
  if (g.form.isEmpty()) {
    for (Formular* f : Formulare::alle()) {
      if (f->objectName() != u"frmTray" && f->isVisible())
        merken(f, f->isModal());
    }
  }
  return g;
}

}  // namespace

class TestTray : public Shelltest {
  Q_OBJECT

  frmTray* trayLaden() {
    frmTray::programmordnerVorgabe = m_ordner->pfad();
    return Formulare::laden<frmTray>();
  }

  QAction* eintrag(frmTray* tray, const char* name) {
    return tray->mnuThing()->findChild<QAction*>(QString::fromLatin1(name));
  }

  // A stand-in main program that leaves a mark when it runs.
  QString hauptprogrammAnlegen() {
    const QString marke = m_ordner->datei(QStringLiteral("gestartet"));
    QFile::remove(marke);
    QFile skript(m_ordner->datei(Hauptprogramm));
    if (!skript.open(QIODevice::WriteOnly))
      return {};
    skript.write("#!/bin/sh\necho \"$#\" > \"$(dirname \"$0\")/gestartet\"\n");
    skript.close();
    skript.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return marke;
  }

 private slots:
  void initTestCase() {
    einmalig();
    bookingFormulareAnmelden();
    usersFormulareAnmelden();
  }
  void cleanupTestCase() { ordnerLoeschen(); }

  void init() {
    TestUmgebung::einstellungenLeeren();
    MeldungTest::vergessen();
    zustand() = Zustand();
  }

  void cleanup() {
    TestUmgebung::formulareEntladen();
    QFile::remove(m_ordner->datei(Hauptprogramm));
  }

  void startzustandUndBeschriftung() {
    auto* tray = trayLaden();
    QVERIFY(tray);
    const Zustand& z = zustand();
    QCOMPARE(z.Programmordner, m_ordner->pfad());
    QCOMPARE(z.HeuteText, QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    QCOMPARE(z.Sprachdatei, m_ordner->datei(QStringLiteral("kvastlang.dll")));
    QCOMPARE(z.Hilfedatei, m_ordner->datei(QStringLiteral("Hilfe.html")));
    QVERIFY(!tray->isVisible());

    QCOMPARE(tray->windowTitle(), Text(842));
    QVERIFY(!tray->windowTitle().isEmpty());
    QCOMPARE(tray->TrayDaten()->toolTip(), Text(842));
    QVERIFY(!tray->TrayDaten()->icon().isNull());
    QCOMPARE(tray->mnuThing()->objectName(), QStringLiteral("mnuThing"));

    // The menu in its order, captioned from the Tags; taking a booking back shows only once
    // this session has stored one.
    QStringList namen;
    for (QAction* a : tray->mnuThing()->actions())
      namen << a->objectName() + (a->isVisible() ? QString() : QStringLiteral(" (verborgen)"));
    QCOMPARE(namen, QStringList({"mnuVelmark_Starten", "Sep3", "mnuEinnahme_Buchen",
                                 "mnuAusgabe_Buchen", "mnuZuruecknehmen (verborgen)", "Sep2",
                                 "mnuInfo", "Sep", "mnuClose"}));
    const struct {
      const char* name;
      int text;
    } eintraege[] = {{"mnuVelmark_Starten", 146},
                     {"mnuEinnahme_Buchen", 147},
                     {"mnuAusgabe_Buchen", 148},
                     {"mnuZuruecknehmen", 3300},
                     {"mnuInfo", 149},
                     {"mnuClose", 150}};
    for (const auto& e : eintraege) {
      QAction* a = eintrag(tray, e.name);
      QVERIFY(a);
      QCOMPARE(a->text(), Text(e.text));
      QVERIFY(!a->text().isEmpty());
    }
    for (const char* sep : {"Sep3", "Sep2", "Sep"})
      QVERIFY(tray->mnuThing()->findChild<QAction*>(QString::fromLatin1(sep))->isSeparator());

    QAction* standard = eintrag(tray, "mnuVelmark_Starten");
    QCOMPARE(tray->mnuThing()->defaultAction(), standard);
    // The menu engine serves the tray form: a picture for each of the five items.
    QVERIFY(CoolMenuFenster(tray));
    for (const auto& e : eintraege)
      QVERIFY2(GetImageIndex(tray, eintrag(tray, e.name)->text()) >= 0, e.name);
    QVERIFY(tray->HelpObj());
    QCOMPARE(MenuFontSize(tray), 8);
    QVERIFY(!MenuFontName(tray).isEmpty());
  }

  // The product key's language names the file: a missing file leaves every caption empty, and the
  // program runs on.
  void fehlendeSprachdatei() {
    produktWert("Sprache", QStringLiteral("Klingonisch"));
    auto* tray = trayLaden();
    QVERIFY(tray);
    QCOMPARE(zustand().Sprachdatei, m_ordner->datei(QStringLiteral("kvastlangKlingonisch.dll")));
    QCOMPARE(tray->windowTitle(), QString());
    QCOMPARE(eintrag(tray, "mnuInfo")->text(), QString());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  void symbolMaus() {
    const QString marke = hauptprogrammAnlegen();
    auto* tray = trayLaden();
    // A single click: nothing.
    emit tray->TrayDaten()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(!tray->mnuThing()->isVisible());
    // Right button: the menu, with its right edge at the mouse.
    QCursor::setPos(600, 500);
    emit tray->TrayDaten()->activated(QSystemTrayIcon::Context);
    QTRY_VERIFY(tray->mnuThing()->isVisible());
    QCOMPARE(tray->mnuThing()->defaultAction(), eintrag(tray, "mnuVelmark_Starten"));
    QVERIFY(tray->mnuThing()->geometry().right() <= 600);
    QVERIFY(tray->mnuThing()->geometry().right() >= 590);
    tray->mnuThing()->hide();
    QVERIFY(!QFileInfo::exists(marke));
    // Double click: the main program, without arguments.
    emit tray->TrayDaten()->activated(QSystemTrayIcon::DoubleClick);
    QTRY_VERIFY(QFileInfo::exists(marke));
    QFile f(marke);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().trimmed(), QByteArray("0"));
  }

  void hauptprogrammAusDemMenue() {
    const QString marke = hauptprogrammAnlegen();
    auto* tray = trayLaden();
    eintrag(tray, "mnuVelmark_Starten")->trigger();
    QTRY_VERIFY(QFileInfo::exists(marke));
  }

  void fehlendesHauptprogramm() {
    auto* tray = trayLaden();
    QVERIFY(!QFileInfo::exists(m_ordner->datei(Hauptprogramm)));
    tray->mnuVelmark_Starten();
    emit tray->TrayDaten()->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(Formulare::alle().size(), 1);
  }

  void buchungsweg_data() {
    QTest::addColumn<QVariant>("kennwort");
    QTest::addColumn<QVariant>("standard");
    QTest::addColumn<QVariant>("benutzer");
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("modal");
    QTest::addColumn<QString>("angemeldet");  // AktuellerBenutzer afterwards

    const QVariant fehlt;
    const QString eins = QStringLiteral("1"), null = QStringLiteral("0");
    const QString ben = QStringLiteral("Ben");
    QTest::newRow("Kennwort 1") << QVariant(eins) << QVariant(null) << fehlt << "frmBenutzer"
                                << true << "";
    QTest::newRow("Kennwort 1 vor Standard 1")
        << QVariant(eins) << QVariant(eins) << QVariant(ben) << "frmBenutzer" << true << "";
    QTest::newRow("Kennwort als Zahl 1")
        << QVariant(1) << QVariant(eins) << QVariant(ben) << "frmBenutzer" << true << "";
    QTest::newRow("beide fehlen") << fehlt << fehlt << QVariant(ben) << "frmAnmeldung" << true
                                  << "";
    QTest::newRow("Kennwort 0, Standard 0")
        << QVariant(null) << QVariant(null) << QVariant(ben) << "frmAnmeldung" << true << "";
    QTest::newRow("Kennwort keine Zahl")
        << QVariant(QStringLiteral("ja")) << fehlt << fehlt << "frmAnmeldung" << true << "";
    QTest::newRow("Standardbenutzer")
        << QVariant(null) << QVariant(eins) << QVariant(ben) << "Buchung" << false << "Ben";
    QTest::newRow("Standard 2 zählt nicht als 0")
        << fehlt << QVariant(QStringLiteral("2")) << QVariant(ben) << "Buchung" << false << "Ben";
    QTest::newRow("Standardbenutzer fehlt")
        << QVariant(null) << QVariant(eins) << fehlt << "Buchung" << false << "";
  }

  void buchungsweg() {
    QFETCH(QVariant, kennwort);
    QFETCH(QVariant, standard);
    QFETCH(QVariant, benutzer);
    QFETCH(QString, form);
    QFETCH(bool, modal);
    QFETCH(QString, angemeldet);
    produktWert("Kennwort", kennwort);
    produktWert("Standard", standard);
    produktWert("Benutzer", benutzer);
    auto* tray = trayLaden();
    QVERIFY(tray);

    const struct {
      const char* befehl;
      const char* art;
      const char* dialog;
    } befehle[] = {{"mnuAusgabe_Buchen", "Ausgabe", "frmAusgabe"},
                   {"mnuEinnahme_Buchen", "Einnahme", "frmEinnahme"}};
    for (const auto& b : befehle) {
      zustand().AktuellerBenutzer.clear();
      zustand().Benutzerdatei.clear();
      const Gezeigt g = beobachten([&] { QMetaObject::invokeMethod(tray, b.befehl); });
      const QString erwartet = form == u"Buchung" ? QString::fromLatin1(b.dialog) : form;
      QCOMPARE(g.form, erwartet);
      QCOMPARE(g.modal, modal);
      QCOMPARE(g.art, QString::fromLatin1(b.art));
      QCOMPARE(zustand().Buchungsart, QString::fromLatin1(b.art));
      QCOMPARE(g.benutzer, angemeldet);
      if (!modal)
        QCOMPARE(g.datei, m_ordner->pfad() + angemeldet + QStringLiteral(".mdb"));
      else
        QCOMPARE(g.datei, QString());
      if (auto* f = Formulare::geladen(erwartet))
        f->entladen();
    }
  }

  // The booking dialogs exist once each, side by side; the same command brings back the open one.
  void buchungsdialogeEinmal() {
    produktWert("Standard", QStringLiteral("1"));
    produktWert("Benutzer", QStringLiteral("Anna"));
    auto* tray = trayLaden();
    tray->mnuAusgabe_Buchen();
    auto* ausgabe = Formulare::geladen(QStringLiteral("frmAusgabe"));
    QVERIFY(ausgabe && ausgabe->isVisible() && !ausgabe->isModal());
    QCOMPARE(ausgabe->windowTitle(), Text(359));
    tray->mnuEinnahme_Buchen();
    auto* einnahme = Formulare::geladen(QStringLiteral("frmEinnahme"));
    QVERIFY(einnahme && einnahme->isVisible());
    QCOMPARE(einnahme->windowTitle(), Text(538));
    QCOMPARE(zustand().Buchungsart, QStringLiteral("Einnahme"));
    QVERIFY(ausgabe->isVisible());
    ausgabe->showMinimized();
    tray->mnuAusgabe_Buchen();
    QCOMPARE(Formulare::geladen(QStringLiteral("frmAusgabe")), ausgabe);
    QTRY_VERIFY(!ausgabe->isMinimized());
    QVERIFY(ausgabe->isVisible());
    QCOMPARE(Formulare::alle().size(), 3);
  }

  void informationsfenster() {
    auto* tray = trayLaden();
    eintrag(tray, "mnuInfo")->trigger();
    QTRY_VERIFY(tray->isVisible());
    QCOMPARE(tray->windowTitle(), Text(842));
    auto* schliessen = tray->findChild<QPushButton*>(QStringLiteral("Command1"));
    QVERIFY(schliessen);
    QCOMPARE(schliessen->text(), QStringLiteral("&Schließen"));
    QVERIFY(!tray->findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull());
    QVERIFY(tray->findChild<QLabel*>(QStringLiteral("Label1"))->text().contains(u"Version"));
    QTest::mouseClick(schliessen, Qt::LeftButton);
    QVERIFY(!tray->isVisible());
    QCOMPARE(Formulare::geladen<frmTray>(), tray);

    // Minimised: hidden, and shown normal the next time.
    tray->mnuInfo();
    tray->showMinimized();
    QTRY_VERIFY(!tray->isVisible());
    QVERIFY(!tray->isMinimized());
    tray->mnuInfo();
    QVERIFY(tray->isVisible());
    QVERIFY(!tray->isMinimized());

    // The close box and Esc hide it too; the program goes on.
    QVERIFY(!tray->close());
    QVERIFY(!tray->isVisible());
    tray->mnuInfo();
    QTest::keyClick(tray, Qt::Key_Escape);
    QVERIFY(!tray->isVisible());
    QCOMPARE(Formulare::geladen<frmTray>(), tray);
    QVERIFY(tray->TrayDaten()->isVisible());
  }

  // The end command unloads every form, open dialogs and the tip window without asking, and
  // the tray form last, with its icon.
  void beendenEntlaedtAlles() {
    produktWert("Standard", QStringLiteral("1"));
    produktWert("Benutzer", QStringLiteral("Anna"));
    RegistrySchreiben(HKCU, ProduktSchluessel + QStringLiteral("\\Anna"),
                      QStringLiteral("Zamlotipp"), QStringLiteral("1"));
    auto* tray = trayLaden();
    tray->mnuAusgabe_Buchen();
    tray->mnuEinnahme_Buchen();
    Formulare::laden<frmHilfe>()->show();
    QCOMPARE(Formulare::alle().size(), 4);
    QPointer<frmTray> wache(tray);
    QPointer<QSystemTrayIcon> symbol(tray->TrayDaten());
    QList<QString> reihenfolge;
    for (Formular* f : Formulare::alle())
      connect(f, &QObject::destroyed,
              [&reihenfolge, name = f->objectName()] { reihenfolge << name; });

    eintrag(tray, "mnuClose")->trigger();
    QTRY_VERIFY(Formulare::alle().isEmpty());
    QVERIFY(!symbol || !symbol->isVisible());
    QTRY_VERIFY(!wache);
    QCOMPARE(reihenfolge.size(), 4);
    QCOMPARE(reihenfolge.last(), QStringLiteral("frmTray"));
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(BenutzerWert(QStringLiteral("Zamlotipp")), QStringLiteral("1"));
  }

  // A lock file that no running process holds is taken over, whatever it says: left by a start
  // killed before it wrote its process number (empty, also when just made), garbage, a process
  // that has ended. One that a running instance holds is not taken, whatever it says.
  void einzelinstanz_data() {
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<int>("alterSekunden");
    QTest::newRow("leer, zwei Tage alt") << QByteArray() << 2 * 24 * 3600;
    QTest::newRow("leer, eben angelegt") << QByteArray() << 0;
    QTest::newRow("Unsinn") << QByteArray("garbage\n\xff\x00") << 60;
    QProcess kurz;
    kurz.start(QStringLiteral("true"));
    kurz.waitForFinished();
    const qint64 tot = kurz.processId() ? kurz.processId() : 999999;
    QTest::newRow("beendeter Prozess") << QByteArray::number(tot) + "\nzamlo\n\n" << 0;
  }
  void einzelinstanz() {
    QFETCH(QByteArray, inhalt);
    QFETCH(int, alterSekunden);
    QTemporaryDir ordner;
    const QString pfad = ordner.filePath(QStringLiteral("zamlo.lock"));
    const auto hinterlassen = [&] {
      QFile f(pfad);
      QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(inhalt);
      QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-alterSekunden),
                            QFileDevice::FileModificationTime));
    };
    hinterlassen();
    {
      Einzelinstanz danach(pfad);
      QVERIFY(!danach.andereLaeuft());
      // It holds the lock now, however its file is changed: the next start ends.
      hinterlassen();
      Einzelinstanz zweite(pfad);
      QVERIFY(zweite.andereLaeuft());
    }
    // Freed at the end of the first: the next one runs.
    Einzelinstanz wieder(pfad);
    QVERIFY(!wieder.andereLaeuft());
  }

  void einzelinstanzOhneOrdner() {
    // No runtime folder at all: the program runs rather than refuse to start.
    QTemporaryDir ordner;
    Einzelinstanz ohneOrdner(ordner.filePath(QStringLiteral("fehlt/nicht/zamlo.lock")));
    QVERIFY(!ohneOrdner.andereLaeuft());
  }
};

VELMARK_TEST_MAIN(TestTray)
#include "tst_tray.moc"
