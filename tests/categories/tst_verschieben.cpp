// The move dialog driven as a user drives it: the source list, the grid of bookings, the target
// tree and OK; the bookings are read back from the household book past the data layer.

#include "Baumhilfen.h"
#include "Kategorietest.h"
#include "Registry.h"
#include "Rohdaten.h"
#include "Sprache.h"
#include "Tabulon.h"
#include "frmHilfe.h"
#include "frmVerschieben.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

class TestVerschieben : public Kategorietest {
  Q_OBJECT
  frmVerschieben* m_form = nullptr;

  // Five Lebensmittel bookings besides the demo's number 3, dated so that the grid shows them as
  // 3, 14, 10, 12, 11, 13.
  void fuenfBuchungen() {
    sql(u"INSERT INTO Buchungen (ID, KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, "
        "Ausgabe, Kategorie, Verwendungszweck, Saldo) VALUES "
        "(10, 'Girokonto', 'Ausgabe', '2027-01-03', 10, 'EUR', 0, 10, 'Lebensmittel', 'a', 90),"
        "(11, 'Girokonto', 'Ausgabe', '2027-01-05', 11, 'EUR', 0, 11, 'Lebensmittel', 'b', 79),"
        "(12, 'Girokonto', 'Ausgabe', '2027-01-03', 12, 'EUR', 0, 12, 'Lebensmittel', 'c', 67),"
        "(13, 'Girokonto', 'Ausgabe', '2027-01-09', 13, 'EUR', 0, 13, 'Lebensmittel', 'd', 54),"
        "(14, 'Girokonto', 'Ausgabe', '2026-12-24', 14, 'EUR', 0, 14, 'Lebensmittel', 'e', 40)"_s);
  }
  QList<QVariantList> buchungen() const {
    return roh(buch(), u"SELECT * FROM Buchungen ORDER BY ID"_s);
  }
  QVariant kategorieVon(int id) const {
    return rohWert(buch(), u"SELECT Kategorie FROM Buchungen WHERE ID = %1"_s.arg(id));
  }

  QComboBox* quelle() const { return m_form->findChild<QComboBox*>(u"cboKategorie"_s); }
  Tabulon* grid() const { return m_form->findChild<Tabulon*>(u"Tabulon1"_s); }
  QTreeWidget* ziel() const { return m_form->findChild<QTreeWidget*>(u"TreeView1"_s); }
  QPushButton* ok() const { return m_form->findChild<QPushButton*>(u"cmdOK"_s); }
  QList<int> ids() const { return buchungsnummern(grid()); }
  bool geladen() const { return Formulare::geladen(u"frmVerschieben"_s) != nullptr; }

  void oeffnen() {
    m_form = Formulare::laden<frmVerschieben>();
    QVERIFY(m_form);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
  }
  void zielKlicken(const QStringList& pfad) {
    knotenKlicken(ziel(), knotenBei(ziel(), QStringList{u"Kategorie"_s} + pfad));
  }
  void quelleWaehlen(const QString& text) {
    const int index = quelle()->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY(index >= 0);
    quelle()->setFocus();
    // Through the keyboard, as a list-only box is chosen: Home, then down to the entry.
    QTest::keyClick(quelle(), Qt::Key_Home);
    for (int i = 0; i < index; ++i)
      QTest::keyClick(quelle(), Qt::Key_Down);
    QCOMPARE(quelle()->currentText(), text);
  }

 private slots:
  void initTestCase() { einmalig(); }
  void init() { vorbereiten(); }
  void cleanup() {
    aufraeumen();
    m_form = nullptr;
  }

  // The list holds every name once, main categories too; spellings that differ in letter case
  // are two entries. Without a chosen category the first entry is preselected.
  void quellliste() {
    sql(u"INSERT INTO Kategorien VALUES ('Wohnen','miete',0), ('Auto','Benzin',0);"
        "INSERT INTO Buchungen (ID, Datum, Kategorie) VALUES (20, '2027-01-01', 'Auto')"_s);
    oeffnen();
    QCOMPARE(eintraege(quelle()),
             QStringList({u"Auto"_s, u"Benzin"_s, u"Drogerie"_s, u"Einkommen"_s, u"Einrichtung"_s,
                          u"Freizeit"_s, u"Gehalt"_s, u"Haushalt"_s, u"Kino"_s, u"Lebensmittel"_s,
                          u"Miete"_s, u"miete"_s, u"Reparatur"_s, u"Strom"_s, u"Telefon"_s,
                          u"Urlaub"_s, u"Versicherung Kfz"_s, u"Wohnen"_s, u"Zinsen"_s}));
    QCOMPARE(quelle()->currentIndex(), 0);
    QCOMPARE(m_form->QuellKategorie, u"Auto"_s);
    QCOMPARE(ids(), QList<int>({20}));
    QVERIFY(!quelle()->isEditable());
    QCOMPARE(QApplication::focusWidget(), quelle());
    QVERIFY(!ok()->isEnabled());
  }

  void vorauswahl_data() {
    QTest::addColumn<QString>("gewaehlt");
    QTest::addColumn<QString>("eintrag");
    QTest::newRow("genau") << u"Miete"_s << u"Miete"_s;
    QTest::newRow("andere Schreibung") << u"STROM"_s << u"Strom"_s;
    QTest::newRow("unbekannt") << u"Gibt es nicht"_s << QString();
  }

  void vorauswahl() {
    QFETCH(QString, gewaehlt);
    QFETCH(QString, eintrag);
    zustand().AusgewaehlteKategorie = gewaehlt;
    oeffnen();
    QCOMPARE(quelle()->currentText(), eintrag);
    QCOMPARE(m_form->QuellKategorie, eintrag);
    QCOMPARE(grid()->model()->rowCount(), eintrag == u"Miete" ? 1 : 0);
  }

  void zielbaum() {
    // A subcategory named like a main category is not shown; a main-category row adds nothing.
    sql(u"INSERT INTO Kategorien VALUES ('Auto','Wohnen',0), ('Auto','Anhänger',0)"_s);
    oeffnen();
    const QStringList text = baumText(ziel());
    QCOMPARE(text.mid(0, 8), QStringList({u"Kategorie"_s, u"  Auto"_s, u"    Benzin"_s,
                                          u"    Reparatur"_s, u"    Versicherung Kfz"_s,
                                          u"    Anhänger"_s, u"  Einkommen"_s, u"    Gehalt"_s}));
    QCOMPARE(text.size(), 20);
    QCOMPARE(text.last(), u"    Telefon"_s);
    QVERIFY(knotenBei(ziel(), {u"Kategorie"_s})->isExpanded());
    QVERIFY(m_form->ZielKategorie.isEmpty());
  }

  void spaltenUndFarben() {
    RegistrySchreiben(HKCU, BenutzerSchluessel(), u"RowColorEven"_s, u"&H00E0E0E0&"_s);
    RegistrySchreiben(HKCU, BenutzerSchluessel(), u"RowColorOdd"_s, u"kaputt"_s);
    fuenfBuchungen();
    zustand().AusgewaehlteKategorie = u"Lebensmittel"_s;
    oeffnen();
    QCOMPARE(grid()->Columns().Count(), 11);
    QStringList sichtbar;
    for (int s = 1; s <= 11; ++s) {
      if (grid()->Columns(s).Visible())
        sichtbar.append(grid()->model()->headerData(s - 1, Qt::Horizontal).toString());
    }
    QCOMPARE(sichtbar, QStringList({u"Datum"_s, u"Verwendungszweck"_s, u"Ausgabe"_s, u"Einnahme"_s,
                                    u"Saldo"_s}));
    QCOMPARE(grid()->Columns(4).Width(), 1200);
    QCOMPARE(grid()->Columns(7).Width(), 3000);
    QCOMPARE(grid()->Columns(11).TextAlignment(), 2);
    const auto zelle = [&](int z, int s) { return grid()->model()->index(z, s - 1).data(); };
    QCOMPARE(ids(), QList<int>({3, 14, 10, 12, 11, 13}));
    QCOMPARE(zelle(1, 4).toString(), u"24.12.2026"_s);
    QCOMPARE(zelle(0, 9).toString(), u"64,37"_s);
    QCOMPARE(zelle(0, 10).toString(), u"0,00"_s);
    QCOMPARE(zelle(1, 11).toString(), u"40,00"_s);
    QCOMPARE(zelle(0, 11).toString(), QString());
    QCOMPARE(grid()->RowColorEven(), QColor(0xE0, 0xE0, 0xE0));
    QVERIFY(!grid()->RowColorOdd().isValid());
  }

  void quelleGleichZiel() {
    zustand().AusgewaehlteKategorie = u"Benzin"_s;
    oeffnen();
    zeileKlicken(grid(), 0);
    QVERIFY(!ok()->isEnabled());
    zielKlicken({u"Auto"_s, u"Benzin"_s});
    QCOMPARE(m_form->ZielKategorie, u"Benzin"_s);
    QVERIFY(ok()->isEnabled());
    const auto vorher = buchungen();
    QTest::mouseClick(ok(), Qt::LeftButton);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(MeldungTest::gezeigt().first().prompt, Text(1715));
    QCOMPARE(MeldungTest::gezeigt().first().titel, Text(1716));
    QCOMPARE(MeldungTest::gezeigt().first().stil, 64);
    QVERIFY(geladen());
    QCOMPARE(buchungen(), vorher);
  }

  void okNurMitMarkierterZeile() {
    fuenfBuchungen();
    zustand().AusgewaehlteKategorie = u"Lebensmittel"_s;
    oeffnen();
    zielKlicken({u"Haushalt"_s, u"Drogerie"_s});
    QVERIFY(!ok()->isEnabled());
    zeileKlicken(grid(), 1);
    QVERIFY(ok()->isEnabled());
    // Taking the selection away disables OK.
    zeileKlicken(grid(), 1, Qt::ControlModifier);
    QVERIFY(!ok()->isEnabled());
    // Another source clears the grid and its selection.
    zeileKlicken(grid(), 1);
    QVERIFY(ok()->isEnabled());
    quelleWaehlen(u"Benzin"_s);
    QVERIFY(!ok()->isEnabled());
    quelleWaehlen(u"Lebensmittel"_s);
    // Rows selected, but the current row moved off them with Ctrl+arrow: OK says so.
    zeileKlicken(grid(), 1);
    zeileKlicken(grid(), 2, Qt::ControlModifier);
    QTest::keyClick(grid(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(grid()->Row(), 3);
    QVERIFY(ok()->isEnabled());
    const auto vorher = buchungen();
    QTest::mouseClick(ok(), Qt::LeftButton);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(MeldungTest::gezeigt().first().prompt, Text(1719));
    QCOMPARE(MeldungTest::gezeigt().first().titel, Text(1716));
    QVERIFY(geladen());
    QCOMPARE(buchungen(), vorher);
  }

  // Exactly the selected bookings move, and only their category changes.
  void dreiVonFuenf() {
    fuenfBuchungen();
    sql(u"DELETE FROM Buchungen WHERE ID = 3"_s);
    zustand().AusgewaehlteKategorie = u"Lebensmittel"_s;
    oeffnen();
    QCOMPARE(ids(), QList<int>({14, 10, 12, 11, 13}));
    zeileKlicken(grid(), 0);
    zeileKlicken(grid(), 2, Qt::ControlModifier);
    zeileKlicken(grid(), 4, Qt::ControlModifier);
    zielKlicken({u"Haushalt"_s, u"Drogerie"_s});
    auto erwartet = buchungen();
    const int kategorie = 10;  // column of Kategorie in the table
    for (QVariantList& z : erwartet) {
      if (QList<qlonglong>({14, 12, 13}).contains(z[0].toLongLong()))
        z[kategorie] = u"Drogerie"_s;
    }
    QTest::mouseClick(ok(), Qt::LeftButton);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(MeldungTest::gezeigt().first().prompt, Text(1717));
    QVERIFY(!geladen());
    QCOMPARE(buchungen(), erwartet);
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Buchungen WHERE Kategorie = 'Lebensmittel'"_s),
             QVariant(2LL));
  }

  // The engine lists spellings that differ in letter case under one entry, and moves them too.
  void schreibvariantenUndWurzelAlsZiel() {
    sql(u"INSERT INTO Buchungen (ID, Datum, Kategorie) VALUES (30, '2027-01-01', 'benzin'),"
        "(31, '2027-01-02', 'BENZIN'), (32, '2027-01-03', 'Benzinkanister')"_s);
    zustand().AusgewaehlteKategorie = u"Benzin"_s;
    oeffnen();
    QCOMPARE(ids(), QList<int>({4, 30, 31}));
    grid()->setFocus();
    QTest::keyClick(grid(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(grid(), Qt::Key_A, Qt::ControlModifier);
    zielKlicken({});
    QCOMPARE(m_form->ZielKategorie, u"Kategorie"_s);
    QTest::mouseClick(ok(), Qt::LeftButton);
    QVERIFY(!geladen());
    for (int id : {4, 30, 31})
      QCOMPARE(kategorieVon(id), QVariant(u"Kategorie"_s));
    QCOMPARE(kategorieVon(32), QVariant(u"Benzinkanister"_s));
  }

  // Names with a single quote, and the keyboard alone: Tab into the grid, Space, Shift+Down, Tab
  // into the tree, arrows to the target, Return.
  void hochkommaMitTastatur() {
    sql(u"INSERT INTO Kategorien VALUES ('Rock''n''Roll','Rock''n''Roll',0),"
        "('Rock''n''Roll','Omas ''Spezial''',0);"
        "INSERT INTO Buchungen (ID, Datum, Kategorie) VALUES (40, '2027-01-01', 'Rock''n''Roll'),"
        "(41, '2027-01-02', 'Rock''n''Roll'), (42, '2027-01-03', 'Rock''n''Roll')"_s);
    zustand().AusgewaehlteKategorie = u"Rock'n'Roll"_s;
    oeffnen();
    QCOMPARE(ids(), QList<int>({40, 41, 42}));
    QTest::keyClick(m_form, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), grid());
    QTest::keyClick(grid(), Qt::Key_Space);
    QTest::keyClick(grid(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid()->SelectedItems().size(), 2);
    QTest::keyClick(grid(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), ziel());
    for (Qt::Key taste : {Qt::Key_End, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down})
      QTest::keyClick(ziel(), taste);
    QTRY_COMPARE(m_form->ZielKategorie, u"Omas 'Spezial'"_s);
    QVERIFY(ok()->isEnabled());
    QTest::keyClick(ziel(), Qt::Key_Return);
    QTRY_VERIFY(!geladen());
    QCOMPARE(kategorieVon(40), QVariant(u"Omas 'Spezial'"_s));
    QCOMPARE(kategorieVon(41), QVariant(u"Omas 'Spezial'"_s));
    QCOMPARE(kategorieVon(42), QVariant(u"Rock'n'Roll"_s));
  }

  // A booking that changed since the grid was filled: nothing is moved, and the dialog says why.
  void verschiebenScheitert() {
    fuenfBuchungen();
    zustand().AusgewaehlteKategorie = u"Lebensmittel"_s;
    oeffnen();
    zeileKlicken(grid(), 0);
    zeileKlicken(grid(), 1, Qt::ShiftModifier);
    zeileKlicken(grid(), 5, Qt::ControlModifier);
    zielKlicken({u"Freizeit"_s});
    // Another program moved number 13 (the last row) meanwhile.
    sql(u"UPDATE Buchungen SET Kategorie = 'Urlaub' WHERE ID = 13"_s);
    const auto vorher = buchungen();
    QTest::mouseClick(ok(), Qt::LeftButton);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    const auto& m = MeldungTest::gezeigt().first();
    QVERIFY(m.prompt.startsWith(Text(3004) + u"\n\n"_s));
    QVERIFY(m.prompt.contains(u"13"_s));
    QCOMPARE(m.titel, Text(3104));
    QCOMPARE(m.stil, 16);
    QVERIFY(geladen());
    QCOMPARE(buchungen(), vorher);
  }

  void beschriftungenHilfeUndTipps() {
    RegistrySchreiben(HKCU, BenutzerSchluessel(), u"Zamlotipp"_s, u"1"_s);
    zustand().AusgewaehlteKategorie = u"Lebensmittel"_s;
    oeffnen();
    QCOMPARE(m_form->windowTitle(), Text(2221));
    QCOMPARE(m_form->findChild<QLabel*>(u"Label2"_s)->text(), Text(2220));
    QCOMPARE(m_form->findChild<QLabel*>(u"Label3"_s)->text(), Text(2223));
    QCOMPARE(m_form->findChild<QLabel*>(u"Label1"_s)->text(), Text(2222));
    QCOMPARE(m_form->findChild<QPushButton*>(u"cmdHilfe"_s)->text(), Text(204));
    QCOMPARE(grid()->property("Tag").toString(), u"283"_s);
    // The tip of the field that gets the focus.
    grid()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(Formulare::geladen<frmHilfe>());
    QTRY_COMPARE(Formulare::geladen<frmHilfe>()->lbTip()->text(),
                 SprachText(zustand().Tippdatei, u"Tips"_s, u"283"_s));
    QTest::keyClick(grid(), Qt::Key_F1);
    QTest::mouseClick(m_form->findChild<QPushButton*>(u"cmdHilfe"_s), Qt::LeftButton);
    QCOMPARE(HilfeTest::aufrufe(), QList<int>({560, 560}));
    // Esc closes without a change, and the tip window goes with the dialog.
    const auto vorher = buchungen();
    zeileKlicken(grid(), 0);
    zielKlicken({u"Freizeit"_s});
    QTest::keyClick(ziel(), Qt::Key_Escape);
    QVERIFY(!geladen());
    QVERIFY(!Formulare::geladen<frmHilfe>());
    QCOMPARE(buchungen(), vorher);
  }
};

VELMARK_TEST_MAIN(TestVerschieben)
#include "tst_verschieben.moc"
