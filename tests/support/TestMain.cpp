#include "TestMain.h"

#include "Registry.h"
#include "Sprache.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace TestUmgebung {
namespace {
QTemporaryDir* temp = nullptr;
}

QString vorbereiten() {
  if (!temp) {
    temp = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/velmark-test-XXXXXX"));
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

}  // namespace TestUmgebung
