// update: brings the main program in the program folder up to date from the update server.

#include "Programm.h"
#include "UpdateModul.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Update"));
  QApplication::setOrganizationName(QStringLiteral("QUILLON"));
  QApplication::setApplicationVersion(QStringLiteral("1.00.0019"));
  deutscheOberflaeche();
  UpdateStart(ProgrammordnerErmitteln());
  return 0;
}
