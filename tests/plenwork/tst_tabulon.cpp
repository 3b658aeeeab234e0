// The data grid: rows of a query read from a household book, the column layout, row colours,
// several selected rows and their values, and the colour values of the settings.

#include "DemoDaten.h"
#include "Farbwert.h"
#include "Tabulon.h"
#include "TabulonModell.h"
#include "TestMain.h"
#include "Testordner.h"

#include <QHeaderView>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class TestTabulon : public QObject {
  Q_OBJECT
  Testordner* m_ordner = nullptr;
  Tabulon* m_grid = nullptr;

  QString buch() const { return m_ordner->datei(u"Anna.mdb"_s); }

  QString zelle(int zeile, int spalte) const {
    return m_grid->model()->index(zeile, spalte).data().toString();
  }

  void klicken(int zeile, Qt::KeyboardModifiers tasten = {}) {
    // Column 1 (Datum) is shown in every layout of these tests.
    const QRect ort = m_grid->visualRect(m_grid->model()->index(zeile, 1));
    QVERIFY(ort.isValid());
    QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, tasten, ort.center());
  }

  QList<int> ausgewaehlt() const {
    QList<int> zeilen;
    for (const TabulonAuswahl& a : m_grid->SelectedItems())
      zeilen.append(a.RowPosition);
    return zeilen;
  }

  void binden(const QString& kategorie = {}) {
    m_grid->setDatabaseName(buch());
    m_grid->setLockType(3);
    Abfrage abfrage(u"Buchungen"_s,
                    {u"ID"_s, u"Datum"_s, u"Verwendungszweck"_s, u"Ausgabe"_s, u"Saldo"_s});
    if (!kategorie.isEmpty())
      abfrage.wo(u"Kategorie"_s, kategorie);
    m_grid->setRecordSource(abfrage.sortiert({u"Datum"_s, u"ID"_s}));
    m_grid->ClearFields();
    m_grid->Rebind();
  }

 private slots:
  void init() {
    m_ordner = new Testordner;
    QVERIFY2(m_ordner->ok(), qPrintable(m_ordner->fehler()));
    // Rows that sort by date before the number: 12 comes before 11.
    QVERIFY(DemoDaten::sqlAusfuehren(
        buch(),
        u"INSERT INTO Buchungen (ID, Datum, Verwendungszweck, Ausgabe, Kategorie, Saldo) VALUES "
        "(11, '2027-01-05', 'Brot', 2.5, 'Lebensmittel', 1234.5),"
        "(12, '2027-01-04', 'Käse', 1234567.891, 'Lebensmittel', -3)"_s));
    m_grid = new Tabulon;
    m_grid->resize(700, 300);
  }

  void cleanup() {
    delete m_grid;
    delete m_ordner;
  }

  void zeilenUndSpalten() {
    binden(u"Lebensmittel"_s);
    QCOMPARE(m_grid->Columns().Count(), 5);
    QCOMPARE(m_grid->model()->rowCount(), 3);
    QCOMPARE(m_grid->model()->headerData(2, Qt::Horizontal).toString(), u"Verwendungszweck"_s);
    // Order by date, then number; values as the data layer reads them.
    QCOMPARE(m_grid->GetRowData(0).Value(1), QVariant(3));
    QCOMPARE(m_grid->GetRowData(1).Value(1), QVariant(12));
    QCOMPARE(m_grid->GetRowData(2).Value(1), QVariant(11));
    QCOMPARE(m_grid->GetRowData(1).Value(3), QVariant(u"Käse"_s));
    QCOMPARE(m_grid->GetRowData(2).Value(2), QVariant(QDate(2027, 1, 5)));
    QVERIFY(!m_grid->GetRowData(1).Value(0).isValid());
    QVERIFY(!m_grid->GetRowData(1).Value(6).isValid());
    QVERIFY(!m_grid->GetRowData(3).Value(1).isValid());
    // Without a format, a value shows its own text; NULL shows nothing.
    QCOMPARE(zelle(1, 1), u"04.01.2027"_s);
    QCOMPARE(zelle(1, 3), u"1234567,891"_s);
    QCOMPARE(zelle(0, 4), QString());
  }

  void spaltenlayout() {
    binden(u"Lebensmittel"_s);
    m_grid->Columns(4).setFormat(u"##,##0.00"_s);
    m_grid->Columns(4).setTextAlignment(TabulonSpalte::Rechts);
    m_grid->Columns(4).setWidth(1200);
    m_grid->Columns(5).setFormat(u"##,##0.00"_s);
    m_grid->Columns(1).setVisible(false);
    m_grid->Columns(3).setTextAlignment(TabulonSpalte::Mitte);
    QCOMPARE(zelle(1, 3), u"1.234.567,89"_s);
    QCOMPARE(zelle(2, 4), u"1.234,50"_s);
    QCOMPARE(zelle(1, 4), u"-3,00"_s);
    QCOMPARE(m_grid->columnWidth(3), 80);
    QCOMPARE(m_grid->Columns(4).Width(), 1200);
    QVERIFY(m_grid->isColumnHidden(0));
    QVERIFY(!m_grid->Columns(1).Visible());
    const auto ausrichtung = [&](int spalte) {
      return m_grid->model()->index(1, spalte).data(Qt::TextAlignmentRole).toInt() &
             Qt::AlignHorizontal_Mask;
    };
    QCOMPARE(ausrichtung(3), int(Qt::AlignRight));
    QCOMPARE(ausrichtung(2), int(Qt::AlignHCenter));
    QCOMPARE(ausrichtung(1), int(Qt::AlignLeft));   // a date by default
    QCOMPARE(ausrichtung(4), int(Qt::AlignRight));  // a number by default
    // Numbers outside the grid are columns that take nothing.
    for (int nummer : {0, 6, -1}) {
      m_grid->Columns(nummer).setVisible(false);
      m_grid->Columns(nummer).setWidth(3000);
      QVERIFY(!m_grid->Columns(nummer).Visible());
      QCOMPARE(m_grid->Columns(nummer).Width(), 0);
      QCOMPARE(m_grid->Columns(nummer).Format(), QString());
    }

    // Rebind keeps the layout; ClearFields before it starts afresh.
    binden(u"Lebensmittel"_s);  // binden() clears the fields
    QVERIFY(!m_grid->isColumnHidden(0));
    QCOMPARE(m_grid->Columns(4).Format(), QString());
    m_grid->Columns(4).setFormat(u"##,##0.00"_s);
    m_grid->Columns(1).setVisible(false);
    m_grid->Rebind();
    QVERIFY(m_grid->isColumnHidden(0));
    QCOMPARE(zelle(2, 3), u"2,50"_s);
  }

  void zeilenfarben() {
    binden();
    const auto hintergrund = [&](int zeile) {
      return m_grid->model()->index(zeile, 2).data(Qt::BackgroundRole);
    };
    QVERIFY(!hintergrund(0).isValid());
    m_grid->setRowColorEven(QColor(0xE0, 0xE0, 0xE0));
    m_grid->setRowColorOdd(QColor(0xF5, 0xE3, 0xA5));
    QCOMPARE(hintergrund(0).value<QColor>(), QColor(0xE0, 0xE0, 0xE0));
    QCOMPARE(hintergrund(1).value<QColor>(), QColor(0xF5, 0xE3, 0xA5));
    QCOMPARE(hintergrund(2).value<QColor>(), QColor(0xE0, 0xE0, 0xE0));
    m_grid->setRowColorOdd(QColor());
    QVERIFY(!hintergrund(1).isValid());
    QCOMPARE(m_grid->RowColorEven(), QColor(0xE0, 0xE0, 0xE0));
  }

  void mehrereZeilenAuswaehlen() {
    binden();
    QCOMPARE(m_grid->Row(), -1);
    QVERIFY(!m_grid->RowSelected(m_grid->Row()));
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid));
    QSignalSpy wechsel(m_grid, &Tabulon::SelectionChange);

    klicken(1);
    klicken(3, Qt::ControlModifier);
    klicken(5, Qt::ControlModifier);
    QCOMPARE(wechsel.count(), 3);
    QCOMPARE(ausgewaehlt(), QList<int>({1, 3, 5}));
    QCOMPARE(m_grid->Row(), 5);
    QVERIFY(m_grid->RowSelected(5));
    QVERIFY(!m_grid->RowSelected(4));
    QCOMPARE(m_grid->GetRowData(3).Value(1), QVariant(4));

    // Ctrl with an arrow moves the current row and leaves the selection as it is.
    QTest::keyClick(m_grid, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(m_grid->Row(), 4);
    QVERIFY(!m_grid->RowSelected(m_grid->Row()));
    QCOMPARE(wechsel.count(), 3);

    // Ctrl+click on a selected row takes it out.
    klicken(3, Qt::ControlModifier);
    QCOMPARE(ausgewaehlt(), QList<int>({1, 5}));
    QCOMPARE(m_grid->Row(), 3);
    QVERIFY(!m_grid->RowSelected(3));
    QCOMPARE(wechsel.count(), 4);

    // Shift+click takes the range from the anchor.
    klicken(0);
    klicken(2, Qt::ShiftModifier);
    QCOMPARE(ausgewaehlt(), QList<int>({0, 1, 2}));

    // Binding again empties the selection and says so.
    const int vorher = wechsel.count();
    m_grid->Rebind();
    QVERIFY(m_grid->SelectedItems().isEmpty());
    QCOMPARE(wechsel.count(), vorher + 1);
  }

  void ohneDatei() {
    m_grid->setDatabaseName(m_ordner->datei(u"Fehlt.mdb"_s));
    m_grid->setRecordSource(Abfrage(u"Buchungen"_s));
    m_grid->Rebind();
    QCOMPARE(m_grid->model()->rowCount(), 0);
    QCOMPARE(m_grid->Columns().Count(), 0);
    QVERIFY(!QFile::exists(m_ordner->datei(u"Fehlt.mdb"_s)));
    QVERIFY(!m_grid->GetRowData(0).Value(1).isValid());
    m_grid->setDatabaseName(buch());
    m_grid->Rebind();
    QCOMPARE(m_grid->model()->rowCount(), 7);
  }

  void farbwert_data() {
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<QColor>("farbe");
    const QColor keine;
    QTest::newRow("Notation") << QVariant(u"&H00A5E3F5&"_s) << QColor(0xF5, 0xE3, 0xA5);
    QTest::newRow("ohne Schluss-&, klein") << QVariant(u"&h00e0e0e0"_s) << QColor(0xE0, 0xE0, 0xE0);
    QTest::newRow("kurz") << QVariant(u"&HFF&"_s) << QColor(0xFF, 0, 0);
    QTest::newRow("Leerzeichen") << QVariant(u" &H0000FF00& "_s) << QColor(0, 0xFF, 0);
    QTest::newRow("dezimal") << QVariant(u"16711680"_s) << QColor(0, 0, 0xFF);
    QTest::newRow("Zahlwert") << QVariant(qint32(255)) << QColor(0xFF, 0, 0);
    QTest::newRow("Systemfarbe") << QVariant(u"&H80000005&"_s) << keine;
    QTest::newRow("zu groß") << QVariant(u"&H1000000&"_s) << keine;
    QTest::newRow("negativ") << QVariant(qint32(-1)) << keine;
    QTest::newRow("kein Hex") << QVariant(u"&HGG&"_s) << keine;
    QTest::newRow("Wort") << QVariant(u"blau"_s) << keine;
    QTest::newRow("fehlt") << QVariant() << keine;
  }

  void farbwert() {
    QFETCH(QVariant, wert);
    QFETCH(QColor, farbe);
    const std::optional<QColor> ergebnis = Farbwert(wert);
    QCOMPARE(ergebnis.has_value(), farbe.isValid());
    if (ergebnis)
      QCOMPARE(*ergebnis, farbe);
  }
};

VELMARK_TEST_MAIN(TestTabulon)
#include "tst_tabulon.moc"
