// The income dialog: what it shares with the expense dialog is tested there; here what sets it
// apart, seen by the user or in the stored row.

#include "Buchungstest.h"
#include "Hilfe.h"
#include "frmAusgabe.h"
#include "frmEinnahme.h"

#include <QCalendarWidget>
#include <QCheckBox>

using namespace Qt::StringLiterals;

class TestEinnahme : public Buchungstest {
  Q_OBJECT

  void oeffnen() { Buchungstest::oeffnen<frmEinnahme>(); }

 private slots:
  void initTestCase() { einmalig(); }

  void init() {
    vorbereiten();
    HilfeTest::vergessen();
  }

  void cleanup() { aufraeumen(); }

  void laden() {
    oeffnen();
    QCOMPARE(dialog->windowTitle(), Text(538));
    QVERIFY(!dialog->windowTitle().isEmpty());
    QCOMPARE(liste("cboKonto")->currentText(), u"Girokonto"_s);
    QCOMPARE(liste("cboWaehrung")->currentText(), u"EUR"_s);
    QCOMPARE(feld("txtDatum")->text(), u"05.03.2026"_s);
    QCOMPARE(feld("txtBetrag")->text(), u"0,00"_s);
    // Enabled before anything is entered.
    QVERIFY(knopf("cmdOK")->isEnabled());
    QVERIFY(knopf("cmdUebernehmen")->isEnabled());

    // The payer list in place of the payee list; no inventory box.
    QVERIFY(liste("cboAuftraggeber"));
    QVERIFY(!dialog->findChild<QWidget*>(u"cboEmpfaenger"_s));
    QVERIFY(!dialog->findChild<QWidget*>(u"Check1"_s));
    QVERIFY(!dialog->findChild<QWidget*>(u"Label9"_s));

    // Captions: Label4 beside the payer list, the purpose's label is Label6. The income's own
    // numbers, not only their texts: most read as the expense dialog's do.
    const QList<QPair<const char*, int>> beschriftungen{{"Label1", 531}, {"Label2", 532},
                                                        {"Label3", 533}, {"Label6", 534},
                                                        {"Label5", 535}, {"Label4", 536}};
    for (const auto& [name, nr] : beschriftungen) {
      QCOMPARE(kind<QLabel>(dialog, name)->property("Tag").toString(), QString::number(nr));
      QCOMPARE(kind<QLabel>(dialog, name)->text(), Text(nr));
    }
    QCOMPARE(kind<QLabel>(dialog, "Label4")->buddy(), liste("cboAuftraggeber"));
    QCOMPARE(kind<QLabel>(dialog, "Label6")->buddy(), liste("cboVerwendungszweck"));
    QCOMPARE(knopf("cmdOK")->text(), Text(201));

    // Tips: purpose and payer share 95.
    const QList<QPair<const char*, const char*>> tipps{{"cboKonto", "91"},
                                                       {"txtDatum", "92"},
                                                       {"txtBetrag", "93"},
                                                       {"cboWaehrung", "94"},
                                                       {"cboVerwendungszweck", "95"},
                                                       {"cboAuftraggeber", "95"},
                                                       {"cboKategorie", "96"}};
    for (const auto& [name, tag] : tipps)
      QCOMPARE(kind<QWidget>(dialog, name)->property("Tag").toString(), QString::fromLatin1(tag));

    QCOMPARE(tabfolge(),
             (QStringList{u"cboKonto"_s, u"txtDatum"_s, u"cmdKalender"_s, u"txtBetrag"_s,
                          u"cboWaehrung"_s, u"cboVerwendungszweck"_s, u"cboKategorie"_s,
                          u"cboAuftraggeber"_s, u"cmdUebernehmen"_s, u"cmdOK"_s, u"cmdAbbrechen"_s,
                          u"cmdKategorie"_s, u"cmdHilfe"_s, u"cmdSave"_s}));

    // The expense dialog opened beside it keeps its own names and texts.
    auto* ausgabe = Formulare::laden<frmAusgabe>();
    QVERIFY(ausgabe);
    QCOMPARE(kind<QLabel>(ausgabe, "Label4")->text(), Text(353));
    QCOMPARE(kind<QComboBox>(ausgabe, "cboEmpfaenger")->property("Tag").toString(), u"60"_s);
    QVERIFY(!kind<QPushButton>(ausgabe, "cmdOK")->isEnabled());
  }

  // The payer list skips a name equal to the one of the row before and names that read as zero;
  // the expense dialog's payee list takes every row.
  void namensliste() {
    // After the demo's rows: Stadtwerke, Supermarkt am Markt, Tankstelle Nord, Wohnbau GmbH,
    // Arbeitgeber AG, Möbelhaus Öztürk.
    sql(u"INSERT INTO Adressen VALUES (0, 'Möbelhaus Öztürk');"
        "INSERT INTO Adressen VALUES (0, '0');"
        "INSERT INTO Adressen VALUES (0, '0,00');"
        "INSERT INTO Adressen VALUES (0, '0,5');"
        "INSERT INTO Adressen VALUES (0, 'möbelhaus öztürk');"
        "INSERT INTO Adressen VALUES (0, 'Stadtwerke');"_s);
    oeffnen();
    QCOMPARE(eintraege(liste("cboAuftraggeber")),
             (QStringList{u"0,5"_s, u"Arbeitgeber AG"_s, u"Möbelhaus Öztürk"_s,
                          u"möbelhaus öztürk"_s, u"Stadtwerke"_s, u"Stadtwerke"_s,
                          u"Supermarkt am Markt"_s, u"Tankstelle Nord"_s, u"Wohnbau GmbH"_s}));
    auto* ausgabe = Formulare::laden<frmAusgabe>();
    QVERIFY(ausgabe);
    const QStringList alle = eintraege(kind<QComboBox>(ausgabe, "cboEmpfaenger"));
    QCOMPARE(alle.size(), 12);
    QCOMPARE(alle.count(u"Möbelhaus Öztürk"_s), 2);
    QVERIFY(alle.contains(u"0"_s) && alle.contains(u"0,00"_s));
  }

  // OK at once: the validation message, nothing stored.
  void okSofort() {
    oeffnen();
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QCOMPARE(meldungen(), QList{meldung(1339, 1340, 64)});
    QCOMPARE(buchungen(), 5);
    QVERIFY(Formulare::geladen<frmEinnahme>());
    // From the first change on, the buttons follow amount and category as in the expense dialog.
    tippen(feld("txtBetrag"), u"100"_s);
    QVERIFY(!knopf("cmdOK")->isEnabled());
    QVERIFY(!knopf("cmdUebernehmen")->isEnabled());
  }

  void buchen() {
    oeffnen();
    waehlen("cboKonto", u"Dollarkonto"_s);
    waehlen("cboWaehrung", u"EUR"_s);
    tippen(feld("txtDatum"), u"20.07.2025"_s);
    tippen(feld("txtBetrag"), u"1.000"_s);
    tippen(liste("cboVerwendungszweck"), u"Bonus"_s);
    tippen(liste("cboKategorie"), u"Gehalt"_s);
    tippen(liste("cboAuftraggeber"), u"Arbeitgeber AG"_s);
    QTest::mouseClick(knopf("cmdUebernehmen"), Qt::LeftButton);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    // The converted amount in Einnahme, "0,00" in Ausgabe, no payee, no Versicherung.
    QCOMPARE(letzteBuchungen(1),
             (QList<QVariantList>{{6LL, u"Dollarkonto"_s, u"Einnahme"_s, u"2025-07-20"_s, 1000.0,
                                   u"EUR"_s, 1100.0, 0.0, u""_s, u"Arbeitgeber AG"_s, u"Gehalt"_s,
                                   u"Bonus"_s, QVariant(), QVariant()}}));
    QCOMPARE(anzahl(u"Inventar"_s), 0);

    // Cleared, and the date back to the start-up date; account and currency stay.
    QVERIFY(Formulare::geladen<frmEinnahme>());
    QCOMPARE(feld("txtDatum")->text(), u"05.03.2026"_s);
    QCOMPARE(feld("txtBetrag")->text(), u"0,00"_s);
    QCOMPARE(betragKonto(), u"0,00"_s);
    for (const char* name : {"cboKategorie", "cboAuftraggeber", "cboVerwendungszweck"})
      QCOMPARE(liste(name)->currentText(), QString());
    QCOMPARE(liste("cboKonto")->currentText(), u"Dollarkonto"_s);
    QCOMPARE(liste("cboWaehrung")->currentText(), u"EUR"_s);
    QVERIFY(!knopf("cmdOK")->isEnabled());
    QTRY_COMPARE(QApplication::focusWidget(), feld("txtBetrag"));

    // The next income, with the start-up date, and a negative amount.
    QTest::keyClicks(feld("txtBetrag"), u"-20"_s);
    tippen(liste("cboKategorie"), u"Zinsen"_s);
    QTest::keyClick(liste("cboKategorie"), Qt::Key_Return);
    QTRY_VERIFY(!Formulare::geladen<frmEinnahme>());
    QCOMPARE(letzteBuchungen(1),
             (QList<QVariantList>{{7LL, u"Dollarkonto"_s, u"Einnahme"_s, u"2026-03-05"_s, -20.0,
                                   u"EUR"_s, -22.0, 0.0, u""_s, u""_s, u"Zinsen"_s, u""_s,
                                   QVariant(), QVariant()}}));
    QCOMPARE(RegistryLesen(HKCU, BenutzerSchluessel(), u"ID"_s), QVariant(u"7"_s));
  }

  // Another account does not re-check the buttons (no change handler on the account list); the
  // amount does.
  void kontoOhneAenderung() {
    oeffnen();
    waehlen("cboKonto", u"Sparkonto"_s);
    QVERIFY(knopf("cmdOK")->isEnabled());
    tippen(feld("txtBetrag"), u"5"_s);
    QVERIFY(!knopf("cmdOK")->isEnabled());
    tippen(liste("cboKategorie"), u"Zinsen"_s);
    QVERIFY(knopf("cmdOK")->isEnabled());
  }

  void datum_data() {
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("ergebnis");
    QTest::addColumn<bool>("meldung");
    // Sparkonto starts on 1 January 2024.
    QTest::newRow("Tag vor dem Beginn") << u"31.12.2023"_s << u"05.03.2026"_s << true;
    QTest::newRow("Beginn") << u"01.01.2024"_s << u"01.01.2024"_s << false;
    QTest::newRow("leer") << u""_s << u"05.03.2026"_s << true;
  }
  void datum() {
    QFETCH(QString, eingabe);
    QFETCH(QString, ergebnis);
    QFETCH(bool, meldung);
    oeffnen();
    waehlen("cboKonto", u"Sparkonto"_s);
    leerenUndTippen(feld("txtDatum"), eingabe);
    weiter();
    QCOMPARE(feld("txtDatum")->text(), ergebnis);
    QCOMPARE(meldungen(), meldung ? QList{::meldung(1341, 1342, 64)} : QList<Meldungsdaten>{});
    if (meldung)
      QTRY_COMPARE(QApplication::focusWidget(), feld("txtDatum"));
  }

  void hilfeUndKalender() {
    sql(u"UPDATE Konten SET Datum = '2000-01-01'"_s);
    oeffnen();
    fokus(feld("txtBetrag"));
    QTest::keyClick(feld("txtBetrag"), Qt::Key_F1);
    QTest::mouseClick(knopf("cmdHilfe"), Qt::LeftButton);
    QCOMPARE(HilfeTest::aufrufe(), (QList<int>{50, 50}));
    zurueck();
    bool gesehen = false;
    imModalen([&](Formular* k) {
      QCOMPARE(zustand().KalenderZiel, u"Einnahme"_s);
      kind<QCalendarWidget>(k, "MonthView1")->setSelectedDate(QDate(2001, 3, 5));
      QTest::keyClick(kind<QPushButton>(k, "cmdOK"), Qt::Key_Return);
      gesehen = true;
    });
    QTest::mouseClick(knopf("cmdKalender"), Qt::LeftButton);
    QVERIFY(gesehen);
    QCOMPARE(feld("txtDatum")->text(), u"05.03.2001"_s);
    // Esc closes without booking.
    zurueck();
    fokus(liste("cboAuftraggeber"));
    QTest::keyClick(liste("cboAuftraggeber"), Qt::Key_Escape);
    QTRY_VERIFY(!Formulare::geladen<frmEinnahme>());
    QCOMPARE(buchungen(), 5);
  }
};

VELMARK_TEST_MAIN(TestEinnahme)
#include "tst_einnahme.moc"
