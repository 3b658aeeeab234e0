#include "TestMain.h"

#include "Registry.h"
#include "Sprache.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace TestUmgebung {
namespace {
QTemporaryDir* temp = nullptr;

// Options that choose Qt Test's output themselves: then the run is left as it was asked for.
bool eigeneAusgabe(const QStringList& args) {
  for (const QString& a : args) {
    if (a == u"-o" || a == u"-txt" || a == u"-xml" || a == u"-xunitxml" || a == u"-junitxml" ||
        a == u"-csv" || a == u"-teamcity" || a == u"-tap" || a == u"-lightxml" ||
        a == u"-functions" || a == u"-datatags" || a == u"-help")
      return true;
  }
  return false;
}
}  // namespace

QString vorbereiten() {
  if (!temp) {
    temp = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/velmark-test-XXXXXX"));
    // Removed at exit, after the objects made later (the single-instance lock in its runtime
    // folder among them) are gone.
    std::atexit([] {
      delete temp;
      temp = nullptr;
    });
    const QString basis = temp->path();
    QDir().mkpath(basis + QStringLiteral("/config"));
    QDir().mkpath(basis + QStringLiteral("/runtime"));
    QFile::setPermissions(basis + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(basis + QStringLiteral("/config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(basis + QStringLiteral("/runtime")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  return temp->path();
}

QString ordner() { return vorbereiten(); }

void einstellungenLeeren() {
  QFile::remove(Registry::dateipfad());
  Ini::cacheLeeren();
}

bool behalten() { return qEnvironmentVariableIntValue("VELMARK_TEST_BEHALTEN") != 0; }

int ausfuehren(QObject& test, int argc, char* argv[]) {
  QStringList args;
  for (int i = 0; i < argc; ++i)
    args << QString::fromLocal8Bit(argv[i]);
  if (eigeneAusgabe(args))
    return QTest::qExec(&test, args);
  // The usual text on standard output, and a TAP record beside it that tells skipped functions.
  const QString protokoll = ordner() + QStringLiteral("/ergebnis.tap");
  args << QStringLiteral("-o") << QStringLiteral("-,txt") << QStringLiteral("-o")
       << protokoll + QStringLiteral(",tap");
  const int ergebnis = QTest::qExec(&test, args);
  QFile tap(protokoll);
  if (ergebnis == 0 && tap.open(QIODevice::ReadOnly) && tap.readAll().contains("# SKIP"))
    return Ausgelassen;
  return ergebnis;
}

int abschliessen(int ergebnis) {
  if (temp && behalten()) {
    temp->setAutoRemove(false);
    std::fprintf(stderr, "Temporärer Ordner behalten: %s\n", qPrintable(temp->path()));
  }
  return ergebnis;
}

}  // namespace TestUmgebung
