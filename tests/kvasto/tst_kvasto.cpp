// The stand-in main program driven as a user drives it, on real data files: which book opens,
// the first run, accounts, rates and the insurance currency (and what the tray program's
// expense dialog makes of them), the booking list with its filters and sums, corrections and
// deletions with the inventory item (also when the file refuses half-way), and the export. What
// it shows and writes is compared with rows read from the files by the engine directly.

#include "Kvastotest.h"
#include "Monatsdiagramm.h"
#include "frmAusgabe.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

const QString Abbrechen = u"<Abbrechen>"_s;

// German number and month texts, made here with the locale rather than the program's own code.
QString deutsch(double wert) {
  return QLocale(QLocale::German, QLocale::Germany).toString(wert, 'f', 2);
}
QString monatText(const QString& schluessel) {
  const QDate d = QDate::fromString(schluessel + u"-01"_s, Qt::ISODate);
  return QLocale(QLocale::German, QLocale::Germany).standaloneMonthName(d.month()) + u' ' +
         QString::number(d.year());
}
QString datumText(const QVariant& iso) {
  return QDate::fromString(iso.toString(), Qt::ISODate).toString(u"dd.MM.yyyy"_s);
}

// Records of a CSV text: fields split at ";" outside quotes, records at CR LF.
QList<QStringList> csvLesen(const QString& text) {
  QList<QStringList> saetze;
  QStringList satz;
  QString feld;
  bool inAnfuehrung = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (inAnfuehrung) {
      if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
        feld += text[++i];
      else if (c == u'"')
        inAnfuehrung = false;
      else
        feld += c;
    } else if (c == u'"') {
      inAnfuehrung = true;
    } else if (c == u';') {
      satz.append(std::exchange(feld, {}));
    } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      satz.append(std::exchange(feld, {}));
      saetze.append(std::exchange(satz, {}));
      ++i;
    } else {
      feld += c;
    }
  }
  return saetze;
}

// More bookings beside the demo's: case variants of an account and a category, a category that
// is no subcategory, an income of another account, one in dollars, one from an older year, one
// with the number and date of another.
const QString MehrBuchungen =
    uR"(
INSERT INTO Buchungen (ID, KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, Ausgabe,
  Empfaenger, Auftraggeber, Kategorie, Verwendungszweck, Versicherung) VALUES
 (6, 'Girokonto', 'Ausgabe', '2026-01-15', 20.5, 'EUR', 0, 20.5, 'Supermarkt am Markt', '',
  'lebensmittel', 'Wocheneinkauf', 0),
 (7, 'girokonto', 'Ausgabe', '2025-12-24', 99.99, 'EUR', 0, 99.99, 'Kino am Markt', '', 'Kino',
  '100% Spass', 0),
 (8, 'Sparkonto', 'Einnahme', '2026-12-31', 3.1, 'EUR', 3.1, 0, '', 'Bank', 'Zinsen',
  'Zinsen 2026', NULL),
 (9, 'Dollarkonto', 'Ausgabe', '2026-11-30', 5, 'USD', 0, 5, 'Kiosk', '', 'Sonstiges', 'Zeitung',
  0),
 (10, 'Girokonto', 'Ausgabe', '2024-05-01', 10, 'EUR', 0, 10, '', '', 'Benzin', 'Tanken', 0),
 (3, 'Girokonto', 'Ausgabe', '2026-12-02', 1, 'EUR', 0, 1, '', '', 'Drogerie', 'Seife', 0);
)"_s;

// Booking 3 taken into the inventory, and an item of another booking with the same number.
const QString MitInventar =
    uR"(
UPDATE Buchungen SET Versicherung = 1 WHERE ID = 3;
INSERT INTO Inventar VALUES (3, 'Anna', 'Lebensmittel', '2026-12-02', 'Wocheneinkauf', 64.37,
  'EUR', 64.37, -1, '');
INSERT INTO Inventar VALUES (3, 'Anna', 'Lebensmittel', '2025-01-01', 'Wocheneinkauf', 1, 'EUR',
  1, -1, '');
)"_s;

const QString Buchungsspalten =
    u"Datum, Betrag, Einnahme, Ausgabe, Empfaenger, Auftraggeber, Kategorie, Verwendungszweck"_s;

}  // namespace

class TestKvasto : public Kvastotest {
  Q_OBJECT

  QTableWidget* tabelle(const char* name) { return imFenster<QTableWidget>(name); }

  // Clicks a row of a table of the window (by the text of its first column).
  void zeileKlicken(const char* name, const QString& erste) {
    QTableWidget* t = tabelle(name);
    const auto treffer = t->findItems(erste, Qt::MatchExactly);
    QVERIFY2(!treffer.isEmpty(), qPrintable(erste));
    fokus(t);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                      t->visualItemRect(treffer.first()).center());
    QCOMPARE(t->currentRow(), treffer.first()->row());
  }

  // A message of text `nummer` as the first shown, with its style.
  static std::pair<QString, int> meldungNr(int nummer, int stil) { return {Text(nummer), stil}; }

  QList<QVariantList> dump() {
    return roh(buch(), u"SELECT * FROM Buchungen ORDER BY rowid"_s) +
           roh(buch(), u"SELECT * FROM Inventar ORDER BY rowid"_s);
  }

  // The correction dialog of booking `id`, filled in with `werte` (date, amount, category,
  // purpose, payee or payer) and confirmed; `schluss` runs in the dialog afterwards.
  void korrigieren(int id, const QStringList& werte,
                   std::function<void(QDialog*)> schluss = nullptr) {
    buchungWaehlen(id);
    bool fertig = false;
    imDialog([&](QDialog* d) {
      const char* felder[] = {"txtDatum", "txtBetrag", "cboKategorie", "txtVerwendungszweck",
                              "txtName"};
      for (int i = 0; i < werte.size(); ++i)
        eintragen(d, felder[i], werte[i]);
      bestaetigen(d);
      if (schluss)
        schluss(d);
      fertig = true;
    });
    QTest::keyClick(fenster->buchungsseite()->liste(), Qt::Key_Return);
    QTRY_VERIFY(fertig);
  }

 private slots:
  void initTestCase() { einmalig(); }
  void init() { vorbereiten(); }
  void cleanup() { kvastoAufraeumen(); }

  // --- which book, first run -----------------------------------------------------------------

  void ersterStart_data() {
    QTest::addColumn<QString>("buchSql");
    QTest::addColumn<QString>("datenSql");
    QTest::addColumn<bool>("buchFehlt");
    QTest::addColumn<QString>("seite");
    QTest::addColumn<QString>("hinweis");  // part of the note; empty: none shows
    QTest::newRow("mit Konten") << QString() << QString() << false << u"seiteBuchungen"_s
                                << QString();
    QTest::newRow("ohne Konto") << u"DELETE FROM Konten"_s << QString() << false << u"seiteKonten"_s
                                << u"noch kein Konto"_s;
    QTest::newRow("ohne aktive Währung")
        << u"DELETE FROM Konten"_s << u"UPDATE Wechselkurs SET Aktiv = 0"_s << false
        << u"seiteKonten"_s << u"aktive Währung"_s;
    QTest::newRow("Buch fehlt") << QString() << QString() << true << u"seiteBuchungen"_s
                                << u"wurde nicht gefunden"_s;
  }
  void ersterStart() {
    QFETCH(QString, buchSql);
    QFETCH(QString, datenSql);
    QFETCH(bool, buchFehlt);
    QFETCH(QString, seite);
    QFETCH(QString, hinweis);
    if (!buchSql.isEmpty())
      sql(buchSql);
    if (!datenSql.isEmpty())
      QVERIFY(DemoDaten::sqlAusfuehren(daten(), datenSql));
    if (buchFehlt)
      QVERIFY(QFile::remove(buch()));
    fensterOeffnen(!buchFehlt);
    QCOMPARE(fenster->seiten()->currentWidget()->objectName(), seite);
    auto* note = imFenster<QLabel>("lblHinweis");
    QCOMPARE(note->isVisible(), !hinweis.isEmpty());
    QVERIFY2(note->text().contains(hinweis), qPrintable(note->text()));
    if (seite == u"seiteKonten")
      QTRY_COMPARE(QApplication::focusWidget(), fenster->kontenseite()->neuKnopf());
    // A missing book is not made.
    QCOMPARE(QFile::exists(buch()), !buchFehlt);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  // Under the sign-in with password the book opens only with its user's password, as in the
  // tray program; a wrong one is said and asked again.
  void kennwort_data() {
    QTest::addColumn<QStringList>("versuche");
    QTest::addColumn<bool>("offen");
    QTest::addColumn<int>("falsch");
    QTest::newRow("richtig") << QStringList{u"anna"_s} << true << 0;
    QTest::newRow("falsch, dann richtig") << QStringList{u"Anna"_s, u"anna"_s} << true << 1;
    QTest::newRow("Bens Kennwort") << QStringList{u"ben"_s, Abbrechen} << false << 1;
    QTest::newRow("abgebrochen") << QStringList{Abbrechen} << false << 0;
  }
  void kennwort() {
    QFETCH(QStringList, versuche);
    QFETCH(bool, offen);
    QFETCH(int, falsch);
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Kennwort"_s, u"1"_s), 0);
    bool gefragt = false;
    imDialog([&](QDialog* d) {
      QCOMPARE(d->windowTitle(), u"Kennwort für „Anna“"_s);
      auto* feld = kind<QLineEdit>(d, "txtKennwort");
      QCOMPARE(feld->echoMode(), QLineEdit::Password);
      for (const QString& versuch : versuche) {
        if (versuch == Abbrechen) {
          QTest::mouseClick(kind<QPushButton>(d, "cmdAbbrechen"), Qt::LeftButton);
          break;
        }
        tippen(feld, versuch);
        bestaetigen(d);
      }
      gefragt = true;
    });
    fensterOeffnen(false);
    QTRY_VERIFY(gefragt);
    QTRY_COMPARE(fenster->offenerBenutzer(), offen ? u"Anna"_s : QString());
    QCOMPARE(gezeigteMeldungen({1296}), QList<int>(falsch, 1296));
    QCOMPARE(fenster->buchungsseite()->modell()->rowCount(), offen ? 5 : 0);
  }

  // --- accounts ------------------------------------------------------------------------------

  // "_" and "%" are plain letters: the tray program looks accounts up by exact name.
  void kontoAnlegenUndBuchen_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("einfach") << u"Urlaubskasse"_s;
    QTest::newRow("Zeichen von LIKE") << u"100% Urlaub_2"_s;
  }
  void kontoAnlegenUndBuchen() {
    QFETCH(QString, name);
    fensterOeffnen();
    seite(fenster->kontenseite());
    imDialog([&](QDialog* d) {
      eintragen(d, "txtName", name);
      waehlen(kind<QComboBox>(d, "cboWaehrung"), u"CHF"_s);
      eintragen(d, "txtBeginn", u"01.01.2026"_s);
      bestaetigen(d);
    });
    klicken(fenster->kontenseite(), "cmdNeu");
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(roh(buch(), u"SELECT * FROM Konten WHERE KontoName = '%1'"_s.arg(name)),
             (QList<QVariantList>{{name, u"CHF"_s, u"2026-01-01"_s}}));
    QVERIFY(zeilen(tabelle("tblKonten"))
                .contains({name, u"CHF"_s, u"01.01.2026"_s, u"0"_s}));

    // The tray program books into it, in its currency.
    oeffnen<frmAusgabe>();
    waehlen("cboKonto", name);
    QCOMPARE(liste("cboWaehrung")->currentText(), u"CHF"_s);
    tippen(feld("txtBetrag"), u"16"_s);
    tippen(liste("cboKategorie"), u"Urlaub"_s);
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen<frmAusgabe>());
    const QVariantList zeile = letzteBuchungen(1).value(0);
    QCOMPARE(zeile.value(1), QVariant(name));
    QCOMPARE(zeile.value(7).toDouble(), 16.0);
    klicken(fenster.get(), "cmdAktualisieren");
    QVERIFY(zeilen(tabelle("tblKonten"))
                .contains({name, u"CHF"_s, u"01.01.2026"_s, u"1"_s}));
  }

  void kontoUngueltig_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("beginn");
    QTest::addColumn<QString>("feld");
    QTest::newRow("ohne Namen") << u""_s << u"01.01.2026"_s << u"txtName"_s;
    QTest::newRow("schon da, andere Schreibweise")
        << u"GIROKONTO"_s << u"01.01.2026"_s << u"txtName"_s;
    QTest::newRow("kein Datum") << u"Haushaltskasse"_s << u"31.02.2026"_s << u"txtBeginn"_s;
  }
  void kontoUngueltig() {
    QFETCH(QString, name);
    QFETCH(QString, beginn);
    QFETCH(QString, feld);
    fensterOeffnen();
    seite(fenster->kontenseite());
    const QByteArray vorher = dateiInhalt(buch());
    bool geprueft = false;
    imDialog([&](QDialog* d) {
      eintragen(d, "txtName", name);
      eintragen(d, "txtBeginn", beginn);
      bestaetigen(d);
      // The dialog stays with what was typed, the field in question selected.
      QVERIFY(d->isVisible());
      QVERIFY(hatFokus(d, feld));
      geprueft = true;
    });
    klicken(fenster->kontenseite(), "cmdNeu");
    QVERIFY(geprueft);
    QCOMPARE(ersteMeldung(), meldungNr(3045, 48));
    QCOMPARE(MeldungTest::gezeigt().first().titel, Text(3145));
    QCOMPARE(dateiInhalt(buch()), vorher);
  }

  // A new name: the bookings follow; the currency and start date change with it.
  void kontoAendern() {
    fensterOeffnen();
    seite(fenster->kontenseite());
    zeileKlicken("tblKonten", u"Girokonto"_s);
    imDialog([&](QDialog* d) {
      eintragen(d, "txtName", u"Hauskonto"_s);
      waehlen(kind<QComboBox>(d, "cboWaehrung"), u"USD"_s);
      eintragen(d, "txtBeginn", u"15.03.2019"_s);
      bestaetigen(d);
    });
    QTest::keyClick(tabelle("tblKonten"), Qt::Key_Return);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(roh(buch(), u"SELECT * FROM Konten ORDER BY rowid LIMIT 1"_s),
             (QList<QVariantList>{{u"Hauskonto"_s, u"USD"_s, u"2019-03-15"_s}}));
    QCOMPARE(roh(buch(), u"SELECT KontoName, count(*) FROM Buchungen GROUP BY 1 ORDER BY 1"_s),
             (QList<QVariantList>{{u"Dollarkonto"_s, 1LL}, {u"Hauskonto"_s, 4LL}}));
    QVERIFY(
        zeilen(tabelle("tblKonten")).contains({u"Hauskonto"_s, u"USD"_s, u"15.03.2019"_s, u"4"_s}));
  }

  void kontoLoeschen_data() {
    QTest::addColumn<QString>("konto");
    QTest::addColumn<QString>("vorher");
    QTest::addColumn<QList<int>>("antworten");
    QTest::addColumn<int>("meldung");
    QTest::addColumn<QString>("anzahl");  // of bookings, in message 3042
    QTest::addColumn<int>("stil");
    QTest::addColumn<bool>("geloescht");
    QTest::newRow("verwendet") << u"Girokonto"_s << QString() << QList<int>{} << 3042 << u"4"_s
                               << 48 << false;
    QTest::newRow("in anderer Schreibweise verwendet")
        << u"Sparkonto"_s
        << u"INSERT INTO Buchungen (ID, KontoName, Buchung, Datum) "
           "VALUES (9, 'SPARKONTO', 'Ausgabe', '2026-12-05')"_s
        << QList<int>{} << 3042 << u"1"_s << 48 << false;
    QTest::newRow("frei, Ja") << u"Sparkonto"_s << QString() << QList<int>{Antwort::Ja} << 3043
                              << QString() << 36 << true;
    QTest::newRow("frei, Nein") << u"Sparkonto"_s << QString() << QList<int>{Antwort::Nein} << 3043
                                << QString() << 36 << false;
  }
  void kontoLoeschen() {
    QFETCH(QString, konto);
    QFETCH(QString, vorher);
    QFETCH(QList<int>, antworten);
    QFETCH(int, meldung);
    QFETCH(QString, anzahl);
    QFETCH(int, stil);
    QFETCH(bool, geloescht);
    if (!vorher.isEmpty())
      sql(vorher);
    fensterOeffnen();
    seite(fenster->kontenseite());
    zeileKlicken("tblKonten", konto);
    MeldungTest::antworten(antworten);
    QTest::keyClick(tabelle("tblKonten"), Qt::Key_Delete);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    const QString text =
        anzahl.isEmpty() ? Text(meldung).arg(konto) : Text(meldung).arg(konto, anzahl);
    QCOMPARE(ersteMeldung(), std::pair(text, stil));
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Konten WHERE KontoName = '%1'"_s.arg(konto)),
             QVariant(geloescht ? 0LL : 1LL));
    QCOMPARE(tabelle("tblKonten")->findItems(konto, Qt::MatchExactly).isEmpty(), geloescht);
  }

  // --- rates and insurance currency ----------------------------------------------------------

  void kursAendernUndUmrechnen() {
    fensterOeffnen();
    seite(fenster->kursseite());
    zeileKlicken("tblKurse", u"USD"_s);
    imDialog([&](QDialog* d) {
      QCOMPARE(kind<QLineEdit>(d, "txtKurs")->text(), u"1,1"_s);
      eintragen(d, "txtKurs", u"1,25"_s);
      bestaetigen(d);
    });
    klicken(fenster->kursseite(), "cmdKurs");
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(rohWert(daten(), u"SELECT Kurs FROM Wechselkurs WHERE Waehrung = 'USD'"_s),
             QVariant(1.25));
    QVERIFY(zeilen(tabelle("tblKurse")).contains({u"USD"_s, u"1,25"_s, u"ja"_s}));

    // The booking dialog converts with the new rate.
    oeffnen<frmAusgabe>();
    waehlen("cboKonto", u"Dollarkonto"_s);
    waehlen("cboWaehrung", u"EUR"_s);
    tippen(feld("txtBetrag"), u"10"_s);
    QCOMPARE(betragKonto(), u"12,50"_s);
  }

  void kursUngueltig_data() {
    QTest::addColumn<QString>("waehrung");
    QTest::addColumn<QString>("kurs");
    QTest::newRow("null") << u"USD"_s << u"0"_s;
    QTest::newRow("negativ") << u"USD"_s << u"-2"_s;
    QTest::newRow("keine Zahl") << u"USD"_s << u"1,1,1"_s;
    QTest::newRow("zu groß für 32 Bit") << u"USD"_s << u"1e39"_s;
    QTest::newRow("zu klein für 32 Bit") << u"USD"_s << u"1e-50"_s;
    QTest::newRow("Euro nicht 1") << u"EUR"_s << u"2"_s;
  }
  void kursUngueltig() {
    QFETCH(QString, waehrung);
    QFETCH(QString, kurs);
    fensterOeffnen();
    seite(fenster->kursseite());
    zeileKlicken("tblKurse", waehrung);
    const QByteArray vorher = dateiInhalt(daten());
    imDialog([&](QDialog* d) {
      eintragen(d, "txtKurs", kurs);
      bestaetigen(d);
      QVERIFY(d->isVisible());
      QVERIFY(hatFokus(d, u"txtKurs"_s));
    });
    QTest::keyClick(tabelle("tblKurse"), Qt::Key_Return);
    QCOMPARE(ersteMeldung(), meldungNr(3045, 48));
    QCOMPARE(dateiInhalt(daten()), vorher);
  }

  // A new currency (its code in capitals), one refused as there already, switched off and on as
  // the booking dialog offers it, and made the insurance currency.
  void waehrungen() {
    fensterOeffnen();
    seite(fenster->kursseite());
    for (const QString& code : {u"sek"_s, u"usd"_s}) {
      imDialog([&](QDialog* d) {
        eintragen(d, "txtWaehrung", code);
        eintragen(d, "txtKurs", u"11,5"_s);
        QVERIFY(kind<QCheckBox>(d, "chkAktiv")->isChecked());
        bestaetigen(d);
      });
      klicken(fenster->kursseite(), "cmdNeu");
    }
    QCOMPARE(meldungsnummern({3045}), QList<int>{3045});
    QCOMPARE(roh(daten(), u"SELECT * FROM Wechselkurs WHERE Waehrung IN ('SEK', 'USD')"_s),
             (QList<QVariantList>{{u"USD"_s, 1.1, -1LL}, {u"SEK"_s, 11.5, -1LL}}));

    const auto angeboten = [this] {
      oeffnen<frmAusgabe>();
      const bool da = eintraege(liste("cboWaehrung")).contains(u"SEK"_s);
      TestUmgebung::formulareEntladen();
      fenster->activateWindow();
      return QTest::qWaitForWindowActive(fenster.get()) && da;
    };
    QVERIFY(angeboten());
    zeileKlicken("tblKurse", u"SEK"_s);
    QTest::keyClick(tabelle("tblKurse"), Qt::Key_Space);
    QCOMPARE(rohWert(daten(), u"SELECT Aktiv FROM Wechselkurs WHERE Waehrung = 'SEK'"_s),
             QVariant(0LL));
    QVERIFY(!angeboten());
    zeileKlicken("tblKurse", u"SEK"_s);
    klicken(fenster->kursseite(), "cmdAktiv");
    QVERIFY(angeboten());

    waehlen(imFenster<QComboBox>("cboVersicherung"), u"SEK"_s);
    QCOMPARE(roh(daten(), u"SELECT * FROM Versicherung"_s), (QList<QVariantList>{{u"SEK"_s}}));
    QCOMPARE(meldungsnummern({3045}), QList<int>{3045});
  }

  // --- the booking list and its sums ---------------------------------------------------------

  void listeUndSummen_data() {
    QTest::addColumn<QString>("konto");
    QTest::addColumn<QString>("monat");
    QTest::addColumn<QString>("kategorie");
    QTest::addColumn<QString>("suche");
    QTest::addColumn<QString>("wo");         // the same filter in SQL, on Buchungen b
    QTest::addColumn<QString>("ohneMonat");  // without its month
    const auto text = [](const QString& t) {
      return u"(instr(lower(b.Verwendungszweck), '%1') OR instr(lower(b.Empfaenger), '%1') OR "
             "instr(lower(b.Auftraggeber), '%1'))"_s.arg(t);
    };
    QTest::newRow("alle") << u""_s << u""_s << u""_s << u""_s << u"1"_s << u"1"_s;
    QTest::newRow("Konto") << u"Girokonto"_s << u""_s << u""_s << u""_s
                           << u"b.KontoName = 'Girokonto' COLLATE NOCASE"_s
                           << u"b.KontoName = 'Girokonto' COLLATE NOCASE"_s;
    QTest::newRow("Monat") << u""_s << u"Dezember 2026"_s << u""_s << u""_s
                           << u"substr(b.Datum, 1, 7) = '2026-12'"_s << u"1"_s;
    QTest::newRow("Hauptkategorie")
        << u""_s << u""_s << u"Haushalt"_s << u""_s
        << u"b.Kategorie COLLATE NOCASE IN ('Haushalt', 'Lebensmittel', 'Drogerie', "
           "'Einrichtung')"_s
        << u"b.Kategorie COLLATE NOCASE IN ('Haushalt', 'Lebensmittel', 'Drogerie', "
           "'Einrichtung')"_s;
    QTest::newRow("Unterkategorie") << u""_s << u""_s << u"    Benzin"_s << u""_s
                                    << u"b.Kategorie = 'Benzin'"_s << u"b.Kategorie = 'Benzin'"_s;
    QTest::newRow("Text") << u""_s << u""_s << u""_s << u"MARKT"_s << text(u"markt"_s)
                          << text(u"markt"_s);
    QTest::newRow("Prozent ist ein Zeichen")
        << u""_s << u""_s << u""_s << u"0%"_s << text(u"0%"_s) << text(u"0%"_s);
    QTest::newRow("Konto, Monat und Text")
        << u"Girokonto"_s << u"Dezember 2026"_s << u""_s << u"markt"_s
        << u"b.KontoName = 'Girokonto' COLLATE NOCASE AND substr(b.Datum, 1, 7) = '2026-12' AND "_s +
               text(u"markt"_s)
        << u"b.KontoName = 'Girokonto' COLLATE NOCASE AND "_s + text(u"markt"_s);
  }
  void listeUndSummen() {
    QFETCH(QString, konto);
    QFETCH(QString, monat);
    QFETCH(QString, kategorie);
    QFETCH(QString, suche);
    QFETCH(QString, wo);
    QFETCH(QString, ohneMonat);
    sql(MehrBuchungen);
    zustand().HeuteText = u"15.12.2026"_s;
    fensterOeffnen();
    if (!konto.isEmpty())
      waehlen(imFenster<QComboBox>("cboKonto"), konto);
    if (!monat.isEmpty())
      waehlen(imFenster<QComboBox>("cboMonat"), monat);
    if (!kategorie.isEmpty())
      waehlen(imFenster<QComboBox>("cboKategorie"), kategorie);
    if (!suche.isEmpty())
      tippen(imFenster("txtSuche"), suche);

    // The list: newest first, by date, number and row.
    QList<qint64> erwartet;
    for (const QVariantList& z : roh(buch(), u"SELECT rowid FROM Buchungen b WHERE "_s + wo +
                                                 u" ORDER BY Datum DESC, ID DESC, rowid DESC"_s))
      erwartet.append(z[0].toLongLong());
    QVERIFY(!erwartet.isEmpty());
    Buchungsmodell* modell = fenster->buchungsseite()->modell();
    const auto gelistet = [&] {
      QList<qint64> n;
      for (int i = 0; i < modell->rowCount(); ++i)
        n.append(modell->zeilennummer(i));
      return n;
    };
    QTRY_COMPARE(gelistet(), erwartet);
    QCOMPARE(imFenster<QLabel>("lblAnzahl")->text(),
             erwartet.size() == 1 ? u"1 Buchung"_s : u"%1 Buchungen"_s.arg(erwartet.size()));

    // Sums in the currency of each booking's account (letter case ignored, as the tray program
    // finds accounts); the months of everything but the month filter.
    const QString konten =
        u" FROM Buchungen b LEFT JOIN Konten k ON k.KontoName = b.KontoName COLLATE NOCASE "_s;
    QList<QStringList> monate;
    for (const QVariantList& z :
         roh(buch(),
             u"SELECT substr(b.Datum, 1, 7), coalesce(k.Waehrung, ''), total(b.Einnahme), "
             "total(b.Ausgabe)"_s +
                 konten + u"WHERE "_s + ohneMonat + u" GROUP BY 1, 2 ORDER BY 1 DESC, 2"_s))
      monate.append({monatText(z[0].toString()), z[1].toString(), deutsch(z[2].toDouble()),
                     deutsch(z[3].toDouble()), deutsch(z[2].toDouble() - z[3].toDouble())});
    QCOMPARE(zeilen(tabelle("tblMonate")), monate);
    QList<QStringList> hauptkategorien;
    for (const QVariantList& z :
         roh(buch(),
             u"SELECT coalesce((SELECT Kategorie FROM Kategorien WHERE Unterkategorie = "
             "b.Kategorie COLLATE NOCASE LIMIT 1), b.Kategorie) AS h, coalesce(k.Waehrung, ''), "
             "total(b.Einnahme), total(b.Ausgabe)"_s +
                 konten + u"WHERE "_s + wo +
                 u" GROUP BY h COLLATE NOCASE, 2 ORDER BY h COLLATE NOCASE, 2"_s))
      hauptkategorien.append(
          {z[0].toString(), z[1].toString(), deutsch(z[2].toDouble()), deutsch(z[3].toDouble())});
    QCOMPARE(zeilen(tabelle("tblHauptkategorien")), hauptkategorien);

    // The chart: the twelve months up to December 2026 in the currency most bookings are in.
    const QString waehrung =
        rohWert(buch(), u"SELECT k.Waehrung"_s + konten + u"WHERE "_s + ohneMonat +
                            u" GROUP BY 1 ORDER BY count(*) DESC, 1 LIMIT 1"_s)
            .toString();
    QHash<QString, QPair<double, double>> jeMonat;
    for (const QVariantList& z :
         roh(buch(), u"SELECT substr(b.Datum, 1, 7), total(b.Einnahme), total(b.Ausgabe)"_s +
                         konten + u"WHERE k.Waehrung = '%1' AND "_s.arg(waehrung) + ohneMonat +
                         u" GROUP BY 1"_s))
      jeMonat.insert(z[0].toString(), {z[1].toDouble(), z[2].toDouble()});
    auto* diagramm = fenster->findChild<Monatsdiagramm*>();
    QVERIFY(diagramm->titel().contains(u" in "_s + waehrung));
    QCOMPARE(diagramm->werte().size(), 12);
    for (int i = 0; i < 12; ++i) {
      const Monatswert& w = diagramm->werte()[i];
      QCOMPARE(w.monat, QDate(2026, 1, 1).addMonths(i));
      const auto ref = jeMonat.value(w.monat.toString(u"yyyy-MM"_s));
      QCOMPARE(deutsch(w.einnahmen), deutsch(ref.first));
      QCOMPARE(deutsch(w.ausgaben), deutsch(ref.second));
    }
  }

  // --- correcting and deleting a booking -----------------------------------------------------

  void korrigieren_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("datenSql");
    QTest::addColumn<QStringList>("werte");
    QTest::addColumn<QVariantList>("buchung");   // Buchungsspalten afterwards
    QTest::addColumn<QVariantList>("inventar");  // Kategorie, Datum, Beschreibung, Kaufpreis,
                                                 // Betrag afterwards; empty: none
    // The item's value in the insurance currency, here dollars: 70,5 EUR are 77,55 USD.
    QTest::newRow("Ausgabe mit Inventar")
        << 3 << u"UPDATE Versicherung SET Waehrung = 'USD'"_s
        << QStringList{u"03.12.2026"_s, u"70,5"_s, u"Drogerie"_s, u"Großeinkauf"_s,
                       u"Drogeriemarkt"_s}
        << QVariantList{u"2026-12-03"_s,    70.5,  0.0,           70.5,
                        u"Drogeriemarkt"_s, u""_s, u"Drogerie"_s, u"Großeinkauf"_s}
        << QVariantList{u"Drogerie"_s, u"2026-12-03"_s, u"Großeinkauf"_s, 70.5, 77.55};
    // 32 CHF are 20 EUR, 22 USD in the dollar account.
    QTest::newRow("in fremder Währung")
        << 5 << QString()
        << QStringList{u"04.12.2026"_s, u"32"_s, u"Urlaub"_s, u"Bergbahn"_s, u""_s}
        << QVariantList{u"2026-12-04"_s, 32.0, 0.0, 22.0, u""_s, u""_s, u"Urlaub"_s, u"Bergbahn"_s}
        << QVariantList{};
    // The amount untouched: a rate changed since leaves the account's amount as it was.
    QTest::newRow("nur der Zweck, Kurs geändert")
        << 5 << u"UPDATE Wechselkurs SET Kurs = 2 WHERE Waehrung = 'USD'"_s
        << QStringList{u"04.12.2026"_s, u"16,00"_s, u"Urlaub"_s, u"Seilbahn"_s, u""_s}
        << QVariantList{u"2026-12-04"_s, 16.0, 0.0, 11.0, u""_s, u""_s, u"Urlaub"_s, u"Seilbahn"_s}
        << QVariantList{};
    QTest::newRow("Einnahme") << 1 << QString()
                              << QStringList{u"27.11.2026"_s, u"2.500"_s, u"Gehalt"_s,
                                             u"Gehalt November"_s, u"Arbeitgeber GmbH"_s}
                              << QVariantList{u"2026-11-27"_s, 2500.0,
                                              2500.0,          0.0,
                                              u""_s,           u"Arbeitgeber GmbH"_s,
                                              u"Gehalt"_s,     u"Gehalt November"_s}
                              << QVariantList{};
  }
  void korrigieren() {
    QFETCH(int, id);
    QFETCH(QString, datenSql);
    QFETCH(QStringList, werte);
    QFETCH(QVariantList, buchung);
    QFETCH(QVariantList, inventar);
    sql(MitInventar);
    if (!datenSql.isEmpty())
      QVERIFY(DemoDaten::sqlAusfuehren(daten(), datenSql));
    const auto andere = [&] {
      return roh(buch(), u"SELECT * FROM Buchungen WHERE ID <> %1 ORDER BY rowid"_s.arg(id));
    };
    const QList<QVariantList> vorher = andere();
    fensterOeffnen();
    korrigieren(id, werte);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(roh(buch(), u"SELECT %1 FROM Buchungen WHERE ID = %2"_s.arg(Buchungsspalten).arg(id)),
             QList<QVariantList>{buchung});
    QCOMPARE(andere(), vorher);
    QCOMPARE(
        roh(buch(),
            u"SELECT Kategorie, Datum, Beschreibung, Kaufpreis, Betrag FROM Inventar "
            "ORDER BY rowid"_s),
        (QList<QVariantList>{inventar.isEmpty() ? QVariantList{u"Lebensmittel"_s, u"2026-12-02"_s,
                                                               u"Wocheneinkauf"_s, 64.37, 64.37}
                                                : inventar,
                             {u"Lebensmittel"_s, u"2025-01-01"_s, u"Wocheneinkauf"_s, 1.0, 1.0}}));
    // The list shows the corrected booking.
    QVERIFY(listenzeile(id) >= 0);
    QCOMPARE(fenster->buchungsseite()
                 ->modell()
                 ->index(listenzeile(id), Buchungsmodell::Zweck)
                 .data()
                 .toString(),
             werte[3]);
  }

  void korrekturUngueltig_data() {
    QTest::addColumn<QStringList>("werte");
    QTest::addColumn<QString>("feld");
    QTest::newRow("kein Datum") << QStringList{u"30.02.2026"_s} << u"txtDatum"_s;
    QTest::newRow("vor dem Kontobeginn") << QStringList{u"31.12.2019"_s} << u"txtDatum"_s;
    QTest::newRow("Betrag 0") << QStringList{u"02.12.2026"_s, u"0,00"_s} << u"txtBetrag"_s;
    QTest::newRow("Betrag keine Zahl")
        << QStringList{u"02.12.2026"_s, u"zwölf"_s} << u"txtBetrag"_s;
    QTest::newRow("ohne Kategorie")
        << QStringList{u"02.12.2026"_s, u"5"_s, u" "_s} << u"cboKategorie"_s;
  }
  void korrekturUngueltig() {
    QFETCH(QStringList, werte);
    QFETCH(QString, feld);
    sql(MitInventar);
    const QList<QVariantList> vorher = dump();
    fensterOeffnen();
    korrigieren(3, werte, [&](QDialog* d) {
      QVERIFY(d->isVisible());
      QVERIFY(hatFokus(d, feld));
    });
    QCOMPARE(ersteMeldung(), meldungNr(3045, 48));
    QCOMPARE(dump(), vorher);
  }

  void loeschen_data() {
    QTest::addColumn<int>("antwort");
    QTest::newRow("Ja") << int(Antwort::Ja);
    QTest::newRow("Nein") << int(Antwort::Nein);
  }
  void loeschen() {
    QFETCH(int, antwort);
    sql(MitInventar);
    fensterOeffnen();
    buchungWaehlen(3);
    MeldungTest::antworten({antwort});
    QTest::keyClick(fenster->buchungsseite()->liste(), Qt::Key_Delete);
    QCOMPARE(meldungen(),
             (QList<Meldungsdaten>{{3044, 3144, Text(3044).arg(u"3"_s, u"02.12.2026"_s), Text(3144), 36}}));
    const bool weg = antwort == Antwort::Ja;
    QCOMPARE(rohWert(buch(), u"SELECT group_concat(ID) FROM Buchungen ORDER BY rowid"_s),
             QVariant(weg ? u"1,2,4,5"_s : u"1,2,3,4,5"_s));
    // The item of the booking goes with it, the other one of the same number stays.
    QCOMPARE(rohWert(buch(), u"SELECT group_concat(Datum) FROM Inventar ORDER BY rowid"_s),
             QVariant(weg ? u"2025-01-01"_s : u"2026-12-02,2025-01-01"_s));
    QCOMPARE(listenzeile(3) < 0, weg);
  }

  // The file refuses the second of the two rows half-way: neither changes.
  void stoerung_data() {
    QTest::addColumn<bool>("loeschen");
    QTest::addColumn<QString>("ausloeser");
    QTest::newRow("Korrektur, Inventar wehrt sich") << false << u"BEFORE UPDATE ON Inventar"_s;
    QTest::newRow("Löschen, Inventar wehrt sich") << true << u"BEFORE DELETE ON Inventar"_s;
    QTest::newRow("Löschen, Buchung wehrt sich") << true << u"BEFORE DELETE ON Buchungen"_s;
  }
  void stoerung() {
    QFETCH(bool, loeschen);
    QFETCH(QString, ausloeser);
    sql(MitInventar);
    sql(u"CREATE TRIGGER stoerung %1 BEGIN SELECT RAISE(ABORT, 'gestört'); END"_s.arg(ausloeser));
    const QList<QVariantList> vorher = dump();
    fensterOeffnen();
    if (loeschen) {
      buchungWaehlen(3);
      MeldungTest::antworten({Antwort::Ja});
      QTest::keyClick(fenster->buchungsseite()->liste(), Qt::Key_Delete);
      QCOMPARE(meldungsnummern({3044, 3041}), (QList<int>{3044, 3041}));
    } else {
      korrigieren(3, {u"03.12.2026"_s, u"70"_s});
      QCOMPARE(meldungsnummern({3041}), QList<int>{3041});
    }
    QCOMPARE(MeldungTest::gezeigt().last().stil, 16);
    QCOMPARE(dump(), vorher);
    QCOMPARE(rohWert(buch(), u"PRAGMA integrity_check"_s), QVariant(u"ok"_s));
  }

  // --- export --------------------------------------------------------------------------------

  void exportieren_data() {
    QTest::addColumn<QString>("konto");
    QTest::addColumn<QString>("ziel");  // in the test folder
    QTest::addColumn<QString>("wo");    // the bookings expected, on Buchungen b; empty: no file
    QTest::newRow("alle") << u""_s << u"Buchungen.csv"_s << u"1"_s;
    QTest::newRow("ein Konto") << u"Dollarkonto"_s << u"dollar.csv"_s
                               << u"b.KontoName = 'Dollarkonto'"_s;
    QTest::newRow("Ordner fehlt") << u""_s << u"fehlt/Buchungen.csv"_s << QString();
  }
  void exportieren() {
    QFETCH(QString, konto);
    QFETCH(QString, ziel);
    QFETCH(QString, wo);
    // Texts a spreadsheet would take apart or run.
    sql(MehrBuchungen +
        u"UPDATE Buchungen SET Verwendungszweck = '=SUMME(A1)' WHERE ID = 4;"
        "UPDATE Buchungen SET Empfaenger = 'Wohnbau \"Nord\"; GmbH' WHERE ID = 2;"_s);
    fensterOeffnen();
    if (!konto.isEmpty())
      waehlen(imFenster<QComboBox>("cboKonto"), konto);
    const QString pfad = ordner->datei(ziel);
    // The whole path typed as the file name, as a user may.
    imDialog([&](QDialog* d) {
      QVERIFY(qobject_cast<QFileDialog*>(d));
      auto* name = kind<QLineEdit>(d, "fileNameEdit");
      QVERIFY(name);
      tippen(name, pfad);
      QTest::keyClick(name, Qt::Key_Return);
    });
    klicken(fenster->buchungsseite(), "cmdExportieren");
    if (wo.isEmpty()) {
      QCOMPARE(ersteMeldung(), meldungNr(3046, 16));
      QVERIFY(!QFile::exists(pfad));
      return;
    }
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    const QByteArray inhalt = dateiInhalt(pfad);
    QVERIFY(inhalt.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> saetze = csvLesen(QString::fromUtf8(inhalt.mid(3)));
    QCOMPARE(saetze.value(0),
             (QStringList{u"Nr."_s, u"Datum"_s, u"Konto"_s, u"Art"_s, u"Empfänger"_s,
                          u"Auftraggeber"_s, u"Kategorie"_s, u"Verwendungszweck"_s, u"Betrag"_s,
                          u"Währung"_s, u"Einnahme"_s, u"Ausgabe"_s}));
    QList<QStringList> erwartet;
    for (const QVariantList& z :
         roh(buch(),
             u"SELECT ID, Datum, KontoName, Buchung, Empfaenger, Auftraggeber, Kategorie, "
             "Verwendungszweck, Betrag, Waehrung, Einnahme, Ausgabe FROM Buchungen b "
             "WHERE "_s +
                 wo + u" ORDER BY Datum DESC, ID DESC, rowid DESC"_s)) {
      QStringList felder;
      for (int i = 0; i < z.size(); ++i) {
        if (i == 1)
          felder.append(datumText(z[i]));
        else if (i == 8 || i == 10 || i == 11)
          felder.append(z[i].isValid() ? deutsch(z[i].toDouble()) : QString());
        else
          felder.append(z[i].isValid() ? z[i].toString() : QString());
      }
      erwartet.append(felder);
    }
    // A text that starts like a formula is kept from being one.
    for (QStringList& felder : erwartet) {
      if (felder[7] == u"=SUMME(A1)")
        felder[7] = u"'=SUMME(A1)"_s;
    }
    QCOMPARE(saetze.mid(1), erwartet);
    QCOMPARE(inhalt.count("\r\n"), erwartet.size() + 1);
  }
};

VELMARK_TEST_MAIN(TestKvasto)
#include "tst_kvasto.moc"
