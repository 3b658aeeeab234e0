#pragma once
// The check of a sign-in with password, for the sign-in dialog and for every program that opens a
// user's book: the user's row is the one whose name is exactly the typed one (letter case counts,
// where the query's "=" ignores it), and only the decoded password of that very row lets anyone
// in. A row without a readable password lets nobody in.

#include <QString>
#include <QVariant>
#include <optional>

class Datensatzquelle;

// The coded password of the first row of Benutzer named exactly `name` (NULL when the row holds
// none); no value when no row has that name. Sets Data1's query to the whole table.
std::optional<QVariant> BenutzerzeileSuchen(Datensatzquelle& Data1, const QString& name);

// The stored password in plain text; no value for NULL or a text the coding cannot read.
std::optional<QString> KennwortLesen(const QVariant& kodiert);

// Whether `eingabe` is the password of the user `name` of Data1's file.
bool KennwortPasst(Datensatzquelle& Data1, const QString& name, const QString& eingabe);
