// Settings store for platforms without a registry: one per-user file in registry export format.
// Reads take no lock: the file is only ever replaced whole, so a reader sees the old or the new
// file. Writes are read-modify-write under a lock file.

#include "Dateischreiben.h"
#include "RegDatei.h"
#include "Registry.h"
#include "Werte.h"

#include <QCursor>
#include <QDeadlineTimer>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <optional>

namespace Registry {

QString dateipfad() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Quillon/Velmark.reg");
}

namespace {

// The lock file while this process holds it, how many Sperren and writes of this process are
// inside the current operation, and how the operation's one attempt to take the lock ended.
QLockFile* sperrDatei = nullptr;
int sperrTiefe = 0;
qint32 sperrStatus = 0;

// While the lock is waited for, the event loop runs, so windows repaint and timers fire. What the
// user does meanwhile is dropped rather than handled: a second click on OK would start a second
// operation inside the first, a closed dialog would go away under it.
class Eingabesperre : public QObject {
 public:
  Eingabesperre() {
    if (auto* app = QCoreApplication::instance()) {
      app->installEventFilter(this);
      if (qobject_cast<QGuiApplication*>(app)) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_zeiger = true;
      }
    }
  }
  ~Eingabesperre() override {
    if (m_zeiger)
      QGuiApplication::restoreOverrideCursor();
  }

 protected:
  bool eventFilter(QObject*, QEvent* ereignis) override {
    switch (ereignis->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
      case QEvent::ShortcutOverride:
      case QEvent::ContextMenu:
      case QEvent::TouchBegin:
      case QEvent::TouchUpdate:
      case QEvent::TouchEnd:
      case QEvent::InputMethod:
        ereignis->accept();
        return true;
      case QEvent::Close:
        // The window manager's close box; the program's own unloads go through.
        if (!ereignis->spontaneous())
          return false;
        ereignis->ignore();
        return true;
      default:
        return false;
    }
  }

 private:
  bool m_zeiger = false;
};

bool imHauptfaden() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

// A pause between two tries: in the event loop of the main thread, else asleep.
void pause(int ms) {
  if (!imHauptfaden()) {
    QThread::msleep(ms);
    return;
  }
  QEventLoop schleife;
  QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
  schleife.exec();
}

qint32 sperreNehmen() {
  const QString pfad = dateipfad();
  if (!QDir().mkpath(QFileInfo(pfad).absolutePath()))
    return FehlerZugriff;
  auto sperre = std::make_unique<QLockFile>(pfad + QStringLiteral(".lock"));
  // Holders keep the lock for milliseconds, and a live holder's native lock keeps it from being
  // taken over. A writer killed before it wrote its process number into the lock file leaves one
  // that only its age tells as stale: younger than the wait, so that the wait gets past it.
  sperre->setStaleLockTime(Wartezeit - 1000);
  std::optional<Eingabesperre> eingaben;
  const QDeadlineTimer frist(Wartezeit);
  int ms = 10;
  while (!sperre->tryLock(0)) {
    if (sperre->error() != QLockFile::LockFailedError)
      return FehlerZugriff;
    if (frist.hasExpired())
      return FehlerGesperrt;
    if (!eingaben && imHauptfaden())
      eingaben.emplace();
    pause(int(std::min<qint64>(ms, std::max<qint64>(frist.remainingTime(), 1))));
    ms = std::min(ms * 2, 100);
  }
  sperrDatei = sperre.release();
  return 0;
}

// One operation (a Sperre, or a write outside any) takes the lock once. Everything inside it
// shares that one result: a write within a Sperre that could not get the lock fails at once,
// never waits a second time, and never writes without the lock.
qint32 sperren() {
  if (sperrTiefe++ > 0)
    return sperrStatus;
  // A write that a timer starts while the event loop runs in the wait must not go ahead
  // without the lock: until the attempt has ended, the operation counts as shut out.
  sperrStatus = FehlerGesperrt;
  sperrStatus = sperreNehmen();
  return sperrStatus;
}

void entsperren() {
  if (sperrTiefe > 0 && --sperrTiefe == 0) {
    delete sperrDatei;
    sperrDatei = nullptr;
    sperrStatus = 0;
  }
}

}  // namespace

Sperre::Sperre() : m_status(sperren()) {}

Sperre::~Sperre() {
  entsperren();
}

}  // namespace Registry

namespace {

// Why a whole-file write of the settings failed: the folder or the file cannot be written, or
// the write broke off (a full disk).
qint32 schreibfehler(const QString& pfad) {
  const QFileInfo datei(pfad);
  const bool schreibbar =
      QFileInfo(datei.absolutePath()).isWritable() && (!datei.exists() || datei.isWritable());
  return schreibbar ? Registry::FehlerSchreiben : Registry::FehlerZugriff;
}

}  // namespace

QVariant RegistryLesen(quint32 Wurzel, const QString& Schluessel, const QString& Wertname) {
  const QString root = RegDatei::rootName(Wurzel);
  if (root.isEmpty())
    return {};
  QFile datei(Registry::dateipfad());
  if (!datei.open(QIODevice::ReadOnly))
    return {};
  const auto wert = RegDatei::parsen(datei.readAll()).wert(root + u'\\' + Schluessel, Wertname);
  if (!wert)
    return {};
  switch (wert->typ) {
    case RegWert::Typ::Text:
      return wert->text;
    case RegWert::Typ::Zahl:
      return QVariant::fromValue<qint32>(wert->zahl);
    default:
      return {};
  }
}

qint32 RegistrySchreiben(quint32 Wurzel, const QString& Schluessel, const QString& Wertname,
                         const QVariant& Wert, const QVariant& AlsText) {
  const QString root = RegDatei::rootName(Wurzel);
  if (root.isEmpty())
    return 6;  // invalid handle
  RegWert neu;
  const bool alsText = AlsText.typeId() != QMetaType::Bool || AlsText.toBool();
  if (alsText) {
    neu.typ = RegWert::Typ::Text;
    neu.text = Werte::alsText(Wert);
  } else {
    const int typ = Wert.typeId();
    if (typ != QMetaType::Int && typ != QMetaType::Short)
      return -1;
    neu.typ = RegWert::Typ::Zahl;
    neu.zahl = Wert.toInt();
  }

  const QString pfad = Registry::dateipfad();
  const qint32 gesperrt = Registry::sperren();
  const auto freigeben = qScopeGuard([] { Registry::entsperren(); });
  if (gesperrt != 0)
    return gesperrt;
  QFile alt(pfad);
  QByteArray inhalt;
  if (alt.exists()) {
    if (!alt.open(QIODevice::ReadOnly))
      return Registry::FehlerZugriff;
    inhalt = alt.readAll();
    alt.close();
  }
  RegDatei datei = RegDatei::parsen(inhalt);
  datei.setzen(root + u'\\' + Schluessel, Wertname, neu);
  if (!dateiSchreiben(pfad, datei.text()))
    return schreibfehler(pfad);
  return 0;
}

qint32 RegistryLoeschen(quint32 Wurzel, const QString& Schluessel, const QString& Wertname) {
  const QString root = RegDatei::rootName(Wurzel);
  if (root.isEmpty())
    return 6;  // invalid handle
  const QString pfad = Registry::dateipfad();
  if (!QFileInfo::exists(pfad))
    return 0;
  const qint32 gesperrt = Registry::sperren();
  const auto freigeben = qScopeGuard([] { Registry::entsperren(); });
  if (gesperrt != 0)
    return gesperrt;
  QFile alt(pfad);
  if (!alt.open(QIODevice::ReadOnly))
    return Registry::FehlerZugriff;
  RegDatei datei = RegDatei::parsen(alt.readAll());
  alt.close();
  if (!datei.entfernen(root + u'\\' + Schluessel, Wertname))
    return 0;
  if (!dateiSchreiben(pfad, datei.text()))
    return schreibfehler(pfad);
  return 0;
}
