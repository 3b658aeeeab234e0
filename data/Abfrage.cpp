#include "Abfrage.h"

#include "Textvergleich.h"
#include "Umwandlung.h"

#include <algorithm>

Abfrage::Abfrage(const QString& tabelle, const QStringList& spalten)
    : m_tabelle(tabelle), m_spalten(spalten) {}

Abfrage& Abfrage::wo(const QString& spalte, const QVariant& wert) {
  return wo(Bedingung::gleich(spalte, wert));
}

Abfrage& Abfrage::wie(const QString& spalte, const QString& muster) {
  return wo(Bedingung::wie(spalte, muster));
}

Abfrage& Abfrage::wo(const Bedingung& bedingung) {
  m_bedingungen.append(bedingung);
  return *this;
}

Abfrage& Abfrage::sortiert(const QStringList& spalten) {
  m_sortierung = spalten;
  return *this;
}

bool Abfrage::istName(const QString& name) {
  if (name.isEmpty())
    return false;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    const bool buchstabe = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    const bool ziffer = c >= u'0' && c <= u'9';
    if (!buchstabe && !(ziffer && i > 0))
      return false;
  }
  return true;
}

bool Abfrage::gueltig() const {
  if (!istName(m_tabelle))
    return false;
  for (const QString& s : m_spalten) {
    if (!istName(s))
      return false;
  }
  for (const Bedingung& b : m_bedingungen) {
    if (!istName(b.spalte))
      return false;
  }
  for (const QString& s : m_sortierung) {
    if (!istName(s))
      return false;
  }
  return true;
}

QList<Bedingung> Abfrage::reihenfolge() const {
  // Numbers and dates before texts: the engine tests them first, and most rows fail there
  // without a text comparison.
  QList<Bedingung> liste = m_bedingungen;
  std::stable_partition(liste.begin(), liste.end(), [](const Bedingung& b) {
    return b.vergleich == Vergleich::Gleich &&
           Umwandlung::art(b.spalte) != Umwandlung::Spaltenart::Text;
  });
  return liste;
}

QString Abfrage::wherePart() const {
  QString sql;
  for (const Bedingung& b : reihenfolge()) {
    sql += sql.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
    sql += b.spalte;
    if (b.vergleich == Vergleich::Wie)
      sql += QStringLiteral(" LIKE ?");
    else if (Umwandlung::art(b.spalte) == Umwandlung::Spaltenart::Text)
      sql += QStringLiteral(" = ? COLLATE ") + QLatin1String(Textvergleich::Kollation);
    else
      sql += QStringLiteral(" = ?");
  }
  return sql;
}

QString Abfrage::orderPart() const {
  QString sql;
  for (const QString& s : m_sortierung) {
    sql += sql.isEmpty() ? QStringLiteral(" ORDER BY ") : QStringLiteral(", ");
    sql += s;
    if (Umwandlung::art(s) == Umwandlung::Spaltenart::Text)
      sql += QStringLiteral(" COLLATE ") + QLatin1String(Textvergleich::Kollation);
  }
  return sql;
}

QString Abfrage::sql() const {
  if (!gueltig())
    return {};
  const QString spalten = m_spalten.isEmpty() ? QStringLiteral("*") : m_spalten.join(u", ");
  return QStringLiteral("SELECT ") + spalten + QStringLiteral(" FROM ") + m_tabelle + wherePart() +
         orderPart();
}

QString Abfrage::leseSql() const {
  if (!gueltig())
    return {};
  const QString spalten = m_spalten.isEmpty() ? QStringLiteral("*") : m_spalten.join(u", ");
  return QStringLiteral("SELECT rowid, ") + spalten + QStringLiteral(" FROM ") + m_tabelle +
         wherePart() + orderPart();
}

QString Abfrage::ersteZeileSql() const {
  if (!gueltig())
    return {};
  return QStringLiteral("SELECT rowid FROM ") + m_tabelle + wherePart() + orderPart() +
         QStringLiteral(" LIMIT 1");
}

QString Abfrage::anzahlSql() const {
  if (!gueltig())
    return {};
  return QStringLiteral("SELECT count(*) FROM ") + m_tabelle + wherePart();
}

QString Abfrage::loeschSql() const {
  if (!gueltig())
    return {};
  return QStringLiteral("DELETE FROM ") + m_tabelle + wherePart();
}

QVariantList Abfrage::werte() const {
  QVariantList werte;
  werte.reserve(m_bedingungen.size());
  for (const Bedingung& b : reihenfolge())
    werte.append(b.gebundenerWert());
  return werte;
}
