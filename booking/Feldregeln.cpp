#include "Feldregeln.h"

#include "Betragsausdruck.h"
#include "Werte.h"

#include <QKeyEvent>

namespace Feldregeln {

std::optional<QChar> getippt(const QKeyEvent* taste) {
  if (taste->key() == Qt::Key_Backspace)
    return QChar(8);
  switch (taste->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return std::nullopt;
    default:
      break;
  }
  const QString text = taste->text();
  if (text.isEmpty() || text.front() == QChar(0x7f))
    return std::nullopt;
  return text.front();
}

bool Betragszeichen(QChar zeichen) {
  const char16_t c = zeichen.unicode();
  return c == 8 || (c >= 40 && c <= 57) || c == u'\u00d7' || c == u'\u00f7' || c == u'\u2212';
}

std::optional<double> Betragswert(const QString& text) {
  if (const auto zahl = Werte::zahl(text))
    return zahl;
  if (const auto ersetzt = Betragsausdruck::ersetzen(text))
    return Werte::zahl(*ersetzt);
  return std::nullopt;
}

Datumstaste Datumszeichen(QChar zeichen) {
  const char16_t c = zeichen.unicode();
  if (c == 8 || c == 32 || c == 46 || (c >= 48 && c <= 57))
    return Datumstaste::Tippen;
  if (c == 43)
    return Datumstaste::TagVor;
  if (c == 45)
    return Datumstaste::TagZurueck;
  return Datumstaste::Verwerfen;
}

std::optional<QString> Tagesschritt(const QString& text, int tage) {
  const auto datum = Werte::datum(text);
  if (!datum)
    return std::nullopt;
  const QDate neu = datum->addDays(tage);
  if (!neu.isValid())
    return std::nullopt;
  return Werte::datumText(neu);
}

QString BetragVerlassen(const QString& text) {
  return Werte::formatieren(Betragsausdruck::ersetzen(text).value_or(text), Werte::Betragsformat);
}

}  // namespace Feldregeln
