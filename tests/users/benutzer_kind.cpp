// Child process for the user tests: a new user created while the files this process writes may
// not grow beyond a limit (a full disk).
//   benutzer_kind <ordner> <name> <kennwort> <bytes>   (0 bytes: no limit)
// Prints the result ("Angelegt", "Fehlgeschlagen", ...) on the first line and the reason below.

#include "Benutzeranlage.h"
#include "Datensatzquelle.h"
#include "Zustand.h"

#include <sys/resource.h>
#include <QCoreApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 5)
    return 2;
  zustandStarten(args[1], QDate::currentDate());
  const rlim_t grenze = args[4].toULongLong();
  if (grenze > 0) {
    // The write fails with EFBIG instead of the process being killed.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit r{grenze, grenze};
    if (setrlimit(RLIMIT_FSIZE, &r) != 0)
      return 3;
  }
  Datensatzquelle Data1;
  Data1.verbinden(zustand().Datendatei);
  Benutzeranlage anlage(Data1, zustand().Programmordner, args[2], args[3]);
  const auto ergebnis = anlage.anlegen();
  const char* name = "?";
  switch (ergebnis) {
    case Benutzeranlage::Ergebnis::Angelegt:
      name = "Angelegt";
      break;
    case Benutzeranlage::Ergebnis::BuchVorhanden:
      name = "BuchVorhanden";
      break;
    case Benutzeranlage::Ergebnis::NameVergeben:
      name = "NameVergeben";
      break;
    case Benutzeranlage::Ergebnis::KennwortUngueltig:
      name = "KennwortUngueltig";
      break;
    case Benutzeranlage::Ergebnis::NameUngueltig:
      name = "NameUngueltig";
      break;
    case Benutzeranlage::Ergebnis::Fehlgeschlagen:
      name = "Fehlgeschlagen";
      break;
  }
  std::printf("%s\n%s", name, anlage.grund().toUtf8().constData());
  std::fflush(stdout);
  return 0;
}
