#include "Eingabedialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

Eingabedialog::Eingabedialog(QWidget* parent, const QString& titel) : QDialog(parent) {
  setWindowTitle(titel);
  auto* layout = new QVBoxLayout(this);
  m_formular = new QFormLayout;
  layout->addLayout(m_formular);
  auto* knoepfe = new QDialogButtonBox(this);
  auto* ok = knoepfe->addButton(u"&OK"_s, QDialogButtonBox::AcceptRole);
  ok->setObjectName(u"cmdOK"_s);
  ok->setDefault(true);
  auto* abbrechen = knoepfe->addButton(u"&Abbrechen"_s, QDialogButtonBox::RejectRole);
  abbrechen->setObjectName(u"cmdAbbrechen"_s);
  m_knoepfe = {ok, abbrechen};
  connect(knoepfe, &QDialogButtonBox::accepted, this, &Eingabedialog::accept);
  connect(knoepfe, &QDialogButtonBox::rejected, this, &Eingabedialog::reject);
  layout->addWidget(knoepfe);
}

void Eingabedialog::hinzufuegen(const QString& name, const QString& beschriftung, QWidget* w) {
  w->setParent(this);
  w->setObjectName(name);
  auto* label = new QLabel(beschriftung, this);
  label->setBuddy(w);
  m_formular->addRow(label, w);
  m_felder.append(w);
}

void Eingabedialog::showEvent(QShowEvent* ereignis) {
  // The fields were added after the buttons: they come first, in the order they were added,
  // and the first one has the focus.
  const QList<QWidget*> folge = m_felder + m_knoepfe;
  for (qsizetype i = 1; i < folge.size(); ++i)
    setTabOrder(folge[i - 1], folge[i]);
  if (!m_felder.isEmpty())
    m_felder.first()->setFocus(Qt::TabFocusReason);
  QDialog::showEvent(ereignis);
}

QLineEdit* Eingabedialog::textfeld(const QString& name, const QString& beschriftung,
                                   const QString& text) {
  auto* f = feld(name, beschriftung, new QLineEdit(text));
  f->setMinimumWidth(220);
  return f;
}

QComboBox* Eingabedialog::auswahl(const QString& name, const QString& beschriftung,
                                  const QStringList& eintraege, const QString& text,
                                  bool editierbar) {
  auto* l = feld(name, beschriftung, new QComboBox);
  l->setEditable(editierbar);
  if (editierbar) {
    l->setInsertPolicy(QComboBox::NoInsert);
    l->setCompleter(nullptr);
  }
  l->addItems(eintraege);
  const int i = l->findText(text, Qt::MatchFixedString);
  if (i >= 0)
    l->setCurrentIndex(i);
  else if (editierbar)
    l->setEditText(text);
  return l;
}

void Eingabedialog::accept() {
  if (!m_speichern) {
    QDialog::accept();
    return;
  }
  const Aenderung e = m_speichern();
  if (e.ok()) {
    QDialog::accept();
    return;
  }
  e.melden();
  if (auto* w = findChild<QWidget*>(e.feld); w && !e.feld.isEmpty()) {
    w->setFocus(Qt::OtherFocusReason);
    if (auto* f = qobject_cast<QLineEdit*>(w))
      f->selectAll();
    else if (auto* l = qobject_cast<QComboBox*>(w); l && l->lineEdit())
      l->lineEdit()->selectAll();
  }
}
