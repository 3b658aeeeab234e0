// Child process of the fault tests: one writer of the system, run as zamlo runs it (the dialogs
// offscreen, driven by keys and clicks), in a process that the test may kill, whose files may not
// grow beyond a limit, or that meets read-only files as an ordinary user does.
//
//   stoerkind <aufgabe> <programmordner> [optionen]
//
// Tasks:
//   buchung      an expense with its inventory item through frmAusgabe (purpose --text)
//   kategorien   frmKategorie: the subcategory "Telefon" of "Wohnen", or "Runde <n>" left by an
//                earlier round, renamed to "Runde <n+1>" (or to --text), then OK
//   verschieben  frmVerschieben: every booking of --von moved to the subcategory --nach of
//                "Haushalt"; with --schleife back and forth (from whichever holds them)
//   benutzer     a new user --name with the password "geheim" (Benutzeranlage, as frmBenutzer)
//   einstellung  one settings value of --text characters
//   update       the update program's run (UpdateStart), every question answered Ja
// Options:
//   --benutzer <name>   the signed-in user (Anna)
//   --grenze <bytes>    right before the write: files may not grow beyond this (SIGXFSZ ignored)
//   --ohne-rechte       root's power over file permissions dropped (at the start)
//   --schleife          the task again and again, "ok <n>" printed after each completed one
//   --abbruch-nach <k>  benutzer: the process ends at once after step k of the creation
// Printed: a line "meldung|<style>|<title>|<prompt>" per message box (line breaks as "\n"), then
// "ergebnis|ok" or "ergebnis|fehler|<reason>".

#include "Baumhilfen.h"
#include "Benutzeranlage.h"
#include "BookingFormulare.h"
#include "CategoriesFormulare.h"
#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "Formular.h"
#include "Formularhilfen.h"
#include "Meldung.h"
#include "Rechte.h"
#include "Registry.h"
#include "Rohdaten.h"
#include "ShellFormulare.h"
#include "Tabulon.h"
#include "UpdateModul.h"
#include "Zustand.h"

#include <sys/resource.h>
#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

struct Optionen {
  QString aufgabe;
  QString ordner;
  QString benutzer = u"Anna"_s;
  QString text;
  QString name = u"Kind"_s;
  QString von;
  QString nach;
  qint64 grenze = 0;
  bool ohneRechte = false;
  bool schleife = false;
  int abbruchNach = 0;
};

Optionen optionen;
bool beschraenkt = false;

void zeile(const QString& text) {
  std::printf("%s\n", text.toUtf8().constData());
  std::fflush(stdout);
}

// The size limit applies to the write only: loading the dialogs reads, and may create nothing.
// (Root's power over permissions goes at the start, before any file is opened: an open handle
// would keep the right to write.)
bool beschraenken(QString& grund) {
  if (beschraenkt)
    return true;
  beschraenkt = true;
  if (optionen.grenze > 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit r{rlim_t(optionen.grenze), rlim_t(optionen.grenze)};
    if (setrlimit(RLIMIT_FSIZE, &r) != 0) {
      grund = u"Grenze nicht gesetzt"_s;
      return false;
    }
  }
  return true;
}

void meldungenAusgeben() {
  for (const auto& m : MeldungTest::gezeigt()) {
    QString prompt = m.prompt;
    prompt.replace(u'\n', u"\\n"_s);
    zeile(u"meldung|%1|%2|%3"_s.arg(m.stil).arg(m.titel, prompt));
  }
  MeldungTest::vergessen();
}

template <class T>
T* element(QWidget* form, const QString& name) {
  return form ? form->findChild<T*>(name) : nullptr;
}

Formular* zeigen(const QString& name) {
  Formular* f = Formulare::laden(name);
  if (!f)
    return nullptr;
  f->show();
  f->activateWindow();
  if (!QTest::qWaitForWindowExposed(f))
    return nullptr;
  return f;
}

bool entladen(const QString& name) {
  return Formulare::geladen(name) == nullptr;
}

// The write of a dialog: the size limit set, then OK; true when the dialog `name` is gone.
bool okUndZu(QPushButton* ok, const QString& name, QString& grund) {
  if (!beschraenken(grund))
    return false;
  QTest::mouseClick(ok, Qt::LeftButton);
  return entladen(name);
}

// --- the tasks: true when the write went through -----------------------------------------------

bool buchung(QString& grund) {
  Formular* f = zeigen(u"frmAusgabe"_s);
  auto* betrag = element<QLineEdit>(f, u"txtBetrag"_s);
  auto* kategorie = element<QComboBox>(f, u"cboKategorie"_s);
  auto* zweck = element<QComboBox>(f, u"cboVerwendungszweck"_s);
  auto* inventar = element<QCheckBox>(f, u"Check1"_s);
  auto* ok = element<QPushButton>(f, u"cmdOK"_s);
  if (!betrag || !kategorie || !zweck || !inventar || !ok) {
    grund = u"Dialog unvollständig"_s;
    return false;
  }
  betrag->setFocus();
  betrag->selectAll();
  QTest::keyClicks(betrag, u"12,50"_s);
  zweck->setEditText(optionen.text.isEmpty() ? u"Stuhl"_s : optionen.text);
  kategorie->setEditText(u"Einrichtung"_s);
  inventar->setChecked(true);
  if (!ok->isEnabled()) {
    grund = u"OK nicht freigegeben"_s;
    return false;
  }
  return okUndZu(ok, u"frmAusgabe"_s, grund);
}

bool kategorien(QString& grund) {
  Formular* f = zeigen(u"frmKategorie"_s);
  auto* baum = element<QTreeWidget>(f, u"TreeView1"_s);
  auto* umbenennen = element<QPushButton>(f, u"cmdUmbenennen"_s);
  auto* ok = element<QPushButton>(f, u"cmdOK"_s);
  QTreeWidgetItem* wohnen = baum ? knotenBei(baum, {u"Kategorie"_s, u"Wohnen"_s}) : nullptr;
  if (!wohnen || !umbenennen || !ok) {
    grund = u"Dialog unvollständig"_s;
    return false;
  }
  QTreeWidgetItem* knoten = nullptr;
  int runde = 0;
  for (int i = 0; i < wohnen->childCount() && !knoten; ++i) {
    const QString text = wohnen->child(i)->text(0);
    if (text == u"Telefon")
      knoten = wohnen->child(i);
    else if (text.startsWith(u"Runde "_s)) {
      knoten = wohnen->child(i);
      runde = text.mid(6).toInt();
    }
  }
  if (!knoten) {
    grund = u"kein Knoten zum Umbenennen"_s;
    return false;
  }
  const QString neu = optionen.text.isEmpty() ? u"Runde %1"_s.arg(runde + 1) : optionen.text;
  knotenKlicken(baum, knoten);
  QTest::mouseClick(umbenennen, Qt::LeftButton);
  QLineEdit* editor = nullptr;
  for (int i = 0; i < 200 && !editor; ++i) {
    editor = baum->viewport()->findChild<QLineEdit*>();
    if (!editor)
      QTest::qWait(5);
  }
  if (!editor) {
    grund = u"kein Editor"_s;
    return false;
  }
  editor->setText(neu);
  QTest::keyClick(editor, Qt::Key_Return);
  for (int i = 0; i < 200 && knoten->text(0) != neu; ++i)
    QTest::qWait(5);
  if (knoten->text(0) != neu) {
    grund = u"nicht umbenannt"_s;
    return false;
  }
  if (!okUndZu(ok, u"frmKategorie"_s, grund))
    return false;
  if (optionen.schleife)
    zeile(u"ok %1"_s.arg(runde + 1));
  return true;
}

bool verschieben(QString& grund) {
  QString von = optionen.von;
  QString nach = optionen.nach;
  // Back and forth: from whichever category holds the bookings now.
  if (optionen.schleife &&
      rohWert(zustand().Benutzerdatei,
              u"SELECT count(*) FROM Buchungen WHERE Kategorie = '%1'"_s.arg(von))
              .toLongLong() == 0)
    std::swap(von, nach);
  zustand().AusgewaehlteKategorie = von;
  Formular* f = zeigen(u"frmVerschieben"_s);
  auto* grid = element<Tabulon>(f, u"Tabulon1"_s);
  auto* ziel = element<QTreeWidget>(f, u"TreeView1"_s);
  auto* ok = element<QPushButton>(f, u"cmdOK"_s);
  if (!grid || !ziel || !ok) {
    grund = u"Dialog unvollständig"_s;
    return false;
  }
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
  QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
  knotenKlicken(ziel, knotenBei(ziel, {u"Kategorie"_s, u"Haushalt"_s, nach}));
  if (!ok->isEnabled()) {
    grund = u"OK nicht freigegeben"_s;
    return false;
  }
  if (!okUndZu(ok, u"frmVerschieben"_s, grund))
    return false;
  if (optionen.schleife)
    zeile(u"ok %1"_s.arg(nach));
  return true;
}

bool benutzer(QString& grund, int nummer) {
  const QString name = optionen.schleife ? optionen.name + QString::number(nummer) : optionen.name;
  Datensatzquelle Data1;
  Data1.verbinden(zustand().Datendatei);
  Benutzeranlage anlage(Data1, zustand().Programmordner, name, u"geheim"_s);
  if (!beschraenken(grund))
    return false;
  const auto e = anlage.anlegen();
  anlage.melden(e);
  grund = anlage.grund();
  if (e != Benutzeranlage::Ergebnis::Angelegt)
    return false;
  if (optionen.schleife)
    zeile(u"ok "_s + name);
  return true;
}

bool einstellung(QString& grund) {
  if (!beschraenken(grund))
    return false;
  const qint32 status = RegistrySchreiben(HKCU, ProduktSchluessel + u"\\Test"_s, u"Wert"_s,
                                          QString(qMax(1, optionen.text.toInt()), u'x'));
  grund = QString::number(status);
  return status == 0;
}

bool update(QString& grund) {
  if (!beschraenken(grund))
    return false;
  UpdateStart(optionen.ordner);
  return updateZustand().DownloadErfolgreich;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3)
    return 2;
  optionen.aufgabe = args[1];
  optionen.ordner = args[2];
  if (!optionen.ordner.endsWith(u'/'))
    optionen.ordner += u'/';
  for (int i = 3; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == u"--schleife") {
      optionen.schleife = true;
      continue;
    }
    if (a == u"--ohne-rechte") {
      optionen.ohneRechte = true;
      continue;
    }
    if (i + 1 >= args.size())
      return 2;
    const QString wert = args[++i];
    if (a == u"--grenze")
      optionen.grenze = wert.toLongLong();
    else if (a == u"--benutzer")
      optionen.benutzer = wert;
    else if (a == u"--text")
      optionen.text = wert;
    else if (a == u"--name")
      optionen.name = wert;
    else if (a == u"--von")
      optionen.von = wert;
    else if (a == u"--nach")
      optionen.nach = wert;
    else if (a == u"--abbruch-nach")
      optionen.abbruchNach = wert.toInt();
    else
      return 2;
  }
  if (optionen.abbruchNach > 0) {
    Benutzeranlage::nachSchritt = [](Benutzeranlage::Schritt s) {
      if (int(s) == optionen.abbruchNach)
        ::_exit(9);
    };
  }

  if (optionen.ohneRechte && !rechteAblegen())
    return 3;
  MeldungTest::installieren();
  shellFormulareAnmelden();
  bookingFormulareAnmelden();
  categoriesFormulareAnmelden();
  zustandStarten(optionen.ordner, QDate(2026, 3, 5));
  zustand().AktuellerBenutzer = optionen.benutzer;
  zustand().Benutzerdatei = optionen.ordner + optionen.benutzer + u".mdb"_s;

  for (int runde = 1;; ++runde) {
    QString grund;
    bool ok = false;
    if (optionen.aufgabe == u"buchung")
      ok = buchung(grund);
    else if (optionen.aufgabe == u"kategorien")
      ok = kategorien(grund);
    else if (optionen.aufgabe == u"verschieben")
      ok = verschieben(grund);
    else if (optionen.aufgabe == u"benutzer")
      ok = benutzer(grund, runde);
    else if (optionen.aufgabe == u"einstellung")
      ok = einstellung(grund);
    else if (optionen.aufgabe == u"update")
      ok = update(grund);
    else
      return 2;
    TestUmgebung::formulareEntladen();
    if (!optionen.schleife || !ok) {
      meldungenAusgeben();
      zeile(ok ? u"ergebnis|ok"_s : u"ergebnis|fehler|"_s + grund);
      break;
    }
    MeldungTest::vergessen();
  }
  Datenbank::alleSchliessen();
  return 0;
}
