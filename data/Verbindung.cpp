#include "Verbindung.h"

#include "Datenbank.h"
#include "Textvergleich.h"

#include <sqlite3.h>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace {

int fehlercode(const QSqlError& e) {
  bool ok = false;
  const int code = e.nativeErrorCode().toInt(&ok);
  return ok ? code : SQLITE_ERROR;
}

// "file:" URI with mode=rw: the engine opens an existing file and creates none. "?", "#", "%"
// and non-ASCII characters of the path are percent-encoded; a UNC path keeps its two slashes.
QString uriFuer(const QString& pfad) {
  const QString absolut = QFileInfo(pfad).absoluteFilePath();
  const QByteArray kodiert = QUrl::toPercentEncoding(absolut, "/:");
  return QStringLiteral("file:") + QLatin1String(absolut.startsWith(u'/') ? "//" : "///") +
         QString::fromLatin1(kodiert) + QStringLiteral("?mode=rw");
}

QString nachDoppelpunkt(const QString& meldung) {
  const qsizetype i = meldung.lastIndexOf(u':');
  return i < 0 ? QString() : meldung.mid(i + 1).trimmed();
}

}  // namespace

std::shared_ptr<Verbindung> Verbindung::oeffnen(const QString& pfad, QString* fehler) {
  auto setzen = [&](const QString& text) {
    if (fehler)
      *fehler = text;
    return std::shared_ptr<Verbindung>();
  };
  const QString anzeige = QDir::toNativeSeparators(pfad);
  if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
    return setzen(QStringLiteral("Der Datenbanktreiber für SQLite ist nicht installiert."));
  const QFileInfo info(pfad);
  if (pfad.isEmpty() || !info.exists())
    return setzen(QStringLiteral("Die Datei „%1“ wurde nicht gefunden.").arg(anzeige));
  if (!info.isFile())
    return setzen(QStringLiteral("„%1“ ist keine Datenbankdatei.").arg(anzeige));

  static quint64 zaehler = 0;
  std::shared_ptr<Verbindung> v(new Verbindung);
  v->m_pfad = pfad;
  v->m_name = QStringLiteral("velmark-%1").arg(++zaehler);
  v->m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), v->m_name);
  v->m_db.setDatabaseName(uriFuer(pfad));
  v->m_db.setConnectOptions(
      QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(Datenbank::Wartezeit));
  // SQLite has no password; engines that take one get the connect string's.
  v->m_db.setPassword(Datenbank::kennwort());
  if (!v->m_db.open()) {
    const QSqlError e = v->m_db.lastError();
    return setzen(v->grund(fehlercode(e), e.databaseText()));
  }
  const QVariant handle = v->m_db.driver()->handle();
  sqlite3* db = nullptr;
  if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
    db = *static_cast<sqlite3* const*>(handle.constData());
  if (!db || !Textvergleich::registrieren(db))
    return setzen(QStringLiteral("Die Vergleichsregeln für Texte ließen sich nicht einrichten."));
  sqlite3_busy_timeout(db, Datenbank::Wartezeit);
  v->m_roh = db;
  // Reads the file's first page: a file that is no database fails here, before anything writes.
  QString pruefFehler;
  if (!v->einzelwert(QStringLiteral("SELECT count(*) FROM sqlite_master"), {}, &pruefFehler))
    return setzen(pruefFehler);
  return v;
}

Verbindung::~Verbindung() {
  m_anweisungen.clear();
  if (m_db.isValid()) {
    if (m_tiefe > 0 && m_aktiv)
      direkt(QStringLiteral("ROLLBACK"), nullptr);
    m_db.close();
  }
  m_db = QSqlDatabase();
  if (!m_name.isEmpty())
    QSqlDatabase::removeDatabase(m_name);
}

QString Verbindung::grund(int code, const QString& meldung) const {
  const QString datei = QDir::toNativeSeparators(m_pfad);
  switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return QStringLiteral(
                 "Die Datei „%1“ wird gerade von einem anderen Programm bearbeitet "
                 "(gesperrt). Bitte versuchen Sie es gleich noch einmal.")
          .arg(datei);
    case SQLITE_READONLY:
      if (code == SQLITE_READONLY_DBMOVED)
        return QStringLiteral("Die Datei „%1“ wurde verschoben oder gelöscht.").arg(datei);
      return QStringLiteral("Die Datei „%1“ ist schreibgeschützt.").arg(datei);
    case SQLITE_PERM:
    case SQLITE_AUTH:
      return QStringLiteral("Für die Datei „%1“ fehlt die Berechtigung.").arg(datei);
    case SQLITE_IOERR:
      return QStringLiteral("Beim Lesen oder Schreiben der Datei „%1“ ist ein Fehler aufgetreten.")
          .arg(datei);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return QStringLiteral("Die Datei „%1“ ist keine gültige Datenbank oder beschädigt.")
          .arg(datei);
    case SQLITE_FULL:
      return QStringLiteral("Auf dem Datenträger der Datei „%1“ ist kein Platz mehr frei.")
          .arg(datei);
    case SQLITE_CANTOPEN:
      return QStringLiteral(
                 "Die Datei „%1“ oder ihr Ordner lässt sich nicht öffnen oder "
                 "beschreiben.")
          .arg(datei);
    default:
      break;
  }
  if (meldung.startsWith(u"no such table"))
    return QStringLiteral("In der Datei „%1“ fehlt die Tabelle „%2“.")
        .arg(datei, nachDoppelpunkt(meldung));
  if (meldung.startsWith(u"no such column") || meldung.contains(u"has no column named"))
    return QStringLiteral("In der Datei „%1“ fehlt die Spalte „%2“.")
        .arg(datei, meldung.startsWith(u"no such column") ? nachDoppelpunkt(meldung)
                                                          : meldung.section(u' ', -1));
  return QStringLiteral("Die Datenbank meldet für die Datei „%1“ den Fehler Nr. %2.")
      .arg(datei)
      .arg(code);
}

QSqlQuery* Verbindung::anweisung(const QString& sql, QString* fehler) {
  if (auto it = m_anweisungen.find(sql); it != m_anweisungen.end())
    return it->second.get();
  auto q = std::make_unique<QSqlQuery>(m_db);
  q->setForwardOnly(true);
  if (!q->prepare(sql)) {
    if (fehler)
      *fehler = grund(fehlercode(q->lastError()), q->lastError().databaseText());
    return nullptr;
  }
  // A handful of texts are in use at a time; more means texts that are not reused.
  if (m_anweisungen.size() >= 64)
    m_anweisungen.clear();
  return m_anweisungen.emplace(sql, std::move(q)).first->second.get();
}

bool Verbindung::ausfuehren(QSqlQuery* q, const QVariantList& werte, QString* fehler) {
  for (qsizetype i = 0; i < werte.size(); ++i)
    q->bindValue(int(i), werte[i]);
  if (q->exec())
    return true;
  if (fehler)
    *fehler = grund(fehlercode(q->lastError()), q->lastError().databaseText());
  q->finish();
  return false;
}

bool Verbindung::direkt(const QString& sql, QString* fehler) {
  QSqlQuery* q = anweisung(sql, fehler);
  if (!q || !ausfuehren(q, {}, fehler))
    return false;
  q->finish();
  return true;
}

bool Verbindung::lesen(const QString& sql, const QVariantList& werte, QStringList& spalten,
                       QList<QVariantList>& zeilen, QString* fehler) {
  spalten.clear();
  zeilen.clear();
  QSqlQuery* q = anweisung(sql, fehler);
  if (!q || !ausfuehren(q, werte, fehler))
    return false;
  const QSqlRecord satz = q->record();
  const int anzahl = satz.count();
  for (int i = 0; i < anzahl; ++i)
    spalten.append(satz.fieldName(i));
  while (q->next()) {
    QVariantList zeile;
    zeile.reserve(anzahl);
    for (int i = 0; i < anzahl; ++i)
      zeile.append(q->value(i));
    zeilen.append(std::move(zeile));
  }
  const bool ok = !q->lastError().isValid();
  if (!ok && fehler)
    *fehler = grund(fehlercode(q->lastError()), q->lastError().databaseText());
  q->finish();
  if (!ok)
    zeilen.clear();
  return ok;
}

std::optional<QVariant> Verbindung::einzelwert(const QString& sql, const QVariantList& werte,
                                               QString* fehler) {
  QSqlQuery* q = anweisung(sql, fehler);
  if (!q || !ausfuehren(q, werte, fehler))
    return std::nullopt;
  std::optional<QVariant> wert;
  if (q->next())
    wert = q->value(0);
  else if (q->lastError().isValid() && fehler)
    *fehler = grund(fehlercode(q->lastError()), q->lastError().databaseText());
  else
    wert = QVariant();
  q->finish();
  return wert;
}

template <typename F>
bool Verbindung::schreibvorgang(QString* fehler, F&& schreiben) {
  if (m_tiefe > 0 && !m_aktiv) {
    if (fehler)
      *fehler = m_beginnFehler;
    return false;
  }
  const bool eigene = m_tiefe == 0;
  if (eigene && !beginnen(fehler)) {
    zuruecknehmen();
    return false;
  }
  bool ok = schreiben();
  if (eigene) {
    if (ok)
      ok = bestaetigen(fehler);
    else
      zuruecknehmen();
  }
  return ok;
}

bool Verbindung::schreiben(const QString& sql, const QVariantList& werte, QString* fehler,
                           int* geaendert) {
  return schreibvorgang(fehler, [&] {
    QSqlQuery* q = anweisung(sql, fehler);
    if (!q || !ausfuehren(q, werte, fehler))
      return false;
    if (geaendert)
      *geaendert = q->numRowsAffected();
    q->finish();
    return true;
  });
}

bool Verbindung::schreibenJeZeile(const QString& sql, const QList<QVariantList>& zeilen,
                                  QString* fehler, QList<int>* geaendert) {
  if (geaendert)
    geaendert->clear();
  if (!m_roh) {
    if (fehler)
      *fehler = grund(SQLITE_MISUSE, QString());
    return false;
  }
  return schreibvorgang(fehler, [&] { return rohAusfuehren(sql, zeilen, fehler, geaendert); });
}

bool Verbindung::rohAusfuehren(const QString& sql, const QList<QVariantList>& zeilen,
                               QString* fehler, QList<int>* geaendert) {
  const auto fehlschlag = [&](int code) {
    if (fehler)
      *fehler = grund(code, QString::fromUtf8(sqlite3_errmsg(m_roh)));
    return false;
  };
  sqlite3_stmt* anweisung = nullptr;
  if (sqlite3_prepare16_v2(m_roh, sql.utf16(), int(sql.size() * 2), &anweisung, nullptr) !=
      SQLITE_OK)
    return fehlschlag(sqlite3_extended_errcode(m_roh));
  const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> halter(anweisung, sqlite3_finalize);
  for (const QVariantList& werte : zeilen) {
    for (int i = 0; i < int(werte.size()); ++i) {
      const QVariant& w = werte[i];
      const int stelle = i + 1;
      int rc;
      if (!w.isValid() || w.isNull()) {
        rc = sqlite3_bind_null(anweisung, stelle);
      } else {
        switch (w.typeId()) {
          case QMetaType::Bool:
          case QMetaType::Int:
          case QMetaType::UInt:
          case QMetaType::LongLong:
          case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(anweisung, stelle, w.toLongLong());
            break;
          case QMetaType::Double:
          case QMetaType::Float:
            rc = sqlite3_bind_double(anweisung, stelle, w.toDouble());
            break;
          case QMetaType::QByteArray: {
            const QByteArray b = w.toByteArray();
            rc = sqlite3_bind_blob(anweisung, stelle, b.constData(), int(b.size()),
                                   SQLITE_TRANSIENT);
            break;
          }
          default: {
            const QString t = w.toString();
            rc = sqlite3_bind_text16(anweisung, stelle, t.utf16(), int(t.size() * 2),
                                     SQLITE_TRANSIENT);
          }
        }
      }
      if (rc != SQLITE_OK)
        return fehlschlag(rc);
    }
    const int rc = sqlite3_step(anweisung);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
      return fehlschlag(sqlite3_extended_errcode(m_roh));
    if (geaendert)
      geaendert->append(sqlite3_changes(m_roh));
    sqlite3_reset(anweisung);
    sqlite3_clear_bindings(anweisung);
  }
  return true;
}

bool Verbindung::beginnen(QString* fehler) {
  if (m_tiefe++ > 0) {
    if (!m_aktiv && fehler)
      *fehler = m_beginnFehler;
    return m_aktiv;
  }
  m_verdorben = false;
  m_beginnFehler.clear();
  // IMMEDIATE takes the write lock now (waiting up to the busy timeout), so that no write inside
  // the transaction can fail for a lock half-way.
  m_aktiv = direkt(QStringLiteral("BEGIN IMMEDIATE"), &m_beginnFehler);
  if (!m_aktiv && fehler)
    *fehler = m_beginnFehler;
  return m_aktiv;
}

bool Verbindung::bestaetigen(QString* fehler) {
  if (m_tiefe == 0)
    return false;
  if (--m_tiefe > 0)
    return m_aktiv && !m_verdorben;
  if (!m_aktiv) {
    if (fehler)
      *fehler = m_beginnFehler;
    return false;
  }
  m_aktiv = false;
  if (m_verdorben) {
    direkt(QStringLiteral("ROLLBACK"), nullptr);
    if (fehler)
      *fehler = QStringLiteral("Der Vorgang wurde abgebrochen; es wurde nichts gespeichert.");
    return false;
  }
  if (direkt(QStringLiteral("COMMIT"), fehler))
    return true;
  // A COMMIT that failed (a reader kept the file too long) leaves the transaction open.
  direkt(QStringLiteral("ROLLBACK"), nullptr);
  return false;
}

void Verbindung::zuruecknehmen() {
  if (m_tiefe == 0)
    return;
  m_verdorben = true;
  if (--m_tiefe > 0)
    return;
  if (m_aktiv)
    direkt(QStringLiteral("ROLLBACK"), nullptr);
  m_aktiv = false;
}

QStringList Verbindung::spaltenDerTabelle(const QString& tabelle) {
  const QString schluessel = tabelle.toLower();
  if (auto it = m_tabellen.constFind(schluessel); it != m_tabellen.constEnd())
    return *it;
  QStringList spalten;
  QList<QVariantList> zeilen;
  QStringList namen;
  if (!lesen(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {tabelle}, spalten, zeilen,
             nullptr))
    return {};
  for (const QVariantList& z : zeilen)
    namen.append(z.value(0).toString());
  if (!namen.isEmpty())
    m_tabellen.insert(schluessel, namen);
  return namen;
}
