#include "Datenbank.h"

#include "Abfrage.h"
#include "Umwandlung.h"
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

namespace {

// The table's spelling of a column; empty when the table has no such column.
QString spalteDerTabelle(Verbindung& v, const QString& tabelle, const QString& spalte) {
  for (const QString& s : v.spaltenDerTabelle(tabelle)) {
    if (s.compare(spalte, Qt::CaseInsensitive) == 0)
      return s;
  }
  return {};
}

}  // namespace

bool Datenbank::einfuegen(const QString& tabelle, const QStringList& spalten,
                          const QList<QVariantList>& zeilen) {
  m_fehler.clear();
  if (!m_verbindung) {
    m_fehler =
        QStringLiteral("Die Datei „%1“ ist nicht geöffnet.").arg(QDir::toNativeSeparators(m_pfad));
    return false;
  }
  if (!Abfrage::istName(tabelle) || spalten.isEmpty()) {
    m_fehler = QStringLiteral("Ungültige Abfrage.");
    return false;
  }
  QStringList namen;
  QList<Umwandlung::Spaltenart> arten;
  for (const QString& s : spalten) {
    const QString name = spalteDerTabelle(*m_verbindung, tabelle, s);
    if (name.isEmpty()) {
      m_fehler = QStringLiteral("Die Tabelle „%1“ hat keine Spalte „%2“.").arg(tabelle, s);
      return false;
    }
    namen.append(name);
    arten.append(Umwandlung::art(name));
  }
  QList<QVariantList> gespeichert;
  gespeichert.reserve(zeilen.size());
  for (const QVariantList& zeile : zeilen) {
    QVariantList werte;
    werte.reserve(namen.size());
    for (qsizetype i = 0; i < namen.size(); ++i) {
      const QVariant wert = zeile.value(i);
      const auto w = Umwandlung::speicherwert(arten[i], wert);
      if (!w) {
        m_fehler = QStringLiteral("Der Wert „%1“ passt nicht in die Spalte „%2“.")
                       .arg(wert.toString(), namen[i]);
        return false;
      }
      werte.append(*w);
    }
    gespeichert.append(std::move(werte));
  }
  const QString sql = QStringLiteral("INSERT INTO ") + tabelle + QStringLiteral(" (") +
                      namen.join(u", ") + QStringLiteral(") VALUES (") +
                      QStringList(namen.size(), QStringLiteral("?")).join(u", ") + u')';
  return m_verbindung->schreibenJeZeile(sql, gespeichert, &m_fehler);
}

bool Datenbank::ersteZeilenAendern(const QList<Abfrage>& auswahlen, const QString& spalte,
                                   const QVariant& wert, QList<int>* geaendert) {
  m_fehler.clear();
  if (geaendert)
    geaendert->clear();
  if (!m_verbindung) {
    m_fehler =
        QStringLiteral("Die Datei „%1“ ist nicht geöffnet.").arg(QDir::toNativeSeparators(m_pfad));
    return false;
  }
  if (auswahlen.isEmpty())
    return true;
  const QString tabelle = auswahlen.first().tabelle();
  const QString auswahlSql = auswahlen.first().ersteZeileSql();
  const QString name = auswahlSql.isEmpty() ? QString()
                                            : spalteDerTabelle(*m_verbindung, tabelle, spalte);
  if (name.isEmpty()) {
    m_fehler = QStringLiteral("Die Tabelle „%1“ hat keine Spalte „%2“.").arg(tabelle, spalte);
    return false;
  }
  const auto neu = Umwandlung::speicherwert(Umwandlung::art(name), wert);
  if (!neu) {
    m_fehler =
        QStringLiteral("Der Wert „%1“ passt nicht in die Spalte „%2“.").arg(wert.toString(), name);
    return false;
  }
  QList<QVariantList> zeilen;
  zeilen.reserve(auswahlen.size());
  for (const Abfrage& a : auswahlen) {
    if (a.ersteZeileSql() != auswahlSql) {
      m_fehler = QStringLiteral("Ungültige Abfrage.");
      return false;
    }
    zeilen.append(QVariantList{*neu} + a.werte());
  }
  return m_verbindung->schreibenJeZeile(QStringLiteral("UPDATE ") + tabelle +
                                            QStringLiteral(" SET ") + name +
                                            QStringLiteral(" = ? WHERE rowid = (") + auswahlSql +
                                            u')',
                                        zeilen, &m_fehler, geaendert);
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
