// velmark-daten: makes the data files of the system from the shipped schema, and gives the
// installation scripts what they need from the program's own code.
//   velmark-daten vorlage <datei>   empty household book (the template unbenannt.mdb)
//   velmark-daten daten <datei>     shared data file of a first installation
//   velmark-daten demo <ordner> [<einstellungsordner>]
//                                   demo data files and the demo settings: in the settings
//                                   folder given (as XDG_CONFIG_HOME), else in the user's own
//                                   settings only when that changes nothing there, or there are
//                                   none yet
//   velmark-daten infobereich       exit 0 when the desktop has a notification area (as Qt sees
//                                   it for zamlo), 1 when not
//   velmark-daten version           the product version
//   velmark-daten einstellung <name> [<wert> [zahl]]
//                                   reads (exit 1 when missing) or writes a value of the product
//                                   key through the settings store, with its lock

#include "DemoDaten.h"
#include "Registry.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSystemTrayIcon>
#include <QTextStream>
#include <cstring>

#ifndef VELMARK_VERSION
#define VELMARK_VERSION "1.0.0"
#endif

namespace {

int einstellung(const QStringList& args, QTextStream& out, QTextStream& err) {
  const QString& name = args[2];
  if (args.size() == 3) {
    const QVariant wert = RegistryLesen(HKCU, ProduktSchluessel, name);
    if (!wert.isValid())
      return 1;
    out << wert.toString() << "\n";
    return 0;
  }
  const bool alsZahl = args.size() == 5;
  if (alsZahl && args[4] != u"zahl") {
    err << "Unbekannte Art: " << args[4] << " (nur „zahl“)\n";
    return 2;
  }
  QVariant wert = args[3];
  if (alsZahl) {
    bool ok = false;
    wert = args[3].toInt(&ok);
    if (!ok) {
      err << "Keine ganze Zahl: " << args[3] << "\n";
      return 2;
    }
  }
  if (const qint32 status = RegistrySchreiben(HKCU, ProduktSchluessel, name, wert, !alsZahl)) {
    err << "Einstellung " << name << " nicht geschrieben (Fehler " << status << ") in "
        << Registry::dateipfad() << "\n";
    return 1;
  }
  return 0;
}

// The demo never changes a household's own settings: unless it was given a settings folder of its
// own, it writes only into a settings store that does not exist yet or already holds its values,
// and refuses before it writes any file.
int demo(const QStringList& args, QTextStream& err) {
  if (args.size() == 4)
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir(args[3]).absolutePath()));
  else if (QFileInfo::exists(Registry::dateipfad())) {
    if (const QStringList abweichend = DemoDaten::abweichendeEinstellungen(); !abweichend.isEmpty()) {
      err << "Die Demo ändert keine vorhandenen Einstellungen: " << Registry::dateipfad()
          << " enthält andere Werte für " << abweichend.mid(0, 5).join(u", ")
          << (abweichend.size() > 5 ? QStringLiteral(" …") : QString()) << ".\n"
          << "Geben Sie der Demo einen eigenen Einstellungsordner: velmark-daten demo "
          << args[2] << " <Einstellungsordner>\n";
      return 1;
    }
  }
  QString fehler;
  if (!DemoDaten::demoDateien(args[2], &fehler) || !DemoDaten::demoEinstellungen(&fehler)) {
    err << fehler << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  // The one command that needs the desktop; every other one runs without a display.
  if (argc == 2 && std::strcmp(argv[1], "infobereich") == 0) {
    QApplication app(argc, argv);
    return QSystemTrayIcon::isSystemTrayAvailable() ? 0 : 1;
  }
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  QTextStream out(stdout);
  QTextStream err(stderr);
  const QString befehl = args.value(1);
  if (befehl == u"version" && args.size() == 2) {
    out << VELMARK_VERSION << "\n";
    return 0;
  }
  if (befehl == u"einstellung" && args.size() >= 3 && args.size() <= 5)
    return einstellung(args, out, err);
  if (befehl == u"demo" && (args.size() == 3 || args.size() == 4))
    return demo(args, err);
  if (args.size() != 3) {
    err << "Aufruf: velmark-daten vorlage|daten <Pfad>\n"
           "       velmark-daten demo <Ordner> [<Einstellungsordner>]\n"
           "       velmark-daten infobereich\n"
           "       velmark-daten version\n"
           "       velmark-daten einstellung <Name> [<Wert> [zahl]]\n";
    return 2;
  }
  QString fehler;
  bool ok = false;
  if (befehl == u"vorlage") {
    ok = DemoDaten::leereDatei(args[2], DemoDaten::Schema::Haushaltsbuch, &fehler);
  } else if (befehl == u"daten") {
    ok = DemoDaten::ersteDatendatei(args[2], &fehler);
  } else {
    err << "Unbekannter Befehl: " << befehl << "\n";
    return 2;
  }
  if (!ok) {
    err << fehler << "\n";
    return 1;
  }
  return 0;
}
