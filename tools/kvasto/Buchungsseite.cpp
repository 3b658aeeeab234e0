#include "Buchungsseite.h"

#include "CsvExport.h"
#include "Datensatzquelle.h"
#include "Eingabedialog.h"
#include "Meldung.h"
#include "Monatsdiagramm.h"
#include "Textvergleich.h"
#include "Werte.h"
#include "Zustand.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Main categories and subcategories in the category filter.
const QString Einrueckung = u"    "_s;

QString anzahlText(int n) {
  const QString zahl = QLocale(QLocale::German, QLocale::Germany).toString(n);
  return n == 1 ? u"1 Buchung"_s : zahl + u" Buchungen"_s;
}

QString betrag(double wert) {
  return Werte::formatieren(wert, Werte::Betragsformat);
}

void tabelleFuellen(QTableWidget* tabelle, const QList<QStringList>& zeilen, int ersteZahl) {
  tabelle->setRowCount(int(zeilen.size()));
  for (int i = 0; i < zeilen.size(); ++i) {
    for (int s = 0; s < zeilen[i].size(); ++s) {
      auto* item = new QTableWidgetItem(zeilen[i][s]);
      if (s >= ersteZahl)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      tabelle->setItem(i, s, item);
    }
  }
  tabelle->resizeColumnsToContents();
}

QTableWidget* summentabelle(QWidget* eltern, const QString& name, const QStringList& koepfe) {
  auto* t = new QTableWidget(0, int(koepfe.size()), eltern);
  t->setObjectName(name);
  t->setHorizontalHeaderLabels(koepfe);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionBehavior(QAbstractItemView::SelectRows);
  t->verticalHeader()->hide();
  t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

QComboBox* filterliste(QWidget* eltern, QHBoxLayout* zeile, const QString& name,
                       const QString& beschriftung) {
  auto* label = new QLabel(beschriftung, eltern);
  auto* liste = new QComboBox(eltern);
  liste->setObjectName(name);
  liste->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  label->setBuddy(liste);
  zeile->addWidget(label);
  zeile->addWidget(liste);
  return liste;
}

}  // namespace

Buchungsseite::Buchungsseite(Haushaltsbuch& buch, QWidget* parent) : QWidget(parent), m_buch(buch) {
  setObjectName(u"seiteBuchungen"_s);
  auto* layout = new QVBoxLayout(this);

  auto* filterzeile = new QHBoxLayout;
  m_konto = filterliste(this, filterzeile, u"cboKonto"_s, u"K&onto:"_s);
  m_monat = filterliste(this, filterzeile, u"cboMonat"_s, u"&Monat:"_s);
  m_kategorie = filterliste(this, filterzeile, u"cboKategorie"_s, u"Kate&gorie:"_s);
  auto* suchlabel = new QLabel(u"&Suche:"_s, this);
  m_suche = new QLineEdit(this);
  m_suche->setObjectName(u"txtSuche"_s);
  m_suche->setPlaceholderText(u"Verwendungszweck, Empfänger, Auftraggeber"_s);
  m_suche->setClearButtonEnabled(true);
  suchlabel->setBuddy(m_suche);
  filterzeile->addWidget(suchlabel);
  filterzeile->addWidget(m_suche, 1);
  layout->addLayout(filterzeile);

  auto* teilung = new QSplitter(Qt::Vertical, this);
  auto* oben = new QWidget(teilung);
  auto* obenLayout = new QVBoxLayout(oben);
  obenLayout->setContentsMargins(0, 0, 0, 0);
  m_modell = new Buchungsmodell(this);
  m_liste = new QTableView(oben);
  m_liste->setObjectName(u"tblBuchungen"_s);
  m_liste->setModel(m_modell);
  m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_liste->setSelectionMode(QAbstractItemView::SingleSelection);
  m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_liste->setAlternatingRowColors(true);
  m_liste->setWordWrap(false);
  m_liste->verticalHeader()->hide();
  // Fixed sizes: measuring the contents would read every row of a large book.
  m_liste->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_liste->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  m_liste->horizontalHeader()->setStretchLastSection(true);
  // Wide enough for the header and a typical value.
  const QStringList muster = {u"00000"_s,         u"00.00.0000"_s,    u"Girokonto"_s,
                              u"Einnahme"_s,      u"Supermarkt am"_s, u"Lebensmittel"_s,
                              u"Wocheneinkauf"_s, u"00.000,00"_s,     u"EUR"_s,
                              u"00.000,00"_s,     u"00.000,00"_s};
  const QFontMetrics kopf(m_liste->horizontalHeader()->font());
  for (int s = 0; s < Buchungsmodell::Spaltenzahl; ++s)
    m_liste->setColumnWidth(
        s, std::max(kopf.horizontalAdvance(
                        m_modell->headerData(s, Qt::Horizontal, Qt::DisplayRole).toString()),
                    fontMetrics().horizontalAdvance(muster[s])) +
               16);
  m_liste->installEventFilter(this);
  obenLayout->addWidget(m_liste);

  auto* knoepfe = new QHBoxLayout;
  m_anzahl = new QLabel(oben);
  m_anzahl->setObjectName(u"lblAnzahl"_s);
  m_bearbeiten = new QPushButton(u"Buchung ko&rrigieren ..."_s, oben);
  m_bearbeiten->setObjectName(u"cmdBearbeiten"_s);
  m_loeschen = new QPushButton(u"Buchung &löschen"_s, oben);
  m_loeschen->setObjectName(u"cmdLoeschen"_s);
  m_exportieren = new QPushButton(u"E&xportieren (CSV) ..."_s, oben);
  m_exportieren->setObjectName(u"cmdExportieren"_s);
  knoepfe->addWidget(m_anzahl);
  knoepfe->addStretch();
  for (QPushButton* k : {m_bearbeiten, m_loeschen, m_exportieren})
    knoepfe->addWidget(k);
  obenLayout->addLayout(knoepfe);
  m_status = new QLabel(oben);
  m_status->setObjectName(u"lblStatus"_s);
  m_status->setWordWrap(true);
  obenLayout->addWidget(m_status);

  // The sums one above the other at the left, the chart at the right.
  auto* unten = new QSplitter(Qt::Horizontal, teilung);
  auto* summen = new QSplitter(Qt::Vertical, unten);
  m_monatstabelle =
      summentabelle(summen, u"tblMonate"_s,
                    {u"Monat"_s, u"Währung"_s, u"Einnahmen"_s, u"Ausgaben"_s, u"Saldo"_s});
  m_kategorietabelle =
      summentabelle(summen, u"tblHauptkategorien"_s,
                    {u"Hauptkategorie"_s, u"Währung"_s, u"Einnahmen"_s, u"Ausgaben"_s});
  m_diagramm = new Monatsdiagramm(unten);
  unten->setStretchFactor(0, 3);
  unten->setStretchFactor(1, 2);
  teilung->setStretchFactor(0, 3);
  teilung->setStretchFactor(1, 2);
  layout->addWidget(teilung, 1);

  m_sucheVerzoegert = new QTimer(this);
  m_sucheVerzoegert->setSingleShot(true);
  m_sucheVerzoegert->setInterval(300);
  connect(m_suche, &QLineEdit::textChanged, m_sucheVerzoegert, qOverload<>(&QTimer::start));
  connect(m_sucheVerzoegert, &QTimer::timeout, this, &Buchungsseite::laden);
  for (QComboBox* l : {m_konto, m_monat, m_kategorie})
    connect(l, &QComboBox::currentIndexChanged, this, &Buchungsseite::laden);
  connect(m_bearbeiten, &QPushButton::clicked, this, &Buchungsseite::bearbeiten);
  connect(m_loeschen, &QPushButton::clicked, this, &Buchungsseite::loeschen);
  connect(m_exportieren, &QPushButton::clicked, this, &Buchungsseite::exportieren);
  connect(m_liste, &QTableView::doubleClicked, this, &Buchungsseite::bearbeiten);
}

// --- filters -----------------------------------------------------------------------------------

Buchungsfilter Buchungsseite::filter() const {
  Buchungsfilter f;
  f.konto = m_konto->currentData().toString();
  f.monat = m_monat->currentData().toDate();
  f.kategorien = m_kategorie->currentData().toStringList();
  f.text = m_suche->text().trimmed();
  return f;
}

void Buchungsseite::buchGewechselt(Buchungsleser* leser, const QString& benutzer) {
  m_leser = leser;
  m_benutzer = benutzer;
  {
    const QSignalBlocker s1(m_konto), s2(m_monat), s3(m_kategorie), s4(m_suche);
    m_konto->clear();
    m_monat->clear();
    m_kategorie->clear();
    m_suche->clear();
  }
  m_sucheVerzoegert->stop();
  m_status->clear();
  laden();
}

void Buchungsseite::filterlistenFuellen() {
  m_konten = m_buch.konten();
  m_kategorienTabelle.clear();
  Datensatzquelle q;
  q.verbinden(m_buch.buch());
  q.abfrageSetzen(Abfrage(u"Kategorien"_s).sortiert({u"Kategorie"_s, u"Unterkategorie"_s}));
  for (q.ersteZeile(); !q.eof(); q.naechsteZeile())
    m_kategorienTabelle.append(
        {q.wert(u"Kategorie"_s).toString(), q.wert(u"Unterkategorie"_s).toString()});

  // The lists keep what is chosen, if it is still there.
  const QString konto = m_konto->currentData().toString();
  const QString kategorie = m_kategorie->currentText();
  const QSignalBlocker s1(m_konto), s2(m_kategorie);
  m_konto->clear();
  m_konto->addItem(u"Alle Konten"_s, QString());
  for (const Konto& k : m_konten)
    m_konto->addItem(k.name, k.name);
  m_konto->setCurrentIndex(std::max(0, m_konto->findData(konto)));

  m_kategorie->clear();
  m_kategorie->addItem(u"Alle Kategorien"_s, QStringList());
  for (qsizetype i = 0; i < m_kategorienTabelle.size();) {
    const QString haupt = m_kategorienTabelle[i].first;
    QStringList unter;
    qsizetype j = i;
    for (; j < m_kategorienTabelle.size() &&
           Textvergleich::gleich(m_kategorienTabelle[j].first, haupt);
         ++j)
      unter.append(m_kategorienTabelle[j].second);
    m_kategorie->addItem(haupt, unter);
    for (const QString& u : unter) {
      if (!Textvergleich::gleich(u, haupt))
        m_kategorie->addItem(Einrueckung + u, QStringList{u});
    }
    i = j;
  }
  m_kategorie->setCurrentIndex(std::max(0, m_kategorie->findText(kategorie)));
}

void Buchungsseite::monatslisteFuellen() {
  static const QStringList monate = {u"Januar"_s,    u"Februar"_s, u"März"_s,     u"April"_s,
                                     u"Mai"_s,       u"Juni"_s,    u"Juli"_s,     u"August"_s,
                                     u"September"_s, u"Oktober"_s, u"November"_s, u"Dezember"_s};
  const QDate gewaehlt = m_monat->currentData().toDate();
  QList<QDate> liste;
  for (const Summenzeile& z : m_monate) {
    const QDate d = QDate::fromString(z.schluessel + u"-01"_s, Qt::ISODate);
    if (d.isValid() && !liste.contains(d))
      liste.append(d);
  }
  if (gewaehlt.isValid() && !liste.contains(gewaehlt))
    liste.append(gewaehlt);
  std::sort(liste.begin(), liste.end(), std::greater<>());
  const QSignalBlocker sperre(m_monat);
  m_monat->clear();
  m_monat->addItem(u"Alle Monate"_s, QDate());
  for (const QDate& d : liste)
    m_monat->addItem(monate[d.month() - 1] + u' ' + QString::number(d.year()), d);
  m_monat->setCurrentIndex(std::max(0, m_monat->findData(gewaehlt)));
}

// --- list and sums -------------------------------------------------------------------------------

void Buchungsseite::laden() {
  const bool offen = m_leser != nullptr;
  for (QWidget* w : std::initializer_list<QWidget*>{m_konto, m_monat, m_kategorie, m_suche, m_liste,
                                                    m_bearbeiten, m_loeschen, m_exportieren})
    w->setEnabled(offen);
  if (!offen) {
    m_modell->leeren();
    m_monate.clear();
    m_kategorien.clear();
    m_monatstabelle->setRowCount(0);
    m_kategorietabelle->setRowCount(0);
    m_diagramm->setzen({}, QString());
    m_anzahl->clear();
    return;
  }
  filterlistenFuellen();
  listeLaden();
  summenLaden();
}

void Buchungsseite::listeLaden() {
  const qint64 bisher = m_modell->zeilennummer(aktuelleZeile());
  if (!m_modell->laden(m_leser, filter()))
    m_status->setText(u"Die Buchungen konnten nicht gelesen werden: "_s + m_leser->fehler());
  const int n = m_modell->rowCount();
  m_anzahl->setText(anzahlText(n));
  int zeile = 0;
  for (int i = 0; bisher >= 0 && i < n; ++i) {
    if (m_modell->zeilennummer(i) == bisher) {
      zeile = i;
      break;
    }
  }
  if (n > 0)
    m_liste->selectRow(zeile);
  m_bearbeiten->setEnabled(n > 0);
  m_loeschen->setEnabled(n > 0);
}

QString Buchungsseite::eineWaehrung() const {
  const QString konto = filter().konto;
  QStringList waehrungen;
  for (const Konto& k : m_konten) {
    if (konto.isEmpty() || Textvergleich::gleich(k.name, konto)) {
      if (!waehrungen.contains(k.waehrung))
        waehrungen.append(k.waehrung);
    }
  }
  return waehrungen.size() == 1 ? waehrungen.first() : QString();
}

void Buchungsseite::summenLaden() {
  const Buchungsfilter f = filter();
  const QString eine = eineWaehrung();
  const bool jeKonto = eine.isEmpty();
  QList<Gruppensumme> gruppen;
  if (!m_leser->summenJeMonat(f, jeKonto, gruppen))
    m_status->setText(u"Die Summen konnten nicht gelesen werden: "_s + m_leser->fehler());
  m_monate = Summen::zusammenfassen(
      gruppen, [](const QString& s) { return s; }, m_konten, eine);
  std::sort(m_monate.begin(), m_monate.end(), [](const Summenzeile& a, const Summenzeile& b) {
    return a.schluessel != b.schluessel ? a.schluessel > b.schluessel : a.waehrung < b.waehrung;
  });
  if (!m_leser->summenJeKategorie(f, jeKonto, gruppen))
    m_status->setText(u"Die Summen konnten nicht gelesen werden: "_s + m_leser->fehler());
  m_kategorien =
      Summen::zusammenfassen(gruppen, Summen::hauptkategorien(m_kategorienTabelle), m_konten, eine);
  std::sort(m_kategorien.begin(), m_kategorien.end(),
            [](const Summenzeile& a, const Summenzeile& b) {
              const int v = Textvergleich::vergleichen(a.schluessel, b.schluessel);
              return v != 0 ? v < 0 : a.waehrung < b.waehrung;
            });
  monatslisteFuellen();

  QList<QStringList> zeilen;
  for (const Summenzeile& z : m_monate) {
    const int i = m_monat->findData(QDate::fromString(z.schluessel + u"-01"_s, Qt::ISODate));
    zeilen.append({i > 0 ? m_monat->itemText(i) : z.schluessel, z.waehrung, betrag(z.einnahmen),
                   betrag(z.ausgaben), betrag(z.einnahmen - z.ausgaben)});
  }
  tabelleFuellen(m_monatstabelle, zeilen, 2);
  zeilen.clear();
  for (const Summenzeile& z : m_kategorien)
    zeilen.append({z.schluessel, z.waehrung, betrag(z.einnahmen), betrag(z.ausgaben)});
  tabelleFuellen(m_kategorietabelle, zeilen, 2);

  // The chart shows one currency: the filter's, or the one most bookings are in.
  QString waehrung = eine;
  QStringList andere;
  if (waehrung.isEmpty()) {
    QHash<QString, int> anzahl;
    for (const Summenzeile& z : m_monate)
      anzahl[z.waehrung] += z.anzahl;
    for (auto it = anzahl.cbegin(); it != anzahl.cend(); ++it) {
      if (waehrung.isEmpty() || it.value() > anzahl.value(waehrung) ||
          (it.value() == anzahl.value(waehrung) && it.key() < waehrung))
        waehrung = it.key();
    }
    for (auto it = anzahl.cbegin(); it != anzahl.cend(); ++it) {
      if (it.key() != waehrung)
        andere.append(it.key());
    }
  }
  const QDate heute = Werte::datum(zustand().HeuteText).value_or(QDate::currentDate());
  QString titel = u"Einnahmen und Ausgaben der letzten zwölf Monate"_s;
  if (!waehrung.isEmpty())
    titel += u" in "_s + waehrung;
  if (!andere.isEmpty())
    titel += u" (nur Konten in "_s + waehrung + u')';
  m_diagramm->setzen(Monatsdiagramm::letzteZwoelf(m_monate, waehrung, heute), titel);
}

// --- one booking -------------------------------------------------------------------------------

int Buchungsseite::aktuelleZeile() const {
  const QModelIndexList gewaehlt =
      m_liste->selectionModel() ? m_liste->selectionModel()->selectedRows() : QModelIndexList();
  return gewaehlt.isEmpty() ? -1 : gewaehlt.first().row();
}

void Buchungsseite::bearbeiten() {
  const int zeile = aktuelleZeile();
  if (zeile < 0 || !m_leser)
    return;
  const qint64 nummer = m_modell->zeilennummer(zeile);
  const QVariantList b = m_modell->buchung(zeile);
  if (b.isEmpty()) {
    Aenderung::fehlgeschlagen(u"Die Buchung gibt es nicht mehr."_s).melden();
    emit geaendert();
    return;
  }
  using S = Buchungsspalte;
  const bool einnahme = spalte(b, S::Buchung).toString() == u"Einnahme";
  QStringList kategorien;
  for (const auto& [haupt, unter] : m_kategorienTabelle) {
    if (!kategorien.contains(unter))
      kategorien.append(unter);
  }
  std::sort(kategorien.begin(), kategorien.end(), [](const QString& a, const QString& c) {
    return Textvergleich::vergleichen(a, c) < 0;
  });
  Eingabedialog d(this, u"Buchung Nr. %1 korrigieren"_s.arg(spalte(b, S::ID).toString()));
  auto* datum =
      d.textfeld(u"txtDatum"_s, u"&Datum:"_s, Buchungsmodell::text(b, Buchungsmodell::Datum));
  auto* betragFeld =
      d.textfeld(u"txtBetrag"_s, u"&Betrag (%1):"_s.arg(spalte(b, S::Waehrung).toString()),
                 Buchungsmodell::text(b, Buchungsmodell::Betrag));
  auto* kategorie = d.auswahl(u"cboKategorie"_s, u"&Kategorie:"_s, kategorien,
                              spalte(b, S::Kategorie).toString(), true);
  auto* zweck = d.textfeld(u"txtVerwendungszweck"_s, u"&Verwendungszweck:"_s,
                           spalte(b, S::Verwendungszweck).toString());
  auto* name = d.textfeld(u"txtName"_s, einnahme ? u"&Auftraggeber:"_s : u"&Empfänger:"_s,
                          spalte(b, einnahme ? S::Auftraggeber : S::Empfaenger).toString());
  d.beimSpeichern([&] {
    return m_buch.buchungKorrigieren(
        nummer,
        {datum->text(), betragFeld->text(), kategorie->currentText(), zweck->text(), name->text()});
  });
  if (d.exec() == QDialog::Accepted)
    emit geaendert();
}

void Buchungsseite::loeschen() {
  const int zeile = aktuelleZeile();
  if (zeile < 0 || !m_leser)
    return;
  const QVariantList b = m_modell->buchung(zeile);
  const QString nr = Buchungsmodell::text(b, Buchungsmodell::Nr);
  const QString datum = Buchungsmodell::text(b, Buchungsmodell::Datum);
  if (Meldung(Text(3044).arg(nr, datum), Text(3144), 36, 3044, 3144) != Antwort::Ja)
    return;
  const Aenderung e = m_buch.buchungLoeschen(m_modell->zeilennummer(zeile));
  e.melden();
  if (e.ok())
    emit geaendert();
}

QString Buchungsseite::exportzielFragen() {
  QFileDialog d(this, u"Buchungen exportieren"_s);
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setNameFilter(u"CSV-Dateien (*.csv)"_s);
  d.setDefaultSuffix(u"csv"_s);
  const QString dokumente = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (QDir(dokumente).exists())
    d.setDirectory(dokumente);
  d.selectFile(u"Buchungen %1.csv"_s.arg(m_benutzer));
  return d.exec() == QDialog::Accepted ? d.selectedFiles().value(0) : QString();
}

void Buchungsseite::exportieren() {
  if (!m_leser)
    return;
  const QString pfad = exportzielFragen();
  if (pfad.isEmpty())
    return;
  int anzahl = 0;
  QString fehler;
  if (!CsvExport::schreiben(pfad, *m_leser, filter(), &anzahl, &fehler)) {
    Meldung(Text(3046) + u"\n\n"_s + fehler, Text(3146), 16, 3046, 3146);
    return;
  }
  m_status->setText(
      u"%1 nach „%2“ exportiert."_s.arg(anzahlText(anzahl), QDir::toNativeSeparators(pfad)));
}

bool Buchungsseite::eventFilter(QObject* ziel, QEvent* ereignis) {
  if (ziel == m_liste && ereignis->type() == QEvent::KeyPress) {
    const int taste = static_cast<QKeyEvent*>(ereignis)->key();
    if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
      bearbeiten();
      return true;
    }
    if (taste == Qt::Key_Delete) {
      loeschen();
      return true;
    }
  }
  return QWidget::eventFilter(ziel, ereignis);
}
