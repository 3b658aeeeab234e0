#pragma once
// Process-wide state of zamlo: set at start-up and by the sign-in paths, read by every dialog.

#include <QDate>
#include <QString>

struct Zustand {
  QString Programmordner;  // folder of the program file, ending in "/"
  QString Sprachdatei;     // language file of the current language
  QString Datendatei;      // shared data file Daten.mdb
  QString Tippdatei;       // tips file tipps.dll
  QString Hilfedatei;      // help file Hilfe.html
  QString HeuteText;       // start-up date "dd.mm.yyyy", never refreshed
  QString AktuellerBenutzer;
  QString Benutzerdatei;   // household-book file of AktuellerBenutzer
  QString Buchungsart;     // "Ausgabe" or "Einnahme": where the pending sign-in leads
  qint16 AktuelleID = 0;   // booking counter of the signed-in user
  QString BestaetigtesKennwort;
  QString GespeichertesKennwort;
  QString SqlText;         // the last query handed to a record source
  QDate KontoDatum;        // start date of the account last selected; invalid while unknown
  QString KalenderZiel;    // "Ausgabe" or "Einnahme": whose date field the calendar fills
  QString AusgewaehlteKategorie;
};

Zustand& zustand();

// Start-up: HeuteText from `heute`, the program folder and the file paths, the language file from
// the product key's "Sprache".
void zustandStarten(const QString& programmordner, const QDate& heute);

// The language file for a language value: Programmordner + "kvastlang" + sprache + ".dll".
QString sprachdateiFuer(const QString& sprache);

// Text number `nummer` of the current language file (Sprachdatei).
QString Text(int nummer);

// A message box with prompt and title from the current language file; a reason, when given,
// stands below the prompt after an empty line.
int MeldungNr(int prompt, int titel, int stil);
int MeldungNr(int prompt, int titel, int stil, const QString& grund);

// The per-user key of the current user; the prefix with its separator alone before a sign-in.
QString BenutzerSchluessel();
// The per-user key of `benutzer`.
QString BenutzerSchluessel(const QString& benutzer);
// A value of the product key / of the current user's key as text ("" when missing).
QString ProduktWert(const QString& name);
QString BenutzerWert(const QString& name);
