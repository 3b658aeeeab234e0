// Another program holds the settings file's lock (the child registry_kind) while zamlo must write
// its settings: a booking's counter, the sign-in mode, a new user's defaults. Each waits once for a
// bounded time, its window alive but deaf to the user meanwhile, then says why in German words
// and has written nothing; with the lock gone the same step goes through.

#include "Buchungstest.h"
#include "Einstellungssperre.h"
#include "UsersFormulare.h"
#include "frmAusgabe.h"
#include "frmBenutzer.h"
#include "frmKennwort.h"

#include <QGuiApplication>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

const QString Grund = u"Die Einstellungen werden gerade von einem anderen Programm geändert"_s;

// Runs a step and meanwhile does what an impatient user does while the step waits for the
// settings (the busy cursor shows): `ungeduldig`, at the first tick of a timer in that time.
// Counts those ticks: none when the wait does not run the event loop.
class Ungeduld {
 public:
  explicit Ungeduld(std::function<void()> ungeduldig) : m_ungeduldig(std::move(ungeduldig)) {
    m_timer.setInterval(20);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      const QCursor* zeiger = QGuiApplication::overrideCursor();
      if (m_laeuft && zeiger && zeiger->shape() == Qt::WaitCursor && ++m_ticks == 1)
        m_ungeduldig();
    });
  }
  void waehrend(const std::function<void()>& schritt) {
    m_laeuft = true;
    m_timer.start();
    schritt();
    m_laeuft = false;
    m_timer.stop();
  }
  int ticks() const { return m_ticks; }

 private:
  std::function<void()> m_ungeduldig;
  QTimer m_timer;
  bool m_laeuft = false;
  int m_ticks = 0;
};

}  // namespace

class TestEinstellungssperre : public Buchungstest {
  Q_OBJECT

  QByteArray einstellungen() const { return dateiInhalt(Registry::dateipfad()); }

  // The sign-in with password opened, the option chosen, name and password typed (the name in
  // lower case as the password); a new name's prompt will be confirmed. OK is the caller's.
  frmBenutzer* anmeldungVorbereiten(const QString& option, const QString& name, bool neu) {
    oeffnen<frmBenutzer>();
    auto* f = static_cast<frmBenutzer*>(dialog);
    QTest::mouseClick(kind<QRadioButton>(f, qPrintable(option)), Qt::LeftButton, {}, QPoint(6, 8));
    tippen(f->cboBenutzer(), name);
    tippen(f->txtKennwort(), name.toLower());
    if (neu) {
      imModalen([name](Formular* prompt) {
        QLineEdit* feld = static_cast<frmKennwort*>(prompt)->txtPasswort();
        zeichenTippen(feld, name.toLower());
        QTest::keyClick(feld, Qt::Key_Return);
      });
    }
    return f;
  }

  // The one message shown: its prompt starts with the text `nummer` and gives the reason in
  // words, never as a bare number.
  static void gesperrtGemeldet(int nummer, int titel, int stil) {
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    const auto& m = MeldungTest::gezeigt().constFirst();
    QVERIFY2(m.prompt.startsWith(Text(nummer) + u"\n\n"_s + Grund), qPrintable(m.prompt));
    QVERIFY2(!m.prompt.contains(u"33"_s), qPrintable(m.prompt));
    QCOMPARE(m.titel, Text(titel));
    QCOMPARE(m.stil, stil);
  }

 private slots:
  void initTestCase() {
    einmalig();
    usersFormulareAnmelden();
  }
  void init() { vorbereiten(); }
  void cleanup() { aufraeumen(); }

  // The booking counter cannot be saved: no row, the counter and AktuelleID as they were, every
  // field kept. A second OK and Esc while it waits start nothing and close nothing.
  void buchung() {
    oeffnen<frmAusgabe>();
    tippen(feld("txtBetrag"), u"12,50"_s);
    tippen(liste("cboKategorie"), u"Lebensmittel"_s);
    const QByteArray vorher = einstellungen();
    const qint16 id = zustand().AktuelleID;
    Einstellungssperre fremd;
    QVERIFY(fremd.ok());
    Ungeduld ungeduld([this] {
      QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    ungeduld.waehrend([this] { QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton); });
    QVERIFY(ungeduld.ticks() > 0);
    // It gave up while the other program still held the lock.
    QVERIFY(fremd.haeltNoch());
    gesperrtGemeldet(3001, 3101, 16);
    QVERIFY(Formulare::geladen<frmAusgabe>());
    QCOMPARE(feld("txtBetrag")->text(), u"12,50"_s);
    QCOMPARE(liste("cboKategorie")->currentText(), u"Lebensmittel"_s);
    QCOMPARE(buchungen(), 5);
    QCOMPARE(einstellungen(), vorher);
    QCOMPARE(zustand().AktuelleID, id);

    fremd.freigeben();
    MeldungTest::vergessen();
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen<frmAusgabe>());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(buchungen(), 6);
    QCOMPARE(letzteBuchungen(1).value(0).value(0), QVariant(6LL));
    QCOMPARE(RegistryLesen(HKCU, BenutzerSchluessel(), u"ID"_s), QVariant(u"6"_s));
  }

  // The sign-in with password. A mode to save: a default user chosen (written after the right
  // password), or the password sign-in over a mode that differs (written first). Or a new user
  // whose defaults cannot be written, while the mode in force needs no write.
  void anmeldung_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("meldung");
    QTest::newRow("Standardbenutzer") << u"Option1"_s << u"Anna"_s << 3022;
    QTest::newRow("Kennwort über anderer Anmeldeart") << u"Option3"_s << u"Anna"_s << 3022;
    QTest::newRow("neuer Benutzer") << u"Option3"_s << u"Carla"_s << 3009;
  }
  void anmeldung() {
    QFETCH(QString, option);
    QFETCH(QString, name);
    QFETCH(int, meldung);
    const bool neu = name == u"Carla"_s;
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Kennwort"_s, u"1"_s), 0);
    if (neu) {
      QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Benutzer"_s, u""_s), 0);
      QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Standard"_s, u"0"_s), 0);
    }
    zustand().Buchungsart = u"Ausgabe"_s;
    // Somebody signed in before: the options show.
    frmBenutzer* f = anmeldungVorbereiten(option, name, neu);
    const QByteArray vorher = einstellungen();
    const QString daten = ordner->datei(u"Daten.mdb"_s);
    const auto benutzer = roh(daten, u"SELECT Benutzername, Kennwort FROM Benutzer"_s);
    Einstellungssperre fremd;
    QVERIFY(fremd.ok());
    QPointer<frmBenutzer> form(f);
    Ungeduld ungeduld([form] {
      if (!form)
        return;
      QTest::keyClick(form->txtKennwort(), Qt::Key_Return);
      QTest::keyClick(form, Qt::Key_Escape);
    });
    ungeduld.waehrend([f] { QTest::keyClick(f->txtKennwort(), Qt::Key_Return); });
    QVERIFY(ungeduld.ticks() > 0);
    QVERIFY(fremd.haeltNoch());
    gesperrtGemeldet(meldung, meldung + 100, meldung == 3009 ? 16 : 48);
    QCOMPARE(einstellungen(), vorher);
    QCOMPARE(roh(daten, u"SELECT Benutzername, Kennwort FROM Benutzer"_s), benutzer);
    if (neu) {
      // Nothing of Carla; the dialog stays for another try.
      QVERIFY(!QFileInfo::exists(ordner->datei(u"Carla.mdb"_s)));
      QVERIFY(QDir(ordner->pfad()).entryList({u"unbenannt-*"_s}).isEmpty());
      QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
      QCOMPARE(zustand().AktuellerBenutzer, u"Anna"_s);
    } else {
      // The sign-in goes on with the mode as it was.
      QVERIFY(!Formulare::geladen<frmBenutzer>());
      QVERIFY(Formulare::geladen<frmAusgabe>());
      QCOMPARE(zustand().Benutzerdatei, buch());
    }
    TestUmgebung::formulareEntladen();

    // The same once the lock is gone.
    fremd.freigeben();
    MeldungTest::vergessen();
    f = anmeldungVorbereiten(option, name, neu);
    QTest::keyClick(f->txtKennwort(), Qt::Key_Return);
    QVERIFY2(MeldungTest::gezeigt().isEmpty(), qPrintable(MeldungTest::gezeigt().value(0).prompt));
    QTRY_VERIFY(Formulare::geladen<frmAusgabe>());
    QCOMPARE(zustand().AktuellerBenutzer, name);
    QCOMPARE(RegistryLesen(HKCU, ProduktSchluessel, u"Standard"_s),
             QVariant(option == u"Option1"_s ? u"1"_s : u"0"_s));
  }
};

VELMARK_TEST_MAIN(TestEinstellungssperre)
#include "tst_einstellungssperre.moc"
