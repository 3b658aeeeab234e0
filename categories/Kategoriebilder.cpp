#include "Kategoriebilder.h"

#include "Bildliste.h"
#include "Zustand.h"

QPixmap Kategoriebild(const QString& datei) {
  QPixmap bild;
  if (!bild.load(zustand().Programmordner + datei))
    bild.load(QStringLiteral(":/kategorien/") + datei);
  return bild;
}

void KategorieBilderLaden(Bildliste& ImageList1) {
  ImageList1.leeren();
  ImageList1.hinzufuegen(Kategoriebild(QStringLiteral("kategorie.png")));
  ImageList1.hinzufuegen(Kategoriebild(QStringLiteral("unterkategorie.png")));
}
