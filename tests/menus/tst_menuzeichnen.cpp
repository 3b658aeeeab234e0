// What the engine draws: the menu is shown offscreen, grabbed, and its pixels are checked where a
// picture, a mark, a separator, the highlight and the submenu arrow must be.

#include "Bildliste.h"
#include "CoolMenu.h"
#include "CoolMenuZeichnen.h"
#include "HelpCallBack.h"
#include "TestMain.h"
#include "Testordner.h"
#include "WndCoolMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QImage>
#include <QMenu>
#include <memory>

namespace {

// Distinct colours for every system colour the engine uses, so that each pixel says who drew it.
const QColor Menufarbe(0xc0, 0xc0, 0xc0);     // 4
const QColor Fensterfarbe(0xff, 0xff, 0xff);  // 5
const QColor Textfarbe(0x00, 0x00, 0x00);     // 7
const QColor Knopf(0xd4, 0xd0, 0xc8);         // 15
const QColor Schatten(0x80, 0x80, 0x80);      // 16
const QColor Grautext(0x8a, 0x8a, 0x8a);      // 17
const QColor Hell(0xf8, 0xf8, 0xf8);          // 20
const QColor Dunkel(0x40, 0x40, 0x40);        // 21
const QColor Licht(0xe0, 0xe0, 0xe0);         // 22
const QColor Bildfarbe(200, 30, 40);
const QColor Auswahl(0x00, 0x80, 0x00);

int zaehlen(const QImage& bild, const QRect& r, const QColor& farbe) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (bild.pixel(x, y) == farbe.rgb())
        ++n;
  return n;
}

enum Punkt { Bild, Geprueft, Leer, Trenner, BildAus, Option, Ohne, Gruppe, Mehr };

}  // namespace

class TestMenuZeichnen : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> fenster;
  QMenu* menu = nullptr;
  Bildliste bilder;
  HelpCallBack hilfe;

  QAction* aktion(Punkt p) const { return menu->actions().at(p); }
  QRect geo(Punkt p) const { return menu->actionGeometry(aktion(p)); }
  QRect iconBereich(Punkt p) const {
    const QRect r = geo(p);
    return QRect(r.left(), r.top(), MenuIconSize + 2, r.height());
  }
  QRect textBereich(Punkt p) const { return geo(p).adjusted(MenuIconSize + 2, 0, 0, 0); }
  WndCoolMenu* wnd() const { return CoolMenuFenster(fenster.get()); }

  QImage aufnahme() {
    if (!menu->isVisible()) {
      menu->popup(QPoint(10, 10));
      if (!QTest::qWaitFor([this] { return menu->isVisible(); }))
        return {};
    }
    return menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

 private slots:
  void initTestCase() {
    QPalette pal;
    pal.setColor(QPalette::Window, Menufarbe);
    pal.setColor(QPalette::Base, Fensterfarbe);
    pal.setColor(QPalette::WindowText, Textfarbe);
    pal.setColor(QPalette::Text, Textfarbe);
    pal.setColor(QPalette::Button, Knopf);
    pal.setColor(QPalette::Dark, Schatten);
    pal.setColor(QPalette::Light, Hell);
    pal.setColor(QPalette::Shadow, Dunkel);
    pal.setColor(QPalette::Midlight, Licht);
    pal.setColor(QPalette::Highlight, QColor(0x0a, 0x24, 0x6a));
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, Grautext);
    QApplication::setPalette(pal);
  }

  void init() {
    fenster = std::make_unique<QWidget>();
    menu = new QMenu(fenster.get());
    menu->addAction("&Bild");
    QAction* geprueft = menu->addAction("#&Prüfen");
    geprueft->setCheckable(true);
    geprueft->setChecked(true);
    menu->addAction("#Leer")->setCheckable(true);
    menu->addAction("-");
    menu->addAction("|Hilfe|&Bild aus")->setEnabled(false);
    auto* gruppe = new QActionGroup(menu);
    QAction* option = menu->addAction("*Option");
    option->setCheckable(true);
    option->setChecked(true);
    gruppe->addAction(option);
    menu->addAction("Ohne");
    menu->addAction("-Gruppe");
    menu->addMenu("&Mehr")->addAction("Tief");
    bilder.leeren();
    QPixmap bild(16, 16);
    bild.fill(Bildfarbe);
    bilder.hinzufuegen(bild, "&Bild");
    QVERIFY(InstallCoolMenu(fenster.get(), &hilfe, &bilder));
  }

  void cleanup() {
    fenster.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void bildUndLeererBereich() {
    const QImage bild = aufnahme();
    QVERIFY(!bild.isNull());
    QCOMPARE(zaehlen(bild, iconBereich(Bild), Bildfarbe), 16 * 16);
    // No picture and no mark: the icon area is empty.
    const QRect leer = iconBereich(Ohne);
    QCOMPARE(zaehlen(bild, leer, Menufarbe), leer.width() * leer.height());
  }

  void markenKomplex() {
    const QImage bild = aufnahme();
    // The 7 x 7 check is 21 pixels of text colour on a 9 x 9 face.
    QCOMPARE(zaehlen(bild, iconBereich(Geprueft), Textfarbe), 21);
    QCOMPARE(zaehlen(bild, iconBereich(Geprueft), Fensterfarbe), 81 - 21);
    QCOMPARE(zaehlen(bild, iconBereich(Leer), Textfarbe), 0);
    QCOMPARE(zaehlen(bild, iconBereich(Leer), Fensterfarbe), 81);
    for (const QColor& schicht : {Schatten, Hell, Dunkel, Licht}) {
      QVERIFY2(zaehlen(bild, iconBereich(Geprueft), schicht) >= 19, qPrintable(schicht.name()));
      QVERIFY(zaehlen(bild, iconBereich(Option), schicht) > 0);
    }
    // The option's dot, on a round face.
    QCOMPARE(zaehlen(bild, iconBereich(Option), Textfarbe), 12);
    QVERIFY(zaehlen(bild, iconBereich(Option), Fensterfarbe) > 20);

    // Drawn once, then reused.
    const int gespeichert = GespeicherteBilder();
    aufnahme();
    QCOMPARE(GespeicherteBilder(), gespeichert);
  }

  void markenEinfach() {
    wnd()->ComplexChecks = false;
    const QImage bild = aufnahme();
    QCOMPARE(zaehlen(bild, iconBereich(Geprueft), Textfarbe), 21);
    QCOMPARE(zaehlen(bild, iconBereich(Geprueft), Fensterfarbe), 0);
    QCOMPARE(zaehlen(bild, iconBereich(Leer), Textfarbe), 0);
    // A sunken area: shadow along the top and left, light along the bottom and right.
    const QRect r = iconBereich(Leer);
    QCOMPARE(QColor(bild.pixel(r.left() + 5, r.top())), Schatten);
    QCOMPARE(QColor(bild.pixel(r.left(), r.top() + 5)), Schatten);
    QCOMPARE(QColor(bild.pixel(r.left() + 5, r.bottom())), Hell);
    QCOMPARE(QColor(bild.pixel(r.right(), r.top() + 5)), Hell);
    QCOMPARE(zaehlen(bild, iconBereich(Option), Textfarbe), 12);
  }

  void gepraegtesBild() {
    QImage bild = aufnahme();
    const QRect r = iconBereich(BildAus);
    QCOMPARE(zaehlen(bild, r, Bildfarbe), 0);
    QVERIFY(zaehlen(bild, r, Schatten) >= 200);
    QVERIFY(zaehlen(bild, r, Hell) >= 16);
    menu->close();
    wnd()->ColorEmbossed = false;
    bild = aufnahme();
    QCOMPARE(zaehlen(bild, r, Bildfarbe), 0);
    QCOMPARE(zaehlen(bild, r, Schatten), 0);
    QCOMPARE(zaehlen(bild, r, Grautext), 256);
  }

  void trenner() {
    const QImage bild = aufnahme();
    const QRect r = geo(Trenner);
    const int y = r.top() + (r.height() - 2) / 2;
    const QRect linie(r.left(), y, r.width(), 1);
    QCOMPARE(zaehlen(bild, linie, Schatten), r.width() - 2);
    QCOMPARE(zaehlen(bild, linie.translated(0, 1), Hell), r.width() - 2);
    // The caption interrupts the line and sits on it in shadow colour with a light relief.
    const QRect g = geo(Gruppe);
    const QRect gLinie(g.left(), g.top() + (g.height() - 2) / 2, g.width(), 1);
    QVERIFY(zaehlen(bild, gLinie, Schatten) < g.width() - 2 - 10);
    QVERIFY(zaehlen(bild, gLinie, Schatten) > g.width() / 4);
    const QRect mitte(g.center().x() - 15, g.top(), 30, g.height());
    int dunkler = 0;
    for (int y = mitte.top(); y <= mitte.bottom(); ++y)
      for (int x = mitte.left(); x <= mitte.right(); ++x)
        dunkler += qGray(bild.pixel(x, y)) < qGray(Menufarbe.rgb()) - 30;
    QVERIFY(dunkler > 10);
  }

  void hervorhebung() {
    wnd()->SelectColor = Auswahl;
    QImage bild = aufnahme();
    QCOMPARE(zaehlen(bild, textBereich(Ohne), Auswahl), 0);
    menu->setActiveAction(aktion(Ohne));
    bild = aufnahme();
    const QRect t = textBereich(Ohne);
    const int voll = zaehlen(bild, t, Auswahl);
    QVERIFY(voll > t.width() * t.height() * 3 / 4);
    QVERIFY(zaehlen(bild, t, Qt::white) > 0);
    QCOMPARE(zaehlen(bild, t, Textfarbe), 0);
    QCOMPARE(zaehlen(bild, iconBereich(Ohne), Auswahl), 0);

    // Selected picture item: raised frame around the picture.
    menu->setActiveAction(aktion(Bild));
    bild = aufnahme();
    const QRect i = iconBereich(Bild);
    QCOMPARE(QColor(bild.pixel(i.left() + 5, i.top())), Hell);
    QCOMPARE(QColor(bild.pixel(i.right(), i.top() + 5)), Schatten);

    // Without full select only the text is highlighted.
    wnd()->FullSelect = false;
    menu->setActiveAction(aktion(Ohne));
    bild = aufnahme();
    const int textBreite =
        QFontMetrics(GetMenuFont(fenster.get())).size(Qt::TextShowMnemonic, "Ohne").width();
    const QRect hinterText(t.left() + textBreite + 8, t.top(), t.width() - textBreite - 8,
                           t.height());
    QVERIFY(hinterText.width() > 10);
    QCOMPARE(zaehlen(bild, hinterText, Auswahl), 0);
    QVERIFY(zaehlen(bild, t, Auswahl) > 0);
    QVERIFY(zaehlen(bild, t, Auswahl) < voll);

    // A disabled item may be highlighted (its help is reported) but gets no highlight colour.
    menu->setActiveAction(aktion(BildAus));
    bild = aufnahme();
    QCOMPARE(zaehlen(bild, textBereich(BildAus), Auswahl), 0);
  }

  void pfeilUndRahmen() {
    const QImage bild = aufnahme();
    const QRect r = geo(Mehr);
    const QRect pfeil(r.right() - 11, r.top(), 12, r.height());
    // A triangle 4 wide: 7 + 5 + 3 + 1 pixels.
    QCOMPARE(zaehlen(bild, pfeil, Textfarbe), 16);
    QCOMPARE(zaehlen(bild, QRect(geo(Ohne).right() - 11, geo(Ohne).top(), 12, geo(Ohne).height()),
                     Textfarbe),
             0);
    // The menu's raised frame.
    QCOMPARE(QColor(bild.pixel(0, 0)), Licht);
    QCOMPARE(QColor(bild.pixel(1, 1)), Hell);
    QCOMPARE(QColor(bild.pixel(bild.width() - 1, bild.height() - 1)), Dunkel);
  }

  void trayBilder() {
    // The tray's pictures from the program folder, matched by the captions' beginnings.
    fenster = std::make_unique<QWidget>();
    menu = new QMenu(fenster.get());
    const QStringList captions{"&Velmark starten", "-", "&Einnahme buchen", "&Ausgabe buchen", "-",
                               "&Information",     "-", "&Beenden"};
    for (const QString& c : captions)
      menu->addAction(c);
    Bildliste tray;
    const QString ordner = gebauterProgrammordner();
    QVERIFY(!tray.laden(ordner + "gibt-es-nicht.png", "&Nichts"));
    QCOMPARE(tray.anzahl(), 0);
    for (const auto& [datei, tag] : {std::pair{"menu-starten.png", "&Velmark"},
                                     {"menu-einnahme.png", "&Einnahme"},
                                     {"menu-ausgabe.png", "&Ausgabe"},
                                     {"menu-info.png", "&Info"},
                                     {"menu-beenden.png", "&Beenden"}})
      QVERIFY2(tray.laden(ordner + datei, tag), datei);
    QVERIFY(InstallCoolMenu(fenster.get(), &hilfe, &tray));
    MenuFontName(fenster.get(), "Tahoma");
    MenuFontSize(fenster.get(), 8);
    menu->setDefaultAction(menu->actions().first());
    const QImage bild = aufnahme();
    const int punkte[] = {0, 2, 3, 5, 7};
    for (int i = 0; i < 5; ++i) {
      QAction* a = menu->actions().at(punkte[i]);
      QCOMPARE(int(ItemDataFor(a)->iButton), i);
      const QRect r = menu->actionGeometry(a);
      const QRect icon(r.left(), r.top(), MenuIconSize + 2, r.height());
      QVERIFY2(zaehlen(bild, icon, Menufarbe) < icon.width() * icon.height() - 40,
               qPrintable(a->text()));
    }
    menu->close();
  }
};

VELMARK_TEST_MAIN(TestMenuZeichnen)
#include "tst_menuzeichnen.moc"
