// velmark-bench-tray: the least a Qt program needs for an icon in the notification area, the
// reference for zamlo's start-up time and resident memory. Same Qt, one QSystemTrayIcon.

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QPixmap bild(32, 32);
  bild.fill(Qt::darkGreen);
  QSystemTrayIcon symbol{QIcon(bild)};
  symbol.setToolTip(QStringLiteral("Referenz"));
  symbol.show();
  return app.exec();
}
