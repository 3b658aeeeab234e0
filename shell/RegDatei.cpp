#include "RegDatei.h"

#include "Sprache.h"

namespace {

// Reads a quoted text starting at `pos` (on the opening quote); returns the position after the
// closing quote, or -1. Escapes: \\ \" and, for line breaks inside values, \n \r.
qsizetype quotiertLesen(QStringView zeile, qsizetype pos, QString& aus) {
  if (pos >= zeile.size() || zeile[pos] != u'"')
    return -1;
  aus.clear();
  for (++pos; pos < zeile.size(); ++pos) {
    const QChar c = zeile[pos];
    if (c == u'"')
      return pos + 1;
    if (c == u'\\') {
      if (++pos >= zeile.size())
        return -1;
      const QChar n = zeile[pos];
      if (n == u'n')
        aus.append(u'\n');
      else if (n == u'r')
        aus.append(u'\r');
      else
        aus.append(n);
    } else {
      aus.append(c);
    }
  }
  return -1;
}

QString quotiert(const QString& text) {
  QString aus = QStringLiteral("\"");
  for (const QChar c : text) {
    if (c == u'\\' || c == u'"')
      aus.append(u'\\').append(c);
    else if (c == u'\n')
      aus.append(QStringLiteral("\\n"));
    else if (c == u'\r')
      aus.append(QStringLiteral("\\r"));
    else
      aus.append(c);
  }
  aus.append(u'"');
  return aus;
}

}  // namespace

QString RegDatei::rootName(quint32 wurzel) {
  switch (wurzel) {
    case 0x80000000u: return QStringLiteral("HKEY_CLASSES_ROOT");
    case 0x80000001u: return QStringLiteral("HKEY_CURRENT_USER");
    case 0x80000002u: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case 0x80000003u: return QStringLiteral("HKEY_USERS");
    default: return {};
  }
}

QString RegDatei::schluesselNormal(const QString& schluessel) {
  QString aus;
  aus.reserve(schluessel.size());
  for (const QChar c : schluessel) {
    if (c == u'\\' && (aus.isEmpty() || aus.back() == u'\\'))
      continue;
    aus.append(c);
  }
  while (aus.endsWith(u'\\'))
    aus.chop(1);
  return aus;
}

RegDatei::Zeile RegDatei::zeileParsen(const QString& roh) {
  Zeile z;
  z.roh = roh;
  const QStringView zeile = QStringView(roh).trimmed();
  if (zeile.size() >= 2 && zeile.front() == u'[' && zeile.back() == u']' && zeile[1] != u'-') {
    z.istSchluessel = true;
    z.schluessel = schluesselNormal(zeile.mid(1, zeile.size() - 2).toString()).toLower();
    return z;
  }
  qsizetype pos = 0;
  QString name;
  if (zeile.startsWith(u'@')) {
    pos = 1;
  } else {
    pos = quotiertLesen(zeile, 0, name);
    if (pos < 0)
      return z;
  }
  if (pos >= zeile.size() || zeile[pos] != u'=')
    return z;
  const QStringView daten = zeile.mid(pos + 1);
  if (daten.startsWith(u'"')) {
    QString text;
    if (quotiertLesen(daten, 0, text) != daten.size())
      return z;
    z.wert.typ = RegWert::Typ::Text;
    z.wert.text = text;
  } else if (daten.startsWith(u"dword:", Qt::CaseInsensitive)) {
    bool ok = false;
    const QStringView hex = daten.mid(6);
    const quint32 zahl = hex.size() == 8 ? hex.toUInt(&ok, 16) : 0;
    if (!ok)
      return z;
    z.wert.typ = RegWert::Typ::Zahl;
    z.wert.zahl = static_cast<qint32>(zahl);
  } else if (daten.startsWith(u"hex", Qt::CaseInsensitive)) {
    z.wert.typ = RegWert::Typ::Anderer;
  } else {
    return z;
  }
  z.istWert = true;
  z.nameSchreibung = name;
  z.name = name.toLower();
  return z;
}

QString RegDatei::wertZeile(const QString& name, const RegWert& wert) {
  const QString links = name.isEmpty() ? QStringLiteral("@") : quotiert(name);
  if (wert.typ == RegWert::Typ::Zahl)
    return links + QStringLiteral("=dword:%1").arg(static_cast<quint32>(wert.zahl), 8, 16,
                                                     QLatin1Char('0'));
  return links + u'=' + quotiert(wert.text);
}

RegDatei::Zeile RegDatei::neueZeile(const QString& text) {
  Zeile z = zeileParsen(text);
  z.bytes = text.toUtf8();
  return z;
}

RegDatei RegDatei::parsen(const QByteArray& bytes) {
  RegDatei datei;
  // Line by line, so that a line in another encoding or with stray bytes is written back byte for
  // byte as it was read.
  const QList<QByteArray> zeilen = bytes.split('\n');
  for (qsizetype i = 0; i < zeilen.size(); ++i) {
    const QByteArray& zeile = zeilen[i];
    if (i == zeilen.size() - 1 && zeile.isEmpty())
      break;  // the final line break
    QString text = Ini::dekodieren(zeile);
    if (text.endsWith(u'\r'))
      text.chop(1);
    Zeile z = zeileParsen(text);
    z.bytes = zeile;
    datei.m_zeilen.push_back(std::move(z));
  }
  // A value line before any key line belongs to no key.
  for (auto& z : datei.m_zeilen) {
    if (z.istSchluessel)
      break;
    z.istWert = false;
  }
  return datei;
}

QByteArray RegDatei::text() const {
  QByteArray aus;
  for (const auto& z : m_zeilen)
    aus.append(z.bytes).append('\n');
  return aus;
}

std::optional<RegWert> RegDatei::wert(const QString& schluessel, const QString& name) const {
  const QString k = schluesselNormal(schluessel).toLower();
  const QString n = name.toLower();
  bool drin = false;
  for (const auto& z : m_zeilen) {
    if (z.istSchluessel)
      drin = z.schluessel == k;
    else if (drin && z.istWert && z.name == n)
      return z.wert;
  }
  return std::nullopt;
}

void RegDatei::setzen(const QString& schluessel, const QString& name, const RegWert& wert) {
  const QString normal = schluesselNormal(schluessel);
  const QString k = normal.toLower();
  const QString n = name.toLower();
  Zeile neu = neueZeile(wertZeile(name, wert));
  bool drin = false;
  qsizetype einfuegen = -1;
  for (qsizetype i = 0; i < static_cast<qsizetype>(m_zeilen.size()); ++i) {
    auto& z = m_zeilen[i];
    if (z.istSchluessel) {
      drin = z.schluessel == k;
      if (drin && einfuegen < 0)
        einfuegen = i + 1;
    } else if (drin) {
      if (z.istWert && z.name == n) {
        // The registry keeps a value's name as first written.
        z = neueZeile(wertZeile(z.nameSchreibung, wert));
        return;
      }
      if (einfuegen >= 0 && !QStringView(z.roh).trimmed().isEmpty() && einfuegen <= i)
        einfuegen = i + 1;
    }
  }
  if (einfuegen >= 0) {
    m_zeilen.insert(m_zeilen.begin() + einfuegen, neu);
    return;
  }
  if (m_zeilen.empty()) {
    m_zeilen.push_back(neueZeile(QStringLiteral("REGEDIT4")));
  }
  if (!QStringView(m_zeilen.back().roh).trimmed().isEmpty())
    m_zeilen.push_back(neueZeile(QString()));
  m_zeilen.push_back(neueZeile(u'[' + normal + u']'));
  m_zeilen.push_back(neu);
}

bool RegDatei::entfernen(const QString& schluessel, const QString& name) {
  const QString k = schluesselNormal(schluessel).toLower();
  const QString n = name.toLower();
  const auto anzahl = [this] { return static_cast<qsizetype>(m_zeilen.size()); };
  bool drin = false;
  qsizetype kopf = -1;
  qsizetype treffer = -1;
  for (qsizetype i = 0; i < anzahl() && treffer < 0; ++i) {
    const auto& z = m_zeilen[i];
    if (z.istSchluessel) {
      drin = z.schluessel == k;
      if (drin)
        kopf = i;
    } else if (drin && z.istWert && z.name == n) {
      treffer = i;
    }
  }
  if (treffer < 0)
    return false;
  m_zeilen.erase(m_zeilen.begin() + treffer);
  // A block left with blank lines only goes, with the blank line that setzen put before it.
  qsizetype ende = kopf + 1;
  while (ende < anzahl() && !m_zeilen[ende].istSchluessel) {
    if (!QStringView(m_zeilen[ende].roh).trimmed().isEmpty())
      return true;
    ++ende;
  }
  qsizetype anfang = kopf;
  if (anfang > 0 && QStringView(m_zeilen[anfang - 1].roh).trimmed().isEmpty())
    --anfang;
  // Before another key the blank lines stay as its separator; at the end of the file they go.
  if (ende < anzahl())
    ende = kopf + 1;
  m_zeilen.erase(m_zeilen.begin() + anfang, m_zeilen.begin() + ende);
  return true;
}
