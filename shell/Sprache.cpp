#include "Sprache.h"

#include "Codepage1252.h"

#include <QFile>
#include <QMutex>
#include <QStringDecoder>
#include <sys/stat.h>

namespace Ini {
namespace {

// Lookup results are cut like the platform's 255-character buffer: 254 characters and the NUL.
constexpr qsizetype MaxLaenge = 254;

struct Eintrag {
  qint64 groesse = -1;
  qint64 mtimeNs = -1;
  qint64 inode = -1;
  bool vorhanden = false;
  Inhalt inhalt;
};

QMutex cacheSperre;
QHash<QString, Eintrag> cache;

QString wertAufbereiten(QStringView wert) {
  wert = wert.trimmed();
  if (wert.size() >= 2 && (wert.front() == u'"' || wert.front() == u'\'') &&
      wert.back() == wert.front())
    wert = wert.mid(1, wert.size() - 2);
  if (wert.size() > MaxLaenge) {
    qsizetype n = MaxLaenge;
    if (wert[n - 1].isHighSurrogate())
      --n;
    wert = wert.left(n);
  }
  return wert.toString();
}

// The file's identity as the cache sees it; a change of any part means "read again".
Eintrag kennung(const QString& pfad) {
  Eintrag e;
  struct stat st {};
  if (::stat(QFile::encodeName(pfad).constData(), &st) != 0)
    return e;
  e.vorhanden = true;
  e.groesse = st.st_size;
  e.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  e.inode = static_cast<qint64>(st.st_ino);
  return e;
}

}  // namespace

QString dekodieren(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError())
    text = Codepage1252::dekodieren(bytes);
  if (text.startsWith(QChar(0xFEFF)))
    text.remove(0, 1);
  return text;
}

Inhalt parsen(const QString& text) {
  Inhalt inhalt;
  QHash<QString, QString>* abschnitt = nullptr;
  for (QStringView zeile : QStringView(text).split(u'\n')) {
    zeile = zeile.trimmed();
    if (zeile.isEmpty() || zeile.front() == u';')
      continue;
    if (zeile.front() == u'[') {
      const qsizetype ende = zeile.indexOf(u']');
      if (ende < 0) {
        abschnitt = nullptr;
        continue;
      }
      abschnitt = &inhalt[zeile.mid(1, ende - 1).trimmed().toString().toLower()];
      continue;
    }
    const qsizetype gleich = zeile.indexOf(u'=');
    if (!abschnitt || gleich <= 0)
      continue;
    const QString schluessel = zeile.left(gleich).trimmed().toString().toLower();
    if (!abschnitt->contains(schluessel))
      abschnitt->insert(schluessel, wertAufbereiten(zeile.mid(gleich + 1)));
  }
  return inhalt;
}

void cacheLeeren() {
  QMutexLocker sperre(&cacheSperre);
  cache.clear();
}

}  // namespace Ini

QString SprachText(const QString& Datei, const QString& Abschnitt, const QString& Schluessel) {
  using namespace Ini;
  const Eintrag jetzt = kennung(Datei);
  QMutexLocker sperre(&cacheSperre);
  Eintrag& e = cache[Datei];
  if (e.vorhanden != jetzt.vorhanden || e.groesse != jetzt.groesse || e.mtimeNs != jetzt.mtimeNs ||
      e.inode != jetzt.inode) {
    e = jetzt;
    if (e.vorhanden) {
      QFile f(Datei);
      if (f.open(QIODevice::ReadOnly))
        e.inhalt = parsen(dekodieren(f.readAll()));
    }
  }
  const auto abschnitt = e.inhalt.constFind(Abschnitt.trimmed().toLower());
  if (abschnitt == e.inhalt.cend())
    return {};
  return abschnitt->value(Schluessel.trimmed().toLower());
}
