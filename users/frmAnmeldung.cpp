#include "frmAnmeldung.h"

#include "Buchungsfenster.h"
#include "Datenbank.h"
#include "Module1.h"
#include "SpracheAnwenden.h"
#include "UsersFormulare.h"
#include "Zustand.h"
#include "ui_frmAnmeldung.h"

using namespace Qt::StringLiterals;

frmAnmeldung::frmAnmeldung() : ui(new Ui::frmAnmeldung) {
  ui->setupUi(this);
  setFixedSize(size());
  // Enter in the list clicks the default button cmdOK.
  connect(ui->cmdOK, &QPushButton::clicked, this, &frmAnmeldung::cmdOK_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmAnmeldung::reject);
  connect(ui->cmdHilfe, &QPushButton::clicked, this, &Formular::hilfeAnzeigen);
}

frmAnmeldung::~frmAnmeldung() {
  delete ui;
}

QComboBox* frmAnmeldung::cboBenutzer() const {
  return ui->cboBenutzer;
}

void frmAnmeldung::beimLaden() {
  SpracheAnwenden(ProduktWert(u"Sprache"_s));
  setWindowTitle(Text(307));
  setzeHilfekontext(450);

  const Zustand& z = zustand();
  Data1.verbinden(z.Datendatei);
  Datenbank::datendateiOeffnen(z.Datendatei);
  Data1.abfrageSetzen(Abfrage(u"Benutzer"_s));
  // In the order the engine returns them; a row without a name adds nothing.
  for (Data1.ersteZeile(); !Data1.eof(); Data1.naechsteZeile()) {
    const QVariant name = Data1.wert(u"Benutzername"_s);
    if (name.isValid() && !name.isNull())
      ui->cboBenutzer->addItem(name.toString());
  }
  if (ui->cboBenutzer->count() > 0)
    ui->cboBenutzer->setCurrentIndex(0);
}

void frmAnmeldung::beimEntladen() {
  TippfensterEntladen();
  Data1.schliessen();
}

void frmAnmeldung::cmdOK_Click() {
  const QString name = ui->cboBenutzer->currentText();
  if (name.isEmpty())
    return;
  Zustand& z = zustand();
  const QString datei = z.Programmordner + name + u".mdb"_s;
  if (!BenutzerwechselZulassen(name, datei)) {
    entladen();
    return;
  }
  z.AktuellerBenutzer = name;
  z.Benutzerdatei = datei;
  entladen();
  BuchungsdialogZeigen();
}
