#include "Einzelinstanz.h"

#include <QDir>
#include <QStandardPaths>

Einzelinstanz::Einzelinstanz(const QString& sperrdatei) : m_sperre(sperrdatei) {
  // A running instance keeps a native lock on its file, so it is never taken over, however old
  // its lock is. Only a file that no process holds goes: one whose owner has ended, or one that
  // says nothing of its owner once it is older than the limit.
  m_sperre.setStaleLockTime(Altersgrenze);
  bool frei = m_sperre.tryLock(0);
  // A file too young to judge: wait until it is old enough or its owner has written its number.
  if (!frei && m_sperre.error() == QLockFile::LockFailedError &&
      !m_sperre.getLockInfo(nullptr, nullptr, nullptr))
    frei = m_sperre.tryLock(Altersgrenze + 500);
  if (!frei)
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
