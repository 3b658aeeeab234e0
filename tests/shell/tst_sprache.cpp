// Text lookup in the INI-format language and tips files, and the shipped files themselves.

#include "Codepage1252.h"
#include "Meldung.h"
#include "Sprache.h"
#include "TestMain.h"
#include "Testordner.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

void schreiben(const QString& pfad, const QByteArray& inhalt) {
  QFile f(pfad);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(inhalt);
}

}  // namespace

class TestSprache : public QObject {
  Q_OBJECT
  QTemporaryDir m_dir;

  QString datei(const QString& name) { return m_dir.filePath(name); }

 private slots:
  void nachschlagen() {
    const QString f = datei(QStringLiteral("kvastlang.dll"));
    schreiben(f,
              "; Kommentar\n"
              "[Sprache]\n"
              "146=Velmark starten\n"
              "  147  =   Einnahme buchen   \n"
              "148=\"  mit Blanks  \"\n"
              "149='einfach'\n"
              "150=\"nur vorn\n"
              "146=zweiter Eintrag\n"
              "ohne Gleichheitszeichen\n"
              "[Tips]\n"
              "56=Konto\n"
              "[sprache]\n"
              "151=zweiter Abschnitt gleichen Namens\n");
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("146")), QStringLiteral("Velmark starten"));
    QCOMPARE(SprachText(f, QStringLiteral("SPRACHE"), QStringLiteral("147")), QStringLiteral("Einnahme buchen"));
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("148")), QStringLiteral("  mit Blanks  "));
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("149")), QStringLiteral("einfach"));
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("150")), QStringLiteral("\"nur vorn"));
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("151")), QStringLiteral("zweiter Abschnitt gleichen Namens"));
    QCOMPARE(SprachText(f, QStringLiteral("Tips"), QStringLiteral("56")), QStringLiteral("Konto"));
    QCOMPARE(SprachText(f, QStringLiteral("Tips"), QStringLiteral("146")), QString());
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("999")), QString());
    QCOMPARE(SprachText(f, QStringLiteral("Fehlt"), QStringLiteral("146")), QString());
    QCOMPARE(SprachText(datei(QStringLiteral("gibtsnicht.dll")), QStringLiteral("Sprache"), QStringLiteral("146")), QString());
  }

  void auf254Zeichen() {
    const QString f = datei(QStringLiteral("lang.dll"));
    schreiben(f, "[Sprache]\n1=" + QByteArray(300, 'a') + "\n2=" + QByteArray(254, 'b') + "\n3=" +
                     QByteArray(253, 'c') + "\xf0\x9f\x92\xb6\n");
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("1")), QString(254, u'a'));
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("2")), QString(254, u'b'));
    // Never half a surrogate pair.
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("3")), QString(253, u'c'));
  }

  void kodierung() {
    const QString utf8 = datei(QStringLiteral("utf8.dll"));
    const QString ansi = datei(QStringLiteral("ansi.dll"));
    schreiben(utf8, "\xef\xbb\xbf[Sprache]\n1=Größe € Übernehmen\n");
    schreiben(ansi, "[Sprache]\n1=Gr\xf6\xdf" "e \x80 \xdc" "bernehmen\n");
    QCOMPARE(SprachText(utf8, QStringLiteral("Sprache"), QStringLiteral("1")), QStringLiteral("Größe € Übernehmen"));
    QCOMPARE(SprachText(ansi, QStringLiteral("Sprache"), QStringLiteral("1")), QStringLiteral("Größe € Übernehmen"));
    // Binary garbage neither crashes nor invents texts.
    const QString muell = datei(QStringLiteral("muell.dll"));
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
      bytes.append(static_cast<char>((i * 7919) & 0xff));
    schreiben(muell, bytes);
    QCOMPARE(SprachText(muell, QStringLiteral("Sprache"), QStringLiteral("146")), QString());
  }

  void neuGelesenNachAenderung() {
    const QString f = datei(QStringLiteral("wechsel.dll"));
    schreiben(f, "[Sprache]\n1=alt\n");
    QCOMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("1")), QStringLiteral("alt"));
    // A replacement of the same size within the same clock tick is still seen: the file is
    // replaced, so its identity changes.
    const QString neu = datei(QStringLiteral("wechsel.neu"));
    schreiben(neu, "[Sprache]\n1=neu\n");
    QVERIFY(QFile::remove(f));
    QVERIFY(QFile::rename(neu, f));
    QTRY_COMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("1")), QStringLiteral("neu"));
    QVERIFY(QFile::remove(f));
    QTRY_COMPARE(SprachText(f, QStringLiteral("Sprache"), QStringLiteral("1")), QString());
  }

  void codepage() {
    for (int b = 0; b < 256; ++b) {
      const QChar c = Codepage1252::zeichen(static_cast<unsigned char>(b));
      QCOMPARE(Codepage1252::byte(c), std::optional<unsigned char>(static_cast<unsigned char>(b)));
    }
    QCOMPARE(Codepage1252::zeichen(0x80), QChar(0x20AC));
    QCOMPARE(Codepage1252::zeichen(0xE4), QChar(u'ä'));
    QVERIFY(!Codepage1252::byte(QChar(0x0416)));  // Cyrillic
  }

  // The shipped language and tips files hold every text the program asks for.
  void ausgelieferteDateien() {
    Testordner ordner(Testordner::Daten::Keine);
    QVERIFY2(ordner.ok(), qPrintable(ordner.fehler()));
    const QList<int> nummern = [] {
      QList<int> n;
      auto bereich = [&n](int von, int bis) {
        for (int i = von; i <= bis; ++i)
          n.append(i);
      };
      bereich(146, 150); bereich(201, 204); n << 207 << 306 << 307; bereich(350, 357); n << 359;
      bereich(440, 444); n << 446; bereich(531, 536); n << 538 << 681 << 745; bereich(751, 759);
      n << 761 << 762 << 765 << 766 << 842 << 1260 << 1261; bereich(1264, 1267);
      bereich(1296, 1299); n << 1335 << 1336; bereich(1339, 1342); bereich(1410, 1412);
      bereich(1450, 1454); bereich(1459, 1462); n << 1655 << 1656; bereich(1661, 1696);
      bereich(1715, 1717); n << 1719; bereich(2220, 2223); bereich(3001, 3009);
      bereich(3101, 3107); n << 3109; bereich(3020, 3022); bereich(3120, 3122);
      return n;
    }();
    for (const QString& name : {QStringLiteral("kvastlang.dll"), QStringLiteral("kvastlangDeutsch.dll")}) {
      for (int nr : nummern) {
        QVERIFY2(!SprachText(ordner.datei(name), QStringLiteral("Sprache"), QString::number(nr)).isEmpty(),
                 qPrintable(name + QStringLiteral(": Text %1 fehlt").arg(nr)));
      }
    }
    for (int nr : {46, 56, 57, 58, 59, 60, 61, 62, 71, 72, 91, 92, 93, 94, 95, 96, 156, 282, 283, 284}) {
      QVERIFY2(!SprachText(ordner.datei(QStringLiteral("tipps.dll")), QStringLiteral("Tips"), QString::number(nr)).isEmpty(),
               qPrintable(QStringLiteral("Tipp %1 fehlt").arg(nr)));
    }
    QFile hilfe(ordner.datei(QStringLiteral("Hilfe.html")));
    QVERIFY(hilfe.open(QIODevice::ReadOnly));
    const QByteArray html = hilfe.readAll();
    for (int kontext : {40, 50, 160, 270, 420, 450, 460, 560})
      QVERIFY2(html.contains(QStringLiteral("id=\"%1\"").arg(kontext).toUtf8()), qPrintable(QString::number(kontext)));
    QVERIFY(QFile::exists(ordner.datei(QStringLiteral("unbenannt.mdb"))));
  }

  void meldungHaken() {
    MeldungTest::installieren();
    MeldungTest::antworten({Antwort::Nein});
    QCOMPARE(Meldung(QStringLiteral("Frage?"), QStringLiteral("Titel"), 36), Antwort::Nein);
    // Nothing queued: the first button, as the box's default.
    QCOMPARE(Meldung(QStringLiteral("Frage?"), QStringLiteral("Titel"), 36), Antwort::Ja);
    QCOMPARE(Meldung(QStringLiteral("Hinweis"), QStringLiteral("Titel"), 64), Antwort::OK);
    QCOMPARE(MeldungTest::gezeigt().size(), 3);
    QCOMPARE(MeldungTest::gezeigt().at(2).stil, 64);
    QCOMPARE(MeldungTest::gezeigt().at(0).prompt, QStringLiteral("Frage?"));
    MeldungTest::entfernen();
    QVERIFY(!MeldungTest::installiert());
  }
};

VELMARK_TEST_MAIN(TestSprache)
#include "tst_sprache.moc"
