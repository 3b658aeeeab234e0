#include "Antwortkopf.h"

Antwortkopf Antwortkopf::lesen(const QString& kopf, const QString& inhaltslaenge) {
  Antwortkopf a;
  // The status code stands at characters 10 to 12 of the first line.
  const QString status = kopf.mid(9, 3);
  if (kopf.isEmpty() || status == u"\r\n") {
    a.art = Art::OhneStatus;
  } else if (status == u"200") {
    a.art = Art::Ok;
    bool ok = false;
    const qint64 wert = inhaltslaenge.trimmed().toLongLong(&ok);
    a.laenge = ok && wert > 0 ? wert : 0;
    // In whole numbers: through a double, lengths beyond 2^53 bytes came out a kilobyte off.
    a.kilobyte = a.laenge / 1024;
    const qint64 rest = a.laenge % 1024;
    if (rest > 512 || (rest == 512 && a.kilobyte % 2 == 1))
      ++a.kilobyte;
  } else if (status == u"401") {
    a.art = Art::NichtBerechtigt;
  } else if (status == u"404") {
    a.art = Art::NichtGefunden;
  } else {
    a.art = Art::Andere;
    const qsizetype zeilenende = kopf.indexOf(u'\r');
    a.statuszeile = zeilenende < 0 ? kopf : kopf.left(zeilenende + 1);
  }
  return a;
}

QString Antwortkopf::text(int status, const QByteArray& grund,
                          const QList<QPair<QByteArray, QByteArray>>& zeilen) {
  QString text = QStringLiteral("HTTP/1.1 %1 %2\r\n").arg(status).arg(QString::fromLatin1(grund));
  for (const auto& [name, wert] : zeilen)
    text += QString::fromLatin1(name) + QStringLiteral(": ") + QString::fromLatin1(wert) +
            QStringLiteral("\r\n");
  return text + QStringLiteral("\r\n");
}
