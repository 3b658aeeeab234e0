#include "TabulonModell.h"

#include "Werte.h"

#include <QDate>

namespace {

// A value's own text, as the language turns it into one.
QString eigenerText(const QVariant& wert) {
  switch (wert.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
      return Werte::allgemein(wert.toDouble());
    case QMetaType::QDate:
      return Werte::datumText(wert.toDate());
    case QMetaType::Bool:
      return wert.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    default:
      return wert.toString();
  }
}

}  // namespace

void TabulonModell::setzen(const QStringList& namen, const QList<QVariantList>& zeilen) {
  beginResetModel();
  QList<Spalte> spalten;
  for (int i = 0; i < namen.size(); ++i) {
    Spalte s = i < m_spalten.size() ? m_spalten[i] : Spalte{};
    s.name = namen[i];
    spalten.append(s);
  }
  m_spalten = spalten;
  m_zeilen = zeilen;
  endResetModel();
}

void TabulonModell::layoutLeeren() {
  for (Spalte& s : m_spalten) {
    s.format.clear();
    s.ausrichtung = Standard;
  }
  if (!m_zeilen.isEmpty() && !m_spalten.isEmpty())
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const QVariantList& TabulonModell::zeile(int zeile) const {
  static const QVariantList leer;
  return zeile >= 0 && zeile < m_zeilen.size() ? m_zeilen[zeile] : leer;
}

void TabulonModell::farbenSetzen(const QColor& gerade, const QColor& ungerade) {
  m_gerade = gerade;
  m_ungerade = ungerade;
  if (!m_zeilen.isEmpty() && !m_spalten.isEmpty())
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::BackgroundRole});
}

void TabulonModell::spalteGeaendert(int spalte) {
  if (spalte < 0 || spalte >= m_spalten.size() || m_zeilen.isEmpty())
    return;
  emit dataChanged(index(0, spalte), index(rowCount() - 1, spalte));
}

QString TabulonModell::zellentext(const QVariant& wert, const QString& format) {
  if (!wert.isValid() || wert.isNull())
    return {};
  if (format.isEmpty())
    return eigenerText(wert);
  switch (wert.typeId()) {
    case QMetaType::QDate:
      return format == Werte::Datumsformat ? Werte::datumText(wert.toDate()) : eigenerText(wert);
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
      return Werte::formatieren(wert.toDouble(), format);
    default:
      return Werte::formatieren(wert.toString(), format);
  }
}

int TabulonModell::rowCount(const QModelIndex& eltern) const {
  return eltern.isValid() ? 0 : int(m_zeilen.size());
}

int TabulonModell::columnCount(const QModelIndex& eltern) const {
  return eltern.isValid() ? 0 : int(m_spalten.size());
}

QVariant TabulonModell::data(const QModelIndex& index, int rolle) const {
  if (!index.isValid() || index.row() >= m_zeilen.size() || index.column() >= m_spalten.size())
    return {};
  const QVariantList& zeile = m_zeilen[index.row()];
  const QVariant wert = index.column() < zeile.size() ? zeile[index.column()] : QVariant();
  const Spalte& spalte = m_spalten[index.column()];
  switch (rolle) {
    case Qt::DisplayRole:
      return zellentext(wert, spalte.format);
    case Qt::TextAlignmentRole: {
      int waagrecht = Qt::AlignLeft;
      if (spalte.ausrichtung == Rechts)
        waagrecht = Qt::AlignRight;
      else if (spalte.ausrichtung == Mitte)
        waagrecht = Qt::AlignHCenter;
      else if (spalte.ausrichtung == Standard &&
               (wert.typeId() == QMetaType::Double || wert.typeId() == QMetaType::Int))
        waagrecht = Qt::AlignRight;
      return QVariant(waagrecht | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole: {
      // Rows count from 0, so the first row is an even one.
      const QColor& farbe = index.row() % 2 == 0 ? m_gerade : m_ungerade;
      return farbe.isValid() ? QVariant(farbe) : QVariant();
    }
    default:
      return {};
  }
}

QVariant TabulonModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
  if (rolle != Qt::DisplayRole)
    return QAbstractTableModel::headerData(abschnitt, richtung, rolle);
  if (richtung == Qt::Horizontal)
    return abschnitt >= 0 && abschnitt < m_spalten.size() ? QVariant(m_spalten[abschnitt].name)
                                                          : QVariant();
  return QAbstractTableModel::headerData(abschnitt, richtung, rolle);
}

Qt::ItemFlags TabulonModell::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
