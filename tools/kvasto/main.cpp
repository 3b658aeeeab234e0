// kvasto: stand-in for the Velmark main program, which keeps the accounts, the exchange rates and
// the bookings of the household books in the program folder.

#include "Hauptfenster.h"
#include "Programm.h"
#include "Zustand.h"

#include <QApplication>
#include <QDate>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  deutscheOberflaeche();
  // The tray program's start-up: program folder, language file, today.
  zustandStarten(ProgrammordnerErmitteln(), QDate::currentDate());
  Hauptfenster fenster(zustand().Programmordner);
  fenster.show();
  return app.exec();
}
