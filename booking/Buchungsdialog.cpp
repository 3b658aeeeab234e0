#include "Buchungsdialog.h"

#include "Abfrage.h"
#include "Bedingung.h"
#include "Buchungsmeldung.h"
#include "Betragsausdruck.h"
#include "Datenbank.h"
#include "Feldregeln.h"
#include "Meldung.h"
#include "Module1.h"
#include "Programm.h"
#include "SpracheAnwenden.h"
#include "Textvergleich.h"
#include "Waehrungsumrechnung.h"
#include "Werte.h"
#include "Zweckgedaechtnis.h"
#include "Zustand.h"
#include "ui_Buchungsdialog.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListView>
#include <QPointer>
#include <QStringListModel>
#include <QTimer>
#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

void sortieren(QStringList& liste) {
  std::stable_sort(liste.begin(), liste.end(), [](const QString& a, const QString& b) {
    return Textvergleich::vergleichen(a, b) < 0;
  });
}

// Adds an entry where the list's order puts it, after entries that sort the same; the text in the
// field stays as it is (adding to an empty list would otherwise select the new entry).
void sortiertEinfuegen(QComboBox* liste, const QString& eintrag) {
  int i = 0;
  while (i < liste->count() && Textvergleich::vergleichen(liste->itemText(i), eintrag) <= 0)
    ++i;
  const QString text = liste->currentText();
  {
    const QSignalBlocker sperre(liste);
    liste->insertItem(i, eintrag);
  }
  if (liste->currentText() != text)
    liste->setEditText(text);
}

// Fills a list in one go, without raising its events, and leaves nothing selected: the program's
// own selection comes afterwards and is the one that raises them.
void fuellen(QComboBox* liste, const QStringList& eintraege) {
  const QSignalBlocker sperre(liste);
  if (auto* modell = qobject_cast<QStringListModel*>(liste->model())) {
    modell->setStringList(eintraege);
  } else {
    liste->clear();
    liste->addItems(eintraege);
  }
  liste->setCurrentIndex(-1);
  if (liste->isEditable())
    liste->setEditText(QString());
}

QString text(const QVariant& wert) {
  return wert.isValid() ? wert.toString() : QString();
}

// What lbBetrag shows while the amount cannot be converted: no figure that is not the amount's.
const QString OhneBetrag = QStringLiteral("\u2013");

// The rate of a currency, looked up by its code (letter case ignored) on the rate table: that
// currency's own, or none when it has no row or its rate cannot convert.
std::optional<double> waehrungsKurs(Datensatzquelle& Data3, const QString& waehrung) {
  Data3.abfrageSetzen(Abfrage(u"Wechselkurs"_s));
  if (waehrung.isEmpty() || !Data3.finden(Bedingung::gleich(u"Waehrung"_s, waehrung)))
    return std::nullopt;
  return gueltigerKurs(Data3.wert(u"Kurs"_s));
}

// The field was left for another control of the same window, not because the window lost the
// focus or a list popped up.
bool verlassen(const QEvent* ereignis) {
  const auto grund = static_cast<const QFocusEvent*>(ereignis)->reason();
  return grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason;
}

}  // namespace

Buchungsdialog::Buchungsdialog(Beschreibung art)
    : ui(new Ui::Buchungsdialog), m_art(std::move(art)) {
  ui->setupUi(this);

  Namensliste = ui->cboEmpfaenger;
  if (!m_art.namensliste.isEmpty())
    Namensliste->setObjectName(m_art.namensliste);
  // All found before any is renamed, so that two controls can swap their names.
  QList<QPair<QWidget*, QString>> umbenennen;
  for (auto it = m_art.namen.cbegin(); it != m_art.namen.cend(); ++it) {
    if (auto* w = findChild<QWidget*>(it.key()))
      umbenennen.append({w, it.value()});
  }
  for (const auto& [w, name] : umbenennen)
    w->setObjectName(name);
  for (auto it = m_art.tags.cbegin(); it != m_art.tags.cend(); ++it) {
    if (auto* w = findChild<QWidget*>(it.key()))
      w->setProperty("Tag", it.value());
  }
  if (!m_art.inventar) {
    delete ui->Check1;
    delete ui->Label9;
    ui->Check1 = nullptr;
    ui->Label9 = nullptr;
  }
  ui->cmdOK->setEnabled(m_art.knoepfeAnfangsFrei);
  ui->cmdUebernehmen->setEnabled(m_art.knoepfeAnfangsFrei);

  // The shaded panel of the converted amount.
  QPalette schattiert = ui->Label7->palette();
  schattiert.setColor(QPalette::Window, palette().color(QPalette::Window).darker(112));
  ui->Label7->setPalette(schattiert);
  QFont fett = ui->lbBetrag->font();
  fett.setBold(true);
  if (fett.pointSizeF() > 0)
    fett.setPointSizeF(fett.pointSizeF() * 1.2);
  ui->lbBetrag->setFont(fett);

  // The lists hold texts only, thousands of them in a large book: a list of strings takes them in
  // one step, where the combo box's own model builds an item with its signals for each.
  for (QComboBox* liste :
       {ui->cboKonto, ui->cboWaehrung, ui->cboVerwendungszweck, ui->cboKategorie, Namensliste})
    liste->setModel(new QStringListModel(liste));
  for (QComboBox* liste : {ui->cboVerwendungszweck, ui->cboKategorie, Namensliste}) {
    // Completion is the dialog's own; Qt's would complete a second time.
    liste->setCompleter(nullptr);
    // Long lists (thousands of purposes or addresses) pop up without measuring every row.
    if (auto* ansicht = qobject_cast<QListView*>(liste->view()))
      ansicht->setUniformItemSizes(true);
    liste->installEventFilter(this);
    connect(liste, &QComboBox::currentTextChanged, this, [this, liste] { Liste_Change(liste); });
  }
  for (QWidget* feld : {static_cast<QWidget*>(ui->txtDatum), static_cast<QWidget*>(ui->txtBetrag),
                        static_cast<QWidget*>(Namensliste), static_cast<QWidget*>(ui->cboKategorie),
                        static_cast<QWidget*>(ui->cboVerwendungszweck)})
    FeldFokusVerbinden(feld);
  ui->txtDatum->installEventFilter(this);
  ui->txtBetrag->installEventFilter(this);

  connect(ui->cmdOK, &QPushButton::clicked, this, &Buchungsdialog::cmdOK_Click);
  connect(ui->cmdUebernehmen, &QPushButton::clicked, this, &Buchungsdialog::cmdUebernehmen_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &Buchungsdialog::cmdAbbrechen_Click);
  connect(ui->cmdHilfe, &QPushButton::clicked, this, &Formular::hilfeAnzeigen);
  connect(ui->cmdSave, &QPushButton::clicked, this, &Buchungsdialog::cmdSave_Click);
  connect(ui->cmdKategorie, &QPushButton::clicked, this, &Buchungsdialog::cmdKategorie_Click);
  connect(ui->cmdKalender, &QPushButton::clicked, this, &Buchungsdialog::cmdKalender_Click);
  connect(ui->cboKonto, &QComboBox::currentIndexChanged, this, &Buchungsdialog::cboKonto_Click);
  if (m_art.kontoAenderung)
    connect(ui->cboKonto, &QComboBox::currentTextChanged, this, &Buchungsdialog::cboKonto_Change);
  connect(ui->cboWaehrung, &QComboBox::currentIndexChanged, this,
          &Buchungsdialog::cboWaehrung_Click);
  connect(ui->txtBetrag, &QLineEdit::textChanged, this, &Buchungsdialog::txtBetrag_Change);
}

Buchungsdialog::~Buchungsdialog() {
  delete ui;
}

void Buchungsdialog::bilderLaden() {
  const auto bild = [](QPushButton* knopf, const QString& datei) {
    const QString pfad = zustand().Programmordner + datei;
    if (QFileInfo::exists(pfad))
      knopf->setIcon(QIcon(pfad));
  };
  bild(ui->cmdKalender, u"kalender.png"_s);
  bild(ui->cmdSave, u"speichern.png"_s);
}

// --- load and unload -------------------------------------------------------------------------

void Buchungsdialog::beimLaden() {
  SpracheAnwenden(ProduktWert(u"Sprache"_s));
  setWindowTitle(Text(m_art.titel));
  setzeHilfekontext(m_art.hilfekontext);
  bilderLaden();

  // The user and book of this dialog from now on, whoever signs in while it is open.
  m_benutzer = zustand().AktuellerBenutzer;
  m_buchdatei = zustand().Benutzerdatei;
  Data1.verbinden(m_buchdatei);
  Data2.verbinden(m_buchdatei);
  Data3.verbinden(zustand().Datendatei);
  Datenbank::buchdateiOeffnen(m_buchdatei);
  Datenbank::datendateiOeffnen(zustand().Datendatei);

  ListenFuellen();
  KontenFuellen();
  VerwendungFuellen();
  Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
  ui->txtDatum->setText(zustand().HeuteText);
  platzieren();
  // Once the dialog shows, so that the note stands above it.
  QTimer::singleShot(0, this, &Buchungsdialog::KontoFehltHinweis);
}

void Buchungsdialog::KontoFehltHinweis() {
  // Only a book that opened and has an empty account table: a missing file or table is not
  // something the main program could mend by a new account.
  Data2.abfrageSetzen(Abfrage(u"Konten"_s));
  Data2.ersteZeile();
  if (!Data2.fehler().isEmpty() || !Data2.eof())
    return;
  if (MeldungNr(3040, 3140, 36) != Antwort::Ja)
    return;
  HauptprogrammStarten(zustand().Programmordner);
  // Its lists would stay without the new account: the next booking command loads them anew.
  entladen();
}

void Buchungsdialog::platzieren() {
  adjustSize();
  TippfensterPlatzLassen(this);
}

void Buchungsdialog::beimEntladen() {
  if (auto* tipp = Formulare::geladen(u"frmHilfe"_s); tipp && tipp->isVisible())
    TippfensterEntladen();
  Data1.schliessen();
  Data2.schliessen();
  Data3.schliessen();
}

// --- lists -----------------------------------------------------------------------------------

void Buchungsdialog::ListenFuellen() {
  KategorienFuellen();

  QStringList namen;
  Data2.abfrageSetzen(Abfrage(u"Adressen"_s));
  QString vorher;
  for (Data2.ersteZeile(); !Data2.eof(); Data2.naechsteZeile()) {
    const QString name = text(Data2.wert(u"Name"_s));
    if (m_art.namenFiltern) {
      const bool wiederholt = name == vorher;
      vorher = name;
      const auto zahl = Werte::zahl(name);
      if (wiederholt || (zahl && *zahl == 0))
        continue;
    }
    namen.append(name);
  }
  sortieren(namen);
  fuellen(Namensliste, namen);

  QStringList waehrungen;
  Data3.abfrageSetzen(Abfrage(u"Wechselkurs"_s));
  for (Data3.ersteZeile(); !Data3.eof(); Data3.naechsteZeile()) {
    if (Data3.wert(u"Aktiv"_s).toInt() != 0)
      waehrungen.append(text(Data3.wert(u"Waehrung"_s)));
  }
  fuellen(ui->cboWaehrung, waehrungen);
  textSetzen(ui->cboWaehrung, KontoWaehrung);
}

// One column of a table in its sort order, a text equal to the one before it left out (an empty
// first text too, as the lists always had it).
QStringList Buchungsdialog::spalteOhneWiederholung(const QString& tabelle, const QString& spalte) {
  QStringList texte;
  Data2.abfrageSetzen(Abfrage(tabelle).sortiert({spalte}));
  QString vorher;
  for (Data2.ersteZeile(); !Data2.eof(); Data2.naechsteZeile()) {
    const QString t = text(Data2.wert(spalte));
    if (t != vorher) {
      texte.append(t);
      vorher = t;
    }
  }
  return texte;
}

void Buchungsdialog::KategorienFuellen() {
  QStringList kategorien = spalteOhneWiederholung(u"Kategorien"_s, u"Unterkategorie"_s);
  sortieren(kategorien);
  fuellen(ui->cboKategorie, kategorien);
}

void Buchungsdialog::KontenFuellen() {
  QStringList konten;
  Data2.abfrageSetzen(Abfrage(u"Konten"_s));
  for (Data2.ersteZeile(); !Data2.eof(); Data2.naechsteZeile())
    konten.append(text(Data2.wert(u"KontoName"_s)));
  fuellen(ui->cboKonto, konten);
  if (!konten.isEmpty())
    ui->cboKonto->setCurrentIndex(0);
}

void Buchungsdialog::VerwendungFuellen() {
  fuellen(ui->cboVerwendungszweck, spalteOhneWiederholung(u"Verwendung"_s, u"Verwendung"_s));
}

// The text of a list: an editable list takes it as it is; a selection-only list selects the entry
// with that text (letter case ignored) and stays as it was when there is none.
void Buchungsdialog::textSetzen(QComboBox* liste, const QString& text) {
  if (liste->isEditable()) {
    liste->setEditText(text);
    return;
  }
  if (text.isEmpty())
    return;
  const int i = liste->findText(text, Qt::MatchFixedString);
  if (i >= 0)
    liste->setCurrentIndex(i);
}

// --- currency conversion ---------------------------------------------------------------------

// Names are looked up as names, letter case ignored as the engine ignores it: "_" and "%" are
// characters like any other ("Konto_1" is not "KontoA1").
void Buchungsdialog::cboKonto_Click() {
  Data2.abfrageSetzen(Abfrage(u"Konten"_s));
  if (Data2.finden(Bedingung::gleich(u"KontoName"_s, ui->cboKonto->currentText()))) {
    KontoWaehrung = text(Data2.wert(u"Waehrung"_s));
    const QVariant datum = Data2.wert(u"Datum"_s);
    if (datum.typeId() == QMetaType::QDate)
      zustand().KontoDatum = datum.toDate();
  } else {
    // No currency of another account: without one nothing is converted.
    KontoWaehrung.clear();
  }
  ui->Label8->setText(u"Betrag in "_s + KontoWaehrung);
  KursKonto = waehrungsKurs(Data3, KontoWaehrung);
  BetragUmrechnen();

  // The account's currency becomes the entry currency when it is offered; selecting it again
  // still looks its rate up anew.
  const int i =
      KontoWaehrung.isEmpty() ? -1 : ui->cboWaehrung->findText(KontoWaehrung, Qt::MatchFixedString);
  if (i >= 0 && i == ui->cboWaehrung->currentIndex())
    cboWaehrung_Click();
  else
    textSetzen(ui->cboWaehrung, KontoWaehrung);
}

void Buchungsdialog::cboKonto_Change() {
  KnoepfeFreigeben();
}

void Buchungsdialog::cboWaehrung_Click() {
  KursEingabe = waehrungsKurs(Data3, ui->cboWaehrung->currentText());
  BetragUmrechnen();
}

Umrechnung Buchungsdialog::umrechnungJetzt() const {
  // An expression shows its value while it is typed; the field takes it when it is left.
  const auto betrag = Feldregeln::Betragswert(ui->txtBetrag->text());
  if (!betrag) {
    Umrechnung u;
    u.fehler = Umrechnung::Fehler::KeinBetrag;
    return u;
  }
  return umrechnen(*betrag, ui->cboWaehrung->currentText(), KursEingabe, KontoWaehrung, KursKonto);
}

QString Buchungsdialog::betragKontoText(const Umrechnung& u) const {
  if (u.unveraendert)
    return Betragsausdruck::ersetzen(ui->txtBetrag->text()).value_or(ui->txtBetrag->text());
  return Werte::formatieren(u.betrag.value_or(0), Werte::Betragsformat);
}

void Buchungsdialog::BetragUmrechnen() {
  const Umrechnung u = umrechnungJetzt();
  if (!u.ok()) {
    lbBetragSetzen(OhneBetrag);
    return;
  }
  if (u.euro)
    BetragEuro = *u.euro;
  BetragKonto = *u.betrag;
  lbBetragSetzen(betragKontoText(u));
}

void Buchungsdialog::lbBetragSetzen(const QString& text) {
  ui->lbBetrag->setText(text);
  lbBetrag_Change();
}

void Buchungsdialog::lbBetrag_Change() {
  ui->lbBetrag->setText(Werte::formatieren(ui->lbBetrag->text(), Werte::Betragsformat));
}

// --- fields ----------------------------------------------------------------------------------

void Buchungsdialog::txtBetrag_Change() {
  KnoepfeFreigeben();
  BetragUmrechnen();
}

void Buchungsdialog::Liste_Change(QComboBox* liste) {
  ListeVervollstaendigen(liste);
  KnoepfeFreigeben();
}

void Buchungsdialog::KnoepfeFreigeben() {
  const auto betrag = Feldregeln::Betragswert(ui->txtBetrag->text());
  const bool frei = betrag && *betrag != 0 && !ui->cboKategorie->currentText().isEmpty();
  ui->cmdOK->setEnabled(frei);
  ui->cmdUebernehmen->setEnabled(frei);
}

bool Buchungsdialog::eventFilter(QObject* ziel, QEvent* ereignis) {
  const QEvent::Type art = ereignis->type();
  if (art == QEvent::KeyPress) {
    auto* taste = static_cast<QKeyEvent*>(ereignis);
    if (ziel == ui->txtBetrag)
      return BetragTaste(taste);
    if (ziel == ui->txtDatum)
      return DatumTaste(taste);
    if (auto* liste = qobject_cast<QComboBox*>(ziel))
      ListeTasteGedrueckt(liste, taste);
  } else if (art == QEvent::FocusOut && !wirdEntladen() && verlassen(ereignis)) {
    if (ziel == ui->txtBetrag)
      txtBetrag_LostFocus();
    else if (ziel == ui->txtDatum)
      txtDatum_LostFocus();
    else if (ziel == Namensliste)
      NamenslisteVerlassen();
    else if (ziel == ui->cboVerwendungszweck)
      VerwendungVerlassen();
  }
  return Formular::eventFilter(ziel, ereignis);
}

// True: the key is discarded before it reaches the field.
bool Buchungsdialog::BetragTaste(QKeyEvent* taste) {
  // Enter takes an expression's value before the dialog's default button sees the key.
  if (taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter) {
    if (const auto wert = Betragsausdruck::ersetzen(ui->txtBetrag->text()))
      ui->txtBetrag->setText(*wert);
    return false;
  }
  const auto zeichen = Feldregeln::getippt(taste);
  return zeichen && !Feldregeln::Betragszeichen(*zeichen);
}

bool Buchungsdialog::DatumTaste(QKeyEvent* taste) {
  const auto zeichen = Feldregeln::getippt(taste);
  if (!zeichen)
    return false;
  const Feldregeln::Datumstaste art = Feldregeln::Datumszeichen(*zeichen);
  if (art == Feldregeln::Datumstaste::Tippen)
    return false;
  if (art != Feldregeln::Datumstaste::Verwerfen) {
    const int tage = art == Feldregeln::Datumstaste::TagVor ? 1 : -1;
    if (const auto neu = Feldregeln::Tagesschritt(ui->txtDatum->text(), tage))
      ui->txtDatum->setText(*neu);
  }
  return true;
}

void Buchungsdialog::txtBetrag_LostFocus() {
  ui->txtBetrag->setText(Feldregeln::BetragVerlassen(ui->txtBetrag->text()));
}

void Buchungsdialog::txtDatum_LostFocus() {
  DatumsfeldPruefen(ui->txtDatum);
  DatumPruefen();
}

void Buchungsdialog::DatumPruefen() {
  const QDate& beginn = zustand().KontoDatum;
  const auto datum = Werte::datum(ui->txtDatum->text());
  // A date that cannot be read, on either side, is refused like one before the start.
  if (beginn.isValid() && datum && !(beginn > *datum))
    return;
  MeldungNr(m_art.datum.prompt, m_art.datum.titel, 64);
  ui->txtDatum->setText(zustand().HeuteText);
  ui->txtDatum->setFocus(Qt::OtherFocusReason);
}

void Buchungsdialog::FelderLeeren() {
  if (m_art.datumNachUebernahme)
    ui->txtDatum->setText(zustand().HeuteText);
  ui->txtBetrag->setText(Werte::formatieren(u"0,00"_s, Werte::Standard));
  for (QComboBox* liste : {Namensliste, ui->cboKategorie, ui->cboVerwendungszweck}) {
    liste->setCurrentIndex(-1);
    liste->setEditText(QString());
  }
  // "0,00", or no figure while the amount cannot be converted.
  BetragUmrechnen();
  if (ui->Check1)
    ui->Check1->setChecked(false);
}

// --- completion and address capture ---------------------------------------------------------

clsComboFill& Buchungsdialog::Fill() {
  if (!m_fill)
    m_fill = std::make_unique<clsComboFill>();
  return *m_fill;
}

void Buchungsdialog::ListeTasteGedrueckt(QComboBox* liste, QKeyEvent* taste) {
  Fill().SupressKeyStroke(liste, clsComboFill::Tastencode(taste));
}

void Buchungsdialog::ListeVervollstaendigen(QComboBox* liste) {
  Fill().GetListValue(liste);
}

void Buchungsdialog::NamenslisteVerlassen() {
  const QString name = Namensliste->currentText();
  if (name.isEmpty())
    return;
  // "=" on text ignores letter case, umlauts included; the name is a bound value, so a single
  // quote in it is a character like any other.
  Data2.abfrageSetzen(Abfrage(u"Adressen"_s).wo(u"Name"_s, name));
  if (Data2.anzahl() > 0)
    return;
  if (MeldungNr(m_art.neueAdresse.prompt, m_art.neueAdresse.titel, 36) != Antwort::Ja)
    return;
  Data2.neu();
  Data2.setzen(u"ID"_s, int(zustand().AktuelleID));
  Data2.setzen(u"Name"_s, name);
  Data2.speichern();
  sortiertEinfuegen(Namensliste, name);
}

void Buchungsdialog::VerwendungVerlassen() {
  const bool ohneKategorie = ui->cboKategorie->currentText().isEmpty();
  const bool ohneName = Namensliste->currentText().isEmpty();
  if (!ohneKategorie && !ohneName)
    return;
  const auto vorschlag =
      LetzteBuchungMitZweck(Data1.datenbank(), m_art.art, ui->cboVerwendungszweck->currentText());
  if (!vorschlag)
    return;
  // Set as the program's text, selected so that typing replaces it; the completion must not
  // extend it into another entry.
  const auto vorschlagen = [](QComboBox* liste, const QString& text) {
    const QSignalBlocker sperre(liste);
    liste->setEditText(text);
    liste->lineEdit()->selectAll();
  };
  if (ohneKategorie && !vorschlag->Kategorie.isEmpty())
    vorschlagen(ui->cboKategorie, vorschlag->Kategorie);
  if (ohneName && !vorschlag->Name.isEmpty())
    vorschlagen(Namensliste, vorschlag->Name);
  KnoepfeFreigeben();
}

// --- buttons ---------------------------------------------------------------------------------

void Buchungsdialog::cmdOK_Click() {
  Buchen(ui->cmdOK, true);
}

void Buchungsdialog::cmdUebernehmen_Click() {
  Buchen(ui->cmdUebernehmen, false);
}

void Buchungsdialog::cmdAbbrechen_Click() {
  entladen();
}

void Buchungsdialog::Buchen(QPushButton* knopf, bool schliessen) {
  // A second Enter or click that arrives after OK has unloaded the dialog books nothing more.
  if (wirdEntladen())
    return;
  // Enter in a field presses the button without the field being left: the field's leave rules
  // run first, as a click would run them, and the booking goes ahead only when they let the focus
  // go and the button is still enabled.
  if (focusWidget() != knopf) {
    knopf->setFocus(Qt::OtherFocusReason);
    if (focusWidget() != knopf || !knopf->isEnabled())
      return;
  }

  const auto betrag = Werte::zahl(ui->txtBetrag->text());
  if (!betrag || *betrag == 0 || ui->cboKategorie->currentText().isEmpty()) {
    MeldungNr(m_art.unvollstaendig.prompt, m_art.unvollstaendig.titel, 64);
    return;
  }
  // Without a conversion there is no amount to book: the fields stay for another currency.
  if (const Umrechnung u = umrechnungJetzt(); !u.ok()) {
    UmrechnungsfehlerMelden(u);
    return;
  }
  const Buchungsergebnis ergebnis = BuchungSchreiben();
  if (!ergebnis.ok()) {
    // Every field stays as it is, so the user can try again.
    BuchungsfehlerMelden(ergebnis);
    return;
  }
  BuchungMelden(ergebnis.beleg);
  if (schliessen) {
    entladen();
    return;
  }
  FelderLeeren();
  ui->txtBetrag->setFocus(Qt::OtherFocusReason);
}

void Buchungsdialog::BuchungMelden(const Buchungsbeleg& beleg) {
  const QString art = m_art.art == Buchungsart::Ausgabe ? u"Ausgabe"_s : u"Einnahme"_s;
  Buchungsmelder::instanz().melden(
      {Buchungstext(art, ui->txtBetrag->text(), ui->cboWaehrung->currentText(),
                    ui->cboKategorie->currentText()),
       [beleg] { return BuchungZuruecknehmen(beleg); }});
}

void Buchungsdialog::UmrechnungsfehlerMelden(const Umrechnung& u) {
  switch (u.fehler) {
    case Umrechnung::Fehler::OhneKurs:
      Meldung(Text(3011).replace(u"%1"_s, u.waehrung), Text(3111), 48, 3011, 3111);
      return;
    case Umrechnung::Fehler::KeineWaehrung:
      MeldungNr(3012, 3112, 48);
      return;
    case Umrechnung::Fehler::ZuGross:
      Meldung(Text(3013).replace(u"%1"_s, u.waehrung), Text(3113), 48, 3013, 3113);
      return;
    case Umrechnung::Fehler::KeinBetrag:
    case Umrechnung::Fehler::Keiner:
      return;
  }
}

bool Buchungsdialog::buchungBegonnen() const {
  const QString betrag = ui->txtBetrag->text();
  if (const auto zahl = Werte::zahl(betrag))
    return *zahl != 0;
  return !betrag.trimmed().isEmpty();
}

Buchungsergebnis Buchungsdialog::BuchungSchreiben() {
  Buchung b;
  b.art = m_art.art;
  b.Benutzer = m_benutzer;
  b.KontoName = ui->cboKonto->currentText();
  b.Datum = ui->txtDatum->text();
  b.Betrag = ui->txtBetrag->text();
  b.Waehrung = ui->cboWaehrung->currentText();
  b.BetragKonto = betragKontoText(umrechnungJetzt());
  b.Name = Namensliste->currentText();
  b.Kategorie = ui->cboKategorie->currentText();
  b.Verwendungszweck = ui->cboVerwendungszweck->currentText();
  if (ui->Check1) {
    b.Versicherung = ui->Check1->isChecked() ? 1 : 0;
    if (ui->Check1->isChecked())
      b.inventar = InventarSchreiben();
  }
  return BuchungSpeichern(Data1, b);
}

// --- inventory -------------------------------------------------------------------------------

Inventarzeile Buchungsdialog::InventarSchreiben() {
  Inventarzeile z;
  z.Besitzer = m_benutzer;
  z.Kategorie = ui->cboKategorie->currentText();
  z.Datum = ui->txtDatum->text();
  z.Beschreibung = ui->cboVerwendungszweck->currentText();
  z.Kaufpreis = Werte::formatieren(ui->txtBetrag->text(), Werte::Standard);
  z.Waehrung = ui->cboWaehrung->currentText();
  z.Betrag = KaufpreisUmrechnen();
  return z;
}

QString Buchungsdialog::KaufpreisUmrechnen() {
  const QString E = ui->cboWaehrung->currentText();
  const QString wieEingegeben = Werte::formatieren(ui->txtBetrag->text(), Werte::Standard);
  if (const auto preis = Werte::zahl(ui->txtBetrag->text()))
    KaufpreisVersicherung = *preis;

  // The insurance currency is the first row's; its rate is looked up anew for every item.
  Data3.abfrageSetzen(Abfrage(u"Versicherung"_s));
  Data3.ersteZeile();
  if (Data3.eof())
    return wieEingegeben;  // nothing to convert into: the price as entered
  const QString V = text(Data3.wert(u"Waehrung"_s));
  const Umrechnung u = umrechnen(KaufpreisVersicherung, E, KursEingabe, V, waehrungsKurs(Data3, V));
  // In the insurance currency already: the price as entered. Without a rate the way needs (the
  // insurance currency's own, unless it is the euro, or the entry currency's), the price as
  // entered too: a value of 0 would be wrong for certain.
  if (u.unveraendert || !u.ok())
    return wieEingegeben;
  if (u.euro)
    BetragEuro = *u.euro;
  KaufpreisVersicherung = *u.betrag;
  return Werte::formatieren(KaufpreisVersicherung, Werte::Standard);
}

void Buchungsdialog::cmdSave_Click() {
  const QString verwendung = ui->cboVerwendungszweck->currentText();
  if (verwendung.isEmpty())
    return;
  Data2.abfrageSetzen(Abfrage(u"Verwendung"_s).wo(u"Verwendung"_s, verwendung));
  if (Data2.anzahl() != 0)
    return;
  Data2.neu();
  Data2.setzen(u"Verwendung"_s, verwendung);
  // Only a text that was stored shows as remembered.
  if (Data2.speichern())
    ui->cboVerwendungszweck->addItem(verwendung);
}

void Buchungsdialog::cmdKategorie_Click() {
  QPointer<Buchungsdialog> wache(this);
  if (Formular* kategorien = Formulare::laden(u"frmKategorie"_s))
    kategorien->exec();
  if (!wache || wirdEntladen())
    return;
  KategorienFuellen();
  ui->cboKategorie->setEditText(zustand().AusgewaehlteKategorie);
}

void Buchungsdialog::cmdKalender_Click() {
  zustand().KalenderZiel = m_art.kalenderZiel;
  QPointer<Buchungsdialog> wache(this);
  if (Formular* kalender = Formulare::laden(u"frmKalender"_s))
    kalender->exec();
  if (!wache || wirdEntladen())
    return;
  DatumPruefen();
}
