#pragma once
// The owner-drawn menu engine. A window hands its menus to the engine with InstallCoolMenu; from
// then on every QMenu of the window (its child menus, their submenus, and the window itself when
// it is a menu) is converted each time it is about to show: the caption syntax of each item is
// read into a CMyItemData record in CoolMenuItems, the item shows the display text, and a style
// proxy measures and draws it with its picture, mark, separator caption and font. The highlighted
// item is reported through the window's HelpCallBack.
//
// Caption syntax (only the first character is tested for a marker):
//   text                plain item
//   -text               separator, the text shown on it (may be empty)
//   #text / *text       check-box mark / option mark
//   <marker>|help|text  as above, with a help text; needs two "|", else the caption is plain text

#include "CMyItemData.h"

#include <QFont>
#include <QMap>
#include <QSize>
#include <QString>

class Bildliste;
class CMyItemDatas;
class HelpCallBack;
class QAction;
class QMenu;
class QStyle;
class QWidget;
class WndCoolMenu;

// Width and height of the icon area in pixels.
extern qint16 MenuIconSize;

// Served windows by their key (the window's address as a decimal number).
QMap<QString, WndCoolMenu*>& CoolMenuWindows();
// The records of every converted item of every served window.
CMyItemDatas& CoolMenuItems();

QString FensterSchluessel(const QWidget* window);
WndCoolMenu* CoolMenuFenster(const QWidget* window);

// Serves the window's menus. The help object and the image list stay the caller's; a second call
// for the same window replaces them. True unless window is nullptr.
bool InstallCoolMenu(QWidget* window, HelpCallBack* helpObj = nullptr,
                     const Bildliste* imageList = nullptr, bool convertMenuBar = false);
// Gives the menus back to the platform with their captions in the caption syntax.
void UninstallCoolMenu(QWidget* window);

// Without a name: the window's menu font face. With one: sets it and returns it.
QString MenuFontName(QWidget* window);
QString MenuFontName(QWidget* window, const QString& name);
int MenuFontSize(QWidget* window);
int MenuFontSize(QWidget* window, int size);

// Position (0-based) of the first picture whose Tag matches the start of name, -1 for none: the
// first n characters are compared without letter case, n starting as the length of name and
// lowered to the length of every shorter Tag on the way (and not set back for later pictures).
qint16 GetImageIndex(const Bildliste* liste, const QString& name);
qint16 GetImageIndex(QWidget* window, const QString& name);

QFont GetMenuFont(QWidget* window, bool recreate = false);
QFont GetSepFont(QWidget* window);

// Reads a caption into the record: display text, help text, marker, separator flag.
void BeschriftungLesen(const QString& caption, CMyItemData& satz);
// The caption that gives the record again, for converting back.
QString BeschriftungBauen(const CMyItemData& satz);

// Converts every item of a QMenu or QMenuBar to the engine's drawing (toOwnerDraw) or back.
// Items converted before keep their record; an item whose text the program has changed since is
// read anew under its old key. Widget items are left alone.
void ConvertMenu(QWidget* window, QWidget* menu, bool toOwnerDraw, bool menuBar);

// The record of a converted item, nullptr for an item the engine does not draw.
CMyItemData* ItemDataFor(const QAction* action);
QString ItemKeyFor(const QAction* action);

// Height of a plain one-line menu item as the platform style makes it: the menu line height that
// the measures build on. basis nullptr: the application's style.
int Menuhoehe(const QStyle* basis = nullptr);
// Width of the platform's check mark (the style's indicator width).
int Haekchenbreite(const QStyle* basis = nullptr);

// The engine's measure of an item: separators half a menu line high and 0 wide; other items as
// high as the larger of text and menu line; a menu-bar item as wide as its text, a drop-down item
// text + 5 + (MenuIconSize + 2) * 2 - (check-mark width - 1), since the platform adds the check
// mark's width itself. The text after a tab is measured by the menu (its shortcut column).
QSize OnMeasureItem(WndCoolMenu& wnd, const CMyItemData& satz, bool standard,
                    const QStyle* basis = nullptr);

// Reports the highlighted item (nullptr: the menu closed) through the window's HelpObj.
void OnMenuSelect(QWidget* window, QAction* action);
// The item whose display text has the typed character behind its first "&" is chosen, as if the
// user had pressed Return on it. True when an item was chosen.
bool OnMenuChar(QWidget* window, QMenu* menu, const QString& zeichen);
