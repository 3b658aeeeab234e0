// Two members in one zamlo session: a booking dialog books for the user it was loaded for, and a
// booking command that signs in someone else replaces that user's booking dialogs, asking first
// when one holds an amount not booked yet. Driven through the tray's commands and the real
// sign-in dialogs.

#include "Buchungsfenster.h"
#include "Buchungstest.h"
#include "UsersFormulare.h"
#include "frmTray.h"

#include <QCheckBox>

using namespace Qt::StringLiterals;

class TestBenutzerwechsel : public Buchungstest {
  Q_OBJECT

  frmTray* tray = nullptr;

  static QString dialogname(const QString& art) { return u"frm"_s + art; }

  QString buchVon(const QString& name) const { return ordner->datei(name + u".mdb"_s); }
  int buchungenVon(const QString& name) const {
    return rohWert(buchVon(name), u"SELECT count(*) FROM Buchungen"_s).toInt();
  }
  static QString zaehler(const QString& name) {
    return RegistryLesen(HKCU, BenutzerSchluessel(name), u"ID"_s).toString();
  }
  static QString benutzerDes(Formular* form) {
    const auto* b = dynamic_cast<const Buchungsfenster*>(form);
    return b ? b->buchungsbenutzer() : u"(kein Buchungsdialog)"_s;
  }

  // The tray's booking command of `art`, the user `name` signed in as the way `weg` has it: the
  // default user of the settings, the sign-in without password (the name picked from the list,
  // Enter) or with password (the name and its password typed, Enter).
  void befehl(const QString& art, const QString& name, const QString& weg) {
    if (weg == u"Standard") {
      QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Benutzer"_s, name), 0);
    } else {
      imModalen([name, weg](Formular* f) {
        auto* liste = kind<QComboBox>(f, "cboBenutzer");
        liste->setCurrentIndex(liste->findText(name));
        QCOMPARE(liste->currentText(), name);
        if (weg == u"Anmeldung") {
          QTest::keyClick(liste, Qt::Key_Return);
          return;
        }
        auto* kennwort = kind<QLineEdit>(f, "txtKennwort");
        kennwort->setFocus();
        QTest::keyClicks(kennwort, name.toLower());
        QTest::keyClick(kennwort, Qt::Key_Return);
      });
    }
    QVERIFY(QMetaObject::invokeMethod(
        tray, art == u"Ausgabe" ? "mnuAusgabe_Buchen" : "mnuEinnahme_Buchen"));
  }

  // The sign-in mode of the way `weg` in the settings.
  static void anmeldeweg(const QString& weg) {
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Kennwort"_s,
                               weg == u"Kennwort" ? u"1"_s : u"0"_s),
             0);
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Standard"_s,
                               weg == u"Standard" ? u"1"_s : u"0"_s),
             0);
  }

  // The booking dialog of `art` once it is loaded for `name` and active.
  void dialogFuer(const QString& art, const QString& name) {
    QTRY_VERIFY(Formulare::geladen(dialogname(art)));
    dialog = Formulare::geladen(dialogname(art));
    QCOMPARE(benutzerDes(dialog), name);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
  }

 private slots:
  void initTestCase() {
    einmalig();
    usersFormulareAnmelden();
  }
  void init() {
    vorbereiten();
    // Ben without tips, as Anna.
    QCOMPARE(RegistrySchreiben(HKCU, BenutzerSchluessel(u"Ben"_s), u"Zamlotipp"_s, u"0"_s), 0);
    zustand().AktuellerBenutzer.clear();
    zustand().Benutzerdatei.clear();
    frmTray::programmordnerVorgabe = ordner->pfad();
    tray = Formulare::laden<frmTray>();
    QVERIFY(tray);
  }
  void cleanup() { aufraeumen(); }

  void zweiBenutzer_data() {
    QTest::addColumn<QString>("weg");
    QTest::addColumn<QString>("ersteArt");
    QTest::addColumn<QString>("erster");
    QTest::addColumn<QString>("zweiteArt");
    QTest::addColumn<QString>("zweiter");
    QTest::addColumn<bool>("getippt");  // an amount typed in the first user's dialog
    const QString a = u"Ausgabe"_s, e = u"Einnahme"_s, anna = u"Anna"_s, ben = u"Ben"_s;
    const QString ohne = u"Anmeldung"_s;
    QTest::newRow("Anna, dann Ben") << ohne << a << anna << a << ben << false;
    QTest::newRow("Ben, dann Anna") << ohne << a << ben << a << anna << false;
    QTest::newRow("Einnahme: Anna, dann Ben") << ohne << e << anna << e << ben << false;
    QTest::newRow("Einnahme: Ben, dann Anna, begonnen") << ohne << e << ben << e << anna << true;
    QTest::newRow("Anna begonnen, dann Ben") << ohne << a << anna << a << ben << true;
    QTest::newRow("Ausgabe Anna, Einnahme Ben") << ohne << a << anna << e << ben << true;
    QTest::newRow("Einnahme Ben, Ausgabe Anna") << ohne << e << ben << a << anna << false;
    QTest::newRow("mit Kennwort") << u"Kennwort"_s << a << anna << e << ben << true;
    QTest::newRow("Standardbenutzer") << u"Standard"_s << e << anna << a << ben << true;
  }
  void zweiBenutzer() {
    QFETCH(QString, weg);
    QFETCH(QString, ersteArt);
    QFETCH(QString, erster);
    QFETCH(QString, zweiteArt);
    QFETCH(QString, zweiter);
    QFETCH(bool, getippt);
    anmeldeweg(weg);
    const int buchungenErster = buchungenVon(erster);
    const QString zaehlerErster = zaehler(erster);
    const int id = zaehler(zweiter).toInt() + 1;

    befehl(ersteArt, erster, weg);
    dialogFuer(ersteArt, erster);
    QPointer<Formular> alt = dialog;
    if (getippt) {
      tippen(feld("txtBetrag"), u"5"_s);
      // No: nobody is signed in, the begun booking stays in front.
      MeldungTest::antworten({Antwort::Nein});
      befehl(zweiteArt, zweiter, weg);
      QCOMPARE(meldungen(), QList{meldung(3010, 3110, 36, erster)});
      QVERIFY(alt && !alt->wirdEntladen());
      QCOMPARE(Formulare::geladen(dialogname(zweiteArt)),
               zweiteArt == ersteArt ? alt.data() : nullptr);
      QCOMPARE(zustand().AktuellerBenutzer, erster);
      QCOMPARE(zustand().Benutzerdatei, buchVon(erster));
      QTRY_COMPARE(QApplication::activeWindow(), alt.data());
      QCOMPARE(feld("txtBetrag")->text(), u"5"_s);
      MeldungTest::vergessen();
      MeldungTest::antworten({Antwort::Ja});
    }
    befehl(zweiteArt, zweiter, weg);
    QCOMPARE(meldungen(),
             getippt ? QList{meldung(3010, 3110, 36, erster)} : QList<Meldungsdaten>{});
    QTRY_VERIFY(!alt);
    dialogFuer(zweiteArt, zweiter);

    tippen(feld("txtBetrag"), u"7,77"_s);
    tippen(liste("cboKategorie"), u"Kino"_s);
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen(dialogname(zweiteArt)));
    QCOMPARE(MeldungTest::gezeigt().size(), getippt ? 1 : 0);
    // The booking in the second user's book with that user's next number; the first user's book
    // and counter as they were.
    const double betrag = 7.77;
    QCOMPARE(roh(buchVon(zweiter),
                 u"SELECT ID, Buchung, Ausgabe + Einnahme FROM Buchungen "
                 "ORDER BY rowid DESC LIMIT 1"_s),
             (QList<QVariantList>{{qlonglong(id), zweiteArt, betrag}}));
    QCOMPARE(zaehler(zweiter), QString::number(id));
    QCOMPARE(buchungenVon(erster), buchungenErster);
    QCOMPARE(zaehler(erster), zaehlerErster);
  }

  // Whoever is signed in at the commit, the dialog books for the user it was loaded for: that
  // user's book, counter and inventory owner.
  void gebundenAnDenBenutzer() {
    zustand().AktuellerBenutzer = u"Anna"_s;
    zustand().Benutzerdatei = buchVon(u"Anna"_s);
    oeffnen(u"frmAusgabe"_s);
    zustand().AktuellerBenutzer = u"Ben"_s;
    zustand().Benutzerdatei = buchVon(u"Ben"_s);
    tippen(feld("txtBetrag"), u"7,77"_s);
    tippen(liste("cboKategorie"), u"Einrichtung"_s);
    fokus(kind<QCheckBox>(dialog, "Check1"));
    QTest::keyClick(kind<QCheckBox>(dialog, "Check1"), Qt::Key_Space);
    QTest::mouseClick(knopf("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(!Formulare::geladen(u"frmAusgabe"_s));
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(roh(buchVon(u"Anna"_s),
                 u"SELECT b.ID, i.Besitzer FROM Buchungen b "
                 "JOIN Inventar i ON i.ID = b.ID"_s),
             (QList<QVariantList>{{6LL, u"Anna"_s}}));
    QCOMPARE(zaehler(u"Anna"_s), u"6"_s);
    QCOMPARE(zaehler(u"Ben"_s), u"0"_s);
    QCOMPARE(buchungenVon(u"Ben"_s), 0);
  }
};

VELMARK_TEST_MAIN(TestBenutzerwechsel)
#include "tst_benutzerwechsel.moc"
