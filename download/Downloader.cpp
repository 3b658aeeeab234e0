#include "Downloader.h"

#include "AboutBox.h"
#include "Codepage1252.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace {

constexpr int TwipsJePixel = 15;
constexpr int TwipsInPixel(int twips) {
  return twips / TwipsJePixel;
}

QVariant ungueltig() {
  return QVariant(QStringLiteral("<invalid address>"));
}

// One pass of the wait: runs every pending event of the thread, and sleeps in the event loop
// when there is none, until an event arrives or shortly after the deadline. The short cap keeps
// the wait honest should a wake-up get lost; it costs nothing worth measuring.
void nachrichtenVerarbeiten(qint64 restNanosekunden) {
  QTimer wecker;
  wecker.setSingleShot(true);
  wecker.setTimerType(Qt::PreciseTimer);
  wecker.start(int(std::clamp<qint64>(restNanosekunden / 1000000 + 1, 0, 50)));
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

}  // namespace

Downloader::Downloader(QWidget* parent) : QWidget(parent), netz(new QNetworkAccessManager(this)) {
  bild = AboutBox::logo();
  setFixedSize(festeGroesse());
}

Downloader::~Downloader() {
  // The read may still be outstanding after a time-out; its signals must not reach a half
  // destroyed widget.
  if (antwort) {
    antwort->disconnect(this);
    delete antwort;
  }
}

QSize Downloader::festeGroesse() {
  return {TwipsInPixel(BreiteTwips), TwipsInPixel(HoeheTwips)};
}

QSize Downloader::sizeHint() const {
  return festeGroesse();
}

QSize Downloader::minimumSizeHint() const {
  return sizeHint();
}

QVariant Downloader::DownloadText(QString& URL) {
  qint16 timeout = StandardTimeoutSeconds;
  return DownloadText(URL, timeout);
}

QVariant Downloader::DownloadText(QString& URL, qint16& TimeoutSeconds) {
  if (Busy)
    return QVariant();
  if (!URL.startsWith(QLatin1String("http://"), Qt::CaseSensitive))
    return ungueltig();

  Busy = true;
  lesenStarten(URL);
  QElapsedTimer uhr;
  uhr.start();

  // The host's handlers run inside this loop and may delete the widget.
  const QPointer<Downloader> selbst(this);
  for (;;) {
    // TimeoutSeconds is the host's variable: read it on every pass, as a handler may change it.
    nachrichtenVerarbeiten(qint64(TimeoutSeconds) * 1000000000 - uhr.nsecsElapsed());
    if (!selbst)
      return ungueltig();
    if (uhr.nsecsElapsed() > qint64(TimeoutSeconds) * 1000000000)
      return ungueltig();
    if (Busy)
      continue;
    return ReceivedText.isEmpty() ? ungueltig() : QVariant(ReceivedText);
  }
}

void Downloader::lesenStarten(const QString& URL) {
  // The previous read has completed; its reply only waited for a deferred delete.
  delete antwort;
  empfangen.clear();
  zuGross = false;

  // Always from the server: no cache of ours, and none on the way may answer.
  QNetworkRequest anfrage{QUrl(URL)};
  anfrage.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  anfrage.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  anfrage.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  anfrage.setRawHeader("Cache-Control", "no-cache");
  anfrage.setRawHeader("Pragma", "no-cache");

  QNetworkReply* r = netz->get(anfrage);
  antwort = r;
  connect(r, &QNetworkReply::metaDataChanged, this, [this, r] {
    if (r != antwort)
      return;
    const QVariant laenge = r->header(QNetworkRequest::ContentLengthHeader);
    if (laenge.isValid() && laenge.toLongLong() > HoechsteLaenge) {
      zuGross = true;
      r->abort();
    } else if (laenge.isValid() && laenge.toLongLong() > empfangen.capacity()) {
      // Room for the announced body at once, instead of growing (and copying) it chunk by chunk.
      empfangen.reserve(laenge.toLongLong());
    }
  });
  connect(r, &QNetworkReply::readyRead, this, [this, r] {
    if (r == antwort)
      datenAngekommen();
  });
  connect(r, &QNetworkReply::finished, this, [this, r] {
    if (r == antwort && Busy)
      lesenFertig();
  });
  // Should the reply have finished before the connections stood, it would never report.
  if (r->isFinished())
    lesenFertig();
}

void Downloader::datenAngekommen() {
  if (zuGross)
    return;
  const QByteArray teil = antwort->readAll();
  if (empfangen.size() + teil.size() > HoechsteLaenge) {
    zuGross = true;
    empfangen.clear();
    antwort->abort();
    return;
  }
  empfangen += teil;
}

void Downloader::lesenFertig() {
  datenAngekommen();
  // A failed read leaves an empty text, whatever arrived before the failure (an error page, a
  // body cut short).
  const bool gelungen = antwort->error() == QNetworkReply::NoError && !zuGross;
  ReceivedText = gelungen ? Codepage1252::dekodieren(empfangen) : QString();
  empfangen = QByteArray();
  Busy = false;
  antwort->deleteLater();
}

void Downloader::ShowAboutBox() {
  // The host may delete this widget, and with it the box, while the box is open.
  QPointer<AboutBox> box = new AboutBox(this);
  box->exec();
  delete box;
}

void Downloader::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  bild = AboutBox::logo();
  setFixedSize(festeGroesse());
}

void Downloader::paintEvent(QPaintEvent*) {
  QPainter maler(this);
  maler.drawPixmap(0, 0, bild);
}
