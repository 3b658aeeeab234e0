#pragma once
// The bookings page: the list of the open book, newest first, filtered by account, month,
// category and a text; the income and expense per month and per main category of what the filter
// lets through; a bar chart of the last twelve months; one booking corrected or deleted (with its
// inventory item); the list exported as CSV.

#include "Buchungsleser.h"
#include "Buchungsmodell.h"
#include "Haushaltsbuch.h"
#include "Summen.h"

#include <QWidget>

class Monatsdiagramm;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class QTimer;

class Buchungsseite : public QWidget {
  Q_OBJECT

 public:
  Buchungsseite(Haushaltsbuch& buch, QWidget* parent = nullptr);

  // A book was opened (leser reads it) or closed (nullptr): the filters start empty.
  void buchGewechselt(Buchungsleser* leser, const QString& benutzer);
  // Everything again with the filters as they are (after a change of the book).
  void laden();

  Buchungsfilter filter() const;
  Buchungsmodell* modell() const { return m_modell; }
  QTableView* liste() const { return m_liste; }
  const QList<Summenzeile>& monatssummen() const { return m_monate; }
  const QList<Summenzeile>& kategoriesummen() const { return m_kategorien; }

  // The file the export writes; empty: cancelled.
  QString exportzielFragen();

 signals:
  void geaendert();

 protected:
  bool eventFilter(QObject* ziel, QEvent* ereignis) override;

 private:
  void filterlistenFuellen();
  void listeLaden();
  void summenLaden();
  void monatslisteFuellen();
  void bearbeiten();
  void loeschen();
  void exportieren();
  int aktuelleZeile() const;
  // The currency in which the sums of the whole filter are one currency; empty when the accounts
  // of the filter keep different ones.
  QString eineWaehrung() const;

  Haushaltsbuch& m_buch;
  Buchungsleser* m_leser = nullptr;
  QString m_benutzer;
  QList<Konto> m_konten;
  QList<QPair<QString, QString>> m_kategorienTabelle;  // Kategorie, Unterkategorie
  QList<Summenzeile> m_monate;
  QList<Summenzeile> m_kategorien;

  QComboBox* m_konto;
  QComboBox* m_monat;
  QComboBox* m_kategorie;
  QLineEdit* m_suche;
  QTimer* m_sucheVerzoegert;
  QTableView* m_liste;
  Buchungsmodell* m_modell;
  QLabel* m_anzahl;
  QLabel* m_status;
  QPushButton* m_bearbeiten;
  QPushButton* m_loeschen;
  QPushButton* m_exportieren;
  QTableWidget* m_monatstabelle;
  QTableWidget* m_kategorietabelle;
  Monatsdiagramm* m_diagramm;
};
