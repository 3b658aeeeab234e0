// The lists both booking dialogs share: type-ahead completion of the purpose, category and name
// lists, and a new payee or payer taken into the addresses on request.

#include "Buchungstest.h"
#include "Textvergleich.h"
#include "frmAusgabe.h"
#include "frmEinnahme.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Keys as the user types them: "\b" Backspace, "\x7f" Delete, every other character itself.
void tasten(QWidget* w, const QString& folge) {
  for (const QChar c : folge) {
    if (c == u'\b')
      QTest::keyClick(w, Qt::Key_Backspace);
    else if (c == u'\x7f')
      QTest::keyClick(w, Qt::Key_Delete);
    else if (c.unicode() < 128)
      QTest::keyClick(w, char(c.unicode()));
    else
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

}  // namespace

class TestListen : public Buchungstest {
  Q_OBJECT

  QComboBox* namensliste() {
    return liste(dialog->objectName() == u"frmAusgabe" ? "cboEmpfaenger" : "cboAuftraggeber");
  }
  QString markiert(QComboBox* l) { return l->lineEdit()->selectedText(); }

  void dialoge() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<int>("frage");
    QTest::addColumn<int>("titel");
    QTest::newRow("Ausgabe") << u"frmAusgabe"_s << 1260 << 1261;
    QTest::newRow("Einnahme") << u"frmEinnahme"_s << 1335 << 1336;
  }

 private slots:
  void initTestCase() { einmalig(); }

  void init() { vorbereiten(); }
  void cleanup() { aufraeumen(); }

  // --- completion ---------------------------------------------------------------------------

  // Typed into the purpose list (Miete, Mobilfunk, Tanken, Wocheneinkauf).
  void vervollstaendigen_data() {
    QTest::addColumn<QString>("tasten");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("auswahl");  // the selected tail
    QTest::newRow("m") << u"m"_s << u"miete"_s << u"iete"_s;
    QTest::newRow("mo") << u"mo"_s << u"mobilfunk"_s << u"bilfunk"_s;
    QTest::newRow("eigene Schreibweise") << u"mOB"_s << u"mOBilfunk"_s << u"ilfunk"_s;
    QTest::newRow("groß") << u"Wo"_s << u"Wocheneinkauf"_s << u"cheneinkauf"_s;
    QTest::newRow("ganz getippt") << u"miete"_s << u"miete"_s << u""_s;
    QTest::newRow("kein Eintrag") << u"x"_s << u"x"_s << u""_s;
    QTest::newRow("über den Rest hinaus") << u"mx"_s << u"mx"_s << u""_s;
    QTest::newRow("Rücktaste über den Rest") << u"m\b"_s << u"m"_s << u""_s;
    QTest::newRow("danach wieder") << u"m\bi"_s << u"miete"_s << u"ete"_s;
    QTest::newRow("zweimal Rücktaste") << u"mie\b\b"_s << u"mi"_s << u""_s;
    QTest::newRow("Entf über den Rest") << u"t\x7f"_s << u"t"_s << u""_s;
    QTest::newRow("Entf im leeren Feld") << u"\x7fm"_s << u"miete"_s << u"iete"_s;
    QTest::newRow("Rücktaste im leeren Feld") << u"\bt"_s << u"tanken"_s << u"anken"_s;
  }
  void vervollstaendigen() {
    QFETCH(QString, tasten);
    QFETCH(QString, text);
    QFETCH(QString, auswahl);
    oeffnen<frmAusgabe>();
    auto* zweck = liste("cboVerwendungszweck");
    fokus(zweck);
    ::tasten(zweck, tasten);
    QCOMPARE(zweck->currentText(), text);
    QCOMPARE(markiert(zweck), auswahl);
    if (!auswahl.isEmpty())
      QCOMPARE(zweck->lineEdit()->selectionStart(), text.size() - auswahl.size());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  // What the completion put in the field is what is booked.
  void vervollstaendigtGebucht() {
    oeffnen<frmEinnahme>();
    tippen(feld("txtBetrag"), u"50"_s);
    tippen(liste("cboVerwendungszweck"), u"Wo"_s);
    tippen(liste("cboKategorie"), u"ge"_s);
    tippen(liste("cboAuftraggeber"), u"arb"_s);
    QCOMPARE(liste("cboAuftraggeber")->currentText(), u"arbeitgeber AG"_s);
    QTest::keyClick(liste("cboAuftraggeber"), Qt::Key_Return);
    QTRY_VERIFY(!Formulare::geladen<frmEinnahme>());
    const QVariantList zeile = letzteBuchungen(1).value(0);
    QCOMPARE(zeile.value(9), QVariant(u"arbeitgeber AG"_s));
    QCOMPARE(zeile.value(10), QVariant(u"gehalt"_s));
    QCOMPARE(zeile.value(11), QVariant(u"Wocheneinkauf"_s));
    // Known in another letter case: not asked.
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  // One helper per dialog, shared by its lists: a Delete that removes nothing stops the next
  // completion in any of them, and in no other dialog.
  void gemeinsamerHelfer() {
    oeffnen<frmEinnahme>();
    auto* einnahme = dialog;
    tippen(liste("cboKategorie"), u"xy"_s);
    QTest::keyClick(liste("cboKategorie"), Qt::Key_Delete);
    QCOMPARE(liste("cboKategorie")->currentText(), u"xy"_s);

    oeffnen<frmAusgabe>();
    tippen(liste("cboVerwendungszweck"), u"m"_s);
    QCOMPARE(liste("cboVerwendungszweck")->currentText(), u"miete"_s);

    dialog = einnahme;
    zurueck();
    auto* zweck = liste("cboVerwendungszweck");
    tippen(zweck, u"m"_s);
    QCOMPARE(zweck->currentText(), u"m"_s);
    QCOMPARE(markiert(zweck), QString());
    QTest::keyClick(zweck, 'o');
    QCOMPARE(zweck->currentText(), u"mobilfunk"_s);
    QCOMPARE(markiert(zweck), u"bilfunk"_s);
  }

  // --- address capture ----------------------------------------------------------------------

  void adresse_data() { dialoge(); }
  void adresse() {
    QFETCH(QString, form);
    QFETCH(int, frage);
    QFETCH(int, titel);
    const QString name = u"O'Brien & Söhne"_s;
    const auto gefragt = [&](int mal) {
      QCOMPARE(MeldungTest::gezeigt().size(), mal);
      for (const auto& m : MeldungTest::gezeigt()) {
        QCOMPARE(m.prompt, Text(frage));
        QCOMPARE(m.titel, Text(titel));
        QCOMPARE(m.stil, 36);
      }
    };
    oeffnen(form);
    QComboBox* namen = namensliste();

    // Empty, or known in another letter case (umlauts too): nothing asked.
    fokus(namen);
    weiter();
    tippen(namen, u"möbelhaus öztürk"_s);
    weiter();
    gefragt(0);

    // A new name, declined: nothing stored, the name stays; asked again when left again.
    tippen(namen, name);
    MeldungTest::antworten({Antwort::Nein, Antwort::Nein});
    weiter();
    gefragt(1);
    QCOMPARE(namen->currentText(), name);
    fokus(namen);
    weiter();
    gefragt(2);
    QCOMPARE(anzahl(u"Adressen"_s), 6);
    QVERIFY(!eintraege(namen).contains(name));

    // Taken: stored with the counter's value (0 before any booking of this run) and in the list
    // at once, in its sorted place; not asked again.
    fokus(namen);
    MeldungTest::antworten({Antwort::Ja});
    weiter();
    gefragt(3);
    QCOMPARE(adressen().last(), (QVariantList{0LL, name}));
    QCOMPARE(anzahl(u"Adressen"_s), 7);
    const QStringList e = eintraege(namen);
    QCOMPARE(e.count(name), 1);
    QVERIFY(std::is_sorted(e.begin(), e.end(), [](const QString& a, const QString& b) {
      return Textvergleich::vergleichen(a, b) < 0;
    }));
    QCOMPARE(e.value(e.indexOf(name) - 1), u"Möbelhaus Öztürk"_s);
    QCOMPARE(namen->currentText(), name);
    fokus(namen);
    weiter();
    gefragt(3);

    // Booked with the name; a name captured after it gets that booking's number.
    tippen(feld("txtBetrag"), u"10"_s);
    tippen(liste("cboKategorie"), u"Kino"_s);
    tippen(namen, u"o'b"_s);
    QCOMPARE(namen->currentText(), u"o'brien & Söhne"_s);
    QTest::keyClick(namen, Qt::Key_Return);
    QTRY_VERIFY(!Formulare::geladen(form));
    gefragt(3);
    QCOMPARE(letzteBuchungen(1).value(0).value(0), QVariant(6LL));
    QCOMPARE(letzteBuchungen(1).value(0).value(form == u"frmAusgabe" ? 8 : 9),
             QVariant(u"o'brien & Söhne"_s));
    oeffnen(form);
    tippen(namensliste(), u"Zweite Firma"_s);
    weiter();
    gefragt(4);
    QCOMPARE(adressen().last(), (QVariantList{6LL, u"Zweite Firma"_s}));
  }

  // Into an empty list: the name becomes its only entry and stays the field's text.
  void adresseLeereListe_data() { dialoge(); }
  void adresseLeereListe() {
    QFETCH(QString, form);
    sql(u"DELETE FROM Adressen"_s);
    oeffnen(form);
    QComboBox* namen = namensliste();
    QCOMPARE(namen->count(), 0);
    tippen(namen, u"Neu"_s);
    MeldungTest::antworten({Antwort::Ja});
    weiter();
    QCOMPARE(eintraege(namen), QStringList{u"Neu"_s});
    QCOMPARE(namen->currentText(), u"Neu"_s);
    QCOMPARE(adressen(), (QList<QVariantList>{{0LL, u"Neu"_s}}));
  }
};

VELMARK_TEST_MAIN(TestListen)
#include "tst_listen.moc"
