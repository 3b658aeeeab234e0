#pragma once
// The keyed collection of item records. Keys are decimal numbers handed out by the engine; a
// position is 1-based, in the order the records were added.

#include "CMyItemData.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>

class CMyItemDatas {
 public:
  // A new record under the key; nullptr when the key is taken.
  CMyItemData* Add(const QString& sKey);
  // The record for a key (nullptr when there is none) or a 1-based position.
  CMyItemData* Item(const QString& key) const;
  CMyItemData* Item(int position) const;
  QString Key(int position) const;
  int Count() const { return static_cast<int>(m_schluessel.size()); }
  // Removes the record for a key or a 1-based position.
  bool Remove(const QString& key);
  bool Remove(int position);
  void Clear();

  // Count + 1, or the next free number above it when that key is still in use (after a removal
  // the count no longer says which numbers are taken).
  QString NeuerSchluessel() const;

  // Iteration over the keys in the order of adding.
  QList<QString>::const_iterator begin() const { return m_schluessel.cbegin(); }
  QList<QString>::const_iterator end() const { return m_schluessel.cend(); }

 private:
  QList<QString> m_schluessel;
  QHash<QString, std::shared_ptr<CMyItemData>> m_daten;
};
