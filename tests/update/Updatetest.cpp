#include "Updatetest.h"

#include "Programm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTcpServer>

Testserver::Testserver(const QString& ordner) {
  const QString skript = QStringLiteral(VELMARK_QUELLORDNER "tests/update/testserver.py");
  m_prozess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  m_prozess.start(QStringLiteral("python3"), {skript, ordner});
  if (!m_prozess.waitForStarted(10000)) {
    m_fehler = QStringLiteral("python3 startet nicht: ") + m_prozess.errorString();
    return;
  }
  while (!m_prozess.canReadLine() && m_prozess.state() == QProcess::Running)
    m_prozess.waitForReadyRead(30000);
  m_port = static_cast<quint16>(m_prozess.readLine().trimmed().toUInt());
  if (m_port == 0)
    m_fehler = QStringLiteral("Der Testserver meldet keinen Port.");
}

Testserver::~Testserver() {
  m_prozess.kill();
  m_prozess.waitForFinished(10000);
}

QString Testserver::adresse(const QString& modus) const {
  return QStringLiteral("http://127.0.0.1:%1/%2/").arg(m_port).arg(modus);
}

quint16 freierPort() {
  QTcpServer s;
  s.listen(QHostAddress::LocalHost, 0);
  const quint16 port = s.serverPort();
  s.close();
  return port;
}

QByteArray zufallsBytes(qint64 anzahl, quint32 saat) {
  QList<quint32> worte((anzahl + 3) / 4);
  QRandomGenerator(saat).fillRange(worte.data(), worte.size());
  return QByteArray(reinterpret_cast<const char*>(worte.constData()), anzahl);
}

QStringList downloadReste(const QString& ordner) {
  return QDir(ordner).entryList({Hauptprogramm + QStringLiteral(".download-*")},
                                QDir::Files | QDir::Hidden);
}

bool schreibtInOrdner(qint64 pid, const QString& ordner) {
  const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
  for (const QFileInfo& fd : fds.entryInfoList(QDir::Files | QDir::System)) {
    const QString ziel = fd.symLinkTarget();
    if (ziel.startsWith(QDir(ordner).canonicalPath() + u'/') && !ziel.endsWith(Hauptprogramm))
      return true;
  }
  return false;
}

Updatefall::Updatefall(const QString& serverordner) : server(serverordner) {
  alt = QByteArray("#!/bin/sh\necho alt\n") + zufallsBytes(3000, 1);
  neu = QByteArray("#!/bin/sh\necho neu\n") + zufallsBytes(5000, 2);
  if (!programm.ok())
    return;
  QDir ordner(server);
  for (const QString& name : ordner.entryList(QDir::Files))
    ordner.remove(name);
  dateiAnlegen(installiert(), alt);
  QFile::setPermissions(installiert(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadGroup | QFile::ExeGroup);
  dateiAnlegen(programm.datei(QStringLiteral("programm.ver")), "1.0\r\n");
  dateiAnlegen(serverDatei(QStringLiteral("programm.ver")), "1.1");
  dateiAnlegen(serverDatei(QStringLiteral("news.txt")),
               "Version 1.1: schnellere Buchung.\r\nVersion 1.0: erste Ausgabe.\r\n");
  dateiAnlegen(serverDatei(Hauptprogramm), neu);
}

QString Updatefall::installiert() const {
  return programm.datei(Hauptprogramm);
}
