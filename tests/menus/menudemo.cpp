// A window whose menu the engine draws as the tray's: pictures from the program folder, the bold
// default item, etched and captioned separators, marks, an embossed disabled item, a shortcut, a
// submenu, and the help text of the highlighted item in the window. Opens its menu by itself and
// writes "offen" when it shows, so that scripts/menudemo.sh can take the screenshot.

#include "Bildliste.h"
#include "CoolMenu.h"
#include "HelpCallBack.h"

#include <QActionGroup>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString ordner = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

  QWidget fenster;
  fenster.setWindowTitle(QStringLiteral("Menü-Vorführung"));
  auto* hilfetext = new QLabel(QStringLiteral("Hilfe zum markierten Eintrag"), &fenster);
  (new QVBoxLayout(&fenster))->addWidget(hilfetext, 0, Qt::AlignBottom);
  fenster.setGeometry(40, 40, 420, 380);

  auto* menu = new QMenu(&fenster);
  QAction* starten = menu->addAction(QStringLiteral("&Velmark starten"));
  menu->addAction(QStringLiteral("-"));
  QAction* einnahme = menu->addAction(QStringLiteral("|Bucht eine Einnahme|&Einnahme buchen"));
  menu->addAction(QStringLiteral("&Ausgabe buchen"));
  menu->addAction(QStringLiteral("-Ansicht"));
  QAction* tipps = menu->addAction(QStringLiteral("#&Tipps zeigen"));
  tipps->setCheckable(true);
  tipps->setChecked(true);
  menu->addAction(QStringLiteral("#&Leiste zeigen"))->setCheckable(true);
  auto* gruppe = new QActionGroup(menu);
  for (const char* text : {"*&Klein", "*&Groß"}) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setCheckable(true);
    gruppe->addAction(a);
  }
  gruppe->actions().first()->setChecked(true);
  menu->addAction(QStringLiteral("-"));
  menu->addAction(QStringLiteral("|Gerade nicht möglich|&Information"))->setEnabled(false);
  menu->addAction(QStringLiteral("&Suchen\tStrg+F"));
  menu->addMenu(QStringLiteral("&Weitere"))->addAction(QStringLiteral("&Tief"));
  menu->addAction(QStringLiteral("-"));
  menu->addAction(QStringLiteral("&Beenden"), &app, &QApplication::quit);
  menu->setDefaultAction(starten);

  // As the tray does it.
  Bildliste bilder;
  bilder.laden(ordner + QStringLiteral("menu-starten.png"), QStringLiteral("&Velmark"));
  bilder.laden(ordner + QStringLiteral("menu-einnahme.png"), QStringLiteral("&Einnahme"));
  bilder.laden(ordner + QStringLiteral("menu-ausgabe.png"), QStringLiteral("&Ausgabe"));
  bilder.laden(ordner + QStringLiteral("menu-info.png"), QStringLiteral("&Info"));
  bilder.laden(ordner + QStringLiteral("menu-beenden.png"), QStringLiteral("&Beenden"));
  HelpCallBack hilfe;
  QObject::connect(
      &hilfe, &HelpCallBack::MenuHelp,
      [hilfetext](const QString& text, const QString& help, bool enabled) {
        hilfetext->setText(text.isEmpty()
                               ? QStringLiteral("(Menü zu)")
                               : text + QStringLiteral(": ") + help +
                                     (enabled ? QString() : QStringLiteral(" (gesperrt)")));
      });
  InstallCoolMenu(&fenster, &hilfe, &bilder, false);
  MenuFontName(&fenster, QStringLiteral("Tahoma"));
  MenuFontSize(&fenster, 8);

  fenster.show();
  QTimer::singleShot(500, menu, [&] {
    menu->popup(fenster.mapToGlobal(QPoint(20, 20)));
    menu->setActiveAction(einnahme);
    QTimer::singleShot(300, [] {
      std::puts("offen");
      std::fflush(stdout);
    });
  });
  return app.exec();
}
