#include "Dateischreiben.h"

#include <QSaveFile>

bool dateiSchreiben(const QString& pfad, const QByteArray& inhalt, QString* fehler) {
  QSaveFile datei(pfad);
  // Unbuffered, so that a short write (disk full, file size limit) shows in write()'s count;
  // through the buffer a short flush would go unnoticed and a cut file be committed.
  if (!datei.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    if (fehler)
      *fehler = datei.errorString();
    return false;
  }
  if (datei.write(inhalt) != inhalt.size()) {
    if (fehler)
      *fehler = datei.errorString();
    datei.cancelWriting();
    return false;
  }
  if (!datei.commit()) {
    if (fehler)
      *fehler = datei.errorString();
    return false;
  }
  return true;
}
