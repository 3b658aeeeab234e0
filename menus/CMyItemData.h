#pragma once
// One converted menu item: what its caption said (marker, help text, display text) and what the
// engine found for it (picture, submenu, menu bar). Kept in CoolMenuItems under the key that the
// item carries.

#include <QString>
#include <QtGlobal>

// Item type flags as the menu system knows them.
inline constexpr qint32 MFT_OWNERDRAW = 0x100;
inline constexpr qint32 MFT_SEPARATOR = 0x800;

class CMyItemData {
 public:
  bool bTrueSub = false;
  QString sMenuHelp;
  bool bAsMark = false;
  bool bAsCheck = false;
  bool bMainMenu = false;
  qint16 iButton = -1;
  qint32 fType = 0;
  QString sMenuText;

  bool istTrenner() const { return (fType & MFT_SEPARATOR) != 0; }
};
