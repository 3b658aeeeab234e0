#pragma once
// The rows behind a Tabulon, held in memory: column names, values as the data layer reads them,
// and per column the layout (shown, format, alignment). Read-only.

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QStringList>
#include <QVariantList>

class TabulonModell : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Alignment values of a column.
  enum Ausrichtung { Standard = 0, Links = 1, Rechts = 2, Mitte = 3 };

  struct Spalte {
    QString name;
    QString format;
    int ausrichtung = Standard;
  };

  using QAbstractTableModel::QAbstractTableModel;

  // New rows; the column layout is kept for columns at the same position.
  void setzen(const QStringList& namen, const QList<QVariantList>& zeilen);
  // Forgets the column layout (formats and alignments).
  void layoutLeeren();

  const QVariantList& zeile(int zeile) const;
  QList<Spalte>& spalten() { return m_spalten; }
  const QList<Spalte>& spalten() const { return m_spalten; }

  void farbenSetzen(const QColor& gerade, const QColor& ungerade);
  // A column's layout changed: shown again.
  void spalteGeaendert(int spalte);

  // The text a cell shows: the value passed through the column's format.
  static QString zellentext(const QVariant& wert, const QString& format);

  int rowCount(const QModelIndex& eltern = {}) const override;
  int columnCount(const QModelIndex& eltern = {}) const override;
  QVariant data(const QModelIndex& index, int rolle = Qt::DisplayRole) const override;
  QVariant headerData(int abschnitt, Qt::Orientation richtung,
                      int rolle = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  QList<Spalte> m_spalten;
  QList<QVariantList> m_zeilen;
  QColor m_gerade;
  QColor m_ungerade;
};
