#pragma once
// What the fault tests share: the child process stoerkind (one writer of the system run as zamlo
// runs it) and its report, and snapshots of whole folders to compare byte for byte.
//
//   const Kindbericht b = stoerkind({u"kategorien"_s, ordner.pfad(), u"--grenze"_s, u"4096"_s});
//   QVERIFY(b.gelaufen);
//   QCOMPARE(b.meldungen.value(0).titel, Text(3103));

#include "Meldung.h"

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

struct Kindbericht {
  bool gelaufen = false;  // ended by itself with exit code 0
  int exitCode = -1;
  QList<MeldungTest::Eintrag> meldungen;
  bool ok = false;  // the write went through
  QString grund;
  QStringList zeilen;  // every other line: the "ok <n>" of a loop
  QString ausgabe;     // all of it, for failure messages
};

Kindbericht kindBericht(int exitCode, QProcess::ExitStatus status, const QByteArray& ausgabe);
// Runs stoerkind to its end (at most `ms` milliseconds).
Kindbericht stoerkind(const QStringList& argumente, int ms = 60000);
// Starts stoerkind without waiting; stderr goes to the test's.
void stoerkindStarten(QProcess& p, const QStringList& argumente);

// Every file below `ordner` with its bytes, by path relative to it.
using Ordnerinhalt = QMap<QString, QByteArray>;
Ordnerinhalt ordnerInhalt(const QString& ordner);
// The differences of two snapshots as lines ("geändert: Anna.mdb"), empty when equal.
QStringList unterschiede(const Ordnerinhalt& vorher, const Ordnerinhalt& nachher);

// Sends SIGKILL to the process and waits for it.
void toeten(QProcess& p);
