#include "CoolMenuStil.h"

#include "CoolMenu.h"
#include "CoolMenuZeichnen.h"
#include "WndCoolMenu.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace {

QStyle* plattformStil() {
  const QString name = QApplication::style() ? QApplication::style()->name() : QString();
  QStyle* stil = name.isEmpty() ? nullptr : QStyleFactory::create(name);
  return stil ? stil : QStyleFactory::create(QStringLiteral("Fusion"));
}

// Classic menus: a two-line raised edge and one line of menu colour inside it.
constexpr int Rahmenbreite = 3;

}  // namespace

CoolMenuStil::CoolMenuStil(WndCoolMenu* wnd) : QProxyStyle(plattformStil()), m_wnd(wnd) {
  setParent(wnd);
}

bool CoolMenuStil::betreut(const QWidget* widget) const {
  return widget && m_wnd && m_wnd->betreut(widget);
}

QAction* CoolMenuStil::aktionAnStelle(const QWidget* widget, const QRect& rect) {
  if (const auto* menu = qobject_cast<const QMenu*>(widget)) {
    for (QAction* a : menu->actions())
      if (menu->actionGeometry(a) == rect)
        return a;
  } else if (const auto* leiste = qobject_cast<const QMenuBar*>(widget)) {
    for (QAction* a : leiste->actions())
      if (leiste->actionGeometry(a) == rect)
        return a;
  }
  return nullptr;
}

CMyItemData* CoolMenuStil::satzFuerMass(const QStyleOption* option, const QWidget* widget) {
  const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
  if (!mi)
    return nullptr;
  const bool trenner = mi->menuItemType == QStyleOptionMenuItem::Separator;
  for (QAction* a : widget->actions()) {
    if (a->isSeparator() != trenner || !a->isVisible())
      continue;
    const QString text = a->text();
    if (mi->text != text && !mi->text.startsWith(text + u'\t'))
      continue;
    if (CMyItemData* satz = ItemDataFor(a))
      return satz;
  }
  return nullptr;
}

QSize CoolMenuStil::sizeFromContents(ContentsType type, const QStyleOption* option,
                                     const QSize& inhalt, const QWidget* widget) const {
  if ((type == CT_MenuItem || type == CT_MenuBarItem) && betreut(widget)) {
    if (CMyItemData* satz = satzFuerMass(option, widget)) {
      const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
      const bool standard = mi->menuItemType == QStyleOptionMenuItem::DefaultItem;
      QSize mass = OnMeasureItem(*m_wnd, *satz, standard, baseStyle());
      if (satz->istTrenner()) {
        // A menu drops items of no width; the column is as wide as the widest item anyway.
        mass.setWidth(1);
      } else if (satz->bMainMenu) {
        // The bar adds its own padding around the text, as the platform does.
        const QSize rand = baseStyle()->sizeFromContents(CT_MenuBarItem, option, mass, widget);
        mass = QSize(rand.width(), qMax(mass.height(), rand.height()));
      } else {
        // What the platform adds to every drop-down item for the check mark.
        mass.rwidth() += Haekchenbreite(baseStyle()) - 1;
      }
      return mass;
    }
  }
  return QProxyStyle::sizeFromContents(type, option, inhalt, widget);
}

void CoolMenuStil::drawControl(ControlElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  const bool punkt = element == CE_MenuItem || element == CE_MenuBarItem;
  if (punkt && betreut(widget)) {
    const auto* mi = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    QAction* aktion = mi ? aktionAnStelle(widget, mi->rect) : nullptr;
    if (CMyItemData* satz = ItemDataFor(aktion)) {
      ItemZustand z;
      z.disabled = !(mi->state & State_Enabled);
      z.checked = mi->checked;
      z.standard = mi->menuItemType == QStyleOptionMenuItem::DefaultItem;
      z.exklusiv = mi->checkType == QStyleOptionMenuItem::Exclusive;
      if (element == CE_MenuBarItem) {
        z.selected = (mi->state & State_Sunken) != 0;
        z.heiss = (mi->state & State_Selected) ||
                  widget->actions().indexOf(aktion) == m_wnd->MainPopedIndex;
      } else {
        z.selected = (mi->state & State_Selected) != 0;
      }
      if (OnDrawItem(*painter, *m_wnd, *satz, z, mi->rect, mi->palette))
        return;
    }
  }
  const bool flaeche =
      element == CE_MenuEmptyArea || element == CE_MenuHMargin || element == CE_MenuVMargin;
  if (flaeche && qobject_cast<const QMenu*>(widget) && betreut(widget)) {
    painter->fillRect(option->rect, Systemfarbe(4, option->palette));
    return;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void CoolMenuStil::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  if ((element == PE_PanelMenu || element == PE_FrameMenu) && qobject_cast<const QMenu*>(widget) &&
      betreut(widget)) {
    if (element == PE_PanelMenu)
      painter->fillRect(option->rect, Systemfarbe(4, option->palette));
    else
      KanteZeichnen(*painter, option->rect, option->palette, true, true);
    return;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int CoolMenuStil::pixelMetric(PixelMetric metrik, const QStyleOption* option,
                              const QWidget* widget) const {
  if (metrik == PM_MenuPanelWidth && qobject_cast<const QMenu*>(widget) && betreut(widget))
    return Rahmenbreite;
  return QProxyStyle::pixelMetric(metrik, option, widget);
}

int CoolMenuStil::styleHint(StyleHint hinweis, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* rueckgabe) const {
  if (betreut(widget)) {
    // Captioned separators are never collapsed; a disabled item can be highlighted, so that
    // its help text is reported.
    if (hinweis == SH_Menu_SupportsSections || hinweis == SH_Menu_AllowActiveAndDisabled)
      return 1;
  }
  return QProxyStyle::styleHint(hinweis, option, widget, rueckgabe);
}
