#include "Kontenseite.h"

#include "Eingabedialog.h"
#include "Meldung.h"
#include "Werte.h"
#include "Zustand.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

Kontenseite::Kontenseite(Haushaltsbuch& buch, QWidget* parent) : QWidget(parent), m_buch(buch) {
  setObjectName(u"seiteKonten"_s);
  auto* layout = new QVBoxLayout(this);
  m_tabelle = new QTableWidget(0, 4, this);
  m_tabelle->setObjectName(u"tblKonten"_s);
  m_tabelle->setHorizontalHeaderLabels({u"Konto"_s, u"Währung"_s, u"Beginn"_s, u"Buchungen"_s});
  m_tabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_tabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_tabelle->setSelectionMode(QAbstractItemView::SingleSelection);
  m_tabelle->verticalHeader()->hide();
  m_tabelle->horizontalHeader()->setStretchLastSection(true);
  m_tabelle->installEventFilter(this);
  layout->addWidget(m_tabelle);

  auto* knoepfe = new QHBoxLayout;
  m_neu = new QPushButton(u"&Neues Konto ..."_s, this);
  m_neu->setObjectName(u"cmdNeu"_s);
  m_bearbeiten = new QPushButton(u"Konto &ändern ..."_s, this);
  m_bearbeiten->setObjectName(u"cmdBearbeiten"_s);
  m_loeschen = new QPushButton(u"Konto &löschen"_s, this);
  m_loeschen->setObjectName(u"cmdLoeschen"_s);
  for (QPushButton* k : {m_neu, m_bearbeiten, m_loeschen})
    knoepfe->addWidget(k);
  knoepfe->addStretch();
  layout->addLayout(knoepfe);

  connect(m_neu, &QPushButton::clicked, this, &Kontenseite::neu);
  connect(m_bearbeiten, &QPushButton::clicked, this, &Kontenseite::bearbeiten);
  connect(m_loeschen, &QPushButton::clicked, this, &Kontenseite::loeschen);
  connect(m_tabelle, &QTableWidget::cellDoubleClicked, this, &Kontenseite::bearbeiten);
}

void Kontenseite::laden(const QHash<QString, int>& buchungen) {
  const QString bisher = aktuelles() ? aktuelles()->name : QString();
  m_konten = m_buch.konten();
  m_tabelle->setRowCount(int(m_konten.size()));
  for (int i = 0; i < m_konten.size(); ++i) {
    const Konto& k = m_konten[i];
    // Bookings name their account in any letter case, as the tray program finds it.
    int anzahl = 0;
    for (auto it = buchungen.cbegin(); it != buchungen.cend(); ++it) {
      if (it.key().compare(k.name, Qt::CaseInsensitive) == 0)
        anzahl += it.value();
    }
    const QStringList texte = {k.name, k.waehrung,
                               k.beginn.isValid() ? Werte::datumText(k.beginn) : QString(),
                               QString::number(anzahl)};
    for (int s = 0; s < texte.size(); ++s) {
      auto* item = new QTableWidgetItem(texte[s]);
      if (s == 3)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      m_tabelle->setItem(i, s, item);
    }
    if (k.name == bisher)
      m_tabelle->selectRow(i);
  }
  if (!m_konten.isEmpty() && m_tabelle->currentRow() < 0)
    m_tabelle->selectRow(0);
  m_tabelle->resizeColumnsToContents();
  m_bearbeiten->setEnabled(!m_konten.isEmpty());
  m_loeschen->setEnabled(!m_konten.isEmpty());
}

const Konto* Kontenseite::aktuelles() const {
  const int zeile = m_tabelle->currentRow();
  return zeile >= 0 && zeile < m_konten.size() ? &m_konten[zeile] : nullptr;
}

bool Kontenseite::kontoDialog(const Konto* bisher) {
  QStringList waehrungen;
  for (const Kurs& k : m_buch.kurse()) {
    if (k.aktiv)
      waehrungen.append(k.waehrung);
  }
  // An account in a currency that is no longer active keeps it on offer.
  if (bisher && !waehrungen.contains(bisher->waehrung))
    waehrungen.append(bisher->waehrung);
  const QDate heute = Werte::datum(zustand().HeuteText).value_or(QDate::currentDate());
  const QString ersteWaehrung = waehrungen.contains(u"EUR"_s) ? u"EUR"_s : waehrungen.value(0);
  const Konto vorgabe =
      bisher ? *bisher : Konto{QString(), ersteWaehrung, QDate(heute.year(), 1, 1)};

  Eingabedialog d(this, bisher ? u"Konto ändern"_s : u"Neues Konto"_s);
  auto* name = d.textfeld(u"txtName"_s, u"&Name:"_s, vorgabe.name);
  auto* waehrung = d.auswahl(u"cboWaehrung"_s, u"&Währung:"_s, waehrungen, vorgabe.waehrung);
  auto* beginn = d.textfeld(u"txtBeginn"_s, u"&Beginn:"_s, Werte::datumText(vorgabe.beginn));
  d.beimSpeichern([&] {
    const Konto neu{name->text(), waehrung->currentText(),
                    Werte::datum(beginn->text()).value_or(QDate())};
    return bisher ? m_buch.kontoAendern(bisher->name, neu) : m_buch.kontoAnlegen(neu);
  });
  return d.exec() == QDialog::Accepted;
}

void Kontenseite::neu() {
  if (kontoDialog(nullptr))
    emit geaendert();
}

void Kontenseite::bearbeiten() {
  if (const Konto* k = aktuelles()) {
    const Konto bisher = *k;
    if (kontoDialog(&bisher))
      emit geaendert();
  }
}

void Kontenseite::loeschen() {
  const Konto* k = aktuelles();
  if (!k)
    return;
  const QString name = k->name;
  // Said at once when bookings use it; asked first otherwise, and counted again when deleting.
  if (const int anzahl = m_buch.buchungenMitKonto(name); anzahl > 0) {
    Aenderung::verwendet(name, anzahl).melden();
    return;
  }
  if (Meldung(Text(3043).arg(name), Text(3143), 36, 3043, 3143) != Antwort::Ja)
    return;
  const Aenderung e = m_buch.kontoLoeschen(name);
  e.melden();
  if (e.ok())
    emit geaendert();
}

bool Kontenseite::eventFilter(QObject* ziel, QEvent* ereignis) {
  if (ziel == m_tabelle && ereignis->type() == QEvent::KeyPress) {
    const int taste = static_cast<QKeyEvent*>(ereignis)->key();
    if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
      bearbeiten();
      return true;
    }
    if (taste == Qt::Key_Delete) {
      loeschen();
      return true;
    }
  }
  return QWidget::eventFilter(ziel, ereignis);
}
