#include "Uebertragung.h"

#include "Antwortkopf.h"
#include "Sprache.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

QNetworkRequest anfrage(const QUrl& adresse) {
  QNetworkRequest r(adresse);
  r.setTransferTimeout(Uebertragung::Zeitlimit);
  // The length the server announces must be the length of the bytes that arrive.
  r.setRawHeader("Accept-Encoding", "identity");
  r.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  return r;
}

std::optional<QString> adressfehler(const QUrl& url, const QString& adresse) {
  const QString schema = url.scheme().toLower();
  if (!url.isValid() || url.host().isEmpty() || (schema != u"http" && schema != u"https"))
    return QStringLiteral("ungültige Adresse „%1“").arg(adresse);
  return std::nullopt;
}

}  // namespace

Uebertragung::Uebertragung(QObject* parent) : QObject(parent) {}

Uebertragung::~Uebertragung() {
  abbrechen();
}

void Uebertragung::warten(const std::function<bool()>& fertig) {
  while (!fertig() && !m_unterbrochen) {
    QEventLoop schleife;
    m_schleife = &schleife;
    if (m_antwort) {
      connect(m_antwort, &QNetworkReply::readyRead, &schleife, &QEventLoop::quit);
      connect(m_antwort, &QNetworkReply::metaDataChanged, &schleife, &QEventLoop::quit);
      connect(m_antwort, &QNetworkReply::finished, &schleife, &QEventLoop::quit);
      connect(m_antwort, &QObject::destroyed, &schleife, &QEventLoop::quit);
    }
    // Signals come only from the event loop, so none slips in between this check and exec().
    if (!fertig() && !m_unterbrochen)
      schleife.exec();
    m_schleife = nullptr;
  }
}

void Uebertragung::unterbrechen() {
  m_unterbrochen = true;
  if (m_schleife)
    m_schleife->quit();
}

std::optional<QString> Uebertragung::ausfuehren(const QString& adresse, const QString& benutzer,
                                                const QString& kennwort) {
  abbrechen();
  m_beendet = false;
  m_kopfDa = false;
  m_unterbrochen = false;
  QUrl url(adresse);
  if (auto fehler = adressfehler(url, adresse)) {
    m_beendet = true;
    return fehler;
  }
  if (!benutzer.isEmpty())
    url.setUserName(benutzer);
  if (!kennwort.isEmpty())
    url.setPassword(kennwort);
  QNetworkReply* antwort = m_netz.get(anfrage(url));
  m_antwort = antwort;
  // A body larger than this waits in the socket until it is read.
  antwort->setReadBufferSize(1 << 20);
  connect(antwort, &QNetworkReply::metaDataChanged, this, [this, antwort] {
    if (antwort != m_antwort)
      return;
    const QVariant status = antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // A redirect is followed, so it is no answer yet; when the transfer refuses to follow, the
    // request ends with the redirect as its answer.
    const bool umleitung = status.toInt() / 100 == 3 && antwort->hasRawHeader("Location");
    if (status.isValid() && !umleitung)
      m_kopfDa = true;
  });
  connect(antwort, &QNetworkReply::finished, this, [this, antwort] {
    if (antwort != m_antwort)
      return;
    m_beendet = true;
    if (antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
      m_kopfDa = true;
  });
  return std::nullopt;
}

bool Uebertragung::nochAktiv() const {
  return m_antwort && !m_kopfDa && !m_beendet;
}

void Uebertragung::aufKopfWarten() {
  warten([this] { return !nochAktiv(); });
}

bool Uebertragung::hatStatuszeile() const {
  return m_antwort && m_antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid();
}

QString Uebertragung::kopfzeilen() const {
  if (!hatStatuszeile())
    return {};
  return Antwortkopf::text(
      m_antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
      m_antwort->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray(),
      m_antwort->rawHeaderPairs());
}

QString Uebertragung::kopfzeile(const QString& name) const {
  if (!m_antwort)
    return {};
  return QString::fromLatin1(m_antwort->rawHeader(name.toLatin1()));
}

QByteArray Uebertragung::naechsterBlock(qint64 groesse) {
  if (!m_antwort)
    return {};
  // While the data flows in faster than it is read no wait runs the event loop; the window's
  // events are then processed now and then, so that the window shows the progress and the cancel
  // button works, without a repaint for every chunk.
  if (!m_zuletztVerarbeitet.isValid() || m_zuletztVerarbeitet.hasExpired(20)) {
    QCoreApplication::processEvents();
    m_zuletztVerarbeitet.start();
  }
  warten([this, groesse] {
    return !m_antwort || m_antwort->bytesAvailable() >= groesse || m_antwort->isFinished();
  });
  if (!m_antwort || m_unterbrochen)
    return {};
  return m_antwort->read(groesse);
}

int Uebertragung::fehlercode() const {
  return m_antwort ? static_cast<int>(m_antwort->error()) : 0;
}

QString Uebertragung::fehlertext() const {
  return m_antwort ? m_antwort->errorString() : QString();
}

void Uebertragung::abbrechen() {
  if (!m_antwort)
    return;
  QNetworkReply* antwort = m_antwort;
  m_antwort = nullptr;
  antwort->disconnect(this);
  antwort->abort();
  antwort->deleteLater();
}

std::optional<QString> Uebertragung::textHolen(const QString& adresse) {
  if (ausfuehren(adresse, QString(), QString()))
    return std::nullopt;
  // The whole body is awaited before it is read; the buffer holds the longest text there may be.
  m_antwort->setReadBufferSize(HoechsteTextlaenge);
  bool abgelaufen = false;
  QTimer frist;
  frist.setSingleShot(true);
  connect(&frist, &QTimer::timeout, this, [this, &abgelaufen] {
    abgelaufen = true;
    if (m_schleife)
      m_schleife->quit();
  });
  frist.start(m_textZeitlimit);
  const auto zuLang = [this] {
    return !m_antwort->isFinished() && m_antwort->bytesAvailable() >= HoechsteTextlaenge;
  };
  warten([&] { return !m_antwort || m_antwort->isFinished() || abgelaufen || zuLang(); });
  if (!m_antwort || m_unterbrochen || abgelaufen || zuLang()) {
    abbrechen();
    return std::nullopt;
  }
  const QVariant status = m_antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  // An error page is no version text and no news.
  if (m_antwort->error() != QNetworkReply::NoError || !status.isValid() || status.toInt() >= 400)
    return std::nullopt;
  const QByteArray body = m_antwort->readAll();
  abbrechen();
  return Ini::dekodieren(body);
}
