#pragma once
// What the download makes of a response's head: the status line and header lines as one text
// (as the transfer control reports them) and the value of "Content-Length". Pure functions, so
// that they can be tested and fuzzed without a server.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

struct Antwortkopf {
  enum class Art {
    OhneStatus,       // no status line: connection refused or closed, no HTTP
    Ok,               // 200: the body is fetched when it has a length
    NichtBerechtigt,  // 401
    NichtGefunden,    // 404
    Andere,           // any other status
  };
  Art art = Art::OhneStatus;
  // "Content-Length" of a 200; 0 when absent, negative or no number.
  qint64 laenge = 0;
  // The length in whole kilobytes, halves to the even neighbour: the number of chunks counted.
  qint64 kilobyte = 0;
  // For Andere: the status line with its CR, as the message shows it.
  QString statuszeile;

  // `kopf`: the status line and every header line, each ended by CR LF, "" without a status
  // line; `inhaltslaenge`: the value of "Content-Length".
  static Antwortkopf lesen(const QString& kopf, const QString& inhaltslaenge);
  // The text lesen() reads, from the parts of a response: "HTTP/1.1 <status> <reason>" and the
  // header lines, each ended by CR LF, and an empty line.
  static QString text(int status, const QByteArray& grund,
                      const QList<QPair<QByteArray, QByteArray>>& zeilen);
};
