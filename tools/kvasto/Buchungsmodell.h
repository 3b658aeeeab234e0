#pragma once
// The booking list of a household book as a table model: it holds the row numbers of the
// bookings that pass the filter and reads the rows themselves in blocks as the view shows them,
// so a book of 100,000 bookings opens as quickly as the engine sorts its numbers.

#include "Buchungsleser.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>

class Buchungsmodell : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Spalte {
    Nr,
    Datum,
    Konto,
    Art,
    Partner,
    Kategorie,
    Zweck,
    Betrag,
    Waehrung,
    Einnahme,
    Ausgabe,
    Spaltenzahl
  };

  explicit Buchungsmodell(QObject* parent = nullptr);

  // Reads the row numbers anew; false (and no rows) when the book could not be read.
  bool laden(Buchungsleser* leser, const Buchungsfilter& filter);
  void leeren();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The row number (rowid) of a list row; -1 outside the list.
  qint64 zeilennummer(int zeile) const;
  // A list row's columns (Buchungsspalte order); empty when the booking is gone.
  QVariantList buchung(int zeile) const;
  // The text a list cell shows.
  static QString text(const QVariantList& buchung, int spalte);

 private:
  const QVariantList* zeileLesen(int zeile) const;

  Buchungsleser* m_leser = nullptr;
  QList<qint64> m_nummern;
  // Blocks of rows read so far; dropped all at once when there are too many.
  mutable QHash<int, QHash<qint64, QVariantList>> m_bloecke;
};
