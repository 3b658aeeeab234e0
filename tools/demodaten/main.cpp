// velmark-daten: makes the data files of the system from the shipped schema.
//   velmark-daten vorlage <datei>   empty household book (the template unbenannt.mdb)
//   velmark-daten daten <datei>     shared data file of a first installation
//   velmark-daten demo <ordner>     demo data files and the demo settings

#include "DemoDaten.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  QTextStream err(stderr);
  if (args.size() != 3) {
    err << "Aufruf: velmark-daten vorlage|daten|demo <Pfad>\n";
    return 2;
  }
  QString fehler;
  bool ok = false;
  if (args[1] == u"vorlage") {
    ok = DemoDaten::leereDatei(args[2], DemoDaten::Schema::Haushaltsbuch, &fehler);
  } else if (args[1] == u"daten") {
    ok = DemoDaten::ersteDatendatei(args[2], &fehler);
  } else if (args[1] == u"demo") {
    ok = DemoDaten::demoDateien(args[2], &fehler) && DemoDaten::demoEinstellungen(&fehler);
  } else {
    err << "Unbekannter Befehl: " << args[1] << "\n";
    return 2;
  }
  if (!ok) {
    err << fehler << "\n";
    return 1;
  }
  return 0;
}
