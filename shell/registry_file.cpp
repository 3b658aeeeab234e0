// Settings store for platforms without a registry: one per-user file in registry export format.
// Reads take no lock: the file is only ever replaced whole, so a reader sees the old or the new
// file. Writes are read-modify-write under a lock file.

#include "Dateischreiben.h"
#include "RegDatei.h"
#include "Registry.h"
#include "Werte.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <memory>

namespace Registry {

QString dateipfad() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Quillon/Velmark.reg");
}

namespace {

// The lock file and how often this process holds it.
QLockFile* sperrDatei = nullptr;
int sperrTiefe = 0;

qint32 sperren() {
  if (sperrTiefe > 0) {
    ++sperrTiefe;
    return 0;
  }
  const QString pfad = dateipfad();
  if (!QDir().mkpath(QFileInfo(pfad).absolutePath()))
    return FehlerZugriff;
  auto sperre = std::make_unique<QLockFile>(pfad + QStringLiteral(".lock"));
  // Holders keep the lock for milliseconds. A writer killed before it wrote its process number
  // into the lock file leaves one that only its age tells as stale.
  sperre->setStaleLockTime(5000);
  if (!sperre->tryLock(10000))
    return sperre->error() == QLockFile::LockFailedError ? FehlerGesperrt : FehlerZugriff;
  sperrDatei = sperre.release();
  sperrTiefe = 1;
  return 0;
}

void entsperren() {
  if (sperrTiefe > 0 && --sperrTiefe == 0) {
    delete sperrDatei;
    sperrDatei = nullptr;
  }
}

}  // namespace

Sperre::Sperre() : m_gesperrt(sperren() == 0) {}

Sperre::~Sperre() {
  if (m_gesperrt)
    entsperren();
}

}  // namespace Registry


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
    case RegWert::Typ::Text: return wert->text;
    case RegWert::Typ::Zahl: return QVariant::fromValue<qint32>(wert->zahl);
    default: return {};
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
  if (const qint32 status = Registry::sperren(); status != 0)
    return status;
  const auto freigeben = qScopeGuard([] { Registry::entsperren(); });
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
    return QFileInfo(QFileInfo(pfad).absolutePath()).isWritable() ? Registry::FehlerSchreiben
                                                                   : Registry::FehlerZugriff;
  return 0;
}

qint32 RegistryLoeschen(quint32 Wurzel, const QString& Schluessel, const QString& Wertname) {
  const QString root = RegDatei::rootName(Wurzel);
  if (root.isEmpty())
    return 6;  // invalid handle
  const QString pfad = Registry::dateipfad();
  if (!QFileInfo::exists(pfad))
    return 0;
  if (const qint32 status = Registry::sperren(); status != 0)
    return status;
  const auto freigeben = qScopeGuard([] { Registry::entsperren(); });
  QFile alt(pfad);
  if (!alt.open(QIODevice::ReadOnly))
    return Registry::FehlerZugriff;
  RegDatei datei = RegDatei::parsen(alt.readAll());
  alt.close();
  if (!datei.entfernen(root + u'\\' + Schluessel, Wertname))
    return 0;
  if (!dateiSchreiben(pfad, datei.text()))
    return QFileInfo(QFileInfo(pfad).absolutePath()).isWritable() ? Registry::FehlerSchreiben
                                                                  : Registry::FehlerZugriff;
  return 0;
}
