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
  if (!gelesen.isValid())
    return false;
  const Umwandlung::Spaltenart art = Umwandlung::art(spalte);
  // Compare in the stored form, so that finding agrees with the query.
  const QVariant gespeichert = Umwandlung::speicherwert(art, gelesen).value_or(QVariant());
  const QVariant gesucht = gebundenerWert();
  if (!gespeichert.isValid() || !gesucht.isValid())
    return false;
  if (vergleich == Vergleich::Wie)
    return Textvergleich::wie(likeText(gespeichert), gesucht.toString());
  if (gespeichert.typeId() == QMetaType::QString && gesucht.typeId() == QMetaType::QString)
    return Textvergleich::gleich(gespeichert.toString(), gesucht.toString());
  if (gespeichert.typeId() == QMetaType::QString || gesucht.typeId() == QMetaType::QString)
    return gespeichert.toString() == gesucht.toString();
  return gespeichert.toDouble() == gesucht.toDouble();
}
