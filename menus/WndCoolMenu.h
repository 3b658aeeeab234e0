#pragma once
// The settings and state of one window whose menus the engine draws, and the watcher that stands
// where the replaced window procedure stood: it converts each menu when it is about to show,
// reports the highlighted item, answers access characters and tracks the menu bar under the
// mouse. Created by InstallCoolMenu; goes with its window or with UninstallCoolMenu.

#include <QColor>
#include <QFont>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <optional>

class Bildliste;
class CoolMenuStil;
class HelpCallBack;
class QAction;
class QMenuBar;
class QWidget;

class WndCoolMenu : public QObject {
  Q_OBJECT

 public:
  explicit WndCoolMenu(QWidget* window);
  ~WndCoolMenu() override;

  QWidget* hWnd() const { return m_fenster; }

  // The drop-down menus converted for this window (position 1 .. CountMenuHeads).
  int CountMenuHeads() const { return static_cast<int>(m_menuKoepfe.size()); }
  void AddMenuHead(QMenu* hMenu);
  QMenu* GetMenuHead(int HeadIndex) const;

  QPointer<const Bildliste> ilHandle;
  QPointer<HelpCallBack> HelpObj;
  bool ComplexChecks = true;
  bool ColorEmbossed = true;
  QColor SelectColor;
  bool FullSelect = true;
  // Invalid: the menu text colour of the palette (the "0" of the settings).
  QColor ForeColor;
  // Index of the menu-bar item framed by hot tracking, -1 for none.
  int MainPopedIndex = -1;
  // Menu bar watched for replacement; nullptr turns the watch off. Only compared, never used:
  // the old bar may already be gone when a new one comes.
  QMenuBar* SCMainMenu = nullptr;

  int FontSize() const { return m_fontSize; }
  void setFontSize(int groesse);
  // Empty: the window's own face.
  QString FontName() const { return m_fontName; }
  void setFontName(const QString& name);

  // The item font, made on first use or when asked anew.
  QFont menuFont(bool neuErzeugen = false);
  // The small font for captions on separators.
  QFont sepFont();

  CoolMenuStil* stil() const { return m_stil; }

  // Takes a menu or menu bar into service: converted when about to show, drawn by the style.
  void betreuen(QMenu* menu);
  void leisteBetreuen(QMenuBar* leiste);
  // Gives every served menu back to the platform, with its captions as they were.
  void alleZurueckgeben();
  // Menus and bars in service that still exist.
  QList<QWidget*> betreute() const;
  bool betreut(const QWidget* menu) const;

  // Menus must measure their items anew after a font change.
  void neuAusmessen();
  // The menu bar now shown by the window (a main window's bar or a direct child bar).
  QMenuBar* aktuelleMenueleiste() const;
  void TrackMenuBar(QMenuBar* leiste, const QPoint& punkt, bool ueberLeiste);

 protected:
  bool eventFilter(QObject* objekt, QEvent* ereignis) override;

 private:
  void menueleisteUeberwachen();
  void menuSchliesst(QMenu* menu);
  // Takes the engine's style, font and watch off a menu or bar.
  void freigeben(QWidget* w);

  QPointer<QWidget> m_fenster;
  QList<QPointer<QMenu>> m_menuKoepfe;
  QList<QPointer<QWidget>> m_betreut;
  CoolMenuStil* m_stil = nullptr;
  int m_fontSize = 8;
  QString m_fontName;
  std::optional<QFont> m_menuFont;
  std::optional<QFont> m_menuFontSep;
};
