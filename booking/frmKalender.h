#pragma once
// The calendar: a small modal window that writes the picked date straight into the date field of
// the booking dialog named by KalenderZiel ("Ausgabe" -> frmAusgabe, "Einnahme" -> frmEinnahme).
// It always opens on the start-up date HeuteText with the focus on OK. OK takes the date; a date
// chosen with the mouse (or Enter in the calendar) moves the focus to OK; Abbrechen, Esc and
// Abbrechen losing the focus close it without a date.

#include "Formular.h"

namespace Ui {
class frmKalender;
}

class frmKalender : public Formular {
  Q_OBJECT

 public:
  frmKalender();
  ~frmKalender() override;

 protected:
  void beimLaden() override;
  bool eventFilter(QObject* ziel, QEvent* ereignis) override;

 private slots:
  void cmdOK_Click();
  void cmdAbbrechen_Click();
  void MonthView1_DateClick();

 private:
  Ui::frmKalender* ui;
  QString m_datum;  // the picked date, "d.m.yyyy"
};
