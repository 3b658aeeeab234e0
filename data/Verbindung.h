#pragma once
// One open SQLite connection of the data layer (internal: dialogs use Datenbank and
// Datensatzquelle). It holds no statement open between two calls, so the program never keeps a
// lock on a file while it idles; prepared statements are kept, but reset after every use.

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>
#include <optional>
#include <unordered_map>

class QSqlQuery;
struct sqlite3;

class Verbindung {
 public:
  // Opens an existing file for reading and writing; never creates one. A file that is no
  // database fails here and is not written.
  static std::shared_ptr<Verbindung> oeffnen(const QString& pfad, QString* fehler);
  ~Verbindung();
  Verbindung(const Verbindung&) = delete;
  Verbindung& operator=(const Verbindung&) = delete;

  const QString& pfad() const { return m_pfad; }
  const QString& name() const { return m_name; }

  // All rows of a query, read at once; the statement is reset before this returns.
  bool lesen(const QString& sql, const QVariantList& werte, QStringList& spalten,
             QList<QVariantList>& zeilen, QString* fehler);
  // The first column of the first row.
  std::optional<QVariant> einzelwert(const QString& sql, const QVariantList& werte,
                                     QString* fehler);
  // A statement that writes: inside the open transaction, or in one of its own.
  bool schreiben(const QString& sql, const QVariantList& werte, QString* fehler,
                 int* geaendert = nullptr);
  // One statement that writes, run once per list of values: prepared once and bound per row
  // straight through the engine, so that a thousand rows cost little more than their own work.
  // Inside the open transaction, or in one of its own for all rows; `geaendert` gets the number
  // of rows each run changed.
  bool schreibenJeZeile(const QString& sql, const QList<QVariantList>& zeilen, QString* fehler,
                        QList<int>* geaendert = nullptr);

  // Transactions of the Transaktion guard; a guard inside another joins it.
  bool beginnen(QString* fehler);
  bool bestaetigen(QString* fehler);
  void zuruecknehmen();
  bool inTransaktion() const { return m_tiefe > 0; }

  // Column names of a table as the file spells them; empty when there is no such table.
  QStringList spaltenDerTabelle(const QString& tabelle);

  // A reason in German for a failure of this connection's file.
  QString grund(int code, const QString& meldung) const;

 private:
  Verbindung() = default;
  QSqlQuery* anweisung(const QString& sql, QString* fehler);
  bool ausfuehren(QSqlQuery* q, const QVariantList& werte, QString* fehler);
  bool direkt(const QString& sql, QString* fehler);
  template <typename F>
  bool schreibvorgang(QString* fehler, F&& schreiben);
  bool rohAusfuehren(const QString& sql, const QList<QVariantList>& zeilen, QString* fehler,
                     QList<int>* geaendert);

  QString m_pfad;
  QString m_name;
  QSqlDatabase m_db;
  sqlite3* m_roh = nullptr;  // the driver's handle, for the writes row by row
  std::unordered_map<QString, std::unique_ptr<QSqlQuery>> m_anweisungen;
  QHash<QString, QStringList> m_tabellen;
  int m_tiefe = 0;
  bool m_aktiv = false;      // BEGIN of the outermost guard succeeded
  bool m_verdorben = false;  // an inner guard gave up: the outermost rolls back
  QString m_beginnFehler;
};
