#pragma once
// The HTTP transfer of the update program, over QNetworkAccessManager: one GET at a time, its
// response headers, the body in chunks. Every wait runs the event loop (the window stays usable
// and no core is burnt) and ends early when unterbrechen() is called, e.g. by a cancel.

#include <QByteArray>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QEventLoop;
class QNetworkReply;

class Uebertragung : public QObject {
  Q_OBJECT

 public:
  explicit Uebertragung(QObject* parent = nullptr);
  ~Uebertragung() override;

  // No transfer moves for this long: the request fails (the transfer control's own default).
  static constexpr int Zeitlimit = 60000;
  // The version file and the news are short: a longer body fails the text request at once
  // instead of filling memory.
  static constexpr qint64 HoechsteTextlaenge = 1 << 20;

  // The body of a GET as text, waiting for the whole of it; no value when the request fails, the
  // server answers with an error status, the body is longer than HoechsteTextlaenge, or the whole
  // of it takes longer than textZeitlimit (a server that trickles cannot hold the check, which
  // runs with the window hidden, for ever).
  std::optional<QString> textHolen(const QString& adresse);
  void textZeitlimitSetzen(int millisekunden) { m_textZeitlimit = millisekunden; }

  // Starts a GET. An address that cannot be requested gives the description of the error and
  // starts nothing.
  std::optional<QString> ausfuehren(const QString& adresse, const QString& benutzer,
                                    const QString& kennwort);
  // Until the status line and headers are in, or the request ended without them.
  bool nochAktiv() const;
  // Runs the event loop until the headers are in, the request ended or the wait was interrupted.
  void aufKopfWarten();

  bool hatStatuszeile() const;
  // The status line and every header line, each ended by CR LF; "" without a status line.
  QString kopfzeilen() const;
  // One header by name; "" when the server sent none.
  QString kopfzeile(const QString& name) const;
  // The next chunk of the body of at most `groesse` bytes: a whole chunk while the body goes on,
  // the rest at its end, empty when it is exhausted, failed or the wait was interrupted.
  QByteArray naechsterBlock(qint64 groesse);
  // 0 while no error occurred.
  int fehlercode() const;
  QString fehlertext() const;

  void abbrechen();
  // Ends the current wait (cancel of the window).
  void unterbrechen();

 private:
  void warten(const std::function<bool()>& fertig);

  QNetworkAccessManager m_netz;
  QPointer<QNetworkReply> m_antwort;
  QEventLoop* m_schleife = nullptr;
  bool m_unterbrochen = false;
  bool m_beendet = false;
  bool m_kopfDa = false;
  int m_textZeitlimit = Zeitlimit;
  QElapsedTimer m_zuletztVerarbeitet;
};
