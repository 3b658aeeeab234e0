// What makes booking quick: the purpose remembers its category and payee or payer, and the tray
// confirms every booking and takes the session's last one back while nobody has changed it.

#include "Buchungsmeldung.h"
#include "Buchungstest.h"
#include "Verbindung.h"
#include "Zweckgedaechtnis.h"
#include "frmAusgabe.h"
#include "frmEinnahme.h"
#include "frmTray.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace {

// Bookings of the purpose in every letter case, dated after the demo's, in an order that is not
// their dates': the latest date wins, among one day's the one stored last; the income is another
// kind.
const QString FruehereBuchungen = uR"(
INSERT INTO Buchungen VALUES (10, 'Girokonto', 'Ausgabe', '2027-01-10', 30, 'EUR', 0, 30,
  'Markt Alt', '', 'Haushalt', 'Wocheneinkauf', 0, NULL);
INSERT INTO Buchungen VALUES (11, 'Girokonto', 'Ausgabe', '2027-02-20', 40, 'EUR', 0, 40,
  'Bio-Laden', '', 'Obst', 'WOCHENEINKAUF', 0, NULL);
INSERT INTO Buchungen VALUES (15, 'Girokonto', 'Ausgabe', '2027-02-20', 45, 'EUR', 0, 45,
  'Hofladen', '', 'Gemüse', 'wocheneinkauf', 0, NULL);
INSERT INTO Buchungen VALUES (12, 'Girokonto', 'Ausgabe', '2027-02-01', 50, 'EUR', 0, 50,
  'Markt Neu', '', 'Getränke', 'Wocheneinkauf', 0, NULL);
INSERT INTO Buchungen VALUES (13, 'Girokonto', 'Einnahme', '2027-03-01', 20, 'EUR', 20, 0,
  '', 'Oma', 'Geschenke', 'Wocheneinkauf', NULL, NULL);
INSERT INTO Buchungen VALUES (14, 'Girokonto', 'Ausgabe', '2027-02-03', 5, 'EUR', 0, 5,
  'Bäckerei Groß', '', 'Brot', 'ÄPFEL VOM HOF', 0, NULL);
)"_s;

}  // namespace

class TestSchnellbuchung : public Buchungstest {
  Q_OBJECT

  frmTray* tray = nullptr;

  // The tray as zamlo runs it, on this test's folder and day.
  void trayLaden() {
    frmTray::programmordnerVorgabe = ordner->pfad();
    tray = Formulare::laden<frmTray>();
    QVERIFY(tray);
    zustandStarten(ordner->pfad(), QDate(2026, 3, 5));
    zustand().AktuellerBenutzer = u"Anna"_s;
    zustand().Benutzerdatei = buch();
  }
  QAction* zuruecknehmen() {
    return tray->mnuThing()->findChild<QAction*>(u"mnuZuruecknehmen"_s);
  }

  // One expense through the dialog with the keyboard, OK pressed.
  void ausgabe(const QString& betrag, const QString& zweck, const QString& kategorie,
               bool inventar = false) {
    oeffnen<frmAusgabe>();
    tippen(feld("txtBetrag"), betrag);
    tippen(liste("cboVerwendungszweck"), zweck);
    tippen(liste("cboKategorie"), kategorie);
    if (inventar) {
      fokus(kind<QCheckBox>(dialog, "Check1"));
      QTest::keyClick(kind<QCheckBox>(dialog, "Check1"), Qt::Key_Space);
    }
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen<frmAusgabe>());
  }

  QList<QVariantList> alleZeilen() {
    return roh(buch(), u"SELECT rowid, * FROM Buchungen ORDER BY rowid"_s) +
           roh(buch(), u"SELECT rowid, * FROM Inventar ORDER BY rowid"_s);
  }

  void zuruecknehmenWaehlen(int antwort) {
    MeldungTest::antworten({antwort});
    QVERIFY(zuruecknehmen()->isVisible());
    zuruecknehmen()->trigger();
    QTRY_VERIFY(!MeldungTest::gezeigt().isEmpty());
    QCoreApplication::processEvents();
  }

 private slots:
  void initTestCase() { einmalig(); }
  void init() {
    vorbereiten();
    Buchungsmelder::instanz().allesVergessen();
    tray = nullptr;
  }
  void cleanup() {
    aufraeumen();
    Buchungsmelder::instanz().allesVergessen();
  }

  // --- purpose memory -------------------------------------------------------------------------

  void zweckGedaechtnis_data() {
    QTest::addColumn<bool>("einnahme");
    QTest::addColumn<QString>("vorbereitung");
    QTest::addColumn<QString>("zweck");
    QTest::addColumn<QString>("kategorieVorher");
    QTest::addColumn<QString>("nameVorher");
    QTest::addColumn<QString>("kategorie");
    QTest::addColumn<QString>("name");
    QTest::newRow("neuester Tag, dort zuletzt gespeichert, Schreibweise egal")
        << false << u""_s << u"wOCHENEINKAUF"_s << u""_s << u""_s << u"Gemüse"_s << u"Hofladen"_s;
    QTest::newRow("Umlaute in anderer Schreibweise")
        << false << u""_s << u"äpfel vom hof"_s << u""_s << u""_s << u"Brot"_s
        << u"Bäckerei Groß"_s;
    QTest::newRow("Kategorie schon getippt")
        << false << u""_s << u"Wocheneinkauf"_s << u"Miete"_s << u""_s << u"Miete"_s
        << u"Hofladen"_s;
    QTest::newRow("Empfänger schon getippt")
        << false << u""_s << u"Wocheneinkauf"_s << u""_s << u"Markt"_s << u"Gemüse"_s << u"Markt"_s;
    QTest::newRow("beides getippt") << false << u""_s << u"Wocheneinkauf"_s << u"Miete"_s
                                    << u"Markt"_s << u"Miete"_s << u"Markt"_s;
    QTest::newRow("nie gebucht")
        << false << u""_s << u"Zirkuskarten"_s << u""_s << u""_s << u""_s << u""_s;
    QTest::newRow("mehr als der Zweck")
        << false << u""_s << u"Wocheneinkauf groß"_s << u""_s << u""_s << u""_s << u""_s;
    QTest::newRow("Einnahme: nur Einnahmen zählen")
        << true << u""_s << u"Wocheneinkauf"_s << u""_s << u""_s << u"Geschenke"_s << u"Oma"_s;
    QTest::newRow("Buch ohne den Index")
        << false << u"DROP INDEX Buchungen_Verwendungszweck;"_s << u"WOCHENEINKAUF"_s << u""_s
        << u""_s << u"Gemüse"_s << u"Hofladen"_s;
  }
  void zweckGedaechtnis() {
    QFETCH(bool, einnahme);
    QFETCH(QString, vorbereitung);
    QFETCH(QString, zweck);
    QFETCH(QString, kategorieVorher);
    QFETCH(QString, nameVorher);
    QFETCH(QString, kategorie);
    QFETCH(QString, name);
    sql(FruehereBuchungen + vorbereitung);
    if (einnahme)
      oeffnen<frmEinnahme>();
    else
      oeffnen<frmAusgabe>();
    QComboBox* namen = liste(einnahme ? "cboAuftraggeber" : "cboEmpfaenger");
    if (!kategorieVorher.isEmpty())
      tippen(liste("cboKategorie"), kategorieVorher);
    if (!nameVorher.isEmpty()) {
      // A new name: the address question is answered No.
      MeldungTest::antworten({Antwort::Nein});
      tippen(namen, nameVorher);
      weiter();
    }
    tippen(liste("cboVerwendungszweck"), zweck);
    weiter();
    QCOMPARE(liste("cboVerwendungszweck")->currentText(), zweck);
    QCOMPARE(liste("cboKategorie")->currentText(), kategorie);
    QCOMPARE(namen->currentText(), name);
    if (kategorieVorher.isEmpty() && !kategorie.isEmpty()) {
      // The focus went on to the category, selected: typing replaces it.
      QCOMPARE(QApplication::focusWidget(), liste("cboKategorie"));
      QCOMPARE(liste("cboKategorie")->lineEdit()->selectedText(), kategorie);
    }
  }

  // One statement, and the index narrows it; a purpose that begins outside ASCII compares every
  // row and is found all the same (the table above).
  void zweckAbfrageNutztIndex() {
    Datenbank db = Datenbank::oeffnen(buch());
    QVERIFY(db.offen());
    QStringList spalten;
    QList<QVariantList> plan;
    QString fehler;
    QVERIFY2(db.verbindung()->lesen(u"EXPLAIN QUERY PLAN "_s +
                                        Zweckgedaechtnis::sql(Buchungsart::Ausgabe, true),
                                    {u"a"_s, u"b"_s, u"a"_s, u"Ausgabe"_s}, spalten, plan, &fehler),
             qPrintable(fehler));
    QStringList schritte;
    for (const auto& z : plan)
      schritte << z.last().toString();
    QVERIFY2(schritte.join(u'|').contains(u"USING INDEX Buchungen_Verwendungszweck"_s),
             qPrintable(schritte.join(u'|')));
    const auto b = Zweckgedaechtnis::bereich(u"Öl"_s);
    QVERIFY(b.unten.isEmpty() && b.oben.isEmpty());
    QCOMPARE(Zweckgedaechtnis::bereich(u"Bäcker"_s).unten, u"b"_s);
  }

  // --- confirmation and taking back --------------------------------------------------------------

  void bestaetigungUndZuruecknehmen() {
    trayLaden();
    QVERIFY(!zuruecknehmen()->isVisible());
    ausgabe(u"10"_s, u"Tanken"_s, u"Benzin"_s);
    const QList<QVariantList> nachErster = alleZeilen();
    ausgabe(u"12,50+3,20"_s, u"Wocheneinkauf"_s, u"Lebensmittel"_s, true);
    QCOMPARE(buchungen(), 7);
    QCOMPARE(anzahl(u"Inventar"_s), 1);
    QVERIFY(Buchungsmelder::instanz().letzte());
    QCOMPARE(Buchungsmelder::instanz().letzte()->text, u"Ausgabe 15,70 EUR · Lebensmittel gebucht"_s);

    // No: nothing happens, and it is still offered.
    zuruecknehmenWaehlen(Antwort::Nein);
    QCOMPARE(buchungen(), 7);
    QVERIFY(zuruecknehmen()->isVisible());

    MeldungTest::vergessen();
    zuruecknehmenWaehlen(Antwort::Ja);
    QCOMPARE(meldungen(),
             QList{meldung(3051, 3151, 36, u"Ausgabe 15,70 EUR · Lebensmittel gebucht"_s)});
    // Exactly that booking and its item are gone; the one before is as it was.
    QCOMPARE(alleZeilen(), nachErster);
    QVERIFY(!zuruecknehmen()->isVisible());
    // Its number stays used: the next booking gets the one after it.
    QCOMPARE(RegistryLesen(HKCU, BenutzerSchluessel(), u"ID"_s), QVariant(u"7"_s));
    ausgabe(u"3"_s, u"Brötchen"_s, u"Lebensmittel"_s);
    QCOMPARE(letzteBuchungen(1).value(0).value(0), QVariant(8LL));
    QVERIFY(zuruecknehmen()->isVisible());
  }

  void andererHatGeaendert_data() {
    QTest::addColumn<QString>("aenderung");
    QTest::addColumn<int>("meldung");
    QTest::addColumn<bool>("nochAngeboten");
    QTest::newRow("Kategorie im Hauptprogramm geändert")
        << u"UPDATE Buchungen SET Kategorie = 'Haushalt' WHERE ID = 6;"_s << 3053 << false;
    QTest::newRow("Betrag neu gerundet")
        << u"UPDATE Buchungen SET Betrag = 15.700001 WHERE ID = 6;"_s << 3053 << false;
    QTest::newRow("Saldo nachgetragen")
        << u"UPDATE Buchungen SET Saldo = 100 WHERE ID = 6;"_s << 3053 << false;
    QTest::newRow("im Hauptprogramm gelöscht")
        << u"DELETE FROM Buchungen WHERE ID = 6;"_s << 3053 << false;
    QTest::newRow("Inventareintrag geändert")
        << u"UPDATE Inventar SET Bemerkung = 'Garantie' WHERE ID = 6;"_s << 3053 << false;
    // A fault half-way: the booking row is deleted, the item refused; nothing may be gone.
    QTest::newRow("Inventar verweigert das Löschen")
        << u"CREATE TRIGGER nein BEFORE DELETE ON Inventar BEGIN SELECT RAISE(ABORT, 'nein'); END;"_s
        << 3054 << true;
  }
  void andererHatGeaendert() {
    QFETCH(QString, aenderung);
    QFETCH(int, meldung);
    QFETCH(bool, nochAngeboten);
    trayLaden();
    ausgabe(u"12,50+3,20"_s, u"Wocheneinkauf"_s, u"Lebensmittel"_s, true);
    sql(aenderung);
    const QList<QVariantList> vorher = alleZeilen();
    zuruecknehmenWaehlen(Antwort::Ja);
    QTRY_COMPARE(MeldungTest::gezeigt().size(), 2);
    const auto& m = MeldungTest::gezeigt().at(1);
    QCOMPARE(m.promptNr, meldung);
    QCOMPARE(m.titelNr, meldung + 100);
    QCOMPARE(m.stil, meldung == 3053 ? 48 : 16);
    QCOMPARE(alleZeilen(), vorher);
    QCOMPARE(zuruecknehmen()->isVisible(), nochAngeboten);
    if (!nochAngeboten)
      return;
    // Once the file takes it, the same booking goes.
    sql(u"DROP TRIGGER nein;"_s);
    MeldungTest::vergessen();
    zuruecknehmenWaehlen(Antwort::Ja);
    QCOMPARE(buchungen(), 5);
    QCOMPARE(anzahl(u"Inventar"_s), 0);
  }
};

VELMARK_TEST_MAIN(TestSchnellbuchung)
#include "tst_schnellbuchung.moc"
