// The category tree dialog driven as a user drives it: clicks, keys, the label editor, the
// context menu; what it writes is read back from the household book past the data layer.

#include "Baumhilfen.h"
#include "Kategorietest.h"
#include "Rohdaten.h"
#include "frmKategorie.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTableView>

using namespace Qt::StringLiterals;

namespace {

QVariantList zeile(const QString& k, const QString& u, int steuer) {
  return {k, u, qlonglong(steuer)};
}

// Rows in a fixed order, for comparing tables written in another order.
QStringList sortiert(const QList<QVariantList>& zeilen) {
  QStringList texte;
  for (const QVariantList& z : zeilen) {
    QStringList felder;
    for (const QVariant& v : z)
      felder.append(v.toString());
    texte.append(felder.join(u'|'));
  }
  texte.sort();
  return texte;
}

}  // namespace

class TestKategorie : public Kategorietest {
  Q_OBJECT
  frmKategorie* m_form = nullptr;

  QList<QVariantList> tabelle() const {
    return roh(buch(),
               u"SELECT Kategorie, Unterkategorie, Steuer FROM Kategorien ORDER BY rowid"_s);
  }
  QList<QVariantList> buchungen() const {
    return roh(buch(), u"SELECT ID, Kategorie FROM Buchungen ORDER BY ID"_s);
  }
  void tabelleSetzen(const QString& werte) {
    sql(u"DELETE FROM Kategorien; INSERT INTO Kategorien VALUES "_s + werte);
  }

  QTreeWidget* baum() const { return m_form->findChild<QTreeWidget*>(u"TreeView1"_s); }
  QPushButton* knopf(const char* name) const {
    return m_form->findChild<QPushButton*>(QString::fromLatin1(name));
  }
  QAction* menuepunkt(const char* name) const {
    return m_form->findChild<QAction*>(QString::fromLatin1(name));
  }
  QTreeWidgetItem* knoten(const QStringList& pfad) const {
    return knotenBei(baum(), QStringList{u"Kategorie"_s} + pfad);
  }

  void oeffnen() {
    m_form = qobject_cast<frmKategorie*>(Formulare::laden(u"frmKategorie"_s));
    QVERIFY(m_form);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
  }
  // The tax marks are read about a second after the dialog opened.
  void markenAbwarten() {
    auto* timer = m_form->findChild<QTimer*>(u"Timer1"_s);
    QVERIFY(timer);
    QTRY_VERIFY(!timer->isActive());
  }
  void klicken(const QStringList& pfad, Qt::KeyboardModifiers tasten = {}) {
    knotenKlicken(baum(), knoten(pfad), tasten);
  }
  void umbenennen(const QStringList& pfad, const QString& text) {
    klicken(pfad);
    beschriften(text);
  }
  // The rename button on the selected node, `text` typed into the label editor.
  void beschriften(const QString& text) {
    QTest::mouseClick(knopf("cmdUmbenennen"), Qt::LeftButton);
    QLineEdit* editor = nullptr;
    QTRY_VERIFY((editor = baum()->viewport()->findChild<QLineEdit*>()) != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
  }
  bool geladen() const { return Formulare::geladen(u"frmKategorie"_s) != nullptr; }
  // Bookings whose category is no row of the table.
  QVariant verwaist() const {
    return rohWert(buch(),
                   u"SELECT count(*) FROM Buchungen WHERE Kategorie NOT IN "
                   "(SELECT Unterkategorie FROM Kategorien)"_s);
  }

  // Handles a move dialog: notes its source and the numbers in its grid ("Benzin 4,6"), then
  // moves every booking to the main category `ziel`, or closes it with Esc when there is none.
  static Modalhelfer::Handlung verschieben(QStringList& gesehen, const QString& ziel = {}) {
    return [&gesehen, ziel](QWidget* w) {
      auto* grid = w->findChild<Tabulon*>(u"Tabulon1"_s);
      QStringList nummern;
      for (int n : buchungsnummern(grid))
        nummern.append(QString::number(n));
      gesehen.append(w->findChild<QComboBox*>(u"cboKategorie"_s)->currentText() + u' ' +
                     nummern.join(u','));
      if (ziel.isEmpty()) {
        QTest::keyClick(w, Qt::Key_Escape);
        return;
      }
      zeileKlicken(grid, 0);
      QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
      auto* baum = w->findChild<QTreeWidget*>(u"TreeView1"_s);
      knotenKlicken(baum, knotenBei(baum, {u"Kategorie"_s, ziel}));
      QTest::mouseClick(w->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
    };
  }

 private slots:
  void initTestCase() { einmalig(); }
  void init() { vorbereiten(); }
  void cleanup() {
    aufraeumen();
    m_form = nullptr;
  }

  void rundreiseUnveraendert() {
    tabelleSetzen(u"('Auto','Auto',0),('Auto','Benzin',-1),('Auto','Reparatur',0)"_s);
    const auto vorher = tabelle();
    oeffnen();
    QCOMPARE(baumText(baum()),
             QStringList({u"Kategorie"_s, u"  Auto"_s, u"    Benzin"_s, u"    Reparatur"_s}));
    QVERIFY(knoten({})->isExpanded());
    markenAbwarten();
    QCOMPARE(baumText(baum(), true), QStringList({u"[ ] Kategorie"_s, u"  [ ] Auto"_s,
                                                  u"    [x] Benzin"_s, u"    [ ] Reparatur"_s}));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QVERIFY(!geladen());
    QCOMPARE(tabelle(), vorher);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  void hauptkategorienSortiertUnterkategorienInAbfragefolge() {
    tabelleSetzen(
        u"('Wohnen','Wohnen',0),('Wohnen','Strom',0),('auto','auto',0),('Ärzte','Ärzte',0),"
        "('Wohnen','miete',0),('Wohnen','Miete',0),('Bank','Bank',0)"_s);
    oeffnen();
    QCOMPARE(baumText(baum()),
             QStringList({u"Kategorie"_s, u"  Ärzte"_s, u"  auto"_s, u"  Bank"_s, u"  Wohnen"_s,
                          u"    miete"_s, u"    Miete"_s, u"    Strom"_s}));
  }

  // A row whose name differs from its main category only in letter case is no subcategory; a
  // subcategory under two main categories is shown (and saved) under the first one only.
  void schreibvarianteUndDoppelteUnterkategorie() {
    tabelleSetzen(
        u"('Auto','AUTO',-1),('Haus','Benzin',-1),('Auto','Benzin',0),('Haus','Haus',0),"
        "('Haus','Strom',0)"_s);
    oeffnen();
    QCOMPARE(baumText(baum()), QStringList({u"Kategorie"_s, u"  Auto"_s, u"    Benzin"_s,
                                            u"  Haus"_s, u"    Strom"_s}));
    markenAbwarten();
    // Benzin takes its mark from the first row of its name in table order, the Haus row.
    QCOMPARE(baumText(baum(), true),
             QStringList({u"[ ] Kategorie"_s, u"  [x] Auto"_s, u"    [x] Benzin"_s, u"  [ ] Haus"_s,
                          u"    [ ] Strom"_s}));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QCOMPARE(tabelle(), QList<QVariantList>(
                            {zeile(u"Auto"_s, u"Auto"_s, -1), zeile(u"Auto"_s, u"Benzin"_s, -1),
                             zeile(u"Haus"_s, u"Haus"_s, 0), zeile(u"Haus"_s, u"Strom"_s, 0)}));
  }

  void haekchenWeitergeben() {
    oeffnen();
    markenAbwarten();
    const auto marke = [&](const QStringList& pfad) {
      return knoten(pfad)->checkState(0) == Qt::Checked;
    };
    // Demo: Auto 0, Benzin 0, Reparatur -1, Versicherung Kfz -1.
    QVERIFY(!marke({u"Auto"_s}) && marke({u"Auto"_s, u"Reparatur"_s}));
    klicken({u"Auto"_s});
    QTest::keyClick(baum(), Qt::Key_Space);
    for (const QString& u : {u"Benzin"_s, u"Reparatur"_s, u"Versicherung Kfz"_s})
      QVERIFY2(marke({u"Auto"_s, u}), qPrintable(u));
    QVERIFY(marke({u"Auto"_s}));
    QVERIFY(!marke({}));
    QTest::keyClick(baum(), Qt::Key_Space);
    for (const QString& u : {u"Auto"_s, u"Benzin"_s, u"Reparatur"_s, u"Versicherung Kfz"_s})
      QVERIFY2(!marke(u == u"Auto" ? QStringList{u} : QStringList{u"Auto"_s, u}), qPrintable(u));
    // A single subcategory leaves its main category as it is.
    klicken({u"Auto"_s, u"Benzin"_s});
    QTest::keyClick(baum(), Qt::Key_Space);
    QVERIFY(marke({u"Auto"_s, u"Benzin"_s}));
    QVERIFY(!marke({u"Auto"_s}));
    QVERIFY(!marke({u"Auto"_s, u"Reparatur"_s}));
    // The root passes its mark to every node.
    klicken({});
    QTest::keyClick(baum(), Qt::Key_Space);
    QVERIFY(!baumText(baum(), true).join(u'\n').contains(u"[ ]"_s));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Kategorien WHERE Steuer <> -1"_s),
             QVariant(0LL));
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Kategorien"_s), QVariant(18LL));
  }

  // No row is named like the root: its mark is cleared, whatever row was read before.
  void wurzelmarkeOhneZeile() {
    tabelleSetzen(u"('Auto','Auto',-1),('Auto','Benzin',-1),('Haus','Haus',NULL)"_s);
    oeffnen();
    markenAbwarten();
    QCOMPARE(baumText(baum(), true), QStringList({u"[ ] Kategorie"_s, u"  [x] Auto"_s,
                                                  u"    [x] Benzin"_s, u"  [x] Haus"_s}));
  }

  // OK before the marks were read saves them as they are in the table, not cleared.
  void okVorDenMarken() {
    const auto vorher = tabelle();
    oeffnen();
    QVERIFY(m_form->findChild<QTimer*>(u"Timer1"_s)->isActive());
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QVERIFY(!geladen());
    QCOMPARE(sortiert(tabelle()), sortiert(vorher));
  }

  void neueKategorienNummeriert() {
    oeffnen();
    QVERIFY(!knopf("cmdNeuerEintrag")->isEnabled());
    QVERIFY(knopf("cmdNeueKategorie")->isEnabled());
    klicken({});
    QVERIFY(knopf("cmdNeuerEintrag")->isEnabled());
    QTest::mouseClick(knopf("cmdNeueKategorie"), Qt::LeftButton);
    QCOMPARE(baum()->currentItem(), knoten({u"Neue Kategorie 1"_s}));
    QTest::mouseClick(knopf("cmdNeueKategorie"), Qt::LeftButton);
    QCOMPARE(baum()->currentItem(), knoten({u"Neue Kategorie 2"_s}));
    // In alphabetical order among the others.
    QStringList oben;
    for (int i = 0; i < knoten({})->childCount(); ++i)
      oben.append(knoten({})->child(i)->text(0));
    QCOMPARE(oben, QStringList({u"Auto"_s, u"Einkommen"_s, u"Freizeit"_s, u"Haushalt"_s,
                                u"Neue Kategorie 1"_s, u"Neue Kategorie 2"_s, u"Wohnen"_s}));
    // The new nodes are selected, not clicked.
    QCOMPARE(zustand().AusgewaehlteKategorie, u"Kategorie"_s);
    QTest::mouseClick(knopf("cmdAbbrechen"), Qt::LeftButton);
    QVERIFY(!geladen());
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Kategorien"_s), QVariant(18LL));

    oeffnen();
    klicken({u"Haushalt"_s});
    QTest::mouseClick(knopf("cmdNeueKategorie"), Qt::LeftButton);
    QVERIFY(knoten({u"Neue Kategorie 1"_s}));
    QVERIFY(!knoten({u"Neue Kategorie 2"_s}));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QCOMPARE(tabelle().last(), zeile(u"Neue Kategorie 1"_s, u"Neue Kategorie 1"_s, 0));
  }

  void neuerEintrag() {
    oeffnen();
    // Beside a selected subcategory, under its main category.
    klicken({u"Auto"_s, u"Benzin"_s});
    QVERIFY(!knopf("cmdNeueKategorie")->isEnabled());
    QVERIFY(knopf("cmdNeuerEintrag")->isEnabled());
    QTest::mouseClick(knopf("cmdNeuerEintrag"), Qt::LeftButton);
    QTreeWidgetItem* neu = knoten({u"Auto"_s, u"Neue Unterkategorie 1"_s});
    QVERIFY(neu);
    QCOMPARE(baum()->currentItem(), neu);
    QCOMPARE(neu->parent()->indexOfChild(neu), neu->parent()->childCount() - 1);
    // Under a selected main category.
    klicken({u"Wohnen"_s});
    QVERIFY(knopf("cmdNeueKategorie")->isEnabled());
    QTest::mouseClick(knopf("cmdNeuerEintrag"), Qt::LeftButton);
    QVERIFY(knoten({u"Wohnen"_s, u"Neue Unterkategorie 2"_s}));
    // The root makes a main category and counts with the main categories.
    klicken({});
    QTest::mouseClick(knopf("cmdNeuerEintrag"), Qt::LeftButton);
    QVERIFY(knoten({u"Neue Kategorie 1"_s}));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    const auto rows = tabelle();
    QCOMPARE(rows.mid(rows.size() - 3),
             QList<QVariantList>({zeile(u"Auto"_s, u"Neue Unterkategorie 1"_s, 0),
                                  zeile(u"Wohnen"_s, u"Neue Unterkategorie 2"_s, 0),
                                  zeile(u"Neue Kategorie 1"_s, u"Neue Kategorie 1"_s, 0)}));
  }

  void kontextmenue() {
    oeffnen();
    klicken({u"Auto"_s, u"Benzin"_s});
    auto* menue = m_form->findChild<QMenu*>(u"mnuNeu"_s);
    QVERIFY(menue);
    // The right button opens the menu for the selected node and selects no other one.
    QTreeWidgetItem* anderer = knoten({u"Haushalt"_s});
    const QPoint ort = baum()->visualItemRect(anderer).center();
    QTest::mousePress(baum()->viewport(), Qt::RightButton, {}, ort);
    QTest::mouseRelease(baum()->viewport(), Qt::RightButton, {}, ort);
    QContextMenuEvent rechts(QContextMenuEvent::Mouse, ort, baum()->viewport()->mapToGlobal(ort));
    QCoreApplication::sendEvent(baum()->viewport(), &rechts);
    QTRY_VERIFY(menue->isVisible());
    QCOMPARE(baum()->currentItem(), knoten({u"Auto"_s, u"Benzin"_s}));
    QVERIFY(menuepunkt("mnuNeu_Eintrag")->isVisible());
    QVERIFY(!menuepunkt("mnuNeu_Kategorie")->isVisible());
    menue->hide();
    // The items run the buttons' code.
    menuepunkt("mnuNeu_Eintrag")->trigger();
    QTRY_VERIFY(knoten({u"Auto"_s, u"Neue Unterkategorie 1"_s}));

    klicken({u"Freizeit"_s});
    QCoreApplication::sendEvent(baum()->viewport(), &rechts);
    QTRY_VERIFY(menue->isVisible());
    QVERIFY(menuepunkt("mnuNeu_Kategorie")->isVisible());
    menue->hide();
    // From the keyboard the menu opens below the selected node.
    QContextMenuEvent taste(QContextMenuEvent::Keyboard, QPoint(5, 5));
    QCoreApplication::sendEvent(baum(), &taste);
    QTRY_VERIFY(menue->isVisible());
    const QRect knotenRahmen = baum()->visualItemRect(knoten({u"Freizeit"_s}));
    QCOMPARE(menue->pos().y(), baum()->viewport()->mapToGlobal(knotenRahmen.bottomLeft()).y());
    menue->hide();
    menuepunkt("mnuNeu_Kategorie")->trigger();
    QTRY_VERIFY(knoten({u"Neue Kategorie 1"_s}));
  }

  void umbenennen_data() {
    QTest::addColumn<QStringList>("pfad");
    QTest::addColumn<QString>("neu");
    QTest::addColumn<int>("meldung");  // 0 accepted, else the refusal's text
    QTest::addColumn<bool>("verschieben");
    const QStringList benzin{u"Auto"_s, u"Benzin"_s};
    QTest::newRow("neuer Name") << benzin << u"Kraftstoff"_s << 0 << true;
    QTest::newRow("unverändert") << benzin << u"Benzin"_s << 0 << true;
    QTest::newRow("genauer Name eines anderen") << benzin << u"Miete"_s << 0 << true;
    QTest::newRow("andere Schreibung") << benzin << u"benzin"_s << 1459 << true;
    QTest::newRow("wie die Hauptkategorie") << benzin << u"Auto"_s << 1461 << true;
    QTest::newRow("Hauptkategorie Kategorie")
        << QStringList{u"Freizeit"_s} << u"Kategorie"_s << 1461 << false;
    QTest::newRow("Wurzel") << QStringList{} << u"Alles"_s << 1461 << false;
    QTest::newRow("Hochkomma") << QStringList{u"Freizeit"_s} << u"Omas 'Spezial'"_s << 0 << false;
  }

  // Every edit of a name that bookings use opens the move dialog, also a refused one.
  void umbenennen() {
    QFETCH(QStringList, pfad);
    QFETCH(QString, neu);
    QFETCH(int, meldung);
    QFETCH(bool, verschieben);
    oeffnen();
    markenAbwarten();
    const QString alt = knoten(pfad)->text(0);
    Modalhelfer helfer(u"frmVerschieben"_s, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    umbenennen(pfad, neu);
    QTRY_COMPARE(m_form->AlterName, alt);
    if (verschieben)
      QTRY_VERIFY(helfer.gelaufen());
    else
      QTRY_VERIFY(meldung == 0 ? knoten(QStringList(pfad.mid(0, pfad.size() - 1)) << neu) != nullptr
                               : MeldungTest::gezeigt().size() == 1);
    QTest::qWait(20);
    QCOMPARE(helfer.gelaufen(), verschieben);
    QCOMPARE(MeldungTest::gezeigt().size(), meldung ? 1 : 0);
    if (meldung) {
      QCOMPARE(MeldungTest::gezeigt().first().prompt, Text(meldung));
      QCOMPARE(MeldungTest::gezeigt().first().titel, Text(meldung + 1));
      QCOMPARE(MeldungTest::gezeigt().first().stil, 64);
    }
    QTreeWidgetItem* k = knoten(pfad.mid(0, pfad.size() - 1) << (meldung ? alt : neu));
    if (pfad.isEmpty())
      k = baum()->topLevelItem(0);
    QVERIFY(k);
    QCOMPARE(k->text(0), meldung ? alt : neu);
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QVERIFY(!geladen());
    const auto rows = tabelle();
    if (meldung == 0 && !pfad.isEmpty()) {
      const QVariantList erwartet =
          pfad.size() == 1 ? zeile(neu, neu, 0) : zeile(pfad.first(), neu, 0);
      QVERIFY2(rows.contains(erwartet), qPrintable(neu));
    }
    if (meldung && !pfad.isEmpty())
      QVERIFY(rows.contains(zeile(pfad.first(), alt, 0)));
  }

  // An emptied label is no name: the edit counts as cancelled, with no question and no check.
  void leererNameNichtUebernommen() {
    oeffnen();
    Modalhelfer helfer(u"frmVerschieben"_s, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    umbenennen({u"Auto"_s, u"Benzin"_s}, u"   "_s);
    QTRY_VERIFY(!baum()->viewport()->findChild<QLineEdit*>());
    QTest::qWait(50);
    QVERIFY(knoten({u"Auto"_s, u"Benzin"_s}));
    QVERIFY(!helfer.gelaufen());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  // A renamed main category passes its new name to its subcategory rows.
  void hauptkategorieUmbenannt() {
    oeffnen();
    umbenennen({u"Freizeit"_s}, u"Hobby"_s);
    QTRY_VERIFY(knoten({u"Hobby"_s}));
    QCOMPARE(knoten({})->indexOfChild(knoten({u"Hobby"_s})), 3);
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    const auto rows = tabelle();
    QVERIFY(rows.contains(zeile(u"Hobby"_s, u"Hobby"_s, 0)));
    QVERIFY(rows.contains(zeile(u"Hobby"_s, u"Kino"_s, 0)));
    QVERIFY(rows.contains(zeile(u"Hobby"_s, u"Urlaub"_s, 0)));
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Kategorien WHERE Kategorie = 'Freizeit'"_s),
             QVariant(0LL));
    // Bookings are not changed by saving.
    QCOMPARE(rohWert(buch(), u"SELECT Kategorie FROM Buchungen WHERE ID = 5"_s),
             QVariant(u"Urlaub"_s));
  }

  // A subcategory may be called "Kategorie"; saving leaves it out.
  void unterkategorieNamensKategorie() {
    oeffnen();
    umbenennen({u"Freizeit"_s, u"Kino"_s}, u"Kategorie"_s);
    QTRY_VERIFY(knoten({u"Freizeit"_s, u"Kategorie"_s}));
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Kategorien"_s), QVariant(17LL));
    QCOMPARE(
        rohWert(buch(),
                u"SELECT count(*) FROM Kategorien WHERE Unterkategorie IN ('Kino','Kategorie')"_s),
        QVariant(0LL));
  }

  void abbrechenNachLoeschen() {
    // No booking uses a name that goes.
    sql(u"DELETE FROM Buchungen WHERE Kategorie = 'Urlaub'"_s);
    const auto vorher = tabelle();
    zustand().AusgewaehlteKategorie = u"Miete"_s;
    oeffnen();
    klicken({u"Auto"_s, u"Reparatur"_s});
    MeldungTest::antworten({Antwort::Ja});
    QTest::mouseClick(knopf("cmdLoeschen"), Qt::LeftButton);
    QVERIFY(!knoten({u"Auto"_s, u"Reparatur"_s}));
    QCOMPARE(MeldungTest::gezeigt().first().prompt, Text(1453) + u"Reparatur"_s + Text(1451));
    QCOMPARE(MeldungTest::gezeigt().first().titel, Text(1454));
    QCOMPARE(MeldungTest::gezeigt().first().stil, 36);
    // The Delete key; a main category goes with its subcategories.
    klicken({u"Freizeit"_s});
    MeldungTest::antworten({Antwort::Nein});
    QTest::keyClick(baum(), Qt::Key_Delete);
    QVERIFY(knoten({u"Freizeit"_s}));
    MeldungTest::antworten({Antwort::Ja});
    QTest::keyClick(baum(), Qt::Key_Delete);
    QVERIFY(!knoten({u"Freizeit"_s}));
    QCOMPARE(MeldungTest::gezeigt().last().prompt, Text(1450) + u"Freizeit"_s + Text(1451));
    QCOMPARE(MeldungTest::gezeigt().last().titel, Text(1452));
    // The decimal key of the numeric pad (a comma on German keyboards).
    klicken({u"Wohnen"_s, u"Telefon"_s});
    MeldungTest::antworten({Antwort::Ja});
    QTest::keyClick(baum(), Qt::Key_Comma, Qt::KeypadModifier);
    QVERIFY(!knoten({u"Wohnen"_s, u"Telefon"_s}));
    QCOMPARE(MeldungTest::gezeigt().size(), 4);

    QTest::mouseClick(knopf("cmdAbbrechen"), Qt::LeftButton);
    QVERIFY(!geladen());
    QCOMPARE(tabelle(), vorher);
    QCOMPARE(zustand().AusgewaehlteKategorie, u"Kategorie"_s);
  }

  // A category whose own name alone has bookings: the move dialog at once, on those bookings.
  // Closed without a move, the category stays and the user is told why; moved, it goes. A name
  // that another node keeps in the table, or that never was in it, loses no booking.
  void loeschenMitBuchungen() {
    sql(u"UPDATE Buchungen SET Kategorie = 'Haushalt' WHERE ID = 3;"
        "INSERT INTO Kategorien VALUES ('Benzin','Benzin',0);"
        "INSERT INTO Buchungen (ID, Datum, Kategorie) VALUES (6, '2027-01-02', 'Neue Kategorie 1')"_s);
    oeffnen();
    klicken({u"Haushalt"_s});
    QStringList gesehen;
    Modalhelfer helfer(
        u"frmVerschieben"_s,
        QList<Modalhelfer::Handlung>{verschieben(gesehen), verschieben(gesehen, u"Freizeit"_s)});
    MeldungTest::antworten({Antwort::Ja});
    QTest::keyClick(baum(), Qt::Key_Delete);
    QVERIFY(knoten({u"Haushalt"_s}));
    QCOMPARE(MeldungTest::gezeigt().size(), 2);
    QCOMPARE(MeldungTest::gezeigt().last().prompt, Text(3033) + u"\n\nHaushalt: 1"_s);
    QCOMPARE(MeldungTest::gezeigt().last().titel, Text(3133));
    QCOMPARE(MeldungTest::gezeigt().last().stil, 48);
    MeldungTest::antworten({Antwort::Ja});
    QTest::keyClick(baum(), Qt::Key_Delete);
    QVERIFY(!knoten({u"Haushalt"_s}));
    QCOMPARE(gesehen, QStringList({u"Haushalt 3"_s, u"Haushalt 3"_s}));
    QCOMPARE(MeldungTest::gezeigt().last().prompt, Text(1717));

    Modalhelfer keiner(u"frmVerschieben"_s, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    klicken({u"Auto"_s, u"Benzin"_s});
    MeldungTest::antworten({Antwort::Ja});
    QTest::keyClick(baum(), Qt::Key_Delete);
    QVERIFY(!knoten({u"Auto"_s, u"Benzin"_s}));
    klicken({});
    QTest::mouseClick(knopf("cmdNeueKategorie"), Qt::LeftButton);
    MeldungTest::antworten({Antwort::Ja});
    QTest::keyClick(baum(), Qt::Key_Delete);
    QVERIFY(!knoten({u"Neue Kategorie 1"_s}));
    QTest::qWait(50);
    QVERIFY(!keiner.gelaufen());

    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QVERIFY(!geladen());
    QCOMPARE(
        roh(buch(), u"SELECT ID, Kategorie FROM Buchungen WHERE ID IN (3, 4, 6) ORDER BY ID"_s),
        QList<QVariantList>(
            {{3LL, u"Freizeit"_s}, {4LL, u"Benzin"_s}, {6LL, u"Neue Kategorie 1"_s}}));
    QCOMPARE(verwaist(), QVariant(1LL));
  }

  // A main category whose subcategories have bookings: the user is told which and how many, and
  // moves them one subcategory after the other, or keeps the category. Nothing is deleted while
  // a booking still uses a name that would disappear with it.
  void hauptkategorieMitGebuchtenUnterkategorien_data() {
    QTest::addColumn<int>("antwort");        // to the question with the numbers
    QTest::addColumn<QStringList>("ziele");  // per move dialog: the target; "" closes it
    QTest::addColumn<QString>("uebrig");     // what the refusal lists; "" no refusal
    QTest::newRow("beide verschoben")
        << Antwort::Ja << QStringList{u"Freizeit"_s, u"Wohnen"_s} << QString();
    QTest::newRow("Nein behält sie") << Antwort::Nein << QStringList{} << QString();
    QTest::newRow("erster geschlossen")
        << Antwort::Ja << QStringList{QString()} << u"Benzin: 1\nReparatur: 2"_s;
    QTest::newRow("zweiter geschlossen")
        << Antwort::Ja << QStringList{u"Freizeit"_s, QString()} << u"Reparatur: 2"_s;
  }
  void hauptkategorieMitGebuchtenUnterkategorien() {
    QFETCH(int, antwort);
    QFETCH(QStringList, ziele);
    QFETCH(QString, uebrig);
    // Under Auto: Benzin has number 4, Reparatur gets 2 and 3; Auto itself has none.
    sql(u"UPDATE Buchungen SET Kategorie = 'Reparatur' WHERE ID IN (2, 3)"_s);
    oeffnen();
    klicken({u"Auto"_s});
    QStringList gesehen;
    QList<Modalhelfer::Handlung> handlungen;
    for (const QString& ziel : ziele)
      handlungen.append(verschieben(gesehen, ziel));
    Modalhelfer helfer(u"frmVerschieben"_s, handlungen.isEmpty()
                                                ? QList<Modalhelfer::Handlung>{verschieben(gesehen)}
                                                : handlungen);
    MeldungTest::antworten({Antwort::Ja, antwort});
    QTest::keyClick(baum(), Qt::Key_Delete);

    const auto& gezeigt = MeldungTest::gezeigt();
    QVERIFY(gezeigt.size() >= 2);
    QCOMPARE(gezeigt.at(1).prompt, Text(3031) + u"\n\nBenzin: 1\nReparatur: 2\n\n"_s + Text(3032));
    QCOMPARE(gezeigt.at(1).titel, Text(3131));
    QCOMPARE(gezeigt.at(1).stil, 36);
    QCOMPARE(gesehen, QStringList({u"Benzin 4"_s, u"Reparatur 2,3"_s}).mid(0, ziele.size()));
    const bool geloescht = antwort == Antwort::Ja && uebrig.isEmpty();
    QCOMPARE(knoten({u"Auto"_s}) == nullptr, geloescht);
    QCOMPARE(gezeigt.last().titel == Text(3133), !uebrig.isEmpty());
    if (!uebrig.isEmpty()) {
      QCOMPARE(gezeigt.last().prompt, Text(3033) + u"\n\n"_s + uebrig);
      QCOMPARE(gezeigt.last().stil, 48);
    }

    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QVERIFY(!geladen());
    QCOMPARE(verwaist(), QVariant(0LL));
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Kategorien WHERE Kategorie = 'Auto'"_s),
             QVariant(geloescht ? 0LL : 4LL));
  }

  // A delete selects a neighbour without a click. Deleting or renaming that one opens the move
  // dialog on the neighbour's bookings, not on those of the node clicked last.
  void verschiebenAufDemBetroffenenKnoten_data() {
    QTest::addColumn<bool>("umbenennen");
    QTest::newRow("Nachbar gelöscht") << false;
    QTest::newRow("Nachbar umbenannt") << true;
  }
  void verschiebenAufDemBetroffenenKnoten() {
    QFETCH(bool, umbenennen);
    // Both neighbours of Reparatur have bookings: Benzin number 4, Versicherung Kfz number 3.
    sql(u"UPDATE Buchungen SET Kategorie = 'Versicherung Kfz' WHERE ID = 3"_s);
    const QHash<QString, QString> erwartet{{u"Benzin"_s, u"Benzin 4"_s},
                                           {u"Versicherung Kfz"_s, u"Versicherung Kfz 3"_s}};
    oeffnen();
    klicken({u"Auto"_s, u"Reparatur"_s});
    MeldungTest::antworten({Antwort::Ja});
    QTest::keyClick(baum(), Qt::Key_Delete);
    QVERIFY(!knoten({u"Auto"_s, u"Reparatur"_s}));
    QCOMPARE(zustand().AusgewaehlteKategorie, u"Reparatur"_s);
    QTreeWidgetItem* nachbar = baum()->currentItem();
    QVERIFY(nachbar && nachbar->isSelected());
    const QString name = nachbar->text(0);
    QVERIFY2(erwartet.contains(name), qPrintable(name));

    QStringList gesehen;
    Modalhelfer helfer(u"frmVerschieben"_s, verschieben(gesehen));
    if (umbenennen) {
      beschriften(u"Neuer Name"_s);
    } else {
      MeldungTest::antworten({Antwort::Ja});
      QTest::keyClick(baum(), Qt::Key_Delete);
    }
    QTRY_VERIFY(helfer.gelaufen());
    QCOMPARE(gesehen, QStringList{erwartet.value(name)});
  }

  void wurzelNichtLoeschbar() {
    oeffnen();
    klicken({});
    QTest::mouseClick(knopf("cmdLoeschen"), Qt::LeftButton);
    QTest::keyClick(baum(), Qt::Key_Delete);
    QCOMPARE(MeldungTest::gezeigt().size(), 2);
    QCOMPARE(MeldungTest::gezeigt().first().prompt, Text(3005));
    QCOMPARE(MeldungTest::gezeigt().first().titel, Text(3105));
    QVERIFY(knoten({u"Auto"_s, u"Benzin"_s}));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Kategorien"_s), QVariant(18LL));
  }

  void ohneAusgewaehltenKnoten() {
    oeffnen();
    klicken({u"Auto"_s});
    // Ctrl+click takes the selection away.
    klicken({u"Auto"_s}, Qt::ControlModifier);
    QVERIFY(baum()->selectedItems().isEmpty());
    const QStringList vorher = baumText(baum());
    for (const char* name : {"cmdNeueKategorie", "cmdNeuerEintrag", "cmdUmbenennen", "cmdLoeschen"})
      QTest::mouseClick(knopf(name), Qt::LeftButton);
    QTest::keyClick(baum(), Qt::Key_Delete);
    for (const char* name :
         {"mnuNeu_Kategorie", "mnuNeu_Eintrag", "mnuNeu_Umbenennen", "mnuNeu_Loeschen"})
      menuepunkt(name)->trigger();
    QTest::qWait(20);
    QCOMPARE(baumText(baum()), vorher);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QVERIFY(!baum()->viewport()->findChild<QLineEdit*>());
    QCOMPARE(m_form->KategorieZaehler, qint16(1));
  }

  void zaehlerGrenze() {
    oeffnen();
    m_form->KategorieZaehler = 32766;
    m_form->EintragZaehler = 32767;
    klicken({});
    for (int i = 0; i < 3; ++i)
      QTest::mouseClick(knopf("cmdNeueKategorie"), Qt::LeftButton);
    QVERIFY(knoten({u"Neue Kategorie 32766"_s}));
    QVERIFY(knoten({u"Neue Kategorie 32767"_s}));
    QCOMPARE(knoten({})->childCount(), 7);
    QCOMPARE(m_form->KategorieZaehler, qint16(32767));
    klicken({u"Auto"_s});
    QTest::mouseClick(knopf("cmdNeuerEintrag"), Qt::LeftButton);
    QTest::mouseClick(knopf("cmdNeuerEintrag"), Qt::LeftButton);
    QCOMPARE(knoten({u"Auto"_s})->childCount(), 4);
    QCOMPARE(m_form->EintragZaehler, qint16(32767));
  }

  // The node the user clicks, or reaches with the keys, is the result; Esc keeps the one before.
  void auswahlUndEsc() {
    zustand().AusgewaehlteKategorie = u"Miete"_s;
    oeffnen();
    QCOMPARE(zustand().AusgewaehlteKategorie, u"Miete"_s);
    klicken({u"Auto"_s, u"Benzin"_s});
    QCOMPARE(zustand().AusgewaehlteKategorie, u"Benzin"_s);
    QTest::keyClick(baum(), Qt::Key_Down);
    QTRY_COMPARE(zustand().AusgewaehlteKategorie, u"Reparatur"_s);
    QTest::keyClick(baum(), Qt::Key_Escape);
    QVERIFY(!geladen());
    QCOMPARE(zustand().AusgewaehlteKategorie, u"Reparatur"_s);

    zustand().AusgewaehlteKategorie = u"Miete"_s;
    oeffnen();
    QTest::keyClick(m_form, Qt::Key_Escape);
    QVERIFY(!geladen());
    QCOMPARE(zustand().AusgewaehlteKategorie, u"Miete"_s);
    oeffnen();
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QCOMPARE(zustand().AusgewaehlteKategorie, u"Miete"_s);
  }

  void beschriftungenUndHilfe() {
    oeffnen();
    QCOMPARE(m_form->windowTitle(), Text(755));
    QCOMPARE(knopf("cmdNeueKategorie")->text(), Text(752));
    QCOMPARE(knopf("cmdLoeschen")->text(), Text(207));
    QCOMPARE(m_form->findChild<QLabel*>(u"Label2"_s)->text(), Text(762));
    QCOMPARE(m_form->findChild<QMenu*>(u"mnuNeu_Neu"_s)->title(), Text(759));
    QCOMPARE(menuepunkt("mnuNeu_Loeschen")->text(), Text(758));
    QVERIFY(!m_form->findChild<QLabel*>(u"Image1"_s)->pixmap().isNull());
    QVERIFY(!knoten({u"Auto"_s})->icon(0).isNull());
    QTest::keyClick(baum(), Qt::Key_F1);
    QCOMPARE(HilfeTest::aufrufe(), QList<int>({270}));
  }

  // A name with a single quote is a name like any other: its bookings are found and moved.
  void hochkomma() {
    sql(u"INSERT INTO Kategorien VALUES ('Rock''n''Roll','Rock''n''Roll',0);"
        "INSERT INTO Buchungen (ID, Datum, Kategorie) VALUES (6, '2027-01-02', 'Rock''n''Roll')"_s);
    oeffnen();
    klicken({u"Rock'n'Roll"_s});
    QStringList gesehen;
    Modalhelfer helfer(u"frmVerschieben"_s, verschieben(gesehen, u"Freizeit"_s));
    MeldungTest::antworten({Antwort::Ja});
    QTest::keyClick(baum(), Qt::Key_Delete);
    QCOMPARE(gesehen, QStringList{u"Rock'n'Roll 6"_s});
    QVERIFY(!helfer.hing());
    QCOMPARE(rohWert(buch(), u"SELECT Kategorie FROM Buchungen WHERE ID = 6"_s),
             QVariant(u"Freizeit"_s));
    QCOMPARE(MeldungTest::gezeigt().last().prompt, Text(1717));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Kategorien WHERE Kategorie LIKE 'Rock%'"_s),
             QVariant(0LL));
  }

  // A row that cannot be stored half-way through the save: the delete and the rows before it are
  // taken back, the table stays as it was.
  void speichernScheitertMittendrin() {
    sql(u"CREATE TRIGGER kaputt BEFORE INSERT ON Kategorien WHEN NEW.Unterkategorie = "
        "'Gift' BEGIN SELECT RAISE(ABORT, 'kaputt'); END;"_s);
    const auto vorher = tabelle();
    oeffnen();
    markenAbwarten();
    umbenennen({u"Wohnen"_s, u"Telefon"_s}, u"Gift"_s);
    QTRY_VERIFY(knoten({u"Wohnen"_s, u"Gift"_s}));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QVERIFY(geladen());
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(MeldungTest::gezeigt().first().titel, Text(3103));
    // The reason stands below the message.
    QVERIFY(MeldungTest::gezeigt().first().prompt.startsWith(Text(3003) + u"\n\n"_s));
    QVERIFY(MeldungTest::gezeigt().first().prompt.contains(u"Anna.mdb"_s));
    QCOMPARE(tabelle(), vorher);
    QVERIFY(knoten({u"Wohnen"_s, u"Gift"_s}));
  }

  // Another program holds the file locked longer than the busy timeout: the old table stays
  // whole, the dialog stays open with its tree, and OK works once the file is free.
  void speichernGesperrt() {
    const auto vorher = tabelle();
    oeffnen();
    markenAbwarten();
    klicken({u"Auto"_s, u"Reparatur"_s});
    MeldungTest::antworten({Antwort::Ja});
    QTest::mouseClick(knopf("cmdLoeschen"), Qt::LeftButton);
    klicken({u"Wohnen"_s});
    QTest::mouseClick(knopf("cmdNeuerEintrag"), Qt::LeftButton);
    const QStringList baumVorher = baumText(baum(), true);

    QProcess kind;
    kind.start(QStringLiteral(DATENBANK_KIND),
               {u"sperren"_s, buch(), QString::number(Datenbank::Wartezeit + 3000)});
    QVERIFY(kind.waitForReadyRead(10000));
    QCOMPARE(kind.readLine().trimmed(), QByteArray("gesperrt"));
    MeldungTest::vergessen();
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QVERIFY(geladen());
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QVERIFY(MeldungTest::gezeigt().first().prompt.startsWith(Text(3003)));
    QVERIFY(MeldungTest::gezeigt().first().prompt.size() > Text(3003).size() + 2);
    QCOMPARE(MeldungTest::gezeigt().first().titel, Text(3103));
    QCOMPARE(MeldungTest::gezeigt().first().stil, 16);
    QCOMPARE(baumText(baum(), true), baumVorher);
    QVERIFY(kind.waitForFinished(15000));
    QCOMPARE(kind.exitCode(), 0);
    QCOMPARE(tabelle(), vorher);

    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QVERIFY(!geladen());
    QCOMPARE(tabelle().size(), vorher.size());
    QVERIFY(tabelle().contains(zeile(u"Wohnen"_s, u"Neue Unterkategorie 1"_s, 0)));
    QVERIFY(!tabelle().contains(zeile(u"Auto"_s, u"Reparatur"_s, -1)));
  }
};

VELMARK_TEST_MAIN(TestKategorie)
#include "tst_kategorie.moc"
