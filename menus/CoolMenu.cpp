#include "CoolMenu.h"

#include "Bildliste.h"
#include "CMyItemDatas.h"
#include "HelpCallBack.h"
#include "WndCoolMenu.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionMenuItem>
#include <QWidgetAction>

qint16 MenuIconSize = 16;

namespace {

// Dynamic properties of a converted action: the key of its record, the text the engine gave it
// (a different text means the program gave it a new caption since), and whether the engine made
// it a separator.
constexpr char EigenschaftSchluessel[] = "CoolMenuSchluessel";
constexpr char EigenschaftAnzeige[] = "CoolMenuAnzeige";
constexpr char EigenschaftTrenner[] = "CoolMenuTrenner";

// Which action a key belongs to, so that a record goes when its action goes (menus rebuilt at
// every opening would otherwise pile up records), and only then.
QHash<QString, const QObject*>& schluesselBesitzer() {
  static auto* besitzer = new QHash<QString, const QObject*>;
  return *besitzer;
}

bool istMarke(QChar c) {
  return c == u'-' || c == u'#' || c == u'*';
}

void aktionUmwandeln(QWidget* window, WndCoolMenu* wnd, QWidget* menu, QAction* a, bool menuBar) {
  const QString alterSchluessel = a->property(EigenschaftSchluessel).toString();
  CMyItemData* satz = alterSchluessel.isEmpty() ? nullptr : CoolMenuItems().Item(alterSchluessel);
  const bool unveraendert = a->property(EigenschaftAnzeige).toString() == a->text();
  if (satz && unveraendert) {
    // A submenu may have been attached since.
    satz->bTrueSub = a->menu() && !menuBar;
    if (a->menu() && wnd)
      wnd->betreuen(a->menu());
    return;
  }

  QString schluessel = alterSchluessel;
  if (!satz) {
    if (schluessel.isEmpty() || CoolMenuItems().Item(schluessel))
      schluessel = CoolMenuItems().NeuerSchluessel();
    satz = CoolMenuItems().Add(schluessel);
    if (!satz)
      return;
    if (schluesselBesitzer().value(schluessel) != a) {
      schluesselBesitzer().insert(schluessel, a);
      QObject::connect(a, &QObject::destroyed, [schluessel](QObject* weg) {
        if (schluesselBesitzer().value(schluessel) == weg) {
          schluesselBesitzer().remove(schluessel);
          CoolMenuItems().Remove(schluessel);
        }
      });
    }
  }

  // The program gave a converted separator a new caption: read it like a fresh one.
  if (a->property(EigenschaftTrenner).toBool()) {
    a->setSeparator(false);
    a->setProperty(EigenschaftTrenner, QVariant());
  }
  *satz = CMyItemData();
  BeschriftungLesen(a->text(), *satz);
  if (a->isSeparator())
    satz->fType |= MFT_SEPARATOR;
  satz->fType |= MFT_OWNERDRAW;
  if (satz->istTrenner() && !a->isSeparator()) {
    a->setSeparator(true);
    a->setProperty(EigenschaftTrenner, true);
  }
  satz->iButton = GetImageIndex(window, satz->sMenuText);
  satz->bMainMenu = menuBar;
  satz->bTrueSub = a->menu() && !menuBar;
  if (!menuBar && wnd)
    wnd->AddMenuHead(qobject_cast<QMenu*>(menu));

  a->setProperty(EigenschaftSchluessel, schluessel);
  a->setText(satz->sMenuText);
  a->setProperty(EigenschaftAnzeige, a->text());
  if (a->menu() && wnd)
    wnd->betreuen(a->menu());
}

void aktionZurueck(QAction* a) {
  const QString schluessel = a->property(EigenschaftSchluessel).toString();
  CMyItemData* satz = schluessel.isEmpty() ? nullptr : CoolMenuItems().Item(schluessel);
  if (satz) {
    const bool unsererTrenner = a->property(EigenschaftTrenner).toBool();
    const bool eigenerTrenner = a->isSeparator() && !unsererTrenner;
    // A separator the program made itself keeps its plain text.
    const QString caption = eigenerTrenner ? satz->sMenuText : BeschriftungBauen(*satz);
    if (unsererTrenner)
      a->setSeparator(false);
    if (a->property(EigenschaftAnzeige).toString() == a->text())
      a->setText(caption);
    CoolMenuItems().Remove(schluessel);
    schluesselBesitzer().remove(schluessel);
  }
  a->setProperty(EigenschaftSchluessel, QVariant());
  a->setProperty(EigenschaftAnzeige, QVariant());
  a->setProperty(EigenschaftTrenner, QVariant());
}

}  // namespace

QMap<QString, WndCoolMenu*>& CoolMenuWindows() {
  static auto* fenster = new QMap<QString, WndCoolMenu*>;
  return *fenster;
}

CMyItemDatas& CoolMenuItems() {
  // Never destroyed: actions may go after the end of main and still remove their records.
  static auto* items = new CMyItemDatas;
  return *items;
}

QString FensterSchluessel(const QWidget* window) {
  return QString::number(reinterpret_cast<quintptr>(window));
}

WndCoolMenu* CoolMenuFenster(const QWidget* window) {
  if (!window)
    return nullptr;
  return CoolMenuWindows().value(FensterSchluessel(window));
}

bool InstallCoolMenu(QWidget* window, HelpCallBack* helpObj, const Bildliste* imageList,
                     bool convertMenuBar) {
  if (!window)
    return false;
  WndCoolMenu* wnd = CoolMenuFenster(window);
  if (!wnd) {
    wnd = new WndCoolMenu(window);
    wnd->SelectColor = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
    CoolMenuWindows().insert(FensterSchluessel(window), wnd);
  }
  if (helpObj)
    wnd->HelpObj = helpObj;
  if (imageList)
    wnd->ilHandle = imageList;
  MenuIconSize = 16;
  if (auto* menu = qobject_cast<QMenu*>(window))
    wnd->betreuen(menu);
  for (QMenu* menu : window->findChildren<QMenu*>())
    wnd->betreuen(menu);
  if (convertMenuBar) {
    if (QMenuBar* leiste = wnd->aktuelleMenueleiste()) {
      wnd->leisteBetreuen(leiste);
      ConvertMenu(window, leiste, true, true);
    }
  }
  return true;
}

void UninstallCoolMenu(QWidget* window) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  if (!wnd)
    return;
  wnd->alleZurueckgeben();
  CoolMenuWindows().remove(FensterSchluessel(window));
  delete wnd;
}

QString MenuFontName(QWidget* window) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  return wnd ? wnd->FontName() : QString();
}

QString MenuFontName(QWidget* window, const QString& name) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  if (!wnd)
    return {};
  wnd->setFontName(name);
  return name;
}

int MenuFontSize(QWidget* window) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  return wnd ? wnd->FontSize() : 0;
}

int MenuFontSize(QWidget* window, int size) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  if (!wnd)
    return 0;
  wnd->setFontSize(size);
  return size;
}

qint16 GetImageIndex(const Bildliste* liste, const QString& name) {
  if (!liste)
    return -1;
  qsizetype n = name.size();
  for (int i = 0; i < liste->anzahl(); ++i) {
    const QString tag = liste->tag(i);
    if (tag.isEmpty())
      continue;
    n = qMin(n, tag.size());
    if (name.left(n).compare(tag.left(n), Qt::CaseInsensitive) == 0)
      return static_cast<qint16>(i);
  }
  return -1;
}

qint16 GetImageIndex(QWidget* window, const QString& name) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  return wnd ? GetImageIndex(wnd->ilHandle.data(), name) : qint16(-1);
}

QFont GetMenuFont(QWidget* window, bool recreate) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  return wnd ? wnd->menuFont(recreate) : QApplication::font("QMenu");
}

QFont GetSepFont(QWidget* window) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  return wnd ? wnd->sepFont() : QApplication::font("QMenu");
}

void BeschriftungLesen(const QString& caption, CMyItemData& satz) {
  satz.sMenuText = caption;
  satz.sMenuHelp.clear();
  satz.bAsMark = false;
  satz.bAsCheck = false;
  satz.fType &= ~MFT_SEPARATOR;
  const QChar erstes = caption.isEmpty() ? QChar() : caption.at(0);
  // Only a caption with two bars has the help form; one bar, or one at the end, is plain text.
  // With the help form the marker is not part of the display text, even when the help is empty.
  const qsizetype bar1 = caption.indexOf(u'|');
  const qsizetype bar2 = bar1 < 0 ? -1 : caption.indexOf(u'|', bar1 + 1);
  const bool hilfeform = bar2 >= 0;
  if (hilfeform) {
    satz.sMenuHelp = caption.mid(bar1 + 1, bar2 - bar1 - 1);
    satz.sMenuText = caption.mid(bar2 + 1);
  }
  if (erstes == u'-') {
    satz.fType |= MFT_SEPARATOR;
    if (!hilfeform)
      satz.sMenuText = satz.sMenuText.mid(1);
  }
  satz.bAsMark = erstes == u'#' || erstes == u'*';
  if (satz.bAsMark) {
    satz.bAsCheck = erstes == u'#';
    if (!hilfeform)
      satz.sMenuText = satz.sMenuText.mid(1);
  }
}

QString BeschriftungBauen(const CMyItemData& satz) {
  QString caption;
  if (satz.istTrenner())
    caption = QStringLiteral("-");
  else if (satz.bAsMark)
    caption = satz.bAsCheck ? QStringLiteral("#") : QStringLiteral("*");
  // A display text that would read as a marker or a help form is protected by an empty help.
  const bool schuetzen =
      (caption.isEmpty() && !satz.sMenuText.isEmpty() && istMarke(satz.sMenuText.at(0))) ||
      satz.sMenuText.count(u'|') >= 2;
  if (!satz.sMenuHelp.isEmpty() || schuetzen)
    caption += u'|' + satz.sMenuHelp + u'|';
  return caption + satz.sMenuText;
}

void ConvertMenu(QWidget* window, QWidget* menu, bool toOwnerDraw, bool menuBar) {
  if (!menu)
    return;
  WndCoolMenu* wnd = CoolMenuFenster(window);
  const QList<QAction*> aktionen = menu->actions();
  for (QAction* a : aktionen) {
    if (!a || qobject_cast<QWidgetAction*>(a))
      continue;
    if (toOwnerDraw)
      aktionUmwandeln(window, wnd, menu, a, menuBar);
    else
      aktionZurueck(a);
  }
}

QString ItemKeyFor(const QAction* action) {
  return action ? action->property(EigenschaftSchluessel).toString() : QString();
}

CMyItemData* ItemDataFor(const QAction* action) {
  const QString schluessel = ItemKeyFor(action);
  return schluessel.isEmpty() ? nullptr : CoolMenuItems().Item(schluessel);
}

int Menuhoehe(const QStyle* basis) {
  const QStyle* stil = basis ? basis : QApplication::style();
  QStyleOptionMenuItem opt;
  opt.state = QStyle::State_Enabled;
  opt.palette = QApplication::palette("QMenu");
  opt.menuItemType = QStyleOptionMenuItem::Normal;
  opt.checkType = QStyleOptionMenuItem::NotCheckable;
  opt.font = QApplication::font("QMenu");
  opt.fontMetrics = QFontMetrics(opt.font);
  opt.text = QStringLiteral("X");
  const QSize inhalt(opt.fontMetrics.horizontalAdvance(opt.text), opt.fontMetrics.height());
  return stil->sizeFromContents(QStyle::CT_MenuItem, &opt, inhalt, nullptr).height();
}

int Haekchenbreite(const QStyle* basis) {
  const QStyle* stil = basis ? basis : QApplication::style();
  return stil->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, nullptr);
}

QSize OnMeasureItem(WndCoolMenu& wnd, const CMyItemData& satz, bool standard, const QStyle* basis) {
  const auto menuHoehe = static_cast<qint16>(Menuhoehe(basis));
  if (satz.istTrenner())
    return QSize(0, menuHoehe / 2);
  QFont schrift = wnd.menuFont();
  if (standard)
    schrift.setBold(true);
  const QFontMetrics fm(schrift);
  const QString text = satz.sMenuText.section(u'\t', 0, 0);
  const int breite = fm.size(Qt::TextSingleLine | Qt::TextShowMnemonic, text).width();
  const int hoehe = qMax(fm.height(), int(menuHoehe));
  if (satz.bMainMenu)
    return QSize(breite, hoehe);
  return QSize(breite + 5 + (MenuIconSize + 2) * 2 - (Haekchenbreite(basis) - 1), hoehe);
}

void OnMenuSelect(QWidget* window, QAction* action) {
  WndCoolMenu* wnd = CoolMenuFenster(window);
  if (!wnd || !wnd->HelpObj)
    return;
  if (!action) {
    wnd->HelpObj->RaiseHelpEvent(QString(), QString(), false);
    return;
  }
  if (const CMyItemData* satz = ItemDataFor(action))
    wnd->HelpObj->RaiseHelpEvent(satz->sMenuText, satz->sMenuHelp, action->isEnabled());
}

bool OnMenuChar(QWidget* window, QMenu* menu, const QString& zeichen) {
  if (!menu || zeichen.size() != 1 || !CoolMenuFenster(window))
    return false;
  const QString gesucht = zeichen.toCaseFolded();
  for (QAction* a : menu->actions()) {
    if (!a->isVisible() || !a->isEnabled() || a->isSeparator())
      continue;
    const CMyItemData* satz = ItemDataFor(a);
    if (!satz)
      continue;
    const qsizetype und = satz->sMenuText.indexOf(u'&');
    if (und < 0 || und + 1 >= satz->sMenuText.size())
      continue;
    if (QString(satz->sMenuText.at(und + 1)).toCaseFolded() != gesucht)
      continue;
    // Choose it as Return would: run it, or open its submenu.
    menu->setActiveAction(a);
    QKeyEvent eingabe(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(menu, &eingabe);
    return true;
  }
  return false;
}
