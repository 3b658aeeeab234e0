#pragma once
// A bar chart of income and expense over the last twelve months, painted with Qt's own painter
// (the Windows build has only Qt's base modules).

#include "Summen.h"

#include <QDate>
#include <QList>
#include <QWidget>

struct Monatswert {
  QDate monat;  // the first of the month
  double einnahmen = 0;
  double ausgaben = 0;
};

class Monatsdiagramm : public QWidget {
  Q_OBJECT

 public:
  explicit Monatsdiagramm(QWidget* parent = nullptr);

  // The twelve months up to and including the month of `heute`, from month sums in `waehrung`
  // (months without bookings are 0).
  static QList<Monatswert> letzteZwoelf(const QList<Summenzeile>& monate, const QString& waehrung,
                                        const QDate& heute);

  void setzen(const QList<Monatswert>& werte, const QString& titel);
  const QList<Monatswert>& werte() const { return m_werte; }
  const QString& titel() const { return m_titel; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* ereignis) override;

 private:
  QList<Monatswert> m_werte;
  QString m_titel;
};
