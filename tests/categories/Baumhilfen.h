#pragma once
// Helpers of the category dialog tests: nodes found by their texts, clicks on nodes as a user
// makes them, the tree as text, the move dialog's grid, and modal dialogs handled while they run.

#include "Tabulon.h"

#include <QApplication>
#include <QPointer>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

// The node at the path of texts from the top ("Kategorie", "Auto", "Benzin").
inline QTreeWidgetItem* knotenBei(QTreeWidget* baum, const QStringList& pfad) {
  QTreeWidgetItem* knoten = nullptr;
  for (const QString& text : pfad) {
    QTreeWidgetItem* gefunden = nullptr;
    const int anzahl = knoten ? knoten->childCount() : baum->topLevelItemCount();
    for (int i = 0; i < anzahl && !gefunden; ++i) {
      QTreeWidgetItem* kind = knoten ? knoten->child(i) : baum->topLevelItem(i);
      if (kind->text(0) == text)
        gefunden = kind;
    }
    if (!gefunden)
      return nullptr;
    knoten = gefunden;
  }
  return knoten;
}

// A left click on the node's label, its parents opened first as the user would.
inline void knotenKlicken(QTreeWidget* baum, QTreeWidgetItem* knoten,
                          Qt::KeyboardModifiers tasten = {}) {
  QVERIFY(knoten);
  for (QTreeWidgetItem* p = knoten->parent(); p; p = p->parent())
    p->setExpanded(true);
  baum->scrollToItem(knoten);
  const QRect ort = baum->visualItemRect(knoten);
  QVERIFY(ort.isValid());
  // On the label, right of the check box and the picture.
  QTest::mouseClick(baum->viewport(), Qt::LeftButton, tasten,
                    QPoint(ort.left() + 60, ort.center().y()));
}

// The tree as lines: two blanks per level, "[x] " before a ticked node when `marken`.
inline QStringList baumText(QTreeWidget* baum, bool marken = false) {
  QStringList zeilen;
  std::function<void(QTreeWidgetItem*, int)> zeile = [&](QTreeWidgetItem* k, int tiefe) {
    QString text = QString(tiefe * 2, u' ');
    if (marken)
      text += k->checkState(0) == Qt::Checked ? QStringLiteral("[x] ") : QStringLiteral("[ ] ");
    zeilen.append(text + k->text(0));
    for (int i = 0; i < k->childCount(); ++i)
      zeile(k->child(i), tiefe + 1);
  };
  for (int i = 0; i < baum->topLevelItemCount(); ++i)
    zeile(baum->topLevelItem(i), 0);
  return zeilen;
}

// A click on a row of a grid (on its first shown column).
inline void zeileKlicken(QTableView* grid, int zeile, Qt::KeyboardModifiers tasten = {}) {
  int spalte = 0;
  while (spalte < grid->model()->columnCount() && grid->isColumnHidden(spalte))
    ++spalte;
  const QRect ort = grid->visualRect(grid->model()->index(zeile, spalte));
  QVERIFY(ort.isValid());
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, tasten, ort.center());
}

// The booking numbers (the grid's first column) of its rows, top to bottom.
inline QList<int> buchungsnummern(const Tabulon* grid) {
  QList<int> liste;
  for (int z = 0; z < grid->model()->rowCount(); ++z)
    liste.append(grid->GetRowData(z).Value(1).toInt());
  return liste;
}

// Runs `handeln` once on the form named `name` as soon as it is visible (also inside a modal
// loop that a test step starts); gives up after ten seconds. Should the form still be open five
// seconds after `handeln`, it is closed with Esc, so that a failing step cannot hang the test.
// With a list, each handler takes the next time such a form shows (a new instance, one after the
// other).
class Modalhelfer : public QObject {
 public:
  using Handlung = std::function<void(QWidget*)>;
  Modalhelfer(const QString& name, Handlung handeln)
      : Modalhelfer(name, QList<Handlung>{std::move(handeln)}) {}
  Modalhelfer(const QString& name, QList<Handlung> handlungen)
      : m_name(name), m_handlungen(std::move(handlungen)) {
    m_takt.setInterval(10);
    connect(&m_takt, &QTimer::timeout, this, [this] {
      ++m_runden;
      QWidget* form = nullptr;
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == m_name && w->isVisible())
          form = w;
      }
      // The form handled last has gone once it is hidden, deleted or replaced by a new one.
      if (m_offen && form != m_form) {
        m_offen = false;
        m_runden = 0;
        if (m_laeufe == m_handlungen.size()) {
          m_takt.stop();
          return;
        }
      }
      if (!m_offen) {
        if (form) {
          m_offen = true;
          m_form = form;
          m_runden = 0;
          m_handlungen.at(m_laeufe++)(form);
        } else if (m_runden > 1000) {
          m_takt.stop();
        }
      } else if (m_runden > 500) {
        m_haengen = true;
        QTest::keyClick(form, Qt::Key_Escape);
      }
    });
    m_takt.start();
  }
  bool gelaufen() const { return m_laeufe > 0; }
  // How many times a handler ran.
  qsizetype laeufe() const { return m_laeufe; }
  // A form stayed open after its handler.
  bool hing() const { return m_haengen; }

 private:
  QString m_name;
  QList<Handlung> m_handlungen;
  QTimer m_takt;
  int m_runden = 0;
  qsizetype m_laeufe = 0;
  bool m_offen = false;
  QPointer<QWidget> m_form;
  bool m_haengen = false;
};
