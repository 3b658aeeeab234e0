// The field helpers of the entry dialogs: the date check, FeldFokus and the tip window.

#include "Formular.h"
#include "Module1.h"
#include "Registry.h"
#include "Shelltest.h"
#include "Sprache.h"
#include "frmHilfe.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// A dialog as the entry dialogs build theirs: every input field runs FeldFokus when it gets the
// focus, and the date field is checked when it loses it.
class frmFelder : public Formular {
  Q_OBJECT

 public:
  frmFelder() {
    betrag = feld("txtBetrag", "58");
    datum = feld("txtDatum", "57");
    konto = new QComboBox(this);
    konto->setObjectName(QStringLiteral("cboKonto"));
    konto->setProperty("Tag", QStringLiteral("56"));
    konto->setEditable(true);
    konto->addItems({QStringLiteral("Girokonto"), QStringLiteral("Sparkonto")});
    FeldFokusVerbinden(konto);
    ohneTipp = feld("txtOhneTipp", "");
    unbekannt = feld("txtUnbekannt", "9999");
    auto* layout = new QVBoxLayout(this);
    for (QWidget* w :
         {static_cast<QWidget*>(betrag), static_cast<QWidget*>(datum), static_cast<QWidget*>(konto),
          static_cast<QWidget*>(ohneTipp), static_cast<QWidget*>(unbekannt)})
      layout->addWidget(w);
    datum->installEventFilter(this);
    setWindowTitle(QStringLiteral("Felder"));
  }

  QLineEdit* betrag;
  QLineEdit* datum;
  QComboBox* konto;
  QLineEdit* ohneTipp;
  QLineEdit* unbekannt;

 protected:
  void beimEntladen() override { TippfensterEntladen(); }
  bool eventFilter(QObject* ziel, QEvent* ereignis) override {
    if (ziel == datum && ereignis->type() == QEvent::FocusOut)
      DatumsfeldPruefen(datum);
    return Formular::eventFilter(ziel, ereignis);
  }

 private:
  QLineEdit* feld(const char* name, const char* tag) {
    auto* f = new QLineEdit(QStringLiteral("Inhalt"), this);
    f->setObjectName(QString::fromLatin1(name));
    f->setProperty("Tag", QString::fromLatin1(tag));
    FeldFokusVerbinden(f);
    return f;
  }
};

// A second dialog that shows tips, opened while the first one's tip window shows.
class frmZweiter : public Formular {
  Q_OBJECT

 public:
  frmZweiter() {
    feld = new QLineEdit(this);
    feld->setProperty("Tag", QStringLiteral("58"));
    FeldFokusVerbinden(feld);
    (new QVBoxLayout(this))->addWidget(feld);
    setFixedSize(300, 150);
  }
  QLineEdit* feld;
};

void fokusSetzen(QWidget* w) {
  w->setFocus(Qt::TabFocusReason);
  QTRY_COMPARE(QApplication::focusWidget(), w);
}

}  // namespace

class TestFelder : public Shelltest {
  Q_OBJECT

  QString tipp(const QString& schluessel) {
    return SprachText(zustand().Tippdatei, QStringLiteral("Tips"), schluessel);
  }

  frmFelder* dialogZeigen() {
    auto* f = Formulare::laden<frmFelder>();
    f->move(100, 100);
    f->show();
    f->activateWindow();
    if (!QTest::qWaitForWindowActive(f))
      qWarning("Dialog nicht aktiv");
    return f;
  }

  void tippsSetzen(const QString& wert) {
    QCOMPARE(RegistrySchreiben(HKCU, BenutzerSchluessel(), QStringLiteral("Zamlotipp"), wert), 0);
  }

 private slots:
  void initTestCase() { einmalig(); }
  void cleanupTestCase() { ordnerLoeschen(); }

  void init() {
    neuStarten();
    zustand().AktuellerBenutzer = QStringLiteral("Anna");
  }

  void cleanup() { TestUmgebung::formulareEntladen(); }

  void datumsfeld_data() {
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("ergebnis");  // empty: refused
    QTest::newRow("leer bleibt leer") << u""_s << u""_s;
    QTest::newRow("gültig") << u"05.03.2024"_s << u"05.03.2024"_s;
    QTest::newRow("Schrägstriche") << u"5/3/2024xx"_s << u""_s;
    QTest::newRow("andere Trenner") << u"05-03-2024"_s << u"05.03.2024"_s;
    QTest::newRow("Blank vorn") << u" 5.3.2024 "_s << u""_s;  // last four "024 " sort below "1000"
    QTest::newRow("Blank vorn, zehn Zeichen") << u" 5.03.2024"_s << u"05.03.2024"_s;
    QTest::newRow("acht Zeichen") << u"1.1.2001"_s << u""_s;
    QTest::newRow("elf Zeichen") << u"01.01.20011"_s << u""_s;
    QTest::newRow("Jahr 0999") << u"01.01.0999"_s << u""_s;
    QTest::newRow("Jahr 1000") << u"01.01.1000"_s << u"01.01.1000"_s;
    QTest::newRow("31. Februar") << u"31.02.2001"_s << u""_s;
    QTest::newRow("29. Februar im Schaltjahr") << u"29.02.2024"_s << u"29.02.2024"_s;
    QTest::newRow("ISO-Form") << u"2001-01-31"_s << u""_s;  // "1-31" sorts below "1000"
    QTest::newRow("keine Zahl") << u"abcdefghij"_s << u""_s;
  }

  void datumsfeld() {
    QFETCH(QString, eingabe);
    QFETCH(QString, ergebnis);
    // The program has been running since 24.12.2020: a refusal shows that date, not today's.
    zustand().HeuteText = QStringLiteral("24.12.2020");
    QLineEdit feld(eingabe);
    DatumsfeldPruefen(&feld);
    if (eingabe.isEmpty()) {
      QCOMPARE(feld.text(), QString());
      QVERIFY(MeldungTest::gezeigt().isEmpty());
    } else if (!ergebnis.isEmpty()) {
      QCOMPARE(feld.text(), ergebnis);
      QVERIFY(MeldungTest::gezeigt().isEmpty());
    } else {
      QCOMPARE(feld.text(), QStringLiteral("24.12.2020"));
      QCOMPARE(MeldungTest::gezeigt().size(), 1);
      const auto& m = MeldungTest::gezeigt().first();
      QCOMPARE(m.prompt, Text(1655));
      QCOMPARE(m.titel, Text(1656));
      QCOMPARE(m.stil, 64);
      QVERIFY(!m.prompt.isEmpty());
    }
  }

  // Leaving a bad date field: the message, then the focus is back in the field.
  void datumsfeldHoltFokusZurueck() {
    tippsSetzen(QStringLiteral("0"));
    auto* f = dialogZeigen();
    fokusSetzen(f->datum);
    f->datum->setText(QStringLiteral("31.02.2001"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), f->datum);
    QCOMPARE(f->datum->text(), zustand().HeuteText);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    // A good date lets the focus go on.
    f->datum->setText(QStringLiteral("1.3.2024"));  // eight characters: refused as well
    QTest::keyClick(f->datum, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), f->datum);
    f->datum->setText(QStringLiteral("01.03.2024"));
    QTest::keyClick(f->datum, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), f->konto);
    QCOMPARE(MeldungTest::gezeigt().size(), 2);
  }

  void textfeldWirdGanzMarkiert() {
    tippsSetzen(QStringLiteral("0"));
    auto* f = dialogZeigen();
    fokusSetzen(f->betrag);
    f->betrag->setText(QStringLiteral("12,50"));
    f->betrag->setCursorPosition(2);
    f->betrag->deselect();
    FeldFokus();
    QCOMPARE(f->betrag->selectedText(), QStringLiteral("12,50"));
    // A combo box keeps its selection.
    fokusSetzen(f->konto);
    f->konto->lineEdit()->setSelection(1, 2);
    FeldFokus();
    QCOMPARE(f->konto->lineEdit()->selectedText(), QStringLiteral("ir"));
    QVERIFY(!Formulare::geladen<frmHilfe>());
  }

  void tippsNurBeiGenauEins_data() {
    QTest::addColumn<QVariant>("wert");
    QTest::addColumn<bool>("sichtbar");
    QTest::newRow("1") << QVariant(QStringLiteral("1")) << true;
    QTest::newRow("Zahl 1") << QVariant(1) << true;
    QTest::newRow("01") << QVariant(QStringLiteral("01")) << false;
    QTest::newRow("1 mit Blank") << QVariant(QStringLiteral("1 ")) << false;
    QTest::newRow("0") << QVariant(QStringLiteral("0")) << false;
    QTest::newRow("leer") << QVariant(QString()) << false;
    QTest::newRow("fehlt") << QVariant() << false;
  }

  void tippsNurBeiGenauEins() {
    QFETCH(QVariant, wert);
    QFETCH(bool, sichtbar);
    if (wert.isValid()) {
      const bool alsText = wert.typeId() == QMetaType::QString;
      QCOMPARE(
          RegistrySchreiben(HKCU, BenutzerSchluessel(), QStringLiteral("Zamlotipp"), wert, alsText),
          0);
    }
    auto* f = dialogZeigen();
    fokusSetzen(f->datum);
    auto* hilfe = Formulare::geladen<frmHilfe>();
    QCOMPARE(hilfe != nullptr, sichtbar);
    if (sichtbar)
      QCOMPARE(hilfe->lbTip()->text(), tipp("57"));
  }

  // The setting of the user who is signed in counts, not another user's.
  void tippsJeBenutzer() {
    tippsSetzen(QStringLiteral("1"));
    zustand().AktuellerBenutzer = QStringLiteral("Ben");
    auto* f = dialogZeigen();
    fokusSetzen(f->datum);
    QVERIFY(!Formulare::geladen<frmHilfe>());
  }

  void tabbenFolgtDemFokus() {
    tippsSetzen(QStringLiteral("1"));
    auto* f = dialogZeigen();
    f->datum->setText(QStringLiteral("05.03.2024"));
    fokusSetzen(f->betrag);
    auto* hilfe = Formulare::geladen<frmHilfe>();
    QVERIFY(hilfe);
    QTRY_VERIFY(hilfe->isVisible());
    QCOMPARE(hilfe->lbTip()->text(), tipp("58"));
    QVERIFY(!hilfe->lbTip()->text().isEmpty());
    QVERIFY(hilfe->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(hilfe->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    QCOMPARE(hilfe->windowTitle(), Text(681));
    // Beside the dialog, not on it.
    QVERIFY(!hilfe->frameGeometry().intersects(f->frameGeometry()));
    const QRect ort = hilfe->geometry();

    const struct {
      QWidget* feld;
      QString text;
    } schritte[] = {{f->datum, tipp("57")},
                    {f->konto, tipp("56")},
                    {f->ohneTipp, Text(1410)},
                    {f->unbekannt, QString()}};
    for (const auto& schritt : schritte) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QTRY_COMPARE(QApplication::focusWidget(), schritt.feld);
      QCOMPARE(hilfe->lbTip()->text(), schritt.text);
      QCOMPARE(QApplication::activeWindow(), f);
      QVERIFY(hilfe->isVisible());
      QCOMPARE(hilfe->geometry(), ort);
      QCOMPARE(Formulare::geladen<frmHilfe>(), hilfe);
    }
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  void ohneTippdatei() {
    tippsSetzen(QStringLiteral("1"));
    zustand().Tippdatei = m_ordner->datei(QStringLiteral("fehlt.dll"));
    auto* f = dialogZeigen();
    fokusSetzen(f->betrag);
    auto* hilfe = Formulare::geladen<frmHilfe>();
    QVERIFY(hilfe);
    QCOMPARE(hilfe->lbTip()->text(), QString());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  void schliessenFragtNach() {
    tippsSetzen(QStringLiteral("1"));
    auto* f = dialogZeigen();
    fokusSetzen(f->betrag);
    auto* hilfe = Formulare::geladen<frmHilfe>();
    QVERIFY(hilfe);

    // No: the window stays, tips stay on.
    MeldungTest::antworten({Antwort::Nein});
    QVERIFY(!hilfe->close());
    QCOMPARE(Formulare::geladen<frmHilfe>(), hilfe);
    QVERIFY(hilfe->isVisible());
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    const auto& frage = MeldungTest::gezeigt().first();
    QCOMPARE(frage.prompt, Text(1411));
    QCOMPARE(frage.titel, Text(1412));
    QCOMPARE(frage.stil, 36);
    QCOMPARE(BenutzerWert(QStringLiteral("Zamlotipp")), QStringLiteral("1"));

    // Yes: gone, "0" stored, and the next field shows no tip.
    MeldungTest::antworten({Antwort::Ja});
    QVERIFY(hilfe->close());
    QVERIFY(!Formulare::geladen<frmHilfe>());
    QCOMPARE(BenutzerWert(QStringLiteral("Zamlotipp")), QStringLiteral("0"));
    QCOMPARE(RegistryLesen(HKCU, ProduktSchluessel + QStringLiteral("\\Anna"),
                           QStringLiteral("Zamlotipp")),
             QVariant(QStringLiteral("0")));
    QTest::keyClick(f->betrag, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), f->datum);
    QVERIFY(!Formulare::geladen<frmHilfe>());
  }

  // Esc would be a close by the user too: asked, not simply unloaded.
  void escImTippfensterFragt() {
    tippsSetzen(QStringLiteral("1"));
    auto* f = dialogZeigen();
    fokusSetzen(f->betrag);
    auto* hilfe = Formulare::geladen<frmHilfe>();
    MeldungTest::antworten({Antwort::Nein});
    QTest::keyClick(hilfe, Qt::Key_Escape);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(Formulare::geladen<frmHilfe>(), hilfe);
  }

  void dialogNimmtTippfensterMit() {
    tippsSetzen(QStringLiteral("1"));
    auto* f = dialogZeigen();
    fokusSetzen(f->betrag);
    QVERIFY(Formulare::geladen<frmHilfe>());
    QTest::keyClick(f->betrag, Qt::Key_Escape);
    QVERIFY(!Formulare::geladen<frmFelder>());
    QVERIFY(!Formulare::geladen<frmHilfe>());
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(BenutzerWert(QStringLiteral("Zamlotipp")), QStringLiteral("1"));
  }

  // Where the tip window goes beside a dialog: frames on a screen of 1024 x 740 free pixels.
  void tippfensterOrt_data() {
    QTest::addColumn<QRect>("dialog");
    QTest::addColumn<QPoint>("ort");
    QTest::newRow("rechts") << QRect(100, 100, 500, 300) << QPoint(608, 100);
    QTest::newRow("rechts mit kleinerem Abstand") << QRect(100, 100, 590, 300) << QPoint(694, 100);
    QTest::newRow("rechts, unten in den Schirm") << QRect(100, 650, 500, 80) << QPoint(608, 620);
    QTest::newRow("links") << QRect(400, 100, 500, 300) << QPoint(62, 100);
    QTest::newRow("darunter") << QRect(100, 100, 850, 300) << QPoint(620, 408);
    QTest::newRow("darüber") << QRect(100, 400, 850, 300) << QPoint(620, 272);
    QTest::newRow("kein Platz: Ecke") << QRect(0, 0, 1024, 740) << QPoint(662, 588);
  }
  void tippfensterOrt() {
    QFETCH(QRect, dialog);
    const QRect frei(0, 0, 1024, 740);
    const QRect ort = frmHilfe::ortNeben(dialog, QSize(330, 120), frei);
    QTEST(ort.topLeft(), "ort");
    QCOMPARE(ort.size(), QSize(330, 120));
    QVERIFY(frei.contains(ort));
    if (QTest::currentDataTag() != QByteArray("kein Platz: Ecke"))
      QVERIFY(!ort.intersects(dialog));
  }

  // A dialog that shows tips leaves the tip window room on its right when the screen has it;
  // one too wide for both side by side stays in the middle. Either way the tip window, placed at
  // the first tip, covers nothing of it and lies on the screen.
  void dialogLaesstTippfensterPlatz_data() {
    QTest::addColumn<int>("breite");
    QTest::addColumn<bool>("rechts");
    const int frei = QGuiApplication::primaryScreen()->availableGeometry().width();
    QTest::newRow("schmal") << 300 << true;
    QTest::newRow("mittel") << frei - frmHilfe::groesse().width() - 80 << true;
    QTest::newRow("breit") << frei - 100 << false;
  }
  void dialogLaesstTippfensterPlatz() {
    QFETCH(int, breite);
    QFETCH(bool, rechts);
    tippsSetzen(QStringLiteral("1"));
    const QRect frei = QGuiApplication::primaryScreen()->availableGeometry();
    auto* f = Formulare::laden<frmFelder>();
    f->setFixedSize(breite, 200);
    TippfensterPlatzLassen(f);
    f->show();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    fokusSetzen(f->betrag);
    auto* hilfe = Formulare::geladen<frmHilfe>();
    QVERIFY(hilfe);
    QTRY_VERIFY(hilfe->isVisible());
    const QRect dialog = f->frameGeometry();
    const QRect tipp = hilfe->frameGeometry();
    QVERIFY(!tipp.intersects(dialog));
    QVERIFY(frei.contains(tipp));
    QVERIFY(frei.contains(dialog));
    QCOMPARE(tipp.left() > dialog.right(), rechts);
    if (!rechts)  // in the middle
      QVERIFY(qAbs(dialog.center().x() - frei.center().x()) <= 8);
  }

  // A dialog being shown sends its focus widget a focus-in before the window is active and the
  // field has the focus. The tip waits for the real focus, and then shows the field's tip beside
  // the dialog (not "no tip" in a corner of the screen).
  void tippErstMitEchtemFokus() {
    tippsSetzen(QStringLiteral("1"));
    auto* f = Formulare::laden<frmFelder>();
    f->setFixedSize(300, 200);
    TippfensterPlatzLassen(f);
    f->betrag->setFocus(Qt::OtherFocusReason);
    f->show();
    QVERIFY(!Formulare::geladen<frmHilfe>());
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    QTRY_VERIFY(Formulare::geladen<frmHilfe>() && Formulare::geladen<frmHilfe>()->isVisible());
    auto* hilfe = Formulare::geladen<frmHilfe>();
    QCOMPARE(hilfe->lbTip()->text(), tipp("58"));
    QVERIFY(hilfe->frameGeometry().left() > f->frameGeometry().right());
  }

  // Without tips a dialog is simply centred, by the size it shows with: also when its layout
  // decides that size only as it is shown.
  void ohneTippsMittig_data() {
    QTest::addColumn<bool>("festeGroesse");
    QTest::newRow("feste Größe") << true;
    QTest::newRow("Größe aus dem Layout") << false;
  }
  void ohneTippsMittig() {
    QFETCH(bool, festeGroesse);
    tippsSetzen(QStringLiteral("0"));
    const QRect frei = QGuiApplication::primaryScreen()->availableGeometry();
    auto* f = Formulare::laden<frmFelder>();
    if (festeGroesse)
      f->setFixedSize(300, 200);
    else
      f->layout()->setSizeConstraint(QLayout::SetFixedSize);
    TippfensterPlatzLassen(f);
    f->show();
    QVERIFY(qAbs(f->frameGeometry().center().x() - frei.center().x()) <= 8);
    QVERIFY(qAbs(f->frameGeometry().center().y() - frei.center().y()) <= 16);
  }

  // A dialog opened while the tip window shows goes beside it; the tip window keeps its place,
  // also where the user put it.
  void zweiterDialogWeichtAus() {
    tippsSetzen(QStringLiteral("1"));
    auto* f = Formulare::laden<frmFelder>();
    f->setFixedSize(300, 200);
    TippfensterPlatzLassen(f);
    f->show();
    f->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f));
    fokusSetzen(f->betrag);
    auto* hilfe = Formulare::geladen<frmHilfe>();
    QVERIFY(hilfe);
    QTRY_VERIFY(hilfe->isVisible());
    const QRect frei = QGuiApplication::primaryScreen()->availableGeometry();
    hilfe->move(frei.center() - QPoint(hilfe->width() / 2, hilfe->height() / 2));
    const QRect ort = hilfe->frameGeometry();

    auto* zweiter = Formulare::laden<frmZweiter>();
    TippfensterPlatzLassen(zweiter);
    zweiter->show();
    zweiter->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(zweiter));
    fokusSetzen(zweiter->feld);
    QCOMPARE(hilfe->lbTip()->text(), tipp("58"));
    QCOMPARE(hilfe->frameGeometry(), ort);
    QVERIFY(!zweiter->frameGeometry().intersects(ort));
    QVERIFY(
        QGuiApplication::primaryScreen()->availableGeometry().contains(zweiter->frameGeometry()));
  }

  void twipsInPixel_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("px");
    QTest::addColumn<int>("py");
    QTest::newRow("null") << 0 << 0 << 0 << 0;
    QTest::newRow("ganze Pixel") << 15 << 4800 << 1 << 320;
    QTest::newRow("abgerundet") << 7 << 22 << 0 << 1;
    QTest::newRow("aufgerundet") << 8 << 23 << 1 << 2;
    QTest::newRow("negativ") << -15 << -22 << -1 << -1;
    QTest::newRow("Grenzen") << 32767 << -32768 << 2184 << -2185;
  }

  void twipsInPixel() {
    QFETCH(int, x);
    QFETCH(int, y);
    qint16 a = static_cast<qint16>(x);
    qint16 b = static_cast<qint16>(y);
    TwipsInPixel(a, b);
    QTEST(int(a), "px");
    QTEST(int(b), "py");
  }
};

VELMARK_TEST_MAIN(TestFelder)
#include "tst_felder.moc"
