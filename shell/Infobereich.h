#pragma once
// Without a notification area the tray icon cannot show, and with it the whole program would run
// unseen. zamlo watches for one after its start (a desktop may bring its panel up after the
// programs of the log-in) and, when none came, shows one note: non-modal, so that nothing waits
// for it, closed again as soon as an area appears. Its "Beenden" runs the end command.

#include <QPointer>
#include <functional>

class QMessageBox;

namespace Infobereich {

// How long zamlo waits for a notification area before the note, and how often it looks.
inline constexpr int Wartezeit = 10000;
inline constexpr int Intervall = 500;

// Starts watching (the application's event loop does the rest); vorhanden tells whether an area
// is there, by default QSystemTrayIcon::isSystemTrayAvailable.
void ueberwachen(std::function<bool()> vorhanden = {}, int wartezeit = Wartezeit);
// The note while it shows.
QMessageBox* hinweis();

}  // namespace Infobereich
