#pragma once
// An open data file: the shared data file Daten.mdb or a household book <Name>.mdb (SQLite files
// under the names the main application gives them).
//
// Opening never creates a file; a file that is no database fails cleanly and stays untouched.
// Every connection gets a busy timeout (Wartezeit), case-insensitive text comparison for all
// letters (Textvergleich) and keeps the file's journal mode and the default synchronous setting.
// Handles are shared: copies use the same connection, which closes with the last handle.
//
// The program-wide handles: the booking dialogs, the sign-in dialogs and the category dialog open
// the files once more and keep them as datendatei() and buchdatei() for the rest of the run; the
// last one opened replaces the one before.

#include <QString>
#include <QVariantList>
#include <memory>

class Abfrage;
class Verbindung;

class Datenbank {
 public:
  // The connect string of both files. SQLite takes no password; the password part is handed to
  // the connection for engines that do.
  static inline const QString Verbindungstext = QStringLiteral(";Pwd=583917");
  static QString kennwort();

  // How long a write waits for another program's lock before it gives up, in milliseconds.
  static constexpr int Wartezeit = 5000;

  Datenbank() = default;

  // The file must exist and be a database; otherwise the handle is closed and fehler() says why.
  static Datenbank oeffnen(const QString& pfad);

  bool offen() const { return m_verbindung != nullptr; }
  const QString& pfad() const { return m_pfad; }
  // Why the last operation of this handle failed, in German; empty after success.
  const QString& fehler() const { return m_fehler; }
  // Lets go of the connection; the last handle closes it.
  void schliessen();

  // Runs one statement that writes (values bound to its "?"), in the open transaction of a
  // Transaktion guard or in a short transaction of its own.
  bool ausfuehren(const QString& sql, const QVariantList& werte = {});
  // Deletes the rows an Abfrage selects ("DELETE FROM Kategorien" for Abfrage(u"Kategorien"_s)).
  bool loeschen(const Abfrage& abfrage);

  // Appends rows to a table through one statement prepared once. `spalten` must be columns of the
  // table; each value is converted by its column's kind, and one that does not fit fails the
  // write before anything is stored.
  bool einfuegen(const QString& tabelle, const QStringList& spalten,
                 const QList<QVariantList>& zeilen);
  // Sets `spalte` to `wert` in the first row that each query selects, as a record source would
  // find it (queries that differ only in their values). `geaendert` gets 1 or 0 per query.
  bool ersteZeilenAendern(const QList<Abfrage>& auswahlen, const QString& spalte,
                          const QVariant& wert, QList<int>* geaendert);

  const std::shared_ptr<Verbindung>& verbindung() const { return m_verbindung; }

  static Datenbank& datendatei();
  static Datenbank& buchdatei();
  static bool datendateiOeffnen(const QString& pfad);
  static bool buchdateiOeffnen(const QString& pfad);
  // Closes the program-wide handles (also done when the application object goes).
  static void alleSchliessen();

 private:
  std::shared_ptr<Verbindung> m_verbindung;
  QString m_pfad;
  QString m_fehler;
};
