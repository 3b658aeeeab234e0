#pragma once
// A tree control with keyed nodes, as the dialogs' category trees need it: every node has a key
// that is unique in the tree (compared exactly), adding a node under a key that exists fails and
// adds nothing, and the nodes keep the order in which they were added (the node index, root = 1).
// A node can keep its children in alphabetical order (its sorted flag). Pictures come from an
// image list, numbered from 1.

#include <QHash>
#include <QList>
#include <QString>

class Bildliste;
class QTreeWidget;
class QTreeWidgetItem;

class Schluesselbaum {
 public:
  enum Option { Einfach = 0, Haekchen = 1, Beschriftbar = 2 };

  // `optionen`: Haekchen gives every node a check box, Beschriftbar lets its label be edited.
  Schluesselbaum(QTreeWidget* baum, const Bildliste* bilder, int optionen = Einfach);

  // A new last child of `eltern` (nullptr: a top-level node), or inserted by its text when
  // `eltern` is sorted. nullptr, and nothing added, when the key exists.
  QTreeWidgetItem* hinzufuegen(QTreeWidgetItem* eltern, const QString& schluessel,
                               const QString& text, int bild);
  QTreeWidgetItem* knoten(const QString& schluessel) const;
  QString schluessel(const QTreeWidgetItem* knoten) const;
  // Removes the node and every node below it.
  void entfernen(QTreeWidgetItem* knoten);
  void leeren();

  // Every node in the order it was added.
  const QList<QTreeWidgetItem*>& knotenliste() const { return m_reihenfolge; }

  void sortiertSetzen(QTreeWidgetItem* knoten, bool sortiert);
  // A new label; under a sorted parent the node moves to its alphabetical place.
  void textSetzen(QTreeWidgetItem* knoten, const QString& text);

  // The top-level node above `knoten` (the node itself when it has no parent).
  static QTreeWidgetItem* wurzel(QTreeWidgetItem* knoten);

  QTreeWidget* baum() const { return m_baum; }

 private:
  bool istSortiert(const QTreeWidgetItem* knoten) const;
  int einfuegestelle(QTreeWidgetItem* eltern, const QString& text, QTreeWidgetItem* ohne) const;

  QTreeWidget* m_baum;
  const Bildliste* m_bilder;
  int m_optionen;
  QHash<QString, QTreeWidgetItem*> m_schluessel;
  QList<QTreeWidgetItem*> m_reihenfolge;
  bool m_obersteSortiert = false;
};
