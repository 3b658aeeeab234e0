#include "clsComboFill.h"

#include "Textvergleich.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// The first entry that begins with `text`, letter case ignored, searched from the list's start;
// -1 when there is none. An empty text begins no entry.
int ersterTreffer(const QComboBox* liste, const QString& text) {
  if (text.isEmpty())
    return -1;
  for (int i = 0; i < liste->count(); ++i) {
    const QString eintrag = liste->itemText(i);
    if (eintrag.size() >= text.size() &&
        Textvergleich::gleich(QStringView(eintrag).left(text.size()), text))
      return i;
  }
  return -1;
}

}  // namespace

qint16 clsComboFill::Tastencode(const QKeyEvent* taste) {
  switch (taste->key()) {
    case Qt::Key_Backspace:
      return TasteRueck;
    case Qt::Key_Delete:
      return TasteEntf;
    default:
      return 0;
  }
}

void clsComboFill::SupressKeyStroke(QComboBox* cboBoxName, qint16 KeyCode) {
  if (cboBoxName->currentText().isEmpty())
    return;
  if (KeyCode == TasteEntf || KeyCode == TasteRueck)
    setSuppressNextFill(true);
}

void clsComboFill::GetListValue(QComboBox* cboBoxName) {
  // Swallows the change a deletion, or the completion's own insertion, causes.
  if (SuppressNextFill()) {
    setSuppressNextFill(false);
    return;
  }
  QLineEdit* feld = cboBoxName->lineEdit();
  if (!feld)
    return;
  const QString getippt = feld->text();
  const int i = ersterTreffer(cboBoxName, getippt);
  if (i < 0)
    return;
  const QString eintrag = cboBoxName->itemText(i);
  const qsizetype rest = eintrag.size() - getippt.size();
  if (rest <= 0)
    return;
  // The insertion changes the text once more, and that change must not complete again.
  setSuppressNextFill(true);
  // Typed characters keep their letter case; only the tail comes from the entry.
  feld->insert(eintrag.right(rest));
  feld->setSelection(int(getippt.size()), int(rest));
}
