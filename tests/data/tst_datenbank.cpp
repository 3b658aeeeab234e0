// The data layer on real files made from the shipped schema: opening, queries with bound values,
// letter case, conversions, the record source's walk, find, count, append and edit, transactions,
// and what it leaves to other programs on the same file.

#include "Abfrage.h"
#include "Dateien.h"
#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "DemoDaten.h"
#include "Rohdaten.h"
#include "TestMain.h"
#include "Testordner.h"
#include "Textvergleich.h"
#include "Transaktion.h"
#include "Verbindung.h"
#include "Zustand.h"

#include <QDate>
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Abfrage)
Q_DECLARE_METATYPE(Bedingung)

namespace {

QString kind() {
  return QStringLiteral(DATENBANK_KIND);
}

QStringList spalteLesen(Datensatzquelle& quelle, const QString& spalte) {
  QStringList werte;
  for (quelle.ersteZeile(); !quelle.eof(); quelle.naechsteZeile())
    werte.append(quelle.wert(spalte).toString());
  return werte;
}

}  // namespace

class TestDatenbank : public QObject {
  Q_OBJECT

  std::unique_ptr<Testordner> ordner;
  QString buch() const { return ordner->datei(u"Anna.mdb"_s); }
  QString daten() const { return ordner->datei(u"Daten.mdb"_s); }

 private slots:
  void init() {
    TestUmgebung::einstellungenLeeren();
    zustand() = Zustand();
    ordner = std::make_unique<Testordner>();
    QVERIFY2(ordner->ok(), qPrintable(ordner->fehler()));
  }

  void cleanup() {
    Datenbank::alleSchliessen();
    ordner.reset();
    // Every source and handle of a test has closed its connection.
    QCOMPARE(QSqlDatabase::connectionNames(), QStringList());
  }

  // --- Letter case and patterns, in memory and in the engine ---------------------------------

  void gleichheit_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("gleich");
    QTest::newRow("Code") << u"EUR"_s << u"eur"_s << true;
    QTest::newRow("Umlaut") << u"Ä"_s << u"ä"_s << true;
    QTest::newRow("Name") << u"MÖBELHAUS ÖZTÜRK"_s << u"möbelhaus öztürk"_s << true;
    QTest::newRow("Akzent zählt") << u"a"_s << u"ä"_s << false;
    QTest::newRow("Leerzeichen zählt") << u"Miete"_s << u"Miete "_s << false;
    QTest::newRow("griechisch") << u"ΣΟΦΙΑ"_s << u"σοφια"_s << true;
    QTest::newRow("leer") << u""_s << u""_s << true;
    QTest::newRow("ß ist nicht ss") << u"Straße"_s << u"STRASSE"_s << false;
    QTest::newRow("Kelvinzeichen") << u"\u212A"_s << u"k"_s << true;
    QTest::newRow("Schluss-Sigma") << u"\u03C2"_s << u"\u03A3"_s << true;
    QTest::newRow("außerhalb der BMP") << u"\U00010400"_s << u"\U00010428"_s << true;
  }
  void gleichheit() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, gleich);
    QCOMPARE(Textvergleich::gleich(a, b), gleich);
    QCOMPARE(Textvergleich::vergleichen(a, b) == 0, gleich);
    QCOMPARE(Textvergleich::schluessel(a) == Textvergleich::schluessel(b), gleich);
    Datenbank db = Datenbank::oeffnen(buch());
    QVERIFY(db.offen());
    const auto sql =
        db.verbindung()->einzelwert(u"SELECT ? = ? COLLATE VMNOCASE"_s, {a, b}, nullptr);
    QVERIFY(sql);
    QCOMPARE(sql->toInt() == 1, gleich);
  }

  // The hash key of a text agrees with gleich() for every pair, also for the texts that only the
  // key sees: lone surrogates, a pair beside a lone half, an embedded NUL.
  void schluesselWieGleich() {
    const QStringList texte = {
        u""_s, u"a"_s, u"A"_s, u"a\u0000"_s, u"Ä"_s, u"ä"_s, u"ß"_s, u"ss"_s, u"\u1E9E"_s,
        u"\u212A"_s, u"k"_s, u"K"_s, u"\u03C2"_s, u"\u03C3"_s, u"\u03A3"_s, u"\u0130"_s,
        u"i"_s, u"I"_s, u"\u0131"_s, u"\U00010400"_s, u"\U00010428"_s,
        QString(QChar(0xD801)), QString(QChar(0xDC00)), QString(QChar(0xDC28)),
        QString(QChar(0xD801)) + QChar(0xD801) + QChar(0xDC00), u"Lebensmittel"_s,
        u"LEBENSMITTEL"_s, u"Lebensmittel "_s};
    for (const QString& a : texte) {
      for (const QString& b : texte) {
        QVERIFY2((Textvergleich::schluessel(a) == Textvergleich::schluessel(b)) ==
                     Textvergleich::gleich(a, b),
                 qPrintable(u"%1 / %2"_s.arg(a, b)));
      }
    }
  }

  void muster_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("muster");
    QTest::addColumn<QString>("escape");
    QTest::addColumn<bool>("passt");
    QTest::newRow("Code") << u"EUR"_s << u"eur"_s << u""_s << true;
    QTest::newRow("Anfang") << u"Girokonto"_s << u"giro%"_s << u""_s << true;
    QTest::newRow("Ende") << u"Girokonto"_s << u"%KONTO"_s << u""_s << true;
    QTest::newRow("ein Zeichen") << u"Girokonto"_s << u"G_rokonto"_s << u""_s << true;
    QTest::newRow("zu kurz") << u"Girokonto"_s << u"G_konto"_s << u""_s << false;
    QTest::newRow("Umlaut") << u"Äpfel"_s << u"ä%"_s << u""_s << true;
    QTest::newRow("Akzent zählt") << u"Apfel"_s << u"ä%"_s << u""_s << false;
    QTest::newRow("mehrere %") << u"abcabd"_s << u"a%b%d"_s << u""_s << true;
    QTest::newRow("Rückweg") << u"abcabc"_s << u"%abc"_s << u""_s << true;
    QTest::newRow("fehlt") << u"abd"_s << u"a%c"_s << u""_s << false;
    QTest::newRow("Emoji ist ein Zeichen") << u"a😀b"_s << u"a_b"_s << u""_s << true;
    QTest::newRow("leeres Muster") << u"x"_s << u""_s << u""_s << false;
    QTest::newRow("Escape") << u"100%"_s << u"100!%"_s << u"!"_s << true;
    QTest::newRow("Escape wörtlich") << u"1000"_s << u"100!%"_s << u"!"_s << false;
    QTest::newRow("Escape am Ende") << u"100!"_s << u"100!"_s << u"!"_s << false;
  }
  void muster() {
    QFETCH(QString, text);
    QFETCH(QString, muster);
    QFETCH(QString, escape);
    QFETCH(bool, passt);
    QCOMPARE(Textvergleich::wie(text, muster, escape.isEmpty() ? QChar() : escape.front()), passt);
    Datenbank db = Datenbank::oeffnen(buch());
    const auto sql =
        escape.isEmpty()
            ? db.verbindung()->einzelwert(u"SELECT ? LIKE ?"_s, {text, muster}, nullptr)
            : db.verbindung()->einzelwert(u"SELECT ? LIKE ? ESCAPE ?"_s, {text, muster, escape},
                                          nullptr);
    QVERIFY(sql);
    QCOMPARE(sql->toInt() == 1, passt);
  }

  void sortierung() {
    const QStringList texte = {u"zucker"_s, u"Äpfel"_s, u"Birne"_s,  u"Öl"_s,      u"apfel"_s,
                               u"Ol"_s,     u"Eis"_s,   u"Straße"_s, u"Strasse"_s, u"Apfel"_s};
    QString sql;
    for (const QString& t : texte)
      sql += u"INSERT INTO Verwendung VALUES ('%1');"_s.arg(t);
    QVERIFY(DemoDaten::sqlAusfuehren(buch(), u"DELETE FROM Verwendung;"_s + sql));
    Datensatzquelle Data2;
    QVERIFY(Data2.verbinden(buch()));
    Data2.abfrageSetzen(Abfrage(u"Verwendung"_s).sortiert({u"Verwendung"_s}));
    QStringList gefaltet;
    for (const QString& t : spalteLesen(Data2, u"Verwendung"_s))
      gefaltet.append(t.toCaseFolded());
    // Umlauts beside their letters, letter case ignored.
    const QStringList erwartet = {u"apfel"_s, u"apfel"_s, u"äpfel"_s,   u"birne"_s,  u"eis"_s,
                                  u"ol"_s,    u"öl"_s,    u"strasse"_s, u"straße"_s, u"zucker"_s};
    QCOMPARE(gefaltet, erwartet);
    // The same order in memory.
    QStringList imSpeicher = texte;
    std::stable_sort(imSpeicher.begin(), imSpeicher.end(), [](const QString& a, const QString& b) {
      return Textvergleich::vergleichen(a, b) < 0;
    });
    for (QString& t : imSpeicher)
      t = t.toCaseFolded();
    QCOMPARE(imSpeicher, erwartet);
  }

  // The order worked out character by character (the fast way) against its definition worked
  // out on whole texts, over texts of letters with and without accents, marks of their own,
  // ß and ẞ, Greek, Cyrillic, ligatures and characters outside the BMP.
  void sortierungWieDefiniert() {
    const auto grund = [](const QString& s) {
      QString g;
      for (char32_t c : s.toCaseFolded().normalized(QString::NormalizationForm_D).toUcs4()) {
        const auto art = QChar::category(c);
        if (art == QChar::Mark_NonSpacing || art == QChar::Mark_SpacingCombining ||
            art == QChar::Mark_Enclosing)
          continue;
        g += c == U'ß' ? u"ss"_s : QString::fromUcs4(&c, 1);
      }
      return g;
    };
    const auto definition = [&](const QString& a, const QString& b) {
      int r = grund(a).compare(grund(b));
      if (r == 0)
        r = a.compare(b, Qt::CaseInsensitive);
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    };
    const QString zeichen = u"aAbBsSzZ09 -äÄöÖüÜßẞéÉèçñøÅåłŁœŒæ\u0308\u0301ΣσςΆάЁёЙйİıﬁ中ǖ"_s;
    QStringList texte = {u""_s, u"😀"_s, u"a😀"_s, u"Straße"_s, u"STRASSE"_s, u"Ö"_s};
    quint32 zufall = 4711;
    for (int i = 0; i < 400; ++i) {
      QString t;
      zufall = zufall * 1103515245u + 12345u;
      const int laenge = int(zufall >> 16) % 5;
      for (int j = 0; j < laenge; ++j) {
        zufall = zufall * 1103515245u + 12345u;
        t += zeichen[int(zufall >> 16) % zeichen.size()];
      }
      texte.append(t);
    }
    for (const QString& a : texte) {
      for (const QString& b : texte) {
        const int v = Textvergleich::vergleichen(a, b);
        if (v != definition(a, b))
          QFAIL(qPrintable(u"„%1“ gegen „%2“: %3"_s.arg(a, b).arg(v)));
      }
    }
  }

  // --- Opening -------------------------------------------------------------------------------

  void fehlendeDateiWirdNichtAngelegt() {
    for (const QString& pfad :
         {ordner->datei(u"Niemand.mdb"_s), ordner->datei(u"fehlt/Ben.mdb"_s)}) {
      Datenbank db = Datenbank::oeffnen(pfad);
      QVERIFY(!db.offen());
      QVERIFY2(db.fehler().contains(u"nicht gefunden"_s), qPrintable(db.fehler()));

      Datensatzquelle Data1;
      QVERIFY(!Data1.verbinden(pfad));
      Data1.abfrageSetzen(Abfrage(u"Konten"_s));
      QVERIFY(Data1.eof());
      QCOMPARE(Data1.anzahl(), 0);
      QVERIFY(!Data1.wert(u"KontoName"_s).isValid());
      Data1.neu();
      Data1.setzen(u"KontoName"_s, u"Neu"_s);
      QVERIFY(!Data1.speichern());
      QVERIFY(!Data1.fehler().isEmpty());
      QVERIFY(!Data1.datenbank().ausfuehren(u"DELETE FROM Konten"_s));

      QVERIFY(!Datenbank::buchdateiOeffnen(pfad));
      QVERIFY(!QFile::exists(pfad));
    }
  }

  void keineDatenbank_data() {
    QTest::addColumn<QByteArray>("inhalt");
    QTest::newRow("Text") << QByteArray("Das ist keine Datenbank.\n").repeated(300);
    QByteArray zufall(8192, '\0');
    for (int i = 0; i < zufall.size(); ++i)
      zufall[i] = char((i * 7919 + 13) % 251);
    QTest::newRow("Zufall") << zufall;
    Testordner vorlage(Testordner::Daten::Demo);
    QByteArray kopf = dateiInhalt(vorlage.datei(u"Anna.mdb"_s));
    kopf.replace(0, 16, QByteArray(16, 'X'));
    QTest::newRow("Kopf beschädigt") << kopf;
  }
  void keineDatenbank() {
    QFETCH(QByteArray, inhalt);
    const QString pfad = ordner->datei(u"Anna.mdb"_s);
    {
      QFile f(pfad);
      QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
      f.write(inhalt);
    }
    Datenbank db = Datenbank::oeffnen(pfad);
    QVERIFY(!db.offen());
    QVERIFY2(db.fehler().contains(u"keine gültige Datenbank"_s), qPrintable(db.fehler()));
    Datensatzquelle Data1;
    QVERIFY(!Data1.verbinden(pfad));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s));
    QCOMPARE(Data1.anzahl(), 0);
    Data1.neu();
    Data1.setzen(u"ID"_s, 1);
    QVERIFY(!Data1.speichern());
    QCOMPARE(dateiInhalt(pfad), inhalt);
    QCOMPARE(QDir(ordner->pfad()).entryList({u"Anna.mdb*"_s}), QStringList{u"Anna.mdb"_s});
  }

  void sonderzeichenImPfad() {
    const QString unterordner = ordner->pfad() + u"Ordner 'mit' #?% äß"_s;
    QVERIFY(QDir().mkpath(unterordner));
    const QString pfad = unterordner + u"/O'Brien #1 ü.mdb"_s;
    QVERIFY(QFile::copy(buch(), pfad));
    Datensatzquelle Data2;
    QVERIFY2(Data2.verbinden(pfad), qPrintable(Data2.fehler()));
    Data2.abfrageSetzen(Abfrage(u"Konten"_s));
    QCOMPARE(spalteLesen(Data2, u"KontoName"_s),
             (QStringList{u"Girokonto"_s, u"Sparkonto"_s, u"Dollarkonto"_s}));
  }

  void journalModusBleibt_data() {
    QTest::addColumn<QString>("modus");
    QTest::newRow("delete") << u"delete"_s;
    QTest::newRow("wal") << u"wal"_s;
  }
  void journalModusBleibt() {
    QFETCH(QString, modus);
    QCOMPARE(rohWert(buch(), u"PRAGMA journal_mode"_s).toString(), u"delete"_s);
    if (modus != u"delete") {
      sqlite3* db = nullptr;
      QCOMPARE(sqlite3_open(QFile::encodeName(buch()).constData(), &db), SQLITE_OK);
      sqlite3_exec(db, ("PRAGMA journal_mode=" + modus.toUtf8()).constData(), nullptr, nullptr,
                   nullptr);
      sqlite3_close(db);
    }
    {
      Datensatzquelle Data2;
      QVERIFY(Data2.verbinden(buch()));
      Data2.abfrageSetzen(Abfrage(u"Verwendung"_s));
      Data2.neu();
      Data2.setzen(u"Verwendung"_s, u"Kino"_s);
      QVERIFY2(Data2.speichern(), qPrintable(Data2.fehler()));
    }
    QCOMPARE(rohWert(buch(), u"PRAGMA journal_mode"_s).toString(), modus);
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Verwendung WHERE Verwendung = 'Kino'"_s),
             QVariant(1LL));
  }

  void programmweiteHandles() {
    QVERIFY(Datenbank::datendateiOeffnen(daten()));
    QVERIFY(Datenbank::buchdateiOeffnen(buch()));
    QVERIFY(Datenbank::buchdateiOeffnen(ordner->datei(u"Ben.mdb"_s)));
    QCOMPARE(Datenbank::buchdatei().pfad(), ordner->datei(u"Ben.mdb"_s));
    QVERIFY(Datenbank::datendatei().offen());
    // The replaced handle is closed: one connection per file.
    QCOMPARE(QSqlDatabase::connectionNames().size(), 2);
    QVERIFY(Datenbank::kennwort() == u"583917"_s);
  }

  // --- Queries -------------------------------------------------------------------------------

  void sqlText_data() {
    QTest::addColumn<Abfrage>("abfrage");
    QTest::addColumn<QString>("sql");
    QTest::newRow("alle") << Abfrage(u"Buchungen"_s) << u"SELECT * FROM Buchungen"_s;
    QTest::newRow("Verschieben")
        << Abfrage(u"Buchungen"_s, {u"ID"_s, u"Buchung"_s, u"Kontoname"_s, u"Datum"_s, u"Saldo"_s})
               .wo(u"Kategorie"_s, u"x"_s)
               .sortiert({u"Datum"_s, u"ID"_s})
        << u"SELECT ID, Buchung, Kontoname, Datum, Saldo FROM Buchungen WHERE Kategorie = ? "
           "COLLATE VMNOCASE ORDER BY Datum, ID"_s;
    QTest::newRow("LIKE") << Abfrage(u"Konten"_s).wie(u"Kontoname"_s, u"x"_s)
                          << u"SELECT * FROM Konten WHERE Kontoname LIKE ?"_s;
    QTest::newRow("Tabelle kein Name") << Abfrage(u"Konten; DROP TABLE Konten"_s) << QString();
    QTest::newRow("Spalte kein Name")
        << Abfrage(u"Konten"_s).wo(u"Waehrung = 'EUR' OR 1"_s, 1) << QString();
  }
  void sqlText() {
    QFETCH(Abfrage, abfrage);
    QFETCH(QString, sql);
    QCOMPARE(abfrage.sql(), sql);
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(abfrage);
    QCOMPARE(zustand().SqlText, sql);
    if (sql.isEmpty()) {
      QVERIFY(Data1.eof());
      QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Konten"_s), QVariant(3LL));
    }
  }

  void grossKleinschreibung_data() {
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<Bedingung>("bedingung");
    QTest::addColumn<int>("anzahl");
    QTest::newRow("Konto klein") << u"Anna.mdb"_s << u"Konten"_s
                                 << Bedingung::wie(u"Kontoname"_s, u"girokonto"_s) << 1;
    QTest::newRow("Konto groß") << u"Anna.mdb"_s << u"Konten"_s
                                << Bedingung::wie(u"KontoName"_s, u"SPARKONTO"_s) << 1;
    QTest::newRow("Konto Muster") << u"Anna.mdb"_s << u"Konten"_s
                                  << Bedingung::wie(u"Kontoname"_s, u"%KONTO"_s) << 3;
    QTest::newRow("Name Umlaute") << u"Anna.mdb"_s << u"Adressen"_s
                                  << Bedingung::gleich(u"Name"_s, u"MÖBELHAUS ÖZTÜRK"_s) << 1;
    QTest::newRow("Name ohne Umlaute") << u"Anna.mdb"_s << u"Adressen"_s
                                       << Bedingung::gleich(u"Name"_s, u"Mobelhaus Ozturk"_s) << 0;
    QTest::newRow("Name Teil") << u"Anna.mdb"_s << u"Adressen"_s
                               << Bedingung::gleich(u"Name"_s, u"Möbelhaus"_s) << 0;
    QTest::newRow("Unterkategorie") << u"Anna.mdb"_s << u"Kategorien"_s
                                    << Bedingung::gleich(u"Unterkategorie"_s, u"BENZIN"_s) << 1;
    QTest::newRow("Buchungsnummer als Text")
        << u"Anna.mdb"_s << u"Buchungen"_s << Bedingung::gleich(u"ID"_s, u"3"_s) << 1;
    QTest::newRow("Datum als Text")
        << u"Anna.mdb"_s << u"Buchungen"_s << Bedingung::gleich(u"Datum"_s, u"02.12.2026"_s) << 1;
    QTest::newRow("leerer Text ist kein NULL")
        << u"Anna.mdb"_s << u"Buchungen"_s << Bedingung::gleich(u"Auftraggeber"_s, QString()) << 4;
    QTest::newRow("Nummer ist keine Zahl")
        << u"Anna.mdb"_s << u"Buchungen"_s << Bedingung::gleich(u"ID"_s, u"drei"_s) << 0;
    QTest::newRow("Währung") << u"Daten.mdb"_s << u"Wechselkurs"_s
                             << Bedingung::wie(u"Waehrung"_s, u"eur"_s) << 1;
    QTest::newRow("Benutzer") << u"Daten.mdb"_s << u"Benutzer"_s
                              << Bedingung::gleich(u"Benutzername"_s, u"anna"_s) << 1;
    QTest::newRow("eingeschleust") << u"Daten.mdb"_s << u"Benutzer"_s
                                   << Bedingung::gleich(u"Benutzername"_s, u"x' OR '1'='1"_s) << 0;
  }
  void grossKleinschreibung() {
    QFETCH(QString, datei);
    QFETCH(QString, tabelle);
    QFETCH(Bedingung, bedingung);
    QFETCH(int, anzahl);
    Datensatzquelle Data2;
    QVERIFY(Data2.verbinden(ordner->datei(datei)));
    // Counted by the engine, then read, then found among all rows read: the same rules.
    Data2.abfrageSetzen(Abfrage(tabelle).wo(bedingung));
    QCOMPARE(Data2.anzahl(), anzahl);
    QCOMPARE(Data2.zeilenAnzahl(), anzahl);
    Data2.abfrageSetzen(Abfrage(tabelle));
    QCOMPARE(Data2.finden(bedingung), anzahl > 0);
  }

  void inaktiveWaehrung() {
    Datensatzquelle Data3;
    QVERIFY(Data3.verbinden(daten()));
    Data3.abfrageSetzen(Abfrage(u"Wechselkurs"_s));
    QStringList angeboten;
    for (Data3.ersteZeile(); !Data3.eof(); Data3.naechsteZeile()) {
      if (Data3.wert(u"Aktiv"_s).toInt() != 0)
        angeboten.append(Data3.wert(u"Waehrung"_s).toString());
    }
    QCOMPARE(angeboten, (QStringList{u"EUR"_s, u"USD"_s, u"CHF"_s}));
    QVERIFY(Data3.finden(Bedingung::wie(u"Waehrung"_s, u"gbp"_s)));
    QCOMPARE(Data3.wert(u"Waehrung"_s).toString(), u"GBP"_s);
    QCOMPARE(Data3.wert(u"Kurs"_s).toFloat(), 0.85f);
    QCOMPARE(Data3.wert(u"Aktiv"_s), QVariant(0));
  }

  void hochkommaInNamen() {
    const QString name = u"O'Brien's Laden"_s;
    Datensatzquelle Data2;
    QVERIFY(Data2.verbinden(buch()));
    Data2.abfrageSetzen(Abfrage(u"Adressen"_s).wo(u"Name"_s, name));
    QCOMPARE(Data2.anzahl(), 0);
    Data2.neu();
    QVERIFY(Data2.setzen(u"ID"_s, 0));
    QVERIFY(Data2.setzen(u"Name"_s, name));
    QVERIFY2(Data2.speichern(), qPrintable(Data2.fehler()));
    Data2.abfrageSetzen(Abfrage(u"Adressen"_s).wo(u"Name"_s, u"o'brien's laden"_s));
    QCOMPARE(Data2.anzahl(), 1);
    QCOMPARE(Data2.wert(u"Name"_s).toString(), name);

    // A category with a quote: counted, listed and moved like any other.
    QVERIFY(DemoDaten::sqlAusfuehren(
        buch(), u"INSERT INTO Buchungen (ID, Kategorie) VALUES (9, 'Mama''s Geschenke');"_s));
    Data2.abfrageSetzen(
        Abfrage(u"Buchungen"_s).wo(u"Kategorie"_s, u"Mama's Geschenke"_s).wo(u"ID"_s, u"9"_s));
    QCOMPARE(Data2.anzahl(), 1);
    QVERIFY(Data2.bearbeiten());
    QVERIFY(Data2.setzen(u"Kategorie"_s, u"Papa's Werkzeug"_s));
    QVERIFY2(Data2.speichern(), qPrintable(Data2.fehler()));
    QCOMPARE(rohWert(buch(), u"SELECT Kategorie FROM Buchungen WHERE ID = 9"_s),
             QVariant(u"Papa's Werkzeug"_s));

    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(daten()));
    Data1.abfrageSetzen(Abfrage(u"Benutzer"_s));
    Data1.neu();
    Data1.setzen(u"Benutzername"_s, u"D'Artagnan"_s);
    Data1.setzen(u"Kennwort"_s, u"''"_s);
    QVERIFY(Data1.speichern());
    Data1.abfrageSetzen(Abfrage(u"Benutzer"_s).wo(u"Benutzername"_s, u"D'Artagnan"_s));
    QCOMPARE(Data1.wert(u"Kennwort"_s).toString(), u"''"_s);
    QCOMPARE(rohWert(daten(), u"SELECT count(*) FROM Benutzer"_s), QVariant(3LL));
  }

  // --- The record source ---------------------------------------------------------------------

  void wandernUndZaehlen() {
    Datensatzquelle Data2;
    QVERIFY(Data2.verbinden(buch()));
    Data2.abfrageSetzen(Abfrage(u"Kategorien"_s).sortiert({u"Unterkategorie"_s}));
    QCOMPARE(Data2.anzahl(), 18);
    const QStringList namen = spalteLesen(Data2, u"unterkategorie"_s);
    QCOMPARE(namen.size(), 18);
    QCOMPARE(namen.first(), u"Auto"_s);
    QCOMPARE(namen.last(), u"Zinsen"_s);
    QVERIFY(Data2.eof());
    QVERIFY(!Data2.wert(u"Unterkategorie"_s).isValid());
    Data2.letzteZeile();
    QCOMPARE(Data2.wert(u"Unterkategorie"_s).toString(), u"Zinsen"_s);
    Data2.ersteZeile();
    QCOMPARE(Data2.wert(u"Unterkategorie"_s).toString(), u"Auto"_s);
    QVERIFY(!Data2.wert(u"GibtEsNicht"_s).isValid());
    QCOMPARE(Data2.anzahl(), 18);

    Data2.abfrageSetzen(Abfrage(u"Kategorien"_s).wo(u"Kategorie"_s, u"Nichts"_s));
    QVERIFY(Data2.eof());
    Data2.letzteZeile();
    QVERIFY(Data2.eof());
    QCOMPARE(Data2.anzahl(), 0);
  }

  void findenBehaeltPosition() {
    Datensatzquelle Data2;
    QVERIFY(Data2.verbinden(buch()));
    Data2.abfrageSetzen(Abfrage(u"Konten"_s));
    Data2.naechsteZeile();
    QCOMPARE(Data2.wert(u"KontoName"_s).toString(), u"Sparkonto"_s);
    QVERIFY(!Data2.finden(Bedingung::wie(u"Kontoname"_s, u"Festgeld"_s)));
    QCOMPARE(Data2.wert(u"KontoName"_s).toString(), u"Sparkonto"_s);
    QVERIFY(Data2.finden(Bedingung::wie(u"Kontoname"_s, u"DOLLARKONTO"_s)));
    QCOMPARE(Data2.wert(u"Waehrung"_s).toString(), u"USD"_s);
    QCOMPARE(Data2.wert(u"Datum"_s), QVariant(QDate(2025, 7, 1)));
  }

  void typisierteWerte() {
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s).wo(u"ID"_s, 3));
    QCOMPARE(Data1.wert(u"ID"_s), QVariant(3));
    QCOMPARE(Data1.wert(u"Datum"_s), QVariant(QDate(2026, 12, 2)));
    QCOMPARE(Data1.wert(u"Betrag"_s), QVariant(64.37));
    QCOMPARE(Data1.wert(u"Einnahme"_s), QVariant(0.0));
    QCOMPARE(Data1.wert(u"Empfaenger"_s), QVariant(u"Supermarkt am Markt"_s));
    QCOMPARE(Data1.wert(u"Versicherung"_s), QVariant(0));
    QVERIFY(!Data1.wert(u"Saldo"_s).isValid());
  }

  void umwandlungBeimSchreiben_data() {
    QTest::addColumn<QString>("tabelle");
    QTest::addColumn<QString>("spalte");
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QVariant>("gespeichert");  // as the engine gives it
    const QVariant null;
    auto zeile = [](const char* name, const QString& t, const QString& s, const QVariant& w,
                    bool ok, const QVariant& g) { QTest::newRow(name) << t << s << w << ok << g; };
    const QString b = u"Buchungen"_s;
    zeile("Betrag", b, u"Betrag"_s, u"12,50"_s, true, 12.5);
    zeile("Betrag gruppiert", b, u"Ausgabe"_s, u"1.234,50"_s, true, 1234.5);
    zeile("Betrag auf Cent", b, u"Einnahme"_s, u"2,675"_s, true, 2.68);
    zeile("Betrag negativ", b, u"Betrag"_s, u"-0,005"_s, true, -0.01);
    zeile("Betrag Zahl", b, u"Betrag"_s, 12.344, true, 12.34);
    zeile("Betrag leer", b, u"Betrag"_s, u""_s, false, null);
    zeile("Betrag Text", b, u"Betrag"_s, u"zwölf"_s, false, null);
    zeile("Datum", b, u"Datum"_s, u"05.03.2001"_s, true, u"2001-03-05"_s);
    zeile("Datum kurz", b, u"Datum"_s, u"5.3.01"_s, true, u"2001-03-05"_s);
    zeile("Datum QDate", b, u"Datum"_s, QDate(2001, 3, 5), true, u"2001-03-05"_s);
    zeile("Datum falsch", b, u"Datum"_s, u"31.02.2001"_s, false, null);
    zeile("Datum leer", b, u"Datum"_s, u""_s, false, null);
    zeile("ID Text", b, u"ID"_s, u"0146"_s, true, 146LL);
    zeile("ID zu groß", b, u"ID"_s, u"32768"_s, false, null);
    zeile("Versicherung", b, u"Versicherung"_s, 1, true, 1LL);
    zeile("Name wie Zahl", b, u"KontoName"_s, u"12,50"_s, true, u"12,50"_s);
    zeile("leerer Text", b, u"Auftraggeber"_s, QString(), true, u""_s);
    zeile("NULL", b, u"Auftraggeber"_s, null, true, null);
    zeile("Versichert", u"Inventar"_s, u"Versichert"_s, true, true, -1LL);
    zeile("Versichert Text", u"Inventar"_s, u"Versichert"_s, u"Falsch"_s, true, 0LL);
    zeile("Steuer", u"Kategorien"_s, u"Steuer"_s, true, true, -1LL);
    zeile("Steuer Zahl", u"Kategorien"_s, u"Steuer"_s, 0, true, 0LL);
    zeile("keine Spalte", b, u"Gibtsnicht"_s, 1, false, null);
  }
  void umwandlungBeimSchreiben() {
    QFETCH(QString, tabelle);
    QFETCH(QString, spalte);
    QFETCH(QVariant, wert);
    QFETCH(bool, ok);
    QFETCH(QVariant, gespeichert);
    const QString marke = tabelle == u"Kategorien" ? u"Unterkategorie"_s
                          : tabelle == u"Inventar" ? u"Besitzer"_s
                                                   : u"Verwendungszweck"_s;
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(tabelle));
    Data1.neu();
    QVERIFY(Data1.setzen(marke, u"Test"_s));
    QCOMPARE(Data1.setzen(spalte, wert), ok);
    // A column that failed is left out; the row is stored all the same.
    QVERIFY2(Data1.speichern(), qPrintable(Data1.fehler()));
    const QString sql =
        u"SELECT %1 FROM %2 WHERE %3 = 'Test'"_s.arg(ok ? spalte : u"count(*)"_s, tabelle, marke);
    const QVariant ergebnis = rohWert(buch(), sql);
    if (ok) {
      QCOMPARE(ergebnis.typeId() == QMetaType::UnknownType, !gespeichert.isValid());
      if (gespeichert.isValid())
        QCOMPARE(ergebnis, gespeichert);
    } else {
      QCOMPARE(ergebnis, QVariant(1LL));
      if (spalte != u"Gibtsnicht")
        QVERIFY(
            !rohWert(buch(), u"SELECT %1 FROM %2 WHERE %3 = 'Test'"_s.arg(spalte, tabelle, marke))
                 .isValid());
    }
  }

  void bearbeitenUndSpeichern() {
    const QList<QVariantList> vorher = roh(buch(), u"SELECT * FROM Buchungen ORDER BY rowid"_s);
    Datensatzquelle Data2;
    QVERIFY(Data2.verbinden(buch()));
    // The move dialog's query: letter case of the category ignored, the number given as text.
    Data2.abfrageSetzen(
        Abfrage(u"Buchungen"_s).wo(u"Kategorie"_s, u"benzin"_s).wo(u"ID"_s, u"4"_s));
    QVERIFY(Data2.bearbeiten());
    QVERIFY(Data2.setzen(u"Kategorie"_s, u"Reparatur"_s));
    QVERIFY2(Data2.speichern(), qPrintable(Data2.fehler()));
    QCOMPARE(Data2.wert(u"Kategorie"_s).toString(), u"Reparatur"_s);
    const QList<QVariantList> nachher = roh(buch(), u"SELECT * FROM Buchungen ORDER BY rowid"_s);
    QCOMPARE(nachher.size(), vorher.size());
    for (int i = 0; i < vorher.size(); ++i) {
      QVariantList erwartet = vorher[i];
      if (erwartet[0] == QVariant(4LL))
        erwartet[10] = u"Reparatur"_s;
      QCOMPARE(nachher[i], erwartet);
    }

    // A row another program deleted meanwhile is not stored to.
    Data2.abfrageSetzen(Abfrage(u"Buchungen"_s).wo(u"ID"_s, 5));
    QVERIFY(!Data2.eof());
    QVERIFY(DemoDaten::sqlAusfuehren(buch(), u"DELETE FROM Buchungen WHERE ID = 5"_s));
    QVERIFY(Data2.bearbeiten());
    Data2.setzen(u"Kategorie"_s, u"Kino"_s);
    QVERIFY(!Data2.speichern());
    QVERIFY2(Data2.fehler().contains(u"nicht mehr"_s), qPrintable(Data2.fehler()));
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Buchungen WHERE Kategorie = 'Kino'"_s),
             QVariant(0LL));
    // Nothing to edit at the end of the rows.
    Data2.abfrageSetzen(Abfrage(u"Buchungen"_s).wo(u"ID"_s, 77));
    QVERIFY(!Data2.bearbeiten());
  }

  // --- Transactions and locks ----------------------------------------------------------------

  void transaktionAllesOderNichts() {
    const QList<QVariantList> vorher = roh(buch(), u"SELECT * FROM Kategorien"_s);
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    auto ersetzen = [&](bool bestaetigen) {
      Transaktion t(Data1);
      QVERIFY(t.begonnen());
      QVERIFY(Data1.datenbank().loeschen(Abfrage(u"Kategorien"_s)));
      Data1.abfrageSetzen(Abfrage(u"Kategorien"_s));
      for (const QString& name : {u"Alles"_s, u"Neu"_s}) {
        Data1.neu();
        Data1.setzen(u"Kategorie"_s, u"Alles"_s);
        Data1.setzen(u"Unterkategorie"_s, name);
        QVERIFY(Data1.speichern());
      }
      if (bestaetigen)
        QVERIFY(t.bestaetigen());
    };
    ersetzen(false);
    QCOMPARE(roh(buch(), u"SELECT * FROM Kategorien"_s), vorher);
    ersetzen(true);
    // Steuer takes the schema's default.
    QCOMPARE(roh(buch(), u"SELECT * FROM Kategorien"_s),
             (QList<QVariantList>{{u"Alles"_s, u"Alles"_s, 0LL}, {u"Alles"_s, u"Neu"_s, 0LL}}));
  }

  void innereTransaktion() {
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Verwendung"_s));
    auto anhaengen = [&](const QString& text) {
      Data1.neu();
      Data1.setzen(u"Verwendung"_s, text);
      return Data1.speichern();
    };
    {
      Transaktion aussen(Data1);
      QVERIFY(anhaengen(u"eins"_s));
      {
        Transaktion innen(Data1.datenbank());
        QVERIFY(innen.begonnen());
        QVERIFY(anhaengen(u"zwei"_s));
      }  // given up
      QVERIFY(!aussen.bestaetigen());
    }
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Verwendung"_s), QVariant(4LL));
    {
      Transaktion aussen(Data1);
      {
        Transaktion innen(Data1);
        QVERIFY(anhaengen(u"drei"_s));
        QVERIFY(innen.bestaetigen());
      }
      QVERIFY(anhaengen(u"vier"_s));
      QVERIFY(aussen.bestaetigen());
    }
    QCOMPARE(rohWert(buch(), u"SELECT count(*) FROM Verwendung"_s), QVariant(6LL));
  }

  void leerlaufHaeltKeineSperre() {
    QVERIFY(Datenbank::buchdateiOeffnen(buch()));
    Datensatzquelle Data1, Data2;
    QVERIFY(Data1.verbinden(buch()));
    QVERIFY(Data2.verbinden(buch()));
    Data1.abfrageSetzen(Abfrage(u"Buchungen"_s).sortiert({u"Datum"_s}));
    QVERIFY(!Data1.eof());  // read, but walked no further than the first row
    QCOMPARE(Data1.wert(u"ID"_s), QVariant(1));
    Data2.abfrageSetzen(Abfrage(u"Verwendung"_s));
    Data2.neu();
    Data2.setzen(u"Verwendung"_s, u"Kino"_s);
    QVERIFY(Data2.speichern());
    QCOMPARE(Data2.anzahl(), 5);
    // Another program writes at once, without waiting for a lock.
    QProcess p;
    p.start(kind(), {u"schreiben"_s, buch()});
    QVERIFY(p.waitForFinished(10000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardOutput().constData());
    Data2.aktualisieren();
    QCOMPARE(Data2.anzahl(), 6);
  }
};

VELMARK_TEST_MAIN(TestDatenbank)
#include "tst_datenbank.moc"
