#pragma once
// Type-ahead completion of an editable list: while the user types, the text is completed with the
// first entry that begins with what was typed, and the completed tail is selected so that the next
// character overwrites it. Deleting does not complete again at once.
//
// One instance serves all completing lists of a dialog:
//   key down:     Fill.SupressKeyStroke(liste, Tastencode(taste));
//   text changed: Fill.GetListValue(liste);   then the dialog's own follow-up
//
// The flag SuppressNextFill is shared by those lists: a Delete that removes nothing leaves it set,
// and the next character typed into any of them is not completed.

#include <QtGlobal>

class QComboBox;
class QKeyEvent;

class clsComboFill {
 public:
  // Key codes of the key-down event that stop the next completion.
  static constexpr qint16 TasteRueck = 8;
  static constexpr qint16 TasteEntf = 46;

  // The key code of a key-down event as the completion knows it: Backspace 8, Delete 46, every
  // other key 0.
  static qint16 Tastencode(const QKeyEvent* taste);

  void SupressKeyStroke(QComboBox* cboBoxName, qint16 KeyCode);
  void GetListValue(QComboBox* cboBoxName);

  bool SuppressNextFill() const { return m_SuppressNextFill != 0; }
  void setSuppressNextFill(bool wert) { m_SuppressNextFill = wert ? -1 : 0; }

 private:
  qint16 m_SuppressNextFill = 0;
};
