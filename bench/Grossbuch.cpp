#include "Grossbuch.h"

#include "DemoDaten.h"

#include <sqlite3.h>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QSet>
#include <cmath>
#include <functional>
#include <random>

using namespace Qt::StringLiterals;

namespace Grossbuch {
namespace {

// std::mt19937's sequence is fixed by the standard (the distributions are not): the same book on
// every machine.
struct Zufall {
  std::mt19937 rng{20260305u};
  int bis(int n) { return int(rng() % unsigned(n)); }
};

const char* const Silben[] = {
    "ba",  "ber", "bü",  "ca",  "dor",  "el",   "fa",  "gen", "hal", "kä",  "lin", "mar",
    "nor", "ö",   "pe",  "ra",  "sche", "ster", "tal", "ü",   "wer", "zo",  "ma",  "ke",
    "li",  "ro",  "sen", "tau", "ung",  "al",   "bi",  "dü",  "ger", "hof", "ick", "jo",
    "kol", "lu",  "mo",  "nie", "ost",  "pri",  "qua", "rei", "son", "tor", "ur",  "vo"};

QString wort(Zufall& z) {
  QString w;
  const int n = 2 + z.bis(3);
  for (int i = 0; i < n; ++i)
    w += QString::fromUtf8(Silben[z.bis(int(std::size(Silben)))]);
  w[0] = w[0].toUpper();
  return w;
}

// A name not used before (letter case ignored, as the program compares names).
QString neuerName(Zufall& z, QSet<QString>& vergeben, const std::function<QString()>& bilden) {
  for (;;) {
    const QString name = bilden();
    if (!vergeben.contains(name.toCaseFolded())) {
      vergeben.insert(name.toCaseFolded());
      return name;
    }
  }
}

const char* const Waehrungen[] = {"EUR", "USD", "CHF", "GBP", "JPY", "SEK", "NOK", "DKK",
                                  "PLN", "CZK", "HUF", "RON", "BGN", "TRY", "AUD", "CAD",
                                  "NZD", "CNY", "HKD", "SGD", "KRW", "INR", "BRL", "MXN",
                                  "ZAR", "ILS", "THB", "ISK", "PHP", "MYR"};

bool fehlerSetzen(QString* fehler, const QString& text) {
  if (fehler)
    *fehler = text;
  return false;
}

// One file, written in one transaction through prepared statements.
class Schreiber {
 public:
  explicit Schreiber(const QString& pfad) {
    if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &m_db, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK)
      m_fehler = QString::fromUtf8(sqlite3_errmsg(m_db));
    else
      ausfuehren("BEGIN IMMEDIATE");
  }
  ~Schreiber() {
    for (auto* s : m_anweisungen)
      sqlite3_finalize(s);
    sqlite3_close(m_db);
  }

  bool ok() const { return m_fehler.isEmpty(); }
  const QString& fehler() const { return m_fehler; }

  sqlite3_stmt* anweisung(const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (ok() && sqlite3_prepare_v2(m_db, sql, -1, &s, nullptr) != SQLITE_OK)
      m_fehler = QString::fromUtf8(sqlite3_errmsg(m_db));
    m_anweisungen.append(s);
    return s;
  }

  // Binds the values in order (QString as text, int as integer, double as real, invalid as
  // NULL), runs the insert and resets the statement.
  void zeile(sqlite3_stmt* s, std::initializer_list<QVariant> werte) {
    if (!ok() || !s)
      return;
    int i = 1;
    for (const QVariant& w : werte) {
      switch (w.typeId()) {
        case QMetaType::QString: {
          const QByteArray t = w.toString().toUtf8();
          sqlite3_bind_text(s, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
          break;
        }
        case QMetaType::Int:
          sqlite3_bind_int(s, i, w.toInt());
          break;
        case QMetaType::Double:
          sqlite3_bind_double(s, i, w.toDouble());
          break;
        default:
          sqlite3_bind_null(s, i);
      }
      ++i;
    }
    if (sqlite3_step(s) != SQLITE_DONE)
      m_fehler = QString::fromUtf8(sqlite3_errmsg(m_db));
    sqlite3_reset(s);
  }

  bool abschliessen() {
    ausfuehren("COMMIT");
    return ok();
  }

 private:
  void ausfuehren(const char* sql) {
    if (ok() && sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
      m_fehler = QString::fromUtf8(sqlite3_errmsg(m_db));
  }

  sqlite3* m_db = nullptr;
  QList<sqlite3_stmt*> m_anweisungen;
  QString m_fehler;
};

double cent(int n) {
  return n / 100.0;
}

}  // namespace

QStringList verwendungen(const Umfang& umfang) {
  Zufall z;
  z.rng.seed(7u);
  QSet<QString> vergeben;
  QStringList liste;
  liste.reserve(umfang.verwendungen);
  for (int i = 0; i < umfang.verwendungen; ++i)
    liste.append(neuerName(z, vergeben, [&] { return wort(z) + u' ' + wort(z).toLower(); }));
  return liste;
}

bool anlegen(const QString& ordner, const Umfang& umfang, QString* fehler) {
  const QDir dir(ordner);
  const QString daten = dir.filePath(QStringLiteral("Daten.mdb"));
  const QString buch = dir.filePath(Benutzer + QStringLiteral(".mdb"));
  for (const QString& datei : {daten, buch}) {
    QFile::remove(datei);
    QFile::remove(datei + QStringLiteral("-journal"));
  }
  if (!DemoDaten::leereDatei(daten, DemoDaten::Schema::Daten, fehler) ||
      !DemoDaten::leereDatei(buch, DemoDaten::Schema::Haushaltsbuch, fehler))
    return false;

  Zufall z;

  // The shared data file: every fourth currency inactive (never the euro).
  QStringList aktive;
  {
    Schreiber s(daten);
    auto* kurs = s.anweisung("INSERT INTO Wechselkurs (Waehrung, Kurs, Aktiv) VALUES (?, ?, ?)");
    for (int i = 0; i < umfang.waehrungen && i < int(std::size(Waehrungen)); ++i) {
      const QString code = QString::fromLatin1(Waehrungen[i]);
      const bool aktiv = i == 0 || i % 4 != 3;
      if (aktiv)
        aktive.append(code);
      s.zeile(kurs, {code, i == 0 ? 1.0 : 0.5 + z.bis(20000) / 100.0, aktiv ? -1 : 0});
    }
    auto* benutzer = s.anweisung("INSERT INTO Benutzer (Benutzername, Kennwort) VALUES (?, ?)");
    for (const char* name : {"Anton", "Berta", "Clara", "Dora", "Emil"})
      s.zeile(benutzer, {QString::fromLatin1(name), QString()});
    s.zeile(s.anweisung("INSERT INTO Versicherung (Waehrung) VALUES (?)"), {u"EUR"_s});
    if (!s.abschliessen())
      return fehlerSetzen(fehler, s.fehler());
  }

  Schreiber s(buch);

  // Accounts: the first is the euro giro account every test expects first in table order.
  QStringList konten;
  QStringList kontoWaehrung;
  {
    auto* st = s.anweisung("INSERT INTO Konten (KontoName, Waehrung, Datum) VALUES (?, ?, ?)");
    QSet<QString> vergeben;
    for (int i = 0; i < umfang.konten; ++i) {
      const QString name = i == 0 ? QStringLiteral("Girokonto")
                                  : neuerName(z, vergeben, [&] { return u"Konto "_s + wort(z); });
      const QString waehrung = i < umfang.konten / 2 ? u"EUR"_s : aktive[z.bis(int(aktive.size()))];
      konten.append(name);
      kontoWaehrung.append(waehrung);
      s.zeile(st,
              {name, waehrung, QDate(2000, 1, 1).addDays(z.bis(5 * 365)).toString(Qt::ISODate)});
    }
  }

  // Categories: main categories with their own row and their subcategories; names unique over
  // the whole table, as the category dialog keeps them.
  QStringList unterkategorien;
  {
    auto* st =
        s.anweisung("INSERT INTO Kategorien (Kategorie, Unterkategorie, Steuer) VALUES (?, ?, ?)");
    QSet<QString> vergeben{VielKategorie.toCaseFolded(), VerschiebeZiel.toCaseFolded(),
                           u"haushalt"_s};
    for (int h = 0; h < umfang.hauptkategorien; ++h) {
      const QString haupt =
          h == 0 ? u"Haushalt"_s : neuerName(z, vergeben, [&] { return wort(z); });
      s.zeile(st, {haupt, haupt, z.bis(4) == 0 ? -1 : 0});
      unterkategorien.append(haupt);
      for (int u = 0; u < umfang.unterkategorienJeHaupt; ++u) {
        QString unter;
        if (h == 0 && u == 0)
          unter = VielKategorie;
        else if (h == 0 && u == 1)
          unter = VerschiebeZiel;
        else
          unter = neuerName(z, vergeben, [&] { return wort(z) + u' ' + wort(z); });
        s.zeile(st, {haupt, unter, z.bis(4) == 0 ? -1 : 0});
        unterkategorien.append(unter);
      }
    }
  }

  const QStringList zwecke = verwendungen(umfang);
  {
    auto* st = s.anweisung("INSERT INTO Verwendung (Verwendung) VALUES (?)");
    for (const QString& v : zwecke)
      s.zeile(st, {v});
  }

  QStringList adressen;
  {
    auto* st = s.anweisung("INSERT INTO Adressen (ID, Name) VALUES (?, ?)");
    QSet<QString> vergeben;
    const QStringList formen = {u" GmbH"_s, u" AG"_s, u" & Söhne"_s, QString(), QString()};
    for (int i = 0; i < umfang.adressen; ++i) {
      const QString name = neuerName(z, vergeben, [&] {
        return wort(z) + u' ' + wort(z) + formen[z.bis(int(formen.size()))];
      });
      adressen.append(name);
      s.zeile(st, {(i * 7) % 32767, name});
    }
  }

  // Bookings in date order over twenty years; numbers run through the 16-bit counter range, as
  // in a book that has seen the counter wrap. A tenth of them share one category.
  {
    auto* st = s.anweisung(
        "INSERT INTO Buchungen (ID, KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, "
        "Ausgabe, Empfaenger, Auftraggeber, Kategorie, Verwendungszweck, Versicherung, Saldo) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const QDate anfang(2005, 1, 1);
    const int tage = anfang.daysTo(QDate(2025, 12, 31));
    double saldo = 0;
    for (int i = 0; i < umfang.buchungen; ++i) {
      const int konto = z.bis(int(konten.size()));
      const bool einnahme = z.bis(10) == 0;
      const double betrag = cent(100 + z.bis(einnahme ? 400000 : 30000));
      saldo += einnahme ? betrag : -betrag;
      const QString kategorie =
          z.bis(10) == 0 ? VielKategorie : unterkategorien[z.bis(int(unterkategorien.size()))];
      const QString name = adressen[z.bis(int(adressen.size()))];
      s.zeile(st, {i % 32767 + 1, konten[konto], einnahme ? u"Einnahme"_s : u"Ausgabe"_s,
                   anfang.addDays(qint64(i) * tage / umfang.buchungen).toString(Qt::ISODate),
                   betrag, kontoWaehrung[konto], einnahme ? betrag : 0.0, einnahme ? 0.0 : betrag,
                   einnahme ? QString() : name, einnahme ? name : QString(), kategorie,
                   zwecke[z.bis(int(zwecke.size()))],
                   einnahme ? QVariant() : QVariant(z.bis(20) == 0 ? 1 : 0),
                   std::round(saldo * 100) / 100});
    }
  }
  s.zeile(s.anweisung("INSERT INTO Benutzer (Benutzername, Kennwort) VALUES (?, ?)"),
          {Benutzer, QString()});
  if (!s.abschliessen())
    return fehlerSetzen(fehler, s.fehler());
  return true;
}

}  // namespace Grossbuch
