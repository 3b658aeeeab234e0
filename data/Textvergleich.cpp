#include "Textvergleich.h"

#include <sqlite3.h>
#include <QString>
#include <vector>

namespace Textvergleich {
namespace {

bool nurAscii(QStringView s) {
  for (QChar c : s) {
    if (c.unicode() >= 0x80)
      return false;
  }
  return true;
}

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

// The files hold UTF-8: ASCII texts are compared where they lie, others as QString.
int kollation(void*, int laenge1, const void* text1, int laenge2, const void* text2) {
  const auto* a = static_cast<const unsigned char*>(text1);
  const auto* b = static_cast<const unsigned char*>(text2);
  unsigned char oder = 0;
  for (int i = 0; i < laenge1; ++i)
    oder |= a[i];
  for (int i = 0; i < laenge2; ++i)
    oder |= b[i];
  if (oder < 0x80) {
    const int n = std::min(laenge1, laenge2);
    for (int i = 0; i < n; ++i) {
      const char16_t x = klein(a[i]), y = klein(b[i]);
      if (x != y)
        return x < y ? -1 : 1;
    }
    return laenge1 == laenge2 ? 0 : (laenge1 < laenge2 ? -1 : 1);
  }
  return vergleichen(QString::fromUtf8(reinterpret_cast<const char*>(a), laenge1),
                     QString::fromUtf8(reinterpret_cast<const char*>(b), laenge2));
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

int vergleichen(QStringView a, QStringView b) {
  if (nurAscii(a) && nurAscii(b)) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
      const char16_t x = klein(a[i].unicode()), y = klein(b[i].unicode());
      if (x != y)
        return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  }
  const int grund = grundform(a).compare(grundform(b), Qt::CaseSensitive);
  if (grund != 0)
    return grund < 0 ? -1 : 1;
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
