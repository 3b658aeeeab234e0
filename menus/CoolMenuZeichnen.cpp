#include "CoolMenuZeichnen.h"

#include "Bildliste.h"
#include "CMyItemData.h"
#include "CoolMenu.h"
#include "WndCoolMenu.h"

#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>

namespace {

// Space between the icon area and the text, and the column kept free at the right for the
// submenu arrow (shortcut texts end there too, so that they line up).
constexpr int TextAbstand = 4;
constexpr int PfeilSpalte = 12;

// Drawn marks and embossed pictures, kept for the rest of the run.
QHash<QString, QPixmap>& bilderSpeicher() {
  static QHash<QString, QPixmap> speicher;
  return speicher;
}

QString farbSchluessel(const QPalette& pal, std::initializer_list<int> nummern) {
  QString s;
  for (int n : nummern)
    s += QString::number(Systemfarbe(n, pal).rgba(), 16) + u',';
  return s;
}

void obenLinks(QPainter& p, const QRect& r, const QColor& farbe) {
  p.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), farbe);
  p.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), farbe);
}

void untenRechts(QPainter& p, const QRect& r, const QColor& farbe) {
  p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), farbe);
  p.fillRect(QRect(r.right(), r.top(), 1, r.height()), farbe);
}

// The classic 7 x 7 check: three pixels high, falling two columns, rising four.
void haekchen(QPainter& p, int x, int y, const QColor& farbe) {
  static constexpr int oben[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i)
    p.fillRect(QRect(x + i, y + oben[i], 1, 3), farbe);
}

void punkt(QPainter& p, int x, int y, const QColor& farbe) {
  p.fillRect(QRect(x + 1, y, 2, 4), farbe);
  p.fillRect(QRect(x, y + 1, 4, 2), farbe);
}

QPixmap komplexerKasten(const QPalette& pal, bool checked, bool disabled) {
  QPixmap bild(13, 13);
  bild.fill(Qt::transparent);
  QPainter p(&bild);
  const QRect aussen(0, 0, 13, 13);
  obenLinks(p, aussen, Systemfarbe(16, pal));
  untenRechts(p, aussen, Systemfarbe(20, pal));
  const QRect innen = aussen.adjusted(1, 1, -1, -1);
  obenLinks(p, innen, Systemfarbe(21, pal));
  untenRechts(p, innen, Systemfarbe(22, pal));
  p.fillRect(innen.adjusted(1, 1, -1, -1), Systemfarbe(disabled ? 15 : 5, pal));
  if (checked)
    haekchen(p, 3, 3, Systemfarbe(disabled ? 17 : 7, pal));
  return bild;
}

QPixmap komplexerKreis(const QPalette& pal, bool checked, bool disabled) {
  // o outer ring, i inner ring, f face; each ring dark above the diagonal, light below it.
  static constexpr const char* muster[12] = {
      "....oooo....", "..ooiiiioo..", ".oiiffffiio.", ".oiffffffio.",
      "oiffffffffio", "oiffffffffio", "oiffffffffio", "oiffffffffio",
      ".oiffffffio.", ".oiiffffiio.", "..ooiiiioo..", "....oooo....",
  };
  QPixmap bild(12, 12);
  bild.fill(Qt::transparent);
  QPainter p(&bild);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool oben = x + y < 11;
      int farbe = 0;
      switch (muster[y][x]) {
        case 'o':
          farbe = oben ? 16 : 20;
          break;
        case 'i':
          farbe = oben ? 21 : 22;
          break;
        case 'f':
          farbe = disabled ? 15 : 5;
          break;
        default:
          continue;
      }
      p.fillRect(QRect(x, y, 1, 1), Systemfarbe(farbe, pal));
    }
  if (checked)
    punkt(p, 4, 4, Systemfarbe(disabled ? 17 : 7, pal));
  return bild;
}

// The single mark of the plain style, drawn through its shape in one colour.
QPixmap einfacheMarke(const QPalette& pal, bool asCheck, bool disabled) {
  QPixmap bild(7, 7);
  bild.fill(Qt::transparent);
  QPainter p(&bild);
  const QColor farbe = Systemfarbe(disabled ? 17 : 7, pal);
  if (asCheck)
    haekchen(p, 0, 0, farbe);
  else
    punkt(p, 1, 1, farbe);
  return bild;
}

QPixmap zentriertPassend(const QPixmap& bild) {
  if (bild.width() <= MenuIconSize && bild.height() <= MenuIconSize)
    return bild;
  return bild.scaled(MenuIconSize, MenuIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

void zentriertZeichnen(QPainter& p, const QRect& bereich, const QPixmap& bild) {
  const QSize groesse = bild.deviceIndependentSize().toSize();
  p.drawPixmap(bereich.left() + (bereich.width() - groesse.width()) / 2,
               bereich.top() + (bereich.height() - groesse.height()) / 2, bild);
}

void DrawMenuText(QPainter& p, const QRect& bereich, const QString& text, const QFont& schrift,
                  const QColor& farbe, bool disabled, const QPalette& pal, int ausrichtung) {
  const int tab = text.indexOf(u'\t');
  const QString links = tab < 0 ? text : text.left(tab);
  const QString rechts = tab < 0 ? QString() : text.mid(tab + 1);
  const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::AlignVCenter;
  p.setFont(schrift);
  const auto zeichnen = [&](const QRect& r) {
    p.drawText(r, flags | ausrichtung, links);
    if (!rechts.isEmpty())
      p.drawText(r, flags | Qt::AlignRight, rechts);
  };
  if (disabled) {
    p.setPen(Systemfarbe(20, pal));
    zeichnen(bereich.translated(1, 1));
    p.setPen(Systemfarbe(17, pal));
  } else {
    p.setPen(farbe);
  }
  zeichnen(bereich);
}

void trennerZeichnen(QPainter& p, WndCoolMenu& wnd, const CMyItemData& satz, const QRect& r,
                     const QPalette& pal) {
  p.fillRect(r, Systemfarbe(4, pal));
  // Etched line along the top of a band through the middle: shadow over light.
  const int y = r.top() + (r.height() - 2) / 2;
  p.fillRect(QRect(r.left() + 1, y, r.width() - 2, 1), Systemfarbe(16, pal));
  p.fillRect(QRect(r.left() + 1, y + 1, r.width() - 2, 1), Systemfarbe(20, pal));
  if (satz.sMenuText.isEmpty())
    return;
  const QString text = u' ' + satz.sMenuText + u' ';
  const QFont schrift = wnd.sepFont();
  const QFontMetrics fm(schrift);
  const int breite = fm.horizontalAdvance(text);
  const QRect textRect(r.left() + (r.width() - breite) / 2,
                       r.top() + (r.height() - fm.height()) / 2, breite, fm.height());
  const int flags = Qt::TextSingleLine | Qt::AlignCenter;
  p.setFont(schrift);
  p.fillRect(textRect.intersected(r), Systemfarbe(4, pal));
  p.setPen(Systemfarbe(22, pal));
  p.drawText(textRect.translated(1, 1), flags, text);
  p.setPen(Systemfarbe(16, pal));
  p.drawText(textRect, flags, text);
}

void leistenpunktZeichnen(QPainter& p, WndCoolMenu& wnd, const CMyItemData& satz,
                          const ItemZustand& z, const QRect& r, const QPalette& pal) {
  p.fillRect(r, Systemfarbe(4, pal));
  if (z.selected && !z.disabled)
    KanteZeichnen(p, r, pal, false, false);
  else if (z.heiss && !z.disabled)
    KanteZeichnen(p, r, pal, true, false);
  QFont schrift = wnd.menuFont();
  const QColor farbe = wnd.ForeColor.isValid() ? wnd.ForeColor : Systemfarbe(7, pal);
  DrawMenuText(p, r, satz.sMenuText, schrift, farbe, z.disabled, pal, Qt::AlignHCenter);
}

}  // namespace

QColor Systemfarbe(int nummer, const QPalette& palette) {
  const auto farbe = [&palette](QPalette::ColorRole rolle) {
    return palette.color(QPalette::Active, rolle);
  };
  switch (nummer) {
    case 4:
      return farbe(QPalette::Window);
    case 5:
      return farbe(QPalette::Base);
    case 7:
      return farbe(QPalette::WindowText);
    case 13:
      return farbe(QPalette::Highlight);
    case 14:
      return farbe(QPalette::HighlightedText);
    case 15:
      return farbe(QPalette::Button);
    case 16:
      return farbe(QPalette::Dark);
    case 17:
      return palette.color(QPalette::Disabled, QPalette::WindowText);
    case 20:
      return farbe(QPalette::Light);
    case 21:
      return farbe(QPalette::Shadow);
    case 22:
      return farbe(QPalette::Midlight);
    default:
      return farbe(QPalette::WindowText);
  }
}

void KanteZeichnen(QPainter& p, const QRect& r, const QPalette& pal, bool erhaben, bool dick) {
  if (!dick) {
    obenLinks(p, r, Systemfarbe(erhaben ? 20 : 16, pal));
    untenRechts(p, r, Systemfarbe(erhaben ? 16 : 20, pal));
    return;
  }
  const QRect innen = r.adjusted(1, 1, -1, -1);
  if (erhaben) {
    obenLinks(p, r, Systemfarbe(22, pal));
    untenRechts(p, r, Systemfarbe(21, pal));
    obenLinks(p, innen, Systemfarbe(20, pal));
    untenRechts(p, innen, Systemfarbe(16, pal));
  } else {
    obenLinks(p, r, Systemfarbe(16, pal));
    untenRechts(p, r, Systemfarbe(20, pal));
    obenLinks(p, innen, Systemfarbe(21, pal));
    untenRechts(p, innen, Systemfarbe(22, pal));
  }
}

void Draw3DMark(QPainter& p, const QRect& bereich, const QPalette& palette, bool asCheck,
                bool checked, bool disabled, bool complex) {
  p.fillRect(bereich, Systemfarbe(4, palette));
  const QString schluessel =
      QStringLiteral("marke:%1%2%3%4:").arg(complex).arg(asCheck).arg(checked).arg(disabled) +
      farbSchluessel(palette, {5, 7, 15, 16, 17, 20, 21, 22});
  auto& speicher = bilderSpeicher();
  auto it = speicher.constFind(schluessel);
  if (it == speicher.cend()) {
    QPixmap bild;
    if (complex)
      bild = asCheck ? komplexerKasten(palette, checked, disabled)
                     : komplexerKreis(palette, checked, disabled);
    else if (checked)
      bild = einfacheMarke(palette, asCheck, disabled);
    it = speicher.insert(schluessel, bild);
  }
  if (!complex)
    KanteZeichnen(p, bereich, palette, false, false);
  if (!it->isNull())
    zentriertZeichnen(p, bereich, *it);
}

void DrawEmbossedIcon(QPainter& p, const QRect& bereich, const QPixmap& bild,
                      const QPalette& palette, bool colorEmbossed) {
  const QString schluessel =
      QStringLiteral("relief:%1:%2:").arg(bild.cacheKey()).arg(colorEmbossed) +
      farbSchluessel(palette, {16, 17, 20});
  auto& speicher = bilderSpeicher();
  auto it = speicher.constFind(schluessel);
  if (it == speicher.cend()) {
    // The dark, opaque pixels make the shape; light ones vanish as on the platform.
    const QImage quelle = zentriertPassend(bild).toImage().convertToFormat(QImage::Format_ARGB32);
    QImage form(quelle.size(), QImage::Format_ARGB32);
    form.fill(Qt::transparent);
    for (int y = 0; y < quelle.height(); ++y)
      for (int x = 0; x < quelle.width(); ++x) {
        const QRgb px = quelle.pixel(x, y);
        if (qAlpha(px) >= 128 && qGray(px) < 192)
          form.setPixel(x, y, 0xff000000);
      }
    const auto eingefaerbt = [&form](const QColor& farbe) {
      QImage bildFarbe = form;
      QPainter f(&bildFarbe);
      f.setCompositionMode(QPainter::CompositionMode_SourceIn);
      f.fillRect(bildFarbe.rect(), farbe);
      return bildFarbe;
    };
    QImage ergebnis(quelle.width() + 1, quelle.height() + 1, QImage::Format_ARGB32);
    ergebnis.fill(Qt::transparent);
    {
      QPainter e(&ergebnis);
      if (colorEmbossed) {
        e.drawImage(1, 1, eingefaerbt(Systemfarbe(20, palette)));
        e.drawImage(0, 0, eingefaerbt(Systemfarbe(16, palette)));
      } else {
        e.drawImage(0, 0, eingefaerbt(Systemfarbe(17, palette)));
      }
    }
    it = speicher.insert(schluessel, QPixmap::fromImage(ergebnis));
  }
  zentriertZeichnen(p, bereich, *it);
}

int GespeicherteBilder() {
  return static_cast<int>(bilderSpeicher().size());
}

bool OnDrawItem(QPainter& p, WndCoolMenu& wnd, const CMyItemData& satz, const ItemZustand& z,
                const QRect& r, const QPalette& pal) {
  if (!r.isValid())
    return false;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setClipRect(r, Qt::IntersectClip);
  if (satz.istTrenner()) {
    trennerZeichnen(p, wnd, satz, r, pal);
    p.restore();
    return true;
  }
  if (satz.bMainMenu) {
    leistenpunktZeichnen(p, wnd, satz, z, r, pal);
    p.restore();
    return true;
  }

  const int iconBreite = MenuIconSize + 2;
  const QRect iconRect(r.left(), r.top(), iconBreite, r.height());
  const QRect textBereich(r.left() + iconBreite, r.top(), r.width() - iconBreite, r.height());

  QPixmap bild;
  if (satz.iButton >= 0 && wnd.ilHandle)
    bild = zentriertPassend(wnd.ilHandle->bild(satz.iButton));
  if (!bild.isNull()) {
    if (!z.disabled) {
      p.fillRect(iconRect, Systemfarbe(z.checked && !z.selected ? 22 : 4, pal));
      if (z.selected || z.checked)
        KanteZeichnen(p, iconRect, pal, !z.checked, false);
      zentriertZeichnen(p, iconRect, bild);
    } else {
      p.fillRect(iconRect, Systemfarbe(4, pal));
      DrawEmbossedIcon(p, iconRect, bild, pal, wnd.ColorEmbossed);
    }
  } else if (satz.bAsMark || z.checked) {
    const bool alsKasten = satz.bAsMark ? satz.bAsCheck : !z.exklusiv;
    Draw3DMark(p, iconRect, pal, alsKasten, z.checked, z.disabled, wnd.ComplexChecks);
  } else {
    p.fillRect(iconRect, Systemfarbe(4, pal));
  }

  QFont schrift = wnd.menuFont();
  if (z.standard)
    schrift.setBold(true);
  const QRect textRect = textBereich.adjusted(TextAbstand, 0, -PfeilSpalte, 0);

  p.fillRect(textBereich, Systemfarbe(4, pal));
  if (z.selected && !z.disabled) {
    QRect auswahl = textBereich;
    if (!wnd.FullSelect) {
      const QFontMetrics fm(schrift);
      const QString links = satz.sMenuText.section(u'\t', 0, 0);
      const int breite = fm.size(Qt::TextSingleLine | Qt::TextShowMnemonic, links).width();
      auswahl.setWidth(qMin(textBereich.width(), breite + 2 * TextAbstand));
    }
    p.fillRect(auswahl, wnd.SelectColor.isValid() ? wnd.SelectColor : Systemfarbe(13, pal));
  }

  QColor farbe = wnd.ForeColor.isValid() ? wnd.ForeColor : Systemfarbe(7, pal);
  if (z.selected && !z.disabled)
    farbe = Systemfarbe(14, pal);
  DrawMenuText(p, textRect, satz.sMenuText, schrift, farbe, z.disabled, pal, Qt::AlignLeft);

  if (satz.bTrueSub) {
    // A right-pointing triangle, 4 wide and 7 high, centred in the arrow column.
    const QColor pfeil = z.disabled ? Systemfarbe(17, pal) : farbe;
    const int x = r.right() - PfeilSpalte + (PfeilSpalte - 4) / 2;
    const int y = r.top() + (r.height() - 7) / 2;
    for (int i = 0; i < 4; ++i)
      p.fillRect(QRect(x + i, y + i, 1, 7 - 2 * i), pfeil);
  }
  p.restore();
  return true;
}
