#include "Testordner.h"

#include "DemoDaten.h"
#include "TestMain.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

QString gebauterProgrammordner() { return QStringLiteral(VELMARK_PROGRAMMORDNER); }

Testordner::Testordner(Daten daten)
    : m_temp(QDir::tempPath() + QStringLiteral("/velmark-ordner-XXXXXX")) {
  m_pfad = m_temp.path() + u'/';
  m_temp.setAutoRemove(!TestUmgebung::behalten());
  if (!m_temp.isValid()) {
    m_fehler = QStringLiteral("Kein temporärer Ordner");
    return;
  }
  // Runtime files only: the tests run the code they link, and end-to-end tests start the built
  // executables from the built folder or copy them themselves.
  const QDir quelle(gebauterProgrammordner());
  for (const QFileInfo& info : quelle.entryInfoList(QDir::Files)) {
    if (info.isExecutable() || info.suffix() == u"so" || info.fileName().contains(u".so."))
      continue;
    if (!QFile::copy(info.filePath(), m_pfad + info.fileName())) {
      m_fehler = QStringLiteral("Kopie fehlgeschlagen: ") + info.fileName();
      return;
    }
    QFile::setPermissions(m_pfad + info.fileName(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
  }
  if (daten == Daten::Demo && !DemoDaten::demoDateien(m_pfad, &m_fehler))
    return;
  m_ok = true;
}

bool Testordner::demoEinstellungen() { return DemoDaten::demoEinstellungen(&m_fehler); }
