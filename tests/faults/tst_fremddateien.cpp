// Corrupt and foreign files where the program expects its own: empty, cut short, a text file under
// the name of a database, a household book without a table or a column, a language file of
// binary garbage, a settings file with broken lines. The dialogs run offscreen on them: no crash,
// what a missing file gives, a message where a write was refused, and the files as they were.

#include "Benutzeranlage.h"
#include "Buchungstest.h"
#include "CategoriesFormulare.h"
#include "Datensatzquelle.h"
#include "Formularhilfen.h"
#include "Sprache.h"
#include "UsersFormulare.h"
#include "frmAnmeldung.h"

#include <QRandomGenerator>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// What a run of the expense dialog showed and did.
struct Buchungsversuch {
  QStringList konten, waehrungen, kategorien, empfaenger;
  bool gebucht = false;
  QList<int> meldungen;  // text numbers, -1 for any other text
  bool operator==(const Buchungsversuch&) const = default;
};

// The text numbers of the messages shown, a reason below the text allowed; -1 for another text.
QList<int> meldungsnummern(const QList<int>& nummern) {
  QList<int> gezeigt;
  for (const auto& m : MeldungTest::gezeigt()) {
    int nr = -1;
    for (int n : nummern) {
      if (m.prompt == Text(n) || m.prompt.startsWith(Text(n) + u"\n\n"_s))
        nr = n;
    }
    gezeigt.append(nr);
  }
  return gezeigt;
}

QByteArray muell(int groesse, quint32 saat) {
  QByteArray b(groesse, '\0');
  QRandomGenerator zufall(saat);
  for (char& c : b) {
    c = char(zufall.bounded(256));
    // No section header: an INI reader must find nothing, not by chance a section.
    if (c == '[')
      c = '\0';
  }
  return b;
}

}  // namespace

class TestFremddateien : public Buchungstest {
  Q_OBJECT

  // Puts a broken file in place of `pfad`: "leer", "abgeschnitten" (the first half), "Text" or
  // "fehlt".
  void verderben(const QString& pfad, const QString& art) {
    if (art == u"fehlt") {
      QVERIFY(QFile::remove(pfad));
      return;
    }
    QByteArray inhalt = dateiInhalt(pfad);
    if (art == u"leer")
      inhalt.clear();
    else if (art == u"abgeschnitten")
      inhalt.truncate(inhalt.size() / 2);
    else
      inhalt =
          QByteArray("Das ist keine Datenbank, nur ein Text mit dem Namen einer.\n").repeated(40);
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(inhalt), inhalt.size());
  }

  Buchungsversuch buchenVersuchen() {
    Buchungsversuch v;
    MeldungTest::vergessen();
    oeffnen(u"frmAusgabe"_s);
    if (!dialog)
      return v;
    v.konten = eintraege(liste("cboKonto"));
    v.waehrungen = eintraege(liste("cboWaehrung"));
    v.kategorien = eintraege(liste("cboKategorie"));
    v.empfaenger = eintraege(liste("cboEmpfaenger"));
    tippen(feld("txtBetrag"), u"12,50"_s);
    tippen(liste("cboKategorie"), u"Kino"_s);
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    v.gebucht = !Formulare::geladen(u"frmAusgabe"_s);
    v.meldungen = meldungsnummern({3001});
    TestUmgebung::formulareEntladen();
    Datenbank::alleSchliessen();
    return v;
  }

  QStringList anmeldeliste() {
    auto* f = Formulare::laden<frmAnmeldung>();
    const QStringList namen = f ? eintraege(f->cboBenutzer()) : QStringList{u"<kein Dialog>"_s};
    TestUmgebung::formulareEntladen();
    return namen;
  }

  // Every caption and tip key text of the loaded expense dialog.
  QStringList beschriftungen() {
    QStringList texte;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
      if (auto* l = qobject_cast<QLabel*>(w))
        texte.append(w->objectName() + u'=' + l->text());
      else if (auto* k = qobject_cast<QAbstractButton*>(w))
        texte.append(w->objectName() + u'=' + k->text());
    }
    texte.append(dialog->windowTitle());
    texte.sort();
    return texte;
  }

  void neuesFach() {
    aufraeumen();
    vorbereiten();
  }

 private slots:
  void initTestCase() {
    einmalig();
    categoriesFormulareAnmelden();
    usersFormulareAnmelden();
  }
  void init() { vorbereiten(); }
  void cleanup() { aufraeumen(); }

  void kaputteDatei_data() {
    QTest::addColumn<QString>("art");
    for (const char* art : {"leer", "abgeschnitten", "Text"})
      QTest::newRow(art) << art;
  }

  // Daten.mdb broken: the expense dialog shows and books as without the file; the sign-in list is
  // as empty as without it; a new user is refused with the reason; the file stays as it is.
  void datendateiKaputt_data() { kaputteDatei_data(); }
  void datendateiKaputt() {
    QFETCH(QString, art);
    verderben(ordner->datei(u"Daten.mdb"_s), u"fehlt"_s);
    const Buchungsversuch ohne = buchenVersuchen();
    const QStringList anmeldungOhne = anmeldeliste();
    QVERIFY(ohne.waehrungen.isEmpty());

    neuesFach();
    const QString daten = ordner->datei(u"Daten.mdb"_s);
    verderben(daten, art);
    const QByteArray kaputt = dateiInhalt(daten);
    const Buchungsversuch mit = buchenVersuchen();
    if (art == u"abgeschnitten") {
      // What is left of the file may still be read; nothing of it may break the booking.
      QCOMPARE(mit.gebucht, ohne.gebucht);
      QCOMPARE(mit.meldungen, ohne.meldungen);
    } else {
      QCOMPARE(mit, ohne);
      QCOMPARE(anmeldeliste(), anmeldungOhne);
    }
    Datensatzquelle Data1;
    Data1.verbinden(daten);
    Benutzeranlage anlage(Data1, ordner->pfad(), u"Carla"_s, u"geheim"_s);
    QCOMPARE(anlage.anlegen(), Benutzeranlage::Ergebnis::Fehlgeschlagen);
    QVERIFY(!anlage.grund().isEmpty());
    QVERIFY(!QFile::exists(ordner->datei(u"Carla.mdb"_s)));
    Data1.schliessen();
    Datenbank::alleSchliessen();
    QCOMPARE(dateiInhalt(daten), kaputt);
    QCOMPARE(QDir(ordner->pfad()).entryList({u"Daten.mdb*"_s, u"unbenannt-*"_s}),
             QStringList{u"Daten.mdb"_s});
  }

  // The household book broken: the dialogs load with empty lists, as without the file; the booking
  // and the category save are refused with their messages and the reason; the file stays.
  void buchdateiKaputt_data() { kaputteDatei_data(); }
  void buchdateiKaputt() {
    QFETCH(QString, art);
    verderben(buch(), u"fehlt"_s);
    const Buchungsversuch ohne = buchenVersuchen();
    QVERIFY(ohne.konten.isEmpty());
    QCOMPARE(ohne.meldungen, QList<int>{3001});

    neuesFach();
    verderben(buch(), art);
    const QByteArray kaputt = dateiInhalt(buch());
    const Buchungsversuch mit = buchenVersuchen();
    QCOMPARE(mit.gebucht, false);
    QCOMPARE(mit.meldungen, QList<int>{3001});
    if (art != u"abgeschnitten")
      QCOMPARE(mit, ohne);
    QVERIFY2(MeldungTest::gezeigt().value(0).prompt.size() > Text(3001).size() + 2,
             qPrintable(MeldungTest::gezeigt().value(0).prompt));

    // The category dialog: only the root, and OK refused with 3003.
    MeldungTest::vergessen();
    auto* kategorie = Formulare::laden(u"frmKategorie"_s);
    QVERIFY(kategorie);
    kategorie->show();
    QVERIFY(QTest::qWaitForWindowExposed(kategorie));
    auto* baum = kategorie->findChild<QTreeWidget*>(u"TreeView1"_s);
    if (art != u"abgeschnitten")
      QCOMPARE(baum->topLevelItem(0)->childCount(), 0);
    QTest::mouseClick(kategorie->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
    QCOMPARE(meldungsnummern({3003}), QList<int>{3003});
    QVERIFY(Formulare::geladen(u"frmKategorie"_s));
    Formulare::alleEntladen();

    // The move dialog: nothing to move.
    auto* verschieben = Formulare::laden(u"frmVerschieben"_s);
    QVERIFY(verschieben);
    verschieben->show();
    QVERIFY(QTest::qWaitForWindowExposed(verschieben));
    QVERIFY(!verschieben->findChild<QPushButton*>(u"cmdOK"_s)->isEnabled());
    TestUmgebung::formulareEntladen();
    Datenbank::alleSchliessen();

    QCOMPARE(dateiInhalt(buch()), kaputt);
    QCOMPARE(QDir(ordner->pfad()).entryList({u"Anna.mdb*"_s}), QStringList{u"Anna.mdb"_s});
  }

  // A book made by something else: a table missing (the booking or the category save refused, the
  // other tables as they were; without accounts the booking has none), or a column missing (the
  // booking stored without it, as a value that cannot be assigned is left out of the row).
  void fremdesBuch_data() {
    QTest::addColumn<QString>("aenderung");
    QTest::addColumn<bool>("gebucht");
    QTest::newRow("ohne Buchungen") << "DROP TABLE Buchungen" << false;
    QTest::newRow("ohne Kategorien") << "DROP TABLE Kategorien" << true;
    QTest::newRow("ohne Konten") << "DROP TABLE Konten" << true;
    // A book without the column has no index on it either.
    QTest::newRow("ohne Spalte Verwendungszweck")
        << "DROP INDEX Buchungen_Verwendungszweck; "
           "ALTER TABLE Buchungen DROP COLUMN Verwendungszweck"
        << true;
  }
  void fremdesBuch() {
    QFETCH(QString, aenderung);
    QFETCH(bool, gebucht);
    sql(aenderung);
    const QByteArray vorher = dateiInhalt(buch());
    const Buchungsversuch v = buchenVersuchen();
    QCOMPARE(v.gebucht, gebucht);
    QCOMPARE(v.meldungen, gebucht ? QList<int>{} : QList<int>{3001});
    if (!gebucht)
      QCOMPARE(dateiInhalt(buch()), vorher);
    if (aenderung.contains(u"Kategorien"_s)) {
      QVERIFY(v.kategorien.isEmpty());
      QCOMPARE(rohWert(buch(), u"SELECT Kategorie FROM Buchungen WHERE ID = 6"_s),
               QVariant(u"Kino"_s));
      // Saving the tree has nowhere to go: refused, the book as it was.
      const QByteArray nachBuchung = dateiInhalt(buch());
      MeldungTest::vergessen();
      auto* kategorie = Formulare::laden(u"frmKategorie"_s);
      kategorie->show();
      QVERIFY(QTest::qWaitForWindowExposed(kategorie));
      QTest::mouseClick(kategorie->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
      QCOMPARE(meldungsnummern({3003}), QList<int>{3003});
      Formulare::alleEntladen();
      Datenbank::alleSchliessen();
      QCOMPARE(dateiInhalt(buch()), nachBuchung);
    }
    if (aenderung.contains(u"COLUMN"_s))
      QCOMPARE(
          roh(buch(),
              u"SELECT ID, KontoName, Buchung, Datum, Kategorie FROM Buchungen "
              "ORDER BY rowid DESC LIMIT 1"_s),
          (QList<QVariantList>{{6LL, u"Girokonto"_s, u"Ausgabe"_s, u"2026-03-05"_s, u"Kino"_s}}));
    if (aenderung.contains(u"Konten"_s))
      QCOMPARE(rohWert(buch(), u"SELECT KontoName FROM Buchungen WHERE ID = 6"_s), QVariant(u""_s));
    QCOMPARE(rohWert(buch(), u"PRAGMA integrity_check"_s), QVariant(u"ok"_s));
  }

  // Language files of binary garbage: every caption as without the files, and booking works.
  void sprachdateiMuell() {
    QStringList texte[2];
    for (int runde = 0; runde < 2; ++runde) {
      for (const char* name : {"kvastlang.dll", "kvastlangDeutsch.dll", "tipps.dll"}) {
        const QString pfad = ordner->datei(QString::fromLatin1(name));
        if (runde == 0) {
          QVERIFY(QFile::remove(pfad));
        } else {
          QFile f(pfad);
          QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
          f.write(muell(200000, 7));
        }
      }
      QCOMPARE(RegistrySchreiben(HKCU, BenutzerSchluessel(), u"Zamlotipp"_s, u"1"_s), 0);
      oeffnen(u"frmAusgabe"_s);
      texte[runde] = beschriftungen();
      tippen(feld("txtBetrag"), u"3"_s);
      tippen(liste("cboKategorie"), u"Kino"_s);
      QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
      QTRY_VERIFY(!Formulare::geladen(u"frmAusgabe"_s));
      QCOMPARE(buchungen(), 6);
      if (runde == 0)
        neuesFach();
    }
    QCOMPARE(texte[1], texte[0]);
    QCOMPARE(Text(3001), QString());
  }

  // Settings files that are not what the store writes: the values it cannot read count as
  // missing, a booking works and counts from 1, and every line it did not understand is still
  // there after it wrote the counter.
  void einstellungenKaputt_data() {
    QTest::addColumn<QByteArray>("inhalt");
    QTest::addColumn<QByteArray>("bleibt");
    const QByteArray kopf =
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\Anna]\r\n";
    QTest::newRow("leer") << QByteArray() << QByteArray();
    QTest::newRow("Zahl ohne Ziffern") << kopf + "\"ID\"=dword:zzzz\r\n"
                                       << QByteArray("\"ID\"=dword:zzzz");
    QTest::newRow("offenes Anführungszeichen") << kopf + "\"ID\"=\"12\r\n"
                                               << QByteArray("\"ID\"=\"12");
    QTest::newRow("Schlüssel ohne Klammer")
        << QByteArray(
               "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\Anna\n\"ID\"=\"40\"\n")
        << QByteArray("[HKEY_CURRENT_USER\\Software\\Quillon\\Velmark\\Anna\n");
    const QByteArray binaer = muell(5000, 3);
    QTest::newRow("Binärmüll") << binaer << binaer.left(200);
    QTest::newRow("Müll mit Nullbytes im Schlüssel")
        << kopf + QByteArray("\"I\0D\"=\"9\"\r\n", 11) << QByteArray("\"I\0D\"=\"9\"", 9);
  }
  void einstellungenKaputt() {
    QFETCH(QByteArray, inhalt);
    QFETCH(QByteArray, bleibt);
    {
      QFile f(Registry::dateipfad());
      QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(inhalt);
    }
    zustandStarten(ordner->pfad(), QDate(2026, 3, 5));
    zustand().AktuellerBenutzer = u"Anna"_s;
    zustand().Benutzerdatei = buch();
    oeffnen(u"frmAusgabe"_s);
    tippen(feld("txtBetrag"), u"3"_s);
    tippen(liste("cboKategorie"), u"Kino"_s);
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen(u"frmAusgabe"_s));
    QCOMPARE(letzteBuchungen(1).value(0).value(0), QVariant(1LL));
    QCOMPARE(RegistryLesen(HKCU, BenutzerSchluessel(), u"ID"_s), QVariant(u"1"_s));
    QVERIFY(dateiInhalt(Registry::dateipfad()).contains(bleibt));
  }
};

VELMARK_TEST_MAIN(TestFremddateien)
#include "tst_fremddateien.moc"
