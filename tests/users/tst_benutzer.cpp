// The sign-in with password: the two layouts, the sign-in mode written from the options, known
// users with right and wrong passwords, new users created through the password prompt, and
// every way the creation of a new user can fail without leaving half a user behind.

#include "Anmeldetest.h"
#include "Benutzeranlage.h"
#include "Buchung.h"
#include "Datenbank.h"
#include "Datensatzquelle.h"
#include "DemoDaten.h"
#include "Hilfe.h"
#include "Kennwortkodierung.h"
#include "Meldung.h"
#include "Module1.h"
#include "Registry.h"
#include "ShellFormulare.h"
#include "Sprache.h"
#include "TestMain.h"
#include "Testordner.h"
#include "UsersFormulare.h"
#include "frmBenutzer.h"
#include "frmHilfe.h"
#include "frmKennwort.h"
#include "frmTray.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSqlQuery>

using namespace Anmeldetest;
using namespace Qt::StringLiterals;

namespace {

QString einstellung(const QString& benutzer, const QString& name) {
  const QString schluessel =
      benutzer.isEmpty() ? ProduktSchluessel : ProduktSchluessel + u'\\' + benutzer;
  const QVariant wert = RegistryLesen(HKCU, schluessel, name);
  return wert.isValid() ? wert.toString() : u"<fehlt>"_s;
}

QByteArray inhalt(const QString& datei) {
  QFile f(datei);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

void schreiben(const QString& datei, const QByteArray& bytes) {
  QFile f(datei);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

}  // namespace

class TestBenutzer : public QObject {
  Q_OBJECT
  std::unique_ptr<Testordner> m_ordner;

  QString datei(const QString& name) const { return m_ordner->datei(name); }
  QStringList benutzerZeilen() const {
    return zeilen(datei(u"Daten.mdb"_s), u"SELECT Benutzername, Kennwort FROM Benutzer"_s);
  }
  // Files of the program folder that no run should leave: temporary copies and journals.
  QStringList reste() const {
    return QDir(m_ordner->pfad())
        .entryList({u"*.tmp"_s, u"*-journal"_s, u"*-wal"_s}, QDir::Files | QDir::Hidden);
  }

  frmBenutzer* zeigen() {
    auto* f = Formulare::laden<frmBenutzer>();
    if (!f)
      return nullptr;
    f->show();
    f->activateWindow();
    if (!QTest::qWaitForWindowActive(f))
      return nullptr;
    return f;
  }

  template <class T>
  static T* element(QWidget* form, const char* name) {
    return form->findChild<T*>(QString::fromLatin1(name));
  }

  // The layout with the three options.
  static bool voll(frmBenutzer* f) { return element<QRadioButton>(f, "Option1")->isVisibleTo(f); }

  // An option button is clicked on its mark, not in the empty space right of its text.
  static void klicken(QRadioButton* option) {
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
  }

  // Name and password as the user types them: the name replaces the preselected one, Tab leads
  // to the password.
  static void eingeben(frmBenutzer* f, const QString& name, const QString& kennwort) {
    f->cboBenutzer()->setFocus(Qt::MouseFocusReason);
    f->cboBenutzer()->lineEdit()->selectAll();
    if (name.isEmpty())
      QTest::keyClick(f->cboBenutzer(), Qt::Key_Delete);
    tippen(f->cboBenutzer(), name);
    QTest::keyClick(f->cboBenutzer(), Qt::Key_Tab);
    tippen(f->txtKennwort(), kennwort);
  }

  // OK with Enter in the password field. `bestaetigung`: what to type into the prompt, if it
  // comes; returns whether it came.
  static bool ok(frmBenutzer* f, const QString& bestaetigung = {},
                 const std::function<void()>& waehrendDesPrompts = {}) {
    bool gezeigt = false;
    Modalwache wache(u"frmKennwort"_s, [&](Formular* prompt) {
      gezeigt = true;
      if (waehrendDesPrompts)
        waehrendDesPrompts();
      auto* feld = static_cast<frmKennwort*>(prompt)->txtPasswort();
      tippen(feld, bestaetigung);
      QTest::keyClick(feld, Qt::Key_Return);
    });
    QTest::keyClick(f->txtKennwort(), Qt::Key_Return);
    return gezeigt;
  }

  // Nothing of a user `name` exists, and nothing else was left behind.
  void nichtsVon(const QString& name) {
    for (const QString& zeile : benutzerZeilen())
      QVERIFY2(!zeile.startsWith(name + u'|'), qPrintable(zeile));
    QVERIFY(!QFileInfo::exists(datei(name + u".mdb"_s)));
    for (const auto& [wert, standard] : Benutzeranlage_Standardeinstellungen())
      QCOMPARE(einstellung(name, wert), u"<fehlt>"_s);
    QCOMPARE(reste(), QStringList());
    QVERIFY(geoeffnet().isEmpty());
  }
  static QList<QPair<QString, QString>> Benutzeranlage_Standardeinstellungen() {
    return {{u"Schema"_s, u"Standard"_s},
            {u"RowColorEven"_s, u"&H00E0E0E0&"_s},
            {u"RowColorOdd"_s, u"&H00A5E3F5&"_s},
            {u"Sprache"_s, u"Deutsch"_s},
            {u"Zamlotipp"_s, u"1"_s}};
  }

  // The message shown last: prompt, title, style.
  static std::tuple<QString, QString, int> meldung() {
    if (MeldungTest::gezeigt().isEmpty())
      return {};
    const auto& m = MeldungTest::gezeigt().constLast();
    return {m.prompt, m.titel, m.stil};
  }

 private slots:
  void initTestCase() { einmalig(); }

  void init() {
    TestUmgebung::einstellungenLeeren();
    m_ordner = std::make_unique<Testordner>();
    QVERIFY2(m_ordner->ok(), qPrintable(m_ordner->fehler()));
    QVERIFY(m_ordner->demoEinstellungen());
    // The sign-in with password is the mode in force.
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Kennwort"_s, u"1"_s), 0);
    neuStarten(m_ordner->pfad());
    zustand().Buchungsart = u"Ausgabe"_s;
  }

  void cleanup() {
    TestUmgebung::formulareEntladen();
    Datenbank::alleSchliessen();
    m_ordner.reset();
  }

  // Users and nobody signed in: the short layout. A user signed in, or no users at all: the
  // options show. Option3 is selected whenever the dialog opens.
  void ansichten_data() {
    QTest::addColumn<QString>("angemeldet");
    QTest::addColumn<bool>("ohneBenutzer");
    QTest::addColumn<bool>("voll");
    QTest::newRow("Benutzer, niemand angemeldet") << "" << false << false;
    QTest::newRow("nach einer Anmeldung") << "Ben" << false << true;
    QTest::newRow("keine Benutzer") << "" << true << true;
  }
  void ansichten() {
    QFETCH(QString, angemeldet);
    QFETCH(bool, ohneBenutzer);
    QFETCH(bool, voll);
    zustand().AktuellerBenutzer = angemeldet;
    if (ohneBenutzer)
      QVERIFY(DemoDaten::sqlAusfuehren(datei(u"Daten.mdb"_s), u"DELETE FROM Benutzer"_s));
    // 4560 or 2505 twips are the outer height, title bar and frame included: estimated here,
    // where no window shows whose frame would tell.
    const QMargins rahmen = Fensterrahmen(nullptr);
    auto* f = zeigen();
    QVERIFY(f);
    QCOMPARE(f->height() + rahmen.top() + rahmen.bottom(), voll ? 304 : 167);
    for (const char* option : {"Option1", "Option2", "Option3"})
      QCOMPARE(element<QRadioButton>(f, option)->isVisibleTo(f), voll);
    QVERIFY(element<QRadioButton>(f, "Option3")->isChecked());
    QCOMPARE(element<QFrame>(f, "Line1")->y(), voll ? 240 : 104);
    QCOMPARE(element<QFrame>(f, "Line2")->y(), voll ? 241 : 105);
    for (const char* name : {"cmdOK", "cmdAbbrechen", "cmdHilfe"}) {
      auto* knopf = element<QPushButton>(f, name);
      QCOMPARE(knopf->y(), voll ? 248 : 112);
      // Whole, and no empty band below them.
      QVERIFY(knopf->geometry().bottom() < f->height());
      QVERIFY(f->height() - knopf->geometry().bottom() <= 4);
    }
    if (voll) {
      // The options lie between the password and the lines.
      QVERIFY(element<QRadioButton>(f, "Option1")->y() > f->txtKennwort()->geometry().bottom());
      QVERIFY(element<QRadioButton>(f, "Option3")->geometry().bottom() < 240);
    }
    QCOMPARE(f->cboBenutzer()->count(), ohneBenutzer ? 0 : 2);
    if (!ohneBenutzer)
      QCOMPARE(f->cboBenutzer()->currentText(), u"Anna"_s);

    QCOMPARE(f->windowTitle(), Text(446));
    const struct {
      const char* name;
      int text;
    } beschriftungen[] = {{"Label1", 440}, {"Label2", 441}};
    for (const auto& b : beschriftungen)
      QCOMPARE(element<QLabel>(f, b.name)->text(), Text(b.text));
    const struct {
      const char* name;
      int text;
    } knoepfe[] = {{"Option1", 442}, {"Option2", 443},      {"Option3", 444},
                   {"cmdOK", 201},   {"cmdAbbrechen", 202}, {"cmdHilfe", 204}};
    for (const auto& k : knoepfe)
      QCOMPARE(element<QAbstractButton>(f, k.name)->text(), Text(k.text));
    QCOMPARE(f->txtKennwort()->echoMode(), QLineEdit::Password);
    QVERIFY(f->txtKennwort()->maxLength() >= 32767);
    tippen(f->txtKennwort(), u"geheim"_s);
    QCOMPARE(f->txtKennwort()->displayText(), u"******"_s);
  }

  // The right password signs in, writes the mode of the selected option, and the next booking
  // command follows that mode.
  void rechtesKennwort_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("benutzer");
    QTest::addColumn<QString>("standard");
    QTest::addColumn<QString>("kennwort");
    QTest::addColumn<QString>("naechsterDialog");
    QTest::newRow("Option1") << u"Option1"_s << u"Anna"_s << u"1"_s << u"0"_s << u""_s;
    QTest::newRow("Option2") << u"Option2"_s << u""_s << u"0"_s << u"0"_s << u"frmAnmeldung"_s;
    QTest::newRow("Option3") << u"Option3"_s << u""_s << u"0"_s << u"1"_s << u"frmBenutzer"_s;
  }
  void rechtesKennwort() {
    QFETCH(QString, option);
    QFETCH(QString, benutzer);
    QFETCH(QString, standard);
    QFETCH(QString, kennwort);
    QFETCH(QString, naechsterDialog);
    frmTray::programmordnerVorgabe = m_ordner->pfad();
    auto* tray = Formulare::laden<frmTray>();
    QVERIFY(tray);
    // Ben signed in before: the options show.
    zustand().AktuellerBenutzer = u"Ben"_s;
    bool gezeigt = false;
    Modalwache anmeldung(u"frmBenutzer"_s, [&](Formular* form) {
      gezeigt = true;
      auto* f = static_cast<frmBenutzer*>(form);
      QVERIFY(voll(f));
      QCOMPARE(f->cboBenutzer()->currentText(), u"Anna"_s);
      QTest::keyClick(f->cboBenutzer(), Qt::Key_Tab);
      tippen(f->txtKennwort(), u"anna"_s);
      klicken(element<QRadioButton>(f, qPrintable(option)));
      QTest::keyClick(f->txtKennwort(), Qt::Key_Return);
    });
    tray->mnuAusgabe_Buchen();
    QVERIFY(gezeigt);
    QVERIFY(!Formulare::geladen<frmBenutzer>());
    QCOMPARE(geoeffnet().size(), 1);
    QCOMPARE(geoeffnet()[0].form, u"frmAusgabe"_s);
    QCOMPARE(geoeffnet()[0].benutzer, u"Anna"_s);
    QCOMPARE(geoeffnet()[0].datei, datei(u"Anna.mdb"_s));
    QCOMPARE(geoeffnet()[0].sprachdatei, datei(u"kvastlangDeutsch.dll"_s));
    QCOMPARE(zustand().GespeichertesKennwort, u"anna"_s);
    QCOMPARE(einstellung({}, u"Benutzer"_s), benutzer);
    QCOMPARE(einstellung({}, u"Standard"_s), standard);
    QCOMPARE(einstellung({}, u"Kennwort"_s), kennwort);
    QVERIFY(MeldungTest::gezeigt().isEmpty());

    // The next booking command.
    QString modal;
    Modalwache naechster(naechsterDialog.isEmpty() ? u"-"_s : naechsterDialog, [&](Formular* form) {
      modal = form->objectName();
      if (auto* f = qobject_cast<frmBenutzer*>(form))
        QVERIFY(voll(f));  // Anna has signed in
      QTest::keyClick(form, Qt::Key_Escape);
    });
    geoeffnet().clear();
    tray->mnuEinnahme_Buchen();
    QCOMPARE(modal, naechsterDialog);
    if (naechsterDialog.isEmpty()) {
      QCOMPARE(geoeffnet().size(), 1);
      QCOMPARE(geoeffnet()[0].form, u"frmEinnahme"_s);
      QCOMPARE(geoeffnet()[0].benutzer, u"Anna"_s);
    } else {
      QVERIFY(geoeffnet().isEmpty());
    }
  }

  // A wrong password: stop message, the focus back in the password, which keeps its text. The
  // password sign-in (Option3) has been written all the same; a mode without password has not,
  // so a wrong password never opens a book to the next booking command.
  void falschesKennwort_data() {
    QTest::addColumn<QString>("kennwort");
    QTest::addColumn<QString>("option");
    QTest::newRow("falsch") << u"falsch"_s << u"Option1"_s;
    QTest::newRow("Großbuchstaben") << u"Anna"_s << u"Option1"_s;
    QTest::newRow("leer") << u""_s << u"Option2"_s;
    QTest::newRow("länger") << u"anna "_s << u"Option3"_s;
  }
  void falschesKennwort() {
    QFETCH(QString, kennwort);
    QFETCH(QString, option);
    // The household's mode before: the password sign-in, with a stale default user.
    RegistrySchreiben(HKCU, ProduktSchluessel, u"Benutzer"_s, u"Ben"_s);
    RegistrySchreiben(HKCU, ProduktSchluessel, u"Standard"_s, u"0"_s);
    RegistrySchreiben(HKCU, ProduktSchluessel, u"Kennwort"_s, u"1"_s);
    zustand().AktuellerBenutzer = u"Ben"_s;
    auto* f = zeigen();
    klicken(element<QRadioButton>(f, qPrintable(option)));
    eingeben(f, u"Anna"_s, kennwort);
    QVERIFY(!ok(f));
    QCOMPARE(meldung(), std::make_tuple(Text(1296), Text(1297), 16));
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
    QCOMPARE(QApplication::focusWidget(), f->txtKennwort());
    QCOMPARE(f->txtKennwort()->text(), kennwort);
    QVERIFY(geoeffnet().isEmpty());
    QCOMPARE(zustand().AktuellerBenutzer, u"Ben"_s);
    const bool mitKennwort = option == u"Option3"_s;
    QCOMPARE(einstellung({}, u"Benutzer"_s), mitKennwort ? QString() : u"Ben"_s);
    QCOMPARE(einstellung({}, u"Standard"_s), u"0"_s);
    QCOMPARE(einstellung({}, u"Kennwort"_s), u"1"_s);
  }

  // The password loaded for the entry the user picks, and when the name field is left.
  void kennwortLaden() {
    auto* f = zeigen();
    QCOMPARE(zustand().GespeichertesKennwort, u"anna"_s);
    QTest::keyClick(f->cboBenutzer(), Qt::Key_Down);
    QCOMPARE(f->cboBenutzer()->currentText(), u"Ben"_s);
    QCOMPARE(zustand().GespeichertesKennwort, u"ben"_s);
    QTest::keyClick(f->cboBenutzer(), Qt::Key_Up);
    QCOMPARE(zustand().GespeichertesKennwort, u"anna"_s);
    // Leaving the field: the name's password, found whatever the letter case ...
    eingeben(f, u"BEN"_s, {});
    QCOMPARE(zustand().GespeichertesKennwort, u"ben"_s);
    QVERIFY(zustand().SqlText.contains(u"WHERE Benutzername"_s));
    // ... and for a name that is no user the value stays.
    eingeben(f, u"Niemand"_s, {});
    QCOMPARE(zustand().GespeichertesKennwort, u"ben"_s);
  }

  // Enter in the name field is OK as well.
  void eingabetasteImNamensfeld() {
    zustand().Buchungsart = u"Einnahme"_s;
    auto* f = zeigen();
    eingeben(f, u"Ben"_s, u"ben"_s);
    QTest::keyClick(f->txtKennwort(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), f->cboBenutzer());
    QTest::keyClick(f->cboBenutzer(), Qt::Key_Return);
    QCOMPARE(geoeffnet().size(), 1);
    QCOMPARE(geoeffnet()[0].form, u"frmEinnahme"_s);
    QCOMPARE(geoeffnet()[0].benutzer, u"Ben"_s);
  }

  // A password loaded for one entry never lets in another: the name changed without leaving the
  // field (OK by its access key), the other user's password does not count.
  void altesKennwortGiltNichtFuerAndereNamen() {
    auto* f = zeigen();
    QCOMPARE(zustand().GespeichertesKennwort, u"anna"_s);
    f->txtKennwort()->setText(u"anna"_s);
    f->cboBenutzer()->setFocus();
    f->cboBenutzer()->setEditText(u"Ben"_s);
    // OK as its access key gives it: the focus stays in the name field.
    QCOMPARE(QApplication::focusWidget(), f->cboBenutzer());
    element<QPushButton>(f, "cmdOK")->click();
    QCOMPARE(f->BenutzerVorhanden(), qint16(-1));
    QCOMPARE(meldung(), std::make_tuple(Text(1296), Text(1297), 16));
    QVERIFY(geoeffnet().isEmpty());
    QCOMPARE(zustand().AktuellerBenutzer, QString());
  }

  // Every search starts from "not found": once another program has emptied the table, Anna's
  // password found by the search before does not let anyone in as Ben. Ben is then a new name,
  // whose book exists.
  void geleerteTabelle() {
    const QByteArray buch = inhalt(datei(u"Ben.mdb"_s));
    auto* f = zeigen();
    eingeben(f, u"Anna"_s, u"falsch"_s);
    QVERIFY(!ok(f));
    QCOMPARE(meldung(), std::make_tuple(Text(1296), Text(1297), 16));
    QVERIFY(DemoDaten::sqlAusfuehren(datei(u"Daten.mdb"_s), u"DELETE FROM Benutzer"_s));
    eingeben(f, u"Ben"_s, u"anna"_s);
    QVERIFY(!ok(f, u"anna"_s));
    QCOMPARE(f->BenutzerVorhanden(), qint16(0));
    QCOMPARE(meldung(), std::make_tuple(Text(3006), Text(3106), 48));
    QVERIFY(geoeffnet().isEmpty());
    QCOMPARE(zustand().AktuellerBenutzer, QString());
    QCOMPARE(inhalt(datei(u"Ben.mdb"_s)), buch);
  }

  // Daten.mdb locked by another program longer than the busy time-out: nobody is signed in and
  // no name taken for new, the message says why. Once the lock is gone the sign-in works.
  void gesperrteDatendatei() {
    auto* f = zeigen();
    eingeben(f, u"Anna"_s, u"anna"_s);
    const QString name = u"sperrer"_s;
    const auto aufraeumen = qScopeGuard([&] { QSqlDatabase::removeDatabase(name); });
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
      db.setDatabaseName(datei(u"Daten.mdb"_s));
      QVERIFY(db.open());
      QVERIFY(QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s));
      QVERIFY(!ok(f, u"anna"_s));
      QVERIFY(QSqlQuery(db).exec(u"ROLLBACK"_s));
      db.close();
    }
    const auto [prompt, titel, stil] = meldung();
    QVERIFY2(prompt.startsWith(Text(3021) + u"\n\n"_s), qPrintable(prompt));
    QVERIFY2(prompt.contains(u"gesperrt"_s), qPrintable(prompt));
    QCOMPARE(titel, Text(3121));
    QCOMPARE(stil, 16);
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QVERIFY(geoeffnet().isEmpty());
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
    QVERIFY(!ok(f));
    QCOMPARE(geoeffnet().size(), 1);
    QCOMPARE(geoeffnet()[0].benutzer, u"Anna"_s);
  }

  // Names compare with their letter case: "anna" is not the user Anna. As a new name it would
  // share Anna's book on Windows and her settings everywhere: refused with 3006.
  void grossKleinImNamen() {
    const QByteArray buch = inhalt(datei(u"Anna.mdb"_s));
    const QStringList vorher = benutzerZeilen();
    auto* f = zeigen();
    eingeben(f, u"anna"_s, u"anna"_s);
    QVERIFY(!ok(f, u"anna"_s));
    QCOMPARE(f->BenutzerVorhanden(), qint16(0));
    QCOMPARE(meldung(), std::make_tuple(Text(3006), Text(3106), 48));
    QCOMPARE(benutzerZeilen(), vorher);
    QCOMPARE(inhalt(datei(u"Anna.mdb"_s)), buch);
    QCOMPARE(einstellung(u"Anna"_s, u"ID"_s), u"5"_s);
    QVERIFY(geoeffnet().isEmpty());
    QCOMPARE(zustand().AktuellerBenutzer, QString());
  }

  // Only a user whose name differs in letter case blocks the name, no book of it exists: its
  // own message, nothing stored.
  void nurBenutzerInAndererSchreibung() {
    QVERIFY(QFile::remove(datei(u"Anna.mdb"_s)));
    const QStringList vorher = benutzerZeilen();
    auto* f = zeigen();
    eingeben(f, u"ANNA"_s, u"geheim"_s);
    QVERIFY(!ok(f, u"geheim"_s));
    QCOMPARE(meldung(), std::make_tuple(Text(3020), Text(3120), 48));
    QCOMPARE(MeldungTest::gezeigt().size(), 1);
    QCOMPARE(benutzerZeilen(), vorher);
    QCOMPARE(QDir(m_ordner->pfad()).entryList({u"*.mdb"_s}),
             QStringList({u"Ben.mdb"_s, u"Daten.mdb"_s, u"unbenannt.mdb"_s}));
    QCOMPARE(reste(), QStringList());
    QVERIFY(geoeffnet().isEmpty());
  }

  void neuerNameOhneKennwort() {
    auto* f = zeigen();
    eingeben(f, u"Carla"_s, {});
    QVERIFY(!ok(f, u"x"_s));
    QVERIFY(MeldungTest::gezeigt().isEmpty());
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
    QCOMPARE(benutzerZeilen().size(), 2);
    nichtsVon(u"Carla"_s);
    // An empty name: OK does nothing at all, not even the mode.
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Standard"_s, u"7"_s), 0);
    eingeben(f, {}, u"x"_s);
    QTest::mouseClick(element<QPushButton>(f, "cmdOK"), Qt::LeftButton);
    QCOMPARE(einstellung({}, u"Standard"_s), u"7"_s);
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
  }

  // A new user: the coded row, the five settings, the book copied from the template with its own
  // row, the booking dialog for the user in the user's language; names and passwords of any kind.
  void neuerBenutzer_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kennwort");
    QTest::addColumn<QString>("kodiert");  // when known by heart
    QTest::newRow("Carla") << u"Carla"_s << u"geheim"_s << u"ZX[X\\`"_s;
    QTest::newRow("Hochkomma") << "D'Arcy"
                               << "it's"
                               << "\\g\x1a"
                                  "f";
    QTest::newRow("Umlaute") << u"Jürgen Größ"_s << u"Äpfel & Birnen €"_s << u""_s;
  }
  void neuerBenutzer() {
    QFETCH(QString, name);
    QFETCH(QString, kennwort);
    QFETCH(QString, kodiert);
    const QStringList vorher = benutzerZeilen();
    auto* f = zeigen();
    QVERIFY(!voll(f));
    eingeben(f, name, kennwort);
    QVERIFY(ok(f, kennwort));
    QVERIFY2(MeldungTest::gezeigt().isEmpty(), qPrintable(std::get<0>(meldung())));
    QVERIFY(!Formulare::geladen<frmBenutzer>());

    // Daten.mdb: one row more, the password coded.
    const QStringList nachher = benutzerZeilen();
    QCOMPARE(nachher.mid(0, vorher.size()), vorher);
    QCOMPARE(nachher.size(), vorher.size() + 1);
    const QString zeile = nachher.last();
    QVERIFY(zeile.startsWith(name + u'|'));
    const QString gespeichert = zeile.mid(name.size() + 1);
    QVERIFY(gespeichert != kennwort);
    QCOMPARE(KennwortDekodieren(gespeichert), std::optional<QString>(kennwort));
    if (!kodiert.isEmpty())
      QCOMPARE(gespeichert, kodiert);

    for (const auto& [wert, standard] : Benutzeranlage_Standardeinstellungen())
      QCOMPARE(einstellung(name, wert), standard);

    // The book: the template's tables, empty but for its own Benutzer row, password as typed.
    const QString buch = datei(name + u".mdb"_s);
    const QString schema = u"SELECT type, name, sql FROM sqlite_master ORDER BY name"_s;
    QCOMPARE(zeilen(buch, schema), zeilen(datei(u"unbenannt.mdb"_s), schema));
    QCOMPARE(zeilen(buch, u"SELECT Benutzername, Kennwort FROM Benutzer"_s),
             QStringList({name + u'|' + kennwort}));
    for (const char* tabelle :
         {"Buchungen", "Konten", "Kategorien", "Verwendung", "Adressen", "Inventar"})
      QCOMPARE(zeilen(buch, u"SELECT count(*) FROM "_s + QLatin1String(tabelle)),
               QStringList({u"0"_s}));
    QCOMPARE(reste(), QStringList());

    QCOMPARE(geoeffnet().size(), 1);
    QCOMPARE(geoeffnet()[0].form, u"frmAusgabe"_s);
    QCOMPARE(geoeffnet()[0].benutzer, name);
    QCOMPARE(geoeffnet()[0].datei, buch);
    QCOMPARE(geoeffnet()[0].sprachdatei, datei(u"kvastlangDeutsch.dll"_s));
    QCOMPARE(Datenbank::buchdatei().pfad(), buch);
    QCOMPARE(einstellung({}, u"Kennwort"_s), u"1"_s);

    // And the new user signs in like any other.
    geoeffnet().clear();
    zustand().Buchungsart = u"Einnahme"_s;
    f = zeigen();
    QVERIFY(voll(f));
    eingeben(f, name, kennwort);
    QVERIFY(!ok(f));
    QCOMPARE(geoeffnet().size(), 1);
    QCOMPARE(geoeffnet()[0].form, u"frmEinnahme"_s);
    QCOMPARE(geoeffnet()[0].benutzer, name);
  }

  // The very first user, with the options in view: made the default user at once.
  void ersterBenutzerAlsStandard() {
    QVERIFY(DemoDaten::sqlAusfuehren(datei(u"Daten.mdb"_s), u"DELETE FROM Benutzer"_s));
    auto* f = zeigen();
    QVERIFY(voll(f));
    klicken(element<QRadioButton>(f, "Option1"));
    eingeben(f, u"Carla"_s, u"c"_s);
    QVERIFY(ok(f, u"c"_s));
    QCOMPARE(benutzerZeilen(), QStringList({u"Carla|V"_s}));
    QCOMPARE(einstellung({}, u"Benutzer"_s), u"Carla"_s);
    QCOMPARE(einstellung({}, u"Standard"_s), u"1"_s);
    QCOMPARE(einstellung({}, u"Kennwort"_s), u"0"_s);
    QCOMPARE(geoeffnet().size(), 1);
  }

  // A confirmation that differs is refused with 1298; nothing of the user is stored.
  void bestaetigungFalsch_data() {
    QTest::addColumn<QString>("kennwort");
    QTest::addColumn<QString>("bestaetigung");
    QTest::addColumn<QString>("weg");
    QTest::newRow("anders") << u"geheim"_s << u"geheim!"_s << u"Enter"_s;
    QTest::newRow("leer") << u"geheim"_s << u""_s << u"Enter"_s;
    QTest::newRow("Esc") << u"geheim"_s << u"geheim"_s << u"Esc"_s;
    // The prompt closed by its close box confirms nothing, also when an earlier prompt left the
    // same text behind.
    QTest::newRow("Schließfeld") << u"geheim"_s << u"geheim"_s << u"Schliessen"_s;
    // At most 20 characters fit into the prompt: a longer password is never confirmed.
    QTest::newRow("über 20 Zeichen")
        << u"abcdefghijklmnopqrstu"_s << u"abcdefghijklmnopqrstu"_s << u"Enter"_s;
  }
  void bestaetigungFalsch() {
    QFETCH(QString, kennwort);
    QFETCH(QString, bestaetigung);
    QFETCH(QString, weg);
    zustand().BestaetigtesKennwort = kennwort;
    auto* f = zeigen();
    eingeben(f, u"Carla"_s, kennwort);
    bool gezeigt = false;
    Modalwache wache(u"frmKennwort"_s, [&](Formular* prompt) {
      gezeigt = true;
      auto* feld = static_cast<frmKennwort*>(prompt)->txtPasswort();
      tippen(feld, bestaetigung);
      promptVerlassen(prompt, feld, weg);
    });
    QTest::keyClick(f->txtKennwort(), Qt::Key_Return);
    QVERIFY(gezeigt);
    QCOMPARE(meldung(), std::make_tuple(Text(1298), Text(1299), 64));
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
    QCOMPARE(benutzerZeilen().size(), 2);
    nichtsVon(u"Carla"_s);
  }

  // F1 and the help button open topic 160; the fields show their tips 71 and 72; Esc closes the
  // dialog and the tip window and writes nothing.
  void hilfeTippsUndAbbrechen() {
    zustand().AktuellerBenutzer = u"Anna"_s;  // tips on (demo settings)
    const QByteArray einstellungen = inhalt(Registry::dateipfad());
    auto* f = zeigen();
    f->cboBenutzer()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(Formulare::geladen<frmHilfe>());
    auto tipp = [] { return Formulare::geladen<frmHilfe>()->lbTip()->text(); };
    QCOMPARE(tipp(), SprachText(zustand().Tippdatei, u"Tips"_s, u"71"_s));
    QTest::keyClick(f->cboBenutzer(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f->txtKennwort());
    QCOMPARE(tipp(), SprachText(zustand().Tippdatei, u"Tips"_s, u"72"_s));
    QVERIFY(!tipp().isEmpty());
    QTest::keyClick(f->txtKennwort(), Qt::Key_F1);
    QTest::mouseClick(element<QPushButton>(f, "cmdHilfe"), Qt::LeftButton);
    QCOMPARE(HilfeTest::aufrufe(), QList<int>({160, 160}));
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
    tippen(f->txtKennwort(), u"anna"_s);
    QTest::keyClick(f->txtKennwort(), Qt::Key_Escape);
    QVERIFY(!Formulare::geladen<frmBenutzer>());
    QVERIFY(!Formulare::geladen<frmHilfe>());
    QVERIFY(geoeffnet().isEmpty());
    QCOMPARE(inhalt(Registry::dateipfad()), einstellungen);
    QVERIFY(MeldungTest::gezeigt().isEmpty());
  }

  // --- a new user that cannot be created leaves nothing behind ------------------------------

  // The book exists, by the same name or in other letter case: refused before the prompt, the
  // file byte for byte as it was.
  void buchVorhanden_data() {
    QTest::addColumn<QString>("datei");
    QTest::newRow("gleicher Name") << "Carla.mdb";
    QTest::newRow("klein") << "carla.mdb";
    QTest::newRow("groß") << "CARLA.MDB";
  }
  void buchVorhanden() {
    QFETCH(QString, datei);
    const QByteArray fremd = "Haushaltsbuch von jemand anderem";
    schreiben(this->datei(datei), fremd);
    const QStringList vorher = benutzerZeilen();
    auto* f = zeigen();
    eingeben(f, u"Carla"_s, u"geheim"_s);
    QVERIFY(!ok(f, u"geheim"_s));
    QCOMPARE(meldung(), std::make_tuple(Text(3006), Text(3106), 48));
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
    QCOMPARE(inhalt(this->datei(datei)), fremd);
    QCOMPARE(benutzerZeilen(), vorher);
    QFile::remove(this->datei(datei));
    nichtsVon(u"Carla"_s);
  }

  // Something gets in the way while the password is being confirmed. The book of that name comes
  // up: refused, the file left alone. Another program keeps reading Daten.mdb, so that the row
  // cannot be committed after the book was put in place: every step is taken back, the settings
  // the key held before are back byte for byte.
  void anlageWirdZurueckgenommen_data() {
    QTest::addColumn<QString>("stoerung");
    QTest::newRow("Buch kommt dazwischen") << "Buch";
    QTest::newRow("Leser hält Daten.mdb") << "Leser";
  }
  void anlageWirdZurueckgenommen() {
    QFETCH(QString, stoerung);
    const QString schluessel = ProduktSchluessel + u"\\Carla"_s;
    QCOMPARE(RegistrySchreiben(HKCU, schluessel, u"ID"_s, 7, false), 0);
    QCOMPARE(RegistrySchreiben(HKCU, schluessel, u"Sprache"_s, u"Englisch"_s), 0);
    // The mode as OK will write it (Option3), so that the file itself can be compared.
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Benutzer"_s, u""_s), 0);
    QCOMPARE(RegistrySchreiben(HKCU, ProduktSchluessel, u"Standard"_s, u"0"_s), 0);
    const QByteArray einstellungen = inhalt(Registry::dateipfad());
    const QByteArray fremd = "kam dazwischen";
    const QString leser = u"leser"_s;
    const auto aufraeumen = qScopeGuard([&] { QSqlDatabase::removeDatabase(leser); });
    auto* f = zeigen();
    eingeben(f, u"Carla"_s, u"geheim"_s);
    QVERIFY(ok(f, u"geheim"_s, [&] {
      if (stoerung == u"Buch") {
        schreiben(datei(u"carla.MDB"_s), fremd);
        return;
      }
      // A read transaction holds its lock until it ends: the commit waits for it in vain.
      QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, leser);
      db.setDatabaseName(datei(u"Daten.mdb"_s));
      QVERIFY(db.open());
      QSqlQuery q(db);
      QVERIFY(q.exec(u"BEGIN"_s));
      QVERIFY(q.exec(u"SELECT count(*) FROM Benutzer"_s) && q.next());
    }));
    if (stoerung == u"Buch") {
      QCOMPARE(meldung(), std::make_tuple(Text(3006), Text(3106), 48));
      QCOMPARE(inhalt(datei(u"carla.MDB"_s)), fremd);
      QFile::remove(datei(u"carla.MDB"_s));
    } else {
      const auto [prompt, titel, stil] = meldung();
      QVERIFY2(prompt.startsWith(Text(3009) + u"\n\n"_s), qPrintable(prompt));
      QCOMPARE(stil, 16);
      QSqlDatabase::database(leser).rollback();
      QSqlDatabase::database(leser).close();
    }
    QCOMPARE(benutzerZeilen().size(), 2);
    QCOMPARE(RegistryLesen(HKCU, schluessel, u"ID"_s), QVariant(7));
    QCOMPARE(einstellung(u"Carla"_s, u"Sprache"_s), u"Englisch"_s);
    QCOMPARE(einstellung(u"Carla"_s, u"Schema"_s), u"<fehlt>"_s);
    QCOMPARE(inhalt(Registry::dateipfad()), einstellungen);
    QVERIFY(!QFileInfo::exists(datei(u"Carla.mdb"_s)));
    QCOMPARE(reste(), QStringList());
    QVERIFY(geoeffnet().isEmpty());
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
  }

  // A password with a character the coding cannot store would be stored empty and let anyone
  // in: refused before the prompt.
  void kennwortNichtKodierbar_data() {
    QTest::addColumn<QString>("kennwort");
    QTest::newRow("nicht in der Codepage") << u"łódź"_s;
    QTest::newRow("Zeichen") << u"ok ✓"_s;
    QTest::newRow("unter dem Versatz") << u"ab\u0007c"_s;
  }
  void kennwortNichtKodierbar() {
    QFETCH(QString, kennwort);
    auto* f = zeigen();
    eingeben(f, u"Carla"_s, {});
    f->txtKennwort()->setText(kennwort);
    QVERIFY(!ok(f, kennwort));
    QCOMPARE(meldung(), std::make_tuple(Text(3007), Text(3107), 48));
    QCOMPARE(benutzerZeilen().size(), 2);
    nichtsVon(u"Carla"_s);
  }

  // A name that cannot be a file name: refused with the reason, no file anywhere.
  void ungueltigerName_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Schrägstrich") << "a/b";
    QTest::newRow("nach oben") << "..\\x";
    QTest::newRow("Doppelpunkt") << "C:x";
    QTest::newRow("Gerät") << "lpt1";
    QTest::newRow("Gerät mit Endung") << "CON.txt";
    QTest::newRow("Gerät mit Endung, klein") << "nul.x";
    QTest::newRow("Gerät mit Leerzeichen") << "CON ";
    QTest::newRow("Gerät mit Leerzeichen und Endung") << "Com9 .log";
    QTest::newRow("Gerät hochgestellt") << u"LPT\u00B2"_s;
    QTest::newRow("Anführung") << "\"Carla\"";
    // The book's journal beside it would pass the 255 bytes of a file name.
    QTest::newRow("244 Bytes") << QString(122, u'ä');
    QTest::newRow("251 Bytes") << QString(251, u'a');
  }
  void ungueltigerName() {
    QFETCH(QString, name);
    // The parent is the shared temporary folder: what others left there is not this test's.
    const QDir oben(m_ordner->pfad() + u".."_s);
    const QStringList obenVorher = oben.entryList({u"*.mdb"_s});
    auto* f = zeigen();
    eingeben(f, name, u"geheim"_s);
    QVERIFY(!ok(f, u"geheim"_s));
    const auto [prompt, titel, stil] = meldung();
    QVERIFY(prompt.startsWith(Text(3009) + u"\n\n"_s));
    QVERIFY(prompt.size() > Text(3009).size() + 10);
    // A name too long says how long it may be.
    if (name.toUtf8().size() > Benutzeranlage::Namenslaenge)
      QVERIFY2(prompt.contains(u"243"_s), qPrintable(prompt));
    QCOMPARE(titel, Text(3109));
    QCOMPARE(stil, 16);
    QCOMPARE(benutzerZeilen().size(), 2);
    QCOMPARE(QDir(m_ordner->pfad()).entryList({u"*.mdb"_s}),
             QStringList({u"Anna.mdb"_s, u"Ben.mdb"_s, u"Daten.mdb"_s, u"unbenannt.mdb"_s}));
    QCOMPARE(oben.entryList({u"*.mdb"_s}), obenVorher);
    QCOMPARE(reste(), QStringList());
  }

  // The longest names a user may have, in bytes: created, and the book takes a booking (whose
  // journal has the longest file name of all).
  void laengsteNamen_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("243 Bytes") << QString(243, u'a');
    QTest::newRow("243 Bytes mit Umlauten") << QString(121, u'ü') + u'a';
  }
  void laengsteNamen() {
    QFETCH(QString, name);
    QCOMPARE(name.toUtf8().size(), Benutzeranlage::Namenslaenge);
    auto* f = zeigen();
    eingeben(f, name, u"geheim"_s);
    QVERIFY(ok(f, u"geheim"_s));
    QVERIFY2(MeldungTest::gezeigt().isEmpty(), qPrintable(std::get<0>(meldung())));
    QCOMPARE(geoeffnet().size(), 1);
    QCOMPARE(zustand().AktuellerBenutzer, name);
    Datensatzquelle Data1;
    QVERIFY(Data1.verbinden(zustand().Benutzerdatei));
    Buchung b;
    b.art = Buchungsart::Ausgabe;
    b.KontoName = u"Girokonto"_s;
    b.Datum = u"05.03.2024"_s;
    b.Betrag = b.BetragKonto = u"12,50"_s;
    b.Waehrung = u"EUR"_s;
    b.Kategorie = u"Lebensmittel"_s;
    const Buchungsergebnis e = BuchungSpeichern(Data1, b);
    QVERIFY2(e.ok(), qPrintable(e.grund));
    Data1.schliessen();
    QCOMPARE(zeilen(zustand().Benutzerdatei, u"SELECT ID, Kategorie FROM Buchungen"_s),
             QStringList({u"1|Lebensmittel"_s}));
  }

  // A failure at each step of the creation: the reason shown with 3009, nothing left behind.
  void anlageScheitert_data() {
    QTest::addColumn<QString>("fehler");
    QTest::newRow("Vorlage fehlt") << "Vorlage fehlt";
    QTest::newRow("Vorlage ohne Benutzer") << "Vorlage ohne Benutzer";
    QTest::newRow("Daten.mdb verweigert") << "Daten.mdb verweigert";
    QTest::newRow("Einstellungen nicht schreibbar") << "Einstellungen nicht schreibbar";
  }
  void anlageScheitert() {
    QFETCH(QString, fehler);
    const QString einstellungsordner = QFileInfo(Registry::dateipfad()).absolutePath();
    const auto aufraeumen = qScopeGuard([&] {
      if (QFileInfo(einstellungsordner).isFile())
        QFile::remove(einstellungsordner);
    });
    if (fehler == u"Vorlage fehlt") {
      QVERIFY(QFile::remove(datei(u"unbenannt.mdb"_s)));
    } else if (fehler == u"Vorlage ohne Benutzer") {
      QVERIFY(DemoDaten::sqlAusfuehren(datei(u"unbenannt.mdb"_s), u"DROP TABLE Benutzer"_s));
    } else if (fehler == u"Daten.mdb verweigert") {
      QVERIFY(DemoDaten::sqlAusfuehren(
          datei(u"Daten.mdb"_s),
          u"CREATE TRIGGER voll BEFORE INSERT ON Benutzer BEGIN SELECT RAISE(ABORT, 'Datenträger "
          u"voll'); END"_s));
    }
    auto* f = zeigen();
    if (fehler == u"Einstellungen nicht schreibbar") {
      // A file where the settings folder should be: no write gets through, also for root.
      QDir(einstellungsordner).removeRecursively();
      schreiben(einstellungsordner, "kein Ordner");
    }
    eingeben(f, u"Carla"_s, u"geheim"_s);
    QVERIFY(ok(f, u"geheim"_s));
    const auto [prompt, titel, stil] = meldung();
    QVERIFY2(prompt.startsWith(Text(3009) + u"\n\n"_s), qPrintable(prompt));
    QCOMPARE(titel, Text(3109));
    QCOMPARE(stil, 16);
    const bool einstellungen = fehler == u"Einstellungen nicht schreibbar";
    // Without settings the sign-in mode could not be saved either, and says so first.
    QCOMPARE(MeldungTest::gezeigt().size(), einstellungen ? 2 : 1);
    if (einstellungen) {
      const auto& modus = MeldungTest::gezeigt().constFirst();
      QVERIFY2(modus.prompt.startsWith(Text(3022) + u"\n\n"_s), qPrintable(modus.prompt));
      QVERIFY2(prompt.contains(u"schreibgeschützt"_s), qPrintable(prompt));
    }
    if (fehler == u"Daten.mdb verweigert")
      QVERIFY2(prompt.contains(u"Daten.mdb"_s), qPrintable(prompt));
    QCOMPARE(Formulare::geladen<frmBenutzer>(), f);
    QCOMPARE(zeilen(datei(u"Daten.mdb"_s), u"SELECT Benutzername FROM Benutzer"_s),
             QStringList({u"Anna"_s, u"Ben"_s}));
    nichtsVon(u"Carla"_s);
    QCOMPARE(zustand().AktuellerBenutzer, QString());
  }

  // The disk fills up while the template is copied (a child process whose files may not grow
  // beyond 16 KiB): no temporary copy, no book, no row, no settings.
  void platteVoll() {
    QProcess kind;
    kind.start(QStringLiteral(BENUTZER_KIND),
               {m_ordner->pfad(), u"Carla"_s, u"geheim"_s, u"16384"_s});
    QVERIFY(kind.waitForFinished(30000));
    QCOMPARE(kind.exitStatus(), QProcess::NormalExit);
    const QString ausgabe = QString::fromUtf8(kind.readAllStandardOutput());
    QCOMPARE(kind.exitCode(), 0);
    QVERIFY2(ausgabe.startsWith(u"Fehlgeschlagen\n"_s), qPrintable(ausgabe));
    QVERIFY2(ausgabe.contains(u"kopiert"_s), qPrintable(ausgabe));
    QCOMPARE(benutzerZeilen().size(), 2);
    nichtsVon(u"Carla"_s);
    // The same child without the limit creates the user.
    kind.start(QStringLiteral(BENUTZER_KIND), {m_ordner->pfad(), u"Carla"_s, u"geheim"_s, u"0"_s});
    QVERIFY(kind.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(kind.readAllStandardOutput()), u"Angelegt\n"_s);
    QCOMPARE(benutzerZeilen().size(), 3);
    QVERIFY(QFileInfo::exists(datei(u"Carla.mdb"_s)));
    QCOMPARE(einstellung(u"Carla"_s, u"Zamlotipp"_s), u"1"_s);
  }
};

VELMARK_TEST_MAIN(TestBenutzer)
#include "tst_benutzer.moc"
