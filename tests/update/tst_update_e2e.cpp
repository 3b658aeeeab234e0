// The built update program as a process, as a user runs it: under Xvfb with IceWM, the questions
// and messages answered with keys through xdotool, against the local test server.

#include "Programm.h"
#include "Registry.h"
#include "TestMain.h"
#include "Updatetest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

// One X display with a window manager for this test process.
class Bildschirm {
 public:
  Bildschirm() {
    for (const char* programm : {"Xvfb", "icewm", "xdotool"}) {
      if (QStandardPaths::findExecutable(QString::fromLatin1(programm)).isEmpty()) {
        m_fehler = QStringLiteral("%1 fehlt").arg(QString::fromLatin1(programm));
        return;
      }
    }
    // Xvfb picks a free display and writes its number to the given descriptor.
    m_x.start(QStringLiteral("Xvfb"),
              {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
               QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
               QStringLiteral("tcp")});
    while (!m_x.canReadLine() && m_x.state() != QProcess::NotRunning)
      m_x.waitForReadyRead(10000);
    const QByteArray nummer = m_x.readLine().trimmed();
    if (nummer.isEmpty()) {
      m_fehler = QStringLiteral("Xvfb meldet keine Anzeige");
      return;
    }
    m_anzeige = QStringLiteral(":") + QString::fromLatin1(nummer);
    m_wm.setProcessEnvironment(umgebung());
    m_wm.setStandardOutputFile(QProcess::nullDevice());
    m_wm.setStandardErrorFile(QProcess::nullDevice());
    m_wm.start(QStringLiteral("icewm"), {});
    m_wm.waitForStarted();
  }
  ~Bildschirm() {
    for (QProcess* p : {&m_wm, &m_x}) {
      p->terminate();
      if (!p->waitForFinished(5000)) {
        p->kill();
        p->waitForFinished();
      }
    }
  }
  bool ok() const { return !m_anzeige.isEmpty(); }
  QString fehler() const { return m_fehler; }

  QProcessEnvironment umgebung() const {
    QProcessEnvironment u = QProcessEnvironment::systemEnvironment();
    u.insert(QStringLiteral("DISPLAY"), m_anzeige);
    u.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return u;
  }

  // Waits for a visible window whose title matches `titel`, activates it and presses `taste`.
  bool taste(const QString& titel, const QString& taste) {
    QProcess suche;
    suche.setProcessEnvironment(umgebung());
    suche.start(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--sync"),
                 QStringLiteral("--onlyvisible"), QStringLiteral("--name"), titel});
    if (!suche.waitForFinished(60000)) {
      suche.kill();
      suche.waitForFinished();
      return false;
    }
    const QByteArray fenster = suche.readAllStandardOutput().split('\n').value(0).trimmed();
    if (fenster.isEmpty())
      return false;
    QProcess aktion;
    aktion.setProcessEnvironment(umgebung());
    aktion.start(
        QStringLiteral("xdotool"),
        {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::fromLatin1(fenster),
         QStringLiteral("key"), QStringLiteral("--clearmodifiers"), taste});
    return aktion.waitForFinished(30000) && aktion.exitCode() == 0;
  }

 private:
  QProcess m_x;
  QProcess m_wm;
  QString m_anzeige;
  QString m_fehler;
};

}  // namespace

class TestUpdateE2E : public QObject {
  Q_OBJECT

  QTemporaryDir serverordner;
  std::unique_ptr<Testserver> server;
  std::unique_ptr<Bildschirm> bildschirm;

  // The built program copied into the test's program folder, so that it works on that folder.
  bool programmKopieren(const Updatefall& fall) {
    const QString ziel = fall.programm.datei(QStringLiteral("update"));
    return QFile::copy(gebauterProgrammordner() + QStringLiteral("update"), ziel) &&
           QFile::setPermissions(ziel, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  void starten(QProcess& update, const Updatefall& fall, const QString& modus) {
    QCOMPARE(
        RegistrySchreiben(HKCU, ProduktSchluessel, QStringLiteral("URL"), server->adresse(modus)),
        0);
    QVERIFY(programmKopieren(fall));
    update.setProcessEnvironment(bildschirm->umgebung());
    update.setProcessChannelMode(QProcess::ForwardedChannels);
    update.start(fall.programm.datei(QStringLiteral("update")), {});
    QVERIFY(update.waitForStarted());
  }

  static void beenden(QProcess& update) {
    if (!update.waitForFinished(60000)) {
      update.kill();
      update.waitForFinished();
      QFAIL("update endet nicht");
    }
    QCOMPARE(update.exitStatus(), QProcess::NormalExit);
    QCOMPARE(update.exitCode(), 0);
  }

 private slots:
  void initTestCase() {
    bildschirm = std::make_unique<Bildschirm>();
    if (!bildschirm->ok())
      QSKIP(qPrintable(bildschirm->fehler()));
    QVERIFY(serverordner.isValid());
    server = std::make_unique<Testserver>(serverordner.path());
    QVERIFY2(server->ok(), qPrintable(server->fehler()));
  }
  void cleanupTestCase() {
    server.reset();
    bildschirm.reset();
  }
  void init() { TestUmgebung::einstellungenLeeren(); }

  void vollstaendigesUpdate() {
    Updatefall fall(serverordner.path());
    QVERIFY(fall.ok());
    QProcess update;
    starten(update, fall, QStringLiteral("langsam/1024/5"));
    QVERIFY(bildschirm->taste(QStringLiteral("^Software-Update$"), QStringLiteral("Return")));
    QVERIFY(bildschirm->taste(QStringLiteral("^Neuigkeiten von Version 1.0 zu Version 1.1$"),
                              QStringLiteral("Return")));
    QVERIFY(bildschirm->taste(QStringLiteral("^Update abgeschlossen$"), QStringLiteral("Return")));
    beenden(update);
    QCOMPARE(dateiInhalt(fall.installiert()), fall.neu);
    QVERIFY(QFileInfo(fall.installiert()).isExecutable());
    QCOMPARE(dateiInhalt(fall.programm.datei(QStringLiteral("programm.ver"))),
             QByteArray("1.1\r\n"));
    QCOMPARE(downloadReste(fall.programm.pfad()), QStringList());
  }

  void abbrechenImFenster() {
    Updatefall fall(serverordner.path());
    QVERIFY(fall.ok());
    QProcess update;
    // The server sends a part of the body and then nothing: the window waits for the user.
    starten(update, fall, QStringLiteral("stau/2048"));
    QVERIFY(bildschirm->taste(QStringLiteral("^Software-Update$"), QStringLiteral("Return")));
    QVERIFY(
        bildschirm->taste(QStringLiteral("^Neuigkeiten von Version"), QStringLiteral("Return")));
    QVERIFY(
        bildschirm->taste(QStringLiteral("^Velmark Software-Update$"), QStringLiteral("alt+a")));
    QVERIFY(bildschirm->taste(QStringLiteral("^Update fehlgeschlagen$"), QStringLiteral("Return")));
    beenden(update);
    QCOMPARE(dateiInhalt(fall.installiert()), fall.alt);
    QCOMPARE(dateiInhalt(fall.programm.datei(QStringLiteral("programm.ver"))),
             QByteArray("1.0\r\n"));
    QCOMPARE(downloadReste(fall.programm.pfad()), QStringList());
  }
};

VELMARK_TEST_MAIN(TestUpdateE2E)
#include "tst_update_e2e.moc"
