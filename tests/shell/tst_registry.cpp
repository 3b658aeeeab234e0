// The settings store: results as the registry gives them, and its promises under concurrent and
// failing writers.

#include "Dateien.h"
#include "Einstellungssperre.h"
#include "RegDatei.h"
#include "Registry.h"
#include "TestMain.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <csignal>

namespace {

const QString Test = ProduktSchluessel + QStringLiteral("\\Test");

QByteArray dateiInhalt() {
  return ::dateiInhalt(Registry::dateipfad());
}

void dateiSchreiben(const QByteArray& inhalt) {
  QDir().mkpath(QFileInfo(Registry::dateipfad()).absolutePath());
  QFile f(Registry::dateipfad());
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(inhalt);
}

QString kind() { return QStringLiteral(REGISTRY_KIND); }

}  // namespace

class TestRegistry : public QObject {
  Q_OBJECT

 private slots:
  void init() { TestUmgebung::einstellungenLeeren(); }

  void fehlendeWerteSindLeer() {
    QVERIFY(!RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Kennwort")).isValid());
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("Sprache"), QStringLiteral("")), 0);
    QVERIFY(!RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Kennwort")).isValid());
    QVERIFY(!RegistryLesen(HKCU, ProduktSchluessel + QStringLiteral("\\Niemand"), QStringLiteral("ID")).isValid());
    // An empty text value exists and is an empty text, not "missing".
    const QVariant leer = RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Sprache"));
    QVERIFY(leer.isValid());
    QCOMPARE(leer.typeId(), QMetaType::QString);
    QCOMPARE(leer.toString(), QString());
  }

  void textZurueck_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("ein Zeichen") << "1";
    QTest::newRow("Null") << "0";
    QTest::newRow("Farbe") << "&H00E0E0E0&";
    QTest::newRow("Umlaute") << "Jürgen Größ";
    QTest::newRow("Anführung und Rückstrich") << "a\"b\\c";
    QTest::newRow("Zeilenumbruch") << "eins\nzwei\r\n";
    QTest::newRow("Emoji") << "Kasse 💶";
  }
  void textZurueck() {
    QFETCH(QString, text);
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Wert"), text), 0);
    const QVariant zurueck = RegistryLesen(HKCU, Test, QStringLiteral("Wert"));
    QCOMPARE(zurueck.typeId(), QMetaType::QString);
    QCOMPARE(zurueck.toString(), text);
  }

  void zahlenUndTexteBleibenGetrennt() {
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Zahl"), 10, false), 0);
    QVariant zahl = RegistryLesen(HKCU, Test, QStringLiteral("Zahl"));
    QCOMPARE(zahl.typeId(), QMetaType::Int);
    QCOMPARE(zahl.toInt(), 10);
    QVERIFY(dateiInhalt().contains("\"Zahl\"=dword:0000000a"));
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Negativ"), qint16(-2), false), 0);
    QCOMPARE(RegistryLesen(HKCU, Test, QStringLiteral("Negativ")).toInt(), -2);
    // AlsText omitted, or present but no boolean: text.
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Text"), 10), 0);
    QCOMPARE(RegistryLesen(HKCU, Test, QStringLiteral("Text")).typeId(), QMetaType::QString);
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Text2"), 7, QStringLiteral("nein")), 0);
    QCOMPARE(RegistryLesen(HKCU, Test, QStringLiteral("Text2")), QVariant(QStringLiteral("7")));
    // A number asked for what is no 16- or 32-bit whole number: -1 and nothing written.
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Nix"), 1.5, false), -1);
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Nix"), QStringLiteral("12"), false), -1);
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Nix"), qint64(5), false), -1);
    QVERIFY(!RegistryLesen(HKCU, Test, QStringLiteral("Nix")).isValid());
    // A value of another type reads as empty.
    dateiSchreiben("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\Test]\n\"Bin\"=hex:01,02\n");
    QVERIFY(!RegistryLesen(HKCU, Test, QStringLiteral("Bin")).isValid());
  }

  void namenOhneGrossKlein() {
    QCOMPARE(RegistrySchreiben(HKCU, QStringLiteral("software\\QUILLON\\velmark"), QStringLiteral("benutzer"), QStringLiteral("Anna")), 0);
    QCOMPARE(RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Benutzer")).toString(), QStringLiteral("Anna"));
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("BENUTZER"), QStringLiteral("Ben")), 0);
    QCOMPARE(RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Benutzer")).toString(), QStringLiteral("Ben"));
    QCOMPARE(dateiInhalt().count("enutzer\"="), 1);  // replaced, not added twice
  }

  void praefixAlleinIstDerProduktschluessel() {
    // Before anyone signed in, the per-user key is the prefix with its separator alone.
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel + QStringLiteral("\\"), QStringLiteral("ID"), QStringLiteral("3")), 0);
    QCOMPARE(RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("ID")).toString(), QStringLiteral("3"));
    QCOMPARE(RegistryLesen(HKCU, ProduktSchluessel + QStringLiteral("\\"), QStringLiteral("ID")).toString(), QStringLiteral("3"));
  }

  void dateiformat() {
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("Standard"), QStringLiteral("1")), 0);
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Zamlotipp"), QStringLiteral("1")), 0);
    QCOMPARE(dateiInhalt(), QByteArray("REGEDIT4\n\n"
                                       "[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark]\n"
                                       "\"Standard\"=\"1\"\n\n"
                                       "[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\Test]\n"
                                       "\"Zamlotipp\"=\"1\"\n"));
    // A new value of an existing key goes into that key's block.
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("Kennwort"), QStringLiteral("0")), 0);
    QVERIFY(dateiInhalt().contains("\"Standard\"=\"1\"\n\"Kennwort\"=\"0\"\n\n[HKEY"));
  }

  // Removing what was written brings the file back as it was; a key keeps its other values.
  void loeschen() {
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("Standard"), QStringLiteral("1")), 0);
    const QByteArray vorher = dateiInhalt();
    const QString neu = ProduktSchluessel + QStringLiteral("\\Neu");
    QCOMPARE(RegistrySchreiben(HKCU, neu, QStringLiteral("Schema"), QStringLiteral("Standard")), 0);
    QCOMPARE(RegistrySchreiben(HKCU, neu, QStringLiteral("ID"), 4, false), 0);
    QCOMPARE(RegistryLoeschen(HKCU, neu, QStringLiteral("schema")), 0);
    QVERIFY(!RegistryLesen(HKCU, neu, QStringLiteral("Schema")).isValid());
    QCOMPARE(RegistryLesen(HKCU, neu, QStringLiteral("ID")).toInt(), 4);
    QCOMPARE(RegistryLoeschen(HKCU, neu, QStringLiteral("ID")), 0);
    QCOMPARE(dateiInhalt(), vorher);
    // Nothing to remove: no error, nothing changed.
    QCOMPARE(RegistryLoeschen(HKCU, neu, QStringLiteral("ID")), 0);
    QCOMPARE(dateiInhalt(), vorher);
    // A key between two others: its block goes, the others keep their separator.
    QCOMPARE(RegistrySchreiben(HKCU, neu, QStringLiteral("A"), QStringLiteral("1")), 0);
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("B"), QStringLiteral("2")), 0);
    QCOMPARE(RegistryLoeschen(HKCU, neu, QStringLiteral("A")), 0);
    QCOMPARE(dateiInhalt(), vorher + "\n[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\Test]\n\"B\"=\"2\"\n");
  }

  void unverstandeneZeilenBleiben() {
    const QByteArray fremd =
        "REGEDIT4\r\n; von Hand\r\n"
        "[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark]\r\n"
        "\"Kaputt=\"ohne Ende\r\n"
        "Unsinn \xff\xfe bytes\r\n"
        "\"Sprache\"=\"\"\r\n";
    dateiSchreiben(fremd);
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("Sprache"), QStringLiteral("Deutsch")), 0);
    const QByteArray neu = dateiInhalt();
    QVERIFY(neu.contains("; von Hand\r\n"));
    QVERIFY(neu.contains("\"Kaputt=\"ohne Ende\r\n"));
    QVERIFY(neu.contains("Unsinn \xff\xfe bytes\r\n"));
    QCOMPARE(RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Sprache")).toString(), QStringLiteral("Deutsch"));
    QVERIFY(!RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Kaputt")).isValid());
  }

  void ordnerNichtSchreibbar() {
    // A file where the settings folder should be: works for root too, unlike permissions.
    const QString ordner = QFileInfo(Registry::dateipfad()).absolutePath();
    QDir(ordner).removeRecursively();
    {
      QFile f(ordner);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("kein Ordner");
    }
    QVERIFY(RegistrySchreiben(HKCU, Test, QStringLiteral("Wert"), QStringLiteral("x")) != 0);
    QVERIFY(!RegistryLesen(HKCU, Test, QStringLiteral("Wert")).isValid());
    QFile::remove(ordner);
  }

  void volleFestplatteLaesstAlteDatei() {
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Alt"), QStringLiteral("bleibt")), 0);
    const QByteArray vorher = dateiInhalt();
    QProcess p;
    p.start(kind(), {QStringLiteral("grenze"), QString::number(vorher.size() + 100), QStringLiteral("5000")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(p.readAllStandardOutput().trimmed() != "0");
    QCOMPARE(dateiInhalt(), vorher);
    const QStringList reste = QDir(QFileInfo(Registry::dateipfad()).absolutePath())
                                  .entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(reste, QStringList{QStringLiteral("Velmark.reg")});
  }

  void zweiProzesseZaehlenUnterSperre() {
    QProcess a, b;
    a.start(kind(), {QStringLiteral("inkrement"), QStringLiteral("200")});
    b.start(kind(), {QStringLiteral("inkrement"), QStringLiteral("200")});
    QVERIFY(a.waitForFinished(120000));
    QVERIFY(b.waitForFinished(120000));
    QCOMPARE(a.exitCode(), 0);
    QCOMPARE(b.exitCode(), 0);
    QCOMPARE(RegistryLesen(HKCU, Test, QStringLiteral("Zaehler")).toString(), QStringLiteral("400"));
  }

  void sigkillMittenImSchreiben() {
    for (int runde = 0; runde < 5; ++runde) {
      QProcess p;
      p.start(kind(), {QStringLiteral("schleife")});
      // Killed once it writes: a child still starting up (slow on a busy machine) would leave
      // the file of the round before.
      QVERIFY(p.waitForReadyRead(10000));
      QTest::qWait(QRandomGenerator::global()->bounded(250));
      ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
      QVERIFY(p.waitForFinished(10000));
      const QList<QByteArray> bestaetigt = p.readAllStandardOutput().split('\n');
      int letzter = 0;
      for (const QByteArray& zeile : bestaetigt)
        letzter = zeile.isEmpty() ? letzter : zeile.toInt();
      // The file parses and holds the last acknowledged value or the one being written.
      const int wert = RegistryLesen(HKCU, Test, QStringLiteral("Zaehler")).toString().toInt();
      QVERIFY2(wert == letzter || wert == letzter + 1,
               qPrintable(QStringLiteral("Datei %1, bestätigt %2").arg(wert).arg(letzter)));
      // The lock of the killed writer does not block the next one.
      QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Danach"), QString::number(runde)), 0);
    }
  }

  // Killed between creating the lock file and writing its process number into it: taken over
  // within one wait, also when it was made just now.
  void leereSperrdateiEinesAbgestuerztenSchreibers_data() {
    QTest::addColumn<int>("alterSekunden");
    QTest::newRow("vor einer Minute") << 60;
    QTest::newRow("eben") << 0;
  }
  void leereSperrdateiEinesAbgestuerztenSchreibers() {
    QFETCH(int, alterSekunden);
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Vorher"), QStringLiteral("1")), 0);
    QFile sperre(Registry::dateipfad() + QStringLiteral(".lock"));
    QVERIFY(sperre.open(QIODevice::WriteOnly));
    QVERIFY(sperre.setFileTime(QDateTime::currentDateTime().addSecs(-alterSekunden), QFileDevice::FileModificationTime));
    sperre.close();
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Danach"), QStringLiteral("2")), 0);
    QCOMPARE(RegistryLesen(HKCU, Test, QStringLiteral("Danach")).toString(), QStringLiteral("2"));
  }

  // Another program keeps the lock: a Sperre gives up after its one wait, and every write inside
  // it fails at once, also when the lock has come free meanwhile, so nothing is written outside
  // the lock and nothing waits a second time. So does a write that a timer starts while the
  // event loop runs in the wait. Afterwards a write goes through.
  void fremdeSperreWirdEinmalAbgewartet() {
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Wert"), QStringLiteral("alt")), 0);
    const QByteArray vorher = dateiInhalt();
    Einstellungssperre fremd;
    QVERIFY(fremd.ok());
    QList<qint32> waehrenddessen;
    QTimer zeitgeber;
    zeitgeber.setSingleShot(true);
    connect(&zeitgeber, &QTimer::timeout, [&] {
      waehrenddessen << RegistrySchreiben(HKCU, Test, QStringLiteral("Wert"), QStringLiteral("x"));
    });
    zeitgeber.start(50);
    {
      const Registry::Sperre sperre;
      QCOMPARE(waehrenddessen, QList<qint32>{Registry::FehlerGesperrt});
      QVERIFY(!sperre.gesperrt());
      QVERIFY(fremd.haeltNoch());
      fremd.freigeben();
      QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Wert"), QStringLiteral("neu")),
               Registry::FehlerGesperrt);
      QCOMPARE(RegistryLoeschen(HKCU, Test, QStringLiteral("Wert")), Registry::FehlerGesperrt);
      const Registry::Sperre innen;
      QVERIFY(!innen.gesperrt());
    }
    QCOMPARE(dateiInhalt(), vorher);
    QCOMPARE(RegistrySchreiben(HKCU, Test, QStringLiteral("Wert"), QStringLiteral("neu")), 0);
    QCOMPARE(RegistryLesen(HKCU, Test, QStringLiteral("Wert")).toString(), QStringLiteral("neu"));
  }

  void regDateiParser() {
    RegDatei d = RegDatei::parsen("REGEDIT4\n\n[HKEY_CURRENT_USER\\A\\B]\n@=\"Standardwert\"\n\"X\"=dword:ffffffff\n");
    QCOMPARE(d.wert(QStringLiteral("HKEY_CURRENT_USER\\a\\b\\"), QString())->text, QStringLiteral("Standardwert"));
    QCOMPARE(d.wert(QStringLiteral("HKEY_CURRENT_USER\\A\\B"), QStringLiteral("x"))->zahl, -1);
    QVERIFY(!d.wert(QStringLiteral("HKEY_CURRENT_USER\\A"), QStringLiteral("X")));
    // A value line before any key belongs to no key.
    RegDatei ohne = RegDatei::parsen("\"X\"=\"1\"\n[HKEY_CURRENT_USER\\A]\n");
    QVERIFY(!ohne.wert(QStringLiteral("HKEY_CURRENT_USER\\A"), QStringLiteral("X")));
  }
};

VELMARK_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
