// The dialogs and writes of the household book, each beside the raw engine doing the same work on
// the same file in the same process.

#include "Abfrage.h"
#include "Buchung.h"
#include "Buchungsseite.h"
#include "Datensatzquelle.h"
#include "Formular.h"
#include "Grossbuch.h"
#include "Hauptfenster.h"
#include "Messumgebung.h"
#include "Registry.h"
#include "Rohdatei.h"
#include "Zustand.h"
#include "frmAusgabe.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Counts the paint events of one widget: the dialog is ready once it has drawn itself (with what
// `fertig` waits for, when given).
class Zeichnungen : public QObject {
 public:
  int anzahl = 0;
  std::function<bool()> fertig;

 protected:
  bool eventFilter(QObject* ziel, QEvent* ereignis) override {
    if (ereignis->type() == QEvent::Paint && (!fertig || fertig()))
      ++anzahl;
    return QObject::eventFilter(ziel, ereignis);
  }
};

void verworfeneLoeschen() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// --- expense dialog ready ---------------------------------------------------------------------

void Ausgabedialog_bereit(benchmark::State& state) {
  for (auto _ : state) {
    frmAusgabe* dialog = Formulare::laden<frmAusgabe>();
    if (!dialog) {
      state.SkipWithError("frmAusgabe nicht geladen");
      break;
    }
    Zeichnungen zeichnungen;
    dialog->installEventFilter(&zeichnungen);
    dialog->show();
    while (zeichnungen.anzahl == 0)
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    state.PauseTiming();
    dialog->removeEventFilter(&zeichnungen);
    dialog->entladen();
    verworfeneLoeschen();
    state.ResumeTiming();
  }
}
BENCHMARK(Ausgabedialog_bereit)->Unit(benchmark::kMillisecond)->UseRealTime();

// The lists the dialog fills, read by the engine: both files opened, every row stepped, the
// texts copied out.
void Referenz_Ausgabelisten_roh(benchmark::State& state) {
  std::vector<std::string> texte;
  for (auto _ : state) {
    texte.clear();
    Rohdatei buch(Messumgebung::buch());
    Rohdatei daten(Messumgebung::daten());
    buch.lesen("SELECT * FROM Kategorien ORDER BY Unterkategorie COLLATE NOCASE", {1}, texte);
    buch.lesen("SELECT * FROM Adressen", {1}, texte);
    daten.lesen("SELECT * FROM Wechselkurs", {0, 2}, texte);
    buch.lesen("SELECT * FROM Konten", {0, 1, 2}, texte);
    buch.lesen("SELECT * FROM Verwendung ORDER BY Verwendung COLLATE NOCASE", {0}, texte);
    benchmark::DoNotOptimize(texte.data());
  }
  state.counters["Texte"] = double(texte.size());
}
BENCHMARK(Referenz_Ausgabelisten_roh)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- the main program's window on 100,000 bookings ----------------------------------------------

// kvasto started on the large book: its window until the booking list has drawn itself with the
// book's rows, the sums and the chart read.
void Kvasto_100000_Buchungen(benchmark::State& state) {
  int zeilen = 0;
  for (auto _ : state) {
    auto fenster = std::make_unique<Hauptfenster>(Messumgebung::ordner());
    QTableView* liste = fenster->buchungsseite()->liste();
    Zeichnungen zeichnungen;
    zeichnungen.fertig = [liste] { return liste->model()->rowCount() > 0; };
    liste->viewport()->installEventFilter(&zeichnungen);
    fenster->show();
    while (zeichnungen.anzahl == 0)
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    state.PauseTiming();
    zeilen = liste->model()->rowCount();
    liste->viewport()->removeEventFilter(&zeichnungen);
    fenster.reset();
    verworfeneLoeschen();
    state.ResumeTiming();
  }
  state.counters["Buchungen"] = zeilen;
}
BENCHMARK(Kvasto_100000_Buchungen)->Unit(benchmark::kMillisecond)->UseRealTime();

// The plain SELECT of every booking with the columns of the list, newest first, the texts copied.
void Referenz_Buchungen_lesen_roh(benchmark::State& state) {
  std::vector<std::string> texte;
  for (auto _ : state) {
    texte.clear();
    Rohdatei buch(Messumgebung::buch());
    buch.lesen(
        "SELECT ID, Datum, KontoName, Buchung, Empfaenger, Auftraggeber, Kategorie, "
        "Verwendungszweck, Betrag, Waehrung, Einnahme, Ausgabe FROM Buchungen "
        "ORDER BY Datum DESC, ID DESC",
        {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, texte);
    benchmark::DoNotOptimize(texte.data());
  }
  state.counters["Buchungen"] = double(texte.size() / 12);
}
BENCHMARK(Referenz_Buchungen_lesen_roh)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- one keystroke of list completion ----------------------------------------------------------

// The purpose list of the expense dialog holds the book's 10,000 purposes. Typed is the start of
// the last entry but its last two letters, then one more letter: the completion searches the
// list up to its end and fills in the last letter.
void Vervollstaendigung_Tastendruck(benchmark::State& state) {
  frmAusgabe* dialog = Formulare::laden<frmAusgabe>();
  if (!dialog) {
    state.SkipWithError("frmAusgabe nicht geladen");
    return;
  }
  dialog->show();
  dialog->activateWindow();
  auto* liste = dialog->findChild<QComboBox*>(u"cboVerwendungszweck"_s);
  QString eintrag;
  for (int i = liste->count() - 1; i >= 0 && eintrag.isEmpty(); --i) {
    const QString e = liste->itemText(i);
    if (e.size() >= 4 && e[e.size() - 2].isLetter() && e[e.size() - 2].unicode() < 0x80)
      eintrag = e;
  }
  const QString anfang = eintrag.left(eintrag.size() - 2);
  const QChar taste = eintrag[eintrag.size() - 2];
  liste->setFocus();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    {
      // The start typed before, without completing it letter by letter once more.
      const QSignalBlocker sperre(liste);
      const QSignalBlocker sperreFeld(liste->lineEdit());
      liste->lineEdit()->setText(anfang);
    }
    state.ResumeTiming();
    QTest::keyClick(liste, taste.toLatin1());
  }
  if (liste->currentText() != eintrag)
    state.SkipWithError(qPrintable(u"nicht vervollständigt: "_s + liste->currentText()));
  state.counters["Eintraege"] = liste->count();
  dialog->entladen();
  verworfeneLoeschen();
}
BENCHMARK(Vervollstaendigung_Tastendruck)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- one durable booking ---------------------------------------------------------------------

Buchung ausgabe() {
  Buchung b;
  b.art = Buchungsart::Ausgabe;
  b.KontoName = u"Girokonto"_s;
  b.Datum = u"05.03.2026"_s;
  b.Betrag = u"12,34"_s;
  b.Waehrung = u"EUR"_s;
  b.BetragKonto = u"12,34"_s;
  b.Name = u"Bäckerei am Markt"_s;
  b.Kategorie = Grossbuch::VielKategorie;
  b.Verwendungszweck = u"Brötchen"_s;
  return b;
}

void Buchung_dauerhaft(benchmark::State& state) {
  Datensatzquelle Data1;
  Data1.verbinden(zustand().Benutzerdatei);
  Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
  const Buchung b = ausgabe();
  // Every run (of all the repetitions) starts the 16-bit counter afresh.
  RegistrySchreiben(HKCU, BenutzerSchluessel(), u"ID"_s, u"0"_s);
  int seitZurueckgesetzt = 0;
  for (auto _ : state) {
    if (++seitZurueckgesetzt > 30000) {
      // The 16-bit counter would run out: start it again, outside the measured time.
      state.PauseTiming();
      RegistrySchreiben(HKCU, BenutzerSchluessel(), u"ID"_s, u"0"_s);
      seitZurueckgesetzt = 0;
      state.ResumeTiming();
    }
    const Buchungsergebnis e = BuchungSpeichern(Data1, b);
    if (!e.ok()) {
      state.SkipWithError(e.grund.toStdString().c_str());
      break;
    }
  }
  Data1.schliessen();
}
BENCHMARK(Buchung_dauerhaft)->Unit(benchmark::kMillisecond)->UseRealTime();

void Referenz_Insert_roh(benchmark::State& state) {
  Rohdatei buch(Messumgebung::buch());
  sqlite3_stmt* beginn = buch.anweisung("BEGIN IMMEDIATE");
  sqlite3_stmt* zeile = buch.anweisung(
      "INSERT INTO Buchungen (ID, KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, "
      "Ausgabe, Empfaenger, Auftraggeber, Kategorie, Verwendungszweck, Versicherung) "
      "VALUES (?, ?, ?, ?, 12.34, ?, 0, 12.34, ?, ?, ?, ?, ?)");
  sqlite3_stmt* ende = buch.anweisung("COMMIT");
  const QByteArray kategorie = Grossbuch::VielKategorie.toUtf8();
  long long id = 0;
  for (auto _ : state) {
    const bool ok =
        buch.schreiben(beginn, {}) &&
        buch.schreiben(zeile, {++id % 32767, "Girokonto", "Ausgabe", "2026-03-05", "EUR",
                               "Bäckerei am Markt", "", kategorie.constData(), "Brötchen", 0}) &&
        buch.schreiben(ende, {});
    if (!ok) {
      state.SkipWithError("INSERT fehlgeschlagen");
      break;
    }
  }
}
BENCHMARK(Referenz_Insert_roh)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- categories --------------------------------------------------------------------------------

// What the category dialog reads when it opens: the file opened, the table in tree order and
// once more for the tax marks.
void Referenz_Kategorien_lesen_roh(benchmark::State& state) {
  std::vector<std::string> texte;
  for (auto _ : state) {
    texte.clear();
    Rohdatei buch(Messumgebung::buch());
    buch.lesen(
        "SELECT * FROM Kategorien ORDER BY Kategorie COLLATE NOCASE, Unterkategorie COLLATE "
        "NOCASE",
        {0, 1, 2}, texte);
    // The tax marks, read once more in table order.
    buch.lesen("SELECT * FROM Kategorien", {1, 2}, texte);
    benchmark::DoNotOptimize(texte.data());
  }
}
BENCHMARK(Referenz_Kategorien_lesen_roh)->Unit(benchmark::kMillisecond)->UseRealTime();

// What its OK writes: the table emptied and every row appended, in one transaction.
void Referenz_Kategorien_speichern_roh(benchmark::State& state) {
  Rohdatei buch(Messumgebung::buch());
  std::vector<std::string> zeilen;
  buch.lesen("SELECT Kategorie, Unterkategorie, Steuer FROM Kategorien", {0, 1, 2}, zeilen);
  sqlite3_stmt* einfuegen =
      buch.anweisung("INSERT INTO Kategorien (Kategorie, Unterkategorie, Steuer) VALUES (?, ?, ?)");
  for (auto _ : state) {
    bool ok = buch.ausfuehren("BEGIN IMMEDIATE") && buch.ausfuehren("DELETE FROM Kategorien");
    for (size_t i = 0; ok && i + 2 < zeilen.size(); i += 3)
      ok = buch.schreiben(einfuegen,
                          {zeilen[i].c_str(), zeilen[i + 1].c_str(), std::stoll(zeilen[i + 2])});
    if (!ok || !buch.ausfuehren("COMMIT")) {
      state.SkipWithError("Kategorien nicht gespeichert");
      break;
    }
  }
  state.counters["Zeilen"] = double(zeilen.size() / 3);
}
BENCHMARK(Referenz_Kategorien_speichern_roh)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- moving bookings ---------------------------------------------------------------------------

// The first 1,000 bookings of the large category in the move dialog's order, moved to another
// category and back again in turns, each booking found by category and number, in one
// transaction.
void Referenz_Verschieben_roh(benchmark::State& state) {
  Rohdatei buch(Messumgebung::buch());
  const QByteArray viel = Grossbuch::VielKategorie.toUtf8();
  const QByteArray ziel = Grossbuch::VerschiebeZiel.toUtf8();
  std::vector<std::string> ids;
  buch.lesen(
      ("SELECT ID FROM Buchungen WHERE Kategorie = '" + viel + "' ORDER BY Datum, ID LIMIT 1000")
          .constData(),
      {0}, ids);
  sqlite3_stmt* aendern =
      buch.anweisung("UPDATE Buchungen SET Kategorie = ? WHERE Kategorie = ? AND ID = ?");
  bool hin = true;
  for (auto _ : state) {
    const char* von = hin ? viel.constData() : ziel.constData();
    const char* nach = hin ? ziel.constData() : viel.constData();
    bool ok = buch.ausfuehren("BEGIN IMMEDIATE");
    for (const std::string& id : ids)
      ok = ok && buch.schreiben(aendern, {nach, von, std::stoll(id)});
    if (!ok || !buch.ausfuehren("COMMIT")) {
      state.SkipWithError("Verschieben fehlgeschlagen");
      break;
    }
    hin = !hin;
  }
  // The book as it was, for the benchmarks after this one.
  if (!hin) {
    buch.ausfuehren("BEGIN IMMEDIATE");
    for (const std::string& id : ids)
      buch.schreiben(aendern, {viel.constData(), ziel.constData(), std::stoll(id)});
    buch.ausfuehren("COMMIT");
  }
  state.counters["Buchungen"] = double(ids.size());
}
BENCHMARK(Referenz_Verschieben_roh)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
