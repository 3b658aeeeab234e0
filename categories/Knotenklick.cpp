#include "Knotenklick.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>

Knotenklick::Knotenklick(QTreeWidget* baum) : QObject(baum), m_baum(baum) {
  connect(baum, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* knoten) { emit NodeClick(knoten); });
  baum->installEventFilter(this);
}

bool Knotenklick::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt != m_baum || ereignis->type() != QEvent::KeyPress)
    return false;
  const auto* taste = static_cast<QKeyEvent*>(ereignis);
  QTreeWidgetItem* vorher = m_baum->currentItem();
  if (taste->key() == Qt::Key_Space && taste->modifiers() == Qt::NoModifier && vorher &&
      !(vorher->flags() & Qt::ItemIsUserCheckable)) {
    emit NodeClick(vorher);
    return false;
  }
  // The tree moves after this filter; whether it reached another node shows once it has.
  QPointer<Knotenklick> selbst(this);
  QTimer::singleShot(0, this, [this, selbst, vorher] {
    if (!selbst)
      return;
    QTreeWidgetItem* jetzt = m_baum->currentItem();
    if (jetzt && jetzt != vorher)
      emit NodeClick(jetzt);
  });
  return false;
}
