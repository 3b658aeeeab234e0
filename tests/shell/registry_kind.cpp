// Child process for the settings-store tests.
//   registry_kind inkrement <n>        n times: under the store's lock, read "Zaehler", write +1
//   registry_kind schleife             write "Zaehler" = 1, 2, 3 ... for ever, printing each
//                                      value after its write returned
//   registry_kind grenze <bytes> <n>   limit the size of files this process may write, then
//                                      write a value of n characters; prints the status
//   registry_kind halten               take the store's lock, print "gesperrt", and hold it
//                                      until a line or the end of input arrives

#include "Registry.h"

#include <QCoreApplication>
#include <QTextStream>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  const QString schluessel = ProduktSchluessel + QStringLiteral("\\Test");
  if (args.value(1) == u"inkrement") {
    const int n = args.value(2).toInt();
    for (int i = 0; i < n; ++i) {
      Registry::Sperre sperre;
      if (!sperre.gesperrt())
        return 3;
      const int alt = RegistryLesen(HKCU, schluessel, QStringLiteral("Zaehler")).toString().toInt();
      if (RegistrySchreiben(HKCU, schluessel, QStringLiteral("Zaehler"), QString::number(alt + 1)) != 0)
        return 4;
    }
    return 0;
  }
  if (args.value(1) == u"schleife") {
    for (int i = 1;; ++i) {
      if (RegistrySchreiben(HKCU, schluessel, QStringLiteral("Zaehler"), QString::number(i)) != 0)
        return 4;
      std::printf("%d\n", i);
      std::fflush(stdout);
    }
  }
  if (args.value(1) == u"halten") {
    const Registry::Sperre sperre;
    if (!sperre.gesperrt())
      return 3;
    std::printf("gesperrt\n");
    std::fflush(stdout);
    char zeile[8];
    std::fgets(zeile, sizeof zeile, stdin);
    return 0;
  }
  if (args.value(1) == u"grenze") {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit grenze{};
    grenze.rlim_cur = grenze.rlim_max = args.value(2).toULongLong();
    setrlimit(RLIMIT_FSIZE, &grenze);
    const qint32 status = RegistrySchreiben(HKCU, schluessel, QStringLiteral("Gross"),
                                            QString(args.value(3).toInt(), u'x'));
    std::printf("%d\n", status);
    return 0;
  }
  return 2;
}
