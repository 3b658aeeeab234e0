// Writers killed at random moments (SIGKILL) while they run in a loop, and a new user stopped
// right after each of its steps: the files hold the old state or the new one, whole; every
// acknowledged step is there; nothing a killed run left blocks the next one.
// (The booking commit's kill loop is tst_buchung's, the settings store's tst_registry's.)

#include "Benutzeranlage.h"
#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "DemoDaten.h"
#include "Programm.h"
#include "Registry.h"
#include "Rohdaten.h"
#include "Stoerung.h"
#include "TestMain.h"
#include "Testordner.h"
#include "Updatetest.h"
#include "Zustand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Kill rounds stop early once this much time has gone, so that a slow machine stays in bounds.
constexpr qint64 Zeitrahmen = 35000;

int zufall(int von, int bis) {
  return von + int(QRandomGenerator::global()->bounded(bis - von));
}

QString einstellung(const QString& benutzer, const QString& name) {
  const QVariant wert = RegistryLesen(HKCU, ProduktSchluessel + u'\\' + benutzer, name);
  return wert.isValid() ? wert.toString() : u"<fehlt>"_s;
}

// The last "ok ..." line a killed loop printed, without the "ok ".
QStringList bestaetigt(const QByteArray& ausgabe) {
  QStringList liste;
  for (const QByteArray& zeile : ausgabe.split('\n')) {
    if (zeile.startsWith("ok "))
      liste.append(QString::fromUtf8(zeile.mid(3)));
  }
  return liste;
}

}  // namespace

class TestAbsturz : public QObject {
  Q_OBJECT
  std::unique_ptr<Testordner> ordner;

  QString datei(const QString& name) const { return ordner->datei(name); }
  QString buch() const { return datei(u"Anna.mdb"_s); }

  // A connection of the engine rolls back what a killed writer left half done. (A journal the
  // writer had not finished is no hot journal: the file was never touched, and the engine leaves
  // it to the next write.)
  void integritaet(const QString& pfad) {
    QCOMPARE(rohWert(pfad, u"PRAGMA integrity_check"_s), QVariant(u"ok"_s));
  }

  QStringList benutzerzeilen() const {
    QStringList namen;
    for (const QVariantList& z : roh(datei(u"Daten.mdb"_s), u"SELECT Benutzername FROM Benutzer"_s))
      namen.append(z.value(0).toString());
    return namen;
  }

  // A user is whole (row, book with its own row, the five settings) or not there at all.
  void ganzOderGarNicht(const QString& name, bool& ganz) {
    const bool zeile = benutzerzeilen().contains(name);
    const QString pfad = datei(name + u".mdb"_s);
    const bool buchDa = QFile::exists(pfad);
    int einstellungen = 0;
    for (const auto& [wert, standard] : Benutzeranlage::Standardeinstellungen())
      einstellungen += einstellung(name, wert) == standard ? 1 : 0;
    ganz = zeile && buchDa && einstellungen == 5;
    const bool nichts = !zeile && !buchDa && einstellungen == 0;
    QVERIFY2(ganz || nichts,
             qPrintable(
                 u"%1: Zeile %2, Buch %3, %4 Einstellungen"_s.arg(name).arg(zeile).arg(buchDa).arg(
                     einstellungen)));
    if (ganz) {
      QCOMPARE(rohWert(pfad, u"SELECT Benutzername FROM Benutzer"_s), QVariant(name));
      integritaet(pfad);
    }
  }

  // What a creation leaves beside the books: copies, their journals, notes.
  // Once the loop has acknowledged its first step (a slow start must not use up the round), at a
  // random moment of the steps that follow.
  static void nachDemErstenSchrittToeten(QProcess& kind) {
    QVERIFY(kind.waitForStarted());
    QElapsedTimer uhr;
    uhr.start();
    while (!kind.canReadLine() && kind.state() == QProcess::Running && uhr.elapsed() < 30000)
      kind.waitForReadyRead(100);
    QVERIFY2(kind.canReadLine(), "kein Schritt bestätigt");
    QTest::qWait(zufall(0, 1000));
    toeten(kind);
  }

  QStringList reste() const {
    return QDir(ordner->pfad()).entryList({u"unbenannt-*"_s}, QDir::Files | QDir::Hidden);
  }

  // The next check of a new user, as the dialog makes it before the password prompt.
  void naechstePruefung() {
    Datensatzquelle Data1;
    Data1.verbinden(datei(u"Daten.mdb"_s));
    Benutzeranlage anlage(Data1, ordner->pfad(), u"Pruefung"_s, u"geheim"_s);
    QCOMPARE(anlage.pruefen(), Benutzeranlage::Ergebnis::Angelegt);
  }

 private slots:
  void init() {
    TestUmgebung::einstellungenLeeren();
    ordner = std::make_unique<Testordner>();
    QVERIFY2(ordner->ok(), qPrintable(ordner->fehler()));
    QVERIFY(ordner->demoEinstellungen());
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel + u"\\Anna"_s, u"Zamlotipp"_s, u"0"_s), 0);
  }

  void cleanup() {
    Datenbank::alleSchliessen();
    ordner.reset();
  }

  // The category tree saved again and again, a node renamed each time: the table is the one
  // before a save or the one after it, never the old table cut or the new one in part.
  void kategorienSpeichern() {
    // Rows as sorted texts: the save writes them in the tree's order.
    const auto tabelle = [this] {
      QStringList zeilen;
      for (const QVariantList& z : roh(buch(),
                                       u"SELECT Kategorie, Unterkategorie, Steuer FROM "
                                       "Kategorien"_s))
        zeilen.append(z.value(0).toString() + u'|' + z.value(1).toString() + u'|' +
                      z.value(2).toString());
      zeilen.sort();
      return zeilen;
    };
    const QStringList vorher = tabelle();
    QVERIFY(vorher.contains(u"Wohnen|Telefon|0"_s));
    // The table after round n (0: as before).
    const auto tabelleNach = [&](int runde) {
      QStringList t = vorher;
      if (runde > 0) {
        t.replace(t.indexOf(u"Wohnen|Telefon|0"_s), u"Wohnen|Runde %1|0"_s.arg(runde));
        t.sort();
      }
      return t;
    };
    int stand = 0;
    int gespeichert = 0;
    QElapsedTimer uhr;
    uhr.start();
    for (int runde = 0; runde < 8 && uhr.elapsed() < Zeitrahmen; ++runde) {
      QProcess kind;
      stoerkindStarten(kind, {u"kategorien"_s, ordner->pfad(), u"--schleife"_s});
      nachDemErstenSchrittToeten(kind);
      const QStringList ok = bestaetigt(kind.readAllStandardOutput());
      gespeichert += int(ok.size());
      const int letzte = ok.isEmpty() ? stand : ok.last().toInt();
      integritaet(buch());
      const QStringList jetzt = tabelle();
      QVERIFY2(
          jetzt == tabelleNach(letzte) || jetzt == tabelleNach(letzte + 1),
          qPrintable(
              u"Runde %1: %2 Zeilen, bestätigt %3"_s.arg(runde).arg(jetzt.size()).arg(letzte)));
      stand = jetzt == tabelleNach(letzte) ? letzte : letzte + 1;
    }
    // The loop got far enough to be killed in the middle of saves.
    QVERIFY2(gespeichert >= 3, qPrintable(QString::number(gespeichert)));
    // And the dialog saves again after it all.
    const Kindbericht b = stoerkind({u"kategorien"_s, ordner->pfad()});
    QVERIFY2(b.ok, qPrintable(b.ausgabe));
    QCOMPARE(tabelle(), tabelleNach(stand + 1));
  }

  // Forty-one bookings moved back and forth between two categories: always all of them or none.
  void buchungenVerschieben() {
    QString werte;
    for (int id = 100; id < 140; ++id)
      werte +=
          u"%1(%2, 'Girokonto', 'Ausgabe', '2027-01-%3', %2, 'EUR', 0, %2, 'Lebensmittel', 'Nr. %2')"_s
              .arg(werte.isEmpty() ? u""_s : u","_s)
              .arg(id)
              .arg(1 + id % 28, 2, 10, QLatin1Char('0'));
    QVERIFY(DemoDaten::sqlAusfuehren(
        buch(),
        u"INSERT INTO Buchungen (ID, KontoName, Buchung, Datum, Betrag, Waehrung, "
        "Einnahme, Ausgabe, Kategorie, Verwendungszweck) VALUES "_s +
            werte));
    const QString andere =
        u"SELECT * FROM Buchungen WHERE Kategorie NOT IN ('Lebensmittel', 'Drogerie') "
        "ORDER BY rowid"_s;
    const QList<QVariantList> unbeteiligt = roh(buch(), andere);
    const QString verteilung =
        u"SELECT Kategorie, count(*) FROM Buchungen WHERE Kategorie IN ('Lebensmittel', "
        "'Drogerie') GROUP BY Kategorie"_s;
    int verschoben = 0;
    QElapsedTimer uhr;
    uhr.start();
    for (int runde = 0; runde < 8 && uhr.elapsed() < Zeitrahmen; ++runde) {
      QProcess kind;
      stoerkindStarten(kind, {u"verschieben"_s, ordner->pfad(), u"--schleife"_s, u"--von"_s,
                              u"Lebensmittel"_s, u"--nach"_s, u"Drogerie"_s});
      nachDemErstenSchrittToeten(kind);
      verschoben += int(bestaetigt(kind.readAllStandardOutput()).size());
      integritaet(buch());
      const QList<QVariantList> jetzt = roh(buch(), verteilung);
      QStringList text;
      for (const QVariantList& z : jetzt)
        text.append(z.value(0).toString() + u' ' + z.value(1).toString());
      QVERIFY2(jetzt.size() == 1 && jetzt[0][1] == QVariant(41LL),
               qPrintable(u"Runde %1: %2"_s.arg(runde).arg(text.join(u", "_s))));
      QCOMPARE(roh(buch(), andere), unbeteiligt);
    }
    QVERIFY2(verschoben >= 3, qPrintable(QString::number(verschoben)));
  }

  // New users one after the other: each acknowledged user is whole; after the next check every
  // user is whole or gone, and no copy or note of a killed run is left.
  void neueBenutzer() {
    QStringList angelegt;
    QList<int> jeRunde;
    QElapsedTimer uhr;
    uhr.start();
    for (int runde = 0; runde < 8 && uhr.elapsed() < Zeitrahmen; ++runde) {
      QProcess kind;
      stoerkindStarten(kind, {u"benutzer"_s, ordner->pfad(), u"--schleife"_s, u"--name"_s,
                              u"K%1_"_s.arg(runde)});
      nachDemErstenSchrittToeten(kind);
      const QStringList ok = bestaetigt(kind.readAllStandardOutput());
      for (const QString& name : ok) {
        bool ganz = false;
        ganzOderGarNicht(name, ganz);
        QVERIFY2(ganz, qPrintable(name));
      }
      angelegt += ok;
      jeRunde.append(int(ok.size()));
    }
    QVERIFY2(angelegt.size() >= 3, qPrintable(angelegt.join(u", "_s)));
    naechstePruefung();
    QCOMPARE(reste(), QStringList());
    // Every name a loop may have touched: the acknowledged ones and the one after them.
    QStringList namen = angelegt;
    for (const QString& datei : QDir(ordner->pfad()).entryList({u"K*.mdb"_s}))
      namen.append(datei.chopped(4));
    for (const QString& name : benutzerzeilen()) {
      if (name != u"Anna" && name != u"Ben")
        namen.append(name);
    }
    for (int r = 0; r < jeRunde.size(); ++r)
      namen.append(u"K%1_%2"_s.arg(r).arg(jeRunde[r] + 1));
    namen.removeDuplicates();
    for (const QString& name : namen) {
      bool ganz = false;
      ganzOderGarNicht(name, ganz);
      QVERIFY2(ganz || !angelegt.contains(name), qPrintable(name));
    }
    // The name being created when the loop was killed is free again, unless it was complete.
    for (int r = 0; r < jeRunde.size(); ++r) {
      const QString name = u"K%1_%2"_s.arg(r).arg(jeRunde[r] + 1);
      if (benutzerzeilen().contains(name))
        continue;
      const Kindbericht b = stoerkind({u"benutzer"_s, ordner->pfad(), u"--name"_s, name});
      QVERIFY2(b.ok, qPrintable(b.ausgabe));
      bool ganz = false;
      ganzOderGarNicht(name, ganz);
      QVERIFY(ganz);
    }
  }

  // A creation stopped right after each of its steps (as by a crash). Before the commit the next
  // check takes everything back, also the settings the key held before; after it the user stays.
  void benutzerNachJedemSchritt_data() {
    QTest::addColumn<int>("schritt");
    QTest::addColumn<bool>("bleibt");
    QTest::newRow("Zeile eingetragen") << 1 << false;
    QTest::newRow("Buch kopiert") << 2 << false;
    QTest::newRow("Vermerk geschrieben") << 3 << false;
    QTest::newRow("Einstellungen geschrieben") << 4 << false;
    QTest::newRow("Buch eingesetzt") << 5 << false;
    QTest::newRow("bestätigt") << 6 << true;
  }
  void benutzerNachJedemSchritt() {
    QFETCH(int, schritt);
    QFETCH(bool, bleibt);
    const QString carla = ProduktSchluessel + u"\\Carla"_s;
    QCOMPARE(RegistrySchreiben(HKCU, carla, u"ID"_s, 7, false), 0);
    QCOMPARE(RegistrySchreiben(HKCU, carla, u"Sprache"_s, u"Englisch"_s), 0);
    const QByteArray einstellungen = dateiInhalt(Registry::dateipfad());
    const QByteArray daten = dateiInhalt(datei(u"Daten.mdb"_s));

    QProcess kind;
    stoerkindStarten(kind, {u"benutzer"_s, ordner->pfad(), u"--name"_s, u"Carla"_s,
                            u"--abbruch-nach"_s, QString::number(schritt)});
    QVERIFY(kind.waitForFinished(30000));
    QCOMPARE(kind.exitCode(), 9);
    if (schritt >= 2)
      QVERIFY(!reste().isEmpty());

    naechstePruefung();
    QCOMPARE(reste(), QStringList());
    bool ganz = false;
    if (bleibt) {
      ganzOderGarNicht(u"Carla"_s, ganz);
      QVERIFY(ganz);
      QCOMPARE(RegistryLesen(HKCU, carla, u"ID"_s), QVariant(7));
      return;
    }
    QVERIFY(!benutzerzeilen().contains(u"Carla"_s));
    QVERIFY(!QFile::exists(datei(u"Carla.mdb"_s)));
    QCOMPARE(dateiInhalt(Registry::dateipfad()), einstellungen);
    integritaet(datei(u"Daten.mdb"_s));
    QCOMPARE(dateiInhalt(datei(u"Daten.mdb"_s)), daten);
    // The name is free: the next creation makes the whole user.
    const Kindbericht b = stoerkind({u"benutzer"_s, ordner->pfad(), u"--name"_s, u"Carla"_s});
    QVERIFY2(b.ok, qPrintable(b.ausgabe));
    ganzOderGarNicht(u"Carla"_s, ganz);
    QVERIFY(ganz);
    QCOMPARE(einstellung(u"Carla"_s, u"Sprache"_s), u"Deutsch"_s);
    QCOMPARE(RegistryLesen(HKCU, carla, u"ID"_s), QVariant(7));
  }

  // A note that is not ours, or whose book another program has since put there, takes nothing
  // away that it did not make.
  void fremderVermerk() {
    const QByteArray fremd = "Haushaltsbuch von jemand anderem";
    {
      QFile f(datei(u"Dora.mdb"_s));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(fremd);
    }
    const QByteArray vermerk =
        R"({"Name": "Dora", "Kopie": "unbenannt-000001.tmp", "Buch": "00", "Einstellungen": []})";
    for (const QString& name : {u"unbenannt-000001.anlage"_s, u"unbenannt-000002.anlage"_s}) {
      QFile f(datei(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(name.contains(u'1') ? vermerk : QByteArray("kein Vermerk"));
    }
    naechstePruefung();
    QCOMPARE(dateiInhalt(datei(u"Dora.mdb"_s)), fremd);
    // The foreign file stays; the decided note is gone.
    QCOMPARE(reste(), QStringList{u"unbenannt-000002.anlage"_s});
  }

  // The update killed at random moments, in the download and around the replacement: the
  // installed main program is the old one or the new one byte for byte, the version file never
  // names the new version for the old program, and the next run completes the update.
  void updateGetoetet() {
    QTemporaryDir serverordner;
    Testserver server(serverordner.path());
    QVERIFY2(server.ok(), qPrintable(server.fehler()));
    Updatefall fall(serverordner.path());
    QVERIFY(fall.ok());
    fall.neu = QByteArray("#!/bin/sh\necho neu\n") + zufallsBytes(3 * 1024 * 1024, 11);
    QVERIFY(dateiAnlegen(fall.serverDatei(Hauptprogramm), fall.neu));
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"URL"_s,
                               server.adresse(u"langsam/262144/40"_s)),
             0);
    const QString version = fall.programm.datei(u"programm.ver"_s);
    int alt = 0, neu = 0;
    QElapsedTimer uhr;
    uhr.start();
    for (int runde = 0; runde < 10 && uhr.elapsed() < Zeitrahmen; ++runde) {
      QVERIFY(dateiAnlegen(fall.installiert(), fall.alt));
      QVERIFY(dateiAnlegen(version, "1.0\r\n"));
      QProcess kind;
      kind.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      kind.start(QStringLiteral(UPDATE_KIND), {fall.programm.pfad()});
      QVERIFY(kind.waitForStarted());
      // From the start of the download on: through the transfer, the replacement and the
      // version file, and now and then past the end.
      QTRY_VERIFY_WITH_TIMEOUT(schreibtInOrdner(kind.processId(), fall.programm.pfad()) ||
                                   kind.state() != QProcess::Running,
                               30000);
      QTest::qWait(zufall(0, 1200));
      toeten(kind);
      const QByteArray installiert = dateiInhalt(fall.installiert());
      QVERIFY2(installiert == fall.alt || installiert == fall.neu,
               qPrintable(u"Runde %1: %2 Bytes"_s.arg(runde).arg(installiert.size())));
      (installiert == fall.alt ? alt : neu) += 1;
      if (dateiInhalt(version) == "1.1\r\n")
        QVERIFY(installiert == fall.neu);
      else
        QCOMPARE(dateiInhalt(version), QByteArray("1.0\r\n"));
    }
    QVERIFY2(alt > 0, qPrintable(u"%1 alt, %2 neu"_s.arg(alt).arg(neu)));
    // The next run, to its end.
    QVERIFY(dateiAnlegen(fall.installiert(), fall.alt));
    QVERIFY(dateiAnlegen(version, "1.0\r\n"));
    QProcess kind;
    kind.start(QStringLiteral(UPDATE_KIND), {fall.programm.pfad()});
    QVERIFY(kind.waitForFinished(60000));
    QCOMPARE(dateiInhalt(fall.installiert()), fall.neu);
    QCOMPARE(dateiInhalt(version), QByteArray("1.1\r\n"));
    QCOMPARE(downloadReste(fall.programm.pfad()), QStringList());
  }
};

VELMARK_TEST_MAIN(TestAbsturz)
#include "tst_absturz.moc"
