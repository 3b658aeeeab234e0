#include "Buchungsmodell.h"

#include "Werte.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace {

constexpr int Blockgroesse = 200;
constexpr int HoechstensBloecke = 50;

QString betragText(const QVariant& wert) {
  return wert.isValid() ? Werte::formatieren(wert.toDouble(), Werte::Betragsformat) : QString();
}

// The income and expense columns leave the other kind's 0 blank.
QString seiteText(const QVariant& wert) {
  return wert.toDouble() == 0.0 ? QString() : betragText(wert);
}

QString datumText(const QVariant& wert) {
  if (wert.typeId() == QMetaType::QDate)
    return Werte::datumText(wert.toDate());
  return wert.isValid() ? wert.toString() : QString();
}

}  // namespace

Buchungsmodell::Buchungsmodell(QObject* parent) : QAbstractTableModel(parent) {}

bool Buchungsmodell::laden(Buchungsleser* leser, const Buchungsfilter& filter) {
  beginResetModel();
  m_leser = leser;
  m_bloecke.clear();
  const bool ok = leser && leser->zeilennummern(filter, m_nummern);
  if (!ok)
    m_nummern.clear();
  endResetModel();
  return ok;
}

void Buchungsmodell::leeren() {
  beginResetModel();
  m_leser = nullptr;
  m_nummern.clear();
  m_bloecke.clear();
  endResetModel();
}

int Buchungsmodell::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_nummern.size());
}

int Buchungsmodell::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Spaltenzahl;
}

qint64 Buchungsmodell::zeilennummer(int zeile) const {
  return zeile >= 0 && zeile < m_nummern.size() ? m_nummern[zeile] : -1;
}

const QVariantList* Buchungsmodell::zeileLesen(int zeile) const {
  if (zeile < 0 || zeile >= m_nummern.size() || !m_leser)
    return nullptr;
  const int block = zeile / Blockgroesse;
  auto it = m_bloecke.find(block);
  if (it == m_bloecke.end()) {
    if (m_bloecke.size() >= HoechstensBloecke)
      m_bloecke.clear();
    const QList<qint64> nummern = m_nummern.mid(block * Blockgroesse, Blockgroesse);
    QHash<qint64, QVariantList> zeilen;
    m_leser->zeilen(nummern, zeilen);
    it = m_bloecke.insert(block, std::move(zeilen));
  }
  const auto z = it->constFind(m_nummern[zeile]);
  return z == it->constEnd() ? nullptr : &*z;
}

QVariantList Buchungsmodell::buchung(int zeile) const {
  const QVariantList* z = zeileLesen(zeile);
  return z ? *z : QVariantList();
}

QString Buchungsmodell::text(const QVariantList& b, int spalte) {
  using S = Buchungsspalte;
  switch (spalte) {
    case Nr:
      return ::spalte(b, S::ID).toString();
    case Datum:
      return datumText(::spalte(b, S::Datum));
    case Konto:
      return ::spalte(b, S::KontoName).toString();
    case Art:
      return ::spalte(b, S::Buchung).toString();
    case Partner: {
      const QString empfaenger = ::spalte(b, S::Empfaenger).toString();
      return empfaenger.isEmpty() ? ::spalte(b, S::Auftraggeber).toString() : empfaenger;
    }
    case Kategorie:
      return ::spalte(b, S::Kategorie).toString();
    case Zweck:
      return ::spalte(b, S::Verwendungszweck).toString();
    case Betrag:
      return betragText(::spalte(b, S::Betrag));
    case Waehrung:
      return ::spalte(b, S::Waehrung).toString();
    case Einnahme:
      return seiteText(::spalte(b, S::Einnahme));
    case Ausgabe:
      return seiteText(::spalte(b, S::Ausgabe));
    default:
      return {};
  }
}

QVariant Buchungsmodell::data(const QModelIndex& index, int role) const {
  if (!index.isValid())
    return {};
  const int s = index.column();
  if (role == Qt::TextAlignmentRole) {
    const bool rechts = s == Nr || s == Betrag || s == Einnahme || s == Ausgabe;
    return QVariant::fromValue(Qt::AlignVCenter | (rechts ? Qt::AlignRight : Qt::AlignLeft));
  }
  if (role != Qt::DisplayRole)
    return {};
  const QVariantList* z = zeileLesen(index.row());
  return z ? text(*z, s) : QString();
}

QVariant Buchungsmodell::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(section, orientation, role);
  static const QStringList titel = {u"Nr."_s,
                                    u"Datum"_s,
                                    u"Konto"_s,
                                    u"Art"_s,
                                    u"Empfänger / Auftraggeber"_s,
                                    u"Kategorie"_s,
                                    u"Verwendungszweck"_s,
                                    u"Betrag"_s,
                                    u"Währung"_s,
                                    u"Einnahme"_s,
                                    u"Ausgabe"_s};
  return titel.value(section);
}
