#include "Monatsdiagramm.h"

#include "Werte.h"

#include <QPainter>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QColor Einnahmenfarbe(0x3a, 0x8f, 0x3a);
const QColor Ausgabenfarbe(0xc0, 0x39, 0x2b);

QString monatKurz(const QDate& monat) {
  static const QStringList namen = {u"Jan"_s, u"Feb"_s, u"Mär"_s, u"Apr"_s, u"Mai"_s, u"Jun"_s,
                                    u"Jul"_s, u"Aug"_s, u"Sep"_s, u"Okt"_s, u"Nov"_s, u"Dez"_s};
  return namen.value(monat.month() - 1);
}

}  // namespace

Monatsdiagramm::Monatsdiagramm(QWidget* parent) : QWidget(parent) {
  setObjectName(u"diaMonate"_s);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QList<Monatswert> Monatsdiagramm::letzteZwoelf(const QList<Summenzeile>& monate,
                                               const QString& waehrung, const QDate& heute) {
  QList<Monatswert> werte;
  const QDate erster(heute.year(), heute.month(), 1);
  for (int i = 11; i >= 0; --i)
    werte.append({erster.addMonths(-i), 0, 0});
  for (const Summenzeile& z : monate) {
    if (z.waehrung != waehrung)
      continue;
    for (Monatswert& w : werte) {
      if (w.monat.toString(u"yyyy-MM"_s) == z.schluessel) {
        w.einnahmen += z.einnahmen;
        w.ausgaben += z.ausgaben;
      }
    }
  }
  return werte;
}

void Monatsdiagramm::setzen(const QList<Monatswert>& werte, const QString& titel) {
  m_werte = werte;
  m_titel = titel;
  setToolTip(titel);
  update();
}

QSize Monatsdiagramm::sizeHint() const {
  return {420, 220};
}

QSize Monatsdiagramm::minimumSizeHint() const {
  return {260, 160};
}

void Monatsdiagramm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().base());
  p.setPen(palette().text().color());
  const QFontMetrics fm = fontMetrics();
  const int zeile = fm.height();
  QRect flaeche = rect().adjusted(8, 6, -8, -6);
  p.drawText(flaeche, Qt::AlignTop | Qt::AlignLeft, m_titel);
  // The legend on the line below the title.
  int x = flaeche.left();
  const int legende = flaeche.top() + zeile + 2;
  for (const auto& [text, farbe] :
       {std::pair{u"Einnahmen"_s, Einnahmenfarbe}, std::pair{u"Ausgaben"_s, Ausgabenfarbe}}) {
    p.fillRect(QRect(x, legende + 3, zeile - 6, zeile - 6), farbe);
    x += zeile;
    p.drawText(QPoint(x, legende + fm.ascent()), text);
    x += fm.horizontalAdvance(text) + 16;
  }
  flaeche.adjust(0, 2 * zeile + 10, 0, -(zeile + 4));
  if (m_werte.isEmpty() || flaeche.height() < 20)
    return;

  double hoch = 0, tief = 0;
  for (const Monatswert& w : m_werte) {
    hoch = std::max({hoch, w.einnahmen, w.ausgaben});
    tief = std::min({tief, w.einnahmen, w.ausgaben});
  }
  if (hoch - tief <= 0)
    hoch = 1;
  const QString oben = Werte::formatieren(hoch, Werte::Betragsformat);
  const int achse = flaeche.left() + fm.horizontalAdvance(oben) + 6;
  const QRect balken(achse, flaeche.top(), flaeche.right() - achse, flaeche.height());
  const auto y = [&](double wert) {
    return balken.bottom() - int((wert - tief) / (hoch - tief) * balken.height());
  };
  p.drawText(QRect(flaeche.left(), balken.top() - zeile / 2, achse - 6 - flaeche.left(), zeile),
             Qt::AlignRight | Qt::AlignVCenter, oben);
  p.drawLine(achse, balken.top(), achse, balken.bottom());
  p.drawLine(achse, y(0), balken.right(), y(0));

  const double breite = double(balken.width()) / m_werte.size();
  for (int i = 0; i < m_werte.size(); ++i) {
    const Monatswert& w = m_werte[i];
    const int links = balken.left() + int(i * breite);
    const int b = std::max(2, int(breite * 0.35));
    for (const auto& [wert, farbe, versatz] :
         {std::tuple{w.einnahmen, Einnahmenfarbe, int(breite * 0.12)},
          std::tuple{w.ausgaben, Ausgabenfarbe, int(breite * 0.12) + b}}) {
      const int a = y(0), e = y(wert);
      p.fillRect(QRect(links + versatz, std::min(a, e), b, std::abs(a - e)), farbe);
    }
    p.drawText(QRect(links, balken.bottom() + 2, int(breite), zeile), Qt::AlignHCenter,
               monatKurz(w.monat));
  }
}
