#pragma once
// What the tests of the stand-in main program share: the booking tests' fixture (a fresh program
// folder with the demo data, Anna's book, zamlo's state, message boxes through MeldungTest), the
// window opened on it, its small dialogs driven from a timer as a user fills them in, and the
// tray program's expense dialog beside it to see what a change means for the next booking.

#include "Buchungsseite.h"
#include "Buchungstest.h"
#include "Hauptfenster.h"
#include "Kontenseite.h"
#include "Kursseite.h"

#include <QDialog>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>

class Kvastotest : public Buchungstest {
 protected:
  std::unique_ptr<Hauptfenster> fenster;

  void kvastoAufraeumen() {
    fenster.reset();
    aufraeumen();
  }

  // The window as kvasto starts: it opens the book of the default user once it shows (asking
  // for a password first, in a dialog of its own, under the sign-in with password).
  void fensterOeffnen(bool offen = true) {
    fenster = std::make_unique<Hauptfenster>(ordner->pfad());
    fenster->show();
    QVERIFY(QTest::qWaitForWindowExposed(fenster.get()));
    if (!offen)
      return;
    QTRY_VERIFY(!fenster->offenerBenutzer().isEmpty());
    fenster->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fenster.get()));
  }

  template <class T = QWidget>
  T* imFenster(const char* name) {
    return kind<T>(fenster.get(), name);
  }
  void seite(QWidget* s) {
    fenster->seiten()->setCurrentWidget(s);
    QTRY_VERIFY(s->isVisible());
  }
  void klicken(QWidget* seite, const char* knopf) {
    QTest::mouseClick(kind<QPushButton>(seite, knopf), Qt::LeftButton);
  }

  // Runs `schritt` on the next dialog (not a tray program's form) once it is the active window.
  // A dialog the step leaves open is cancelled, so that no test waits in it.
  static void imDialog(std::function<void(QDialog*)> schritt) {
    auto* wache = new QTimer;
    wache->setInterval(5);
    QObject::connect(wache, &QTimer::timeout, [wache, schritt] {
      auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!d || qobject_cast<Formular*>(d) || QApplication::activeWindow() != d)
        return;
      wache->stop();
      wache->deleteLater();
      QPointer<QDialog> dialog(d);
      schritt(d);
      if (dialog && dialog->isVisible())
        dialog->reject();
    });
    wache->start();
  }

  // In a dialog: types into a field over its text, and presses OK.
  void eintragen(QDialog* d, const char* name, const QString& text) {
    QWidget* w = kind<QWidget>(d, name);
    QVERIFY(w);
    tippen(w, text);
  }
  static void bestaetigen(QDialog* d) {
    QTest::mouseClick(kind<QPushButton>(d, "cmdOK"), Qt::LeftButton);
  }

  // The texts of a table's rows.
  static QList<QStringList> zeilen(const QTableWidget* t) {
    QList<QStringList> z;
    for (int i = 0; i < t->rowCount(); ++i) {
      QStringList texte;
      for (int s = 0; s < t->columnCount(); ++s)
        texte.append(t->item(i, s) ? t->item(i, s)->text() : QString());
      z.append(texte);
    }
    return z;
  }

  // The list row of the booking with this number (-1 when not listed).
  int listenzeile(int id) {
    Buchungsmodell* m = fenster->buchungsseite()->modell();
    for (int i = 0; i < m->rowCount(); ++i) {
      if (m->index(i, Buchungsmodell::Nr).data().toString() == QString::number(id))
        return i;
    }
    return -1;
  }
  void buchungWaehlen(int id) {
    seite(fenster->buchungsseite());
    const int zeile = listenzeile(id);
    QVERIFY2(zeile >= 0, qPrintable(QString::number(id)));
    QTableView* liste = fenster->buchungsseite()->liste();
    fokus(liste);
    liste->selectRow(zeile);
  }

  QString daten() const { return ordner->datei(QStringLiteral("Daten.mdb")); }

  // The text numbers of the messages shown, among `nummern` (-1 for any other): a prompt is
  // its text with the values put in and a reason below it.
  static QList<int> meldungsnummern(const QList<int>& nummern) {
    QList<int> gezeigt;
    for (const auto& m : MeldungTest::gezeigt()) {
      int nr = -1;
      for (int n : nummern) {
        if (m.prompt.startsWith(Text(n).section(u'%', 0, 0)))
          nr = n;
      }
      gezeigt.append(nr);
    }
    return gezeigt;
  }

  // Whether the focus is in the dialog's control `name` (in the line edit of a list too).
  static bool hatFokus(QDialog* d, const QString& name) {
    QWidget* w = d->findChild<QWidget*>(name);
    QWidget* f = QApplication::focusWidget();
    return w && f && (f == w || w->isAncestorOf(f));
  }

  // The first message shown, and its style, without the reason below it.
  static std::pair<QString, int> ersteMeldung() {
    if (MeldungTest::gezeigt().isEmpty())
      return {};
    const auto& m = MeldungTest::gezeigt().first();
    return {m.prompt.section(QStringLiteral("\n\n"), 0, 0), m.stil};
  }
};
