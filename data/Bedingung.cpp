#include "Bedingung.h"

#include "Textvergleich.h"
#include "Umwandlung.h"

#include <QDate>

namespace {

// Text form of a stored value, as LIKE sees it.
QString likeText(const QVariant& gespeichert) {
  if (gespeichert.typeId() == QMetaType::Double) {
    // SQLite's text of a REAL: 12.5, 12.0
    QString t = QString::number(gespeichert.toDouble(), 'g', 15);
    if (!t.contains(u'.') && !t.contains(u'e'))
      t += QStringLiteral(".0");
    return t;
  }
  return gespeichert.toString();
}

}  // namespace

QVariant Bedingung::gebundenerWert() const {
  if (vergleich == Vergleich::Wie) {
    const QString muster = wert.toString();
    return QVariant(muster.isNull() ? QStringLiteral("") : muster);
  }
  return Umwandlung::speicherwert(Umwandlung::art(spalte), wert).value_or(QVariant());
}

bool Bedingung::trifftZu(const QVariant& gelesen) const {
  return Pruefung(*this).trifftZu(gelesen);
}

Bedingung::Pruefung::Pruefung(const Bedingung& bedingung)
    : m_vergleich(bedingung.vergleich),
      m_art(int(Umwandlung::art(bedingung.spalte))),
      m_gesucht(bedingung.gebundenerWert()) {
  m_textGleich = m_vergleich == Vergleich::Gleich && m_art == int(Umwandlung::Spaltenart::Text) &&
                 m_gesucht.typeId() == QMetaType::QString;
  if (m_textGleich)
    m_text = m_gesucht.toString();
}

bool Bedingung::Pruefung::trifftZu(const QVariant& gelesen) const {
  if (!gelesen.isValid())
    return false;
  // A text read from a text column is its stored form already (a null text stores nothing).
  if (m_textGleich && gelesen.typeId() == QMetaType::QString) {
    const QString text = gelesen.toString();
    return !text.isNull() && Textvergleich::gleich(text, m_text);
  }
  // Compare in the stored form, so that finding agrees with the query.
  const QVariant gespeichert =
      Umwandlung::speicherwert(Umwandlung::Spaltenart(m_art), gelesen).value_or(QVariant());
  if (!gespeichert.isValid() || !m_gesucht.isValid())
    return false;
  if (m_vergleich == Vergleich::Wie)
    return Textvergleich::wie(likeText(gespeichert), m_gesucht.toString());
  if (gespeichert.typeId() == QMetaType::QString && m_gesucht.typeId() == QMetaType::QString)
    return Textvergleich::gleich(gespeichert.toString(), m_gesucht.toString());
  if (gespeichert.typeId() == QMetaType::QString || m_gesucht.typeId() == QMetaType::QString)
    return gespeichert.toString() == m_gesucht.toString();
  return gespeichert.toDouble() == m_gesucht.toDouble();
}
