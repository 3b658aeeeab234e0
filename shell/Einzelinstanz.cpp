#include "Einzelinstanz.h"

#include <QDir>
#include <QStandardPaths>

Einzelinstanz::Einzelinstanz(const QString& sperrdatei) : m_sperre(sperrdatei) {
  // Only a dead owner makes a lock stale: the default age limit would let a second instance take
  // the lock of a first one that has simply been running for a while.
  m_sperre.setStaleLockTime(0);
  if (!m_sperre.tryLock(0))
    m_andere = m_sperre.error() == QLockFile::LockFailedError;
}

bool andereInstanzLaeuft() {
  static const Einzelinstanz instanz([] {
    const QString ordner = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QDir().mkpath(ordner);
    return QDir(ordner).filePath(QStringLiteral("zamlo.lock"));
  }());
  return instanz.andereLaeuft();
}
