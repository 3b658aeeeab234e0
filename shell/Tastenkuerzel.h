#pragma once
// A keyboard shortcut from anywhere on the desktop, for the tray's booking commands. One small
// interface, one file per platform (chosen in CMake): X11 grabs the key on the root window through
// Qt's xcb connection (tastenkuerzel_xcb.cpp), Windows registers a hot key
// (tastenkuerzel_win.cpp); elsewhere there is none (tastenkuerzel_ohne.cpp).
//
//   auto kuerzel = Tastenkuerzel::erzeugen();         // nullptr: the platform has none
//   if (kuerzel && !kuerzel->anmelden(1, QKeySequence(u"Ctrl+Alt+A"_s)))
//     ...;                                             // taken by another program
//   connect(kuerzel.get(), &Tastenkuerzel::ausgeloest, this, [](int nummer) { ... });

#include <QKeySequence>
#include <QObject>
#include <memory>

class Tastenkuerzel : public QObject {
  Q_OBJECT

 public:
  // The platform's implementation, or nullptr where the platform (or the running session, such as
  // the offscreen platform) has no global shortcuts.
  static std::unique_ptr<Tastenkuerzel> erzeugen();

  // Takes the first key combination of `folge` for the whole desktop under `nummer`. False when
  // another program holds it, or it cannot be a global shortcut (no key, or a key the platform
  // cannot name).
  virtual bool anmelden(int nummer, const QKeySequence& folge) = 0;
  // Gives every shortcut back (also done when the object goes).
  virtual void abmelden() = 0;

 signals:
  void ausgeloest(int nummer);

 protected:
  using QObject::QObject;
};
