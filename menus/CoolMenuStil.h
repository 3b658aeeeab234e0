#pragma once
// The style that served menus carry: converted items are measured and drawn by the engine, the
// menu gets the classic raised frame in the menu colour; everything else, and every item the
// engine cannot draw, goes to the platform style underneath.

#include <QProxyStyle>

class CMyItemData;
class QAction;
class WndCoolMenu;

class CoolMenuStil : public QProxyStyle {
  Q_OBJECT

 public:
  explicit CoolMenuStil(WndCoolMenu* wnd);

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& inhalt,
                         const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  int pixelMetric(PixelMetric metrik, const QStyleOption* option,
                  const QWidget* widget) const override;
  int styleHint(StyleHint hinweis, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* rueckgabe) const override;

 private:
  bool betreut(const QWidget* widget) const;
  // The item drawn into rect (the menu paints each item into its action geometry).
  static QAction* aktionAnStelle(const QWidget* widget, const QRect& rect);
  // The record of the item being measured: the menu hands over only its text and kind.
  static CMyItemData* satzFuerMass(const QStyleOption* option, const QWidget* widget);

  WndCoolMenu* m_wnd;
};
