#include "DownloadZiel.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool aufPlatte(int handle) {
#ifdef Q_OS_WIN
  return _commit(handle) == 0;
#else
  return ::fsync(handle) == 0;
#endif
}

void ordnerAufPlatte(const QString& ordner) {
#ifndef Q_OS_WIN
  const int fd = ::open(QFile::encodeName(ordner).constData(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
#else
  Q_UNUSED(ordner);
#endif
}

QFileDevice::Permissions rechteFuer(const QString& ziel) {
  using P = QFileDevice;
  QFileDevice::Permissions rechte = P::ReadOwner | P::WriteOwner | P::ReadGroup | P::ReadOther;
  const QFileInfo info(ziel);
  if (info.exists())
    rechte = info.permissions() &
             (P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadGroup | P::WriteGroup |
              P::ExeGroup | P::ReadOther | P::WriteOther | P::ExeOther);
  // The main program must stay executable, also when the old file was not.
  rechte |= P::ExeOwner;
  if (rechte & P::ReadGroup)
    rechte |= P::ExeGroup;
  if (rechte & P::ReadOther)
    rechte |= P::ExeOther;
  return rechte;
}

}  // namespace

DownloadZiel::DownloadZiel() = default;

DownloadZiel::~DownloadZiel() {
  verwerfen();
}

QString DownloadZiel::restMuster(const QString& ziel) {
  return QFileInfo(ziel).fileName() + QStringLiteral(".download-");
}

void DownloadZiel::resteEntfernen(const QString& ziel) {
  const QFileInfo info(ziel);
  QDir ordner = info.absoluteDir();
  const QString muster = restMuster(ziel);
  for (const QFileInfo& rest :
       ordner.entryInfoList({muster + u'*'}, QDir::Files | QDir::Hidden | QDir::System)) {
    if (rest.fileName().startsWith(muster))
      QFile::remove(rest.absoluteFilePath());
  }
}

bool DownloadZiel::oeffnen(const QString& ziel, QString* fehler) {
  verwerfen();
  m_ziel = ziel;
  m_geschrieben = 0;
  resteEntfernen(ziel);
  m_datei = std::make_unique<QTemporaryFile>(QFileInfo(ziel).absolutePath() + u'/' +
                                             restMuster(ziel) + QStringLiteral("XXXXXX"));
  // On Linux the file has no name until it is renamed over the target, so that not even a
  // killed run leaves it behind; elsewhere it is named and removed when it is discarded.
  if (!m_datei->open()) {
    if (fehler)
      *fehler = m_datei->errorString();
    m_datei.reset();
    return false;
  }
  return true;
}

bool DownloadZiel::offen() const {
  return m_datei && m_datei->isOpen();
}

bool DownloadZiel::anhaengen(const QByteArray& daten, QString* fehler) {
  if (!offen()) {
    if (fehler)
      *fehler = QStringLiteral("Die Datei ist nicht geöffnet.");
    return false;
  }
  // Written through at once, so that a full disk shows here and not in a later flush.
  const qint64 n = m_datei->write(daten);
  const bool ok = n == daten.size() && m_datei->flush();
  if (n > 0)
    m_geschrieben += n;
  if (!ok && fehler)
    *fehler = m_datei->errorString();
  return ok;
}

bool DownloadZiel::uebernehmen(QString* fehler) {
  if (!offen()) {
    if (fehler)
      *fehler = QStringLiteral("Die Datei ist nicht geöffnet.");
    return false;
  }
  const QString temp = m_datei->fileName();
  bool ok = m_datei->flush() && aufPlatte(m_datei->handle());
  if (!ok && fehler)
    *fehler = m_datei->errorString();
  m_datei->close();
  if (ok && !QFile::setPermissions(temp, rechteFuer(m_ziel))) {
    ok = false;
    if (fehler)
      *fehler = QStringLiteral("Die Rechte der Datei konnten nicht gesetzt werden.");
  }
  if (ok) {
    // A rename within one folder replaces the target in one step (QFile::rename would refuse an
    // existing target, and a remove before it would leave a moment without the program).
    std::error_code fehlercode;
    std::filesystem::rename(std::filesystem::path(temp.toStdU16String()),
                            std::filesystem::path(m_ziel.toStdU16String()), fehlercode);
    if (fehlercode) {
      ok = false;
      if (fehler)
        *fehler = QString::fromLocal8Bit(fehlercode.message());
    }
  }
  m_datei.reset();
  if (!ok)
    return false;
  ordnerAufPlatte(QFileInfo(m_ziel).absolutePath());
  return true;
}

void DownloadZiel::verwerfen() {
  m_datei.reset();
}
