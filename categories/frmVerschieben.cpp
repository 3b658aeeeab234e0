#include "frmVerschieben.h"

#include "Bildliste.h"
#include "Farbwert.h"
#include "Kategoriebilder.h"
#include "Knotenklick.h"
#include "Meldung.h"
#include "Module1.h"
#include "Registry.h"
#include "Schluesselbaum.h"
#include "Sprache.h"
#include "SpracheAnwenden.h"
#include "Transaktion.h"
#include "Werte.h"
#include "Zustand.h"
#include "ui_frmVerschieben.h"

using namespace Qt::StringLiterals;

namespace {

const QString Wurzeltext = u"Kategorie"_s;

}  // namespace

frmVerschieben::frmVerschieben() : ui(new Ui::frmVerschieben), ImageList1(new Bildliste(this)) {
  ui->setupUi(this);
  KategorieBilderLaden(*ImageList1);
  Nodes = new Schluesselbaum(ui->TreeView1, ImageList1);
  ui->TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(new Knotenklick(ui->TreeView1), &Knotenklick::NodeClick, this,
          &frmVerschieben::TreeView1_NodeClick);
  // Selecting an entry, by the program or by the user.
  connect(ui->cboKategorie, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0)
      QuelleGewaehlt();
  });
  connect(ui->Tabulon1, &Tabulon::SelectionChange, this, &frmVerschieben::OkFreigeben);
  connect(ui->cmdOK, &QPushButton::clicked, this, &frmVerschieben::cmdOK_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &Formular::entladen);
  connect(ui->cmdHilfe, &QPushButton::clicked, this, &Formular::hilfeAnzeigen);
  FeldFokusVerbinden(ui->cboKategorie);
  FeldFokusVerbinden(ui->Tabulon1);
  FeldFokusVerbinden(ui->TreeView1);
}

frmVerschieben::~frmVerschieben() {
  delete Nodes;
  delete ui;
}

void frmVerschieben::beimLaden() {
  const QString sprache = BenutzerWert(u"Sprache"_s);
  SpracheAnwenden(sprache);
  setWindowTitle(SprachText(sprachdateiFuer(sprache), u"Sprache"_s, u"2221"_s));
  setzeHilfekontext(560);
  Data1.verbinden(zustand().Benutzerdatei);
  Data2.verbinden(zustand().Benutzerdatei);
  ZielBaumAufbauen();
  QuellListeFuellen();
  ui->cboKategorie->setFocus(Qt::OtherFocusReason);
  TippfensterPlatzLassen(this);
}

void frmVerschieben::beimEntladen() {
  TippfensterEntladen();
  Data1.schliessen();
  Data2.schliessen();
}

void frmVerschieben::ZielBaumAufbauen() {
  Nodes->leeren();
  QTreeWidgetItem* wurzel = Nodes->hinzufuegen(nullptr, Wurzeltext, Wurzeltext, 1);
  Nodes->sortiertSetzen(wurzel, true);
  Data1.abfrageSetzen(Abfrage(u"Kategorien"_s));
  for (Data1.ersteZeile(); !Data1.eof(); Data1.naechsteZeile()) {
    const QString k = Data1.wert(u"Kategorie"_s).toString();
    const QString u = Data1.wert(u"Unterkategorie"_s).toString();
    // Plain names as keys: an addition under a key that exists fails and is left out.
    Nodes->hinzufuegen(wurzel, k, k, 1);
    if (QTreeWidgetItem* haupt = Nodes->knoten(k))
      Nodes->hinzufuegen(haupt, u, u, 2);
  }
  wurzel->setExpanded(true);
}

void frmVerschieben::QuellListeFuellen() {
  Data2.abfrageSetzen(Abfrage(u"Kategorien"_s).sortiert({u"Unterkategorie"_s}));
  QStringList eintraege;
  QString vorher;
  for (Data2.ersteZeile(); !Data2.eof(); Data2.naechsteZeile()) {
    const QString u = Data2.wert(u"Unterkategorie"_s).toString();
    // Exact comparison: spellings that differ in letter case are two entries.
    if (u != vorher)
      eintraege.append(u);
    vorher = u;
  }
  {
    const QSignalBlocker sperre(ui->cboKategorie);
    ui->cboKategorie->clear();
    ui->cboKategorie->addItems(eintraege);
    ui->cboKategorie->setCurrentIndex(-1);
  }
  const QString gewaehlt = Vorauswahl.isEmpty() ? zustand().AusgewaehlteKategorie : Vorauswahl;
  int index = 0;
  if (!gewaehlt.isEmpty()) {
    index = ui->cboKategorie->findText(gewaehlt, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
      index = ui->cboKategorie->findText(gewaehlt, Qt::MatchFixedString);
  }
  if (index >= 0 && index < ui->cboKategorie->count())
    ui->cboKategorie->setCurrentIndex(index);
}

void frmVerschieben::QuelleGewaehlt() {
  QuellKategorie = ui->cboKategorie->currentText();
  OkFreigeben();
  BuchungenAnzeigen();
}

void frmVerschieben::BuchungenAnzeigen() {
  Tabulon* grid = ui->Tabulon1;
  grid->setDatabaseName(zustand().Benutzerdatei);
  grid->setLockType(3);
  grid->setRecordSource(
      Abfrage(u"Buchungen"_s,
              {u"ID"_s, u"Buchung"_s, u"Kontoname"_s, u"Datum"_s, u"Betrag"_s, u"Waehrung"_s,
               u"Verwendungszweck"_s, u"Kategorie"_s, u"Ausgabe"_s, u"Einnahme"_s, u"Saldo"_s})
          .wo(u"Kategorie"_s, QuellKategorie)
          .sortiert({u"Datum"_s, u"ID"_s}));
  grid->ClearFields();
  grid->Rebind();
  SpaltenFormatieren();
  // A missing or unreadable value leaves the grid's own colours.
  const QString schluessel = BenutzerSchluessel();
  grid->setRowColorEven(
      Farbwert(RegistryLesen(HKCU, schluessel, u"RowColorEven"_s)).value_or(QColor()));
  grid->setRowColorOdd(
      Farbwert(RegistryLesen(HKCU, schluessel, u"RowColorOdd"_s)).value_or(QColor()));
}

void frmVerschieben::SpaltenFormatieren() {
  Tabulon* grid = ui->Tabulon1;
  for (int spalte : {1, 2, 3, 5, 6, 8})
    grid->Columns(spalte).setVisible(false);
  grid->Columns(4).setWidth(1200);
  grid->Columns(4).setFormat(Werte::Datumsformat.toString());
  grid->Columns(7).setWidth(3000);
  for (int spalte : {9, 10, 11}) {
    grid->Columns(spalte).setWidth(1200);
    grid->Columns(spalte).setFormat(Werte::Betragsformat.toString());
    grid->Columns(spalte).setTextAlignment(TabulonSpalte::Rechts);
  }
}

void frmVerschieben::TreeView1_NodeClick(QTreeWidgetItem* Node) {
  if (!Node)
    return;
  ZielKategorie = Node->text(0);
  OkFreigeben();
}

void frmVerschieben::OkFreigeben() {
  ui->cmdOK->setEnabled(ui->Tabulon1->RowSelected(ui->Tabulon1->Row()) && !ZielKategorie.isEmpty());
}

void frmVerschieben::cmdOK_Click() {
  if (ZielKategorie == QuellKategorie) {
    MeldungNr(1715, 1716, 64);
    return;
  }
  if (!ui->Tabulon1->RowSelected(ui->Tabulon1->Row())) {
    MeldungNr(1719, 1716, 64);
    return;
  }
  QString grund;
  if (!BuchungenVerschieben(grund)) {
    QString prompt = Text(3004);
    if (!grund.isEmpty())
      prompt += u"\n\n"_s + grund;
    Meldung(prompt, Text(3104), 16);
    return;
  }
  MeldungNr(1717, 1716, 64);
  entladen();
}

bool frmVerschieben::BuchungenVerschieben(QString& grund) {
  Tabulon* grid = ui->Tabulon1;
  Transaktion transaktion(Data2);
  if (!transaktion.begonnen()) {
    grund = transaktion.fehler();
    return false;
  }
  // The booking number as a number; the first booking of the source category with it moves.
  // One statement for all of them, by the numbers the grid holds.
  QList<Abfrage> auswahlen;
  QVariantList ids;
  for (const TabulonAuswahl& eintrag : grid->SelectedItems()) {
    const QVariant id = grid->GetRowData(eintrag.RowPosition).Value(1);
    ids.append(id);
    auswahlen.append(Abfrage(u"Buchungen"_s).wo(u"Kategorie"_s, QuellKategorie).wo(u"ID"_s, id));
  }
  Datenbank& db = Data2.datenbank();
  QList<int> geaendert;
  if (!db.ersteZeilenAendern(auswahlen, u"Kategorie"_s, ZielKategorie, &geaendert)) {
    grund = db.fehler();
    return false;
  }
  if (const qsizetype fehlt = geaendert.indexOf(0); fehlt >= 0) {
    grund = u"Die Buchung Nr. %1 gehört nicht mehr zur Kategorie „%2“."_s.arg(
        ids[fehlt].toString(), QuellKategorie);
    return false;
  }
  if (!transaktion.bestaetigen()) {
    grund = transaktion.fehler();
    return false;
  }
  return true;
}
