#pragma once
// The references of the benchmarks: a household book through the plain sqlite3 C API, as fast
// as the engine goes, with the same statements the program's queries mean. No Qt SQL, no
// conversions, no collation of the program's own (the engine's NOCASE stands in for it).

#include <QString>
#include <initializer_list>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class Rohdatei {
 public:
  explicit Rohdatei(const QString& pfad);
  ~Rohdatei();
  Rohdatei(const Rohdatei&) = delete;
  Rohdatei& operator=(const Rohdatei&) = delete;

  bool ok() const { return m_db != nullptr; }
  bool ausfuehren(const char* sql);
  // Prepared once, kept until the file is closed.
  sqlite3_stmt* anweisung(const char* sql);

  // Every row of a query; the texts of the given columns appended to `ziel` (columns counted
  // from 0). Returns the number of rows.
  int lesen(const char* sql, std::initializer_list<int> spalten, std::vector<std::string>& ziel);

  // Binds texts and whole numbers in order and steps the statement to its end; resets it.
  struct Wert {
    const char* text = nullptr;
    long long zahl = 0;
    Wert(const char* t) : text(t) {}
    Wert(long long z) : zahl(z) {}
    Wert(int z) : zahl(z) {}
  };
  bool schreiben(sqlite3_stmt* anweisung, std::initializer_list<Wert> werte);

 private:
  sqlite3* m_db = nullptr;
  std::vector<sqlite3_stmt*> m_anweisungen;
};
