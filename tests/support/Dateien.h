#pragma once
// Whole files as the tests read and write them, past the program's own file code.

#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of a file; empty when it cannot be read.
inline QByteArray dateiInhalt(const QString& pfad) {
  QFile f(pfad);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes `inhalt` as the whole file; false when not all of it was written.
inline bool dateiAnlegen(const QString& pfad, const QByteArray& inhalt) {
  QFile f(pfad);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(inhalt) == inhalt.size();
}
