// The menu engine's rules: caption syntax, records, pictures by Tag, measures, help reports,
// access characters, menus made later, menu bars, and what is left to the platform.

#include "Bildliste.h"
#include "CMyItemDatas.h"
#include "CoolMenu.h"
#include "CoolMenuStil.h"
#include "HelpCallBack.h"
#include "TestMain.h"
#include "WndCoolMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QWidgetAction>
#include <memory>

namespace {

// A window with one menu, served by the engine with a help object and a picture list.
struct Aufbau {
  std::unique_ptr<QWidget> fenster = std::make_unique<QWidget>();
  QMenu* menu = new QMenu(fenster.get());
  HelpCallBack hilfe;
  Bildliste bilder;

  explicit Aufbau(const QStringList& captions = {}) {
    for (const QString& c : captions)
      menu->addAction(c);
  }
  void installieren() { QVERIFY(InstallCoolMenu(fenster.get(), &hilfe, &bilder)); }
  WndCoolMenu* wnd() const { return CoolMenuFenster(fenster.get()); }
  QAction* aktion(int i) const { return menu->actions().at(i); }
  bool oeffnen(QMenu* m = nullptr) {
    m = m ? m : menu;
    m->popup(QPoint(20, 20));
    return QTest::qWaitFor([m] { return m->isVisible(); });
  }
};

QPixmap farbbild(const QColor& farbe) {
  QPixmap bild(16, 16);
  bild.fill(farbe);
  return bild;
}

}  // namespace

class TestCoolMenu : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // Records go with their items, windows with their records.
    QCOMPARE(CoolMenuItems().Count(), 0);
    QVERIFY(CoolMenuWindows().isEmpty());
  }

  void beschriftungen_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hilfe");
    QTest::addColumn<bool>("marke");
    QTest::addColumn<bool>("kasten");
    QTest::addColumn<bool>("trenner");
    // Converting back gives the caption again.
    QTest::addColumn<bool>("umkehrbar");
    QTest::newRow("Text") << "&Neu"
                          << "&Neu"
                          << "" << false << false << false << true;
    QTest::newRow("Kastenmarke") << "#&Prüfen"
                                 << "&Prüfen"
                                 << "" << true << true << false << true;
    QTest::newRow("Optionsmarke") << "*Option"
                                  << "Option"
                                  << "" << true << false << false << true;
    QTest::newRow("Trenner") << "-"
                             << ""
                             << "" << false << false << true << true;
    QTest::newRow("Trenner mit Text") << "-Gruppe"
                                      << "Gruppe"
                                      << "" << false << false << true << true;
    QTest::newRow("Hilfe ohne Marke") << "|Legt an|Text"
                                      << "Text"
                                      << "Legt an" << false << false << false << true;
    QTest::newRow("Trenner mit Hilfe") << "-|Hilfe|Caption"
                                       << "Caption"
                                       << "Hilfe" << false << false << true << true;
    QTest::newRow("Kasten mit Hilfe") << "#|Hilfe|&Prüfen"
                                      << "&Prüfen"
                                      << "Hilfe" << true << true << false << true;
    QTest::newRow("Option mit Hilfe") << "*|Hilfe|Opt"
                                      << "Opt"
                                      << "Hilfe" << true << false << false << true;
    QTest::newRow("Tabulator") << "&Neu\tStrg+N"
                               << "&Neu\tStrg+N"
                               << "" << false << false << false << true;
    QTest::newRow("ein Strich") << "a|b"
                                << "a|b"
                                << "" << false << false << false << true;
    QTest::newRow("Strich am Ende") << "Ende|"
                                    << "Ende|"
                                    << "" << false << false << false << true;
    QTest::newRow("nur Strich") << "|"
                                << "|"
                                << "" << false << false << false << true;
    QTest::newRow("Marke, Strich am Ende") << "#Ende|"
                                           << "Ende|"
                                           << "" << true << true << false << true;
    QTest::newRow("Hilfe ohne Text") << "|Hilfe|"
                                     << ""
                                     << "Hilfe" << false << false << false << true;
    QTest::newRow("drei Striche") << "|Hilfe|a|b"
                                  << "a|b"
                                  << "Hilfe" << false << false << false << true;
    // The marker belongs to the caption, not to the display text, also with an empty help.
    QTest::newRow("leere Hilfe") << "-||Text"
                                 << "Text"
                                 << "" << false << false << true << false;
    QTest::newRow("Text vor dem Strich") << "ab|Hilfe|Text"
                                         << "Text"
                                         << "Hilfe" << false << false << false << false;
    QTest::newRow("Marke im Text") << "|Hilfe|-5 %"
                                   << "-5 %"
                                   << "Hilfe" << false << false << false << true;
    QTest::newRow("leer") << ""
                          << ""
                          << "" << false << false << false << true;
  }

  void beschriftungen() {
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(QString, hilfe);
    QFETCH(bool, marke);
    QFETCH(bool, kasten);
    QFETCH(bool, trenner);
    QFETCH(bool, umkehrbar);

    CMyItemData satz;
    BeschriftungLesen(caption, satz);
    QCOMPARE(satz.sMenuText, text);
    QCOMPARE(satz.sMenuHelp, hilfe);
    QCOMPARE(satz.bAsMark, marke);
    QCOMPARE(satz.bAsMark && satz.bAsCheck, kasten);
    QCOMPARE(satz.istTrenner(), trenner);

    // The same through a real menu: the item shows the display text, and converting back gives
    // the caption syntax again (or one that reads the same).
    Aufbau a({QStringLiteral("Davor"), caption});
    a.installieren();
    QVERIFY(a.oeffnen());
    QAction* aktion = a.aktion(1);
    const CMyItemData* gelesen = ItemDataFor(aktion);
    QVERIFY(gelesen);
    QCOMPARE(gelesen->sMenuText, text);
    QCOMPARE(gelesen->sMenuHelp, hilfe);
    QCOMPARE(gelesen->bAsMark, marke);
    QCOMPARE(gelesen->istTrenner(), trenner);
    QVERIFY(gelesen->fType & MFT_OWNERDRAW);
    QCOMPARE(aktion->text(), text);
    QCOMPARE(aktion->isSeparator(), trenner);
    a.menu->close();

    UninstallCoolMenu(a.fenster.get());
    QVERIFY(!aktion->isSeparator());
    QVERIFY(!ItemDataFor(aktion));
    CMyItemData zurueck;
    BeschriftungLesen(aktion->text(), zurueck);
    QCOMPARE(zurueck.sMenuText, text);
    QCOMPARE(zurueck.sMenuHelp, hilfe);
    QCOMPARE(zurueck.bAsMark, marke);
    QCOMPARE(zurueck.istTrenner(), trenner);
    if (umkehrbar)
      QCOMPARE(aktion->text(), caption);
  }

  void bildindex_data() {
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    const QStringList tray{"&Velmark", "&Einnahme", "&Ausgabe", "&Info", "&Beenden"};
    QTest::newRow("Anfang") << tray << "&Einnahme buchen" << 1;
    QTest::newRow("grosse Buchstaben") << tray << "&AUSGABE BUCHEN" << 2;
    QTest::newRow("kleine Buchstaben") << tray << "&beenden" << 4;
    QTest::newRow("Umlaut") << QStringList{"Ändern"} << "äNDERN und mehr" << 0;
    QTest::newRow("kein Treffer") << tray << "Velmark" << -1;
    QTest::newRow("Tag laenger als Name") << QStringList{"Einnahme buchen"} << "Ein" << 0;
    // n only ever goes down: after the Tag "X" one character decides.
    QTest::newRow("n bleibt klein") << QStringList{"X", "Einnahme"} << "Eimer" << 1;
    QTest::newRow("n bleibt klein, spaeter") << QStringList{"Ab", "Zeta", "Auto"} << "Aufgabe" << 2;
    QTest::newRow("ohne Tag uebersprungen") << QStringList{"", "Ausgabe"} << "Ausgabe buchen" << 1;
    QTest::newRow("keine Tags") << QStringList{"", ""} << "Ausgabe" << -1;
    QTest::newRow("leere Liste") << QStringList{} << "Ausgabe" << -1;
  }

  void bildindex() {
    QFETCH(QStringList, tags);
    QFETCH(QString, name);
    QFETCH(int, index);
    Bildliste liste;
    for (const QString& tag : tags)
      liste.hinzufuegen(farbbild(Qt::red), tag);
    QCOMPARE(int(GetImageIndex(&liste, name)), index);
  }

  void bilderDerEintraege() {
    {
      // Without a picture list no item has a picture.
      Aufbau a({"&Einnahme buchen"});
      QVERIFY(InstallCoolMenu(a.fenster.get()));
      QCOMPARE(int(GetImageIndex(a.fenster.get(), "&Einnahme")), -1);
      QVERIFY(a.oeffnen());
      QCOMPARE(int(ItemDataFor(a.aktion(0))->iButton), -1);
    }
    {
      Aufbau a({"&Velmark starten", "-", "&Einnahme buchen", "|Hilfe|&Ausgabe buchen", "Sonst"});
      a.bilder.hinzufuegen(farbbild(Qt::red), "&Velmark");
      a.bilder.hinzufuegen(farbbild(Qt::green), "&einnahme");
      a.bilder.hinzufuegen(farbbild(Qt::blue), "&Ausgabe");
      a.installieren();
      QVERIFY(a.oeffnen());
      QCOMPARE(int(ItemDataFor(a.aktion(0))->iButton), 0);
      QCOMPARE(int(ItemDataFor(a.aktion(2))->iButton), 1);
      // Matched by the display text, not by the caption with its help form.
      QCOMPARE(int(ItemDataFor(a.aktion(3))->iButton), 2);
      QCOMPARE(int(ItemDataFor(a.aktion(4))->iButton), -1);
    }
    {
      // Pictures without Tags give no pictures.
      Aufbau a({"&Einnahme buchen", "&Ausgabe buchen"});
      a.bilder.hinzufuegen(farbbild(Qt::red));
      a.bilder.hinzufuegen(farbbild(Qt::green), QString());
      a.installieren();
      QVERIFY(a.oeffnen());
      QCOMPARE(int(ItemDataFor(a.aktion(0))->iButton), -1);
      QCOMPARE(int(ItemDataFor(a.aktion(1))->iButton), -1);
    }
  }

  void massregeln() {
    Aufbau a({"-", "&Kurz", "Ein recht langer Eintrag im Menü", "-Gruppe", "Mit\tStrg+K"});
    a.installieren();
    QVERIFY(a.oeffnen());
    WndCoolMenu* wnd = a.wnd();
    const QStyle* basis = wnd->stil()->baseStyle();
    const int menuHoehe = Menuhoehe(basis);
    const int haekchen = Haekchenbreite(basis);
    QVERIFY(menuHoehe > 0);
    QCOMPARE(haekchen, basis->pixelMetric(QStyle::PM_IndicatorWidth));
    const QFontMetrics fm(GetMenuFont(a.fenster.get()));

    // The engine's measure.
    const CMyItemData* trenner = ItemDataFor(a.aktion(0));
    QCOMPARE(OnMeasureItem(*wnd, *trenner, false, basis), QSize(0, menuHoehe / 2));
    const CMyItemData* lang = ItemDataFor(a.aktion(2));
    const int textBreite = fm.size(Qt::TextShowMnemonic, lang->sMenuText).width();
    const int hoehe = qMax(fm.height(), menuHoehe);
    QCOMPARE(OnMeasureItem(*wnd, *lang, false, basis),
             QSize(textBreite + 5 + (16 + 2) * 2 - (haekchen - 1), hoehe));
    const CMyItemData* kurz = ItemDataFor(a.aktion(1));
    QCOMPARE(OnMeasureItem(*wnd, *kurz, false, basis).width(),
             fm.size(Qt::TextShowMnemonic, "Kurz").width() + 41 - (haekchen - 1));
    // The shortcut after the tab is measured by the menu's own column.
    const CMyItemData* mitTab = ItemDataFor(a.aktion(4));
    QCOMPARE(OnMeasureItem(*wnd, *mitTab, false, basis).width(),
             fm.size(0, "Mit").width() + 41 - (haekchen - 1));

    // The menu as laid out: separators half a menu line high, with and without caption; the
    // widest item 5 + 36 wider than its text once the check-mark width is added back, plus the
    // shortcut column, measured in the item font.
    const int spalte = fm.horizontalAdvance("Strg+K");
    QCOMPARE(a.menu->actionGeometry(a.aktion(0)).height(), menuHoehe / 2);
    QCOMPARE(a.menu->actionGeometry(a.aktion(3)).height(), menuHoehe / 2);
    QCOMPARE(a.menu->actionGeometry(a.aktion(1)).height(), hoehe);
    QCOMPARE(a.menu->actionGeometry(a.aktion(2)).width(), textBreite + 5 + (16 + 2) * 2 + spalte);
    a.menu->close();

    // The default item is bold and measured so.
    a.menu->setDefaultAction(a.aktion(2));
    QFont fett = GetMenuFont(a.fenster.get());
    fett.setBold(true);
    const int fettBreite = QFontMetrics(fett).size(Qt::TextShowMnemonic, lang->sMenuText).width();
    QVERIFY(fettBreite > textBreite);
    QVERIFY(a.oeffnen());
    QCOMPARE(a.menu->actionGeometry(a.aktion(2)).width(), fettBreite + 41 + spalte);
    a.menu->close();

    // A larger font is measured at the next opening.
    QCOMPARE(MenuFontSize(a.fenster.get(), 20), 20);
    QVERIFY(a.oeffnen());
    const QFontMetrics gross(GetMenuFont(a.fenster.get()));
    QVERIFY(gross.height() > fm.height());
    QCOMPARE(a.menu->actionGeometry(a.aktion(1)).height(), qMax(gross.height(), menuHoehe));
    a.menu->close();
  }

  void schrift() {
    Aufbau a({"Eintrag"});
    QCOMPARE(MenuFontName(a.fenster.get(), "Tahoma"), QString());
    QCOMPARE(MenuFontSize(a.fenster.get()), 0);
    a.installieren();
    WndCoolMenu* wnd = a.wnd();
    QCOMPARE(wnd->FontSize(), 8);
    QVERIFY(wnd->ComplexChecks);
    QVERIFY(wnd->ColorEmbossed);
    QVERIFY(wnd->FullSelect);
    QVERIFY(!wnd->ForeColor.isValid());
    QCOMPARE(wnd->MainPopedIndex, -1);
    QCOMPARE(wnd->SelectColor, QApplication::palette().color(QPalette::Highlight));
    // Without a face the window's face is taken and kept, from the first measure on.
    QCOMPARE(GetMenuFont(a.fenster.get()).family(), a.fenster->font().family());
    QCOMPARE(GetMenuFont(a.fenster.get()).pointSize(), a.fenster->font().pointSize());
    QCOMPARE(MenuFontName(a.fenster.get()), a.fenster->font().family());

    QCOMPARE(MenuFontName(a.fenster.get(), "Tahoma"), QStringLiteral("Tahoma"));
    QCOMPARE(MenuFontSize(a.fenster.get(), 8), 8);
    QCOMPARE(MenuFontName(a.fenster.get()), QStringLiteral("Tahoma"));
    const QFont f = GetMenuFont(a.fenster.get());
    // 8 points at 96 pixels per inch, rounded: 11 pixels.
    QCOMPARE(f.pixelSize(), 11);
    QCOMPARE(f.weight(), QFont::Normal);
    QCOMPARE(f.family(), QStringLiteral("Tahoma"));
    QVERIFY(QFontMetrics(GetSepFont(a.fenster.get())).height() <= 10);
  }

  void zweimalOeffnen() {
    Aufbau a({"&Eins", "-", "|Hilfe|&Zwei"});
    a.installieren();
    QVERIFY(a.oeffnen());
    const int anzahl = CoolMenuItems().Count();
    QCOMPARE(anzahl, 3);
    QStringList schluessel;
    for (QAction* x : a.menu->actions())
      schluessel << ItemKeyFor(x);
    QCOMPARE(schluessel, QStringList({"1", "2", "3"}));
    a.menu->close();

    QVERIFY(a.oeffnen());
    QCOMPARE(CoolMenuItems().Count(), anzahl);
    QStringList nochmal;
    for (QAction* x : a.menu->actions())
      nochmal << ItemKeyFor(x);
    QCOMPARE(nochmal, schluessel);
    QCOMPARE(ItemDataFor(a.aktion(2))->sMenuHelp, QStringLiteral("Hilfe"));
    a.menu->close();

    // A new caption at run time is read at the next opening, under the same key.
    a.aktion(0)->setText("#|Neue Hilfe|&Drei");
    a.menu->addAction("&Vier");
    QVERIFY(a.oeffnen());
    QCOMPARE(CoolMenuItems().Count(), anzahl + 1);
    QCOMPARE(ItemKeyFor(a.aktion(0)), QStringLiteral("1"));
    const CMyItemData* neu = ItemDataFor(a.aktion(0));
    QCOMPARE(neu->sMenuText, QStringLiteral("&Drei"));
    QCOMPARE(neu->sMenuHelp, QStringLiteral("Neue Hilfe"));
    QVERIFY(neu->bAsMark && neu->bAsCheck);
    QCOMPARE(a.aktion(0)->text(), QStringLiteral("&Drei"));
    QCOMPARE(ItemKeyFor(a.aktion(3)), QStringLiteral("4"));
    a.menu->close();

    // A removed item takes its record along; the next key is not one still in use.
    delete a.aktion(1);
    QCOMPARE(CoolMenuItems().Count(), anzahl);
    a.menu->addAction("Fünf");
    QVERIFY(a.oeffnen());
    QCOMPARE(CoolMenuItems().Count(), anzahl + 1);
    QCOMPARE(ItemKeyFor(a.aktion(3)), QStringLiteral("5"));
    QCOMPARE(ItemDataFor(a.aktion(0))->sMenuText, QStringLiteral("&Drei"));
    a.menu->close();
    QCOMPARE(a.wnd()->CountMenuHeads(), 1);
    QCOMPARE(a.wnd()->GetMenuHead(1), a.menu);
  }

  void schluesselSammlung() {
    CMyItemDatas d;
    QVERIFY(d.Add("1"));
    QVERIFY(!d.Add("1"));
    QVERIFY(d.Add(d.NeuerSchluessel()));
    QVERIFY(d.Add(d.NeuerSchluessel()));
    QCOMPARE(d.Key(3), QStringLiteral("3"));
    QVERIFY(d.Remove("2"));
    QCOMPARE(d.Count(), 2);
    // Count + 1 would be 3, which is taken.
    QCOMPARE(d.NeuerSchluessel(), QStringLiteral("4"));
    QCOMPARE(d.Item(2), d.Item(QStringLiteral("3")));
    QVERIFY(!d.Item(3));
    QStringList reihe;
    for (const QString& k : d)
      reihe << k;
    QCOMPARE(reihe, QStringList({"1", "3"}));

    // By position as well as by key: the second record is the one under "3".
    QVERIFY(d.Add("7"));
    QVERIFY(!d.Remove(0));
    QVERIFY(!d.Remove(4));
    QVERIFY(d.Remove(2));
    QCOMPARE(d.Count(), 2);
    QVERIFY(!d.Item(QStringLiteral("3")));
    QVERIFY(d.Item(QStringLiteral("1")));
    QCOMPARE(d.Key(2), QStringLiteral("7"));
  }

  void hilfeMeldungen() {
    Aufbau a({"|Legt eine Einnahme an|&Einnahme", "-", "Gesperrt", "Ohne Hilfe"});
    a.aktion(2)->setText("|Geht gerade nicht|&Gesperrt");
    a.aktion(2)->setEnabled(false);
    QMenu* unter = a.menu->addMenu("&Mehr");
    unter->addAction("|Im Untermenü|&Tief");
    a.installieren();
    QSignalSpy spy(&a.hilfe, &HelpCallBack::MenuHelp);

    QVERIFY(a.oeffnen());
    a.menu->setActiveAction(a.aktion(0));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last(), QVariantList({"&Einnahme", "Legt eine Einnahme an", true}));
    a.menu->setActiveAction(a.aktion(2));
    QCOMPARE(spy.last(), QVariantList({"&Gesperrt", "Geht gerade nicht", false}));
    a.menu->setActiveAction(a.aktion(3));
    QCOMPARE(spy.last(), QVariantList({"Ohne Hilfe", "", true}));

    // A submenu that closes while its parent stays open reports nothing empty.
    QAction* mehr = a.menu->actions().last();
    a.menu->setActiveAction(mehr);
    QTRY_VERIFY(unter->isVisible());
    unter->setActiveAction(unter->actions().first());
    QCOMPARE(spy.last(), QVariantList({"&Tief", "Im Untermenü", true}));
    unter->close();
    QVERIFY(a.menu->isVisible());
    QVERIFY(!spy.last().at(0).toString().isEmpty());

    // The whole menu closes: empty texts.
    const int vorher = spy.count();
    a.menu->close();
    QCOMPARE(spy.count(), vorher + 1);
    QCOMPARE(spy.last(), QVariantList({"", "", false}));
  }

  void ohneHilfeObjekt() {
    Aufbau a({"|Hilfe|Eintrag"});
    QVERIFY(InstallCoolMenu(a.fenster.get()));
    QVERIFY(a.oeffnen());
    a.menu->setActiveAction(a.aktion(0));
    a.menu->close();
    // The help object may go before the window.
    auto hilfe = std::make_unique<HelpCallBack>();
    QVERIFY(InstallCoolMenu(a.fenster.get(), hilfe.get()));
    hilfe.reset();
    QVERIFY(a.oeffnen());
    a.menu->setActiveAction(a.aktion(0));
    a.menu->close();
  }

  void zugriffszeichen() {
    Aufbau a({"&Anna", "&Auto", "E&xtra", "Ohne", "&Gesperrt"});
    a.aktion(4)->setEnabled(false);
    QMenu* unter = a.menu->addMenu("&Untermenü");
    unter->addAction("&Tief");
    a.installieren();
    QSignalSpy ausgeloest(a.menu, &QMenu::triggered);

    QVERIFY(a.oeffnen());
    QTest::keyClick(a.menu, Qt::Key_X);
    QCOMPARE(ausgeloest.count(), 1);
    QCOMPARE(ausgeloest.last().at(0).value<QAction*>(), a.aktion(2));
    QTRY_VERIFY(!a.menu->isVisible());

    // Two items share the character: the first one is chosen at once, in any letter case.
    QVERIFY(a.oeffnen());
    QTest::keyClick(a.menu, Qt::Key_A, Qt::ShiftModifier);
    QCOMPARE(ausgeloest.count(), 2);
    QCOMPARE(ausgeloest.last().at(0).value<QAction*>(), a.aktion(0));

    // No item has the character, or only a disabled one: nothing happens, the menu stays.
    QVERIFY(a.oeffnen());
    QTest::keyClick(a.menu, Qt::Key_Q);
    QTest::keyClick(a.menu, Qt::Key_G);
    QCOMPARE(ausgeloest.count(), 2);
    QVERIFY(a.menu->isVisible());

    // A submenu item opens its submenu.
    QTest::keyClick(a.menu, Qt::Key_U);
    QTRY_VERIFY(unter->isVisible());
    QCOMPARE(ausgeloest.count(), 2);
    unter->close();
    a.menu->close();
  }

  void spaeterGemachteMenues() {
    Aufbau a({"Erstes"});
    a.installieren();
    auto* neu = new QMenu(a.fenster.get());
    neu->addAction("#&Später");
    QVERIFY(a.oeffnen(neu));
    const CMyItemData* satz = ItemDataFor(neu->actions().first());
    QVERIFY(satz);
    QVERIFY(satz->bAsMark);
    QCOMPARE(neu->style(), static_cast<QStyle*>(a.wnd()->stil()));
    neu->close();

    // A submenu without a parent, attached later, is served from its parent menu.
    auto unter = std::make_unique<QMenu>("&Lose");
    unter->addAction("*Wahl");
    a.menu->addMenu(unter.get());
    QVERIFY(a.oeffnen());
    QVERIFY(ItemDataFor(a.menu->actions().last())->bTrueSub);
    a.menu->setActiveAction(a.menu->actions().last());
    QTRY_VERIFY(unter->isVisible());
    QVERIFY(ItemDataFor(unter->actions().first()));
    QVERIFY(!ItemDataFor(unter->actions().first())->bAsCheck);
    unter->close();
    a.menu->close();
    a.fenster.reset();
    unter.reset();
  }

  void plattformBleibt() {
    // Widget items and menus that nobody served stay as the platform has them.
    Aufbau a({"Eintrag"});
    auto* feld = new QWidgetAction(a.menu);
    feld->setDefaultWidget(new QLabel("Feld"));
    a.menu->addAction(feld);
    a.installieren();
    ConvertMenu(a.fenster.get(), nullptr, true, false);
    QVERIFY(a.oeffnen());
    QVERIFY(ItemDataFor(a.aktion(0)));
    QVERIFY(!ItemDataFor(feld));
    QVERIFY(!a.menu->grab().isNull());
    a.menu->close();

    QMenu fremd;
    fremd.addAction("#Fremd");
    QVERIFY(a.oeffnen(&fremd));
    QVERIFY(!ItemDataFor(fremd.actions().first()));
    QCOMPARE(fremd.actions().first()->text(), QStringLiteral("#Fremd"));
    fremd.close();
    QVERIFY(!InstallCoolMenu(nullptr));
  }

  void fensterGeht() {
    auto a = std::make_unique<Aufbau>(QStringList{"Eins", "Zwei"});
    a->installieren();
    QVERIFY(a->oeffnen());
    a->menu->close();
    QCOMPARE(CoolMenuItems().Count(), 2);
    QCOMPARE(CoolMenuWindows().size(), 1);
    a.reset();
    // cleanup() checks that records and window entry are gone.
  }

  void menueleiste() {
    auto fenster = std::make_unique<QMainWindow>();
    QMenu* datei = fenster->menuBar()->addMenu("&Datei");
    datei->addAction("|Öffnet eine Datei|&Öffnen");
    fenster->menuBar()->addAction("&Hilfe");
    fenster->resize(300, 200);
    HelpCallBack hilfe;
    QVERIFY(InstallCoolMenu(fenster.get(), &hilfe, nullptr, true));
    WndCoolMenu* wnd = CoolMenuFenster(fenster.get());
    QMenuBar* leiste = fenster->menuBar();
    const CMyItemData* kopf = ItemDataFor(leiste->actions().first());
    QVERIFY(kopf);
    QVERIFY(kopf->bMainMenu);
    QVERIFY(!kopf->bTrueSub);
    QCOMPARE(OnMeasureItem(*wnd, *kopf, false, wnd->stil()->baseStyle()).width(),
             QFontMetrics(GetMenuFont(fenster.get())).size(Qt::TextShowMnemonic, "&Datei").width());
    fenster->show();
    QVERIFY(QTest::qWaitForWindowExposed(fenster.get()));

    // Hot tracking frames the item under the mouse, and no other.
    const QRect zweites = leiste->actionGeometry(leiste->actions().at(1));
    QTest::mouseMove(leiste, zweites.center());
    QTRY_COMPARE(wnd->MainPopedIndex, 1);
    QEvent weg(QEvent::Leave);
    QCoreApplication::sendEvent(leiste, &weg);
    QCOMPARE(wnd->MainPopedIndex, -1);

    // The drop-down menu of the bar is converted when it opens.
    QVERIFY(QTest::qWaitFor([&] {
      datei->popup(fenster->mapToGlobal(QPoint(0, 30)));
      return datei->isVisible();
    }));
    QCOMPARE(ItemDataFor(datei->actions().first())->sMenuHelp, QStringLiteral("Öffnet eine Datei"));
    datei->close();

    // A watched bar that is replaced: the new one is converted.
    wnd->SCMainMenu = leiste;
    auto* neu = new QMenuBar;
    neu->addAction("&Neu");
    fenster->setMenuBar(neu);
    QTRY_VERIFY(ItemDataFor(neu->actions().first()));
    QCOMPARE(wnd->SCMainMenu, neu);
    QVERIFY(ItemDataFor(neu->actions().first())->bMainMenu);
    fenster.reset();
  }
};

VELMARK_TEST_MAIN(TestCoolMenu)
#include "tst_coolmenu.moc"
