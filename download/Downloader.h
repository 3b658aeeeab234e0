#pragma once
// Downloader: a fixed-size widget that a host places on its window to fetch the body of an
// http:// address as text. DownloadText blocks its caller but keeps the host's event loop
// running while it waits, so the host's own handlers (and the read's completion) run inside it.
// The widget raises no events.

#include "download_export.h"

#include <QByteArray>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

class QNetworkAccessManager;
class QNetworkReply;

class DOWNLOAD_EXPORT Downloader : public QWidget {
  Q_OBJECT
  // Literals, because moc reads them; DownloadKennung.h holds the same values.
  Q_CLASSINFO("ClassID", "{1E698375-7944-41D5-A98D-B13E2C27B679}")
  Q_CLASSINFO("InterfaceID", "{8386EA61-06E4-4C9E-B1AE-4F793FB7381F}")
  Q_CLASSINFO("EventsID", "{C7A0F19B-FF8A-4276-9523-F81DF70E8B2E}")
  Q_CLASSINFO("TypeLibID", "{935E8A22-FD51-4269-ADE8-7B786A175B62}")
  Q_CLASSINFO("Version", "1.0")
  Q_CLASSINFO("ToSuperClass", "Downloader")

 public:
  // The fixed size in twips, whatever size the host or a designer asks for.
  static constexpr int BreiteTwips = 2055;
  static constexpr int HoeheTwips = 705;
  static constexpr qint16 StandardTimeoutSeconds = 10;
  // A body larger than this stops the read, which then counts as failed ("<invalid address>"),
  // so that a hostile server cannot exhaust the host's memory.
  static constexpr qint64 HoechsteLaenge = qint64(64) * 1024 * 1024;

  // The fixed size in logical pixels (15 twips each).
  static QSize festeGroesse();

  explicit Downloader(QWidget* parent = nullptr);
  ~Downloader() override;

  // No value (an invalid QVariant) while a read of this instance is outstanding; the text
  // "<invalid address>" when URL does not begin with "http://", the time-out passed, the read
  // failed or the body was empty; otherwise the body, one character per byte (Windows-1252).
  // A time-out does not cancel the read: until it completes, further calls give no value.
  QVariant DownloadText(QString& URL, qint16& TimeoutSeconds);
  QVariant DownloadText(QString& URL);

  // Shows the About box modally; each call builds a fresh one and deletes it afterwards.
  void ShowAboutBox();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void lesenStarten(const QString& URL);
  void datenAngekommen();
  void lesenFertig();

  QString ReceivedText;
  bool Busy = false;

  QPixmap bild;
  QNetworkAccessManager* netz = nullptr;
  QPointer<QNetworkReply> antwort;
  QByteArray empfangen;
  bool zuGross = false;
};
