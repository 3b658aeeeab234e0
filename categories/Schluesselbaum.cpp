#include "Schluesselbaum.h"

#include "Bildliste.h"
#include "Textvergleich.h"

#include <QIcon>
#include <QTreeWidget>

namespace {

constexpr int SchluesselRolle = Qt::UserRole;
constexpr int SortiertRolle = Qt::UserRole + 1;

void teilbaum(QTreeWidgetItem* knoten, QList<QTreeWidgetItem*>& liste) {
  liste.append(knoten);
  for (int i = 0; i < knoten->childCount(); ++i)
    teilbaum(knoten->child(i), liste);
}

// Alphabetical, letter case ignored; among equal texts the one added earlier stays first.
bool vor(const QString& a, const QString& b) {
  return Textvergleich::vergleichen(a, b) < 0;
}

}  // namespace

Schluesselbaum::Schluesselbaum(QTreeWidget* baum, const Bildliste* bilder, int optionen)
    : m_baum(baum), m_bilder(bilder), m_optionen(optionen) {}

QTreeWidgetItem* Schluesselbaum::hinzufuegen(QTreeWidgetItem* eltern, const QString& schluessel,
                                             const QString& text, int bild) {
  if (m_schluessel.contains(schluessel))
    return nullptr;
  auto* knoten = new QTreeWidgetItem(QStringList{text});
  knoten->setData(0, SchluesselRolle, schluessel);
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (m_optionen & Haekchen)
    flags |= Qt::ItemIsUserCheckable;
  if (m_optionen & Beschriftbar)
    flags |= Qt::ItemIsEditable;
  knoten->setFlags(flags);
  if (m_optionen & Haekchen)
    knoten->setCheckState(0, Qt::Unchecked);
  if (m_bilder && bild >= 1 && bild <= m_bilder->anzahl())
    knoten->setIcon(0, QIcon(m_bilder->bild(bild - 1)));
  const int stelle = einfuegestelle(eltern, text, nullptr);
  if (eltern)
    eltern->insertChild(stelle, knoten);
  else
    m_baum->insertTopLevelItem(stelle, knoten);
  m_schluessel.insert(schluessel, knoten);
  m_reihenfolge.append(knoten);
  return knoten;
}

QTreeWidgetItem* Schluesselbaum::knoten(const QString& schluessel) const {
  return m_schluessel.value(schluessel, nullptr);
}

QString Schluesselbaum::schluessel(const QTreeWidgetItem* knoten) const {
  return knoten ? knoten->data(0, SchluesselRolle).toString() : QString();
}

void Schluesselbaum::entfernen(QTreeWidgetItem* knoten) {
  if (!knoten)
    return;
  QList<QTreeWidgetItem*> weg;
  teilbaum(knoten, weg);
  for (QTreeWidgetItem* k : weg) {
    m_schluessel.remove(schluessel(k));
    m_reihenfolge.removeOne(k);
  }
  // Deleting a node deletes the nodes below it too.
  delete knoten;
}

void Schluesselbaum::leeren() {
  m_schluessel.clear();
  m_reihenfolge.clear();
  m_obersteSortiert = false;
  m_baum->clear();
}

void Schluesselbaum::sortiertSetzen(QTreeWidgetItem* knoten, bool sortiert) {
  if (knoten)
    knoten->setData(0, SortiertRolle, sortiert);
  else
    m_obersteSortiert = sortiert;
  if (!sortiert)
    return;
  // Children added before the flag was set move to their places now.
  const int anzahl = knoten ? knoten->childCount() : m_baum->topLevelItemCount();
  QList<QTreeWidgetItem*> kinder;
  for (int i = 0; i < anzahl; ++i)
    kinder.append(knoten ? knoten->child(i) : m_baum->topLevelItem(i));
  std::stable_sort(kinder.begin(), kinder.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
    return vor(a->text(0), b->text(0));
  });
  for (int i = 0; i < kinder.size(); ++i) {
    QTreeWidgetItem* kind = kinder[i];
    const int jetzt = knoten ? knoten->indexOfChild(kind) : m_baum->indexOfTopLevelItem(kind);
    if (jetzt == i)
      continue;
    const bool offen = kind->isExpanded();
    if (knoten) {
      knoten->takeChild(jetzt);
      knoten->insertChild(i, kind);
    } else {
      m_baum->takeTopLevelItem(jetzt);
      m_baum->insertTopLevelItem(i, kind);
    }
    kind->setExpanded(offen);
  }
}

void Schluesselbaum::textSetzen(QTreeWidgetItem* knoten, const QString& text) {
  if (!knoten)
    return;
  knoten->setText(0, text);
  QTreeWidgetItem* eltern = knoten->parent();
  if (!istSortiert(eltern))
    return;
  const int jetzt = eltern ? eltern->indexOfChild(knoten) : m_baum->indexOfTopLevelItem(knoten);
  const int stelle = einfuegestelle(eltern, text, knoten);
  if (stelle == jetzt)
    return;
  const bool offen = knoten->isExpanded();
  const bool aktuell = m_baum->currentItem() == knoten;
  if (eltern) {
    eltern->takeChild(jetzt);
    eltern->insertChild(stelle, knoten);
  } else {
    m_baum->takeTopLevelItem(jetzt);
    m_baum->insertTopLevelItem(stelle, knoten);
  }
  knoten->setExpanded(offen);
  if (aktuell)
    m_baum->setCurrentItem(knoten);
}

QTreeWidgetItem* Schluesselbaum::wurzel(QTreeWidgetItem* knoten) {
  while (knoten && knoten->parent())
    knoten = knoten->parent();
  return knoten;
}

bool Schluesselbaum::istSortiert(const QTreeWidgetItem* knoten) const {
  return knoten ? knoten->data(0, SortiertRolle).toBool() : m_obersteSortiert;
}

// Where a child with this text goes: after its last sibling for an unsorted parent, otherwise
// after every sibling that does not sort behind it. `ohne` is a child that is being moved.
int Schluesselbaum::einfuegestelle(QTreeWidgetItem* eltern, const QString& text,
                                   QTreeWidgetItem* ohne) const {
  const int anzahl = eltern ? eltern->childCount() : m_baum->topLevelItemCount();
  if (!istSortiert(eltern))
    return ohne ? anzahl - 1 : anzahl;
  int stelle = 0;
  for (int i = 0; i < anzahl; ++i) {
    QTreeWidgetItem* kind = eltern ? eltern->child(i) : m_baum->topLevelItem(i);
    if (kind == ohne)
      continue;
    if (vor(text, kind->text(0)))
      break;
    ++stelle;
  }
  return stelle;
}
