#include "Rohdatei.h"

#include <sqlite3.h>
#include <QFile>

Rohdatei::Rohdatei(const QString& pfad) {
  if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(m_db);
    m_db = nullptr;
    return;
  }
  sqlite3_busy_timeout(m_db, 5000);
}

Rohdatei::~Rohdatei() {
  for (sqlite3_stmt* s : m_anweisungen)
    sqlite3_finalize(s);
  sqlite3_close(m_db);
}

bool Rohdatei::ausfuehren(const char* sql) {
  return m_db && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3_stmt* Rohdatei::anweisung(const char* sql) {
  sqlite3_stmt* s = nullptr;
  if (!m_db ||
      sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK)
    return nullptr;
  m_anweisungen.push_back(s);
  return s;
}

int Rohdatei::lesen(const char* sql, std::initializer_list<int> spalten,
                    std::vector<std::string>& ziel) {
  sqlite3_stmt* s = nullptr;
  if (!m_db || sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) != SQLITE_OK)
    return -1;
  int zeilen = 0;
  while (sqlite3_step(s) == SQLITE_ROW) {
    ++zeilen;
    for (int spalte : spalten) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, spalte));
      ziel.emplace_back(text ? text : "");
    }
  }
  sqlite3_finalize(s);
  return zeilen;
}

bool Rohdatei::schreiben(sqlite3_stmt* anweisung, std::initializer_list<Wert> werte) {
  if (!anweisung)
    return false;
  int i = 1;
  for (const Wert& w : werte) {
    if (w.text)
      sqlite3_bind_text(anweisung, i, w.text, -1, SQLITE_STATIC);
    else
      sqlite3_bind_int64(anweisung, i, w.zahl);
    ++i;
  }
  const bool ok = sqlite3_step(anweisung) == SQLITE_DONE;
  sqlite3_reset(anweisung);
  return ok;
}
