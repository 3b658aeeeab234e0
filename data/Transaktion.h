#pragma once
// Groups several writes on one file into one transaction: all of them or none. The constructor
// runs BEGIN IMMEDIATE (waiting for another program's write up to the busy timeout);
// bestaetigen() commits; a guard that goes without bestaetigen() rolls back. A guard inside
// another one on the same connection joins it, and an inner guard that gives up makes the outer
// one roll back.
//
//   Transaktion t(Data1);
//   Data1.datenbank().loeschen(Abfrage(u"Kategorien"_s));
//   ... Data1.neu(); Data1.setzen(...); ok = ok && Data1.speichern(); ...
//   if (!ok || !t.bestaetigen()) MeldungNr(3003, 3103, 16);
//
// While a guard is open, writes through another connection to the same file wait for it: keep
// all writes of one guard on its connection.

#include <QString>
#include <memory>

class Datenbank;
class Datensatzquelle;
class Verbindung;

class Transaktion {
 public:
  explicit Transaktion(const Datenbank& db);
  explicit Transaktion(Datensatzquelle& quelle);
  ~Transaktion();
  Transaktion(const Transaktion&) = delete;
  Transaktion& operator=(const Transaktion&) = delete;

  bool begonnen() const { return m_begonnen; }
  // False when the transaction could not begin, was given up inside, or the commit failed; then
  // nothing of it is stored and fehler() says why.
  bool bestaetigen();
  const QString& fehler() const { return m_fehler; }

 private:
  void beginnen(const Datenbank& db);

  std::shared_ptr<Verbindung> m_verbindung;
  bool m_begonnen = false;
  bool m_offen = false;
  QString m_fehler;
};
