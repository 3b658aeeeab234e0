#include "Sprache.h"

#include "Codepage1252.h"

#include <sys/stat.h>
#include <QFile>
#include <QElapsedTimer>
#include <QMutex>
#include <QStringDecoder>
#include <algorithm>

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
  QByteArray dateiname;  // the path as the system takes it, made once per file
  qint64 geprueftMs = -1;  // when the file on disk was last looked at (monotonic)
};

// A file is looked at on disk at most this often: a lookup costs a hash access, a look at the
// disk a thousand times more, and a dialog asks for dozens of texts at once. A file changed on
// disk is read again within this time.
constexpr qint64 PruefAbstandMs = 50;

qint64 jetztMs() {
  static QElapsedTimer uhr;
  if (!uhr.isValid())
    uhr.start();
  return uhr.elapsed();
}

QMutex cacheSperre;
QHash<QString, Eintrag> cache;
// Section names as callers spell them ("Sprache") -> as the cache holds them ("sprache").
QHash<QString, QString> abschnittsnamen;

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
Eintrag kennung(const QByteArray& dateiname) {
  Eintrag e;
  struct stat st {};
  if (::stat(dateiname.constData(), &st) != 0)
    return e;
  e.vorhanden = true;
  e.groesse = st.st_size;
  e.mtimeNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  e.inode = static_cast<qint64>(st.st_ino);
  return e;
}

// A section or key name as the cache holds it: trimmed and in lower case. Names are mostly so
// already (numbers, "sprache"); then they are used as they are, without a copy.
QString name(const QString& n) {
  const bool getrimmt = n.isEmpty() || (!n.front().isSpace() && !n.back().isSpace());
  if (getrimmt && std::none_of(n.cbegin(), n.cend(), [](QChar c) { return c.isUpper(); }))
    return n;
  return n.trimmed().toLower();
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
  QMutexLocker sperre(&cacheSperre);
  Eintrag& e = cache[Datei];
  if (e.dateiname.isEmpty())
    e.dateiname = QFile::encodeName(Datei);
  const qint64 ms = jetztMs();
  const bool pruefen = e.geprueftMs < 0 || ms - e.geprueftMs >= PruefAbstandMs;
  const Eintrag jetzt = pruefen ? kennung(e.dateiname) : Eintrag{};
  if (pruefen)
    e.geprueftMs = ms;
  if (pruefen && (e.vorhanden != jetzt.vorhanden || e.groesse != jetzt.groesse || e.mtimeNs != jetzt.mtimeNs ||
      e.inode != jetzt.inode)) {
    e.vorhanden = jetzt.vorhanden;
    e.groesse = jetzt.groesse;
    e.mtimeNs = jetzt.mtimeNs;
    e.inode = jetzt.inode;
    e.inhalt.clear();
    if (e.vorhanden) {
      QFile f(Datei);
      if (f.open(QIODevice::ReadOnly))
        e.inhalt = parsen(dekodieren(f.readAll()));
    }
  }
  auto bekannt = abschnittsnamen.constFind(Abschnitt);
  if (bekannt == abschnittsnamen.cend())
    bekannt = abschnittsnamen.insert(Abschnitt, name(Abschnitt));
  const auto abschnitt = e.inhalt.constFind(*bekannt);
  if (abschnitt == e.inhalt.cend())
    return {};
  return abschnitt->value(name(Schluessel));
}
