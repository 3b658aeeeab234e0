#include "Datenbank.h"

#include "Abfrage.h"
#include "Verbindung.h"

#include <QCoreApplication>
#include <QDir>

namespace {

Datenbank& programmweit(int welche) {
  static Datenbank handles[2];
  return handles[welche];
}

bool programmweitOeffnen(int welche, const QString& pfad) {
  static bool angemeldet = false;
  if (!angemeldet && QCoreApplication::instance()) {
    // Connections must close before the SQL driver goes with the application object.
    qAddPostRoutine(Datenbank::alleSchliessen);
    angemeldet = true;
  }
  programmweit(welche) = Datenbank::oeffnen(pfad);
  return programmweit(welche).offen();
}

}  // namespace

QString Datenbank::kennwort() {
  return Verbindungstext.section(QStringLiteral("Pwd="), 1).section(u';', 0, 0);
}

Datenbank Datenbank::oeffnen(const QString& pfad) {
  Datenbank db;
  db.m_pfad = pfad;
  db.m_verbindung = Verbindung::oeffnen(pfad, &db.m_fehler);
  return db;
}

void Datenbank::schliessen() {
  m_verbindung.reset();
  m_fehler.clear();
}

bool Datenbank::ausfuehren(const QString& sql, const QVariantList& werte) {
  m_fehler.clear();
  if (!m_verbindung) {
    m_fehler =
        QStringLiteral("Die Datei „%1“ ist nicht geöffnet.").arg(QDir::toNativeSeparators(m_pfad));
    return false;
  }
  return m_verbindung->schreiben(sql, werte, &m_fehler);
}

bool Datenbank::loeschen(const Abfrage& abfrage) {
  if (!abfrage.gueltig()) {
    m_fehler = QStringLiteral("Ungültige Abfrage.");
    return false;
  }
  return ausfuehren(abfrage.loeschSql(), abfrage.werte());
}

Datenbank& Datenbank::datendatei() {
  return programmweit(0);
}
Datenbank& Datenbank::buchdatei() {
  return programmweit(1);
}
bool Datenbank::datendateiOeffnen(const QString& pfad) {
  return programmweitOeffnen(0, pfad);
}
bool Datenbank::buchdateiOeffnen(const QString& pfad) {
  return programmweitOeffnen(1, pfad);
}

void Datenbank::alleSchliessen() {
  programmweit(0).schliessen();
  programmweit(1).schliessen();
}
