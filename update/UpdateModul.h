#pragma once
// The update program's entry routine, its program-wide state and its text lookup. The state is
// the update program's own; it shares only the settings store, the text lookup and the program
// folder rules with zamlo.

#include <QString>

class DownloadForm;

struct UpdateZustand {
  QString Programmordner;  // folder of the program file, ending in "/"
  QString Sprachdatei;     // language file, from the product key's "Sprache"
  QString UpdateAdresse;   // base address of the update server, from the product key's "URL"
  bool DownloadErfolgreich = false;  // the last DownloadFile completed and the file is in place
};

UpdateZustand& updateZustand();

// The installed-version file: Programmordner + "programm.ver".
QString Versionsdatei();

// Text number `nummer` of the update program's language file.
QString UpdateText(int nummer);

// A message box with prompt and title from the language file. Line breaks in the texts are
// carriage returns, as the messages are composed; they are shown as line breaks.
int UpdateMeldung(const QString& prompt, const QString& titel, int stil);
int UpdateMeldungNr(int prompt, int titel, int stil);

// Carriage returns (alone or before a line feed) as the line feeds that labels break on.
QString Anzeige(const QString& text);

// The whole run: settings, the question whether to look for an update, the check, the download
// and the final message. Returns when the program is to end.
void UpdateStart(const QString& programmordner);

// Fetches the main program file into the program folder and reports the result; records the new
// version only after the new file is in place. A version that cannot be recorded is said instead
// of the success: the next check would offer the same update again.
void UpdateHolen(DownloadForm& form);
