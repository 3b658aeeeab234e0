#pragma once
// After every stored booking the booking dialog tells the tray, which confirms it in a
// notification and offers to take the session's last booking back. The shell does not know the
// data layer: the dialog hands over what the booking needs to be taken back as a function.
//
//   // in the dialog, once BuchungSpeichern has stored the booking:
//   Buchungsmelder::instanz().melden({text, [beleg] { return zuruecknehmen(beleg); }});
//   // in the tray:
//   connect(&Buchungsmelder::instanz(), &Buchungsmelder::gebucht, this, ...);

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct Ruecknahme {
  enum class Status {
    Zurueckgenommen,
    Veraendert,     // changed or deleted since it was stored: nothing removed
    NichtMoeglich,  // the file refused: nothing removed, grund says why
  };
  Status status = Status::NichtMoeglich;
  QString grund;
};

struct Buchungsmeldung {
  QString text;  // "Ausgabe 12,34 EUR · Lebensmittel gebucht"
  std::function<Ruecknahme()> zuruecknehmen;
};

class Buchungsmelder : public QObject {
  Q_OBJECT

 public:
  static Buchungsmelder& instanz();

  // The booking stored last in this session, replacing the one before.
  void melden(Buchungsmeldung meldung);
  const std::optional<Buchungsmeldung>& letzte() const { return m_letzte; }
  // Nothing left to take back (taken back, or changed by another program).
  void vergessen();

  // What the tray put into notifications, for tests: the texts, in order.
  const QStringList& benachrichtigungen() const { return m_benachrichtigungen; }
  void benachrichtigt(const QString& text) { m_benachrichtigungen.append(text); }
  void allesVergessen();

 signals:
  // A booking was stored (and is the last one now).
  void gebucht();
  // letzte() has changed: a new booking, or nothing left to take back.
  void letzteGeaendert();

 private:
  std::optional<Buchungsmeldung> m_letzte;
  QStringList m_benachrichtigungen;
};

// The text of the confirmation: text 3050 with the kind, the amount through "##,##0.00", the
// currency and the category.
QString Buchungstext(const QString& art, const QString& betrag, const QString& waehrung,
                     const QString& kategorie);
