#pragma once
// Every whole-file write of the system goes through here: written to a temporary file beside the
// target, checked, flushed to disk and renamed over the target, so a crash or a full disk leaves
// the old file or the new one, never part of one. An existing file's permissions are kept.

#include <QByteArray>
#include <QString>

bool dateiSchreiben(const QString& pfad, const QByteArray& inhalt, QString* fehler = nullptr);
