#include "UpdateVersion.h"

#include "Dateischreiben.h"
#include "Sprache.h"

#include <QFile>
#include <QRegularExpression>

bool istNeuer(const QString& neueVersion, const QString& alteVersion) {
  return QString::compare(neueVersion, alteVersion, Qt::CaseSensitive) > 0;
}

QString Versionstext(const QString& text) {
  return text.trimmed();
}

std::optional<QString> NeuigkeitenAuszug(const QString& neuigkeiten, const QString& alteVersion) {
  const qsizetype p = neuigkeiten.indexOf(alteVersion, 0, Qt::CaseSensitive) + 1;
  const qsizetype laenge = p - 9;
  if (laenge < 0)
    return std::nullopt;
  return neuigkeiten.left(laenge);
}

QString versionsdateiLesen(const QString& pfad) {
  QFile datei(pfad);
  if (!datei.open(QIODevice::ReadOnly))
    return {};
  const QString text = Versionstext(Ini::dekodieren(datei.readAll()));
  const qsizetype ende = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
  return Versionstext(ende < 0 ? text : text.left(ende));
}

bool versionsdateiSchreiben(const QString& pfad, const QString& version, QString* fehler) {
  return dateiSchreiben(pfad, (Versionstext(version) + QStringLiteral("\r\n")).toUtf8(), fehler);
}
