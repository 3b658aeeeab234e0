#pragma once
// The category tree dialog: the household book's two-level category tree under the root
// "Kategorie", with a tax mark (check box) per node. The user adds, renames and deletes nodes in
// memory; OK rewrites the table Kategorien from the tree in one transaction. Renaming or deleting
// a name that bookings use first opens frmVerschieben. The node last clicked is the result
// (zustand().AusgewaehlteKategorie); Abbrechen returns "Kategorie", Esc leaves it as it was.
//
// A node's level is recognised by its text, never by its key: the node whose text is "Kategorie"
// counts as the root, a node whose parent's text is "Kategorie" as a main category, and a node
// without a parent takes the main category's way.

#include "Datensatzquelle.h"
#include "Formular.h"

#include <QList>
#include <QPersistentModelIndex>
#include <utility>

namespace Ui {
class frmKategorie;
}
class Bildliste;
class QAction;
class QMenu;
class QTimer;
class QTreeWidgetItem;
class Schluesselbaum;

class frmKategorie : public Formular {
  Q_OBJECT

 public:
  frmKategorie();
  ~frmKategorie() override;

  // Sets the tax mark of Node and of every node below it.
  void TreeViewSubNodesCheck(QTreeWidgetItem* Node, bool Checked = false);

  // Numbers of the next default names; they stop at 32767.
  qint16 KategorieZaehler = 1;
  qint16 EintragZaehler = 1;
  // The label of the node whose label edit began last.
  QString AlterName;

 protected:
  void beimLaden() override;
  void beimEntladen() override;
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  void BaumAufbauen();
  void SteuerMarkenLaden();
  void KategorieKnoepfeFreigeben();
  // Opens frmVerschieben on the bookings of `name` when there are any.
  void BuchungenPruefen(const QString& name);
  // Bookings whose Kategorie is `name` (without letter case, as the engine compares).
  int buchungenMit(const QString& name);
  // The names of the table that deleting `knoten` takes away with it (its own and those below
  // it that no other node keeps), each with its bookings; only names that have bookings.
  QList<std::pair<QString, int>> wegfallendeNamen(QTreeWidgetItem* knoten);
  // Before `knoten` is deleted its bookings, and those of the names below it, are offered for
  // moving. True when no booking keeps a name that would disappear.
  bool BuchungenVorDemLoeschenVerschieben(QTreeWidgetItem* knoten);
  bool KategorienSpeichern();
  void NeueKategorieAnlegen(QTreeWidgetItem* ausgewaehlt);
  QTreeWidgetItem* ausgewaehlterKnoten() const;

  void cmdNeueKategorie_Click();
  void cmdNeuerEintrag_Click();
  void cmdUmbenennen_Click();
  void cmdLoeschen_Click();
  void cmdOK_Click();
  void cmdAbbrechen_Click();
  void TreeView1_NodeClick(QTreeWidgetItem* Node);
  void TreeView1_NodeCheck(QTreeWidgetItem* Node);
  void TreeView1_BeforeLabelEdit(const QPersistentModelIndex& knoten);
  void TreeView1_AfterLabelEdit(const QPersistentModelIndex& knoten, const QString& NewString);
  void TreeView1_Kontextmenue(const QPoint& ort);
  void Timer1_Timer();

  Ui::frmKategorie* ui;
  Bildliste* ImageList1;
  Schluesselbaum* Nodes;
  QMenu* mnuNeu;
  QMenu* mnuNeu_Neu;
  QAction* mnuNeu_Kategorie;
  QAction* mnuNeu_Eintrag;
  QAction* mnuNeu_Umbenennen;
  QAction* mnuNeu_Leer1;
  QAction* mnuNeu_Loeschen;
  QTimer* Timer1;
  Datensatzquelle Data1;
  Datensatzquelle Data2;
  // While the program changes the tree, its signals are no user events.
  int m_programm = 0;
};
