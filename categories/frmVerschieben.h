#pragma once
// Moving bookings to another category: the bookings of one source category in the grid, the
// category tree as the targets. OK writes the target's name into the Kategorie of every selected
// booking, all in one transaction: either every selected booking is moved or none is.

#include "Datensatzquelle.h"
#include "Formular.h"

namespace Ui {
class frmVerschieben;
}
class Bildliste;
class QTreeWidgetItem;
class Schluesselbaum;

class frmVerschieben : public Formular {
  Q_OBJECT

 public:
  frmVerschieben();
  ~frmVerschieben() override;

  // The source to preselect, set before the load: the category whose bookings are about to lose
  // it. Empty: AusgewaehlteKategorie.
  QString Vorauswahl;
  // The entry chosen in the source list, whose bookings the grid shows.
  QString QuellKategorie;
  // The text of the node last clicked in the target tree; empty until one is clicked.
  QString ZielKategorie;

 protected:
  void beimLaden() override;
  void beimEntladen() override;

 private:
  void ZielBaumAufbauen();
  void QuellListeFuellen();
  void QuelleGewaehlt();
  void BuchungenAnzeigen();
  void SpaltenFormatieren();
  void OkFreigeben();
  bool BuchungenVerschieben(QString& grund);

  void cmdOK_Click();
  void TreeView1_NodeClick(QTreeWidgetItem* Node);

  Ui::frmVerschieben* ui;
  Bildliste* ImageList1;
  Schluesselbaum* Nodes;
  Datensatzquelle Data1;
  Datensatzquelle Data2;
};
