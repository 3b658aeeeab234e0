#include "Messumgebung.h"

#include "Grossbuch.h"
#include "Meldung.h"
#include "Registry.h"
#include "UpdateModul.h"
#include "Zustand.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

using namespace Qt::StringLiterals;

namespace Messumgebung {
namespace {

std::unique_ptr<QTemporaryDir> temp;
QString programmordner;
std::unique_ptr<QProcess> httpServer;
QString serverAdresse;

bool fehlerSetzen(QString* fehler, const QString& text) {
  if (fehler)
    *fehler = text;
  return false;
}

bool kopieren(const QString& von, const QString& nach, QString* fehler) {
  QFile::remove(nach);
  if (!QFile::copy(von, nach))
    return fehlerSetzen(fehler, u"%1 lässt sich nicht nach %2 kopieren"_s.arg(von, nach));
  QFile(nach).setPermissions(QFile(von).permissions() | QFileDevice::WriteOwner);
  return true;
}

bool ordnerAnlegen(QString* fehler) {
  // Beside the build, on its disk: /tmp may be a RAM disk, where a durable write is free.
  temp = std::make_unique<QTemporaryDir>(QStringLiteral(VELMARK_BENCH_BAU "/messung-XXXXXX"));
  if (!temp->isValid())
    return fehlerSetzen(fehler, u"Kein Messordner: "_s + temp->errorString());
  const QDir t(temp->path());
  for (const char* name : {"config", "runtime", "Velmark"})
    t.mkpath(QString::fromLatin1(name));
  QFile::setPermissions(t.filePath(u"runtime"_s),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(t.filePath(u"config"_s)));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(t.filePath(u"runtime"_s)));
  programmordner = t.filePath(u"Velmark"_s) + u'/';

  const QDir gebaut(QStringLiteral(VELMARK_BENCH_PROGRAMMORDNER));
  for (const QFileInfo& datei : gebaut.entryInfoList(QDir::Files)) {
    if (!kopieren(datei.filePath(), programmordner + datei.fileName(), fehler))
      return false;
  }

  QString grossbuch = qEnvironmentVariable("VELMARK_GROSSBUCH");
  if (grossbuch.isEmpty())
    grossbuch = QStringLiteral(VELMARK_BENCH_BAU "/grossbuch");
  const QDir quelle(grossbuch);
  if (!quelle.exists(Grossbuch::Benutzer + u".mdb"_s)) {
    QDir().mkpath(grossbuch);
    if (!Grossbuch::anlegen(grossbuch, {}, fehler))
      return false;
  }
  return kopieren(quelle.filePath(u"Daten.mdb"_s), programmordner + u"Daten.mdb"_s, fehler) &&
         kopieren(quelle.filePath(Grossbuch::Benutzer + u".mdb"_s),
                  programmordner + Grossbuch::Benutzer + u".mdb"_s, fehler);
}

bool anmelden(QString* fehler) {
  zustandStarten(programmordner, QDate::currentDate());
  zustand().AktuellerBenutzer = Grossbuch::Benutzer;
  zustand().Benutzerdatei = buch();
  const QString benutzer = ProduktSchluessel + u'\\' + Grossbuch::Benutzer;
  for (const auto& [schluessel, name, wert] :
       {std::tuple{ProduktSchluessel, u"Kennwort"_s, u"0"_s},
        std::tuple{ProduktSchluessel, u"Standard"_s, u"1"_s},
        std::tuple{ProduktSchluessel, u"Benutzer"_s, Grossbuch::Benutzer},
        std::tuple{benutzer, u"ID"_s, u"0"_s}, std::tuple{benutzer, u"Zamlotipp"_s, u"0"_s}}) {
    if (RegistrySchreiben(HKCU, schluessel, name, wert) != 0)
      return fehlerSetzen(fehler, u"Einstellung %1 nicht geschrieben"_s.arg(name));
  }
  UpdateZustand& u = updateZustand();
  u.Programmordner = programmordner;
  u.Sprachdatei = programmordner + u"kvastlang.dll"_s;
  // A message box would wait for a click that never comes: every one is answered and recorded.
  MeldungTest::installieren();
  return true;
}

}  // namespace

bool vorbereiten(bool anwendung, QString* fehler) {
  return anwendung ? anmelden(fehler) : ordnerAnlegen(fehler);
}

void aufraeumen() {
  if (httpServer) {
    httpServer->closeWriteChannel();
    if (!httpServer->waitForFinished(5000))
      httpServer->kill();
    httpServer.reset();
  }
  temp.reset();
}

QString ordner() {
  return programmordner;
}

QString buch() {
  return programmordner + Grossbuch::Benutzer + u".mdb"_s;
}

QString daten() {
  return programmordner + u"Daten.mdb"_s;
}

QString server() {
  if (httpServer)
    return serverAdresse;
  httpServer = std::make_unique<QProcess>();
  httpServer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  httpServer->start(u"python3"_s, {QStringLiteral(VELMARK_BENCH_QUELLEN "/server.py"),
                                   QString::number(8 << 20), QString::number(64 << 20)});
  if (!httpServer->waitForStarted(10000) || !httpServer->waitForReadyRead(60000))
    return {};
  const QByteArray port = httpServer->readLine().trimmed();
  serverAdresse = u"http://127.0.0.1:%1/"_s.arg(QString::fromLatin1(port));
  return serverAdresse;
}

double curlZeit(const QString& adresse, const QString& ziel) {
  QProcess curl;
  QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
  umgebung.insert(u"LC_ALL"_s, u"C"_s);  // a decimal point in the time
  curl.setProcessEnvironment(umgebung);
  curl.start(u"curl"_s, {u"-s"_s, u"-f"_s, u"-o"_s, ziel, u"-w"_s, u"%{time_total}"_s, adresse});
  if (!curl.waitForFinished(120000) || curl.exitCode() != 0)
    return -1;
  bool ok = false;
  const double sekunden = QString::fromLatin1(curl.readAllStandardOutput()).toDouble(&ok);
  return ok ? sekunden : -1;
}

}  // namespace Messumgebung
