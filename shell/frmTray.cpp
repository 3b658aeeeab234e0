#include "frmTray.h"

#include "Bildliste.h"
#include "Buchungsfenster.h"
#include "Buchungsmeldung.h"
#include "Einzelinstanz.h"
#include "CoolMenu.h"
#include "HelpCallBack.h"
#include "Programm.h"
#include "Meldung.h"
#include "Registry.h"
#include "SpracheAnwenden.h"
#include "Tastenkuerzel.h"
#include "Werte.h"
#include "Zustand.h"
#include "ui_frmTray.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#ifndef VELMARK_VERSION
#define VELMARK_VERSION "1.0.0"
#endif

QString frmTray::programmordnerVorgabe;

namespace {

// The room for the icon's tip, as the notification area keeps it (63 characters and the end).
constexpr int TippLaenge = 63;

// A picture from the program folder, or the copy built into the program when it is missing.
QString bilddatei(const QString& name) {
  const QString datei = zustand().Programmordner + name;
  return QFileInfo::exists(datei) ? datei : QStringLiteral(":/bilder/") + name;
}

// "Kennwort" and "Standard" are compared as numbers; missing or no number counts as 0.
double alsZahl(const QString& text) {
  return Werte::zahl(text).value_or(0.0);
}

QAction* menuEintrag(QMenu* menu, const char* name, const char* tag) {
  auto* a = menu->addAction(QString());
  a->setObjectName(QString::fromLatin1(name));
  a->setProperty("Tag", QString::fromLatin1(tag));
  return a;
}

void trenner(QMenu* menu, const char* name) {
  menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

void modalZeigen(const QString& name) {
  QPointer<Formular> form = Formulare::laden(name);
  if (form)
    form->exec();
}

}  // namespace

frmTray::frmTray() : ui(new Ui::frmTray) {
  ui->setupUi(this);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  connect(ui->Command1, &QPushButton::clicked, this, &QWidget::hide);
  m_hinweis = new QLabel(this);
  m_hinweis->setObjectName(QStringLiteral("lblHinweis"));
  m_hinweis->setWordWrap(true);
  m_hinweis->hide();
  if (auto* rahmen = qobject_cast<QBoxLayout*>(layout()))
    rahmen->insertWidget(rahmen->indexOf(ui->Label1) + 1, m_hinweis);
  menuAufbauen();
  Buchungsmelder& melder = Buchungsmelder::instanz();
  connect(&melder, &Buchungsmelder::letzteGeaendert, this, &frmTray::zuruecknehmenZeigen);
  connect(&melder, &Buchungsmelder::gebucht, this, [this] {
    if (const auto& letzte = Buchungsmelder::instanz().letzte())
      benachrichtigen(3150, letzte->text);
  });
  zuruecknehmenZeigen();
}

frmTray::~frmTray() {
  m_kuerzel.reset();
  delete ui;
}

void frmTray::menuAufbauen() {
  m_mnuThing = new QMenu(this);
  m_mnuThing->setObjectName(QStringLiteral("mnuThing"));
  m_starten = menuEintrag(m_mnuThing, "mnuVelmark_Starten", "146");
  trenner(m_mnuThing, "Sep3");
  auto* einnahme = menuEintrag(m_mnuThing, "mnuEinnahme_Buchen", "147");
  auto* ausgabe = menuEintrag(m_mnuThing, "mnuAusgabe_Buchen", "148");
  // Only while this session has a booking to take back.
  m_zuruecknehmen = menuEintrag(m_mnuThing, "mnuZuruecknehmen", "3300");
  m_zuruecknehmen->setVisible(false);
  trenner(m_mnuThing, "Sep2");
  auto* info = menuEintrag(m_mnuThing, "mnuInfo", "149");
  trenner(m_mnuThing, "Sep");
  auto* schliessen = menuEintrag(m_mnuThing, "mnuClose", "150");
  m_mnuThing->setDefaultAction(m_starten);

  // Queued: a command may open a modal dialog, which must not run inside the menu's handler.
  connect(m_starten, &QAction::triggered, this, &frmTray::mnuVelmark_Starten, Qt::QueuedConnection);
  connect(einnahme, &QAction::triggered, this, &frmTray::mnuEinnahme_Buchen, Qt::QueuedConnection);
  connect(ausgabe, &QAction::triggered, this, &frmTray::mnuAusgabe_Buchen, Qt::QueuedConnection);
  connect(info, &QAction::triggered, this, &frmTray::mnuInfo, Qt::QueuedConnection);
  connect(m_zuruecknehmen, &QAction::triggered, this, &frmTray::mnuZuruecknehmen,
          Qt::QueuedConnection);
  connect(schliessen, &QAction::triggered, this, &frmTray::mnuClose, Qt::QueuedConnection);
}

void frmTray::beimLaden() {
  if (andereInstanzLaeuft()) {
    entladen();
    return;
  }
  zustandStarten(
      programmordnerVorgabe.isEmpty() ? ProgrammordnerErmitteln() : programmordnerVorgabe,
      QDate::currentDate());
  SpracheAnwenden(ProduktWert(QStringLiteral("Sprache")));
  setWindowTitle(Text(842));

  QIcon symbol;
  for (int groesse : {16, 32, 48, 64})
    symbol.addFile(bilddatei(QStringLiteral("velmark-%1.png").arg(groesse)));
  setWindowIcon(symbol);
  // Every window of the program shows the product's icon in its title bar and the task bar.
  QApplication::setWindowIcon(symbol);

  m_trayDaten = new QSystemTrayIcon(windowIcon(), this);
  m_trayDaten->setObjectName(QStringLiteral("TrayDaten"));
  m_trayDaten->setToolTip(windowTitle().left(TippLaenge));
  connect(m_trayDaten, &QSystemTrayIcon::activated, this, &frmTray::symbolAktiviert);
  m_trayDaten->show();

  // The hidden information window's contents after the icon: laying out its rich text loads the
  // font database, which the icon need not wait for.
  ui->Picture1->setPixmap(QPixmap(bilddatei(QStringLiteral("info.png"))));
  ui->Label1->setText(QStringLiteral("<b>%1</b><br>Version %2<br>Einnahmen und Ausgaben in "
                                     "wenigen Schritten buchen.")
                          .arg(windowTitle().toHtmlEscaped(), QStringLiteral(VELMARK_VERSION)));

  layout()->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();
  if (QScreen* schirm = screen()) {
    const QRect s = schirm->geometry();
    move(s.x() + (s.width() - width()) / 2, s.y() + (s.height() - height()) / 2);
  }
  MenuPictures();
  TastenkuerzelAnmelden();
}

void frmTray::MenuPictures() {
  m_helpObj = new HelpCallBack(this);
  m_helpObj->setObjectName(QStringLiteral("HelpObj"));
  // One picture per item; its Tag is the item's caption, so the engine's prefix match finds it
  // whatever the language file calls the items.
  m_imageList1 = new Bildliste(this);
  m_imageList1->setObjectName(QStringLiteral("ImageList1"));
  const QList<QPair<const char*, const char*>> bilder = {
      {"mnuVelmark_Starten", "menu-starten.png"}, {"mnuEinnahme_Buchen", "menu-einnahme.png"},
      {"mnuAusgabe_Buchen", "menu-ausgabe.png"},  {"mnuZuruecknehmen", "menu-zuruecknehmen.png"},
      {"mnuInfo", "menu-info.png"},               {"mnuClose", "menu-beenden.png"}};
  for (const auto& [name, datei] : bilder) {
    if (auto* eintrag = findChild<QAction*>(QLatin1String(name)))
      m_imageList1->laden(zustand().Programmordner + QLatin1String(datei), eintrag->text());
  }
  InstallCoolMenu(this, m_helpObj, m_imageList1, false);
  // Tahoma where the system has it, otherwise the system's own sans face.
  const QString tahoma = QStringLiteral("Tahoma");
  MenuFontName(this, QFontDatabase::hasFamily(tahoma)
                         ? tahoma
                         : QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
  MenuFontSize(this, 8);
}

void frmTray::beimEntladen() {
  if (m_trayDaten)
    m_trayDaten->hide();
  m_mnuThing->hide();
}

void frmTray::symbolAktiviert(QSystemTrayIcon::ActivationReason grund) {
  switch (grund) {
    case QSystemTrayIcon::Context:
      menuZeigen(QCursor::pos());
      break;
    case QSystemTrayIcon::DoubleClick:
      mnuVelmark_Starten();
      break;
    default:
      break;
  }
}

// The menu opens with its right edge at the mouse, as the notification area sits at the right.
void frmTray::menuZeigen(const QPoint& ort) {
  m_mnuThing->setDefaultAction(m_starten);
  // Converted now rather than when it is about to show, so that its width is the drawn one.
  ConvertMenu(this, m_mnuThing, true, false);
  m_mnuThing->ensurePolished();
  const int breite = m_mnuThing->sizeHint().width();
  m_mnuThing->popup(QPoint(ort.x() - breite, ort.y()));
}

void frmTray::mnuVelmark_Starten() {
  HauptprogrammStarten(zustand().Programmordner);
}

void frmTray::mnuEinnahme_Buchen() {
  buchen(QStringLiteral("Einnahme"), QStringLiteral("frmEinnahme"));
}

void frmTray::mnuAusgabe_Buchen() {
  buchen(QStringLiteral("Ausgabe"), QStringLiteral("frmAusgabe"));
}

void frmTray::buchen(const QString& art, const QString& buchungsdialog) {
  Zustand& z = zustand();
  z.Buchungsart = art;
  if (alsZahl(ProduktWert(QStringLiteral("Kennwort"))) == 1) {
    modalZeigen(QStringLiteral("frmBenutzer"));
    return;
  }
  if (alsZahl(ProduktWert(QStringLiteral("Standard"))) == 0) {
    modalZeigen(QStringLiteral("frmAnmeldung"));
    return;
  }
  const QString benutzer = ProduktWert(QStringLiteral("Benutzer"));
  const QString datei = z.Programmordner + benutzer + QStringLiteral(".mdb");
  if (!BenutzerwechselZulassen(benutzer, datei))
    return;
  z.AktuellerBenutzer = benutzer;
  z.Benutzerdatei = datei;
  Formulare::nichtModalZeigen(buchungsdialog);
}

void frmTray::mnuInfo() { nachVorneHolen(this); }

void frmTray::benachrichtigen(int titel, const QString& text) {
  if (!m_trayDaten || !m_trayDaten->isVisible() || !QSystemTrayIcon::supportsMessages())
    return;
  Buchungsmelder::instanz().benachrichtigt(text);
  m_trayDaten->showMessage(Text(titel), text, QSystemTrayIcon::Information);
}

void frmTray::zuruecknehmenZeigen() {
  m_zuruecknehmen->setVisible(Buchungsmelder::instanz().letzte().has_value());
}

void frmTray::mnuZuruecknehmen() {
  Buchungsmelder& melder = Buchungsmelder::instanz();
  if (!melder.letzte())
    return;
  const QString text = melder.letzte()->text;
  if (Meldung(Text(3051).replace(QStringLiteral("%1"), text), Text(3151), 36, 3051, 3151) !=
      Antwort::Ja)
    return;
  // The question may have waited while another booking was stored: that one is the last now,
  // and it is not what the user agreed to.
  if (!melder.letzte() || melder.letzte()->text != text)
    return;
  const Ruecknahme r = melder.letzte()->zuruecknehmen();
  switch (r.status) {
    case Ruecknahme::Status::Zurueckgenommen:
      melder.vergessen();
      benachrichtigen(3152, Text(3052).replace(QStringLiteral("%1"), text));
      return;
    case Ruecknahme::Status::Veraendert:
      // It is the main program's now; nothing is left to take back.
      melder.vergessen();
      MeldungNr(3053, 3153, 48);
      return;
    case Ruecknahme::Status::NichtMoeglich:
      // Stays offered, so that the user can try again.
      MeldungNr(3054, 3154, 16, r.grund);
      return;
  }
}

void frmTray::TastenkuerzelAnmelden() {
  // The per-user key of the user the tray books for; before any default user, the key every user
  // shares until a sign-in.
  const QString schluessel = BenutzerSchluessel(ProduktWert(QStringLiteral("Benutzer")));
  const QVariant an = RegistryLesen(HKCU, schluessel, QStringLiteral("Tastenkuerzel"));
  if (an.isValid() && Werte::zahl(an.toString()).value_or(1) == 0)
    return;
  m_kuerzel = Tastenkuerzel::erzeugen();
  if (!m_kuerzel)
    return;
  connect(m_kuerzel.get(), &Tastenkuerzel::ausgeloest, this, [this](int nummer) {
    if (nummer == 1)
      mnuAusgabe_Buchen();
    else
      mnuEinnahme_Buchen();
  }, Qt::QueuedConnection);
  QStringList besetzt;
  const struct {
    int nummer;
    const char* name;
    const char* vorgabe;
    int befehl;  // the caption of the menu command it runs
  } kuerzel[] = {{1, "TastenkuerzelAusgabe", "Ctrl+Alt+A", 148},
                 {2, "TastenkuerzelEinnahme", "Ctrl+Alt+E", 147}};
  for (const auto& k : kuerzel) {
    const QVariant wert = RegistryLesen(HKCU, schluessel, QString::fromLatin1(k.name));
    // An empty text turns this one shortcut off.
    const QString text = wert.isValid() ? wert.toString() : QString::fromLatin1(k.vorgabe);
    if (text.trimmed().isEmpty())
      continue;
    const QKeySequence folge = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (m_kuerzel->anmelden(k.nummer, folge))
      continue;
    const QString name = folge.isEmpty() ? text : folge.toString(QKeySequence::NativeText);
    besetzt.append(Text(3055)
                       .replace(QStringLiteral("%1"), name)
                       .replace(QStringLiteral("%2"), Text(k.befehl).remove(u'&')));
  }
  if (besetzt.isEmpty())
    return;
  // Said once, in the information window: never a box that stops the start.
  m_hinweis->setText(besetzt.join(u'\n'));
  m_hinweis->show();
  adjustSize();
  mnuInfo();
}

void frmTray::mnuClose() {
  Formulare::alleEntladen();
}

bool frmTray::schliessenErlaubt() {
  hide();
  return false;
}

void frmTray::reject() {
  hide();
}

void frmTray::changeEvent(QEvent* ereignis) {
  Formular::changeEvent(ereignis);
  // Minimised, the information window goes away instead of waiting in the task bar.
  if (ereignis->type() == QEvent::WindowStateChange && isMinimized()) {
    QTimer::singleShot(0, this, [this] {
      setWindowState(windowState() & ~Qt::WindowMinimized);
      hide();
    });
  }
}
