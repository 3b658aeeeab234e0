#pragma once
// Tabulon: the data grid of the move dialog. It lists the rows of a query on a household-book
// file. Rebind reads them all at once through the data layer and closes the file again, so the
// grid holds no statement or lock while it shows them; it never writes. Several rows can be
// selected (click, Ctrl+click, Shift+click, Shift+arrows). Columns are numbered from 1, rows from
// 0; widths are in twips (15 per pixel).
//
//   Tabulon1->setDatabaseName(zustand().Benutzerdatei);
//   Tabulon1->setLockType(3);
//   Tabulon1->setRecordSource(Abfrage(u"Buchungen"_s, {u"ID"_s, u"Datum"_s})
//                                 .wo(u"Kategorie"_s, name).sortiert({u"Datum"_s, u"ID"_s}));
//   Tabulon1->ClearFields();
//   Tabulon1->Rebind();
//   Tabulon1->Columns(2).setWidth(1200);
//   Tabulon1->Columns(2).setFormat(u"dd.mm.yyyy"_s);
//   for (const TabulonAuswahl& eintrag : Tabulon1->SelectedItems())
//     int id = Tabulon1->GetRowData(eintrag.RowPosition).Value(1).toInt();

#include "Abfrage.h"

#include <QColor>
#include <QList>
#include <QTableView>
#include <QVariantList>

class Tabulon;
class TabulonModell;

// One column of the grid. A column number outside the grid gives a column that ignores every
// setting and reports the defaults.
class TabulonSpalte {
 public:
  // TextAlignment values: 0 by the value (numbers right, texts left), 1 left, 2 right, 3 centre.
  enum Ausrichtung { Standard = 0, Links = 1, Rechts = 2, Mitte = 3 };

  bool Visible() const;
  void setVisible(bool sichtbar);
  // Twips.
  int Width() const;
  void setWidth(int twips);
  // A format of the value texts ("dd.mm.yyyy", "##,##0.00" ...); empty: the value's own text.
  QString Format() const;
  void setFormat(const QString& format);
  int TextAlignment() const;
  void setTextAlignment(int ausrichtung);

 private:
  friend class Tabulon;
  TabulonSpalte(Tabulon* grid, int index) : m_grid(grid), m_index(index) {}
  bool gueltig() const;
  Tabulon* m_grid;
  int m_index;  // 0-based; -1 outside
};

// The columns of the grid, as a collection.
class TabulonSpalten {
 public:
  int Count() const;
  TabulonSpalte operator()(int nummer) const;

 private:
  friend class Tabulon;
  explicit TabulonSpalten(Tabulon* grid) : m_grid(grid) {}
  Tabulon* m_grid;
};

// One entry of SelectedItems.
struct TabulonAuswahl {
  int RowPosition = -1;
};

// The values of one row, as the data layer reads them (not formatted).
class TabulonZeile {
 public:
  // Column number from 1; an invalid QVariant outside the row.
  QVariant Value(int spalte) const;

 private:
  friend class Tabulon;
  QVariantList m_werte;
};

class Tabulon : public QTableView {
  Q_OBJECT
  Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE setDatabaseName)
  Q_PROPERTY(int LockType READ LockType WRITE setLockType)
  Q_PROPERTY(QColor RowColorEven READ RowColorEven WRITE setRowColorEven)
  Q_PROPERTY(QColor RowColorOdd READ RowColorOdd WRITE setRowColorOdd)
  Q_PROPERTY(int Row READ Row WRITE setRow)

 public:
  explicit Tabulon(QWidget* parent = nullptr);
  ~Tabulon() override;

  // The file the rows come from.
  QString DatabaseName() const { return m_databaseName; }
  void setDatabaseName(const QString& pfad) { m_databaseName = pfad; }
  // Kept for the caller (3: optimistic); the grid only reads, so no lock is ever taken.
  int LockType() const { return m_lockType; }
  void setLockType(int art) { m_lockType = art; }
  const Abfrage& RecordSource() const { return m_recordSource; }
  void setRecordSource(const Abfrage& abfrage) { m_recordSource = abfrage; }

  // Forgets the column layout, so that the next Rebind builds the columns afresh.
  void ClearFields();
  // Reads the rows of RecordSource from DatabaseName. A missing file or an invalid query gives
  // an empty grid. The selection is cleared (SelectionChange).
  void Rebind();

  TabulonSpalten Columns() { return TabulonSpalten(this); }
  TabulonSpalte Columns(int nummer);

  // Background of the rows 0, 2, 4 ... and 1, 3, 5 ...; an invalid colour: the grid's default.
  QColor RowColorEven() const { return m_gerade; }
  void setRowColorEven(const QColor& farbe);
  QColor RowColorOdd() const { return m_ungerade; }
  void setRowColorOdd(const QColor& farbe);

  // The current row (the one with the focus frame), -1 when there is none.
  int Row() const;
  // Moves the current row without changing the selection.
  void setRow(int zeile);
  bool RowSelected(int zeile) const;
  // The selected rows in row order.
  QList<TabulonAuswahl> SelectedItems() const;
  TabulonZeile GetRowData(int RowPosition) const;

  // Internal, for TabulonSpalte.
  TabulonModell* modell() const { return m_modell; }

 signals:
  // The set of selected rows changed.
  void SelectionChange();

 private:
  QString m_databaseName;
  int m_lockType = 0;
  Abfrage m_recordSource;
  TabulonModell* m_modell;
  QColor m_gerade;
  QColor m_ungerade;
  bool m_layoutGeleert = true;
};
