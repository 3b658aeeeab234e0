#include "Datensatzquelle.h"

#include "Textvergleich.h"

#include "Umwandlung.h"
#include "Verbindung.h"
#include "Zustand.h"

#include <QDir>

bool Datensatzquelle::verbinden(const QString& pfad) {
  m_pfad = pfad;
  m_db = Datenbank::oeffnen(pfad);
  m_fehler = m_db.fehler();
  aktualisieren();
  return m_db.offen();
}

void Datensatzquelle::verbinden(const Datenbank& db) {
  m_pfad = db.pfad();
  m_db = db;
  m_fehler.clear();
  aktualisieren();
}

void Datensatzquelle::schliessen() {
  m_db.schliessen();
  m_modus = Modus::Keiner;
}

bool Datensatzquelle::sicherstellen() {
  if (m_db.offen())
    return true;
  if (m_pfad.isEmpty()) {
    m_fehler = QStringLiteral("Die Datenquelle ist an keine Datei gebunden.");
    return false;
  }
  m_db = Datenbank::oeffnen(m_pfad);
  m_fehler = m_db.fehler();
  return m_db.offen();
}

Datenbank& Datensatzquelle::datenbank() {
  sicherstellen();
  return m_db;
}

void Datensatzquelle::abfrageSetzen(const Abfrage& abfrage) {
  m_abfrage = abfrage;
  zustand().SqlText = abfrage.sql();
  aktualisieren();
}

void Datensatzquelle::aktualisieren() {
  m_geladen = false;
  m_spalten.clear();
  m_index.clear();
  m_zeilen.clear();
  m_zeilennummern.clear();
  m_position = 0;
  m_modus = Modus::Keiner;
}

bool Datensatzquelle::laden() {
  if (m_geladen)
    return true;
  m_geladen = true;
  if (!m_abfrage.gueltig()) {
    m_fehler = QStringLiteral("Die Datenquelle hat keine gültige Abfrage.");
    return false;
  }
  if (!sicherstellen())
    return false;
  QStringList spalten;
  if (!m_db.verbindung()->lesen(m_abfrage.leseSql(), m_abfrage.werte(), spalten, m_zeilen,
                                &m_fehler))
    return false;
  // Column 0 is the rowid, which edits are stored by.
  spalten.removeFirst();
  m_spalten = spalten;
  QList<Umwandlung::Spaltenart> arten;
  for (int i = 0; i < m_spalten.size(); ++i) {
    m_index.insert(m_spalten[i].toLower(), i);
    arten.append(Umwandlung::art(m_spalten[i]));
  }
  m_zeilennummern.reserve(m_zeilen.size());
  for (QVariantList& zeile : m_zeilen) {
    m_zeilennummern.append(zeile.takeFirst().toLongLong());
    for (int i = 0; i < zeile.size(); ++i)
      zeile[i] = Umwandlung::lesewert(arten[i], zeile[i]);
  }
  m_fehler.clear();
  return true;
}

int Datensatzquelle::spaltenIndex(const QString& spalte) const {
  // Callers name a column as the table spells it, row after row: found without a lower-case copy.
  for (int i = 0; i < m_spalten.size(); ++i) {
    if (m_spalten[i] == spalte)
      return i;
  }
  return m_index.value(spalte.toLower(), -1);
}

void Datensatzquelle::ersteZeile() {
  laden();
  m_position = 0;
}

void Datensatzquelle::letzteZeile() {
  laden();
  m_position = m_zeilen.isEmpty() ? 0 : int(m_zeilen.size()) - 1;
}

void Datensatzquelle::naechsteZeile() {
  laden();
  if (m_position < m_zeilen.size())
    ++m_position;
}

bool Datensatzquelle::eof() {
  laden();
  return m_position >= m_zeilen.size();
}

int Datensatzquelle::anzahl() {
  if (m_geladen)
    return int(m_zeilen.size());
  if (!m_abfrage.gueltig() || !sicherstellen())
    return 0;
  const auto n = m_db.verbindung()->einzelwert(m_abfrage.anzahlSql(), m_abfrage.werte(), &m_fehler);
  return n ? n->toInt() : 0;
}

bool Datensatzquelle::finden(const Bedingung& bedingung) {
  laden();
  const int spalte = spaltenIndex(bedingung.spalte);
  if (spalte < 0)
    return false;
  const Bedingung::Pruefung pruefung(bedingung);
  for (int i = 0; i < m_zeilen.size(); ++i) {
    if (pruefung.trifftZu(m_zeilen[i][spalte])) {
      m_position = i;
      return true;
    }
  }
  return false;
}

QHash<QString, int> Datensatzquelle::ersteZeilen(const QString& spalte) {
  laden();
  QHash<QString, int> zeilen;
  const int s = spaltenIndex(spalte);
  if (s < 0 || Umwandlung::art(spalte) != Umwandlung::Spaltenart::Text)
    return zeilen;
  zeilen.reserve(m_zeilen.size());
  for (int i = 0; i < m_zeilen.size(); ++i) {
    const QVariant& gelesen = m_zeilen[i][s];
    if (!gelesen.isValid())
      continue;
    // As Bedingung::Pruefung compares: a text as read, anything else in its stored text form.
    QString text;
    if (gelesen.typeId() == QMetaType::QString) {
      text = gelesen.toString();
      if (text.isNull())
        continue;
    } else {
      const auto gespeichert = Umwandlung::speicherwert(Umwandlung::Spaltenart::Text, gelesen);
      if (!gespeichert || gespeichert->typeId() != QMetaType::QString)
        continue;
      text = gespeichert->toString();
    }
    const QString k = Textvergleich::schluessel(text);
    if (!zeilen.contains(k))
      zeilen.insert(k, i);
  }
  return zeilen;
}

QVariant Datensatzquelle::wert(const QString& spalte) {
  if (eof())
    return {};
  return wert(m_position, spaltenIndex(spalte));
}

QStringList Datensatzquelle::spalten() {
  laden();
  return m_spalten;
}

int Datensatzquelle::zeilenAnzahl() {
  laden();
  return int(m_zeilen.size());
}

QVariant Datensatzquelle::wert(int zeile, int spalte) {
  laden();
  if (zeile < 0 || zeile >= m_zeilen.size() || spalte < 0 || spalte >= m_spalten.size())
    return {};
  return m_zeilen[zeile][spalte];
}

void Datensatzquelle::neu() {
  m_modus = Modus::Neu;
  m_aenderungen.clear();
}

bool Datensatzquelle::bearbeiten() {
  m_aenderungen.clear();
  if (eof()) {
    m_modus = Modus::Keiner;
    m_fehler = QStringLiteral("Es gibt keine aktuelle Zeile zum Bearbeiten.");
    return false;
  }
  m_modus = Modus::Bearbeiten;
  return true;
}

bool Datensatzquelle::setzen(const QString& spalte, const QVariant& wert) {
  if (m_modus == Modus::Keiner) {
    m_fehler = QStringLiteral("Es wird keine Zeile angelegt oder bearbeitet.");
    return false;
  }
  if (!m_abfrage.gueltig() || !sicherstellen())
    return false;
  // Only names the table has reach the SQL text.
  const QStringList spalten = m_db.verbindung()->spaltenDerTabelle(m_abfrage.tabelle());
  const auto name = std::find_if(spalten.begin(), spalten.end(), [&](const QString& s) {
    return s.compare(spalte, Qt::CaseInsensitive) == 0;
  });
  if (name == spalten.end()) {
    m_fehler =
        QStringLiteral("Die Tabelle „%1“ hat keine Spalte „%2“.").arg(m_abfrage.tabelle(), spalte);
    return false;
  }
  const auto gespeichert = Umwandlung::speicherwert(Umwandlung::art(*name), wert);
  if (!gespeichert) {
    m_fehler =
        QStringLiteral("Der Wert „%1“ passt nicht in die Spalte „%2“.").arg(wert.toString(), *name);
    return false;
  }
  for (auto& [s, w] : m_aenderungen) {
    if (s == *name) {
      w = *gespeichert;
      return true;
    }
  }
  m_aenderungen.append({*name, *gespeichert});
  return true;
}

bool Datensatzquelle::speichern() {
  const Modus modus = m_modus;
  const QList<QPair<QString, QVariant>> aenderungen = std::move(m_aenderungen);
  m_modus = Modus::Keiner;
  m_aenderungen.clear();
  if (modus == Modus::Keiner) {
    m_fehler = QStringLiteral("Es wird keine Zeile angelegt oder bearbeitet.");
    return false;
  }
  if (!m_abfrage.gueltig()) {
    m_fehler = QStringLiteral("Die Datenquelle hat keine gültige Abfrage.");
    return false;
  }
  if (!sicherstellen())
    return false;
  QStringList namen;
  QVariantList werte;
  for (const auto& [s, w] : aenderungen) {
    namen.append(s);
    werte.append(w);
  }
  const QString tabelle = m_abfrage.tabelle();
  if (modus == Modus::Neu) {
    QString sql = QStringLiteral("INSERT INTO ") + tabelle;
    if (namen.isEmpty()) {
      sql += QStringLiteral(" DEFAULT VALUES");
    } else {
      sql += QStringLiteral(" (") + namen.join(u", ") + QStringLiteral(") VALUES (") +
             QStringList(namen.size(), QStringLiteral("?")).join(u", ") + u')';
    }
    if (!m_db.verbindung()->schreiben(sql, werte, &m_fehler))
      return false;
    // The new row belongs to the source's rows from the next read on.
    if (m_geladen)
      aktualisieren();
    m_fehler.clear();
    return true;
  }
  if (m_position >= m_zeilen.size()) {
    m_fehler = QStringLiteral("Es gibt keine aktuelle Zeile zum Bearbeiten.");
    return false;
  }
  if (namen.isEmpty())
    return true;
  QStringList zuweisungen;
  for (const QString& n : namen)
    zuweisungen.append(n + QStringLiteral(" = ?"));
  werte.append(m_zeilennummern[m_position]);
  int geaendert = 0;
  if (!m_db.verbindung()->schreiben(QStringLiteral("UPDATE ") + tabelle + QStringLiteral(" SET ") +
                                        zuweisungen.join(u", ") +
                                        QStringLiteral(" WHERE rowid = ?"),
                                    werte, &m_fehler, &geaendert))
    return false;
  if (geaendert == 0) {
    m_fehler = QStringLiteral("Die Zeile gibt es in der Datei „%1“ nicht mehr.")
                   .arg(QDir::toNativeSeparators(m_pfad));
    return false;
  }
  for (const auto& [s, w] : aenderungen) {
    const int i = spaltenIndex(s);
    if (i >= 0)
      m_zeilen[m_position][i] = Umwandlung::lesewert(Umwandlung::art(s), w);
  }
  m_fehler.clear();
  return true;
}

void Datensatzquelle::abbrechen() {
  m_modus = Modus::Keiner;
  m_aenderungen.clear();
}
