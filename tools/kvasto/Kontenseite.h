#pragma once
// The accounts page: the accounts of the household book with their currency, start date and
// number of bookings; new, changed (name, currency, start date) and deleted ones. An account is
// deleted only while no booking uses it.

#include "Haushaltsbuch.h"

#include <QHash>
#include <QWidget>

class QPushButton;
class QTableWidget;

class Kontenseite : public QWidget {
  Q_OBJECT

 public:
  Kontenseite(Haushaltsbuch& buch, QWidget* parent = nullptr);

  // The accounts of the open book; `buchungen`: bookings per account name as stored.
  void laden(const QHash<QString, int>& buchungen);
  const QList<Konto>& konten() const { return m_konten; }
  QPushButton* neuKnopf() const { return m_neu; }

 signals:
  // A change was stored: whatever shows accounts reads them again.
  void geaendert();

 protected:
  bool eventFilter(QObject* ziel, QEvent* ereignis) override;

 private:
  void neu();
  void bearbeiten();
  void loeschen();
  // The dialog for a new account (bisher null) or a change; true when one was stored.
  bool kontoDialog(const Konto* bisher);
  const Konto* aktuelles() const;

  Haushaltsbuch& m_buch;
  QList<Konto> m_konten;
  QTableWidget* m_tabelle;
  QPushButton* m_neu;
  QPushButton* m_bearbeiten;
  QPushButton* m_loeschen;
};
