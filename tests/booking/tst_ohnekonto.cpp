// A household book without an account takes no booking: both booking dialogs say so once they
// show and offer to start the main program, which keeps the accounts.

#include "Buchungstest.h"
#include "Programm.h"

#include <QFile>
#include <QPointer>
#include <QWindow>

using namespace Qt::StringLiterals;

class TestOhneKonto : public Buchungstest {
  Q_OBJECT

  // The main program of the test folder only leaves a mark that it was started.
  QString marke() const { return ordner->datei(u"gestartet"_s); }

 private slots:
  void initTestCase() { einmalig(); }

  void init() {
    vorbereiten();
    const QString programm = ordner->datei(Hauptprogramm);
    QVERIFY(dateiAnlegen(programm, "#!/bin/sh\ntouch \"$(dirname \"$0\")/gestartet\"\n"));
    QVERIFY(
        QFile::setPermissions(programm, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  }

  void cleanup() { aufraeumen(); }

  void hinweis_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("aenderung");  // SQL on the book
    QTest::addColumn<int>("antwort");
    QTest::addColumn<bool>("gemeldet");
    QTest::addColumn<bool>("gestartet");  // and the dialog unloaded
    QTest::newRow("Ausgabe, Ja") << u"frmAusgabe"_s << u"DELETE FROM Konten"_s << Antwort::Ja
                                 << true << true;
    QTest::newRow("Einnahme, Nein")
        << u"frmEinnahme"_s << u"DELETE FROM Konten"_s << Antwort::Nein << true << false;
    QTest::newRow("mit Konto") << u"frmAusgabe"_s << QString() << Antwort::Ja << false << false;
    // No account table at all: not something a new account would mend.
    QTest::newRow("ohne Tabelle") << u"frmEinnahme"_s << u"DROP TABLE Konten"_s << Antwort::Ja
                                  << false << false;
  }
  void hinweis() {
    QFETCH(QString, form);
    QFETCH(QString, aenderung);
    QFETCH(int, antwort);
    QFETCH(bool, gemeldet);
    QFETCH(bool, gestartet);
    if (!aenderung.isEmpty())
      sql(aenderung);
    MeldungTest::antworten({antwort});
    // Shown as the tray shows it; the note may unload it before it is ever active.
    QPointer<Formular> geladen = Formulare::laden(form);
    QVERIFY(geladen);
    geladen->show();
    // Not qWaitForWindowExposed: it would keep a pointer to a dialog the note may delete.
    QTRY_VERIFY(!geladen || (geladen->windowHandle() && geladen->windowHandle()->isExposed()));
    QCoreApplication::processEvents();
    QTRY_COMPARE(meldungen(),
                 gemeldet ? QList<Meldungsdaten>{meldung(3040, 3140, 36)} : QList<Meldungsdaten>{});
    QTRY_COMPARE(QFile::exists(marke()), gestartet);
    QCOMPARE(Formulare::geladen(form) == nullptr, gestartet);
  }
};

VELMARK_TEST_MAIN(TestOhneKonto)
#include "tst_ohnekonto.moc"
