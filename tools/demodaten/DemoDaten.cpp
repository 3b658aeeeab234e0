#include "DemoDaten.h"

#include "Kennwortkodierung.h"
#include "Registry.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace DemoDaten {
namespace {

bool fehlerSetzen(QString* fehler, const QString& text) {
  if (fehler)
    *fehler = text;
  return false;
}

// SQL literal of a text; the demo data is fixed, but the coded passwords hold any character.
QString literal(const QString& text) {
  QString t = text;
  return u'\'' + t.replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString demoSql(const QString& benutzer) {
  const bool anna = benutzer == u"Anna";
  QString sql = QStringLiteral(R"(
INSERT INTO Konten VALUES ('Girokonto', 'EUR', '2020-01-01');
INSERT INTO Konten VALUES ('Sparkonto', 'EUR', '2024-01-01');
INSERT INTO Konten VALUES ('Dollarkonto', 'USD', '2025-07-01');
INSERT INTO Kategorien VALUES ('Auto', 'Auto', 0);
INSERT INTO Kategorien VALUES ('Auto', 'Benzin', 0);
INSERT INTO Kategorien VALUES ('Auto', 'Reparatur', -1);
INSERT INTO Kategorien VALUES ('Auto', 'Versicherung Kfz', -1);
INSERT INTO Kategorien VALUES ('Haushalt', 'Haushalt', 0);
INSERT INTO Kategorien VALUES ('Haushalt', 'Lebensmittel', 0);
INSERT INTO Kategorien VALUES ('Haushalt', 'Drogerie', 0);
INSERT INTO Kategorien VALUES ('Haushalt', 'Einrichtung', 0);
INSERT INTO Kategorien VALUES ('Wohnen', 'Wohnen', -1);
INSERT INTO Kategorien VALUES ('Wohnen', 'Miete', -1);
INSERT INTO Kategorien VALUES ('Wohnen', 'Strom', -1);
INSERT INTO Kategorien VALUES ('Wohnen', 'Telefon', 0);
INSERT INTO Kategorien VALUES ('Freizeit', 'Freizeit', 0);
INSERT INTO Kategorien VALUES ('Freizeit', 'Kino', 0);
INSERT INTO Kategorien VALUES ('Freizeit', 'Urlaub', 0);
INSERT INTO Kategorien VALUES ('Einkommen', 'Einkommen', -1);
INSERT INTO Kategorien VALUES ('Einkommen', 'Gehalt', -1);
INSERT INTO Kategorien VALUES ('Einkommen', 'Zinsen', -1);
INSERT INTO Verwendung VALUES ('Miete');
INSERT INTO Verwendung VALUES ('Mobilfunk');
INSERT INTO Verwendung VALUES ('Tanken');
INSERT INTO Verwendung VALUES ('Wocheneinkauf');
INSERT INTO Adressen VALUES (0, 'Stadtwerke');
INSERT INTO Adressen VALUES (0, 'Supermarkt am Markt');
INSERT INTO Adressen VALUES (0, 'Tankstelle Nord');
INSERT INTO Adressen VALUES (0, 'Wohnbau GmbH');
INSERT INTO Adressen VALUES (0, 'Arbeitgeber AG');
INSERT INTO Adressen VALUES (0, 'Möbelhaus Öztürk');
)");
  if (anna) {
    sql += QStringLiteral(R"(
INSERT INTO Buchungen VALUES (1, 'Girokonto', 'Einnahme', '2026-11-27', 2450, 'EUR', 2450, 0, '', 'Arbeitgeber AG', 'Gehalt', 'Gehalt November', NULL, NULL);
INSERT INTO Buchungen VALUES (2, 'Girokonto', 'Ausgabe', '2026-12-01', 780, 'EUR', 0, 780, 'Wohnbau GmbH', '', 'Miete', 'Miete', 0, NULL);
INSERT INTO Buchungen VALUES (3, 'Girokonto', 'Ausgabe', '2026-12-02', 64.37, 'EUR', 0, 64.37, 'Supermarkt am Markt', '', 'Lebensmittel', 'Wocheneinkauf', 0, NULL);
INSERT INTO Buchungen VALUES (4, 'Girokonto', 'Ausgabe', '2026-12-03', 52.1, 'EUR', 0, 52.1, 'Tankstelle Nord', '', 'Benzin', 'Tanken', 0, NULL);
INSERT INTO Buchungen VALUES (5, 'Dollarkonto', 'Ausgabe', '2026-12-04', 16, 'CHF', 0, 11, '', '', 'Urlaub', 'Bergbahn', 0, NULL);
)");
  }
  return sql;
}

}  // namespace

QString schemaText(Schema schema) {
  QFile f(schema == Schema::Daten ? QStringLiteral(":/schema/daten.sql")
                                  : QStringLiteral(":/schema/haushaltsbuch.sql"));
  if (!f.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(f.readAll());
}

bool sqlAusfuehren(const QString& pfad, const QString& sql, QString* fehler) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(QFile::encodeName(pfad).constData(), &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    const QString text = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return fehlerSetzen(fehler, text);
  }
  sqlite3_busy_timeout(db, 5000);
  char* meldung = nullptr;
  const QByteArray utf8 = (QStringLiteral("BEGIN IMMEDIATE;") + sql + QStringLiteral(";COMMIT;")).toUtf8();
  const int rc = sqlite3_exec(db, utf8.constData(), nullptr, nullptr, &meldung);
  QString text;
  if (rc != SQLITE_OK) {
    text = QString::fromUtf8(meldung ? meldung : sqlite3_errmsg(db));
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  sqlite3_free(meldung);
  sqlite3_close(db);
  return rc == SQLITE_OK || fehlerSetzen(fehler, text);
}

bool leereDatei(const QString& pfad, Schema schema, QString* fehler) {
  if (QFile::exists(pfad))
    return fehlerSetzen(fehler, QStringLiteral("Die Datei %1 gibt es schon.").arg(pfad));
  const QString sql = schemaText(schema);
  if (sql.isEmpty())
    return fehlerSetzen(fehler, QStringLiteral("Das Datenbankschema fehlt."));
  return sqlAusfuehren(pfad, sql, fehler);
}

bool ersteDatendatei(const QString& pfad, QString* fehler) {
  return leereDatei(pfad, Schema::Daten, fehler) &&
         sqlAusfuehren(pfad,
                       QStringLiteral("INSERT INTO Wechselkurs VALUES ('EUR', 1, -1);"
                                      "INSERT INTO Versicherung VALUES ('EUR');"),
                       fehler);
}

bool demoDateien(const QString& ordner, QString* fehler) {
  const QDir dir(ordner);
  for (const char* name : {"Daten.mdb", "Anna.mdb", "Ben.mdb"})
    QFile::remove(dir.filePath(QString::fromLatin1(name)));
  const QString daten = dir.filePath(QStringLiteral("Daten.mdb"));
  if (!leereDatei(daten, Schema::Daten, fehler))
    return false;
  QString sql = QStringLiteral(
      "INSERT INTO Wechselkurs VALUES ('EUR', 1, -1);"
      "INSERT INTO Wechselkurs VALUES ('USD', 1.1, -1);"
      "INSERT INTO Wechselkurs VALUES ('CHF', 1.6, -1);"
      "INSERT INTO Wechselkurs VALUES ('GBP', 0.85, 0);"
      "INSERT INTO Versicherung VALUES ('EUR');");
  for (const auto& [name, kennwort] : {std::pair{u"Anna", u"anna"}, std::pair{u"Ben", u"ben"}}) {
    sql += QStringLiteral("INSERT INTO Benutzer VALUES (%1, %2);")
               .arg(literal(QString::fromUtf16(name)),
                    literal(KennwortKodieren(QString::fromUtf16(kennwort)).value_or(QString())));
  }
  if (!sqlAusfuehren(daten, sql, fehler))
    return false;
  for (const auto& [name, kennwort] : {std::pair{u"Anna", u"anna"}, std::pair{u"Ben", u"ben"}}) {
    const QString benutzer = QString::fromUtf16(name);
    const QString buch = dir.filePath(benutzer + QStringLiteral(".mdb"));
    if (!leereDatei(buch, Schema::Haushaltsbuch, fehler) ||
        !sqlAusfuehren(buch,
                       demoSql(benutzer) +
                           QStringLiteral("INSERT INTO Benutzer VALUES (%1, %2);")
                               .arg(literal(benutzer), literal(QString::fromUtf16(kennwort))),
                       fehler))
      return false;
  }
  return true;
}

namespace {

struct Einstellung {
  QString schluessel, name, text;
};

QList<Einstellung> demoWerte() {
  const QString anna = ProduktSchluessel + QStringLiteral("\\Anna");
  const QString ben = ProduktSchluessel + QStringLiteral("\\Ben");
  QList<Einstellung> alle = {
      {ProduktSchluessel, QStringLiteral("Kennwort"), QStringLiteral("0")},
      {ProduktSchluessel, QStringLiteral("Standard"), QStringLiteral("1")},
      {ProduktSchluessel, QStringLiteral("Benutzer"), QStringLiteral("Anna")},
      {anna, QStringLiteral("ID"), QStringLiteral("5")},
      {ben, QStringLiteral("ID"), QStringLiteral("0")},
  };
  for (const QString& k : {anna, ben}) {
    alle.append({k, QStringLiteral("Schema"), QStringLiteral("Standard")});
    alle.append({k, QStringLiteral("RowColorEven"), QStringLiteral("&H00E0E0E0&")});
    alle.append({k, QStringLiteral("RowColorOdd"), QStringLiteral("&H00A5E3F5&")});
    alle.append({k, QStringLiteral("Sprache"), QStringLiteral("Deutsch")});
    alle.append({k, QStringLiteral("Zamlotipp"), QStringLiteral("1")});
  }
  return alle;
}

}  // namespace

bool demoEinstellungen(QString* fehler) {
  for (const Einstellung& w : demoWerte()) {
    if (const qint32 status = RegistrySchreiben(HKCU, w.schluessel, w.name, w.text); status != 0)
      return fehlerSetzen(fehler, QStringLiteral("Einstellung %1 nicht geschrieben (Fehler %2).")
                                      .arg(w.name)
                                      .arg(status));
  }
  return true;
}

QStringList abweichendeEinstellungen() {
  QStringList namen;
  for (const Einstellung& w : demoWerte()) {
    const QVariant wert = RegistryLesen(HKCU, w.schluessel, w.name);
    if (wert.typeId() != QMetaType::QString || wert.toString() != w.text) {
      const QString unter = w.schluessel.section(u'\\', -1);
      namen.append(w.schluessel == ProduktSchluessel ? w.name : unter + u'\\' + w.name);
    }
  }
  return namen;
}

}  // namespace DemoDaten
