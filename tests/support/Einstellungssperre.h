#pragma once
// Another program that holds the settings store's lock: the child registry_kind takes it and
// keeps it until it is let go, or the object goes.
//
//   Einstellungssperre fremd;
//   QVERIFY(fremd.ok());
//   ... a step that must give up, not wait for the lock ...
//   QVERIFY(fremd.haeltNoch());
//   fremd.freigeben();

#include <QProcess>

class Einstellungssperre {
 public:
  Einstellungssperre() {
    m_kind.start(QStringLiteral(REGISTRY_KIND), {QStringLiteral("halten")});
    m_ok = m_kind.waitForReadyRead(30000) && m_kind.readLine().trimmed() == "gesperrt";
  }
  ~Einstellungssperre() { freigeben(); }
  Einstellungssperre(const Einstellungssperre&) = delete;
  Einstellungssperre& operator=(const Einstellungssperre&) = delete;

  bool ok() const { return m_ok; }
  // The child lets go only when told, so while it runs it holds the lock.
  bool haeltNoch() const { return m_kind.state() == QProcess::Running; }
  void freigeben() {
    if (m_kind.state() == QProcess::NotRunning)
      return;
    m_kind.write("\n");
    m_kind.closeWriteChannel();
    if (!m_kind.waitForFinished(30000)) {
      m_kind.kill();
      m_kind.waitForFinished();
    }
  }

 private:
  QProcess m_kind;
  bool m_ok = false;
};
