// velmark-bench: every in-process benchmark on the large household book, with Google Benchmark.
// Options are Google Benchmark's (--benchmark_filter, --benchmark_repetitions, ...);
// scripts/bench.sh runs it with repetitions and prints the table.

#include "BookingFormulare.h"
#include "CategoriesFormulare.h"
#include "Formular.h"
#include "Messumgebung.h"
#include "ShellFormulare.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <cstdio>

namespace {

QtMessageHandler qtAusgabe = nullptr;

// The offscreen platform says for every dialog shown that it cannot pass size hints on; the
// benchmarks' output stays readable without it.
void meldungFiltern(QtMsgType art, const QMessageLogContext& kontext, const QString& text) {
  if (art == QtWarningMsg && text.contains(QLatin1String("propagateSizeHints")))
    return;
  qtAusgabe(art, kontext, text);
}

}  // namespace

int main(int argc, char* argv[]) {
  qtAusgabe = qInstallMessageHandler(meldungFiltern);
  // Dialogs are built, filled and drawn as on a screen, only into memory.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QString fehler;
  if (!Messumgebung::vorbereiten(false, &fehler)) {
    std::fprintf(stderr, "%s\n", qPrintable(fehler));
    return 1;
  }
  int status = 0;
  {
    QApplication app(argc, argv);
    shellFormulareAnmelden();
    bookingFormulareAnmelden();
    categoriesFormulareAnmelden();
    if (!Messumgebung::vorbereiten(true, &fehler)) {
      std::fprintf(stderr, "%s\n", qPrintable(fehler));
      status = 1;
    } else {
      benchmark::Initialize(&argc, argv);
      if (benchmark::ReportUnrecognizedArguments(argc, argv))
        status = 1;
      else
        benchmark::RunSpecifiedBenchmarks();
      benchmark::Shutdown();
    }
    Formulare::alleEntladen();
  }
  Messumgebung::aufraeumen();
  return status;
}
