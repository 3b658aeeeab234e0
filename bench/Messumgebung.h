#pragma once
// The world of one benchmark run: a program folder (the built runtime files and a copy of the
// large household book) in a fresh folder beside the build, its own settings store, zamlo's state
// signed in as the book's user, and the local HTTP server. Made once per process, before any
// benchmark runs; everything lies on the same disk as the build, so that a durable write costs
// what it costs there.

#include <QString>

class QProcess;

namespace Messumgebung {

// Folder of the build's program folder and of the large book (VELMARK_GROSSBUCH or
// <build>/grossbuch, made there when missing). Call before QApplication exists (it sets the
// settings and runtime folders of the process) and once more after, with `anwendung` true.
bool vorbereiten(bool anwendung, QString* fehler);
void aufraeumen();

// The program folder of this run, ending in "/".
QString ordner();
QString buch();   // Clara.mdb
QString daten();  // Daten.mdb

// Base address of the local HTTP server ("http://127.0.0.1:<port>/"), started on first use.
QString server();

// curl's own time for one GET of `adresse` into `ziel`, in seconds; negative when it failed.
double curlZeit(const QString& adresse, const QString& ziel);

}  // namespace Messumgebung
