#pragma once
// The window of the stand-in main program: the bookings of one household book, read-only.

#include <QWidget>

class QComboBox;
class QLabel;
class QTableWidget;

class Buchungsliste : public QWidget {
  Q_OBJECT

 public:
  explicit Buchungsliste(const QString& programmordner);

 private:
  void benutzerLaden();
  void buchungenLaden();

  QString m_ordner;
  QComboBox* m_benutzer;
  QLabel* m_hinweis;
  QTableWidget* m_tabelle;
};
