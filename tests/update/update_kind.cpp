// Child process for the update tests: the whole update run in a program folder, every message
// answered with its first button (Ja, OK) and printed as "style|title|prompt" lines at the end.
//   update_kind <programmordner>                 as installed
//   update_kind <programmordner> grenze <bytes>  with files of this process limited to <bytes>
//                                                (a full disk), SIGXFSZ ignored so that the
//                                                write fails instead of killing the process
//   update_kind <programmordner> ohnerechte      root's power over file permissions dropped,
//                                                so that read-only files refuse writes

#include "Meldung.h"
#include "Rechte.h"
#include "UpdateModul.h"

#include <sys/resource.h>
#include <QApplication>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2)
    return 2;
  if (args.value(2) == u"grenze") {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit grenze{};
    grenze.rlim_cur = grenze.rlim_max = args.value(3).toULongLong();
    if (setrlimit(RLIMIT_FSIZE, &grenze) != 0)
      return 3;
  }
  if (args.value(2) == u"ohnerechte" && !rechteAblegen())
    return 3;
  MeldungTest::installieren();
  UpdateStart(args.at(1));
  for (const auto& e : MeldungTest::gezeigt()) {
    QString prompt = e.prompt;
    prompt.replace(u'\n', QStringLiteral("\\n"));
    std::printf("%d|%s|%s\n", e.stil, e.titel.toUtf8().constData(), prompt.toUtf8().constData());
  }
  return 0;
}
