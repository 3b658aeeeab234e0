#include "Textvergleich.h"

#include <sqlite3.h>
#include <QString>
#include <QStringDecoder>
#include <QVarLengthArray>
#include <algorithm>
#include <vector>

namespace Textvergleich {
namespace {

// Calls f with each code point; a lone surrogate counts as a character of its own.
template <typename F>
void zeichenweise(QStringView s, F f) {
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s[i];
    if (c.isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
      f(QChar::surrogateToUcs4(c, s[i + 1]));
      ++i;
    } else {
      f(char32_t(c.unicode()));
    }
  }
}

// An ASCII character's letter for ordering (its grundform): upper case as lower case.
char16_t klein(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

// Letters for ordering: case-folded, accents removed, "ß" as "ss".
QString grundform(QStringView s) {
  const QString gefaltet = s.toString().toCaseFolded().normalized(QString::NormalizationForm_D);
  QString ergebnis;
  ergebnis.reserve(gefaltet.size());
  zeichenweise(gefaltet, [&](char32_t c) {
    const QChar::Category art = QChar::category(c);
    if (art == QChar::Mark_NonSpacing || art == QChar::Mark_SpacingCombining ||
        art == QChar::Mark_Enclosing)
      return;
    if (c == U'ß') {
      ergebnis.append(QStringLiteral("ss"));
      return;
    }
    const char32_t einzeln[] = {c};
    ergebnis.append(QString::fromUcs4(einzeln, 1));
  });
  return ergebnis;
}

// grundform works character by character (folding and decomposition know no context, and the
// marks that canonical reordering would move are dropped), so a text's letters for ordering are
// its characters' letters in a row. Those of the Latin, Greek and Cyrillic letters are worked out
// once; a sort of thousands of names then compares them where they lie, only as far as they
// agree, without a QString per comparison.
constexpr char32_t TabellenEnde = 0x0530;

const QString* grundTabelle() {
  static const std::vector<QString> tabelle = [] {
    std::vector<QString> t(TabellenEnde);
    for (char16_t c = 0; c < TabellenEnde; ++c)
      t[c] = grundform(QStringView(&c, 1));
    return t;
  }();
  return tabelle.data();
}

// The code points of a UTF-16 text; a lone surrogate is a character of its own (as zeichenweise).
class Utf16Zeichen {
 public:
  explicit Utf16Zeichen(QStringView text) : m_text(text) {}
  bool naechstes(char32_t& c) {
    if (m_i >= m_text.size())
      return false;
    const QChar z = m_text[m_i++];
    if (z.isHighSurrogate() && m_i < m_text.size() && m_text[m_i].isLowSurrogate())
      c = QChar::surrogateToUcs4(z, m_text[m_i++]);
    else
      c = z.unicode();
    return true;
  }
  bool ungueltig() const { return false; }

 private:
  QStringView m_text;
  qsizetype m_i = 0;
};

// The code points of UTF-8 as the files hold it; stops at a sequence that is no valid UTF-8.
class Utf8Zeichen {
 public:
  Utf8Zeichen(const unsigned char* text, int laenge) : m_p(text), m_ende(text + laenge) {}
  bool naechstes(char32_t& c) {
    if (m_p >= m_ende || m_ungueltig)
      return false;
    const unsigned char b = *m_p;
    if (b < 0x80) {
      c = b;
      ++m_p;
      return true;
    }
    int folge = 0;
    char32_t min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      folge = 1;
      c = b & 0x1F;
      min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      folge = 2;
      c = b & 0x0F;
      min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      folge = 3;
      c = b & 0x07;
      min = 0x10000;
    } else {
      m_ungueltig = true;
      return false;
    }
    if (m_ende - m_p <= folge) {
      m_ungueltig = true;
      return false;
    }
    for (int i = 1; i <= folge; ++i) {
      if ((m_p[i] & 0xC0) != 0x80) {
        m_ungueltig = true;
        return false;
      }
      c = (c << 6) | (m_p[i] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      m_ungueltig = true;
      return false;
    }
    m_p += folge + 1;
    return true;
  }
  bool ungueltig() const { return m_ungueltig; }

 private:
  const unsigned char* m_p;
  const unsigned char* m_ende;
  bool m_ungueltig = false;
};

// The code units of a text's grundform, one after the other.
template <class Zeichen>
class Grundfolge {
 public:
  explicit Grundfolge(Zeichen zeichen) : m_zeichen(zeichen), m_tabelle(grundTabelle()) {}

  bool naechste(char16_t& einheit) {
    while (m_i >= m_teil.size()) {
      char32_t c = 0;
      if (!m_zeichen.naechstes(c))
        return false;
      if (c < TabellenEnde) {
        m_teil = m_tabelle[c];
      } else {
        m_selten = grundform(c <= 0xFFFF ? QString(QChar(char16_t(c))) : QString::fromUcs4(&c, 1));
        m_teil = m_selten;
      }
      m_i = 0;
    }
    einheit = m_teil[m_i++].unicode();
    return true;
  }
  bool ungueltig() const { return m_zeichen.ungueltig(); }

 private:
  Zeichen m_zeichen;
  const QString* m_tabelle;
  QStringView m_teil;
  qsizetype m_i = 0;
  QString m_selten;
};

// grundform(a).compare(grundform(b)): code unit by code unit, a text that ends first is less.
template <class Zeichen>
int grundVergleichen(Grundfolge<Zeichen>& x, Grundfolge<Zeichen>& y) {
  for (;;) {
    char16_t p = 0, q = 0;
    const bool weiterA = x.naechste(p);
    const bool weiterB = y.naechste(q);
    if (!weiterA || !weiterB)
      return weiterA ? 1 : (weiterB ? -1 : 0);
    if (p != q)
      return p < q ? -1 : 1;
  }
}

std::vector<char32_t> gefalteteZeichen(QStringView s) {
  std::vector<char32_t> zeichen;
  zeichen.reserve(s.size());
  zeichenweise(s, [&](char32_t c) { zeichen.push_back(QChar::toCaseFolded(c)); });
  return zeichen;
}

// One element of a LIKE pattern: a literal character, "_" or "%".
struct Musterteil {
  enum Art { Zeichen, Eines, Beliebig } art;
  char32_t zeichen;
};

bool musterZerlegen(QStringView muster, QChar escape, std::vector<Musterteil>& teile) {
  const std::vector<char32_t> zeichen = gefalteteZeichen(muster);
  const char32_t esc = escape.isNull() ? 0 : QChar::toCaseFolded(char32_t(escape.unicode()));
  teile.reserve(zeichen.size());
  for (size_t i = 0; i < zeichen.size(); ++i) {
    const char32_t c = zeichen[i];
    if (esc && c == esc) {
      if (++i == zeichen.size())
        return false;
      teile.push_back({Musterteil::Zeichen, zeichen[i]});
    } else if (c == U'%') {
      teile.push_back({Musterteil::Beliebig, 0});
    } else if (c == U'_') {
      teile.push_back({Musterteil::Eines, 0});
    } else {
      teile.push_back({Musterteil::Zeichen, c});
    }
  }
  return true;
}

// Matching with backtracking to the last "%": linear for the patterns used here.
bool passt(const std::vector<char32_t>& text, const std::vector<Musterteil>& muster) {
  size_t t = 0, m = 0;
  size_t sternM = SIZE_MAX, sternT = 0;
  while (t < text.size()) {
    if (m < muster.size() && muster[m].art == Musterteil::Beliebig) {
      sternM = m++;
      sternT = t;
    } else if (m < muster.size() &&
               (muster[m].art == Musterteil::Eines || muster[m].zeichen == text[t])) {
      ++m;
      ++t;
    } else if (sternM != SIZE_MAX) {
      m = sternM + 1;
      t = ++sternT;
    } else {
      return false;
    }
  }
  while (m < muster.size() && muster[m].art == Musterteil::Beliebig)
    ++m;
  return m == muster.size();
}

QStringView text16(sqlite3_value* wert) {
  const void* daten = sqlite3_value_text16(wert);
  const int bytes = sqlite3_value_bytes16(wert);
  return QStringView(static_cast<const char16_t*>(daten), bytes / 2);
}

int vollstaendigVergleichen(const unsigned char* a, int laenge1, const unsigned char* b,
                            int laenge2) {
  // Decoded into buffers on the stack.
  QVarLengthArray<QChar, 256> x(laenge1);
  QVarLengthArray<QChar, 256> y(laenge2);
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QChar* xEnde =
      utf8.appendToBuffer(x.data(), QByteArrayView(reinterpret_cast<const char*>(a), laenge1));
  utf8.resetState();
  const QChar* yEnde =
      utf8.appendToBuffer(y.data(), QByteArrayView(reinterpret_cast<const char*>(b), laenge2));
  return vergleichen(QStringView(x.data(), xEnde), QStringView(y.data(), yEnde));
}

// The files hold UTF-8, compared where it lies; texts that agree in their letters, and bytes that
// are no UTF-8, take the way through QString.
int kollation(void*, int laenge1, const void* text1, int laenge2, const void* text2) {
  const auto* a = static_cast<const unsigned char*>(text1);
  const auto* b = static_cast<const unsigned char*>(text2);
  // Most pairs differ within their first letters, which are ASCII: one letter each.
  const int n = std::min(laenge1, laenge2);
  int i = 0;
  for (; i < n && (a[i] | b[i]) < 0x80; ++i) {
    const char16_t p = klein(a[i]), q = klein(b[i]);
    if (p != q)
      return p < q ? -1 : 1;
  }
  Grundfolge<Utf8Zeichen> x(Utf8Zeichen(a + i, laenge1 - i));
  Grundfolge<Utf8Zeichen> y(Utf8Zeichen(b + i, laenge2 - i));
  const int grund = grundVergleichen(x, y);
  if (grund != 0 && !x.ungueltig() && !y.ungueltig())
    return grund;
  return vollstaendigVergleichen(a, laenge1, b, laenge2);
}

// like(Muster, Text [, Escape]): SQLite passes the pattern first.
void likeFunktion(sqlite3_context* kontext, int anzahl, sqlite3_value** werte) {
  for (int i = 0; i < anzahl; ++i) {
    if (sqlite3_value_type(werte[i]) == SQLITE_NULL) {
      sqlite3_result_null(kontext);
      return;
    }
  }
  QChar escape;
  if (anzahl == 3) {
    const QString e = text16(werte[2]).toString();
    if (e.size() != 1) {
      sqlite3_result_error(kontext, "ESCAPE expression must be a single character", -1);
      return;
    }
    escape = e.front();
  }
  const QString muster = text16(werte[0]).toString();
  const QString text = text16(werte[1]).toString();
  sqlite3_result_int(kontext, wie(text, muster, escape) ? 1 : 0);
}

}  // namespace

bool gleich(QStringView a, QStringView b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString schluessel(QStringView text) {
  // Each UTF-16 unit as the case-insensitive comparison folds it (the low half of a pair stands
  // for the folded code point, the high half for itself), in a fixed width of two units.
  QString k(text.size() * 2, Qt::Uninitialized);
  char16_t* z = reinterpret_cast<char16_t*>(k.data());
  char16_t vorher = 0;
  for (const QChar zeichen : text) {
    const char16_t c = zeichen.unicode();
    char32_t u = c;
    if (QChar::isLowSurrogate(c) && QChar::isHighSurrogate(vorher))
      u = QChar::surrogateToUcs4(vorher, c);
    vorher = c;
    const char32_t f = QChar::toCaseFolded(u);
    *z++ = char16_t(f >> 16);
    *z++ = char16_t(f & 0xffff);
  }
  return k;
}

int vergleichen(QStringView a, QStringView b) {
  const qsizetype n = std::min(a.size(), b.size());
  qsizetype i = 0;
  for (; i < n && (a[i].unicode() | b[i].unicode()) < 0x80; ++i) {
    const char16_t p = klein(a[i].unicode()), q = klein(b[i].unicode());
    if (p != q)
      return p < q ? -1 : 1;
  }
  Grundfolge<Utf16Zeichen> x(Utf16Zeichen{a.mid(i)});
  Grundfolge<Utf16Zeichen> y(Utf16Zeichen{b.mid(i)});
  const int grund = grundVergleichen(x, y);
  if (grund != 0)
    return grund;
  const int gefaltet = a.compare(b, Qt::CaseInsensitive);
  return gefaltet == 0 ? 0 : (gefaltet < 0 ? -1 : 1);
}

bool wie(QStringView text, QStringView muster, QChar escape) {
  std::vector<Musterteil> teile;
  if (!musterZerlegen(muster, escape, teile))
    return false;
  return passt(gefalteteZeichen(text), teile);
}

bool registrieren(sqlite3* db, const char** fehler) {
  int rc = sqlite3_create_collation_v2(db, Kollation, SQLITE_UTF8, nullptr, kollation, nullptr);
  for (int anzahl : {2, 3}) {
    if (rc == SQLITE_OK)
      rc = sqlite3_create_function_v2(db, "like", anzahl, SQLITE_UTF16 | SQLITE_DETERMINISTIC,
                                      nullptr, likeFunktion, nullptr, nullptr, nullptr);
  }
  if (rc != SQLITE_OK && fehler)
    *fehler = sqlite3_errmsg(db);
  return rc == SQLITE_OK;
}

}  // namespace Textvergleich
