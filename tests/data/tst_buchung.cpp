// The booking counter and the booking row: the columns of both kinds, the counter around the
// commit, the inventory row in the same transaction, and commits under a second writer, a killed
// process and a full disk.

#include "Buchung.h"
#include "Buchungszaehler.h"
#include "Dateien.h"
#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "DemoDaten.h"
#include "Meldung.h"
#include "Registry.h"
#include "Rohdaten.h"
#include "TestMain.h"
#include "Testordner.h"
#include "Zustand.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString kind() {
  return QStringLiteral(DATENBANK_KIND);
}

QString anna() {
  return ProduktSchluessel + u"\\Anna"_s;
}

Buchung ausgabe(const QString& betrag = u"12,50"_s) {
  Buchung b;
  b.art = Buchungsart::Ausgabe;
  b.KontoName = u"Girokonto"_s;
  b.Datum = u"01.02.2027"_s;
  b.Betrag = betrag;
  b.Waehrung = u"EUR"_s;
  b.BetragKonto = betrag;
  b.Name = u"Tankstelle Nord"_s;
  b.Kategorie = u"Benzin"_s;
  b.Verwendungszweck = u"Tanken"_s;
  return b;
}

Buchung einnahme() {
  Buchung b;
  b.art = Buchungsart::Einnahme;
  b.KontoName = u"Dollarkonto"_s;
  b.Datum = u"15.01.2027"_s;
  b.Betrag = u"2.000,00"_s;
  b.Waehrung = u"EUR"_s;
  b.BetragKonto = u"2.200,00"_s;
  b.Name = u"Arbeitgeber AG"_s;
  b.Kategorie = u"Gehalt"_s;
  b.Verwendungszweck = u"Gehalt Januar"_s;
  b.Versicherung = 1;  // an income never writes it, whatever the box said
  return b;
}

const QString Spalten =
    u"ID, KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, Ausgabe, Empfaenger, "
    "Auftraggeber, Kategorie, Verwendungszweck, Versicherung, Saldo"_s;

QVariant gespeicherterZaehler() {
  return RegistryLesen(HKCU, anna(), u"ID"_s);
}

}  // namespace

class TestBuchung : public QObject {
  Q_OBJECT

  std::unique_ptr<Testordner> ordner;
  QString buch() const { return ordner->datei(u"Anna.mdb"_s); }

  int buchungen() { return int(rohWert(buch(), u"SELECT count(*) FROM Buchungen"_s).toLongLong()); }

 private slots:
  void init() {
    TestUmgebung::einstellungenLeeren();
    MeldungTest::installieren();
    MeldungTest::vergessen();
    ordner = std::make_unique<Testordner>();
    QVERIFY2(ordner->ok(), qPrintable(ordner->fehler()));
    zustand() = Zustand();
    zustand().Programmordner = ordner->pfad();
    zustand().Sprachdatei = ordner->datei(u"kvastlang.dll"_s);
    zustand().AktuellerBenutzer = u"Anna"_s;
    zustand().Benutzerdatei = buch();
  }

  void cleanup() {
    Datenbank::alleSchliessen();
    ordner.reset();
    QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
  }

  void zaehler_data() {
    QTest::addColumn<QVariant>("gespeichert");  // invalid: no value
    QTest::addColumn<int>("id");                // 0: refused
    QTest::newRow("fehlt") << QVariant() << 1;
    QTest::newRow("leer") << QVariant(u""_s) << 1;
    QTest::newRow("41") << QVariant(u"41"_s) << 42;
    QTest::newRow("führende Null") << QVariant(u"0146"_s) << 147;
    QTest::newRow("negativ") << QVariant(u"-5"_s) << -4;
    QTest::newRow("kein Zahl") << QVariant(u"abc"_s) << 1;
    QTest::newRow("Zahlwert") << QVariant(7) << 8;
    QTest::newRow("letzte Nummer") << QVariant(u"32766"_s) << 32767;
    QTest::newRow("Höchstwert") << QVariant(u"32767"_s) << 0;
    QTest::newRow("darüber") << QVariant(u"40000"_s) << 0;
  }
  void zaehler() {
    QFETCH(QVariant, gespeichert);
    QFETCH(int, id);
    if (gespeichert.isValid())
      QCOMPARE(RegistrySchreiben(HKCU, anna(), u"ID"_s, gespeichert,
                                 gespeichert.typeId() == QMetaType::QString),
               0);
    zustand().AktuelleID = 77;
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
    const Buchungsergebnis e = BuchungSpeichern(Data1, ausgabe());
    if (id == 0) {
      // Refused before anything: no row, the counter and AktuelleID as they were.
      QCOMPARE(e.status, Buchungsergebnis::Status::ZaehlerErschoepft);
      QCOMPARE(buchungen(), 5);
      QCOMPARE(gespeicherterZaehler(), gespeichert);
      QCOMPARE(zustand().AktuelleID, qint16(77));
      BuchungsfehlerMelden(e);
      QCOMPARE(MeldungTest::gezeigt().size(), 1);
      QCOMPARE(MeldungTest::gezeigt()[0].prompt, Text(3002));
      QCOMPARE(MeldungTest::gezeigt()[0].titel, Text(3102));
      QCOMPARE(MeldungTest::gezeigt()[0].stil, 48);
      return;
    }
    QVERIFY2(e.ok(), qPrintable(e.grund));
    QCOMPARE(int(e.id), id);
    QCOMPARE(zustand().AktuelleID, qint16(id));
    QCOMPARE(
        rohWert(buch(), u"SELECT count(*) FROM Buchungen WHERE ID = %1 AND rowid > 5"_s.arg(id)),
        QVariant(1LL));
    // Stored as text, so the next commit continues from it.
    QCOMPARE(gespeicherterZaehler(), QVariant(QString::number(id)));
    if (id < 32767) {
      QVERIFY(BuchungSpeichern(Data1, ausgabe()).ok());
      QCOMPARE(gespeicherterZaehler(), QVariant(QString::number(id + 1)));
    }
  }

  void zaehlerWirdJedesMalGelesen() {
    QVERIFY(IDauslesen());
    QCOMPARE(zustand().AktuelleID, qint16(1));
    QCOMPARE(IDspeichern(), 0);
    QCOMPARE(gespeicherterZaehler(), QVariant(u"1"_s));
    // Another program changed the value between two commits.
    QCOMPARE(RegistrySchreiben(HKCU, anna(), u"ID"_s, u"300"_s), 0);
    QVERIFY(IDauslesen());
    QCOMPARE(zustand().AktuelleID, qint16(301));
    // Each user has a counter of their own.
    zustand().AktuellerBenutzer = u"Ben"_s;
    QCOMPARE(gespeicherteID(), std::optional<qint16>(0));
  }

  void spaltenfolge() {
    auto namen = [](const Buchung& b) {
      QStringList n;
      for (const auto& [spalte, wert] : Buchungszeile(b, 1))
        n.append(spalte);
      return n;
    };
    const QStringList alle = Spalten.split(u", "_s);
    QCOMPARE(namen(ausgabe()), alle.mid(0, 13));
    QCOMPARE(namen(einnahme()), alle.mid(0, 12));
    // The other kind's amount is "0,00" as the format gives it, never empty.
    QCOMPARE(Buchungszeile(ausgabe(), 1)[6].second, QVariant(u"0,00"_s));
    QCOMPARE(Buchungszeile(einnahme(), 1)[7].second, QVariant(u"0,00"_s));
  }

  void ausgabeZeile() {
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
    const QList<QVariantList> vorher = roh(buch(), u"SELECT * FROM Buchungen ORDER BY rowid"_s);
    const Buchungsergebnis e = BuchungSpeichern(Data1, ausgabe());
    QVERIFY2(e.ok(), qPrintable(e.grund));
    QCOMPARE(e.id, qint16(1));
    const QList<QVariantList> zeile =
        roh(buch(), u"SELECT %1 FROM Buchungen WHERE rowid = 6"_s.arg(Spalten));
    const QVariantList erwartet = {
        1LL, u"Girokonto"_s, u"Ausgabe"_s,         u"2027-02-01"_s, 12.5,        u"EUR"_s,
        0.0, 12.5,           u"Tankstelle Nord"_s, u""_s,           u"Benzin"_s, u"Tanken"_s,
        0LL, QVariant()};
    QCOMPARE(zeile, QList<QVariantList>{erwartet});
    QCOMPARE(rohWert(buch(), u"SELECT typeof(Auftraggeber) FROM Buchungen WHERE rowid = 6"_s),
             QVariant(u"text"_s));
    // No other row changes; Saldo is left to the main application.
    QCOMPARE(roh(buch(), u"SELECT * FROM Buchungen WHERE rowid <= 5 ORDER BY rowid"_s), vorher);
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Inventar"_s), QVariant(0LL));
  }

  void einnahmeZeile() {
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Konten"_s));  // the income dialog sets Buchungen itself
    const Buchungsergebnis e = BuchungSpeichern(Data1, einnahme());
    QVERIFY2(e.ok(), qPrintable(e.grund));
    QCOMPARE(zustand().SqlText, u"SELECT * FROM Buchungen"_s);
    const QVariantList erwartet = {1LL,           u"Dollarkonto"_s,
                                   u"Einnahme"_s, u"2027-01-15"_s,
                                   2000.0,        u"EUR"_s,
                                   2200.0,        0.0,
                                   u""_s,         u"Arbeitgeber AG"_s,
                                   u"Gehalt"_s,   u"Gehalt Januar"_s,
                                   QVariant(),    QVariant()};
    QCOMPARE(roh(buch(),
                 u"SELECT %1 FROM Buchungen WHERE ID = 1 AND Buchung = 'Einnahme' "
                 "AND rowid > 5"_s.arg(Spalten)),
             QList<QVariantList>{erwartet});
  }

  void inventar_data() {
    QTest::addColumn<bool>("angekreuzt");
    QTest::newRow("angekreuzt") << true;
    QTest::newRow("nicht angekreuzt") << false;
  }
  void inventar() {
    QFETCH(bool, angekreuzt);
    QCOMPARE(RegistrySchreiben(HKCU, anna(), u"ID"_s, u"5"_s), 0);
    Buchung b = ausgabe(u"16,00"_s);
    b.Waehrung = u"CHF"_s;
    b.BetragKonto = u"10,00"_s;
    b.Kategorie = u"Einrichtung"_s;
    b.Verwendungszweck = u"Sofa"_s;
    b.Versicherung = angekreuzt ? 1 : 0;
    if (angekreuzt)
      b.inventar = Inventarzeile{u"Anna"_s,  b.Kategorie, u"03.02.2027"_s, b.Verwendungszweck,
                                 u"16,00"_s, u"CHF"_s,    u"10,00"_s};
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
    QVERIFY(BuchungSpeichern(Data1, b).ok());
    QCOMPARE(rohWert(buch(), u"SELECT Versicherung FROM Buchungen WHERE ID = 6"_s),
             QVariant(angekreuzt ? 1LL : 0LL));
    const QList<QVariantList> inventar = roh(buch(), u"SELECT * FROM Inventar"_s);
    if (!angekreuzt) {
      QVERIFY(inventar.isEmpty());
      return;
    }
    QCOMPARE(inventar, (QList<QVariantList>{{6LL, u"Anna"_s, u"Einrichtung"_s, u"2027-02-03"_s,
                                             u"Sofa"_s, 16.0, u"CHF"_s, 10.0, -1LL, u""_s}}));
  }

  void fehlendeBuchdatei() {
    const QString pfad = ordner->datei(u"Niemand.mdb"_s);
    zustand().Benutzerdatei = pfad;
    Datensatzquelle Data1;
    QVERIFY(!Data1.verbinden(pfad));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
    Buchungsergebnis e = BuchungSpeichern(Data1, ausgabe());
    QCOMPARE(e.status, Buchungsergebnis::Status::NichtGespeichert);
    QVERIFY2(e.grund.contains(u"nicht gefunden"_s), qPrintable(e.grund));
    QVERIFY(!QFile::exists(pfad));
    // The number is used up all the same.
    QCOMPARE(gespeicherterZaehler(), QVariant(u"1"_s));
    BuchungsfehlerMelden(e);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(MeldungTest::gezeigt()[0].prompt, Text(3001) + u"\n\n"_s + e.grund);
    QCOMPARE(MeldungTest::gezeigt()[0].titel, Text(3101));
    QCOMPARE(MeldungTest::gezeigt()[0].stil, 16);
    // Once the file is there, trying again stores the booking.
    QVERIFY(QFile::copy(ordner->datei(u"unbenannt.mdb"_s), pfad));
    e = BuchungSpeichern(Data1, ausgabe());
    QVERIFY2(e.ok(), qPrintable(e.grund));
    QCOMPARE(rohWert(pfad, u"SELECT ID FROM Buchungen"_s), QVariant(2LL));
  }

  void inventarFehltNichtsGespeichert() {
    QVERIFY(DemoDaten::sqlAusfuehren(buch(), u"DROP TABLE Inventar"_s));
    Buchung b = ausgabe();
    b.Versicherung = 1;
    b.inventar = Inventarzeile{u"Anna"_s, b.Kategorie, b.Datum, b.Verwendungszweck,
                               b.Betrag,  b.Waehrung,  b.Betrag};
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
    const Buchungsergebnis e = BuchungSpeichern(Data1, b);
    QCOMPARE(e.status, Buchungsergebnis::Status::NichtGespeichert);
    QVERIFY2(e.grund.contains(u"Inventar"_s), qPrintable(e.grund));
    // Both rows or neither.
    QCOMPARE(buchungen(), 5);
    QCOMPARE(gespeicherterZaehler(), QVariant(u"1"_s));
  }

  // A read-only book or program folder. The commit runs in a child process that drops root's
  // power over permissions, so that this holds when the tests run as root too.
  void schreibgeschuetzt_data() {
    QTest::addColumn<bool>("ordnerGeschuetzt");
    QTest::newRow("Datei") << false;
    QTest::newRow("Ordner") << true;
  }
  void schreibgeschuetzt() {
    QFETCH(bool, ordnerGeschuetzt);
    const QString ziel = ordnerGeschuetzt ? ordner->pfad() : buch();
    const QByteArray vorher = dateiInhalt(buch());
    const QFile::Permissions rechte = QFile::permissions(ziel);
    QFile::setPermissions(ziel, QFile::ReadOwner | QFile::ExeOwner);
    QProcess p;
    p.start(kind(), {u"ohnerechte"_s, ordner->pfad(), u"Anna"_s});
    const bool fertig = p.waitForFinished(30000);
    QFile::setPermissions(ziel, rechte);
    QVERIFY(fertig);
    QCOMPARE(p.exitCode(), 0);
    const QList<QByteArray> ausgabe = p.readAllStandardOutput().split('\n');
    QCOMPARE(ausgabe.value(0).toInt(), int(Buchungsergebnis::Status::NichtGespeichert));
    QVERIFY(!ausgabe.value(1).isEmpty());
    QCOMPARE(dateiInhalt(buch()), vorher);
    QCOMPARE(QDir(ordner->pfad()).entryList({u"Anna.mdb*"_s}), QStringList{u"Anna.mdb"_s});
  }

  void fremdeSperre_data() {
    QTest::addColumn<int>("millisekunden");
    QTest::addColumn<bool>("gespeichert");
    QTest::newRow("kürzer als die Wartezeit") << Datenbank::Wartezeit / 3 << true;
    QTest::newRow("länger als die Wartezeit") << Datenbank::Wartezeit + 3000 << false;
  }
  void fremdeSperre() {
    QFETCH(int, millisekunden);
    QFETCH(bool, gespeichert);
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
    QProcess p;
    p.start(kind(), {u"sperren"_s, buch(), QString::number(millisekunden)});
    QVERIFY(p.waitForReadyRead(10000));
    QCOMPARE(p.readLine().trimmed(), QByteArray("gesperrt"));
    Buchung b = ausgabe();
    b.inventar = Inventarzeile{u"Anna"_s, b.Kategorie, b.Datum, b.Verwendungszweck,
                               b.Betrag,  b.Waehrung,  b.Betrag};
    const Buchungsergebnis e = BuchungSpeichern(Data1, b);
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    QCOMPARE(e.ok(), gespeichert);
    QCOMPARE(buchungen(), gespeichert ? 6 : 5);
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Inventar"_s),
             QVariant(gespeichert ? 1LL : 0LL));
    QCOMPARE(gespeicherterZaehler(), QVariant(u"1"_s));
    if (!gespeichert) {
      QVERIFY2(e.grund.contains(u"gesperrt"_s), qPrintable(e.grund));
      // The other program is done: the same entry goes in with the next number.
      const Buchungsergebnis nochmal = BuchungSpeichern(Data1, b);
      QVERIFY2(nochmal.ok(), qPrintable(nochmal.grund));
      QCOMPARE(nochmal.id, qint16(2));
    }
  }

  void sigkillMittenImBuchen() {
    // Leave the demo bookings out of the comparison: the child books into Einrichtung only.
    for (int runde = 0; runde < 4; ++runde) {
      QProcess p;
      p.start(kind(), {u"buchen"_s, ordner->pfad(), u"Anna"_s});
      QVERIFY(p.waitForReadyRead(20000));
      QTest::qWait(QRandomGenerator::global()->bounded(400));
      ::kill(static_cast<pid_t>(p.processId()), SIGKILL);
      QVERIFY(p.waitForFinished(10000));
      QList<qlonglong> bestaetigt;
      for (const QByteArray& zeile : p.readAllStandardOutput().split('\n')) {
        if (!zeile.isEmpty()) {
          QVERIFY2(!zeile.startsWith("fehler"), zeile.constData());
          bestaetigt.append(zeile.toLongLong());
        }
      }
      QVERIFY(!bestaetigt.isEmpty());
      // A connection of our own first: it rolls back what the killed process left half done.
      QVERIFY(Datenbank::oeffnen(buch()).offen());
      QCOMPARE(rohWert(buch(), u"PRAGMA integrity_check"_s), QVariant(u"ok"_s));
      for (qlonglong id : bestaetigt) {
        QVERIFY2(rohWert(buch(),
                         u"SELECT count(*) FROM Buchungen WHERE Kategorie = 'Einrichtung' "
                         "AND ID = %1"_s.arg(id))
                         .toLongLong() >= 1,
                 qPrintable(u"Buchung %1 fehlt"_s.arg(id)));
      }
      // Every booking of the child has its inventory item, and no item is without its booking.
      const QList<QVariantList> buchungenJeId =
          roh(buch(),
              u"SELECT ID, count(*) FROM Buchungen WHERE Kategorie = 'Einrichtung' "
              "GROUP BY ID ORDER BY ID"_s);
      const QList<QVariantList> inventarJeId =
          roh(buch(), u"SELECT ID, count(*) FROM Inventar GROUP BY ID ORDER BY ID"_s);
      QCOMPARE(inventarJeId, buchungenJeId);
      QVERIFY(buchungenJeId.size() >= bestaetigt.size());
      // No number is handed out twice, and the saved counter is never behind a stored booking.
      for (const QVariantList& zeile : buchungenJeId)
        QVERIFY2(zeile.value(1).toInt() == 1,
                 qPrintable(u"ID %1 doppelt"_s.arg(zeile.value(0).toInt())));
      const int hoechste =
          rohWert(buch(), u"SELECT max(ID) FROM Buchungen WHERE Kategorie = 'Einrichtung'"_s)
              .toInt();
      zustand().AktuellerBenutzer = u"Anna"_s;
      QVERIFY(gespeicherteID().value_or(0) >= hoechste);
    }
  }

  void vollerDatentraeger() {
    const QByteArray vorher = dateiInhalt(buch());
    QProcess p;
    p.start(kind(), {u"grenze"_s, ordner->pfad(), u"Anna"_s, u"1024"_s});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QList<QByteArray> ausgabe = p.readAllStandardOutput().split('\n');
    QCOMPARE(ausgabe.value(0).toInt(), int(Buchungsergebnis::Status::NichtGespeichert));
    QVERIFY(!ausgabe.value(1).isEmpty());
    // The journal could not be written, so the book itself was never touched.
    QCOMPARE(dateiInhalt(buch()), vorher);
    QCOMPARE(rohWert(buch(), u"PRAGMA integrity_check"_s), QVariant(u"ok"_s));
    QCOMPARE(buchungen(), 5);
  }
};

VELMARK_TEST_MAIN(TestBuchung)
#include "tst_buchung.moc"
