// The built update program as a process, as a user runs it: under Xvfb with IceWM, the questions
// and messages answered with keys through xdotool, against the local test server.

#include "Programm.h"
#include "Registry.h"
#include "TestMain.h"
#include "Updatetest.h"

#include <QDeadlineTimer>
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
  // "" on success, otherwise what went wrong.
  QString taste(const QString& titel, const QString& taste) {
    const auto xdotool = [this](const QStringList& argumente, QByteArray* ausgabe) {
      QProcess p;
      p.setProcessEnvironment(umgebung());
      p.start(QStringLiteral("xdotool"), argumente);
      if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return QStringLiteral("xdotool %1: keine Antwort").arg(argumente.join(u' '));
      }
      *ausgabe = p.readAllStandardOutput();
      if (p.exitCode() != 0)
        return QStringLiteral("xdotool %1: %2")
            .arg(argumente.join(u' '), QString::fromLocal8Bit(p.readAllStandardError()));
      return QString();
    };
    // Searched again until it appears: a search also fails when another window goes away while
    // it looks at it.
    QByteArray ausgabe;
    QString fehler;
    QDeadlineTimer frist(60000);
    do {
      fehler = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"), titel},
                       &ausgabe);
      if (fehler.isEmpty() && !ausgabe.trimmed().isEmpty())
        break;
      QTest::qWait(100);
    } while (!frist.hasExpired());
    if (!fehler.isEmpty() || ausgabe.trimmed().isEmpty())
      return QStringLiteral("Kein Fenster „%1“: %2").arg(titel, fehler);
    const QString fenster = QString::fromLatin1(ausgabe.split('\n').value(0).trimmed());
    // A window that has just been mapped may not take the focus at the first attempt.
    for (int versuch = 0; versuch < 5; ++versuch) {
      fehler =
          xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), fenster}, &ausgabe);
      if (fehler.isEmpty())
        break;
      QTest::qWait(200);
    }
    if (!fehler.isEmpty())
      return fehler;
    // To the active window through XTEST: Qt ignores keys sent to a window directly.
    return xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), taste}, &ausgabe);
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
    QCOMPARE(bildschirm->taste(QStringLiteral("^Software-Update$"), QStringLiteral("Return")),
             QString());
    QCOMPARE(bildschirm->taste(QStringLiteral("^Neuigkeiten von Version 1.0 zu Version 1.1$"),
                               QStringLiteral("Return")),
             QString());
    QCOMPARE(bildschirm->taste(QStringLiteral("^Update abgeschlossen$"), QStringLiteral("Return")),
             QString());
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
    QCOMPARE(bildschirm->taste(QStringLiteral("^Software-Update$"), QStringLiteral("Return")),
             QString());
    QCOMPARE(
        bildschirm->taste(QStringLiteral("^Neuigkeiten von Version"), QStringLiteral("Return")),
        QString());
    QCOMPARE(
        bildschirm->taste(QStringLiteral("^Velmark Software-Update$"), QStringLiteral("alt+a")),
        QString());
    QCOMPARE(bildschirm->taste(QStringLiteral("^Update fehlgeschlagen$"), QStringLiteral("Return")),
             QString());
    beenden(update);
    QCOMPARE(dateiInhalt(fall.installiert()), fall.alt);
    QCOMPARE(dateiInhalt(fall.programm.datei(QStringLiteral("programm.ver"))),
             QByteArray("1.0\r\n"));
    QCOMPARE(downloadReste(fall.programm.pfad()), QStringList());
  }
};

VELMARK_TEST_MAIN(TestUpdateE2E)
#include "tst_update_e2e.moc"
