#include "Infobereich.h"

#include "Formular.h"
#include "Zustand.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>

namespace Infobereich {
namespace {

QPointer<QMessageBox> box;
QPointer<QTimer> uhr;
bool gezeigt = false;

void zeigen() {
  box = new QMessageBox(QMessageBox::Information, Text(3160), Text(3060));
  box->setObjectName(QStringLiteral("Infobereichhinweis"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->setProperty("Tag", 3060);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  QPushButton* beenden = box->addButton(Text(3061), QMessageBox::DestructiveRole);
  beenden->setObjectName(QStringLiteral("cmdBeenden"));
  box->setDefaultButton(ok);
  // A message box without an escape button ignores close(), and Esc should read it away.
  box->setEscapeButton(ok);
  QObject::connect(beenden, &QPushButton::clicked, box, [] {
    // Queued, outside the box's own click handler, as the tray menu's commands run.
    QTimer::singleShot(0, qApp, [] {
      if (uhr)
        uhr->deleteLater();
      Formulare::alleEntladen();
    });
  });
  box->show();
}

}  // namespace

void ueberwachen(std::function<bool()> vorhanden, int wartezeit) {
  if (!vorhanden)
    vorhanden = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
  delete uhr;
  delete box;
  uhr = new QTimer(qApp);
  const QDeadlineTimer frist(wartezeit);
  gezeigt = false;
  auto pruefen = [vorhanden, frist] {
    if (vorhanden()) {
      // The icon shows now: the note has nothing more to say.
      if (box)
        box->close();
      uhr->stop();
      uhr->deleteLater();
    } else if (!gezeigt && frist.hasExpired()) {
      zeigen();
      gezeigt = true;
    } else if (gezeigt && !box) {
      uhr->stop();  // the user has read it: once is enough
      uhr->deleteLater();
    }
  };
  QObject::connect(uhr, &QTimer::timeout, uhr, pruefen);
  uhr->start(Intervall);
  pruefen();
}

QMessageBox* hinweis() { return box; }

}  // namespace Infobereich
