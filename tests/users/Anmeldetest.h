#pragma once
// Shared by the sign-in tests: stand-ins for the booking dialogs that note whom they were opened
// for, a helper that acts on a modal dialog once it shows, the password prompt left by a named
// way, the state each test starts from, and reading the data files.

#include "Formular.h"
#include "Formularhilfen.h"
#include "Hilfe.h"
#include "Meldung.h"
#include "ShellFormulare.h"
#include "UsersFormulare.h"
#include "Zustand.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>
#include <QUuid>
#include <functional>

namespace Anmeldetest {

// What a booking dialog saw when it was loaded.
struct Buchungsdialog {
  QString form;
  QString benutzer;
  QString datei;
  QString sprachdatei;
};

inline QList<Buchungsdialog>& geoeffnet() {
  static QList<Buchungsdialog> liste;
  return liste;
}

class Buchungsattrappe : public Formular {
 protected:
  void beimLaden() override {
    const Zustand& z = zustand();
    geoeffnet().append({objectName(), z.AktuellerBenutzer, z.Benutzerdatei, z.Sprachdatei});
  }
};

// Registers the stand-ins under the booking dialogs' names.
inline void buchungsdialogeAnmelden() {
  for (const char* name : {"frmAusgabe", "frmEinnahme"})
    Formulare::anmelden(QString::fromLatin1(name), [] { return new Buchungsattrappe; });
}

// For initTestCase: message boxes answered by the test, the forms and the stand-ins registered.
inline void einmalig() {
  MeldungTest::installieren();
  shellFormulareAnmelden();
  usersFormulareAnmelden();
  buchungsdialogeAnmelden();
}

// For init: zamlo started in `programmordner` on 5 March 2024, nothing shown or opened yet.
inline void neuStarten(const QString& programmordner) {
  zustand() = Zustand();
  zustandStarten(programmordner, QDate(2024, 3, 5));
  MeldungTest::vergessen();
  HilfeTest::vergessen();
  geoeffnet().clear();
}

// Leaves the password prompt by `weg`: "OK" or "Abbrechen" (the buttons), "Enter" or "Esc" (keys
// in the field `feld`), anything else its close box.
inline void promptVerlassen(Formular* prompt, QLineEdit* feld, const QString& weg) {
  if (weg == u"OK")
    QTest::mouseClick(prompt->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
  else if (weg == u"Enter")
    QTest::keyClick(feld, Qt::Key_Return);
  else if (weg == u"Esc")
    QTest::keyClick(feld, Qt::Key_Escape);
  else if (weg == u"Abbrechen")
    QTest::mouseClick(prompt->findChild<QPushButton*>(QStringLiteral("cmdAbbrechen")),
                      Qt::LeftButton);
  else
    prompt->close();
}

// Acts once on the modal form `name` as soon as it is the active modal window: make one before
// the code that runs the modal loop. Gives up after ten seconds, and when it goes out of scope.
class Modalwache {
 public:
  Modalwache(const QString& name, std::function<void(Formular*)> aktion)
      : m_name(name), m_aktion(std::move(aktion)) {
    m_uhr.start();
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { pruefen(); });
    m_timer.start();
  }
  bool gezeigt() const { return m_gezeigt; }

 private:
  void pruefen() {
    auto* f = qobject_cast<Formular*>(QApplication::activeModalWidget());
    const bool da = f && f->objectName() == m_name && f->isVisible();
    // Acting before the window is active would find no focus in it (a busy machine is slow to
    // activate it); after the time limit it acts all the same rather than leave a dialog open.
    if (!(da && f->isActiveWindow()) && m_uhr.elapsed() < 10000)
      return;
    m_timer.stop();
    if (da) {
      m_gezeigt = true;
      m_aktion(f);
    }
  }

  QString m_name;
  std::function<void(Formular*)> m_aktion;
  QTimer m_timer;
  QElapsedTimer m_uhr;
  bool m_gezeigt = false;
};

// Types a text key by key, also characters outside Latin-1 (QTest::keyClicks takes Latin-1 only).
inline void tippen(QWidget* ziel, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, ziel, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Rows of a query on a data file, each row's values joined by "|".
inline QStringList zeilen(const QString& datei, const QString& sql) {
  QStringList ergebnis;
  const QString name = QUuid::createUuid().toString();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(datei);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (db.open()) {
      QSqlQuery q(db);
      if (q.exec(sql)) {
        while (q.next()) {
          QStringList werte;
          for (int i = 0; i < q.record().count(); ++i)
            werte << (q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
          ergebnis << werte.join(u'|');
        }
      }
    }
  }
  QSqlDatabase::removeDatabase(name);
  return ergebnis;
}

}  // namespace Anmeldetest
