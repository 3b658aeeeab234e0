#pragma once
// The click on a node, as the tree control reports it: a click with the mouse, and moving to
// another node with the keyboard (arrows, Home, End, typing a name) or pressing Space on it.
// Nodes the program selects are no clicks. Install it before a dialog's own event filter on the
// tree, so that keys the dialog takes (Delete) never count as a click.

#include <QObject>

class QTreeWidget;
class QTreeWidgetItem;

class Knotenklick : public QObject {
  Q_OBJECT

 public:
  explicit Knotenklick(QTreeWidget* baum);

 signals:
  void NodeClick(QTreeWidgetItem* Node);

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  QTreeWidget* m_baum;
};
