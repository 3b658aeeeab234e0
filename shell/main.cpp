// zamlo: the tray program. It takes no arguments, runs once per user, and lives in the
// notification area until its menu's end command.

#include "BookingFormulare.h"
#include "CategoriesFormulare.h"
#include "Einzelinstanz.h"
#include "Infobereich.h"
#include "Programm.h"
#include "ShellFormulare.h"
#include "UsersFormulare.h"
#include "frmTray.h"

#include <QApplication>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (andereInstanzLaeuft())
    return 0;
  deutscheOberflaeche();
  // Hiding the information window or closing a dialog must not end the program.
  QApplication::setQuitOnLastWindowClosed(false);

  shellFormulareAnmelden();
  categoriesFormulareAnmelden();
  bookingFormulareAnmelden();
  usersFormulareAnmelden();

  frmTray* tray = Formulare::laden<frmTray>();
  if (!tray)
    return 0;
  // The end command unloads every form; the tray form goes last, and with it the process.
  // exit, not quit: quit would close the remaining windows once more, through their close
  // handlers, as if the user had closed them.
  QObject::connect(tray, &QObject::destroyed, &app, [] { QCoreApplication::exit(0); });
  // Without a notification area the icon cannot show: then a note says so.
  Infobereich::ueberwachen();
  return app.exec();
}
