#pragma once
// Texts by number from the INI-format language and tips files.

#include <QHash>
#include <QString>

// The text under Schluessel in section Abschnitt of the INI file Datei; "" when the file, section
// or key is missing. Section and key names ignore letter case, the first matching key wins, the
// result is cut to 254 characters. Parsed files are cached; a file changed on disk is read again
// within 50 ms (it is looked at on disk at most that often).
QString SprachText(const QString& Datei, const QString& Abschnitt, const QString& Schluessel);

// The INI reader behind SprachText, for tests and tools.
namespace Ini {

// Section name (lower case) -> key name (lower case) -> value.
using Inhalt = QHash<QString, QHash<QString, QString>>;

// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
QString dekodieren(const QByteArray& bytes);
Inhalt parsen(const QString& text);
// Drops every cached file, so the next lookup reads from disk.
void cacheLeeren();

}  // namespace Ini
