#pragma once
// The texts of the download window: sizes, times, the file or folder part of a path or address,
// and the progress line. Unit names come from the update program's language file.

#include <QString>
#include <optional>

// The texts of the progress display, from the language file. A download reads them once when it
// starts, not for every chunk: the file is looked up (and its state checked on disk) on each read.
struct Fortschrittstexte {
  QString restzeit;                                // 1676
  QString rate;                                    // 1677
  QString sekunden, minuten, stunden;              // 1681-1683
  QString bytes, kilobytes, megabytes, gigabytes;  // 1684-1687
  static Fortschrittstexte lesen();
};

// A byte count in bytes, KB, MB or GB; "" for a negative count or one between two bands.
QString FormatFileSize(double dblFileSize);
QString FormatFileSize(double dblFileSize, const Fortschrittstexte& texte);

// Seconds as seconds, minutes and seconds, or hours and minutes; "" for a value that is no number.
QString FormatTime(float sglTime);
QString FormatTime(float sglTime, const Fortschrittstexte& texte);

// The part after the last separator ("/" for an address; "/" or "\" for a file path) when
// ReturnFile, otherwise the part up to and including it.
QString ReturnFileOrFolder(const QString& FullPath, bool ReturnFile, bool IsURL);

// The progress text after `i` of `total` chunks of 1024 bytes in `sekunden` since the start. No
// text while no time has passed (the rate would be infinite).
std::optional<QString> Fortschrittstext(qint64 i, qint64 total, double sekunden);
std::optional<QString> Fortschrittstext(qint64 i, qint64 total, double sekunden,
                                        const Fortschrittstexte& texte);

// The folder of an address as the status text shows it: whole up to 32 characters, otherwise its
// first 30 and "...".
QString OrdnerKurz(const QString& ordner);
