#include "WndCoolMenu.h"

#include "CoolMenu.h"
#include "CoolMenuStil.h"

#include <QApplication>
#include <QChildEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

namespace {

constexpr char EigenschaftFenster[] = "CoolMenuFenster";
constexpr char EigenschaftStandard[] = "CoolMenuStandard";

int mulDiv(int zahl, int mal, int durch) {
  const qint64 produkt = qint64(zahl) * mal;
  const qint64 halb = durch / 2;
  return int(produkt >= 0 ? (produkt + halb) / durch : (produkt - halb) / durch);
}

}  // namespace

WndCoolMenu::WndCoolMenu(QWidget* window) : m_fenster(window) {
  m_stil = new CoolMenuStil(this);
  if (!window)
    return;
  window->installEventFilter(this);
  const QString schluessel = FensterSchluessel(window);
  // The window goes: the record goes with it; its menus, gone too, need nothing back.
  connect(window, &QObject::destroyed, this, [this, schluessel] {
    if (CoolMenuWindows().value(schluessel) == this)
      CoolMenuWindows().remove(schluessel);
    deleteLater();
  });
}

WndCoolMenu::~WndCoolMenu() {
  for (auto it = CoolMenuWindows().begin(); it != CoolMenuWindows().end();) {
    if (it.value() == this)
      it = CoolMenuWindows().erase(it);
    else
      ++it;
  }
  for (QWidget* w : betreute())
    freigeben(w);
  if (m_fenster)
    m_fenster->removeEventFilter(this);
}

void WndCoolMenu::AddMenuHead(QMenu* hMenu) {
  // Each menu once: the list serves converting back.
  if (!hMenu)
    return;
  for (const auto& kopf : m_menuKoepfe)
    if (kopf == hMenu)
      return;
  m_menuKoepfe.append(hMenu);
}

QMenu* WndCoolMenu::GetMenuHead(int HeadIndex) const {
  if (HeadIndex < 1 || HeadIndex > CountMenuHeads())
    return nullptr;
  return m_menuKoepfe.at(HeadIndex - 1);
}

void WndCoolMenu::setFontSize(int groesse) {
  m_fontSize = groesse;
  menuFont(true);
  neuAusmessen();
}

void WndCoolMenu::setFontName(const QString& name) {
  m_fontName = name;
  menuFont(true);
  neuAusmessen();
}

QFont WndCoolMenu::menuFont(bool neuErzeugen) {
  if (m_menuFont && !neuErzeugen)
    return *m_menuFont;
  QFont schrift;
  if (!m_fontName.isEmpty()) {
    schrift = QFont(m_fontName);
    // A face that is not installed (Tahoma on most systems here) falls back to a sans face.
    schrift.setStyleHint(QFont::SansSerif);
    const int dpi = m_fenster ? m_fenster->logicalDpiY() : 96;
    schrift.setPixelSize(qMax(1, mulDiv(m_fontSize, dpi, 72)));
    schrift.setWeight(QFont::Normal);
  } else {
    schrift = m_fenster ? m_fenster->font() : QApplication::font("QMenu");
    m_fontName = schrift.family();
  }
  m_menuFont = schrift;
  return schrift;
}

QFont WndCoolMenu::sepFont() {
  if (m_menuFontSep)
    return *m_menuFontSep;
  // Ten pixels for the whole line, as small bitmap faces have it.
  QFont schrift(QStringLiteral("Small Fonts"));
  schrift.setStyleHint(QFont::SansSerif);
  schrift.setWeight(QFont::Normal);
  int pixel = 10;
  schrift.setPixelSize(pixel);
  while (pixel > 6 && QFontMetrics(schrift).height() > 10)
    schrift.setPixelSize(--pixel);
  m_menuFontSep = schrift;
  return schrift;
}

void WndCoolMenu::betreuen(QMenu* menu) {
  if (!menu || betreut(menu))
    return;
  const QString meins = m_fenster ? FensterSchluessel(m_fenster) : QString();
  const QVariant anderer = menu->property(EigenschaftFenster);
  if (anderer.isValid() && anderer.toString() != meins)
    return;
  m_betreut.append(menu);
  menu->setProperty(EigenschaftFenster, meins);
  menu->setStyle(m_stil);
  // The menu measures its shortcut column in its own font: the item font.
  menu->setFont(menuFont());
  // As on the platform: separators stay where the program put them.
  menu->setSeparatorsCollapsible(false);
  menu->installEventFilter(this);
  QPointer<QMenu> m(menu);
  connect(menu, &QMenu::aboutToShow, this, [this, m] {
    if (!m)
      return;
    MainPopedIndex = -1;
    ConvertMenu(m_fenster, m, true, false);
    // The default item is bold: a new default item must be measured anew.
    QAction* standard = m->defaultAction();
    if (m->property(EigenschaftStandard).value<QObject*>() != standard) {
      m->setProperty(EigenschaftStandard, QVariant::fromValue<QObject*>(standard));
      QEvent aenderung(QEvent::StyleChange);
      QCoreApplication::sendEvent(m, &aenderung);
    }
  });
  connect(menu, &QMenu::hovered, this, [this](QAction* a) { OnMenuSelect(m_fenster, a); });
  connect(menu, &QMenu::aboutToHide, this, [this, m] { menuSchliesst(m); });
}

void WndCoolMenu::leisteBetreuen(QMenuBar* leiste) {
  if (!leiste || betreut(leiste))
    return;
  m_betreut.append(leiste);
  leiste->setProperty(EigenschaftFenster, m_fenster ? FensterSchluessel(m_fenster) : QString());
  leiste->setStyle(m_stil);
  leiste->installEventFilter(this);
  connect(leiste, &QMenuBar::hovered, this, [this](QAction* a) { OnMenuSelect(m_fenster, a); });
}

void WndCoolMenu::alleZurueckgeben() {
  for (QWidget* w : betreute())
    ConvertMenu(m_fenster, w, false, qobject_cast<QMenuBar*>(w) != nullptr);
  for (QWidget* w : betreute())
    freigeben(w);
  m_betreut.clear();
  m_menuKoepfe.clear();
}

void WndCoolMenu::freigeben(QWidget* w) {
  w->removeEventFilter(this);
  disconnect(w, nullptr, this, nullptr);
  w->setProperty(EigenschaftFenster, QVariant());
  w->setProperty(EigenschaftStandard, QVariant());
  if (w->style() == m_stil)
    w->setStyle(nullptr);
  if (qobject_cast<QMenu*>(w))
    w->setFont(QFont());
}

QList<QWidget*> WndCoolMenu::betreute() const {
  QList<QWidget*> liste;
  for (const auto& w : m_betreut)
    if (w)
      liste.append(w);
  return liste;
}

bool WndCoolMenu::betreut(const QWidget* menu) const {
  for (const auto& w : m_betreut)
    if (w == menu)
      return true;
  return false;
}

void WndCoolMenu::neuAusmessen() {
  for (QWidget* w : betreute()) {
    if (qobject_cast<QMenu*>(w))
      w->setFont(*m_menuFont);
    QEvent aenderung(QEvent::StyleChange);
    QCoreApplication::sendEvent(w, &aenderung);
    w->update();
  }
}

QMenuBar* WndCoolMenu::aktuelleMenueleiste() const {
  if (!m_fenster)
    return nullptr;
  if (auto* haupt = qobject_cast<QMainWindow*>(m_fenster.data()))
    return qobject_cast<QMenuBar*>(haupt->menuWidget());
  return m_fenster->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

void WndCoolMenu::TrackMenuBar(QMenuBar* leiste, const QPoint& punkt, bool ueberLeiste) {
  int index = -1;
  if (ueberLeiste) {
    QAction* a = leiste->actionAt(punkt);
    if (a && ItemDataFor(a))
      index = static_cast<int>(leiste->actions().indexOf(a));
  }
  if (index == MainPopedIndex)
    return;
  MainPopedIndex = index;
  leiste->update();
}

void WndCoolMenu::menueleisteUeberwachen() {
  if (!SCMainMenu)
    return;
  QMenuBar* leiste = aktuelleMenueleiste();
  if (!leiste || leiste == SCMainMenu)
    return;
  SCMainMenu = leiste;
  leisteBetreuen(leiste);
  ConvertMenu(m_fenster, leiste, true, true);
}

void WndCoolMenu::menuSchliesst(QMenu* menu) {
  for (QWidget* w : betreute())
    if (w != menu && qobject_cast<QMenu*>(w) && w->isVisible())
      return;
  OnMenuSelect(m_fenster, nullptr);
}

bool WndCoolMenu::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt == m_fenster) {
    switch (ereignis->type()) {
      case QEvent::ChildAdded:
      case QEvent::ChildPolished: {
        // A menu made after the installation; it is polished before it first shows.
        QObject* kind = static_cast<QChildEvent*>(ereignis)->child();
        if (auto* menu = qobject_cast<QMenu*>(kind))
          betreuen(menu);
        menueleisteUeberwachen();
        break;
      }
      case QEvent::LayoutRequest:
      case QEvent::Move:
      case QEvent::Show:
        menueleisteUeberwachen();
        break;
      default:
        break;
    }
    return false;
  }
  if (auto* leiste = qobject_cast<QMenuBar*>(objekt)) {
    switch (ereignis->type()) {
      case QEvent::MouseMove:
        TrackMenuBar(leiste, static_cast<QMouseEvent*>(ereignis)->position().toPoint(), true);
        break;
      case QEvent::Leave:
      case QEvent::Hide:
        TrackMenuBar(leiste, QPoint(), false);
        break;
      default:
        break;
    }
    return false;
  }
  if (ereignis->type() == QEvent::KeyPress) {
    if (auto* menu = qobject_cast<QMenu*>(objekt)) {
      const auto* taste = static_cast<QKeyEvent*>(ereignis);
      const QString text = taste->text();
      const bool befehl = taste->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
      if (!befehl && text.size() == 1 && text.at(0).isPrint() && !text.at(0).isSpace())
        return OnMenuChar(m_fenster, menu, text);
    }
  }
  return false;
}
