#pragma once
// What the update tests share: the local test server (testserver.py, 127.0.0.1 only), file
// helpers (whole files: Dateien.h), and a program folder with an installed main program and
// version file.

#include "Dateien.h"
#include "Testordner.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class Testserver {
 public:
  // Serves the files of `ordner`; started at once, ok() when it listens.
  explicit Testserver(const QString& ordner);
  ~Testserver();
  bool ok() const { return m_port != 0; }
  QString fehler() const { return m_fehler; }
  // Base address for a mode, ending in "/": "http://127.0.0.1:<port>/<modus>/".
  QString adresse(const QString& modus) const;

 private:
  QProcess m_prozess;
  quint16 m_port = 0;
  QString m_fehler;
};

// A port on 127.0.0.1 where nobody listens.
quint16 freierPort();

QByteArray zufallsBytes(qint64 anzahl, quint32 saat);
// Temporary download files beside the main program in `ordner`.
QStringList downloadReste(const QString& ordner);
// Whether the process `pid` holds a file in `ordner` open other than the installed main program:
// its download (read from /proc).
bool schreibtInOrdner(qint64 pid, const QString& ordner);

// A program folder with the runtime files, an installed main program (version 1.0) and
// "programm.ver"; in the server folder, which the test server serves, the offered version 1.1,
// the news and a new main program.
struct Updatefall {
  explicit Updatefall(const QString& serverordner);
  bool ok() const { return programm.ok(); }
  QString installiert() const;  // path of the installed main program
  QString serverDatei(const QString& name) const { return server + u'/' + name; }

  Testordner programm{Testordner::Daten::Keine};
  QString server;
  QByteArray alt;  // bytes of the installed main program
  QByteArray neu;  // bytes of the offered one
};
