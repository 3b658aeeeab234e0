#pragma once
// Makes the system's data files from the shipped schema: the empty template, a first shared data
// file as the main application's installation leaves it, and a complete demo program folder.
// Tests make their fixture folders with the same code.

#include <QString>
#include <QStringList>

namespace DemoDaten {

enum class Schema { Daten, Haushaltsbuch };

// The SQL of the shipped schema.
QString schemaText(Schema schema);

// A new SQLite file with the schema's tables, empty. Fails when the file exists.
bool leereDatei(const QString& pfad, Schema schema, QString* fehler = nullptr);

// The shared data file of a first installation: no user, the euro at rate 1 as the only active
// currency and as the insurance currency.
bool ersteDatendatei(const QString& pfad, QString* fehler = nullptr);

// A demo program folder's data: Daten.mdb with the users Anna (password "anna") and Ben ("ben"),
// rates EUR 1, USD 1,1, CHF 1,6 and the inactive GBP, insurance in EUR; Anna.mdb and Ben.mdb with
// accounts, a two-level category tree, addresses, purposes and a few bookings. Existing files are
// replaced.
bool demoDateien(const QString& ordner, QString* fehler = nullptr);

// Settings of the demo: Anna is the default user (no sign-in), both users with tips on and their
// booking counters matching their demo bookings.
bool demoEinstellungen(QString* fehler = nullptr);
// The names of the demo's settings values that the current settings store lacks or holds with
// another value: what demoEinstellungen would change there.
QStringList abweichendeEinstellungen();

// Runs SQL (several statements) on a file; for tests that shape their data.
bool sqlAusfuehren(const QString& pfad, const QString& sql, QString* fehler = nullptr);

}  // namespace DemoDaten
