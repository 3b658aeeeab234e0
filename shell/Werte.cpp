#include "Werte.h"

#include <QRegularExpression>
#include <charconv>
#include <cmath>
#include <string>

namespace Werte {
namespace {

bool istZiffer(QChar c) { return c >= u'0' && c <= u'9'; }

// A finite value as decimal digits with the exponent of the first digit: 15 significant digits,
// correctly rounded from the binary value, so 2.675 is seen as 2.67500000000000.
struct Dezimal {
  bool negativ = false;
  std::string ziffern;  // no leading zeros unless the value is 0
  int exponent = 0;     // place value of ziffern[0] is 10^exponent
};

Dezimal zerlegen(double wert, int signifikant) {
  Dezimal d;
  d.negativ = std::signbit(wert);
  char puffer[64];
  auto [ende, fehler] = std::to_chars(puffer, puffer + sizeof puffer, std::fabs(wert),
                                      std::chars_format::scientific, signifikant - 1);
  (void)fehler;
  std::string s(puffer, ende);
  const auto e = s.find('e');
  d.ziffern.push_back(s[0]);
  if (e > 2)
    d.ziffern.append(s, 2, e - 2);
  d.exponent = std::stoi(s.substr(e + 1));
  if (wert == 0) {
    d.negativ = false;
    d.exponent = 0;
  }
  return d;
}

// Rounds to `stellen` decimals, half away from zero, on the decimal form.
Dezimal runden(Dezimal d, int stellen) {
  const int behalten = d.exponent + stellen + 1;  // digits with place >= 10^-stellen
  if (behalten <= 0) {
    const bool aufrunden = behalten == 0 && d.ziffern[0] >= '5';
    d.ziffern.assign(1, aufrunden ? '1' : '0');
    d.exponent = aufrunden ? -stellen : 0;
  } else if (behalten < static_cast<int>(d.ziffern.size())) {
    const bool aufrunden = d.ziffern[behalten] >= '5';
    d.ziffern.resize(behalten);
    if (aufrunden) {
      int i = behalten - 1;
      while (i >= 0 && d.ziffern[i] == '9')
        d.ziffern[i--] = '0';
      if (i >= 0) {
        ++d.ziffern[i];
      } else {
        d.ziffern.insert(d.ziffern.begin(), '1');
        ++d.exponent;
      }
    }
  }
  if (d.ziffern.find_first_not_of('0') == std::string::npos)
    d.negativ = false;
  return d;
}

// Digit at place 10^stelle.
char zifferAn(const Dezimal& d, int stelle) {
  const int index = d.exponent - stelle;
  if (index < 0 || index >= static_cast<int>(d.ziffern.size()))
    return '0';
  return d.ziffern[index];
}

QString festkomma(double wert, int stellen, bool gruppiert, int verschiebung = 0) {
  if (!std::isfinite(wert))
    return {};
  Dezimal d = zerlegen(wert, 15);
  d.exponent += verschiebung;
  d = runden(d, stellen);
  QString ganz;
  const int oben = std::max(d.exponent, 0);
  for (int stelle = oben; stelle >= 0; --stelle) {
    ganz.append(QLatin1Char(zifferAn(d, stelle)));
  }
  // Leading zeros come from a carry-free exponent of 0 only; strip all but one.
  while (ganz.size() > 1 && ganz.front() == u'0')
    ganz.remove(0, 1);
  if (gruppiert) {
    for (int i = ganz.size() - 3; i > 0; i -= 3)
      ganz.insert(i, u'.');
  }
  QString text = d.negativ ? QStringLiteral("-") + ganz : ganz;
  if (stellen > 0) {
    text.append(u',');
    for (int stelle = -1; stelle >= -stellen; --stelle)
      text.append(QLatin1Char(zifferAn(d, stelle)));
  }
  return text;
}

// Shortest text of at most `signifikant` digits, exponent form outside the usual range.
QString kurzform(double wert, int signifikant) {
  if (!std::isfinite(wert))
    return {};
  Dezimal d = zerlegen(wert, signifikant);
  while (d.ziffern.size() > 1 && d.ziffern.back() == '0')
    d.ziffern.pop_back();
  QString text = d.negativ ? QStringLiteral("-") : QString();
  if (d.exponent >= signifikant || d.exponent < -4) {
    text.append(QLatin1Char(d.ziffern[0]));
    if (d.ziffern.size() > 1) {
      text.append(u',');
      text.append(QLatin1String(d.ziffern.c_str() + 1));
    }
    text.append(d.exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+"));
    text.append(QStringLiteral("%1").arg(std::abs(d.exponent), 2, 10, QLatin1Char('0')));
    return text;
  }
  const int unten = std::min(0, d.exponent - static_cast<int>(d.ziffern.size()) + 1);
  for (int stelle = std::max(d.exponent, 0); stelle >= 0; --stelle)
    text.append(QLatin1Char(zifferAn(d, stelle)));
  if (unten < 0) {
    text.append(u',');
    for (int stelle = -1; stelle >= unten; --stelle)
      text.append(QLatin1Char(zifferAn(d, stelle)));
  }
  return text;
}

}  // namespace

std::optional<double> zahl(QStringView eingabe) {
  QStringView text = eingabe.trimmed();
  if (text.isEmpty())
    return std::nullopt;
  bool negativ = false;
  if (text.front() == u'+' || text.front() == u'-') {
    negativ = text.front() == u'-';
    text = text.mid(1);
  } else if (text.back() == u'+' || text.back() == u'-') {
    negativ = text.back() == u'-';
    text.chop(1);
  }
  std::string ascii = negativ ? "-" : "";
  qsizetype i = 0;
  int ziffern = 0;
  for (; i < text.size() && (istZiffer(text[i]) || text[i] == u'.'); ++i) {
    if (text[i] != u'.') {
      ascii.push_back(static_cast<char>(text[i].unicode()));
      ++ziffern;
    }
  }
  if (i < text.size() && text[i] == u',') {
    ascii.push_back('.');
    for (++i; i < text.size() && istZiffer(text[i]); ++i) {
      ascii.push_back(static_cast<char>(text[i].unicode()));
      ++ziffern;
    }
  }
  if (ziffern == 0)
    return std::nullopt;
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    ascii.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
      ascii.push_back(static_cast<char>(text[i++].unicode()));
    int exponentZiffern = 0;
    for (; i < text.size() && istZiffer(text[i]); ++i, ++exponentZiffern)
      ascii.push_back(static_cast<char>(text[i].unicode()));
    if (exponentZiffern == 0)
      return std::nullopt;
  }
  if (i != text.size())
    return std::nullopt;
  double wert = 0;
  auto [ende, fehler] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), wert);
  if (fehler != std::errc() || ende != ascii.data() + ascii.size() || !std::isfinite(wert))
    return std::nullopt;
  return wert;
}

std::optional<qint16> ganzzahl16(QStringView text) {
  const auto wert = zahl(text);
  if (!wert)
    return std::nullopt;
  const double gerundet = std::nearbyint(*wert);  // half to even
  if (gerundet < -32768.0 || gerundet > 32767.0)
    return std::nullopt;
  return static_cast<qint16>(gerundet);
}

QString formatieren(double wert, QStringView format) {
  if (format == u"##,##0.00" || format.compare(u"Standard", Qt::CaseInsensitive) == 0)
    return festkomma(wert, 2, true);
  if (format == u"###,##0.0")
    return festkomma(wert, 1, true);
  if (format == u"##0.0")
    return festkomma(wert, 1, false);
  if (format == u"##0.0#") {
    QString text = festkomma(wert, 2, false);
    if (text.endsWith(u'0'))
      text.chop(1);
    return text;
  }
  if (format == u"0" || format == u"#0")
    return festkomma(wert, 0, false);
  if (format == u"##0%")
    return std::isfinite(wert) ? festkomma(wert, 0, false, 2) + u'%' : QString();
  if (format == Datumsformat) {
    if (!std::isfinite(wert) || std::fabs(wert) > 3e6)
      return {};
    return datumText(QDate(1899, 12, 30).addDays(static_cast<qint64>(std::floor(wert))));
  }
  return allgemein(wert);
}

QString formatieren(const QString& text, QStringView format) {
  if (format == Datumsformat) {
    const auto d = datum(text);
    return d ? datumText(*d) : text;
  }
  const auto wert = zahl(text);
  return wert ? formatieren(*wert, format) : text;
}

QString allgemein(double wert) { return kurzform(wert, 15); }

QString floatText(float wert) { return kurzform(static_cast<double>(wert), 7); }

std::optional<QDate> datum(QStringView eingabe) {
  static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
  static const QRegularExpression deutsch(
      QStringLiteral("^(\\d{1,2})([./-])(\\d{1,2})\\2(\\d{4}|\\d{2})$"));
  const QString text = eingabe.trimmed().toString();
  int tag = 0, monat = 0, jahr = 0;
  if (const auto m = iso.match(text); m.hasMatch()) {
    jahr = m.capturedView(1).toInt();
    monat = m.capturedView(2).toInt();
    tag = m.capturedView(3).toInt();
  } else if (const auto m2 = deutsch.match(text); m2.hasMatch()) {
    tag = m2.capturedView(1).toInt();
    monat = m2.capturedView(3).toInt();
    const QStringView j = m2.capturedView(4);
    jahr = j.toInt();
    if (j.size() == 2)
      jahr += jahr < 30 ? 2000 : 1900;  // the usual two-digit window
  } else {
    return std::nullopt;
  }
  if (jahr < 100 || !QDate::isValid(jahr, monat, tag))
    return std::nullopt;
  return QDate(jahr, monat, tag);
}

QString datumText(const QDate& d) {
  if (!d.isValid())
    return {};
  return QString::asprintf("%02d.%02d.%04d", d.day(), d.month(), d.year());
}

QString alsText(const QVariant& wert) {
  switch (wert.typeId()) {
    case QMetaType::Double:
      return allgemein(wert.toDouble());
    case QMetaType::Float:
      return floatText(wert.toFloat());
    case QMetaType::Bool:
      return wert.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case QMetaType::QDate:
      return datumText(wert.toDate());
    default:
      return wert.toString();
  }
}

}  // namespace Werte
