#include "CMyItemDatas.h"

CMyItemData* CMyItemDatas::Add(const QString& sKey) {
  if (sKey.isEmpty() || m_daten.contains(sKey))
    return nullptr;
  auto satz = std::make_shared<CMyItemData>();
  m_daten.insert(sKey, satz);
  m_schluessel.append(sKey);
  return satz.get();
}

CMyItemData* CMyItemDatas::Item(const QString& key) const {
  const auto it = m_daten.constFind(key);
  return it == m_daten.cend() ? nullptr : it->get();
}

CMyItemData* CMyItemDatas::Item(int position) const {
  if (position < 1 || position > Count())
    return nullptr;
  return Item(m_schluessel.at(position - 1));
}

QString CMyItemDatas::Key(int position) const {
  if (position < 1 || position > Count())
    return {};
  return m_schluessel.at(position - 1);
}

bool CMyItemDatas::Remove(const QString& key) {
  if (!m_daten.remove(key))
    return false;
  m_schluessel.removeOne(key);
  return true;
}

bool CMyItemDatas::Remove(int position) {
  if (position < 1 || position > Count())
    return false;
  return Remove(m_schluessel.at(position - 1));
}

void CMyItemDatas::Clear() {
  m_daten.clear();
  m_schluessel.clear();
}

QString CMyItemDatas::NeuerSchluessel() const {
  qint64 n = Count() + 1;
  while (m_daten.contains(QString::number(n)))
    ++n;
  return QString::number(n);
}
