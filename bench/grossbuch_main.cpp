// velmark-grossbuch <ordner>: makes the large household book of the benchmarks (Daten.mdb and
// Clara.mdb) in the folder.

#include "Grossbuch.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList args = app.arguments();
  if (args.size() != 2) {
    err << "Aufruf: velmark-grossbuch <ordner>\n";
    return 2;
  }
  if (!QDir().mkpath(args[1])) {
    err << "Ordner " << args[1] << " lässt sich nicht anlegen\n";
    return 1;
  }
  QElapsedTimer uhr;
  uhr.start();
  QString fehler;
  if (!Grossbuch::anlegen(args[1], {}, &fehler)) {
    err << "Großes Haushaltsbuch nicht angelegt: " << fehler << "\n";
    return 1;
  }
  QTextStream(stdout) << "Großes Haushaltsbuch in " << args[1] << " (" << uhr.elapsed() << " ms)\n";
  return 0;
}
