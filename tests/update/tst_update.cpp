// The update program in this process, against a real HTTP server on 127.0.0.1: the texts of the
// download window, the version check with its messages, the download with every way it can end,
// and the promise that a failed download leaves the installed main program as it was.

#include "Antwortkopf.h"
#include "DownloadForm.h"
#include "Meldung.h"
#include "Programm.h"
#include "Registry.h"
#include "TestMain.h"
#include "Uebertragung.h"
#include "UpdateFormate.h"
#include "UpdateModul.h"
#include "UpdateVersion.h"
#include "Updatetest.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <functional>
#include <limits>

#ifdef Q_OS_LINUX
#include <sys/types.h>
#include <csignal>
#endif

namespace {

QString T(int nummer) {
  return UpdateText(nummer);
}

// Runs `aktion` once, as soon as `bedingung` holds, while the code under test waits in its own
// event loop.
class Sobald {
 public:
  Sobald(std::function<bool()> bedingung, std::function<void()> aktion) {
    QObject::connect(&m_uhr, &QTimer::timeout, [this, bedingung, aktion] {
      if (bedingung()) {
        m_uhr.stop();
        aktion();
      }
    });
    m_uhr.start(5);
  }

 private:
  QTimer m_uhr;
};

struct Gezeigt {
  int prompt;  // 0: no text number (composed message)
  int titel;
  int stil;
};

}  // namespace

class TestUpdate : public QObject {
  Q_OBJECT

  // One server for all tests; the program folder and the served files of the current test.
  QTemporaryDir serverordner;
  std::unique_ptr<Testserver> server;
  std::unique_ptr<Updatefall> fall;

  void zustandSetzen() {
    UpdateZustand& z = updateZustand();
    z.Programmordner = fall->programm.pfad();
    z.Sprachdatei = fall->programm.datei(QStringLiteral("kvastlang.dll"));
    z.DownloadErfolgreich = false;
  }

  void urlSetzen(const QString& url) {
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("URL"), url), 0);
  }

  // Messages shown, as (prompt, title) numbers where they are plain language texts.
  QList<std::pair<QString, QString>> meldungen() const {
    QList<std::pair<QString, QString>> liste;
    for (const auto& e : MeldungTest::gezeigt())
      liste.append({e.prompt, e.titel});
    return liste;
  }

  void unveraendert() {
    QCOMPARE(dateiInhalt(fall->installiert()), fall->alt);
    QCOMPARE(dateiInhalt(fall->programm.datei(QStringLiteral("programm.ver"))),
             QByteArray("1.0\r\n"));
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());
  }

  QString mainUrl(const QString& modus) const { return server->adresse(modus) + Hauptprogramm; }

  // Runs the child to its end; its lines of messages shown.
  QStringList kindLaufen(const QStringList& argumente) {
    QProcess kind;
    kind.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    kind.start(QStringLiteral(UPDATE_KIND), argumente);
    if (!kind.waitForFinished(120000) || kind.exitStatus() != QProcess::NormalExit ||
        kind.exitCode() != 0)
      return {QStringLiteral("Kindprozess fehlgeschlagen: ") + kind.errorString()};
    return QString::fromUtf8(kind.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
  }

 private slots:
  void initTestCase() {
    QVERIFY(serverordner.isValid());
    server = std::make_unique<Testserver>(serverordner.path());
    QVERIFY2(server->ok(), qPrintable(server->fehler()));
  }
  void cleanupTestCase() {
    server.reset();
  }

  void init() {
    TestUmgebung::einstellungenLeeren();
    MeldungTest::installieren();
    fall = std::make_unique<Updatefall>(serverordner.path());
    QVERIFY2(fall->ok(), qPrintable(fall->programm.fehler()));
    zustandSetzen();
  }
  void cleanup() {
    fall.reset();
    MeldungTest::entfernen();
  }

  // --- Texts of the window -------------------------------------------------------------------

  void dateigroesse_data() {
    QTest::addColumn<double>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0 << "0 Bytes";
    QTest::newRow("999") << 999.0 << "999 Bytes";
    QTest::newRow("1000 schon KB") << 1000.0 << "1,0 KB";
    QTest::newRow("1023999") << 1023999.0 << "1000,0 KB";
    QTest::newRow("1024000 schon MB") << 1024000.0 << "0,98 MB";
    QTest::newRow("1048576") << 1048576.0 << "1,0 MB";
    QTest::newRow("GB") << 1024000000.0 << "0,95 GB";
    QTest::newRow("40 GB") << 40.0 * 1024 * 1024 * 1024 << "40,0 GB";
    QTest::newRow("zwischen zwei Bändern") << 999.5 << "";
    QTest::newRow("negativ") << -1.0 << "";
    QTest::newRow("keine Zahl") << std::numeric_limits<double>::quiet_NaN() << "";
  }
  void dateigroesse() {
    QFETCH(double, bytes);
    QFETCH(QString, text);
    QCOMPARE(FormatFileSize(bytes), text);
  }

  void zeit_data() {
    QTest::addColumn<float>("sekunden");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0.0f << "0 Sek.";
    QTest::newRow("59") << 59.0f << "59 Sek.";
    QTest::newRow("61") << 61.0f << "1 Min. 1 Sek.";
    QTest::newRow("90,5 halb zur geraden") << 90.5f << "1 Min. 30 Sek.";
    QTest::newRow("91,5 halb zur geraden") << 91.5f << "1 Min. 32 Sek.";
    QTest::newRow("3599") << 3599.0f << "59 Min. 59 Sek.";
    QTest::newRow("3661") << 3661.0f << "1 Std. 1 Min. ";
    QTest::newRow("59,5 fällt in Stunden") << 59.5f << "0 Std. 1 Min. ";
    // Beyond the 16-bit range of minutes: no overflow.
    QTest::newRow("4 Monate") << 1.0e7f << "2777 Std. 47 Min. ";
    QTest::newRow("unendlich") << std::numeric_limits<float>::infinity() << "";
    QTest::newRow("keine Zahl") << std::numeric_limits<float>::quiet_NaN() << "";
  }
  void zeit() {
    QFETCH(float, sekunden);
    QFETCH(QString, text);
    QCOMPARE(FormatTime(sekunden), text);
  }

  void dateiOderOrdner_data() {
    QTest::addColumn<QString>("pfad");
    QTest::addColumn<bool>("datei");
    QTest::addColumn<bool>("adresse");
    QTest::addColumn<QString>("teil");
    QTest::newRow("Adresse, Datei") << "http://h/a/kvasto" << true << true << "kvasto";
    QTest::newRow("Adresse, Ordner") << "http://h/a/kvasto" << false << true << "http://h/a/";
    QTest::newRow("Adresse endet in /") << "http://h/a/" << true << true << "";
    QTest::newRow("ohne Trenner, Datei") << "kvasto" << true << true << "kvasto";
    QTest::newRow("ohne Trenner, Ordner") << "kvasto" << false << true << "";
    QTest::newRow("Pfad") << "/opt/Velmark/kvasto" << true << false << "kvasto";
    QTest::newRow("Pfad, Ordner") << "/opt/Velmark/kvasto" << false << false << "/opt/Velmark/";
    QTest::newRow("Windows-Pfad") << "C:\\Velmark\\kvasto.exe" << true << false << "kvasto.exe";
    QTest::newRow("Adresse mit \\") << "http://h/a\\b" << true << true << "a\\b";
  }
  void dateiOderOrdner() {
    QFETCH(QString, pfad);
    QFETCH(bool, datei);
    QFETCH(bool, adresse);
    QFETCH(QString, teil);
    QCOMPARE(ReturnFileOrFolder(pfad, datei, adresse), teil);
  }

  void fortschrittstext() {
    QCOMPARE(Fortschrittstext(1, 2, 1.0).value_or(QString()),
             T(1676) + QStringLiteral(" 1 Sek. (1,0 KB von 2,0 KB kopiert)\r\r\r") + T(1677) +
                 QStringLiteral(" 1,0 KB/Sek"));
    QCOMPARE(Fortschrittstext(3000, 43000, 2.0).value_or(QString()),
             T(1676) + QStringLiteral(" 27 Sek. (2,93 MB von 41,99 MB kopiert)\r\r\r") + T(1677) +
                 QStringLiteral(" 1.500,0 KB/Sek"));
    // No time passed yet (a coarse clock), or no usable time: no text rather than "inf".
    QVERIFY(!Fortschrittstext(1, 2, 0.0));
    QVERIFY(!Fortschrittstext(1, 2, -3.0));
    QVERIFY(!Fortschrittstext(1, 2, std::numeric_limits<double>::quiet_NaN()));
    // A crawl: hours, but never "inf" or "nan".
    const QString langsam = Fortschrittstext(1, 50000, 1.0e6).value_or(QString());
    QVERIFY2(langsam.contains(T(1683)), qPrintable(langsam));
    QVERIFY(!langsam.contains(u"inf") && !langsam.contains(u"nan"));
  }

  // --- Versions ------------------------------------------------------------------------------

  void versionVergleich_data() {
    QTest::addColumn<QString>("neu");
    QTest::addColumn<QString>("alt");
    QTest::addColumn<bool>("neuer");
    QTest::newRow("gleich") << "1.0"
                            << "1.0" << false;
    QTest::newRow("1.10 nach 1.9 ist nicht neuer") << "1.10"
                                                   << "1.9" << false;
    QTest::newRow("1.9 nach 1.10 ist neuer") << "1.9"
                                             << "1.10" << true;
    QTest::newRow("Zusatz") << "1.0a"
                            << "1.0" << true;
    QTest::newRow("älter") << "0.9"
                           << "1.0" << false;
    QTest::newRow("Großschreibung zählt") << "1.0b"
                                          << "1.0B" << true;
    QTest::newRow("ohne installierte") << "1.0"
                                       << "" << true;
  }
  void versionVergleich() {
    QFETCH(QString, neu);
    QFETCH(QString, alt);
    QFETCH(bool, neuer);
    QCOMPARE(istNeuer(neu, alt), neuer);
  }

  void neuigkeitenAuszug() {
    // Installed version at position 20: the first 11 characters.
    const QString text = QStringLiteral("Neu in 1.1 Version 1.0 erste");
    QCOMPARE(text.indexOf(u"1.0") + 1, 20);
    QCOMPARE(NeuigkeitenAuszug(text, QStringLiteral("1.0")).value_or(QStringLiteral("-")),
             QStringLiteral("Neu in 1.1 "));
    // At position 9: an empty prompt; at 8 or missing: an error.
    QCOMPARE(NeuigkeitenAuszug(QStringLiteral("Version 1.0"), QStringLiteral("1.0")),
             std::optional<QString>(QString()));
    QVERIFY(!NeuigkeitenAuszug(QStringLiteral("Versio 1.0"), QStringLiteral("1.0")));
    QVERIFY(!NeuigkeitenAuszug(text, QStringLiteral("0.9")));
    QVERIFY(!NeuigkeitenAuszug(text, QString()));
    // Binary comparison: the installed "1.0A" is not found as "1.0a".
    QVERIFY(!NeuigkeitenAuszug(QStringLiteral("Version 1.0a"), QStringLiteral("1.0A")));
  }

  void versionsdatei() {
    const QString pfad = fall->programm.datei(QStringLiteral("programm.ver"));
    QCOMPARE(versionsdateiLesen(pfad), QStringLiteral("1.0"));
    dateiAnlegen(pfad, "2.5\nRest");
    QCOMPARE(versionsdateiLesen(pfad), QStringLiteral("2.5"));
    dateiAnlegen(pfad, "3.0");
    QCOMPARE(versionsdateiLesen(pfad), QStringLiteral("3.0"));
    QVERIFY(versionsdateiSchreiben(pfad, QStringLiteral("3.1")));
    QCOMPARE(dateiInhalt(pfad), QByteArray("3.1\r\n"));
    QFile::remove(pfad);
    QCOMPARE(versionsdateiLesen(pfad), QString());
  }

  // --- The check ------------------------------------------------------------------------------

  void keineNeuereVersion_data() {
    QTest::addColumn<QByteArray>("angeboten");
    QTest::addColumn<QByteArray>("installiert");
    QTest::newRow("1.0 und 1.0") << QByteArray("1.0") << QByteArray("1.0\r\n");
    QTest::newRow("1.10 und 1.9") << QByteArray("1.10") << QByteArray("1.9\r\n");
    // Blanks and line breaks around a version are no part of it; the rest compares as before.
    QTest::newRow("angeboten mit CR LF") << QByteArray("1.1\r\n") << QByteArray("1.1\r\n");
    QTest::newRow("angeboten mit LF") << QByteArray("1.1\n") << QByteArray("1.1\r\n");
    QTest::newRow("Leerraum um beide")
        << QByteArray(" 1.1 \t\r\n") << QByteArray("\r\n  1.1  \r\n\r\n");
    QTest::newRow("zwei Zeilenenden vom früheren Update")
        << QByteArray("1.1\r\n") << QByteArray("1.1\r\n\r\n");
    QTest::newRow("1.10 und 1.9 mit Zeilenenden") << QByteArray("1.10\n") << QByteArray("1.9 \n");
  }
  void keineNeuereVersion() {
    QFETCH(QByteArray, angeboten);
    QFETCH(QByteArray, installiert);
    dateiAnlegen(fall->serverDatei(QStringLiteral("programm.ver")), angeboten);
    dateiAnlegen(fall->programm.datei(QStringLiteral("programm.ver")), installiert);
    urlSetzen(server->adresse(QStringLiteral("ok")));
    UpdateStart(fall->programm.pfad());
    QCOMPARE(meldungen(),
             (QList<std::pair<QString, QString>>{{T(1689), T(1690)}, {T(1661), T(1662)}}));
    QCOMPARE(MeldungTest::gezeigt().at(0).stil, 36);
    QCOMPARE(MeldungTest::gezeigt().at(1).stil, 64);
    QCOMPARE(dateiInhalt(fall->installiert()), fall->alt);
  }

  void neinBeiDerErstenFrage() {
    urlSetzen(server->adresse(QStringLiteral("ok")));
    MeldungTest::antworten({Antwort::Nein});
    UpdateStart(fall->programm.pfad());
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    unveraendert();
  }

  void leereVersionEndetOhneMeldung() {
    dateiAnlegen(fall->serverDatei(QStringLiteral("programm.ver")), "");
    urlSetzen(server->adresse(QStringLiteral("ok")));
    UpdateStart(fall->programm.pfad());
    QCOMPARE(meldungen(), (QList<std::pair<QString, QString>>{{T(1689), T(1690)}}));
    unveraendert();
  }

  void versionsdatenNichtErreichbar_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("fehlend");
    QTest::newRow("Server aus") << QStringLiteral("http://127.0.0.1:%1/ok/").arg(freierPort())
                                << QString();
    QTest::newRow("programm.ver fehlt (404)") << QString() << QStringLiteral("programm.ver");
    QTest::newRow("news.txt fehlt (404)") << QString() << QStringLiteral("news.txt");
    QTest::newRow("keine Adresse") << QStringLiteral("") << QStringLiteral("-");
  }
  void versionsdatenNichtErreichbar() {
    QFETCH(QString, url);
    QFETCH(QString, fehlend);
    if (fehlend == u"-")
      urlSetzen(QString());
    else
      urlSetzen(url.isEmpty() ? server->adresse(QStringLiteral("ok")) : url);
    if (!fehlend.isEmpty() && fehlend != u"-")
      QFile::remove(fall->serverDatei(fehlend));
    UpdateStart(fall->programm.pfad());
    QCOMPARE(meldungen(),
             (QList<std::pair<QString, QString>>{{T(1689), T(1690)}, {T(1663), T(1664)}}));
    QCOMPARE(MeldungTest::gezeigt().at(1).stil, 16);
    unveraendert();
  }

  void installierteVersionFehlt() {
    QFile::remove(fall->programm.datei(QStringLiteral("programm.ver")));
    urlSetzen(server->adresse(QStringLiteral("ok")));
    UpdateStart(fall->programm.pfad());
    QCOMPARE(meldungen(),
             (QList<std::pair<QString, QString>>{{T(1689), T(1690)}, {T(1663), T(1664)}}));
    QCOMPARE(dateiInhalt(fall->installiert()), fall->alt);
    QVERIFY(!QFile::exists(fall->programm.datei(QStringLiteral("programm.ver"))));
  }

  void neuigkeitenUndNein() {
    urlSetzen(server->adresse(QStringLiteral("ok")));
    MeldungTest::antworten({Antwort::Ja, Antwort::Nein});
    UpdateStart(fall->programm.pfad());
    QCOMPARE(MeldungTest::gezeigt().size(), 2);
    const auto& frage = MeldungTest::gezeigt().at(1);
    QCOMPARE(frage.prompt, QStringLiteral("Version 1.1: schnellere Buchung.\n"));
    QCOMPARE(frage.titel, T(1695) + QStringLiteral(" 1.0 ") + T(1696) + QStringLiteral(" 1.1"));
    QCOMPARE(frage.stil, 4);
    unveraendert();
  }

  void vollstaendigesUpdate_data() {
    QTest::addColumn<QByteArray>("angeboten");
    QTest::newRow("1.1") << QByteArray("1.1");
    QTest::newRow("1.1 mit CR LF") << QByteArray("1.1\r\n");
    QTest::newRow("1.1 mit Leerraum und LF") << QByteArray(" 1.1 \n");
  }
  void vollstaendigesUpdate() {
    QFETCH(QByteArray, angeboten);
    dateiAnlegen(fall->serverDatei(QStringLiteral("programm.ver")), angeboten);
    urlSetzen(server->adresse(QStringLiteral("ok")));
    UpdateStart(fall->programm.pfad());
    QCOMPARE(MeldungTest::gezeigt().size(), 3);
    QCOMPARE(MeldungTest::gezeigt().at(1).titel,
             T(1695) + QStringLiteral(" 1.0 ") + T(1696) + QStringLiteral(" 1.1"));
    QCOMPARE(MeldungTest::gezeigt().at(2).prompt, T(1691));
    QCOMPARE(MeldungTest::gezeigt().at(2).titel, T(1692));
    QCOMPARE(MeldungTest::gezeigt().at(2).stil, 64);
    QCOMPARE(dateiInhalt(fall->installiert()), fall->neu);
    QVERIFY(QFileInfo(fall->installiert()).isExecutable());
    QCOMPARE(dateiInhalt(fall->programm.datei(QStringLiteral("programm.ver"))),
             QByteArray("1.1\r\n"));
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());

    // The next check finds nothing newer.
    MeldungTest::installieren();
    UpdateStart(fall->programm.pfad());
    QCOMPARE(meldungen(),
             (QList<std::pair<QString, QString>>{{T(1689), T(1690)}, {T(1661), T(1662)}}));
  }

  void fehlgeschlagenerDownloadLaesstVersionStehen() {
    urlSetzen(server->adresse(QStringLiteral("halb")));
    UpdateStart(fall->programm.pfad());
    const auto liste = meldungen();
    QCOMPARE(liste.size(), 4);
    QCOMPARE(liste.at(2), (std::pair{T(1679), T(1664)}));
    QCOMPARE(liste.at(3), (std::pair{T(1693), T(1694)}));
    unveraendert();
  }

  // --- The download ---------------------------------------------------------------------------

  void zweiBloecke_data() {
    QTest::addColumn<int>("groesse");
    QTest::addColumn<int>("total");
    QTest::newRow("1536: zwei Blöcke") << 1536 << 2;
    QTest::newRow("2560 rundet auf 2") << 2560 << 2;
    QTest::newRow("3584 rundet auf 4") << 3584 << 4;
    QTest::newRow("512 rundet auf 0") << 512 << 0;
  }
  void zweiBloecke() {
    QFETCH(int, groesse);
    QFETCH(int, total);
    const QByteArray neu = zufallsBytes(groesse, 7);
    dateiAnlegen(fall->serverDatei(Hauptprogramm), neu);
    DownloadForm form;
    form.DownloadFile(mainUrl(QStringLiteral("ok")), fall->installiert(), QString(), QString());
    QVERIFY(!form.isVisible());
    if (total == 0) {
      // Too small to count: no message, no success, nothing touched.
      QCOMPARE(MeldungTest::gezeigt().size(), 0);
      QVERIFY(!updateZustand().DownloadErfolgreich);
      unveraendert();
      return;
    }
    QCOMPARE(form.findChild<QProgressBar*>(QStringLiteral("ProgressBar"))->maximum(), total);
    QCOMPARE(MeldungTest::gezeigt().size(), 0);
    QVERIFY(updateZustand().DownloadErfolgreich);
    QCOMPARE(dateiInhalt(fall->installiert()), neu);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(), T(1678));
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());
  }

  void umleitung() {
    // A server that moved the file: the transfer follows, the status is the final one.
    DownloadForm form;
    form.DownloadFile(mainUrl(QStringLiteral("umleitung")), fall->installiert(), QString(),
                      QString());
    QCOMPARE(MeldungTest::gezeigt().size(), 0);
    QVERIFY(updateZustand().DownloadErfolgreich);
    QCOMPARE(dateiInhalt(fall->installiert()), fall->neu);
  }

  void neueDateiWirdAusfuehrbar() {
    // Also when the installed file had lost its executable bit, or is missing.
    QFile::setPermissions(fall->installiert(), QFile::ReadOwner | QFile::WriteOwner);
    DownloadForm form;
    form.DownloadFile(mainUrl(QStringLiteral("ok")), fall->installiert(), QString(), QString());
    QVERIFY(updateZustand().DownloadErfolgreich);
    QVERIFY(QFileInfo(fall->installiert()).permissions() & QFile::ExeOwner);

    QFile::remove(fall->installiert());
    form.DownloadFile(mainUrl(QStringLiteral("ok")), fall->installiert(), QString(), QString());
    QVERIFY(updateZustand().DownloadErfolgreich);
    QCOMPARE(dateiInhalt(fall->installiert()), fall->neu);
    QVERIFY(QFileInfo(fall->installiert()).permissions() & QFile::ExeOwner);
  }

  void ersetzenScheitert() {
    // The complete file cannot take the target's place (here a folder stands there; on Windows a
    // running program): said, no success, nothing left behind.
    QFile::remove(fall->installiert());
    QVERIFY(QDir().mkdir(fall->installiert()));
    dateiAnlegen(fall->installiert() + QStringLiteral("/inhalt"), "bleibt");
    DownloadForm form;
    form.DownloadFile(mainUrl(QStringLiteral("ok")), fall->installiert(), QString(), QString());
    QCOMPARE(meldungen(), (QList<std::pair<QString, QString>>{{T(1680), T(1664)}}));
    QVERIFY(!updateZustand().DownloadErfolgreich);
    QCOMPARE(dateiInhalt(fall->installiert() + QStringLiteral("/inhalt")), QByteArray("bleibt"));
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());
  }

  void statusantworten_data() {
    // Texts by number: the language file is known only once the test runs.
    QTest::addColumn<QString>("modus");
    QTest::addColumn<int>("prompt");
    QTest::addColumn<QString>("zusatz");
    QTest::addColumn<int>("titel");
    QTest::addColumn<int>("stil");
    QTest::newRow("401") << "401" << 1668 << "" << 1669 << 16;
    QTest::newRow("404") << "404" << 1670 << "" << 1671 << 16;
    QTest::newRow("500") << "500" << 1675 << "\n\nHTTP/1.1 500 Internal Server Error\n"
                         << 1664 << 16;
    QTest::newRow("ohne Statuszeile") << "ohnestatus" << 1672 << "\n\n1673" << 1674 << 48;
  }
  void statusantworten() {
    QFETCH(QString, modus);
    QFETCH(int, prompt);
    QFETCH(QString, zusatz);
    QFETCH(int, titel);
    QFETCH(int, stil);
    zusatz.replace(QStringLiteral("1673"), T(1673));
    DownloadForm form;
    form.DownloadFile(mainUrl(modus), fall->installiert(), QString(), QString());
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(MeldungTest::gezeigt().at(0).prompt, T(prompt) + zusatz);
    QCOMPARE(MeldungTest::gezeigt().at(0).titel, T(titel));
    QCOMPARE(MeldungTest::gezeigt().at(0).stil, stil);
    QVERIFY(!form.isVisible());
    QVERIFY(!updateZustand().DownloadErfolgreich);
    unveraendert();
  }

  void unvollstaendigerKoerper_data() {
    QTest::addColumn<QString>("modus");
    QTest::addColumn<int>("groesse");
    QTest::newRow("um einen Block zu kurz") << "kurz/1024" << 3072;
    // Rounded to whole blocks the count would be reached; the bytes are not all there.
    QTest::newRow("um 100 Bytes zu kurz") << "kurz/100" << 3072;
    QTest::newRow("2560 um 512 zu kurz") << "kurz/512" << 2560;
    QTest::newRow("Verbindung bricht in der Mitte ab") << "halb" << 200000;
  }
  void unvollstaendigerKoerper() {
    QFETCH(QString, modus);
    QFETCH(int, groesse);
    dateiAnlegen(fall->serverDatei(Hauptprogramm), zufallsBytes(groesse, 3));
    DownloadForm form;
    form.DownloadFile(mainUrl(modus), fall->installiert(), QString(), QString());
    QCOMPARE(meldungen(), (QList<std::pair<QString, QString>>{{T(1679), T(1664)}}));
    QCOMPARE(MeldungTest::gezeigt().at(0).stil, 16);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text(), T(1679));
    QVERIFY(!updateZustand().DownloadErfolgreich);
    unveraendert();
  }

  void ohneLaengenangabe() {
    DownloadForm form;
    form.DownloadFile(mainUrl(QStringLiteral("ohnelaenge")), fall->installiert(), QString(),
                      QString());
    QCOMPARE(MeldungTest::gezeigt().size(), 0);
    QVERIFY(!updateZustand().DownloadErfolgreich);
    unveraendert();
  }

  void abbruch_data() {
    QTest::addColumn<QString>("modus");
    QTest::addColumn<bool>("imKoerper");
    QTest::addColumn<bool>("schliessen");
    QTest::newRow("während des Wartens auf die Antwort") << "stumm" << false << false;
    QTest::newRow("Server steht nach dem Kopf") << "stau/4096" << true << false;
    QTest::newRow("Fenster geschlossen") << "stau/4096" << true << true;
  }
  void abbruch() {
    QFETCH(QString, modus);
    QFETCH(bool, imKoerper);
    QFETCH(bool, schliessen);
    dateiAnlegen(fall->serverDatei(Hauptprogramm), zufallsBytes(100000, 4));
    DownloadForm form;
    auto* balken = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
    auto* status = form.findChild<QLabel*>(QStringLiteral("StatusLabel"));
    Sobald abbrechen(
        [&] { return imKoerper ? balken->value() >= 2 : status->text().startsWith(T(1666)); },
        [&] {
          if (schliessen)
            form.close();
          else
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("CancelButton")),
                              Qt::LeftButton);
        });
    form.DownloadFile(mainUrl(modus), fall->installiert(), QString(), QString());
    QVERIFY(form.abbruch());
    QCOMPARE(MeldungTest::gezeigt().size(), 0);
    QVERIFY(!form.isVisible());
    QVERIFY(!updateZustand().DownloadErfolgreich);
    unveraendert();
  }

  void fortschrittWirdAngezeigt() {
    dateiAnlegen(fall->serverDatei(Hauptprogramm), zufallsBytes(20 * 1024, 5));
    DownloadForm form;
    auto* balken = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
    auto* text = form.findChild<QLabel*>(QStringLiteral("StatusLabel2"));
    auto* prozent = form.findChild<QLabel*>(QStringLiteral("lbpercent"));
    QList<int> werte;
    QStringList texte, prozente;
    connect(balken, &QProgressBar::valueChanged, this, [&](int wert) {
      werte.append(wert);
      texte.append(text->text());
      prozente.append(prozent->text());
    });
    form.DownloadFile(mainUrl(QStringLiteral("langsam/1024/5")), fall->installiert(), QString(),
                      QString());
    QVERIFY(updateZustand().DownloadErfolgreich);
    // Refreshed after every chunk but the last: 1 to 19 of 20.
    QCOMPARE(werte.size(), 19);
    QCOMPARE(werte.first(), 1);
    QCOMPARE(werte.last(), 19);
    // The percentage follows the bar: at the bar's 11th value it shows the 10th chunk.
    QCOMPARE(prozente.at(10), QStringLiteral("50%"));
    const QRegularExpression muster(
        QStringLiteral(
            "^%1 \\d+ Sek\\. \\(10,0 KB von 20,0 KB kopiert\\)\n\n\n%2 [\\d.]+,\\d KB/Sek$")
            .arg(QRegularExpression::escape(T(1676)), QRegularExpression::escape(T(1677))));
    QVERIFY2(muster.match(texte.at(9)).hasMatch(), qPrintable(texte.at(9)));
    QCOMPARE(text->text(), QString());
  }

  void ordnerImStatustext_data() {
    QTest::addColumn<int>("laenge");
    QTest::newRow("32 ganz") << 32;
    QTest::newRow("33 gekürzt") << 33;
  }
  void ordnerImStatustext() {
    QFETCH(int, laenge);
    // A server that does not answer keeps the window in its waiting state until the cancel.
    const QString basis = server->adresse(QStringLiteral("stumm"));
    const QString ordner = basis + QString(laenge - basis.size() - 1, u'x') + u'/';
    QCOMPARE(ordner.size(), laenge);
    DownloadForm form;
    auto* status = form.findChild<QLabel*>(QStringLiteral("StatusLabel"));
    QString gesehen;
    Sobald merken([&] { return status->text().startsWith(T(1666)); },
                  [&] {
                    gesehen = status->text();
                    form.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click();
                  });
    form.DownloadFile(ordner + Hauptprogramm, fall->installiert(), QString(), QString());
    const QString erwartet = laenge == 32 ? ordner : ordner.left(30) + QStringLiteral("...");
    QCOMPARE(gesehen,
             T(1666) + QStringLiteral("\n\n") + Hauptprogramm + u' ' + T(1667) + u' ' + erwartet);
  }

  void grosserKoerperUeber16Bit() {
    // More chunks than a signed 16-bit count holds.
    const QByteArray neu = zufallsBytes(40 * 1024 * 1024 + 700, 6);
    dateiAnlegen(fall->serverDatei(Hauptprogramm), neu);
    DownloadForm form;
    auto* text = form.findChild<QLabel*>(QStringLiteral("StatusLabel2"));
    auto* balken = form.findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
    QString vorletzter;
    int hoechster = 0;
    connect(balken, &QProgressBar::valueChanged, this, [&](int wert) {
      hoechster = std::max(hoechster, wert);
      if (wert == 40960)
        vorletzter = text->text();
    });
    form.DownloadFile(mainUrl(QStringLiteral("ok")), fall->installiert(), QString(), QString());
    QVERIFY(updateZustand().DownloadErfolgreich);
    QCOMPARE(balken->maximum(), 40961);
    QCOMPARE(hoechster, 40960);
    QVERIFY2(vorletzter.contains(QStringLiteral("(40,0 MB von 40,0 MB kopiert)")),
             qPrintable(vorletzter));
    QVERIFY(dateiInhalt(fall->installiert()) == neu);
  }

  void altlastenVorigerLaeufe() {
    // A killed run left its temporary file; it neither blocks nor survives the next run.
    const QString rest = fall->programm.datei(Hauptprogramm + QStringLiteral(".download-Ab12Cd"));
    dateiAnlegen(rest, "halb");
    DownloadForm form;
    form.DownloadFile(mainUrl(QStringLiteral("ok")), fall->installiert(), QString(), QString());
    QVERIFY(updateZustand().DownloadErfolgreich);
    QCOMPARE(dateiInhalt(fall->installiert()), fall->neu);
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());

    // The start of the program clears them too, also when it finds nothing to do.
    dateiAnlegen(rest, "halb");
    MeldungTest::antworten({Antwort::Nein});
    UpdateStart(fall->programm.pfad());
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());
  }

  // --- The whole program in a child process -------------------------------------------------

  // A version file that cannot be written (read-only, and the child may not override that as
  // root): the new program is in place, and instead of the success the user learns that its
  // version was not recorded, which file and why.
  void versionNichtVermerkt() {
    const QString datei = fall->programm.datei(QStringLiteral("programm.ver"));
    QVERIFY(QFile::setPermissions(datei, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    urlSetzen(server->adresse(QStringLiteral("ok")));
    const QStringList zeilen = kindLaufen({fall->programm.pfad(), QStringLiteral("ohnerechte")});
    QCOMPARE(zeilen.size(), 3);
    const QString anfang = QStringLiteral("48|%1|%2\\n\\n%3\\n")
                               .arg(T(3130), T(3030), QDir::toNativeSeparators(datei));
    QVERIFY2(zeilen.at(2).startsWith(anfang) && zeilen.at(2).size() > anfang.size(),
             qPrintable(zeilen.at(2)));
    QCOMPARE(dateiInhalt(fall->installiert()), fall->neu);
    QCOMPARE(dateiInhalt(datei), QByteArray("1.0\r\n"));
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());
  }

  void vollePlatte() {
    // Bigger than what the child may write: the temporary file hits the limit part-way.
    dateiAnlegen(fall->serverDatei(Hauptprogramm), zufallsBytes(1024 * 1024, 8));
    urlSetzen(server->adresse(QStringLiteral("ok")));
    const QStringList zeilen =
        kindLaufen({fall->programm.pfad(), QStringLiteral("grenze"), QStringLiteral("65536")});
    QCOMPARE(zeilen.size(), 4);
    QCOMPARE(zeilen.at(2), QStringLiteral("16|%1|%2").arg(T(1664), T(1680)));
    QCOMPARE(zeilen.at(3), QStringLiteral("64|%1|%2").arg(T(1694), T(1693)));
    unveraendert();
  }

#ifdef Q_OS_LINUX
  void getoeteterProzess() {
    dateiAnlegen(fall->serverDatei(Hauptprogramm), zufallsBytes(2 * 1024 * 1024, 9));
    urlSetzen(server->adresse(QStringLiteral("langsam/16384/50")));
    QProcess kind;
    kind.start(QStringLiteral(UPDATE_KIND), {fall->programm.pfad()});
    QVERIFY(kind.waitForStarted());
    // Killed while it writes its download file in the program folder.
    QTRY_VERIFY_WITH_TIMEOUT(schreibtInOrdner(kind.processId(), fall->programm.pfad()), 30000);
    ::kill(static_cast<pid_t>(kind.processId()), SIGKILL);
    QVERIFY(kind.waitForFinished());
    QCOMPARE(dateiInhalt(fall->installiert()), fall->alt);
    QCOMPARE(dateiInhalt(fall->programm.datei(QStringLiteral("programm.ver"))),
             QByteArray("1.0\r\n"));

    // What a killed run may leave (where the file cannot be kept nameless) does not disturb the
    // next one, which removes it.
    dateiAnlegen(fall->programm.datei(Hauptprogramm + QStringLiteral(".download-x1Y2z3")), "rest");
    urlSetzen(server->adresse(QStringLiteral("ok")));
    const QStringList zeilen = kindLaufen({fall->programm.pfad()});
    QCOMPARE(zeilen.size(), 3);
    QCOMPARE(zeilen.at(2), QStringLiteral("64|%1|%2").arg(T(1692), T(1691)));
    QCOMPARE(dateiInhalt(fall->installiert()), dateiInhalt(fall->serverDatei(Hauptprogramm)));
    QCOMPARE(dateiInhalt(fall->programm.datei(QStringLiteral("programm.ver"))),
             QByteArray("1.1\r\n"));
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());
  }
#endif

  // Servers that do not keep to the protocol. The download ends with a clear result and the
  // installed program as it was: header lines that are no headers (the lengths disagree, so none
  // counts and nothing is fetched; the caller then says the update failed), a redirect to another
  // scheme (not followed: the redirect is the answer), an endless body without a length.
  void feindlicherServer_data() {
    QTest::addColumn<QString>("modus");
    QTest::addColumn<int>("meldung");  // 0: none
    QTest::newRow("Kopfzeilen ohne Sinn") << "muell" << 0;
    QTest::newRow("Umleitung auf eine Datei") << "schema/datei" << 1675;
    QTest::newRow("Umleitung auf FTP") << "schema/ftp" << 1675;
    QTest::newRow("endloser Körper ohne Länge") << "endlos" << 0;
  }
  void feindlicherServer() {
    QFETCH(QString, modus);
    QFETCH(int, meldung);
    DownloadForm form;
    form.DownloadFile(mainUrl(modus), fall->installiert(), QString(), QString());
    QVERIFY(!updateZustand().DownloadErfolgreich);
    QCOMPARE(MeldungTest::gezeigt().size(), meldung ? 1 : 0);
    if (meldung)
      QCOMPARE(MeldungTest::gezeigt().at(0).prompt,
               T(meldung) + QStringLiteral("\n\nHTTP/1.1 301 Moved Permanently\n"));
    unveraendert();
  }

  // A server that sends more than it announces: the announced length decides, nothing beyond it
  // is written (without a checksum in the version data nothing more can be checked).
  void koerperLaengerAlsAngesagt() {
    DownloadForm form;
    form.DownloadFile(mainUrl(QStringLiteral("zulang/100")), fall->installiert(), QString(),
                      QString());
    QVERIFY(updateZustand().DownloadErfolgreich);
    QCOMPARE(dateiInhalt(fall->installiert()), fall->neu.left(fall->neu.size() - 100));
    QCOMPARE(downloadReste(fall->programm.pfad()), QStringList());
  }

  // The version check's texts from such servers: an endless body fails at once, a trickle once
  // the time for the whole text is up, a redirect to another scheme fails; nonsense headers do
  // not keep the body from being read.
  void versionstextVomFeindlichenServer_data() {
    QTest::addColumn<QString>("modus");
    QTest::addColumn<bool>("text");
    QTest::newRow("endlos") << "endlos" << false;
    QTest::newRow("tröpfelnd") << "langsam/1/200" << false;
    QTest::newRow("Umleitung auf eine Datei") << "schema/datei" << false;
    QTest::newRow("Kopfzeilen ohne Sinn") << "muell" << true;
  }
  void versionstextVomFeindlichenServer() {
    QFETCH(QString, modus);
    QFETCH(bool, text);
    Uebertragung inet;
    inet.textZeitlimitSetzen(1500);
    const auto ergebnis = inet.textHolen(mainUrl(modus));
    QCOMPARE(ergebnis.has_value(), text);
    if (text)
      QCOMPARE(ergebnis->size(), fall->neu.size());
    // The same object fetches the next text as usual.
    QCOMPARE(inet.textHolen(server->adresse(QStringLiteral("ok")) + QStringLiteral("programm.ver")),
             std::optional<QString>(QStringLiteral("1.1")));
  }

  // The head of a response as the download reads it.
  void antwortkopf_data() {
    QTest::addColumn<QString>("kopf");
    QTest::addColumn<QString>("laenge");
    QTest::addColumn<int>("art");
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("kilobyte");
    using A = Antwortkopf::Art;
    QTest::newRow("ohne Statuszeile") << ""
                                      << "" << int(A::OhneStatus) << 0LL << 0LL;
    QTest::newRow("200") << "HTTP/1.1 200 OK\r\n\r\n"
                         << "3584" << int(A::Ok) << 3584LL << 4LL;
    QTest::newRow("halbes KB zum geraden") << "HTTP/1.1 200 OK\r\n\r\n"
                                           << "2560" << int(A::Ok) << 2560LL << 2LL;
    QTest::newRow("Länge mit Leerraum") << "HTTP/1.1 200 OK\r\n\r\n"
                                        << " 1024 " << int(A::Ok) << 1024LL << 1LL;
    QTest::newRow("Länge negativ") << "HTTP/1.1 200 OK\r\n\r\n"
                                   << "-5" << int(A::Ok) << 0LL << 0LL;
    QTest::newRow("zwei Längen") << "HTTP/1.1 200 OK\r\n\r\n"
                                 << "5, 7" << int(A::Ok) << 0LL << 0LL;
    QTest::newRow("Länge über 64 Bit") << "HTTP/1.1 200 OK\r\n\r\n"
                                       << "99999999999999999999" << int(A::Ok) << 0LL << 0LL;
    QTest::newRow("größte Länge") << "HTTP/1.1 200 OK\r\n\r\n"
                                  << "9223372036854775807" << int(A::Ok) << 9223372036854775807LL
                                  << 9007199254740992LL;
    // Found by fuzz_antwortkopf: rounded through a double, this length came out 3428819444444444.
    QTest::newRow("Länge jenseits der Genauigkeit von double")
        << "HTTP/1.1 200 OK\r\n\r\n"
        << "3511111111111111184" << int(A::Ok) << 3511111111111111184LL << 3428819444444445LL;
    QTest::newRow("401") << "HTTP/1.1 401 Unauthorized\r\n\r\n"
                         << "" << int(A::NichtBerechtigt) << 0LL << 0LL;
    QTest::newRow("404") << "HTTP/1.1 404 Not Found\r\n\r\n"
                         << "" << int(A::NichtGefunden) << 0LL << 0LL;
    QTest::newRow("Statuszeile ohne Zeilenende") << "HTTP/1.1 503"
                                                 << "" << int(A::Andere) << 0LL << 0LL;
    // Where the status should stand, the line ends: no status line.
    QTest::newRow("Statuszeile ohne Status") << "HTTP/1.1 \r\n"
                                             << "" << int(A::OhneStatus) << 0LL << 0LL;
  }
  void antwortkopf() {
    QFETCH(QString, kopf);
    QFETCH(QString, laenge);
    QFETCH(int, art);
    QFETCH(qint64, bytes);
    QFETCH(qint64, kilobyte);
    const Antwortkopf a = Antwortkopf::lesen(kopf, laenge);
    QCOMPARE(int(a.art), art);
    QCOMPARE(a.laenge, bytes);
    QCOMPARE(a.kilobyte, kilobyte);
    if (a.art == Antwortkopf::Art::Andere)
      QVERIFY(kopf.startsWith(a.statuszeile));
    QCOMPARE(Antwortkopf::lesen(Antwortkopf::text(503, "Service Unavailable", {{"A", "b"}}), {})
                 .statuszeile,
             QStringLiteral("HTTP/1.1 503 Service Unavailable\r"));
  }

  void ungueltigeAdresse() {
    DownloadForm form;
    form.DownloadFile(QStringLiteral("kvasto"), fall->installiert(), QString(), QString());
    QVERIFY(!MeldungTest::gezeigt().isEmpty());
    QCOMPARE(MeldungTest::gezeigt().at(0).prompt,
             QStringLiteral("Fehler: ungültige Adresse „kvasto“ aufgetreten."));
    QCOMPARE(MeldungTest::gezeigt().at(0).titel, T(1664));
    QVERIFY(form.abbruch());
    QVERIFY(!updateZustand().DownloadErfolgreich);
    unveraendert();
  }
};

VELMARK_TEST_MAIN(TestUpdate)
#include "tst_update.moc"
