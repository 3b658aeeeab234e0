// Hostile input in every text field that reaches a data file: quotes, SQL, 300 characters,
// umlauts and emoji, typed as a user types them. Each text is stored as typed or refused with a
// message; nothing else in the files changes. And nobody signs in with anything but the right
// password.

#include "Baumhilfen.h"
#include "Benutzeranlage.h"
#include "Buchungstest.h"
#include "CategoriesFormulare.h"
#include "Datensatzquelle.h"
#include "Formularhilfen.h"
#include "Kennwortkodierung.h"
#include "UsersFormulare.h"
#include "frmBenutzer.h"
#include "frmKennwort.h"

#include <QCheckBox>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QString Lang = QString(298, u'ä') + u"Z!"_s;  // 300 characters

void texteZeilen() {
  QTest::addColumn<QString>("text");
  QTest::newRow("Hochkomma") << u"O'Brien"_s;
  QTest::newRow("SQL") << u"x'); DROP TABLE Buchungen; --"_s;
  QTest::newRow("Anführung und Rückstrich") << u"\"a\\b\" ; DELETE FROM Kategorien"_s;
  QTest::newRow("Muster") << u"100% _alles_"_s;
  QTest::newRow("300 Zeichen") << Lang;
  QTest::newRow("Umlaute und Emoji") << u"Größe Übermaß 💶😀 €"_s;
}

// Keys as the keyboard sends them: one event per character, a character beyond the basic plane
// (an emoji) as one event with both halves.
void zeichenweise(QWidget* w, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    QString zeichen(text[i]);
    if (text[i].isHighSurrogate() && i + 1 < text.size())
      zeichen += text[++i];
    if (zeichen.size() == 1 && zeichen[0].unicode() < 128 && zeichen[0] != u' ')
      QTest::keyClick(w, char(zeichen[0].unicode()));
    else
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, zeichen, Qt::NoModifier);
  }
}

// Every table of a file as text, for "nothing else changed".
QStringList tabellen(const QString& datei, const QStringList& ohne = {}) {
  QStringList alles;
  for (const QVariantList& t : roh(datei, u"SELECT name, sql FROM sqlite_master ORDER BY name"_s)) {
    alles.append(t.value(0).toString() + u": "_s + t.value(1).toString());
    if (ohne.contains(t.value(0).toString()) || t.value(1).toString().isEmpty())
      continue;
    for (const QVariantList& z :
         roh(datei, u"SELECT * FROM \"%1\" ORDER BY rowid"_s.arg(t.value(0).toString()))) {
      QStringList werte;
      for (const QVariant& v : z)
        werte.append(v.isValid() ? v.toString() : u"NULL"_s);
      alles.append(u"  "_s + werte.join(u'|'));
    }
  }
  return alles;
}

}  // namespace

class TestEingaben : public Buchungstest {
  Q_OBJECT

  QString daten() const { return ordner->datei(u"Daten.mdb"_s); }

  void eintippen(QWidget* w, const QString& text) {
    fokus(w);
    if (auto* f = qobject_cast<QLineEdit*>(w))
      f->selectAll();
    else if (auto* l = qobject_cast<QComboBox*>(w))
      l->lineEdit()->selectAll();
    zeichenweise(w, text);
  }

  frmBenutzer* anmeldungZeigen() {
    auto* f = Formulare::laden<frmBenutzer>();
    f->show();
    f->activateWindow();
    return QTest::qWaitForWindowActive(f) ? f : nullptr;
  }

 private slots:
  void initTestCase() {
    einmalig();
    categoriesFormulareAnmelden();
    usersFormulareAnmelden();
  }
  void init() { vorbereiten(); }
  void cleanup() { aufraeumen(); }

  // The expense dialog: purpose, category and payee typed, the payee taken into the addresses,
  // the inventory box ticked. Booking, address and inventory item hold the text as typed.
  void buchungsfelder_data() { texteZeilen(); }
  void buchungsfelder() {
    QFETCH(QString, text);
    const QStringList vorher = tabellen(buch(), {u"Buchungen"_s, u"Adressen"_s, u"Inventar"_s});
    const QStringList datenVorher = tabellen(daten());
    oeffnen(u"frmAusgabe"_s);
    eintippen(feld("txtBetrag"), u"12,5"_s);
    eintippen(liste("cboVerwendungszweck"), text);
    eintippen(liste("cboKategorie"), text + u" K"_s);
    eintippen(liste("cboEmpfaenger"), text + u" E"_s);
    MeldungTest::antworten({Antwort::Ja});
    weiter();
    QCOMPARE(gezeigteMeldungen({1260}), QList<int>{1260});
    auto* inventar = kind<QCheckBox>(dialog, "Check1");
    fokus(inventar);
    QTest::keyClick(inventar, Qt::Key_Space);
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen(u"frmAusgabe"_s));
    QCOMPARE(MeldungTest::gezeigt().size(), 1);

    const QVariantList zeile = letzteBuchungen(1).value(0);
    QCOMPARE(zeile.value(8), QVariant(text + u" E"_s));
    QCOMPARE(zeile.value(10), QVariant(text + u" K"_s));
    QCOMPARE(zeile.value(11), QVariant(text));
    QCOMPARE(buchungen(), 6);
    QCOMPARE(adressen().last(), (QVariantList{0LL, text + u" E"_s}));
    QCOMPARE(roh(buch(), u"SELECT ID, Kategorie, Beschreibung FROM Inventar"_s),
             (QList<QVariantList>{{6LL, text + u" K"_s, text}}));
    QCOMPARE(tabellen(buch(), {u"Buchungen"_s, u"Adressen"_s, u"Inventar"_s}), vorher);
    QCOMPARE(tabellen(daten()), datenVorher);
    QCOMPARE(rohWert(buch(), u"PRAGMA integrity_check"_s), QVariant(u"ok"_s));
  }

  // The purpose remembered by its button; the name found again by the address lookup, in any
  // letter case, so that nothing is asked.
  void verwendungUndAdresse_data() { texteZeilen(); }
  void verwendungUndAdresse() {
    QFETCH(QString, text);
    sql(u"INSERT INTO Adressen VALUES (0, '%1')"_s.arg(QString(text).replace(u"'"_s, u"''"_s)));
    oeffnen(u"frmAusgabe"_s);
    eintippen(liste("cboVerwendungszweck"), text);
    QTest::mouseClick(knopf("cmdSave"), Qt::LeftButton);
    QCOMPARE(roh(buch(), u"SELECT Verwendung FROM Verwendung ORDER BY rowid DESC LIMIT 1"_s),
             QList<QVariantList>{{text}});
    eintippen(liste("cboEmpfaenger"), text.toLower());
    weiter();
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  // A name typed with pattern characters is compared as it is: a stored name that the pattern
  // would match is another name, so the typed one is new.
  void musterSindKeineMuster() {
    sql(u"INSERT INTO Adressen VALUES (0, '100 Euro xallesy')"_s);
    oeffnen(u"frmAusgabe"_s);
    eintippen(liste("cboEmpfaenger"), u"100% _alles_"_s);
    MeldungTest::antworten({Antwort::Nein});
    weiter();
    QCOMPARE(gezeigteMeldungen({1260}), QList<int>{1260});
  }

  // Category names: a new entry and a renamed one, stored as typed; the dialog shows them again.
  void kategorienamen_data() { texteZeilen(); }
  void kategorienamen() {
    QFETCH(QString, text);
    const QStringList buchungenVorher = tabellen(buch(), {u"Kategorien"_s});
    oeffnen(u"frmKategorie"_s);
    auto* baum = kind<QTreeWidget>(dialog, "TreeView1");
    const auto umbenennen = [&](const QStringList& pfad, const QString& neu) {
      knotenKlicken(baum, knotenBei(baum, QStringList{u"Kategorie"_s} + pfad));
      QTest::mouseClick(knopf("cmdUmbenennen"), Qt::LeftButton);
      QLineEdit* editor = nullptr;
      QTRY_VERIFY((editor = baum->viewport()->findChild<QLineEdit*>()) != nullptr);
      editor->selectAll();
      zeichenweise(editor, neu);
      QTest::keyClick(editor, Qt::Key_Return);
      QTRY_VERIFY(knotenBei(
          baum, QStringList{u"Kategorie"_s} + pfad.mid(0, pfad.size() - 1) + QStringList{neu}));
    };
    umbenennen({u"Wohnen"_s, u"Telefon"_s}, text);
    knotenKlicken(baum, knotenBei(baum, {u"Kategorie"_s, u"Freizeit"_s}));
    QTest::mouseClick(knopf("cmdNeuerEintrag"), Qt::LeftButton);
    QTRY_VERIFY(knotenBei(baum, {u"Kategorie"_s, u"Freizeit"_s, u"Neue Unterkategorie 1"_s}));
    umbenennen({u"Freizeit"_s, u"Neue Unterkategorie 1"_s}, text + u"2"_s);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen(u"frmKategorie"_s));
    QCOMPARE(roh(buch(),
                 u"SELECT Kategorie, Unterkategorie FROM Kategorien WHERE Kategorie IN "
                 "('Wohnen', 'Freizeit') AND Unterkategorie NOT IN ('Wohnen', 'Freizeit', "
                 "'Miete', 'Strom', 'Kino', 'Urlaub') ORDER BY Kategorie DESC"_s),
             (QList<QVariantList>{{u"Wohnen"_s, text}, {u"Freizeit"_s, text + u"2"_s}}));
    QCOMPARE(tabellen(buch(), {u"Kategorien"_s}), buchungenVorher);

    // Shown again, and the bookings of such a category move like any other's.
    sql(u"INSERT INTO Buchungen (ID, Datum, Kategorie) VALUES (50, '2027-01-01', '%1')"_s.arg(
        QString(text).replace(u"'"_s, u"''"_s)));
    zustand().AusgewaehlteKategorie = text;
    oeffnen(u"frmVerschieben"_s);
    QCOMPARE(liste("cboKategorie")->currentText(), text);
    auto* grid = kind<QTableView>(dialog, "Tabulon1");
    QTRY_COMPARE(grid->model()->rowCount(), 1);
    zeileKlicken(grid, 0);
    auto* ziel = kind<QTreeWidget>(dialog, "TreeView1");
    knotenKlicken(ziel, knotenBei(ziel, {u"Kategorie"_s, u"Freizeit"_s, text + u"2"_s}));
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen(u"frmVerschieben"_s));
    QCOMPARE(rohWert(buch(), u"SELECT Kategorie FROM Buchungen WHERE ID = 50"_s),
             QVariant(text + u"2"_s));
  }

  // New users with such names: made whole, the name as typed in every place, the other users and
  // tables untouched; a name too long for a file name refused with the reason and nothing left.
  void benutzernamen_data() {
    texteZeilen();
    QTest::newRow("Name zu lang für eine Datei") << QString(300, u'n');
  }
  void benutzernamen() {
    QFETCH(QString, text);
    const bool zuLang = (text + u".mdb"_s).toUtf8().size() > 255;
    const QStringList vorher = tabellen(daten(), {u"Benutzer"_s});
    QCOMPARE(roh(daten(), u"SELECT * FROM Benutzer"_s).size(), 2);
    const QByteArray anna = dateiInhalt(buch());
    Datensatzquelle Data1;
    Data1.verbinden(daten());
    const QString kennwort = u"x'); DROP TABLE Benutzer; --"_s;
    Benutzeranlage anlage(Data1, ordner->pfad(), text, kennwort);
    const auto e = anlage.anlegen();
    Data1.schliessen();
    Datenbank::alleSchliessen();
    if (text.contains(u'"') || text.contains(u'\\') || zuLang) {
      // Not a file name: refused with the reason before anything is written.
      QCOMPARE(e, Benutzeranlage::Ergebnis::NameUngueltig);
      QVERIFY2(!anlage.grund().isEmpty(), "kein Grund");
    } else {
      QCOMPARE(e, Benutzeranlage::Ergebnis::Angelegt);
    }
    const QList<QVariantList> zeilen =
        roh(daten(), u"SELECT Benutzername, Kennwort FROM Benutzer"_s);
    QCOMPARE(tabellen(daten(), {u"Benutzer"_s}), vorher);
    QCOMPARE(dateiInhalt(buch()), anna);
    QCOMPARE(QDir(ordner->pfad()).entryList({u"unbenannt-*"_s, u"*-journal"_s}), QStringList());
    if (e != Benutzeranlage::Ergebnis::Angelegt) {
      QCOMPARE(zeilen.size(), 2);
      QCOMPARE(QDir(ordner->pfad()).entryList({u"*.mdb"_s}).size(), 4);
      return;
    }
    QCOMPARE(zeilen.size(), 3);
    QCOMPARE(zeilen[2].value(0), QVariant(text));
    QCOMPARE(KennwortDekodieren(zeilen[2].value(1).toString()), std::optional<QString>(kennwort));
    const QString neu = ordner->datei(text + u".mdb"_s);
    QCOMPARE(roh(neu, u"SELECT Benutzername, Kennwort FROM Benutzer"_s),
             (QList<QVariantList>{{text, kennwort}}));
    QCOMPARE(RegistryLesen(HKCU, ProduktSchluessel + u'\\' + text, u"Schema"_s),
             QVariant(u"Standard"_s));
  }

  // Anna's password is "anna". Nothing else signs her in: no SQL, no pattern, not the coded form
  // that stands in the file, not a name that only looks like hers.
  void niemandOhneKennwort_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kennwort");
    QTest::newRow("SQL im Kennwort") << "Anna"
                                     << "' OR '1'='1";
    QTest::newRow("Kommentar") << "Anna"
                               << "anna' --";
    QTest::newRow("Muster") << "Anna"
                            << "%";
    QTest::newRow("ein Zeichen Muster") << "Anna"
                                        << "_nna";
    QTest::newRow("kodiert wie in der Datei") << "Anna" << KennwortKodieren(u"anna"_s).value();
    QTest::newRow("300 Zeichen") << "Anna" << QString(300, u'a');
    QTest::newRow("Emoji") << "Anna"
                           << "anna😀";
    QTest::newRow("SQL im Namen") << "Anna' OR '1'='1"
                                  << "anna";
    QTest::newRow("Name mit Muster") << "A%"
                                     << "anna";
  }
  void niemandOhneKennwort() {
    QFETCH(QString, name);
    QFETCH(QString, kennwort);
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Kennwort"_s, u"1"_s), 0);
    zustand().Buchungsart = u"Ausgabe"_s;
    zustand().AktuellerBenutzer.clear();
    zustand().Benutzerdatei.clear();
    const QStringList datenVorher = tabellen(daten());
    auto* f = anmeldungZeigen();
    QVERIFY(f);
    fokus(f->cboBenutzer());
    f->cboBenutzer()->lineEdit()->selectAll();
    zeichenweise(f->cboBenutzer(), name);
    QTest::keyClick(f->cboBenutzer(), Qt::Key_Tab);
    fokus(f->txtKennwort());
    f->txtKennwort()->selectAll();
    zeichenweise(f->txtKennwort(), kennwort);
    // A name that is no user's asks for the password again: a confirmation that does not match.
    if (name != u"Anna") {
      imModalen([](Formular* prompt) {
        auto* feld = static_cast<frmKennwort*>(prompt)->txtPasswort();
        QTest::keyClicks(feld, "anders");
        QTest::keyClick(feld, Qt::Key_Return);
      });
    }
    QTest::keyClick(f->txtKennwort(), Qt::Key_Return);
    // Anna's wrong password: 1296; another name's unconfirmed password: 1298.
    QCOMPARE(gezeigteMeldungen({1296, 1298}), QList<int>{name == u"Anna" ? 1296 : 1298});
    QVERIFY(Formulare::geladen<frmBenutzer>());
    QVERIFY(!Formulare::geladen(u"frmAusgabe"_s));
    QCOMPARE(zustand().AktuellerBenutzer, QString());
    QCOMPARE(zustand().Benutzerdatei, QString());
    QCOMPARE(tabellen(daten()), datenVorher);
    // The right password, for contrast.
    TestUmgebung::formulareEntladen();
    MeldungTest::vergessen();
    f = anmeldungZeigen();
    fokus(f->cboBenutzer());
    f->cboBenutzer()->lineEdit()->selectAll();
    zeichenweise(f->cboBenutzer(), u"Anna"_s);
    QTest::keyClick(f->cboBenutzer(), Qt::Key_Tab);
    fokus(f->txtKennwort());
    f->txtKennwort()->selectAll();
    zeichenweise(f->txtKennwort(), u"anna"_s);
    QTest::keyClick(f->txtKennwort(), Qt::Key_Return);
    QTRY_VERIFY(Formulare::geladen(u"frmAusgabe"_s));
    QCOMPARE(zustand().AktuellerBenutzer, u"Anna"_s);
  }
};

VELMARK_TEST_MAIN(TestEingaben)
#include "tst_eingaben.moc"
