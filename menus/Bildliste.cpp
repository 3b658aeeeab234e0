#include "Bildliste.h"

Bildliste::Bildliste(QObject* parent) : QObject(parent) {}

int Bildliste::hinzufuegen(const QPixmap& bild, const QString& tag) {
  m_bilder.append({bild, tag});
  return anzahl() - 1;
}

bool Bildliste::laden(const QString& datei, const QString& tag) {
  QPixmap bild;
  if (!bild.load(datei))
    return false;
  hinzufuegen(bild, tag);
  return true;
}

void Bildliste::leeren() {
  m_bilder.clear();
}

QPixmap Bildliste::bild(int position) const {
  if (position < 0 || position >= anzahl())
    return {};
  return m_bilder.at(position).bild;
}

QString Bildliste::tag(int position) const {
  if (position < 0 || position >= anzahl())
    return {};
  return m_bilder.at(position).tag;
}
