#include "Kursseite.h"

#include "Eingabedialog.h"
#include "Werte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

Kursseite::Kursseite(Haushaltsbuch& buch, QWidget* parent) : QWidget(parent), m_buch(buch) {
  setObjectName(u"seiteKurse"_s);
  auto* layout = new QVBoxLayout(this);
  m_tabelle = new QTableWidget(0, 3, this);
  m_tabelle->setObjectName(u"tblKurse"_s);
  m_tabelle->setHorizontalHeaderLabels({u"Währung"_s, u"Kurs (Einheiten je Euro)"_s, u"Aktiv"_s});
  m_tabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_tabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_tabelle->setSelectionMode(QAbstractItemView::SingleSelection);
  m_tabelle->verticalHeader()->hide();
  m_tabelle->horizontalHeader()->setStretchLastSection(true);
  m_tabelle->installEventFilter(this);
  layout->addWidget(m_tabelle);

  auto* knoepfe = new QHBoxLayout;
  auto* neu = new QPushButton(u"&Neue Währung ..."_s, this);
  neu->setObjectName(u"cmdNeu"_s);
  m_aendern = new QPushButton(u"Kurs ände&rn ..."_s, this);
  m_aendern->setObjectName(u"cmdKurs"_s);
  m_aktiv = new QPushButton(u"Akti&v ein/aus"_s, this);
  m_aktiv->setObjectName(u"cmdAktiv"_s);
  for (QPushButton* k : {neu, m_aendern, m_aktiv})
    knoepfe->addWidget(k);
  knoepfe->addStretch();
  layout->addLayout(knoepfe);

  auto* zeile = new QHBoxLayout;
  auto* label = new QLabel(u"Vers&icherungswährung (Werte des Inventars):"_s, this);
  m_versicherung = new QComboBox(this);
  m_versicherung->setObjectName(u"cboVersicherung"_s);
  label->setBuddy(m_versicherung);
  zeile->addWidget(label);
  zeile->addWidget(m_versicherung);
  zeile->addStretch();
  layout->addLayout(zeile);

  connect(neu, &QPushButton::clicked, this, &Kursseite::neu);
  connect(m_aendern, &QPushButton::clicked, this, &Kursseite::kursAendern);
  connect(m_aktiv, &QPushButton::clicked, this, &Kursseite::aktivUmschalten);
  connect(m_tabelle, &QTableWidget::cellDoubleClicked, this, &Kursseite::kursAendern);
  connect(m_versicherung, &QComboBox::activated, this, &Kursseite::versicherungGewaehlt);
}

void Kursseite::laden() {
  const QString bisher = aktueller() ? aktueller()->waehrung : QString();
  m_kurse = m_buch.kurse();
  m_tabelle->setRowCount(int(m_kurse.size()));
  QStringList codes;
  for (int i = 0; i < m_kurse.size(); ++i) {
    const Kurs& k = m_kurse[i];
    codes.append(k.waehrung);
    m_tabelle->setItem(i, 0, new QTableWidgetItem(k.waehrung));
    // As the booking dialog reads it: a 32-bit number.
    auto* kurs = new QTableWidgetItem(Werte::floatText(static_cast<float>(k.kurs)));
    kurs->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_tabelle->setItem(i, 1, kurs);
    auto* aktiv = new QTableWidgetItem(k.aktiv ? u"ja"_s : u"nein"_s);
    aktiv->setCheckState(k.aktiv ? Qt::Checked : Qt::Unchecked);
    m_tabelle->setItem(i, 2, aktiv);
    if (k.waehrung == bisher)
      m_tabelle->selectRow(i);
  }
  if (!m_kurse.isEmpty() && m_tabelle->currentRow() < 0)
    m_tabelle->selectRow(0);
  m_tabelle->resizeColumnsToContents();
  m_aendern->setEnabled(!m_kurse.isEmpty());
  m_aktiv->setEnabled(!m_kurse.isEmpty());

  const QString versicherung = m_buch.versicherungswaehrung();
  const QSignalBlocker sperre(m_versicherung);
  m_versicherung->clear();
  if (!versicherung.isEmpty() && !codes.contains(versicherung))
    codes.prepend(versicherung);
  m_versicherung->addItems(codes);
  m_versicherung->setCurrentIndex(m_versicherung->findText(versicherung));
}

const Kurs* Kursseite::aktueller() const {
  const int zeile = m_tabelle->currentRow();
  return zeile >= 0 && zeile < m_kurse.size() ? &m_kurse[zeile] : nullptr;
}

void Kursseite::gespeichert(const Aenderung& e) {
  e.melden();
  if (e.ok())
    emit geaendert();
}

void Kursseite::neu() {
  Eingabedialog d(this, u"Neue Währung"_s);
  auto* code = d.textfeld(u"txtWaehrung"_s, u"&Währungscode:"_s, QString());
  code->setMaxLength(3);
  auto* kurs = d.textfeld(u"txtKurs"_s, u"&Kurs (Einheiten je Euro):"_s, QString());
  auto* aktiv =
      d.feld(u"chkAktiv"_s, u"&Aktiv:"_s, new QCheckBox(u"in den Buchungsdialogen anbieten"_s));
  aktiv->setChecked(true);
  d.beimSpeichern(
      [&] { return m_buch.kursAnlegen(code->text(), kurs->text(), aktiv->isChecked()); });
  if (d.exec() == QDialog::Accepted)
    emit geaendert();
}

void Kursseite::kursAendern() {
  const Kurs* k = aktueller();
  if (!k)
    return;
  const Kurs bisher = *k;
  Eingabedialog d(this, u"Kurs ändern: %1"_s.arg(bisher.waehrung));
  auto* kurs = d.textfeld(u"txtKurs"_s, u"&Kurs (Einheiten je Euro):"_s,
                          Werte::floatText(static_cast<float>(bisher.kurs)));
  d.beimSpeichern([&] { return m_buch.kursAendern(bisher.waehrung, kurs->text()); });
  if (d.exec() == QDialog::Accepted)
    emit geaendert();
}

void Kursseite::aktivUmschalten() {
  if (const Kurs* k = aktueller())
    gespeichert(m_buch.aktivSetzen(k->waehrung, !k->aktiv));
}

void Kursseite::versicherungGewaehlt() {
  const QString code = m_versicherung->currentText();
  if (code == m_buch.versicherungswaehrung())
    return;
  const Aenderung e = m_buch.versicherungSetzen(code);
  gespeichert(e);
  if (!e.ok())
    laden();
}

bool Kursseite::eventFilter(QObject* ziel, QEvent* ereignis) {
  if (ziel == m_tabelle && ereignis->type() == QEvent::KeyPress) {
    const int taste = static_cast<QKeyEvent*>(ereignis)->key();
    if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
      kursAendern();
      return true;
    }
    if (taste == Qt::Key_Space) {
      aktivUmschalten();
      return true;
    }
  }
  return QWidget::eventFilter(ziel, ereignis);
}
