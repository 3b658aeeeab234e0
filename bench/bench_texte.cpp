// Texts: lookups in a large language file, and the search behind one keystroke of list
// completion.

#include "Grossbuch.h"
#include "Messumgebung.h"
#include "Sprache.h"

#include <benchmark/benchmark.h>
#include <QFile>
#include <QHash>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

constexpr int Zeilen = 2000;
constexpr int Abfragen = 10000;

// A language file of 2,000 lines: the section header, a comment and 1,998 texts.
QString sprachdatei() {
  const QString pfad = Messumgebung::ordner() + u"kvastlangGross.dll"_s;
  if (!QFile::exists(pfad)) {
    QByteArray inhalt = "; Benchmark\n[Sprache]\n";
    for (int i = 1; i <= Zeilen - 2; ++i)
      inhalt += QByteArray::number(i) + "=Text Nummer " + QByteArray::number(i) +
                " mit Umlauten äöü und etwas Länge\n";
    QFile f(pfad);
    if (f.open(QIODevice::WriteOnly))
      f.write(inhalt);
  }
  return pfad;
}

// Keys spread over the whole file, as captions and messages ask for them.
QStringList schluessel() {
  QStringList s;
  for (int i = 0; i < Abfragen; ++i)
    s.append(QString::number(1 + (i * 7919) % (Zeilen - 2)));
  return s;
}

void Sprachtexte_10000(benchmark::State& state) {
  const QString datei = sprachdatei();
  const QStringList keys = schluessel();
  const QString abschnitt = u"Sprache"_s;
  SprachText(datei, abschnitt, keys[0]);  // the file is in the cache before the measurement
  qsizetype laenge = 0;
  for (auto _ : state) {
    for (const QString& k : keys)
      laenge += SprachText(datei, abschnitt, k).size();
  }
  benchmark::DoNotOptimize(laenge);
  if (laenge == 0)
    state.SkipWithError("keine Texte gefunden");
}
BENCHMARK(Sprachtexte_10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same 10,000 lookups in a hash of the parsed file: what a lookup costs without any file.
void Referenz_Sprachtexte_QHash(benchmark::State& state) {
  QFile f(sprachdatei());
  f.open(QIODevice::ReadOnly);
  const Ini::Inhalt inhalt = Ini::parsen(Ini::dekodieren(f.readAll()));
  const QHash<QString, QString>& texte = inhalt.value(u"sprache"_s);
  const QStringList keys = schluessel();
  qsizetype laenge = 0;
  for (auto _ : state) {
    for (const QString& k : keys)
      laenge += texte.value(k).size();
  }
  benchmark::DoNotOptimize(laenge);
}
BENCHMARK(Referenz_Sprachtexte_QHash)->Unit(benchmark::kMillisecond)->UseRealTime();

// One keystroke of completion looks for the first of 10,000 entries that begins with the typed
// text, ignoring letter case. The text typed is the last entry but its last letter: the whole
// list is searched.
void Referenz_Vervollstaendigung_Praefixsuche(benchmark::State& state) {
  const QStringList eintraege = Grossbuch::verwendungen();
  const QString getippt = eintraege.last().chopped(1);
  qsizetype gefunden = -1;
  for (auto _ : state) {
    gefunden = -1;
    for (qsizetype i = 0; i < eintraege.size(); ++i) {
      if (eintraege[i].startsWith(getippt, Qt::CaseInsensitive)) {
        gefunden = i;
        break;
      }
    }
    benchmark::DoNotOptimize(gefunden);
  }
  state.counters["Eintraege"] = double(eintraege.size());
}
BENCHMARK(Referenz_Vervollstaendigung_Praefixsuche)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
