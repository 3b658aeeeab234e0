#include "Buchungsleser.h"

#include "Textvergleich.h"
#include "Umwandlung.h"
#include "Verbindung.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace {

// The columns in Buchungsspalte order, after the rowid.
const QString Spalten =
    u"rowid, ID, Datum, KontoName, Buchung, Empfaenger, Auftraggeber, Kategorie, "
    "Verwendungszweck, Betrag, Waehrung, Einnahme, Ausgabe, Versicherung"_s;
const QString Reihenfolge = u" ORDER BY Datum DESC, ID DESC, rowid DESC"_s;
const QString Kollation = QLatin1String(Textvergleich::Kollation);
// Rows read by number in one statement; a shorter list is filled up with its first number.
constexpr int ZeilenJeAbfrage = 200;

// "%text%" for LIKE with "\" as its escape, so that "%" and "_" typed are plain characters.
QString enthaeltMuster(const QString& text) {
  QString muster;
  for (const QChar c : text) {
    if (c == u'%' || c == u'_' || c == u'\\')
      muster += u'\\';
    muster += c;
  }
  return u'%' + muster + u'%';
}

// The WHERE part of a filter and its values.
QString wherePart(const Buchungsfilter& f, bool mitMonat, QVariantList& werte) {
  QStringList teile;
  if (mitMonat && f.monat.isValid()) {
    const QDate erster(f.monat.year(), f.monat.month(), 1);
    teile.append(u"Datum >= ? AND Datum < ?"_s);
    werte << erster.toString(Qt::ISODate) << erster.addMonths(1).toString(Qt::ISODate);
  }
  if (!f.konto.isEmpty()) {
    teile.append(u"KontoName = ? COLLATE "_s + Kollation);
    werte << f.konto;
  }
  if (!f.kategorien.isEmpty()) {
    teile.append(u"Kategorie COLLATE "_s + Kollation + u" IN ("_s +
                 QStringList(f.kategorien.size(), u"?"_s).join(u", ") + u')');
    for (const QString& k : f.kategorien)
      werte << k;
  }
  if (!f.text.isEmpty()) {
    const QString muster = enthaeltMuster(f.text);
    teile.append(
        u"(Verwendungszweck LIKE ? ESCAPE '\\' OR Empfaenger LIKE ? ESCAPE '\\' OR "
        "Auftraggeber LIKE ? ESCAPE '\\')"_s);
    werte << muster << muster << muster;
  }
  return teile.isEmpty() ? QString() : u" WHERE "_s + teile.join(u" AND ");
}

QVariantList alsBuchung(const QVariantList& gelesen) {
  static const QStringList namen = Spalten.split(u", "_s);
  QVariantList zeile;
  zeile.reserve(gelesen.size());
  for (qsizetype i = 0; i < gelesen.size(); ++i)
    zeile.append(Umwandlung::lesewert(Umwandlung::art(namen[i]), gelesen[i]));
  return zeile;
}

}  // namespace

Buchungsleser::Buchungsleser(const Datenbank& buch) : m_buch(buch) {}

bool Buchungsleser::lesen(const QString& sql, const QVariantList& werte,
                          const std::function<void(const QVariantList&)>& zeile) {
  m_fehler.clear();
  const auto& verbindung = m_buch.verbindung();
  if (!verbindung) {
    m_fehler =
        m_buch.fehler().isEmpty() ? u"Das Haushaltsbuch ist nicht geöffnet."_s : m_buch.fehler();
    return false;
  }
  QSqlQuery q(QSqlDatabase::database(verbindung->name(), false));
  q.setForwardOnly(true);
  bool ok = q.prepare(sql);
  for (qsizetype i = 0; ok && i < werte.size(); ++i)
    q.bindValue(int(i), werte[i]);
  ok = ok && q.exec();
  if (ok) {
    const int anzahl = q.record().count();
    QVariantList werteDerZeile;
    while (q.next()) {
      werteDerZeile.clear();
      for (int i = 0; i < anzahl; ++i)
        werteDerZeile.append(q.value(i));
      zeile(werteDerZeile);
    }
    ok = !q.lastError().isValid();
  }
  if (!ok)
    m_fehler =
        verbindung->grund(q.lastError().nativeErrorCode().toInt(), q.lastError().databaseText());
  q.finish();
  return ok;
}

bool Buchungsleser::zeilennummern(const Buchungsfilter& filter, QList<qint64>& aus) {
  aus.clear();
  QVariantList werte;
  const QString sql =
      u"SELECT rowid FROM Buchungen"_s + wherePart(filter, true, werte) + Reihenfolge;
  const bool ok = lesen(sql, werte, [&](const QVariantList& z) { aus.append(z[0].toLongLong()); });
  if (!ok)
    aus.clear();
  return ok;
}

bool Buchungsleser::zeilen(const QList<qint64>& nummern, QHash<qint64, QVariantList>& aus) {
  static const QString sql = u"SELECT "_s + Spalten + u" FROM Buchungen WHERE rowid IN ("_s +
                             QStringList(ZeilenJeAbfrage, u"?"_s).join(u", ") + u')';
  for (qsizetype von = 0; von < nummern.size(); von += ZeilenJeAbfrage) {
    QVariantList werte;
    for (qsizetype i = von; i < von + ZeilenJeAbfrage; ++i)
      werte.append(nummern[i < nummern.size() ? i : von]);
    if (!lesen(sql, werte,
               [&](const QVariantList& z) { aus.insert(z[0].toLongLong(), alsBuchung(z)); }))
      return false;
  }
  return true;
}

bool Buchungsleser::summen(const QString& gruppe, const Buchungsfilter& filter, bool jeKonto,
                           QList<Gruppensumme>& aus) {
  aus.clear();
  QVariantList werte;
  const bool mitMonat = gruppe != u"substr(Datum, 1, 7)";
  // Grouped by the texts as stored: letter-case variants are merged by the caller, which knows
  // the accounts and categories they belong to.
  const QString sql = u"SELECT "_s + gruppe + (jeKonto ? u", KontoName"_s : u", ''"_s) +
                      u", count(*), total(Einnahme), total(Ausgabe) FROM Buchungen"_s +
                      wherePart(filter, mitMonat, werte) + u" GROUP BY 1, 2"_s;
  return lesen(sql, werte, [&](const QVariantList& z) {
    aus.append({z[0].toString(), z[1].toString(), z[2].toInt(), z[3].toDouble(), z[4].toDouble()});
  });
}

bool Buchungsleser::summenJeMonat(const Buchungsfilter& filter, bool jeKonto,
                                  QList<Gruppensumme>& aus) {
  return summen(u"substr(Datum, 1, 7)"_s, filter, jeKonto, aus);
}

bool Buchungsleser::summenJeKategorie(const Buchungsfilter& filter, bool jeKonto,
                                      QList<Gruppensumme>& aus) {
  return summen(u"Kategorie"_s, filter, jeKonto, aus);
}

bool Buchungsleser::buchungenJeKonto(QHash<QString, int>& aus) {
  aus.clear();
  return lesen(u"SELECT KontoName, count(*) FROM Buchungen GROUP BY KontoName"_s, {},
               [&](const QVariantList& z) { aus.insert(z[0].toString(), z[1].toInt()); });
}

bool Buchungsleser::alle(const Buchungsfilter& filter,
                         const std::function<void(const QVariantList&)>& zeile) {
  QVariantList werte;
  const QString sql =
      u"SELECT "_s + Spalten + u" FROM Buchungen"_s + wherePart(filter, true, werte) + Reihenfolge;
  return lesen(sql, werte, [&](const QVariantList& z) { zeile(alsBuchung(z)); });
}

std::optional<qint64> Buchungsleser::datenstand() {
  std::optional<qint64> stand;
  if (!lesen(u"PRAGMA data_version"_s, {},
             [&](const QVariantList& z) { stand = z[0].toLongLong(); }))
    return std::nullopt;
  return stand;
}
