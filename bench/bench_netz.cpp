// Transfers from the local server: the update program's download and the Downloader's read,
// each beside curl fetching the same body from the same server in the same run. curl's own
// clock (time_total) is taken, so its process start is not counted against it.

#include "DownloadForm.h"
#include "Downloader.h"
#include "Messumgebung.h"
#include "Programm.h"
#include "UpdateModul.h"

#include <benchmark/benchmark.h>
#include <QFile>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 UpdateGroesse = qint64(64) << 20;
constexpr qint64 TextGroesse = qint64(8) << 20;

QString adresse(qint64 groesse) {
  const QString server = Messumgebung::server();
  return server.isEmpty() ? QString() : server + u"bytes/"_s + QString::number(groesse);
}

void durchsatz(benchmark::State& state, qint64 groesse) {
  state.SetBytesProcessed(int64_t(state.iterations()) * groesse);
}

// The download of the new main program as the update program runs it: its window with progress,
// the temporary file beside the target, flushed to disk and renamed over the target.
void Update_64MiB(benchmark::State& state) {
  const QString url = adresse(UpdateGroesse);
  const QString ziel = Messumgebung::ordner() + Hauptprogramm;
  DownloadForm form;
  for (auto _ : state) {
    updateZustand().DownloadErfolgreich = false;
    form.DownloadFile(url, ziel, QString(), QString());
    if (!updateZustand().DownloadErfolgreich || QFile(ziel).size() != UpdateGroesse) {
      state.SkipWithError("Download nicht vollständig");
      break;
    }
  }
  durchsatz(state, UpdateGroesse);
}
BENCHMARK(Update_64MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void Referenz_curl_64MiB(benchmark::State& state) {
  const QString url = adresse(UpdateGroesse);
  const QString ziel = Messumgebung::ordner() + u"curl.bin"_s;
  for (auto _ : state) {
    const double sekunden = Messumgebung::curlZeit(url, ziel);
    if (sekunden < 0) {
      state.SkipWithError("curl fehlgeschlagen");
      break;
    }
    state.SetIterationTime(sekunden);
  }
  QFile::remove(ziel);
  durchsatz(state, UpdateGroesse);
}
BENCHMARK(Referenz_curl_64MiB)->Unit(benchmark::kMillisecond)->UseManualTime();

void DownloadText_8MiB(benchmark::State& state) {
  QString url = adresse(TextGroesse);
  qint16 zeit = 60;
  Downloader downloader;
  for (auto _ : state) {
    const QVariant text = downloader.DownloadText(url, zeit);
    if (text.toString().size() != TextGroesse) {
      state.SkipWithError("DownloadText nicht vollständig");
      break;
    }
  }
  durchsatz(state, TextGroesse);
}
BENCHMARK(DownloadText_8MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

void Referenz_curl_8MiB(benchmark::State& state) {
  const QString url = adresse(TextGroesse);
  for (auto _ : state) {
    const double sekunden = Messumgebung::curlZeit(url, u"/dev/null"_s);
    if (sekunden < 0) {
      state.SkipWithError("curl fehlgeschlagen");
      break;
    }
    state.SetIterationTime(sekunden);
  }
  durchsatz(state, TextGroesse);
}
BENCHMARK(Referenz_curl_8MiB)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
