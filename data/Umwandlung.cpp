#include "Umwandlung.h"

#include "Werte.h"

#include <QDate>
#include <QDateTime>
#include <cmath>

namespace Umwandlung {
namespace {

bool istGanzzahltyp(int typ) {
  switch (typ) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
      return true;
    default:
      return false;
  }
}

bool istZahltyp(int typ) {
  return istGanzzahltyp(typ) || typ == QMetaType::Double || typ == QMetaType::Float;
}

std::optional<double> alsZahl(const QVariant& wert) {
  if (istZahltyp(wert.typeId())) {
    const double d = wert.toDouble();
    return std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
  }
  if (wert.typeId() == QMetaType::QString)
    return Werte::zahl(wert.toString());
  return std::nullopt;
}

// Half away from zero on the decimal form, as the amount texts are rounded.
std::optional<double> aufCent(double wert) {
  const QString text = Werte::formatieren(wert, Werte::Betragsformat);
  return text.isEmpty() ? std::nullopt : Werte::zahl(text);
}

std::optional<QVariant> ganzzahl16(const QVariant& wert) {
  const int typ = wert.typeId();
  if (typ == QMetaType::Bool)
    return QVariant(wert.toBool() ? -1 : 0);
  if (istGanzzahltyp(typ)) {
    bool ok = false;
    const qlonglong n = wert.toLongLong(&ok);
    if (!ok || n < -32768 || n > 32767)
      return std::nullopt;
    return QVariant(int(n));
  }
  if (typ == QMetaType::Double || typ == QMetaType::Float) {
    const double gerundet = std::nearbyint(wert.toDouble());
    if (!(gerundet >= -32768.0 && gerundet <= 32767.0))
      return std::nullopt;
    return QVariant(int(gerundet));
  }
  if (typ == QMetaType::QString) {
    if (const auto n = Werte::ganzzahl16(wert.toString()))
      return QVariant(int(*n));
  }
  return std::nullopt;
}

std::optional<QVariant> wahrheitswert(const QVariant& wert) {
  if (wert.typeId() == QMetaType::Bool)
    return QVariant(wert.toBool() ? -1 : 0);
  if (wert.typeId() == QMetaType::QString) {
    const QString t = wert.toString().trimmed();
    if (t.compare(u"Wahr", Qt::CaseInsensitive) == 0 ||
        t.compare(u"True", Qt::CaseInsensitive) == 0)
      return QVariant(-1);
    if (t.compare(u"Falsch", Qt::CaseInsensitive) == 0 ||
        t.compare(u"False", Qt::CaseInsensitive) == 0)
      return QVariant(0);
  }
  if (const auto d = alsZahl(wert))
    return QVariant(*d != 0 ? -1 : 0);
  return std::nullopt;
}

std::optional<QVariant> datum(const QVariant& wert) {
  QDate d;
  if (wert.typeId() == QMetaType::QDate)
    d = wert.toDate();
  else if (wert.typeId() == QMetaType::QDateTime)
    d = wert.toDateTime().date();
  else if (wert.typeId() == QMetaType::QString)
    d = Werte::datum(wert.toString()).value_or(QDate());
  if (!d.isValid() || d.year() < 1 || d.year() > 9999)
    return std::nullopt;
  return QVariant(d.toString(Qt::ISODate));
}

// "yyyy-mm-dd" without going through the general parser: lists read thousands of dates.
QDate isoDatum(const QString& text) {
  if (text.size() < 10 || text[4] != u'-' || text[7] != u'-')
    return {};
  int teile[3] = {0, 0, 0};
  const int von[3] = {0, 5, 8}, laenge[3] = {4, 2, 2};
  for (int t = 0; t < 3; ++t) {
    for (int i = von[t]; i < von[t] + laenge[t]; ++i) {
      const char16_t c = text[i].unicode();
      if (c < u'0' || c > u'9')
        return {};
      teile[t] = teile[t] * 10 + (c - u'0');
    }
  }
  if (text.size() > 10 && text[10] != u' ' && text[10] != u'T')
    return {};
  return QDate(teile[0], teile[1], teile[2]);
}

}  // namespace

Spaltenart art(QStringView spalte) {
  struct Eintrag {
    QStringView name;
    Spaltenart art;
  };
  static constexpr Eintrag arten[] = {
      {u"Betrag", Spaltenart::Betrag},         {u"Einnahme", Spaltenart::Betrag},
      {u"Ausgabe", Spaltenart::Betrag},        {u"Saldo", Spaltenart::Betrag},
      {u"Kaufpreis", Spaltenart::Betrag},      {u"Kurs", Spaltenart::Zahl},
      {u"Datum", Spaltenart::Datum},           {u"ID", Spaltenart::Ganzzahl},
      {u"Versicherung", Spaltenart::Ganzzahl}, {u"Steuer", Spaltenart::Ganzzahl},
      {u"Aktiv", Spaltenart::Wahrheitswert},   {u"Versichert", Spaltenart::Wahrheitswert},
      {u"rowid", Spaltenart::Zeilennummer},
  };
  for (const Eintrag& e : arten) {
    if (spalte.compare(e.name, Qt::CaseInsensitive) == 0)
      return e.art;
  }
  return Spaltenart::Text;
}

std::optional<QVariant> speicherwert(Spaltenart art, const QVariant& wert) {
  if (!wert.isValid() || wert.isNull())
    return QVariant();
  switch (art) {
    case Spaltenart::Text: {
      // A null QString would be bound as NULL; an empty text must stay an empty text.
      const QString text = Werte::alsText(wert);
      return QVariant(text.isNull() ? QStringLiteral("") : text);
    }
    case Spaltenart::Betrag:
      if (const auto d = alsZahl(wert)) {
        if (const auto gerundet = aufCent(*d))
          return QVariant(*gerundet);
      }
      return std::nullopt;
    case Spaltenart::Zahl:
      if (const auto d = alsZahl(wert))
        return QVariant(*d);
      return std::nullopt;
    case Spaltenart::Datum:
      return datum(wert);
    case Spaltenart::Ganzzahl:
      return ganzzahl16(wert);
    case Spaltenart::Wahrheitswert:
      return wahrheitswert(wert);
    case Spaltenart::Zeilennummer:
      if (istGanzzahltyp(wert.typeId()))
        return QVariant(wert.toLongLong());
      return std::nullopt;
  }
  return std::nullopt;
}

QVariant lesewert(Spaltenart art, const QVariant& gespeichert) {
  if (!gespeichert.isValid() || gespeichert.isNull())
    return {};
  const int typ = gespeichert.typeId();
  switch (art) {
    case Spaltenart::Datum:
      if (typ == QMetaType::QString) {
        const QString text = gespeichert.toString();
        QDate d = isoDatum(text);
        if (!d.isValid())
          d = Werte::datum(text).value_or(QDate());
        if (d.isValid())
          return QVariant(d);
      }
      return gespeichert;
    case Spaltenart::Betrag:
    case Spaltenart::Zahl:
      if (const auto d = alsZahl(gespeichert))
        return QVariant(*d);
      return gespeichert;
    case Spaltenart::Ganzzahl:
    case Spaltenart::Wahrheitswert:
      if (istGanzzahltyp(typ)) {
        const qlonglong n = gespeichert.toLongLong();
        if (n >= INT_MIN && n <= INT_MAX)
          return QVariant(int(n));
      }
      return gespeichert;
    case Spaltenart::Zeilennummer:
      return istGanzzahltyp(typ) ? QVariant(gespeichert.toLongLong()) : gespeichert;
    case Spaltenart::Text:
      if (typ == QMetaType::LongLong) {
        const qlonglong n = gespeichert.toLongLong();
        if (n >= INT_MIN && n <= INT_MAX)
          return QVariant(int(n));
      }
      return gespeichert;
  }
  return gespeichert;
}

}  // namespace Umwandlung
