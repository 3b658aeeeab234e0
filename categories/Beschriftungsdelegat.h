#pragma once
// Label editing in a tree with the tree control's two events: one when an edit begins, one with
// the proposed text when it ends. The delegate never writes the text itself; the dialog decides
// and sets it. The end is reported after the editor has closed (queued), so that the dialog may
// show message boxes and modal dialogs there. Esc ends the edit without a report.

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

class Beschriftungsdelegat : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* eltern, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* modell,
                    const QModelIndex& index) const override;

 signals:
  void bearbeitungBeginnt(const QPersistentModelIndex& index) const;
  void bearbeitungEndet(const QPersistentModelIndex& index, const QString& text) const;
};
