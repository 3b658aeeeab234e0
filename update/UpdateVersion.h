#pragma once
// Versions are opaque texts, compared code unit by code unit and with letter case: the offered
// version is newer when it sorts after the installed one ("1.9" after "1.10"). Blanks and line
// breaks around a version are no part of it (editors end a file "1.1\r\n"), so they are dropped
// wherever a version is read or written.

#include <QString>
#include <optional>

bool istNeuer(const QString& neueVersion, const QString& alteVersion);

// The version in a text: without the blanks and line breaks at its start and end.
QString Versionstext(const QString& text);

// What the news question shows: the news text up to 8 characters before the first occurrence of
// the installed version. No value when the installed version is missing there or comes too early
// (an empty installed version counts as found at the very start).
std::optional<QString> NeuigkeitenAuszug(const QString& neuigkeiten, const QString& alteVersion);

// The first line of the version file that is not blank; "" when it is missing or unreadable.
QString versionsdateiLesen(const QString& pfad);

// The version followed by CR LF, replacing the whole file atomically. False, with the reason in
// `fehler`, when the file could not be written.
bool versionsdateiSchreiben(const QString& pfad, const QString& version, QString* fehler = nullptr);
