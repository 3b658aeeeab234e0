#include "frmKategorie.h"

#include "Beschriftungsdelegat.h"
#include "Bildliste.h"
#include "Kategoriebilder.h"
#include "Knotenklick.h"
#include "Meldung.h"
#include "Module1.h"
#include "Schluesselbaum.h"
#include "Sprache.h"
#include "SpracheAnwenden.h"
#include "Textvergleich.h"
#include "Transaktion.h"
#include "Zustand.h"
#include "frmVerschieben.h"
#include "ui_frmKategorie.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSet>
#include <QTimer>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString Wurzeltext = u"Kategorie"_s;

// Marks the time in which the program itself changes the tree: what the tree reports then are
// no user events.
class ProgrammAendert {
 public:
  explicit ProgrammAendert(int& zaehler) : m_zaehler(zaehler) { ++m_zaehler; }
  ~ProgrammAendert() { --m_zaehler; }
  ProgrammAendert(const ProgrammAendert&) = delete;
  ProgrammAendert& operator=(const ProgrammAendert&) = delete;

 private:
  int& m_zaehler;
};

// "The parent's text is Kategorie": a node without a parent cannot be asked, and a condition
// that cannot be evaluated counts as true.
bool elternIstWurzel(const QTreeWidgetItem* knoten) {
  return !knoten->parent() || knoten->parent()->text(0) == Wurzeltext;
}

// A main category or the root, as the buttons, the menu and delete tell them apart.
bool hauptkategorieOderWurzel(const QTreeWidgetItem* knoten) {
  return knoten->text(0) == Wurzeltext || elternIstWurzel(knoten);
}

// The 16-bit counters do not go past their maximum.
void weiterzaehlen(qint16& zaehler) {
  if (zaehler < 32767)
    ++zaehler;
}

bool istLoeschtaste(const QKeyEvent* taste) {
  if (taste->key() == Qt::Key_Delete)
    return true;
  // The decimal key of the numeric pad, whatever character the keyboard layout gives it.
  return (taste->modifiers() & Qt::KeypadModifier) &&
         (taste->key() == Qt::Key_Period || taste->key() == Qt::Key_Comma);
}

}  // namespace

frmKategorie::frmKategorie()
    : ui(new Ui::frmKategorie), ImageList1(new Bildliste(this)), Timer1(new QTimer(this)) {
  ui->setupUi(this);
  KategorieBilderLaden(*ImageList1);
  Nodes = new Schluesselbaum(ui->TreeView1, ImageList1,
                             Schluesselbaum::Haekchen | Schluesselbaum::Beschriftbar);
  ui->TreeView1->setSelectionMode(QAbstractItemView::SingleSelection);
  // Before the dialog's own key filter, which takes the Delete key first.
  connect(new Knotenklick(ui->TreeView1), &Knotenklick::NodeClick, this,
          &frmKategorie::TreeView1_NodeClick);
  ui->TreeView1->installEventFilter(this);
  ui->TreeView1->viewport()->installEventFilter(this);

  auto* delegat = new Beschriftungsdelegat(ui->TreeView1);
  ui->TreeView1->setItemDelegate(delegat);
  connect(delegat, &Beschriftungsdelegat::bearbeitungBeginnt, this,
          &frmKategorie::TreeView1_BeforeLabelEdit);
  connect(delegat, &Beschriftungsdelegat::bearbeitungEndet, this,
          &frmKategorie::TreeView1_AfterLabelEdit);

  connect(ui->TreeView1, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* knoten) {
    // Labels are only ever set by the program, so a change the user made is a tax mark.
    if (m_programm == 0)
      TreeView1_NodeCheck(knoten);
  });

  // The tree's context menu; its items run the buttons' code once the menu has closed.
  mnuNeu = new QMenu(u"Neu"_s, this);
  mnuNeu->setObjectName(u"mnuNeu"_s);
  mnuNeu_Neu = mnuNeu->addMenu(u"Neu"_s);
  mnuNeu_Neu->setObjectName(u"mnuNeu_Neu"_s);
  mnuNeu_Neu->setProperty("Tag", u"759"_s);
  const auto eintrag = [this](QMenu* menue, const QString& name, const QString& text,
                              const QString& tag, void (frmKategorie::*befehl)()) {
    QAction* a = menue->addAction(text);
    a->setObjectName(name);
    a->setProperty("Tag", tag);
    connect(a, &QAction::triggered, this, befehl, Qt::QueuedConnection);
    return a;
  };
  mnuNeu_Kategorie = eintrag(mnuNeu_Neu, u"mnuNeu_Kategorie"_s, u"Kategorie"_s, u"757"_s,
                             &frmKategorie::cmdNeueKategorie_Click);
  mnuNeu_Eintrag = eintrag(mnuNeu_Neu, u"mnuNeu_Eintrag"_s, u"Eintrag"_s, u"756"_s,
                           &frmKategorie::cmdNeuerEintrag_Click);
  mnuNeu_Umbenennen = eintrag(mnuNeu, u"mnuNeu_Umbenennen"_s, u"Umbenennen"_s, u"761"_s,
                              &frmKategorie::cmdUmbenennen_Click);
  mnuNeu_Leer1 = mnuNeu->addSeparator();
  mnuNeu_Leer1->setObjectName(u"mnuNeu_Leer1"_s);
  mnuNeu_Loeschen = eintrag(mnuNeu, u"mnuNeu_Loeschen"_s, u"Löschen"_s, u"758"_s,
                            &frmKategorie::cmdLoeschen_Click);

  connect(ui->cmdNeueKategorie, &QPushButton::clicked, this, &frmKategorie::cmdNeueKategorie_Click);
  connect(ui->cmdNeuerEintrag, &QPushButton::clicked, this, &frmKategorie::cmdNeuerEintrag_Click);
  connect(ui->cmdUmbenennen, &QPushButton::clicked, this, &frmKategorie::cmdUmbenennen_Click);
  connect(ui->cmdLoeschen, &QPushButton::clicked, this, &frmKategorie::cmdLoeschen_Click);
  connect(ui->cmdOK, &QPushButton::clicked, this, &frmKategorie::cmdOK_Click);
  connect(ui->cmdAbbrechen, &QPushButton::clicked, this, &frmKategorie::cmdAbbrechen_Click);

  Timer1->setObjectName(u"Timer1"_s);
  Timer1->setSingleShot(true);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &frmKategorie::Timer1_Timer);

  ui->Image1->setPixmap(Kategoriebild(u"kategorien.png"_s));
}

frmKategorie::~frmKategorie() {
  delete Nodes;
  delete ui;
}

void frmKategorie::beimLaden() {
  const QString sprache = BenutzerWert(u"Sprache"_s);
  SpracheAnwenden(sprache);
  setWindowTitle(SprachText(sprachdateiFuer(sprache), u"Sprache"_s, u"755"_s));
  setzeHilfekontext(270);
  const QString datei = zustand().Benutzerdatei;
  Data1.verbinden(datei);
  Data2.verbinden(datei);
  Datenbank::buchdateiOeffnen(datei);
  BaumAufbauen();
  KategorieZaehler = 1;
  EintragZaehler = 1;
  Timer1->start();
  // Above a booking dialog whose tip window shows.
  TippfensterPlatzLassen(this);
}

void frmKategorie::beimEntladen() {
  Timer1->stop();
  Data1.schliessen();
  Data2.schliessen();
}

QTreeWidgetItem* frmKategorie::ausgewaehlterKnoten() const {
  QTreeWidgetItem* knoten = ui->TreeView1->currentItem();
  return knoten && knoten->isSelected() ? knoten : nullptr;
}

void frmKategorie::BaumAufbauen() {
  ProgrammAendert p(m_programm);
  Nodes->leeren();
  QTreeWidgetItem* wurzel = Nodes->hinzufuegen(nullptr, u"f "_s + Wurzeltext, Wurzeltext, 1);
  Nodes->sortiertSetzen(wurzel, true);
  Data1.abfrageSetzen(Abfrage(u"Kategorien"_s).sortiert({u"Kategorie"_s, u"Unterkategorie"_s}));
  for (Data1.ersteZeile(); !Data1.eof(); Data1.naechsteZeile()) {
    const QString k = Data1.wert(u"Kategorie"_s).toString();
    const QString u = Data1.wert(u"Unterkategorie"_s).toString();
    // An existing key makes the addition fail; that is how each main category appears once.
    Nodes->hinzufuegen(wurzel, u"g "_s + k, k, 1);
    if (k.toUpper() != u.toUpper()) {
      if (QTreeWidgetItem* haupt = Nodes->knoten(u"g "_s + k))
        Nodes->hinzufuegen(haupt, u"p "_s + u, u, 2);
    }
  }
  wurzel->setExpanded(true);
  // The root is the selected node until the user clicks another one.
  ui->TreeView1->setCurrentItem(wurzel);
}

void frmKategorie::SteuerMarkenLaden() {
  ProgrammAendert p(m_programm);
  Data1.abfrageSetzen(Abfrage(u"Kategorien"_s));
  // The first row of each name, as a search from the top would find it, for all nodes at once.
  const QHash<QString, int> zeilen = Data1.ersteZeilen(u"Unterkategorie"_s);
  const int spalte = Data1.spaltenIndex(u"Steuer"_s);
  for (QTreeWidgetItem* knoten : Nodes->knotenliste()) {
    bool steuer = false;
    // A node whose name has no row (the root, a new node) is cleared.
    if (const auto it = zeilen.constFind(Textvergleich::schluessel(knoten->text(0)));
        it != zeilen.constEnd()) {
      const QVariant wert = Data1.wert(*it, spalte);
      steuer = !(wert.isValid() && wert.toInt() == 0);
    }
    knoten->setCheckState(0, steuer ? Qt::Checked : Qt::Unchecked);
  }
}

void frmKategorie::Timer1_Timer() {
  Timer1->stop();
  SteuerMarkenLaden();
}

void frmKategorie::TreeViewSubNodesCheck(QTreeWidgetItem* Node, bool Checked) {
  if (!Node)
    return;
  ProgrammAendert p(m_programm);
  Node->setCheckState(0, Checked ? Qt::Checked : Qt::Unchecked);
  for (int i = 0; i < Node->childCount(); ++i)
    TreeViewSubNodesCheck(Node->child(i), Checked);
}

void frmKategorie::TreeView1_NodeCheck(QTreeWidgetItem* Node) {
  TreeViewSubNodesCheck(Node, Node->checkState(0) == Qt::Checked);
}

void frmKategorie::TreeView1_NodeClick(QTreeWidgetItem* Node) {
  if (!Node)
    return;
  zustand().AusgewaehlteKategorie = Node->text(0);
  KategorieKnoepfeFreigeben();
}

void frmKategorie::KategorieKnoepfeFreigeben() {
  QTreeWidgetItem* knoten = ausgewaehlterKnoten();
  if (!knoten)
    return;
  const bool haupt = hauptkategorieOderWurzel(knoten);
  ui->cmdNeueKategorie->setEnabled(haupt);
  ui->cmdNeuerEintrag->setEnabled(true);
}

void frmKategorie::TreeView1_Kontextmenue(const QPoint& ort) {
  QTreeWidgetItem* knoten = ausgewaehlterKnoten();
  if (!knoten)
    return;
  mnuNeu_Eintrag->setVisible(true);
  mnuNeu_Kategorie->setVisible(hauptkategorieOderWurzel(knoten));
  mnuNeu->popup(ort);
}

bool frmKategorie::eventFilter(QObject* objekt, QEvent* ereignis) {
  if (objekt == ui->TreeView1->viewport() &&
      (ereignis->type() == QEvent::MouseButtonPress ||
       ereignis->type() == QEvent::MouseButtonDblClick) &&
      static_cast<QMouseEvent*>(ereignis)->button() == Qt::RightButton) {
    // The menu acts on the selected node; the right button does not select another one.
    return true;
  }
  if (ereignis->type() == QEvent::ContextMenu &&
      (objekt == ui->TreeView1->viewport() || objekt == ui->TreeView1)) {
    auto* anfrage = static_cast<QContextMenuEvent*>(ereignis);
    QPoint ort = anfrage->globalPos();
    // From the keyboard (menu key, Shift+F10) the menu opens below the selected node.
    if (anfrage->reason() != QContextMenuEvent::Mouse) {
      if (QTreeWidgetItem* knoten = ausgewaehlterKnoten()) {
        const QRect rahmen = ui->TreeView1->visualItemRect(knoten);
        ort = ui->TreeView1->viewport()->mapToGlobal(QPoint(rahmen.left() + 40, rahmen.bottom()));
      }
    }
    TreeView1_Kontextmenue(ort);
    return true;
  }
  if (objekt == ui->TreeView1 && ereignis->type() == QEvent::KeyPress) {
    auto* taste = static_cast<QKeyEvent*>(ereignis);
    if (istLoeschtaste(taste)) {
      cmdLoeschen_Click();
      return true;
    }
  }
  return Formular::eventFilter(objekt, ereignis);
}

void frmKategorie::NeueKategorieAnlegen(QTreeWidgetItem* ausgewaehlt) {
  QTreeWidgetItem* wurzel =
      ausgewaehlt->text(0) == Wurzeltext ? ausgewaehlt : Schluesselbaum::wurzel(ausgewaehlt);
  const QString name = u"Neue Kategorie "_s + QString::number(KategorieZaehler);
  {
    ProgrammAendert p(m_programm);
    if (QTreeWidgetItem* neu = Nodes->hinzufuegen(wurzel, name, name, 1)) {
      wurzel->setExpanded(true);
      ui->TreeView1->setCurrentItem(neu);
      ui->TreeView1->scrollToItem(neu);
    }
  }
  weiterzaehlen(KategorieZaehler);
}

void frmKategorie::cmdNeueKategorie_Click() {
  if (QTreeWidgetItem* knoten = ausgewaehlterKnoten())
    NeueKategorieAnlegen(knoten);
}

void frmKategorie::cmdNeuerEintrag_Click() {
  QTreeWidgetItem* knoten = ausgewaehlterKnoten();
  if (!knoten)
    return;
  if (knoten->text(0) == Wurzeltext) {
    NeueKategorieAnlegen(knoten);
    return;
  }
  // Beside a selected subcategory, under its main category.
  QTreeWidgetItem* haupt = elternIstWurzel(knoten) ? knoten : knoten->parent();
  const QString name = u"Neue Unterkategorie "_s + QString::number(EintragZaehler);
  {
    ProgrammAendert p(m_programm);
    if (QTreeWidgetItem* neu = Nodes->hinzufuegen(haupt, name, name, 2)) {
      haupt->setExpanded(true);
      ui->TreeView1->setCurrentItem(neu);
      ui->TreeView1->scrollToItem(neu);
    }
  }
  weiterzaehlen(EintragZaehler);
}

void frmKategorie::cmdUmbenennen_Click() {
  QTreeWidgetItem* knoten = ausgewaehlterKnoten();
  if (!knoten)
    return;
  ui->TreeView1->setFocus(Qt::OtherFocusReason);
  ui->TreeView1->editItem(knoten, 0);
}

void frmKategorie::TreeView1_BeforeLabelEdit(const QPersistentModelIndex& knoten) {
  AlterName = knoten.data(Qt::DisplayRole).toString();
}

void frmKategorie::TreeView1_AfterLabelEdit(const QPersistentModelIndex& index,
                                            const QString& NewString) {
  QTreeWidgetItem* knoten = ui->TreeView1->itemFromIndex(index);
  // An emptied label is no name: the edit counts as cancelled.
  if (!knoten || NewString.trimmed().isEmpty())
    return;
  bool abgelehnt = false;
  // The engine compares without letter case: a stored name that differs from the new one only in
  // letter case is refused, one that is exactly equal passes.
  Data1.abfrageSetzen(Abfrage(u"Kategorien"_s).wo(u"Unterkategorie"_s, NewString));
  if (Data1.anzahl() != 0) {
    Data1.ersteZeile();
    if (Data1.wert(u"Unterkategorie"_s).toString() != NewString) {
      MeldungNr(1459, 1460, 64);
      abgelehnt = true;
    }
  }
  if (!knoten->parent() || knoten->parent()->text(0) == NewString) {
    MeldungNr(1461, 1462, 64);
    abgelehnt = true;
  }
  BuchungenPruefen(AlterName);
  knoten = ui->TreeView1->itemFromIndex(index);
  if (abgelehnt || !knoten)
    return;
  ProgrammAendert p(m_programm);
  Nodes->textSetzen(knoten, NewString);
}

void frmKategorie::cmdLoeschen_Click() {
  QTreeWidgetItem* knoten = ausgewaehlterKnoten();
  if (!knoten)
    return;
  // Without its root the tree would be empty, and OK would empty the table.
  if (!knoten->parent()) {
    MeldungNr(3005, 3105, 64);
    return;
  }
  const QString name = knoten->text(0);
  const int antwort = hauptkategorieOderWurzel(knoten)
                          ? Meldung(Text(1450) + name + Text(1451), Text(1452), 36)
                          : Meldung(Text(1453) + name + Text(1451), Text(1454), 36);
  if (antwort != Antwort::Ja)
    return;
  const QPersistentModelIndex index = ui->TreeView1->indexFromItem(knoten);
  if (!BuchungenVorDemLoeschenVerschieben(knoten))
    return;
  knoten = ui->TreeView1->itemFromIndex(index);
  if (!knoten)
    return;
  {
    ProgrammAendert p(m_programm);
    Nodes->entfernen(knoten);
    if (QTreeWidgetItem* aktuell = ui->TreeView1->currentItem())
      aktuell->setSelected(true);
  }
  KategorieKnoepfeFreigeben();
}

int frmKategorie::buchungenMit(const QString& name) {
  Data2.abfrageSetzen(Abfrage(u"Buchungen"_s).wo(u"Kategorie"_s, name));
  return Data2.anzahl();
}

void frmKategorie::BuchungenPruefen(const QString& name) {
  if (buchungenMit(name) < 1)
    return;
  // On the bookings that are about to lose their category, not on the node clicked last.
  auto* verschieben =
      Formulare::laden<frmVerschieben>([&](frmVerschieben& f) { f.Vorauswahl = name; });
  if (verschieben)
    verschieben->exec();
}

QList<std::pair<QString, int>> frmKategorie::wegfallendeNamen(QTreeWidgetItem* knoten) {
  QList<QTreeWidgetItem*> weg{knoten};
  for (qsizetype i = 0; i < weg.size(); ++i) {
    for (int k = 0; k < weg[i]->childCount(); ++k)
      weg.append(weg[i]->child(k));
  }
  const QSet<QTreeWidgetItem*> wegMenge(weg.cbegin(), weg.cend());
  QStringList bleibende;
  for (QTreeWidgetItem* n : Nodes->knotenliste()) {
    if (!wegMenge.contains(n))
      bleibende.append(n->text(0));
  }
  const auto enthalten = [](const QStringList& namen, const QString& name) {
    return std::any_of(namen.cbegin(), namen.cend(),
                       [&](const QString& n) { return Textvergleich::gleich(n, name); });
  };

  QList<std::pair<QString, int>> verwendet;
  QStringList gesehen;
  for (QTreeWidgetItem* n : weg) {
    const QString name = n->text(0);
    // The root's text is never a row of the table; a name another node keeps stays in it.
    if (name == Wurzeltext || enthalten(gesehen, name) || enthalten(bleibende, name))
      continue;
    gesehen.append(name);
    // Only a name of the table can disappear from it, and only those the move dialog lists.
    Data1.abfrageSetzen(Abfrage(u"Kategorien"_s).wo(u"Unterkategorie"_s, name));
    if (Data1.anzahl() == 0)
      continue;
    if (const int anzahl = buchungenMit(name); anzahl > 0)
      verwendet.append({name, anzahl});
  }
  return verwendet;
}

bool frmKategorie::BuchungenVorDemLoeschenVerschieben(QTreeWidgetItem* knoten) {
  const auto verwendet = wegfallendeNamen(knoten);
  if (verwendet.isEmpty())
    return true;
  const auto zeilen = [](const QList<std::pair<QString, int>>& liste) {
    QStringList z;
    for (const auto& [name, anzahl] : liste)
      z.append(name + u": "_s + QString::number(anzahl));
    return z.join(u'\n');
  };
  // Bookings of the node's own name alone: the move dialog at once. Names below it: the user
  // learns first which and how many, and may keep the category instead.
  const bool nurEigene = verwendet.size() == 1 && verwendet.first().first == knoten->text(0);
  if (!nurEigene && Meldung(Text(3031) + u"\n\n"_s + zeilen(verwendet) + u"\n\n"_s + Text(3032),
                            Text(3131), 36) != Antwort::Ja)
    return false;
  for (const auto& [name, anzahl] : verwendet) {
    BuchungenPruefen(name);
    // Nothing moved: the user closed the dialog and is not asked about the next name.
    if (buchungenMit(name) >= anzahl)
      break;
  }
  QList<std::pair<QString, int>> uebrig;
  for (const auto& [name, anzahl] : verwendet) {
    if (const int jetzt = buchungenMit(name); jetzt > 0)
      uebrig.append({name, jetzt});
  }
  if (uebrig.isEmpty())
    return true;
  Meldung(Text(3033) + u"\n\n"_s + zeilen(uebrig), Text(3133), 48);
  return false;
}

bool frmKategorie::KategorienSpeichern() {
  QString grund;
  bool ok = false;
  {
    // The old table goes only together with the new rows: all of them or nothing.
    Transaktion transaktion(Data1);
    ok = transaktion.begonnen();
    if (!ok)
      grund = transaktion.fehler();
    if (ok && !Data1.datenbank().loeschen(Abfrage(u"Kategorien"_s))) {
      ok = false;
      grund = Data1.datenbank().fehler();
    }
    QList<QVariantList> zeilen;
    for (QTreeWidgetItem* knoten : Nodes->knotenliste()) {
      const QString text = knoten->text(0);
      if (text == Wurzeltext)
        continue;
      const QString kategorie = elternIstWurzel(knoten) ? text : knoten->parent()->text(0);
      zeilen.append({kategorie, text, knoten->checkState(0) == Qt::Checked ? -1 : 0});
    }
    if (ok && !Data1.datenbank().einfuegen(u"Kategorien"_s,
                                           {u"Kategorie"_s, u"Unterkategorie"_s, u"Steuer"_s},
                                           zeilen)) {
      ok = false;
      grund = Data1.datenbank().fehler();
    }
    Data1.abfrageSetzen(Abfrage(u"Kategorien"_s));
    if (ok && !transaktion.bestaetigen()) {
      ok = false;
      grund = transaktion.fehler();
    }
  }
  if (!ok) {
    QString prompt = Text(3003);
    if (!grund.isEmpty())
      prompt += u"\n\n"_s + grund;
    Meldung(prompt, Text(3103), 16);
  }
  return ok;
}

void frmKategorie::cmdOK_Click() {
  // Marks not loaded yet would be saved as cleared.
  if (Timer1->isActive()) {
    Timer1->stop();
    SteuerMarkenLaden();
  }
  if (KategorienSpeichern())
    entladen();
}

void frmKategorie::cmdAbbrechen_Click() {
  zustand().AusgewaehlteKategorie = Wurzeltext;
  entladen();
}
