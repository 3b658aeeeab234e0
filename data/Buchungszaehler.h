#pragma once
// The booking counter AktuelleID: its stored copy is the text value "ID" under a user's key
// (BenutzerSchluessel), a signed 16-bit number; a missing value reads as 0, so a user's first
// booking gets 1. Without a user named, the counter is the signed-in user's.

#include <QString>
#include <QtGlobal>
#include <optional>

// The stored counter; 0 when the value is missing or no number. No value when the stored number
// is beyond 16 bits.
std::optional<qint16> gespeicherteID();
std::optional<qint16> gespeicherteID(const QString& benutzer);

// AktuelleID = stored counter + 1. False, and AktuelleID unchanged, when the counter stands at
// 32767 (or beyond) and cannot be advanced.
bool IDauslesen();
bool IDauslesen(const QString& benutzer);

// Writes AktuelleID back as text. The settings store's status (0 on success).
qint32 IDspeichern();
qint32 IDspeichern(const QString& benutzer);
