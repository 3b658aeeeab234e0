#pragma once
// The pictures of the category dialogs, from the program folder; the copies built into the
// library stand in for a missing file.

#include <QPixmap>
#include <QString>

class Bildliste;

// Picture `datei` (e.g. "kategorien.png") of the program folder.
QPixmap Kategoriebild(const QString& datei);

// The image list of the category trees: 1 main category (kategorie.png), 2 subcategory
// (unterkategorie.png).
void KategorieBilderLaden(Bildliste& ImageList1);
