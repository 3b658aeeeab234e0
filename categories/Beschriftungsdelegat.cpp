#include "Beschriftungsdelegat.h"

#include <QLineEdit>
#include <QTimer>

QWidget* Beschriftungsdelegat::createEditor(QWidget* eltern, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const {
  emit bearbeitungBeginnt(QPersistentModelIndex(index));
  return QStyledItemDelegate::createEditor(eltern, option, index);
}

void Beschriftungsdelegat::setModelData(QWidget* editor, QAbstractItemModel*,
                                        const QModelIndex& index) const {
  auto* feld = qobject_cast<QLineEdit*>(editor);
  if (!feld)
    return;
  // An editor commits once; a second commit (focus leaving after Return) is not a new edit.
  if (feld->property("uebergeben").toBool())
    return;
  feld->setProperty("uebergeben", true);
  const QPersistentModelIndex knoten(index);
  const QString text = feld->text();
  QTimer::singleShot(0, this, [this, knoten, text] { emit bearbeitungEndet(knoten, text); });
}
