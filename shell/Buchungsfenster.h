#pragma once
// A booking dialog belongs to the user it was loaded for: its book, its counter key and its
// inventory owner are fixed at load, whoever signs in later. Before a booking command signs in
// someone else, the booking dialogs of the user before go, so that a command never brings back a
// dialog that books into another member's book.
//
//   // in a sign-in, once the user is certain and before AktuellerBenutzer is set:
//   if (!BenutzerwechselZulassen(name, programmordner + name + ".mdb")) {
//     entladen();   // nobody is signed in; the old dialog comes to the front
//     return;
//   }

#include <QString>

class Buchungsfenster {
 public:
  virtual ~Buchungsfenster() = default;
  // The user and the household book the dialog was loaded for.
  virtual QString buchungsbenutzer() const = 0;
  virtual QString buchungsdatei() const = 0;
  // An amount is typed that is not booked yet.
  virtual bool buchungBegonnen() const = 0;
};

// Every loaded booking dialog of another user or book than these is unloaded. One that holds an
// amount not booked yet asks first (3010/3110, with its user's name, Yes/No); at a No nothing is
// unloaded, that dialog comes to the front once the calling dialog has gone, and the result is
// false: the caller signs nobody in.
bool BenutzerwechselZulassen(const QString& benutzer, const QString& buchdatei);
