// kvasto: stand-in for the Velmark main program. Shows the bookings of the household books in
// the program folder, read-only.

#include "Buchungsliste.h"
#include "Programm.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  deutscheOberflaeche();
  Buchungsliste fenster(ProgrammordnerErmitteln());
  fenster.show();
  return app.exec();
}
