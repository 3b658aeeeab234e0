#include "Betragsausdruck.h"

#include "Werte.h"

#include <cmath>

namespace Betragsausdruck {

namespace {

class Parser {
 public:
  explicit Parser(QStringView text) : m_text(text) {}

  std::optional<double> ganz() {
    const auto wert = ausdruck();
    leerraum();
    if (!wert || m_pos != m_text.size())
      return std::nullopt;
    return wert;
  }

 private:
  std::optional<double> ausdruck() {
    auto links = term();
    while (links) {
      const char16_t op = zeichen();
      if (op != u'+' && op != u'-')
        break;
      ++m_pos;
      const auto rechts = term();
      if (!rechts)
        return std::nullopt;
      links = endlich(op == u'+' ? *links + *rechts : *links - *rechts);
    }
    return links;
  }

  std::optional<double> term() {
    auto links = faktor();
    while (links) {
      const char16_t op = zeichen();
      if (op != u'*' && op != u'/')
        break;
      ++m_pos;
      const auto rechts = faktor();
      if (!rechts || (op == u'/' && *rechts == 0))
        return std::nullopt;
      links = endlich(op == u'*' ? *links * *rechts : *links / *rechts);
    }
    return links;
  }

  std::optional<double> faktor() {
    if (++m_tiefe > Tiefengrenze)
      return std::nullopt;
    std::optional<double> wert;
    const char16_t c = zeichen();
    if (c == u'+' || c == u'-') {
      ++m_pos;
      wert = faktor();
      if (wert && c == u'-')
        wert = -*wert;
    } else if (c == u'(') {
      ++m_pos;
      wert = ausdruck();
      if (wert && zeichen() == u')')
        ++m_pos;
      else
        wert.reset();
    } else {
      wert = zahl();
    }
    --m_tiefe;
    return wert;
  }

  std::optional<double> zahl() {
    const qsizetype anfang = m_pos;
    while (m_pos < m_text.size()) {
      const char16_t c = m_text[m_pos].unicode();
      if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u','))
        break;
      ++m_pos;
    }
    if (m_pos == anfang)
      return std::nullopt;
    return Werte::zahl(m_text.sliced(anfang, m_pos - anfang));
  }

  // The next character after blanks, with the typographic signs mapped to their plain ones; 0 at
  // the end.
  char16_t zeichen() {
    leerraum();
    if (m_pos >= m_text.size())
      return 0;
    switch (const char16_t c = m_text[m_pos].unicode()) {
      case u'\u2212':
        return u'-';
      case u'\u00d7':
        return u'*';
      case u'\u00f7':
        return u'/';
      default:
        return c;
    }
  }

  void leerraum() {
    while (m_pos < m_text.size() && m_text[m_pos].isSpace())
      ++m_pos;
  }

  static std::optional<double> endlich(double wert) {
    if (!std::isfinite(wert))
      return std::nullopt;
    return wert;
  }

  QStringView m_text;
  qsizetype m_pos = 0;
  int m_tiefe = 0;
};

}  // namespace

std::optional<double> auswerten(QStringView text) {
  const auto wert = Parser(text).ganz();
  if (!wert || std::fabs(*wert) > Hoechstbetrag)
    return std::nullopt;
  return wert;
}

std::optional<QString> ersetzen(QStringView text) {
  if (Werte::zahl(text))
    return std::nullopt;
  const auto wert = auswerten(text);
  if (!wert)
    return std::nullopt;
  return Werte::formatieren(*wert, Werte::Betragsformat);
}

}  // namespace Betragsausdruck
