// The category dialog with the 500 categories of the large book, opened and saved, and the move
// dialog moving 1,000 bookings; their raw references are in bench_daten.cpp.

#include "Formular.h"
#include "Grossbuch.h"
#include "Meldung.h"
#include "Tabulon.h"
#include "Zustand.h"
#include "frmKategorie.h"
#include "frmVerschieben.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

void verworfeneLoeschen() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

void bisGezeigt(QWidget* form) {
  form->show();
  while (!form->isVisible() || !form->windowHandle() || !form->windowHandle()->isExposed())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  QCoreApplication::processEvents();
}

// The dialog opened until its tax marks are in: the timer that reads them a second after the
// load fires at once, so that the second is not measured.
frmKategorie* kategoriedialogOeffnen() {
  auto* form = Formulare::laden<frmKategorie>();
  if (!form)
    return nullptr;
  auto* timer = form->findChild<QTimer*>(u"Timer1"_s);
  if (timer && timer->isActive())
    timer->start(0);
  bisGezeigt(form);
  while (timer && timer->isActive())
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  return form;
}

void Kategoriedialog_oeffnen(benchmark::State& state) {
  int knoten = 0;
  for (auto _ : state) {
    frmKategorie* form = kategoriedialogOeffnen();
    if (!form) {
      state.SkipWithError("frmKategorie nicht geladen");
      break;
    }
    state.PauseTiming();
    knoten = form->findChild<QTreeWidget*>(u"TreeView1"_s)->topLevelItem(0)->childCount();
    form->entladen();
    verworfeneLoeschen();
    state.ResumeTiming();
  }
  state.counters["Hauptkategorien"] = knoten;
}
BENCHMARK(Kategoriedialog_oeffnen)->Unit(benchmark::kMillisecond)->UseRealTime();

// OK: the table rewritten from the tree in one transaction, and the dialog unloaded.
void Kategoriedialog_speichern(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    frmKategorie* form = kategoriedialogOeffnen();
    if (!form) {
      state.SkipWithError("frmKategorie nicht geladen");
      break;
    }
    MeldungTest::vergessen();
    auto* ok = form->findChild<QPushButton*>(u"cmdOK"_s);
    state.ResumeTiming();
    ok->click();
    state.PauseTiming();
    const bool fehler = Formulare::geladen<frmKategorie>() || !MeldungTest::gezeigt().isEmpty();
    Formulare::alleEntladen();
    verworfeneLoeschen();
    state.ResumeTiming();
    if (fehler) {
      state.SkipWithError("Kategorien nicht gespeichert");
      break;
    }
  }
}
BENCHMARK(Kategoriedialog_speichern)->Unit(benchmark::kMillisecond)->UseRealTime();

// A left click on a node's label, as the user makes it.
void knotenKlicken(QTreeWidget* baum, QTreeWidgetItem* knoten) {
  for (QTreeWidgetItem* p = knoten->parent(); p; p = p->parent())
    p->setExpanded(true);
  baum->scrollToItem(knoten);
  const QRect ort = baum->visualItemRect(knoten);
  QTest::mouseClick(baum->viewport(), Qt::LeftButton, {},
                    QPoint(ort.left() + 60, ort.center().y()));
}

QTreeWidgetItem* knotenMitText(QTreeWidget* baum, const QString& text) {
  const QList<QTreeWidgetItem*> treffer =
      baum->findItems(text, Qt::MatchExactly | Qt::MatchRecursive | Qt::MatchCaseSensitive);
  return treffer.isEmpty() ? nullptr : treffer.first();
}

// The move dialog opened on `von` with its first 1,000 bookings (the grid's order, by date and
// number) selected and `nach` clicked in the target tree; nullptr when that is not possible.
QPushButton* verschiebenVorbereiten(const QString& von, const QString& nach) {
  zustand().AusgewaehlteKategorie = von;
  auto* form = Formulare::laden<frmVerschieben>();
  if (!form)
    return nullptr;
  bisGezeigt(form);
  auto* grid = form->findChild<Tabulon*>(u"Tabulon1"_s);
  auto* baum = form->findChild<QTreeWidget*>(u"TreeView1"_s);
  QTreeWidgetItem* ziel = knotenMitText(baum, nach);
  if (!grid || !ziel || grid->model()->rowCount() < 1000)
    return nullptr;
  const QAbstractItemModel* modell = grid->model();
  grid->setCurrentIndex(modell->index(0, 3));
  grid->selectionModel()->select(
      QItemSelection(modell->index(0, 0), modell->index(999, modell->columnCount() - 1)),
      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  knotenKlicken(baum, ziel);
  auto* ok = form->findChild<QPushButton*>(u"cmdOK"_s);
  MeldungTest::vergessen();
  return ok && ok->isEnabled() ? ok : nullptr;
}

// After OK: the success message shown and the dialog gone.
bool verschobenUndEntladen() {
  const bool gelungen = MeldungTest::gezeigt().size() == 1 &&
                        MeldungTest::gezeigt().first().stil == 64 &&
                        !Formulare::geladen<frmVerschieben>();
  Formulare::alleEntladen();
  verworfeneLoeschen();
  return gelungen;
}

// 1,000 bookings of the large category moved to another subcategory by OK, and back again in the
// next round, so that every round moves as many.
void Verschieben_1000(benchmark::State& state) {
  bool hin = true;
  for (auto _ : state) {
    state.PauseTiming();
    QPushButton* ok =
        hin ? verschiebenVorbereiten(Grossbuch::VielKategorie, Grossbuch::VerschiebeZiel)
            : verschiebenVorbereiten(Grossbuch::VerschiebeZiel, Grossbuch::VielKategorie);
    if (!ok) {
      state.SkipWithError("Verschiebedialog ohne Buchungen, Ziel oder freies OK");
      Formulare::alleEntladen();
      break;
    }
    state.ResumeTiming();
    ok->click();
    state.PauseTiming();
    const bool gelungen = verschobenUndEntladen();
    hin = !hin;
    state.ResumeTiming();
    if (!gelungen) {
      state.SkipWithError("Buchungen nicht verschoben");
      break;
    }
  }
  // The book as it was, for the rounds and benchmarks after this one.
  if (!hin) {
    if (QPushButton* ok =
            verschiebenVorbereiten(Grossbuch::VerschiebeZiel, Grossbuch::VielKategorie)) {
      ok->click();
      verschobenUndEntladen();
    }
  }
  state.counters["Buchungen"] = 1000;
}
BENCHMARK(Verschieben_1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
