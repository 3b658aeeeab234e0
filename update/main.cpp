// update: brings the main program in the program folder up to date from the update server.

#include "Programm.h"
#include "UpdateModul.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  deutscheOberflaeche();
  UpdateStart(ProgrammordnerErmitteln());
  return 0;
}
