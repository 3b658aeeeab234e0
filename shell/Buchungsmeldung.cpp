#include "Buchungsmeldung.h"

#include "Werte.h"
#include "Zustand.h"

Buchungsmelder& Buchungsmelder::instanz() {
  static Buchungsmelder melder;
  return melder;
}

void Buchungsmelder::melden(Buchungsmeldung meldung) {
  m_letzte = std::move(meldung);
  emit letzteGeaendert();
  emit gebucht();
}

void Buchungsmelder::vergessen() {
  m_letzte.reset();
  emit letzteGeaendert();
}

void Buchungsmelder::allesVergessen() {
  m_letzte.reset();
  m_benachrichtigungen.clear();
}

QString Buchungstext(const QString& art, const QString& betrag, const QString& waehrung,
                     const QString& kategorie) {
  return Text(3050)
      .replace(QStringLiteral("%1"), art)
      .replace(QStringLiteral("%2"), Werte::formatieren(betrag, Werte::Betragsformat))
      .replace(QStringLiteral("%3"), waehrung)
      .replace(QStringLiteral("%4"), kategorie);
}
