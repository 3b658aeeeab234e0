#include "frmBenutzer.h"

#include "Anmeldepruefung.h"
#include "Benutzeranlage.h"
#include "Buchungsfenster.h"
#include "Datenbank.h"
#include "Module1.h"
#include "Registry.h"
#include "SpracheAnwenden.h"
#include "UsersFormulare.h"
#include "Zustand.h"
#include "frmKennwort.h"
#include "ui_frmBenutzer.h"

#include <QEvent>
#include <QPointer>
#include <algorithm>

using namespace Qt::StringLiterals;

frmBenutzer::frmBenutzer() : ui(new Ui::frmBenutzer) {
  ui->setupUi(this);
  // Typed names are taken as they are: no completion that turns "An" into "Anna".
  ui->cboBenutzer->setCompleter(nullptr);
  // Enter in the password field clicks the default button cmdOK.
  connect(ui->cmdOK, &QPushButton::clicked, this, &frmBenutzer::cmdOK_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmBenutzer::reject);
  connect(ui->cmdHilfe, &QPushButton::clicked, this, &Formular::hilfeAnzeigen);
  FeldFokusVerbinden(ui->cboBenutzer);
  FeldFokusVerbinden(ui->txtKennwort);
  ui->cboBenutzer->installEventFilter(this);
}

frmBenutzer::~frmBenutzer() {
  delete ui;
}

QComboBox* frmBenutzer::cboBenutzer() const {
  return ui->cboBenutzer;
}
QLineEdit* frmBenutzer::txtKennwort() const {
  return ui->txtKennwort;
}

void frmBenutzer::beimLaden() {
  SpracheAnwenden(ProduktWert(u"Sprache"_s));
  setWindowTitle(Text(446));
  setzeHilfekontext(160);
  breiteAnpassen();

  const Zustand& z = zustand();
  Data1.verbinden(z.Datendatei);
  Datenbank::datendateiOeffnen(z.Datendatei);
  Data1.abfrageSetzen(Abfrage(u"Benutzer"_s));
  QStringList namen;
  for (Data1.ersteZeile(); !Data1.eof(); Data1.naechsteZeile()) {
    const QVariant name = Data1.wert(u"Benutzername"_s);
    if (name.isValid() && !name.isNull())
      namen.append(name.toString());
  }
  const int zeilen = Data1.anzahl();
  ui->cboBenutzer->addItems(namen);
  if (!namen.isEmpty()) {
    ui->cboBenutzer->setCurrentIndex(0);
    KennwortLaden();
    // Typing replaces the preselected name, so a new name needs no deleting first.
    ui->cboBenutzer->lineEdit()->selectAll();
  }
  // Selecting an entry, by the user or the program, loads its password.
  connect(ui->cboBenutzer, &QComboBox::currentIndexChanged, this, [this] { KennwortLaden(); });
  connect(ui->cboBenutzer, &QComboBox::activated, this, [this] { KennwortLaden(); });

  if (zeilen > 0 && z.AktuellerBenutzer.isEmpty())
    KurzeAnsicht();
  else
    VolleAnsicht();
  TippfensterPlatzLassen(this);
}

void frmBenutzer::beimEntladen() {
  TippfensterEntladen();
  Data1.schliessen();
}

bool frmBenutzer::eventFilter(QObject* ziel, QEvent* ereignis) {
  if (ziel == ui->cboBenutzer && ereignis->type() == QEvent::FocusOut && !wirdEntladen())
    KennwortLaden();
  return Formular::eventFilter(ziel, ereignis);
}

void frmBenutzer::KurzeAnsicht() {
  ansicht(false, 1560, 1680, 2505);
}

void frmBenutzer::VolleAnsicht() {
  ansicht(true, 3600, 3720, 4560);
}

void frmBenutzer::ansicht(bool optionen, qint16 linie, qint16 knoepfe, qint16 hoehe) {
  qint16 breite = 0;
  TwipsInPixel(linie, knoepfe);
  TwipsInPixel(breite, hoehe);
  for (QRadioButton* option : {ui->Option1, ui->Option2, ui->Option3})
    option->setVisible(optionen);
  // The grey rule and the white one below it make one sunken line.
  ui->Line1->move(ui->Line1->x(), linie);
  ui->Line2->move(ui->Line2->x(), linie + 1);
  for (QPushButton* knopf : {ui->cmdOK, ui->cmdAbbrechen, ui->cmdHilfe})
    knopf->move(knopf->x(), knoepfe);
  // The layout's height is the window's outer one, title bar and frame included. Under a frame
  // taller than it leaves room for, the buttons still show whole.
  const QMargins rahmen = Fensterrahmen(this);
  setFixedSize(width(), std::max(hoehe - rahmen.top() - rahmen.bottom(),
                                 ui->cmdOK->geometry().bottom() + 1));
}

void frmBenutzer::breiteAnpassen() {
  // The captions come from the language file and the font from the system: the form grows until
  // the longest option fits, the fields and rules with it, the buttons stay at the right edge.
  int noetig = width();
  for (QRadioButton* option : {ui->Option1, ui->Option2, ui->Option3})
    noetig = qMax(noetig, option->x() + option->sizeHint().width() + ui->Option1->x());
  const int mehr = noetig - width();
  if (mehr <= 0)
    return;
  for (QWidget* breiter :
       std::initializer_list<QWidget*>{ui->cboBenutzer, ui->txtKennwort, ui->Line1, ui->Line2,
                                       ui->Option1, ui->Option2, ui->Option3})
    breiter->resize(breiter->width() + mehr, breiter->height());
  for (QPushButton* knopf : {ui->cmdOK, ui->cmdAbbrechen, ui->cmdHilfe})
    knopf->move(knopf->x() + mehr, knopf->y());
  resize(width() + mehr, height());
}

void frmBenutzer::KennwortLaden() {
  Data1.abfrageSetzen(Abfrage(u"Benutzer"_s).wo(u"Benutzername"_s, ui->cboBenutzer->currentText()));
  Data1.ersteZeile();
  if (Data1.eof())
    return;  // no such user: the value stays as it was
  if (const auto kennwort = KennwortLesen(Data1.wert(u"Kennwort"_s)))
    zustand().GespeichertesKennwort = *kennwort;
}

bool frmBenutzer::BenutzerSuchen() {
  // Every search starts from "not found": one that reads no rows (another program emptied the
  // table) must not leave the user and password of the search before it.
  m_benutzerVorhanden = 0;
  m_gefundenesKennwort = QVariant();
  const auto kennwort = BenutzerzeileSuchen(Data1, ui->cboBenutzer->currentText());
  if (!Data1.fehler().isEmpty())
    return false;
  if (kennwort) {
    m_benutzerVorhanden = -1;
    m_gefundenesKennwort = *kennwort;
  }
  return true;
}

void frmBenutzer::anmeldeartSchreiben() {
  QString benutzer, standard = u"0"_s, kennwort = u"0"_s;
  if (ui->Option1->isChecked()) {
    benutzer = ui->cboBenutzer->currentText();
    standard = u"1"_s;
  } else if (ui->Option3->isChecked()) {
    kennwort = u"1"_s;
  }
  const QList<QPair<QString, QString>> werte = {
      {u"Benutzer"_s, benutzer}, {u"Standard"_s, standard}, {u"Kennwort"_s, kennwort}};
  // A mode that is in force already needs no write, and so no wait for the settings file.
  const auto steht = [](const QPair<QString, QString>& w) {
    const QVariant alt = RegistryLesen(HKCU, ProduktSchluessel, w.first);
    return alt.typeId() == QMetaType::QString && alt.toString() == w.second;
  };
  if (std::all_of(werte.begin(), werte.end(), steht))
    return;
  // Another process sees the old mode or the new one, never half of it.
  qint32 status = 0;
  {
    const Registry::Sperre sperre;
    status = sperre.status();
    for (auto w = werte.begin(); status == 0 && w != werte.end(); ++w)
      status = RegistrySchreiben(HKCU, ProduktSchluessel, w->first, w->second);
  }
  // The sign-in goes on: the mode in force stays as it was, and the user is told.
  if (status != 0)
    MeldungNr(3022, 3122, 48, Registry::fehlergrund(status));
}

bool frmBenutzer::kennwortStimmt() {
  // The password of the very row that was found: a value loaded earlier for another entry (the
  // name changed without leaving the field) must never let anyone in.
  const auto gespeichert = KennwortLesen(m_gefundenesKennwort);
  if (!gespeichert)
    return false;
  zustand().GespeichertesKennwort = *gespeichert;
  return ui->txtKennwort->text() == zustand().GespeichertesKennwort;
}

void frmBenutzer::BenutzerAktivieren() {
  Zustand& z = zustand();
  z.AktuellerBenutzer = ui->cboBenutzer->currentText();
  z.Benutzerdatei = z.Programmordner + z.AktuellerBenutzer + u".mdb"_s;
  z.Sprachdatei = sprachdateiFuer(BenutzerWert(u"Sprache"_s));
}

void frmBenutzer::cmdOK_Click() {
  if (ui->cboBenutzer->currentText().isEmpty())
    return;
  // The options say how the next booking begins. The password sign-in is written first,
  // whatever follows, as it only ever asks for more. A mode without password is written only once
  // this sign-in has succeeded: written before the check, a wrong password with "default user"
  // selected would open that user's book to the next booking command.
  const bool ohneKennwort = !ui->Option3->isChecked();
  if (!ohneKennwort)
    anmeldeartSchreiben();
  // Without the list of users nobody is signed in, and no name counts as new.
  if (!BenutzerSuchen()) {
    MeldungNr(3021, 3121, 16, Data1.fehler());
    return;
  }
  if (m_benutzerVorhanden) {
    if (kennwortStimmt()) {
      if (!wechselZulassen())
        return;
      if (ohneKennwort)
        anmeldeartSchreiben();
      BenutzerAktivieren();
      entladen();
      BuchungsdialogZeigen();
    } else {
      MeldungNr(1296, 1297, 16);
      ui->txtKennwort->setFocus(Qt::OtherFocusReason);
    }
    return;
  }
  if (!ui->txtKennwort->text().isEmpty())
    neuerBenutzer();
}

void frmBenutzer::neuerBenutzer() {
  const QString kennwort = ui->txtKennwort->text();
  Benutzeranlage anlage(Data1, zustand().Programmordner, ui->cboBenutzer->currentText(), kennwort);
  // What would refuse the user anyway is said before the password is asked again.
  if (const auto e = anlage.pruefen(); e != Benutzeranlage::Ergebnis::Angelegt) {
    anlage.melden(e);
    return;
  }
  // Only a confirmation typed now counts: a prompt closed by its close box confirms nothing.
  zustand().BestaetigtesKennwort.clear();
  if (QPointer<frmKennwort> prompt = Formulare::laden<frmKennwort>())
    prompt->exec();
  if (kennwort != zustand().BestaetigtesKennwort) {
    MeldungNr(1298, 1299, 64);
    return;
  }
  if (const auto e = anlage.anlegen(); e != Benutzeranlage::Ergebnis::Angelegt) {
    anlage.melden(e);
    return;
  }
  if (!wechselZulassen())
    return;
  if (!ui->Option3->isChecked())
    anmeldeartSchreiben();
  BenutzerAktivieren();
  entladen();
  BuchungsdialogZeigen();
}

bool frmBenutzer::wechselZulassen() {
  const QString name = ui->cboBenutzer->currentText();
  if (BenutzerwechselZulassen(name, zustand().Programmordner + name + u".mdb"_s))
    return true;
  entladen();
  return false;
}
