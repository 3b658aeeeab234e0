#include "frmKalender.h"

#include "Module1.h"
#include "SpracheAnwenden.h"
#include "Werte.h"
#include "Zustand.h"
#include "ui_frmKalender.h"

#include <QFocusEvent>
#include <QLineEdit>

using namespace Qt::StringLiterals;

frmKalender::frmKalender() : ui(new Ui::frmKalender) {
  ui->setupUi(this);
  connect(ui->cmdOK, &QPushButton::clicked, this, &frmKalender::cmdOK_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmKalender::cmdAbbrechen_Click);
  connect(ui->MonthView1, &QCalendarWidget::clicked, this, &frmKalender::MonthView1_DateClick);
  // Enter (or a double click) in the calendar chooses the date as the mouse does.
  connect(ui->MonthView1, &QCalendarWidget::activated, this, &frmKalender::MonthView1_DateClick);
  ui->cmdAbbrechen->installEventFilter(this);
}

frmKalender::~frmKalender() {
  delete ui;
}

void frmKalender::beimLaden() {
  SpracheAnwenden(ProduktWert(u"Sprache"_s));
  setWindowTitle(Text(745));
  if (const auto heute = Werte::datum(zustand().HeuteText))
    ui->MonthView1->setSelectedDate(*heute);
  ui->cmdOK->setFocus(Qt::OtherFocusReason);
  // Above a booking dialog whose tip window shows.
  TippfensterPlatzLassen(this);
}

void frmKalender::cmdOK_Click() {
  const QDate datum = ui->MonthView1->selectedDate();
  m_datum = u"%1.%2.%3"_s.arg(datum.day()).arg(datum.month()).arg(datum.year());
  QString ziel;
  if (zustand().KalenderZiel == u"Ausgabe")
    ziel = u"frmAusgabe"_s;
  else if (zustand().KalenderZiel == u"Einnahme")
    ziel = u"frmEinnahme"_s;
  if (Formular* dialog = ziel.isEmpty() ? nullptr : Formulare::geladen(ziel)) {
    if (auto* feld = dialog->findChild<QLineEdit*>(u"txtDatum"_s))
      feld->setText(Werte::formatieren(m_datum, Werte::Datumsformat));
  }
  entladen();
}

void frmKalender::cmdAbbrechen_Click() {
  entladen();
}

void frmKalender::MonthView1_DateClick() {
  ui->cmdOK->setFocus(Qt::OtherFocusReason);
}

bool frmKalender::eventFilter(QObject* ziel, QEvent* ereignis) {
  // Abbrechen losing the focus to another control closes the window; the window itself losing
  // the focus (another program, a message) does not.
  if (ziel == ui->cmdAbbrechen && ereignis->type() == QEvent::FocusOut && !wirdEntladen()) {
    const auto grund = static_cast<QFocusEvent*>(ereignis)->reason();
    if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason)
      entladen();
  }
  return Formular::eventFilter(ziel, ereignis);
}
