#pragma once
// Reads a data file with the engine directly, past the data layer: what the tests compare with
// is what another program would find in the file.

#include <sqlite3.h>
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>

// Rows of a query: qlonglong for INTEGER, double for REAL, QString for TEXT, an invalid QVariant
// for NULL. One row with the error text when the query fails.
inline QList<QVariantList> roh(const QString& datei, const QString& sql) {
  sqlite3* db = nullptr;
  QList<QVariantList> zeilen;
  if (sqlite3_open_v2(QFile::encodeName(datei).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    return {{QStringLiteral("FEHLER open")}};
  }
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return {{QStringLiteral("FEHLER ") + text}};
  }
  while (sqlite3_step(st) == SQLITE_ROW) {
    QVariantList zeile;
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
          zeile.append(qlonglong(sqlite3_column_int64(st, i)));
          break;
        case SQLITE_FLOAT:
          zeile.append(sqlite3_column_double(st, i));
          break;
        case SQLITE_NULL:
          zeile.append(QVariant());
          break;
        default:
          zeile.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                         sqlite3_column_bytes(st, i)));
      }
    }
    zeilen.append(zeile);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return zeilen;
}

inline QVariant rohWert(const QString& datei, const QString& sql) {
  const QList<QVariantList> z = roh(datei, sql);
  return z.isEmpty() ? QVariant() : z.first().value(0);
}
