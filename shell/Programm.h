#pragma once
// What every program of the system shares about itself: its folder, the main program's file name
// and the German user interface.

#include <QString>

// The main household-book program in the program folder: started by zamlo, replaced by update,
// fetched from the update server under the same name.
#ifdef Q_OS_WIN
inline const QString Hauptprogramm = QStringLiteral("kvasto.exe");
#else
inline const QString Hauptprogramm = QStringLiteral("kvasto");
#endif

// Starts the main program of `programmordner` detached, as the shell opens a file: no arguments,
// the result ignored.
void HauptprogrammStarten(const QString& programmordner);

// The folder of the running executable, always ending in a separator.
QString ProgrammordnerErmitteln();

// Appends the separator unless the folder already ends in one (a drive root does).
QString mitTrenner(const QString& ordner);

// Qt's own texts (context menus of input fields, standard buttons) in German, and the German
// locale for the widgets that read it (calendar).
void deutscheOberflaeche();
