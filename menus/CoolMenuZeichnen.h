#pragma once
// Drawing of converted items: picture or mark in the icon area, highlight, text, separator
// caption, submenu arrow. The marks and the embossed pictures of disabled items are drawn once per
// look and kept for the rest of the run.

#include <QColor>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QString>

class CMyItemData;
class QPainter;
class WndCoolMenu;

// The platform's system colours by number, taken from the palette:
// 4 menu, 5 window, 7 menu text, 13 highlight, 14 highlight text, 15 button face,
// 16 button shadow, 17 grey text, 20 button highlight, 21 dark shadow, 22 light 3D.
QColor Systemfarbe(int nummer, const QPalette& palette);

struct ItemZustand {
  bool selected = false;
  bool disabled = false;
  bool checked = false;
  // The menu's default item: its text is bold.
  bool standard = false;
  // A checked item without a marker shows an option mark when it belongs to an exclusive group.
  bool exklusiv = false;
  // Menu-bar item under the mouse (hot tracking).
  bool heiss = false;
};

// Draws one item into r; false leaves the item to the platform.
bool OnDrawItem(QPainter& p, WndCoolMenu& wnd, const CMyItemData& satz, const ItemZustand& z,
                const QRect& r, const QPalette& palette);

// A check-box (asCheck) or option mark centred in the area. complex: a layered 3D box or circle
// whose mark shows only when checked; else the single mark on a sunken area.
void Draw3DMark(QPainter& p, const QRect& bereich, const QPalette& palette, bool asCheck,
                bool checked, bool disabled, bool complex);
// The picture of a disabled item: colour (two-colour relief in the 3D colours) or flat grey.
void DrawEmbossedIcon(QPainter& p, const QRect& bereich, const QPixmap& bild,
                      const QPalette& palette, bool colorEmbossed);

// Number of drawn marks and embossed pictures kept so far.
int GespeicherteBilder();

// Classic edges: thin (one line) or full (two lines), raised or sunken.
void KanteZeichnen(QPainter& p, const QRect& r, const QPalette& palette, bool erhaben, bool dick);
