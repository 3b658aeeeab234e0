#include "Tabulon.h"

#include "Datensatzquelle.h"
#include "TabulonModell.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <cmath>

namespace {

constexpr int TwipsProPixel = 15;

}  // namespace

// --- TabulonSpalte ---

bool TabulonSpalte::gueltig() const {
  return m_grid && m_index >= 0 && m_index < m_grid->modell()->columnCount();
}

bool TabulonSpalte::Visible() const {
  return gueltig() && !m_grid->isColumnHidden(m_index);
}

void TabulonSpalte::setVisible(bool sichtbar) {
  if (gueltig())
    m_grid->setColumnHidden(m_index, !sichtbar);
}

int TabulonSpalte::Width() const {
  return gueltig() ? m_grid->columnWidth(m_index) * TwipsProPixel : 0;
}

void TabulonSpalte::setWidth(int twips) {
  if (gueltig() && twips >= 0)
    m_grid->setColumnWidth(m_index, int(std::lround(double(twips) / TwipsProPixel)));
}

QString TabulonSpalte::Format() const {
  return gueltig() ? m_grid->modell()->spalten()[m_index].format : QString();
}

void TabulonSpalte::setFormat(const QString& format) {
  if (!gueltig())
    return;
  m_grid->modell()->spalten()[m_index].format = format;
  m_grid->modell()->spalteGeaendert(m_index);
}

int TabulonSpalte::TextAlignment() const {
  return gueltig() ? m_grid->modell()->spalten()[m_index].ausrichtung : int(Standard);
}

void TabulonSpalte::setTextAlignment(int ausrichtung) {
  if (!gueltig() || ausrichtung < Standard || ausrichtung > Mitte)
    return;
  m_grid->modell()->spalten()[m_index].ausrichtung = ausrichtung;
  m_grid->modell()->spalteGeaendert(m_index);
}

// --- TabulonSpalten, TabulonZeile ---

int TabulonSpalten::Count() const {
  return m_grid->modell()->columnCount();
}

TabulonSpalte TabulonSpalten::operator()(int nummer) const {
  return m_grid->Columns(nummer);
}

QVariant TabulonZeile::Value(int spalte) const {
  return spalte >= 1 && spalte <= m_werte.size() ? m_werte[spalte - 1] : QVariant();
}

// --- Tabulon ---

Tabulon::Tabulon(QWidget* parent) : QTableView(parent), m_modell(new TabulonModell(this)) {
  setModel(m_modell);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWordWrap(false);
  setTabKeyNavigation(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &Tabulon::SelectionChange);
}

Tabulon::~Tabulon() = default;

void Tabulon::ClearFields() {
  m_layoutGeleert = true;
  m_modell->layoutLeeren();
  for (int i = 0; i < m_modell->columnCount(); ++i)
    setColumnHidden(i, false);
}

void Tabulon::Rebind() {
  QStringList namen;
  QList<QVariantList> zeilen;
  if (!m_databaseName.isEmpty() && m_recordSource.gueltig()) {
    Datensatzquelle quelle;
    quelle.verbinden(m_databaseName);
    quelle.abfrageSetzen(m_recordSource);
    namen = quelle.spalten();
    const int anzahl = quelle.zeilenAnzahl();
    zeilen.reserve(anzahl);
    for (int z = 0; z < anzahl; ++z) {
      QVariantList zeile;
      zeile.reserve(namen.size());
      for (int s = 0; s < namen.size(); ++s)
        zeile.append(quelle.wert(z, s));
      zeilen.append(zeile);
    }
    quelle.schliessen();
  }
  const bool hatteAuswahl = selectionModel()->hasSelection();
  const int vorher = m_modell->columnCount();
  m_modell->setzen(namen, zeilen);
  if (m_layoutGeleert) {
    for (int i = 0; i < m_modell->columnCount(); ++i) {
      setColumnHidden(i, false);
      setColumnWidth(i, horizontalHeader()->defaultSectionSize());
    }
    m_layoutGeleert = false;
  } else {
    for (int i = vorher; i < m_modell->columnCount(); ++i)
      setColumnHidden(i, false);
  }
  // A model reset clears the selection without a signal of its own.
  if (hatteAuswahl)
    emit SelectionChange();
}

TabulonSpalte Tabulon::Columns(int nummer) {
  const int index = nummer >= 1 && nummer <= m_modell->columnCount() ? nummer - 1 : -1;
  return TabulonSpalte(this, index);
}

void Tabulon::setRowColorEven(const QColor& farbe) {
  m_gerade = farbe;
  m_modell->farbenSetzen(m_gerade, m_ungerade);
}

void Tabulon::setRowColorOdd(const QColor& farbe) {
  m_ungerade = farbe;
  m_modell->farbenSetzen(m_gerade, m_ungerade);
}

int Tabulon::Row() const {
  const QModelIndex aktuell = currentIndex();
  return aktuell.isValid() ? aktuell.row() : -1;
}

void Tabulon::setRow(int zeile) {
  if (zeile < 0 || zeile >= m_modell->rowCount())
    return;
  const int spalte = currentIndex().isValid() ? currentIndex().column() : 0;
  selectionModel()->setCurrentIndex(m_modell->index(zeile, spalte), QItemSelectionModel::NoUpdate);
}

bool Tabulon::RowSelected(int zeile) const {
  if (zeile < 0 || zeile >= m_modell->rowCount())
    return false;
  return selectionModel()->isRowSelected(zeile, QModelIndex());
}

QList<TabulonAuswahl> Tabulon::SelectedItems() const {
  QList<TabulonAuswahl> liste;
  for (int z = 0; z < m_modell->rowCount(); ++z) {
    if (selectionModel()->isRowSelected(z, QModelIndex()))
      liste.append(TabulonAuswahl{z});
  }
  return liste;
}

TabulonZeile Tabulon::GetRowData(int RowPosition) const {
  TabulonZeile zeile;
  zeile.m_werte = m_modell->zeile(RowPosition);
  return zeile;
}
