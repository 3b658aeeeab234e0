#include "frmKennwort.h"

#include "Module1.h"
#include "SpracheAnwenden.h"
#include "Zustand.h"
#include "ui_frmKennwort.h"

frmKennwort::frmKennwort() : ui(new Ui::frmKennwort) {
  ui->setupUi(this);
  setFixedSize(size());
  // Enter in the field clicks the default button cmdOK.
  connect(ui->cmdOK, &QPushButton::clicked, this, &frmKennwort::cmdOK_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmKennwort::reject);
  connect(ui->cmdHilfe, &QPushButton::clicked, this, &Formular::hilfeAnzeigen);
  FeldFokusVerbinden(ui->txtPasswort);
}

frmKennwort::~frmKennwort() {
  delete ui;
}

QLineEdit* frmKennwort::txtPasswort() const {
  return ui->txtPasswort;
}

void frmKennwort::beimLaden() {
  SpracheAnwenden(ProduktWert(QStringLiteral("Sprache")));
  setWindowTitle(Text(766));
  setzeHilfekontext(420);
  TippfensterPlatzLassen(this);
}

void frmKennwort::beimEntladen() {
  TippfensterEntladen();
}

void frmKennwort::cmdOK_Click() {
  zustand().BestaetigtesKennwort = ui->txtPasswort->text();
  entladen();
}

void frmKennwort::reject() {
  zustand().BestaetigtesKennwort.clear();
  entladen();
}
