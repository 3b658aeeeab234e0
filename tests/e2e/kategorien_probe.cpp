// Opens the category dialog as a booking dialog does (by name, modally) on the household book of
// a user, so that the end-to-end test can drive it before the booking dialogs call it. When the
// dialog has closed it prints the category it returned ("ergebnis=<text>") and ends.
// Arguments: <program folder> <user>.

#include "CategoriesFormulare.h"
#include "Formular.h"
#include "Programm.h"
#include "ShellFormulare.h"
#include "Zustand.h"

#include <QApplication>
#include <QDate>
#include <QTextStream>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  deutscheOberflaeche();
  const QStringList args = app.arguments();
  if (args.size() < 3)
    return 2;
  zustandStarten(args[1], QDate::currentDate());
  zustand().AktuellerBenutzer = args[2];
  zustand().Benutzerdatei = zustand().Programmordner + args[2] + QStringLiteral(".mdb");
  shellFormulareAnmelden();
  categoriesFormulareAnmelden();
  Formular* dialog = Formulare::laden(QStringLiteral("frmKategorie"));
  if (!dialog)
    return 3;
  dialog->exec();
  QTextStream(stdout) << "ergebnis=" << zustand().AusgewaehlteKategorie << Qt::endl;
  return 0;
}
