// Writes that cannot go through: a disk that fills up part-way (files of the writing process
// limited with RLIMIT_FSIZE, SIGXFSZ ignored), read-only files and folders (the child drops
// root's power over permissions, so this holds in CI too), and a second program that holds the
// household book's write lock. The program says so with its message, and every file is as it
// was, byte for byte; a lock held briefly is waited for.

#include "Datenbank.h"
#include "DemoDaten.h"
#include "Programm.h"
#include "Registry.h"
#include "Rohdaten.h"
#include "Sprache.h"
#include "Stoerung.h"
#include "TestMain.h"
#include "Testordner.h"
#include "Updatetest.h"
#include "Zustand.h"

#include <QFileInfo>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A name long enough that the file must grow to take it.
const QString Langtext = QString(20000, u'L');

struct Rechtewache {
  QString pfad;
  QFile::Permissions vorher;
  Rechtewache(const QString& p, QFile::Permissions neu) : pfad(p), vorher(QFile::permissions(p)) {
    QFile::setPermissions(pfad, neu);
  }
  ~Rechtewache() { QFile::setPermissions(pfad, vorher); }
};

constexpr auto NurLesen = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                          QFile::ReadOther | QFile::ExeOther;

}  // namespace

class TestSchreibfehler : public QObject {
  Q_OBJECT
  std::unique_ptr<Testordner> ordner;

  QString datei(const QString& name) const { return ordner->datei(name); }
  QString buch() const { return datei(u"Anna.mdb"_s); }
  QByteArray einstellungen() const { return dateiInhalt(Registry::dateipfad()); }

  // The arguments of a task, its file and its message (prompt and title numbers).
  struct Aufgabe {
    QStringList argumente;
    QString datei;
    int meldung = 0;
    int titel = 0;
  };
  Aufgabe aufgabe(const QString& name, bool langerText) {
    const QStringList text = langerText ? QStringList{u"--text"_s, Langtext} : QStringList{};
    if (name == u"buchung")
      return {QStringList{u"buchung"_s, ordner->pfad()} + text, buch(), 3001, 3101};
    if (name == u"kategorien")
      return {QStringList{u"kategorien"_s, ordner->pfad()} + text, buch(), 3003, 3103};
    if (name == u"verschieben") {
      const QString ziel = langerText ? Langtext.left(8000) : u"Drogerie"_s;
      if (langerText)
        DemoDaten::sqlAusfuehren(
            buch(), u"INSERT INTO Kategorien VALUES ('Haushalt', '%1', 0)"_s.arg(ziel));
      return {{u"verschieben"_s, ordner->pfad(), u"--von"_s, u"Lebensmittel"_s, u"--nach"_s, ziel},
              buch(),
              3004,
              3104};
    }
    if (name == u"benutzer")
      return {{u"benutzer"_s, ordner->pfad(), u"--name"_s, u"Carla"_s},
              datei(u"Daten.mdb"_s),
              3009,
              3109};
    return {};
  }

 private slots:
  void init() {
    TestUmgebung::einstellungenLeeren();
    MeldungTest::installieren();
    ordner = std::make_unique<Testordner>();
    QVERIFY2(ordner->ok(), qPrintable(ordner->fehler()));
    QVERIFY(ordner->demoEinstellungen());
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel + u"\\Anna"_s, u"Zamlotipp"_s, u"0"_s), 0);
    zustandStarten(ordner->pfad(), QDate(2026, 3, 5));
    zustand().AktuellerBenutzer = u"Anna"_s;
  }

  void cleanup() {
    Datenbank::alleSchliessen();
    ordner.reset();
  }

  // Each writer of the household files, and the disk full before its journal ("Journal"), full
  // part-way once the journal is written and the file must grow ("Datei"), the program folder
  // read-only ("Ordner"), the file read-only ("Nur lesen").
  void gestoert_data() {
    QTest::addColumn<QString>("schreiber");
    QTest::addColumn<QString>("stoerung");
    for (const char* schreiber : {"buchung", "kategorien", "verschieben"}) {
      for (const char* stoerung : {"Journal", "Datei", "Ordner", "Nur lesen"})
        QTest::addRow("%s, %s", schreiber, stoerung) << schreiber << stoerung;
    }
    QTest::newRow("benutzer, Ordner") << "benutzer"
                                      << "Ordner";
    QTest::newRow("benutzer, Nur lesen") << "benutzer"
                                         << "Nur lesen";
  }
  void gestoert() {
    QFETCH(QString, schreiber);
    QFETCH(QString, stoerung);
    const Aufgabe a = aufgabe(schreiber, stoerung == u"Datei");
    QStringList argumente = a.argumente;
    std::unique_ptr<Rechtewache> wache;
    if (stoerung == u"Journal")
      argumente << u"--grenze"_s << u"4096"_s;
    else if (stoerung == u"Datei")
      argumente << u"--grenze"_s << QString::number(QFileInfo(a.datei).size());
    else
      argumente << u"--ohne-rechte"_s;
    const Ordnerinhalt vorher = ordnerInhalt(ordner->pfad());
    const QByteArray einstellungenVorher = einstellungen();
    if (stoerung == u"Ordner")
      wache = std::make_unique<Rechtewache>(ordner->pfad(), NurLesen);
    else if (stoerung == u"Nur lesen")
      wache = std::make_unique<Rechtewache>(a.datei, QFile::ReadOwner | QFile::ReadGroup);

    const Kindbericht b = stoerkind(argumente);
    wache.reset();
    QVERIFY2(b.gelaufen, qPrintable(b.ausgabe));
    QVERIFY2(!b.ok, qPrintable(b.ausgabe));
    QCOMPARE(b.meldungen.size(), 1);
    QCOMPARE(b.meldungen[0].titel, Text(a.titel));
    QCOMPARE(b.meldungen[0].stil, 16);
    // The message and the reason below it.
    QVERIFY2(b.meldungen[0].prompt.startsWith(Text(a.meldung) + u"\n\n"_s),
             qPrintable(b.meldungen[0].prompt));
    QVERIFY(b.meldungen[0].prompt.size() > Text(a.meldung).size() + 5);
    QCOMPARE(unterschiede(vorher, ordnerInhalt(ordner->pfad())), QStringList());
    // A booking uses up its number all the same; nothing else touches the settings.
    if (schreiber != u"buchung")
      QCOMPARE(einstellungen(), einstellungenVorher);

    // With the disk back the same writer goes through.
    const Kindbericht nochmal = stoerkind(aufgabe(schreiber, false).argumente);
    QVERIFY2(nochmal.ok, qPrintable(nochmal.ausgabe));
  }

  // The settings store: a read-only folder or file gives an error status and leaves the file.
  void einstellungenSchreibgeschuetzt_data() {
    QTest::addColumn<bool>("ordnerGeschuetzt");
    QTest::newRow("Ordner") << true;
    QTest::newRow("Datei") << false;
  }
  void einstellungenSchreibgeschuetzt() {
    QFETCH(bool, ordnerGeschuetzt);
    const QByteArray vorher = einstellungen();
    const QString ziel =
        ordnerGeschuetzt ? QFileInfo(Registry::dateipfad()).absolutePath() : Registry::dateipfad();
    Kindbericht b;
    {
      Rechtewache wache(ziel, ordnerGeschuetzt ? NurLesen : QFile::ReadOwner | QFile::ReadGroup);
      b = stoerkind({u"einstellung"_s, ordner->pfad(), u"--text"_s, u"10"_s, u"--ohne-rechte"_s});
    }
    QVERIFY2(b.gelaufen, qPrintable(b.ausgabe));
    QVERIFY(!b.ok);
    QCOMPARE(b.grund, u"5"_s);
    QCOMPARE(einstellungen(), vorher);
    QCOMPARE(
        QDir(QFileInfo(Registry::dateipfad()).absolutePath()).entryList(QDir::Files | QDir::Hidden),
        QStringList{u"Velmark.reg"_s});
  }

  // The update program in a read-only program folder: it says the file could not be written, the
  // installed main program and its version stay.
  void updateSchreibgeschuetzt() {
    QTemporaryDir serverordner;
    Testserver server(serverordner.path());
    QVERIFY2(server.ok(), qPrintable(server.fehler()));
    Updatefall fall(serverordner.path());
    QVERIFY(fall.ok());
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"URL"_s, server.adresse(u"ok"_s)), 0);
    const Ordnerinhalt vorher = ordnerInhalt(fall.programm.pfad());
    Kindbericht b;
    {
      Rechtewache wache(fall.programm.pfad(), NurLesen);
      b = stoerkind({u"update"_s, fall.programm.pfad(), u"--ohne-rechte"_s});
    }
    QVERIFY2(b.gelaufen, qPrintable(b.ausgabe));
    QVERIFY(!b.ok);
    const auto t = [&](int n) {
      return SprachText(fall.programm.datei(u"kvastlang.dll"_s), u"Sprache"_s, QString::number(n));
    };
    QStringList gezeigt;
    for (const auto& m : b.meldungen)
      gezeigt.append(m.prompt);
    QVERIFY2(gezeigt.contains(t(1680)), qPrintable(gezeigt.join(u" / "_s)));
    QCOMPARE(gezeigt.last(), t(1693));
    QCOMPARE(unterschiede(vorher, ordnerInhalt(fall.programm.pfad())), QStringList());
  }

  // Another program holds the household book's write lock: shorter than the busy timeout, the
  // write waits and goes through; longer, the program's message, nothing written, and the same
  // write works once the lock is gone. (The booking commit under both locks is tst_buchung's, the
  // category save under a long one tst_kategorie's.)
  void zweiterSchreiber_data() {
    QTest::addColumn<QString>("schreiber");
    QTest::addColumn<int>("millisekunden");
    QTest::newRow("kategorien, kurz") << "kategorien" << Datenbank::Wartezeit * 3 / 5;
    QTest::newRow("verschieben, kurz") << "verschieben" << Datenbank::Wartezeit * 3 / 5;
    QTest::newRow("verschieben, lang") << "verschieben" << Datenbank::Wartezeit + 4000;
  }
  void zweiterSchreiber() {
    QFETCH(QString, schreiber);
    QFETCH(int, millisekunden);
    const bool wartet = millisekunden < Datenbank::Wartezeit;
    const Aufgabe a = aufgabe(schreiber, false);
    const QByteArray vorher = dateiInhalt(buch());
    QProcess sperre;
    sperre.start(QStringLiteral(DATENBANK_KIND),
                 {u"sperren"_s, buch(), QString::number(millisekunden)});
    QVERIFY(sperre.waitForReadyRead(10000));
    QCOMPARE(sperre.readLine().trimmed(), QByteArray("gesperrt"));
    const Kindbericht b = stoerkind(a.argumente);
    QVERIFY(sperre.waitForFinished(30000));
    QCOMPARE(sperre.exitCode(), 0);
    QVERIFY2(b.gelaufen, qPrintable(b.ausgabe));
    QCOMPARE(b.ok, wartet);
    if (wartet)
      return;
    QCOMPARE(b.meldungen.size(), 1);
    QVERIFY(b.meldungen[0].prompt.startsWith(Text(a.meldung) + u"\n\n"_s));
    QVERIFY2(b.meldungen[0].prompt.contains(u"gesperrt"_s), qPrintable(b.meldungen[0].prompt));
    QCOMPARE(b.meldungen[0].titel, Text(a.titel));
    QCOMPARE(dateiInhalt(buch()), vorher);
    const Kindbericht nochmal = stoerkind(a.argumente);
    QVERIFY2(nochmal.ok, qPrintable(nochmal.ausgabe));
  }
};

VELMARK_TEST_MAIN(TestSchreibfehler)
#include "tst_schreibfehler.moc"
