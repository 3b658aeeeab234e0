#pragma once
// What the tests of the booking dialogs share: a fresh program folder with the demo data per test
// (zamlo started on 5 March 2026, Anna signed in, tips off), the dialog opened and driven as a user
// drives it (keys into controls found by name, answers to message boxes through MeldungTest), and
// the rows read from Anna's household book with the engine directly.
//
//   class TestEinnahme : public Buchungstest {
//     Q_OBJECT
//    private slots:
//     void init() { vorbereiten(); }
//     void cleanup() { aufraeumen(); }
//     void test() { oeffnen<frmEinnahme>(); tippen(feld("txtBetrag"), u"12"_s); ... }
//   };

#include "BookingFormulare.h"
#include "Dateien.h"
#include "Datenbank.h"
#include "DemoDaten.h"
#include "Formular.h"
#include "Formularhilfen.h"
#include "Meldung.h"
#include "Registry.h"
#include "Rohdaten.h"
#include "ShellFormulare.h"
#include "TestMain.h"
#include "Testordner.h"
#include "Zustand.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <tuple>

template <class T>
T* kind(QWidget* form, const char* name) {
  auto* w = form->findChild<T*>(QString::fromLatin1(name));
  if (!w)
    qWarning("kein Steuerelement %s", name);
  return w;
}

// Runs `schritt` inside the next modal form's loop, once that form is the active window.
inline void imModalen(std::function<void(Formular*)> schritt) {
  auto* wache = new QTimer;
  wache->setInterval(5);
  QObject::connect(wache, &QTimer::timeout, [wache, schritt] {
    auto* f = qobject_cast<Formular*>(QApplication::activeModalWidget());
    if (!f || QApplication::activeWindow() != f)
      return;
    wache->stop();
    wache->deleteLater();
    QPointer<Formular> form(f);
    schritt(f);
    // A step that failed half-way must not leave the test waiting in the modal loop.
    if (form && !form->wirdEntladen())
      form->entladen();
  });
  wache->start();
}

// The text numbers of the message boxes shown so far, among `nummern` (-1 for any other): the
// number recorded with the box, or for a box shown without one the number of its text.
inline QList<int> gezeigteMeldungen(const QList<int>& nummern) {
  QList<int> gezeigt;
  for (const auto& m : MeldungTest::gezeigt()) {
    int nr = -1;
    for (int n : nummern) {
      if (m.promptNr != 0 ? m.promptNr == n : m.prompt == Text(n))
        nr = n;
    }
    gezeigt.append(nr);
  }
  return gezeigt;
}

// Prompt and title by their numbers and texts, and the style: texts of different numbers may be
// alike in the shipped language file.
using Meldungsdaten = std::tuple<int, int, QString, QString, int>;

// The message boxes shown so far.
inline QList<Meldungsdaten> meldungen() {
  QList<Meldungsdaten> liste;
  for (const auto& m : MeldungTest::gezeigt())
    liste.append({m.promptNr, m.titelNr, m.prompt, m.titel, m.stil});
  return liste;
}
// A message as expected; `einsetzen` takes the place of "%1" in its prompt.
inline Meldungsdaten meldung(int prompt, int titel, int stil, const QString& einsetzen = {}) {
  return {prompt, titel, Text(prompt).replace(QStringLiteral("%1"), einsetzen), Text(titel), stil};
}

class Buchungstest : public QObject {
 protected:
  std::unique_ptr<Testordner> ordner;
  Formular* dialog = nullptr;

  // For initTestCase (message boxes answered by the test, the forms of shell and booking
  // registered), init and cleanup.
  static void einmalig() {
    MeldungTest::installieren();
    shellFormulareAnmelden();
    bookingFormulareAnmelden();
  }
  void vorbereiten() {
    TestUmgebung::einstellungenLeeren();
    MeldungTest::vergessen();
    ordner = std::make_unique<Testordner>();
    QVERIFY2(ordner->ok(), qPrintable(ordner->fehler()));
    QVERIFY(ordner->demoEinstellungen());
    // Started on 5 March 2026 and left running since: the dialogs show that day.
    zustand() = Zustand();
    zustandStarten(ordner->pfad(), QDate(2026, 3, 5));
    zustand().AktuellerBenutzer = QStringLiteral("Anna");
    zustand().Benutzerdatei = buch();
    QCOMPARE(RegistrySchreiben(HKCU, BenutzerSchluessel(), QStringLiteral("Zamlotipp"),
                               QStringLiteral("0")),
             0);
    dialog = nullptr;
  }
  void aufraeumen() {
    TestUmgebung::formulareEntladen();
    Datenbank::alleSchliessen();
    ordner.reset();
  }

  // --- the household book ---------------------------------------------------------------------

  QString buch() const { return ordner->datei(QStringLiteral("Anna.mdb")); }
  void sql(const QString& text) { QVERIFY(DemoDaten::sqlAusfuehren(buch(), text)); }
  void daten(const QString& text) {
    QVERIFY(DemoDaten::sqlAusfuehren(ordner->datei(QStringLiteral("Daten.mdb")), text));
  }
  int anzahl(const QString& tabelle) {
    return int(rohWert(buch(), QStringLiteral("SELECT count(*) FROM ") + tabelle).toLongLong());
  }
  int buchungen() { return anzahl(QStringLiteral("Buchungen")); }
  // ID, KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, Ausgabe, Empfaenger, Auftraggeber,
  // Kategorie, Verwendungszweck, Versicherung, Saldo; the last one first.
  QList<QVariantList> letzteBuchungen(int n) {
    return roh(
        buch(),
        QStringLiteral("SELECT ID, KontoName, Buchung, Datum, Betrag, Waehrung, Einnahme, Ausgabe, "
                       "Empfaenger, Auftraggeber, Kategorie, Verwendungszweck, Versicherung, Saldo "
                       "FROM Buchungen ORDER BY rowid DESC LIMIT %1")
            .arg(n));
  }
  QList<QVariantList> adressen() {
    return roh(buch(), QStringLiteral("SELECT ID, Name FROM Adressen ORDER BY rowid"));
  }

  // --- the dialog -----------------------------------------------------------------------------

  template <class T>
  void oeffnen() {
    oeffnen(QString::fromLatin1(T::staticMetaObject.className()));
  }
  void oeffnen(const QString& form) {
    dialog = Formulare::laden(form);
    QVERIFY(dialog);
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
  }

  QComboBox* liste(const char* name) { return kind<QComboBox>(dialog, name); }
  QLineEdit* feld(const char* name) { return kind<QLineEdit>(dialog, name); }
  QPushButton* knopf(const char* name) { return kind<QPushButton>(dialog, name); }
  QString betragKonto() { return kind<QLabel>(dialog, "lbBetrag")->text(); }

  void fokus(QWidget* w) {
    w->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), w);
  }

  // Types into a field as the user does: into the field, over its selected text.
  void tippen(QWidget* w, const QString& text) {
    fokus(w);
    if (auto* f = qobject_cast<QLineEdit*>(w))
      f->selectAll();
    else if (auto* l = qobject_cast<QComboBox*>(w); l && l->isEditable())
      l->lineEdit()->selectAll();
    zeichenTippen(w, text);
  }

  // Key presses for each character; those outside ASCII as the keyboard sends them, by their text.
  static void zeichenTippen(QWidget* w, const QString& text) {
    for (const QChar c : text) {
      if (c.unicode() < 128)
        QTest::keyClick(w, char(c.unicode()));
      else
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }

  // Empties a field with Backspace, then types `text` key by key (nothing when it is empty).
  void leerenUndTippen(QLineEdit* f, const QString& text) {
    fokus(f);
    f->selectAll();
    QTest::keyClick(f, Qt::Key_Backspace);
    QTest::keyClicks(f, text);
  }

  void weiter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

  // A selection-only list: the user opens it and clicks the entry.
  void waehlen(const char* name, const QString& eintrag) { waehlen(liste(name), eintrag); }
  void waehlen(QComboBox* l, const QString& eintrag) {
    fokus(l);
    const int zeile = l->findText(eintrag);
    QVERIFY2(zeile >= 0, qPrintable(eintrag));
    if (zeile != l->currentIndex()) {
      QTest::keyClick(l, Qt::Key_Down, Qt::AltModifier);
      QAbstractItemView* ansicht = l->view();
      QTRY_VERIFY(ansicht->isVisible());
      const QRect ort = ansicht->visualRect(ansicht->model()->index(zeile, 0));
      QTest::mouseClick(ansicht->viewport(), Qt::LeftButton, {}, ort.center());
      QTRY_VERIFY(!ansicht->isVisible());
    }
    QCOMPARE(l->currentText(), eintrag);
  }

  // After a modal window the dialog is the active one again.
  void zurueck() {
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
  }

  // The objectNames of the dialog's controls in tab order, from cboKonto round to it.
  QStringList tabfolge() {
    QStringList gefunden;
    QWidget* anfang = liste("cboKonto");
    QWidget* w = anfang;
    do {
      // (The line edit inside an editable list is part of the list.)
      if (w->focusPolicy() & Qt::TabFocus && !qobject_cast<QComboBox*>(w->parentWidget()))
        gefunden.append(w->objectName());
      w = w->nextInFocusChain();
    } while (w != anfang && gefunden.size() < 30);
    return gefunden;
  }
};
