// The sign-in without password and the password prompt: the list of users, where OK leads,
// the keys, help and tips, and what the prompt hands back.

#include "Anmeldetest.h"
#include "Datenbank.h"
#include "DemoDaten.h"
#include "Hilfe.h"
#include "Meldung.h"
#include "Registry.h"
#include "ShellFormulare.h"
#include "Sprache.h"
#include "TestMain.h"
#include "Testordner.h"
#include "UsersFormulare.h"
#include "frmAnmeldung.h"
#include "frmHilfe.h"
#include "frmKennwort.h"
#include "frmTray.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace Anmeldetest;

class TestAnmeldung : public QObject {
  Q_OBJECT
  Testordner* m_ordner = nullptr;

  frmAnmeldung* anmeldungZeigen(const QString& art = QStringLiteral("Ausgabe")) {
    zustand().Buchungsart = art;
    auto* f = Formulare::laden<frmAnmeldung>();
    if (f) {
      f->show();
      f->activateWindow();
    }
    return f;
  }

  static QPushButton* knopf(QWidget* form, const char* name) {
    return form->findChild<QPushButton*>(QString::fromLatin1(name));
  }

 private slots:
  void initTestCase() {
    m_ordner = new Testordner;
    QVERIFY2(m_ordner->ok(), qPrintable(m_ordner->fehler()));
    // A third user, with a single quote in the name.
    QVERIFY(DemoDaten::sqlAusfuehren(
        m_ordner->datei(QStringLiteral("Daten.mdb")),
        QStringLiteral("INSERT INTO Benutzer (Benutzername, Kennwort) VALUES ('O''Neil', '')")));
    einmalig();
  }
  void cleanupTestCase() { delete m_ordner; }

  void init() {
    TestUmgebung::einstellungenLeeren();
    neuStarten(m_ordner->pfad());
  }

  void cleanup() { TestUmgebung::formulareEntladen(); }

  void listeUndBeschriftung() {
    auto* f = anmeldungZeigen();
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), Text(307));
    QCOMPARE(f->findChild<QLabel*>(QStringLiteral("Label1"))->text(), Text(306));
    QCOMPARE(knopf(f, "cmdOK")->text(), Text(201));
    QCOMPARE(knopf(f, "cmdAbbrechen")->text(), Text(202));
    QCOMPARE(knopf(f, "cmdHilfe")->text(), Text(204));
    QCOMPARE(f->cboBenutzer()->property("Tag").toString(), QStringLiteral("46"));
    QCOMPARE(eintraege(f->cboBenutzer()), QStringList({"Anna", "Ben", "O'Neil"}));
    QCOMPARE(f->cboBenutzer()->currentIndex(), 0);
    QCOMPARE(zustand().SqlText, QStringLiteral("SELECT * FROM Benutzer"));
    QVERIFY(Datenbank::datendatei().offen());
  }

  // OK (the button, or Enter in the list) signs the chosen user in and opens the dialog of the
  // booking kind, not modal; the sign-in dialog goes.
  void weiterleitung_data() {
    QTest::addColumn<QString>("art");
    QTest::addColumn<int>("eintrag");
    QTest::addColumn<bool>("eingabetaste");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("benutzer");
    QTest::newRow("Ausgabe, erster, OK") << "Ausgabe" << 0 << false << "frmAusgabe"
                                         << "Anna";
    QTest::newRow("Einnahme, zweiter, Enter") << "Einnahme" << 1 << true << "frmEinnahme"
                                              << "Ben";
    QTest::newRow("Ausgabe, Hochkomma, Enter") << "Ausgabe" << 2 << true << "frmAusgabe"
                                               << "O'Neil";
    QTest::newRow("andere Art") << "Umbuchung" << 0 << false << "frmEinnahme"
                                << "Anna";
  }
  void weiterleitung() {
    QFETCH(QString, art);
    QFETCH(int, eintrag);
    QFETCH(bool, eingabetaste);
    QFETCH(QString, dialog);
    QFETCH(QString, benutzer);
    const QString sprachdatei = zustand().Sprachdatei;
    QPointer<frmAnmeldung> f = anmeldungZeigen(art);
    f->cboBenutzer()->setFocus();
    for (int i = 0; i < eintrag; ++i)
      QTest::keyClick(f->cboBenutzer(), Qt::Key_Down);
    QCOMPARE(f->cboBenutzer()->currentIndex(), eintrag);
    if (eingabetaste)
      QTest::keyClick(f->cboBenutzer(), Qt::Key_Return);
    else
      QTest::mouseClick(knopf(f, "cmdOK"), Qt::LeftButton);
    QVERIFY(!Formulare::geladen<frmAnmeldung>());
    QCOMPARE(geoeffnet().size(), 1);
    QCOMPARE(geoeffnet()[0].form, dialog);
    QCOMPARE(geoeffnet()[0].benutzer, benutzer);
    QCOMPARE(geoeffnet()[0].datei, m_ordner->pfad() + benutzer + QStringLiteral(".mdb"));
    auto* buchung = Formulare::geladen(dialog);
    QVERIFY(buchung && buchung->isVisible() && !buchung->isModal());
    // This path leaves the language file and the settings alone.
    QCOMPARE(zustand().Sprachdatei, sprachdatei);
    QVERIFY(!QFileInfo::exists(Registry::dateipfad()));
  }

  void abbrechen_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Esc") << true;
    QTest::newRow("Abbrechen") << false;
  }
  void abbrechen() {
    QFETCH(bool, escape);
    auto* f = anmeldungZeigen();
    f->cboBenutzer()->setFocus();
    if (escape)
      QTest::keyClick(f->cboBenutzer(), Qt::Key_Escape);
    else
      QTest::mouseClick(knopf(f, "cmdAbbrechen"), Qt::LeftButton);
    QVERIFY(!Formulare::geladen<frmAnmeldung>());
    QVERIFY(geoeffnet().isEmpty());
    QCOMPARE(zustand().AktuellerBenutzer, QString());
  }

  void hilfe() {
    auto* f = anmeldungZeigen();
    f->cboBenutzer()->setFocus();
    QTest::keyClick(f->cboBenutzer(), Qt::Key_F1);
    QTest::mouseClick(knopf(f, "cmdHilfe"), Qt::LeftButton);
    QCOMPARE(HilfeTest::aufrufe(), QList<int>({450, 450}));
    QCOMPARE(Formulare::geladen<frmAnmeldung>(), f);
  }

  // No data file: an empty list; OK does nothing, Esc still closes.
  void ohneBenutzer() {
    zustand().Datendatei = m_ordner->datei(QStringLiteral("fehlt.mdb"));
    auto* f = anmeldungZeigen();
    QCOMPARE(f->cboBenutzer()->count(), 0);
    QCOMPARE(f->cboBenutzer()->currentIndex(), -1);
    QTest::mouseClick(knopf(f, "cmdOK"), Qt::LeftButton);
    QTest::keyClick(f->cboBenutzer(), Qt::Key_Return);
    QCOMPARE(Formulare::geladen<frmAnmeldung>(), f);
    QVERIFY(geoeffnet().isEmpty());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QTest::keyClick(f, Qt::Key_Escape);
    QVERIFY(!Formulare::geladen<frmAnmeldung>());
    QVERIFY(!QFileInfo::exists(zustand().Datendatei));
  }

  // The tip window closes with the dialog, without the question.
  void tippfensterGehtMit() {
    auto* f = anmeldungZeigen();
    Formulare::laden<frmHilfe>()->show();
    QTest::keyClick(f, Qt::Key_Escape);
    QVERIFY(!Formulare::geladen<frmHilfe>());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  // From the tray: without "Kennwort" and "Standard" the command shows this dialog modally, and
  // the user's choice opens the booking dialog.
  void vomSymbolAus() {
    frmTray::programmordnerVorgabe = m_ordner->pfad();
    auto* tray = Formulare::laden<frmTray>();
    QVERIFY(tray);
    bool modal = false;
    Modalwache wache(QStringLiteral("frmAnmeldung"), [&](Formular* form) {
      modal = form->isModal();
      auto* liste = form->findChild<QComboBox*>(QStringLiteral("cboBenutzer"));
      QTest::keyClick(liste, Qt::Key_Down);
      QTest::keyClick(liste, Qt::Key_Return);
    });
    tray->mnuEinnahme_Buchen();
    QVERIFY(modal);
    QCOMPARE(geoeffnet().size(), 1);
    QCOMPARE(geoeffnet()[0].form, QStringLiteral("frmEinnahme"));
    QCOMPARE(geoeffnet()[0].benutzer, QStringLiteral("Ben"));
  }

  // The password prompt hands back what was typed, or "" when cancelled; its close box leaves
  // the value as it was.
  void bestaetigung_data() {
    QTest::addColumn<QString>("getippt");
    QTest::addColumn<QString>("weg");
    QTest::addColumn<QString>("erwartet");
    QTest::newRow("OK leer") << u""_s << u"OK"_s << u""_s;
    QTest::newRow("OK") << u"geheim"_s << u"OK"_s << u"geheim"_s;
    QTest::newRow("Enter") << u"it's €"_s << u"Enter"_s << u"it's €"_s;
    QTest::newRow("Esc nach Eingabe") << u"geheim"_s << u"Esc"_s << u""_s;
    QTest::newRow("Abbrechen") << u"geheim"_s << u"Abbrechen"_s << u""_s;
    QTest::newRow("Schließfeld") << u"geheim"_s << u"Schliessen"_s << u"vorher"_s;
  }
  void bestaetigung() {
    QFETCH(QString, getippt);
    QFETCH(QString, weg);
    QFETCH(QString, erwartet);
    zustand().BestaetigtesKennwort = QStringLiteral("vorher");
    bool modal = false;
    Modalwache wache(QStringLiteral("frmKennwort"), [&](Formular* form) {
      modal = true;
      auto* feld = static_cast<frmKennwort*>(form)->txtPasswort();
      QCOMPARE(QApplication::focusWidget(), feld);
      tippen(feld, getippt);
      promptVerlassen(form, feld, weg);
    });
    QPointer<frmKennwort> prompt = Formulare::laden<frmKennwort>();
    QVERIFY(prompt);
    prompt->exec();
    QVERIFY(modal);
    QCOMPARE(zustand().BestaetigtesKennwort, erwartet);
    QVERIFY(!Formulare::geladen<frmKennwort>());
  }

  void promptFeld() {
    auto* prompt = Formulare::laden<frmKennwort>();
    prompt->show();
    QCOMPARE(prompt->windowTitle(), Text(766));
    QCOMPARE(prompt->findChild<QLabel*>(QStringLiteral("Label1"))->text(), Text(765));
    auto* feld = prompt->txtPasswort();
    // More than 20 characters cannot be typed; every character shows as "*".
    QTest::keyClicks(feld, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    QCOMPARE(feld->text(), QStringLiteral("abcdefghijklmnopqrst"));
    QCOMPARE(feld->displayText(), QString(20, u'*'));
    // F1 and the help button: context 420; the prompt stays.
    QTest::keyClick(feld, Qt::Key_F1);
    QTest::mouseClick(knopf(prompt, "cmdHilfe"), Qt::LeftButton);
    QCOMPARE(HilfeTest::aufrufe(), QList<int>({420, 420}));
    QCOMPARE(Formulare::geladen<frmKennwort>(), prompt);
  }

  // The field's tip (key 156) when the signed-in user has tips on; the tip window goes with the
  // prompt.
  void promptTipp() {
    zustand().AktuellerBenutzer = QStringLiteral("Anna");
    QCOMPARE(RegistrySchreiben(HKCU, BenutzerSchluessel(), QStringLiteral("Zamlotipp"),
                               QStringLiteral("1")),
             0);
    auto* prompt = Formulare::laden<frmKennwort>();
    prompt->show();
    prompt->activateWindow();
    prompt->txtPasswort()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(Formulare::geladen<frmHilfe>());
    QCOMPARE(Formulare::geladen<frmHilfe>()->lbTip()->text(),
             SprachText(zustand().Tippdatei, QStringLiteral("Tips"), QStringLiteral("156")));
    QVERIFY(!Formulare::geladen<frmHilfe>()->lbTip()->text().isEmpty());
    QTest::keyClick(prompt->txtPasswort(), Qt::Key_Escape);
    QVERIFY(!Formulare::geladen<frmHilfe>());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }
};

VELMARK_TEST_MAIN(TestAnmeldung)
#include "tst_anmeldung.moc"
