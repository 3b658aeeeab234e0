#pragma once
// The window of the stand-in main program: the household book of one user, chosen among the
// users of the shared data file (the default user of the settings first; under the sign-in with
// password only with that user's password), on three pages: bookings, accounts, exchange rates.
// A book without an account opens on the accounts page and says why.

#include "Buchungsleser.h"
#include "Haushaltsbuch.h"

#include <QWidget>
#include <memory>
#include <optional>

class Buchungsseite;
class Kontenseite;
class Kursseite;
class QComboBox;
class QLabel;
class QTabWidget;

class Hauptfenster : public QWidget {
  Q_OBJECT

 public:
  explicit Hauptfenster(const QString& programmordner);
  ~Hauptfenster() override;

  // Opens the book of `name` as the user's choice does: under the sign-in with password only
  // after the right password. False when no book is open afterwards.
  bool benutzerWaehlen(const QString& name);
  // The users again and everything of the open book (F5, "Aktualisieren").
  void aktualisieren();

  const QString& offenerBenutzer() const { return m_offenerBenutzer; }
  Buchungsseite* buchungsseite() const { return m_buchungen; }
  Kontenseite* kontenseite() const { return m_konten; }
  Kursseite* kursseite() const { return m_kurse; }
  QTabWidget* seiten() const { return m_seiten; }

 protected:
  bool event(QEvent* ereignis) override;

 private:
  void benutzerLaden();
  bool kennwortRichtig(const QString& name);
  void allesLaden();
  void hinweisSetzen();
  // Marks of the two files, to see on activation whether another program changed them.
  void staendeMerken();
  bool fremdGeaendert();

  QString m_ordner;
  Haushaltsbuch m_buch;
  std::unique_ptr<Buchungsleser> m_leser;
  std::unique_ptr<Buchungsleser> m_datenLeser;
  QString m_offenerBenutzer;
  std::optional<qint64> m_stand[2];

  QComboBox* m_benutzer;
  QLabel* m_hinweis;
  QTabWidget* m_seiten;
  Buchungsseite* m_buchungen;
  Kontenseite* m_konten;
  Kursseite* m_kurse;
};
