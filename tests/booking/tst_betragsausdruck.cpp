// Arithmetic in the amount field: the expression's value, and what the field shows when it is
// left.

#include "Betragsausdruck.h"
#include "Feldregeln.h"
#include "TestMain.h"
#include "Werte.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString geschachtelt(int tiefe, const QString& innen) {
  return QString(tiefe, u'(') + innen + QString(tiefe, u')');
}

}  // namespace

class TestBetragsausdruck : public QObject {
  Q_OBJECT

 private slots:
  void werte_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("gueltig");
    QTest::addColumn<double>("wert");
    QTest::addColumn<QString>("feld");  // the field's text once it is left
    QTest::newRow("Summe") << u"12,50+3,20"_s << true << 15.7 << u"15,70"_s;
    QTest::newRow("Produkt") << u"3*4,99"_s << true << 14.97 << u"14,97"_s;
    QTest::newRow("Klammer und Quotient") << u"(10-2,5)/3"_s << true << 2.5 << u"2,50"_s;
    QTest::newRow("Punkt vor Strich") << u"2+3*4-6/2"_s << true << 11.0 << u"11,00"_s;
    QTest::newRow("von links") << u"8/2/2"_s << true << 2.0 << u"2,00"_s;
    QTest::newRow("Differenzen von links") << u"10-3-2"_s << true << 5.0 << u"5,00"_s;
    QTest::newRow("Klammer vor Punkt") << u"(2+3)*4"_s << true << 20.0 << u"20,00"_s;
    QTest::newRow("Minus vorn") << u"-2+5"_s << true << 3.0 << u"3,00"_s;
    QTest::newRow("Minus nach Operator") << u"3*-2"_s << true << -6.0 << u"-6,00"_s;
    QTest::newRow("Minus vor Klammer") << u"-(1+2)*2"_s << true << -6.0 << u"-6,00"_s;
    QTest::newRow("doppeltes Minus") << u"5--2"_s << true << 7.0 << u"7,00"_s;
    QTest::newRow("Zeichen des Satzes")
        << u"2\u00d73\u22121\u00f74"_s << true << 5.75 << u"5,75"_s;
    QTest::newRow("Tausenderpunkte") << u"1.000,50+2"_s << true << 1002.5 << u"1.002,50"_s;
    QTest::newRow("Leerzeichen") << u" 1 + 2 "_s << true << 3.0 << u"3,00"_s;
    QTest::newRow("auf Cent gerundet") << u"10/3"_s << true << 10.0 / 3 << u"3,33"_s;
    QTest::newRow("halbe Cent aufwärts") << u"0,015*1"_s << true << 0.015 << u"0,02"_s;
    QTest::newRow("200 Klammern")
        << geschachtelt(200, u"1+1"_s) << true << 2.0 << u"2,00"_s;
    QTest::newRow("eine Zahl bleibt, wie sie war") << u"1234,5"_s << true << 1234.5 << u"1.234,50"_s;
    // Malformed: no number, the text stays for the field's own message.
    QTest::newRow("durch null") << u"5/0"_s << false << 0.0 << u"5/0"_s;
    QTest::newRow("durch eine Null-Klammer") << u"5/(2-2)"_s << false << 0.0 << u"5/(2-2)"_s;
    QTest::newRow("offene Klammer") << u"(1+2"_s << false << 0.0 << u"(1+2"_s;
    QTest::newRow("Klammer zu viel") << u"1+2)"_s << false << 0.0 << u"1+2)"_s;
    QTest::newRow("leere Klammer") << u"()"_s << false << 0.0 << u"()"_s;
    QTest::newRow("Operator am Ende") << u"12,50*"_s << false << 0.0 << u"12,50*"_s;
    // A sign behind a number makes it a number, as the field always read it.
    QTest::newRow("Zeichen hinter der Zahl") << u"12,50-"_s << false << 0.0 << u"-12,50"_s;
    QTest::newRow("zwei Operatoren") << u"2*/3"_s << false << 0.0 << u"2*/3"_s;
    QTest::newRow("zwei Kommas") << u"1,2,3+1"_s << false << 0.0 << u"1,2,3+1"_s;
    QTest::newRow("Buchstaben") << u"2+x"_s << false << 0.0 << u"2+x"_s;
    QTest::newRow("Exponent ist kein Operand") << u"1e308*10"_s << false << 0.0 << u"1e308*10"_s;
    QTest::newRow("leer") << u""_s << false << 0.0 << u""_s;
    QTest::newRow("über dem Höchstbetrag")
        << u"99999999999999*1"_s << false << 0.0 << u"99999999999999*1"_s;
    const QString gross = u"1"_s + QString(308, u'0');  // 1e308
    QTest::newRow("1e308 mal 10") << gross + u"*10"_s << false << 0.0 << gross + u"*10"_s;
    QTest::newRow("1e308 minus 1e308")
        << gross + u"-"_s + gross << true << 0.0 << u"0,00"_s;
    QTest::newRow("zu tief geschachtelt")
        << geschachtelt(Betragsausdruck::Tiefengrenze + 1, u"1"_s) << false << 0.0
        << geschachtelt(Betragsausdruck::Tiefengrenze + 1, u"1"_s);
    QTest::newRow("zu viele Vorzeichen")
        << QString(Betragsausdruck::Tiefengrenze + 1, u'-') + u"1+1"_s << false << 0.0
        << QString(Betragsausdruck::Tiefengrenze + 1, u'-') + u"1+1"_s;
  }
  void werte() {
    QFETCH(QString, text);
    QFETCH(bool, gueltig);
    QFETCH(double, wert);
    QFETCH(QString, feld);
    const auto ergebnis = Betragsausdruck::auswerten(text);
    QCOMPARE(ergebnis.has_value(), gueltig);
    if (gueltig)
      QVERIFY2(std::fabs(*ergebnis - wert) < 1e-9, qPrintable(QString::number(*ergebnis)));
    QCOMPARE(Feldregeln::BetragVerlassen(text), feld);
    // The buttons and the converted amount go by the value the field will show.
    QCOMPARE(Feldregeln::Betragswert(text), Werte::zahl(feld));
  }

  // Far beyond the nesting bound the parser still returns, without exhausting the stack.
  void tiefeOhneUeberlauf() {
    QVERIFY(!Betragsausdruck::auswerten(geschachtelt(200000, u"1"_s)));
    QVERIFY(!Betragsausdruck::auswerten(QString(200000, u'-') + u'1'));
    QVERIFY(!Betragsausdruck::auswerten(QString(200000, u'(')));
  }
};

VELMARK_TEST_MAIN(TestBetragsausdruck)
#include "tst_betragsausdruck.moc"
