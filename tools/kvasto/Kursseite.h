#pragma once
// The exchange rates of the shared data file: every currency with its rate (units per euro) and
// whether the booking dialogs offer it; new currencies, changed rates, a currency switched on or
// off, and the insurance currency in which the inventory states its values.

#include "Haushaltsbuch.h"

#include <QWidget>

class QComboBox;
class QPushButton;
class QTableWidget;

class Kursseite : public QWidget {
  Q_OBJECT

 public:
  Kursseite(Haushaltsbuch& buch, QWidget* parent = nullptr);

  void laden();
  const QList<Kurs>& kurse() const { return m_kurse; }

 signals:
  void geaendert();

 protected:
  bool eventFilter(QObject* ziel, QEvent* ereignis) override;

 private:
  void neu();
  void kursAendern();
  void aktivUmschalten();
  void versicherungGewaehlt();
  const Kurs* aktueller() const;
  void gespeichert(const Aenderung& e);

  Haushaltsbuch& m_buch;
  QList<Kurs> m_kurse;
  QTableWidget* m_tabelle;
  QComboBox* m_versicherung;
  QPushButton* m_aendern;
  QPushButton* m_aktiv;
};
