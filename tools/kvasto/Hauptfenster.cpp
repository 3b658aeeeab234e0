#include "Hauptfenster.h"

#include "Anmeldepruefung.h"
#include "Buchungsseite.h"
#include "Datensatzquelle.h"
#include "Eingabedialog.h"
#include "Kontenseite.h"
#include "Kursseite.h"
#include "Werte.h"
#include "Zustand.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

Hauptfenster::Hauptfenster(const QString& programmordner)
    : m_ordner(programmordner), m_buch(programmordner + u"Daten.mdb"_s) {
  setObjectName(u"kvasto"_s);
  setWindowTitle(u"Velmark – Haushaltsbuch"_s);
  QIcon symbol;
  for (int groesse : {16, 32, 48, 64})
    symbol.addFile(m_ordner + u"velmark-%1.png"_s.arg(groesse));
  setWindowIcon(symbol);

  auto* layout = new QVBoxLayout(this);
  auto* zeile = new QHBoxLayout;
  auto* beschriftung = new QLabel(u"&Haushaltsbuch von:"_s, this);
  m_benutzer = new QComboBox(this);
  m_benutzer->setObjectName(u"cboBenutzer"_s);
  m_benutzer->setMinimumWidth(160);
  beschriftung->setBuddy(m_benutzer);
  auto* neuLesen = new QPushButton(u"&Aktualisieren"_s, this);
  neuLesen->setObjectName(u"cmdAktualisieren"_s);
  zeile->addWidget(beschriftung);
  zeile->addWidget(m_benutzer);
  zeile->addWidget(neuLesen);
  zeile->addStretch();
  layout->addLayout(zeile);

  m_hinweis = new QLabel(this);
  m_hinweis->setObjectName(u"lblHinweis"_s);
  m_hinweis->setWordWrap(true);
  layout->addWidget(m_hinweis);

  m_seiten = new QTabWidget(this);
  m_seiten->setObjectName(u"tabSeiten"_s);
  m_buchungen = new Buchungsseite(m_buch, m_seiten);
  m_konten = new Kontenseite(m_buch, m_seiten);
  m_kurse = new Kursseite(m_buch, m_seiten);
  m_seiten->addTab(m_buchungen, u"&Buchungen"_s);
  m_seiten->addTab(m_konten, u"&Konten"_s);
  m_seiten->addTab(m_kurse, u"&Wechselkurse"_s);
  layout->addWidget(m_seiten, 1);
  // A page chosen (Alt+B, Alt+K, Alt+W) puts the keyboard into its list.
  connect(m_seiten, &QTabWidget::currentChanged, this, [this](int seite) {
    static const char* const listen[] = {"tblBuchungen", "tblKonten", "tblKurse"};
    if (auto* liste =
            m_seiten->widget(seite)->findChild<QAbstractItemView*>(QLatin1String(listen[seite])))
      liste->setFocus(Qt::TabFocusReason);
  });

  connect(m_benutzer, &QComboBox::activated, this,
          [this](int i) { benutzerWaehlen(m_benutzer->itemText(i)); });
  connect(neuLesen, &QPushButton::clicked, this, &Hauptfenster::aktualisieren);
  new QShortcut(QKeySequence::Refresh, this, this, &Hauptfenster::aktualisieren);
  // A stored change: every page reads what it shows again.
  connect(m_buchungen, &Buchungsseite::geaendert, this, &Hauptfenster::aktualisieren);
  connect(m_konten, &Kontenseite::geaendert, this, &Hauptfenster::aktualisieren);
  connect(m_kurse, &Kursseite::geaendert, this, &Hauptfenster::aktualisieren);
  resize(1100, 720);

  benutzerLaden();
  // Once the window shows, so that a password prompt stands above it.
  QTimer::singleShot(0, this, [this] { benutzerWaehlen(m_benutzer->currentText()); });
}

Hauptfenster::~Hauptfenster() = default;

void Hauptfenster::benutzerLaden() {
  QStringList namen;
  Datensatzquelle q;
  q.verbinden(m_buch.daten());
  q.abfrageSetzen(Abfrage(u"Benutzer"_s));
  for (q.ersteZeile(); !q.eof(); q.naechsteZeile()) {
    const QVariant name = q.wert(u"Benutzername"_s);
    if (name.isValid() && !name.toString().isEmpty())
      namen.append(name.toString());
  }
  // The default user of the settings, as the tray program books for it.
  const QString standard = ProduktWert(u"Benutzer"_s);
  if (!standard.isEmpty() && !namen.contains(standard))
    namen.prepend(standard);
  const QSignalBlocker sperre(m_benutzer);
  m_benutzer->clear();
  m_benutzer->addItems(namen);
  for (const QString& n : {m_offenerBenutzer, standard}) {
    if (const int i = m_benutzer->findText(n); !n.isEmpty() && i >= 0) {
      m_benutzer->setCurrentIndex(i);
      break;
    }
  }
}

bool Hauptfenster::kennwortRichtig(const QString& name) {
  // As the tray program's sign-in checks it: the row of exactly that name, its decoded password.
  Datensatzquelle Data1;
  Data1.verbinden(m_buch.daten());
  Eingabedialog d(this, u"Kennwort für „%1“"_s.arg(name));
  auto* feld = d.textfeld(u"txtKennwort"_s, u"&Kennwort:"_s, QString());
  feld->setEchoMode(QLineEdit::Password);
  feld->setStyleSheet(u"lineedit-password-character: 42;"_s);
  d.beimSpeichern([&] {
    if (KennwortPasst(Data1, name, feld->text()))
      return Aenderung{};
    Aenderung e;
    e.art = Aenderung::Art::FalschesKennwort;
    e.feld = feld->objectName();
    return e;
  });
  return d.exec() == QDialog::Accepted;
}

bool Hauptfenster::benutzerWaehlen(const QString& name) {
  if (!name.isEmpty() && name == m_offenerBenutzer)
    return true;
  m_buchungen->buchGewechselt(nullptr, {});
  m_leser.reset();
  m_buch.buchSchliessen();
  m_offenerBenutzer.clear();
  m_hinweis->clear();
  setWindowTitle(u"Velmark – Haushaltsbuch"_s);
  const bool mitKennwort = Werte::zahl(ProduktWert(u"Kennwort"_s)).value_or(0) == 1;
  if (!name.isEmpty() && (!mitKennwort || kennwortRichtig(name))) {
    const QString pfad = m_ordner + name + u".mdb"_s;
    QString fehler;
    // Never made here: a missing book is the tray program's to create.
    if (!QFileInfo::exists(pfad))
      fehler =
          u"Das Haushaltsbuch „%1“ wurde nicht gefunden."_s.arg(QDir::toNativeSeparators(pfad));
    else if (m_buch.buchOeffnen(pfad, &fehler))
      m_offenerBenutzer = name;
    m_hinweis->setText(fehler);
  }
  if (!m_offenerBenutzer.isEmpty()) {
    m_leser = std::make_unique<Buchungsleser>(m_buch.buch());
    setWindowTitle(u"Velmark – Haushaltsbuch von %1"_s.arg(name));
  }
  m_buchungen->buchGewechselt(m_leser.get(), m_offenerBenutzer);
  allesLaden();
  // A book without an account can take no booking: the page to make one comes first.
  if (m_leser && m_konten->konten().isEmpty()) {
    m_seiten->setCurrentWidget(m_konten);
    m_konten->neuKnopf()->setFocus(Qt::OtherFocusReason);
  }
  return m_leser != nullptr;
}

void Hauptfenster::aktualisieren() {
  benutzerLaden();
  m_buchungen->laden();
  allesLaden();
}

void Hauptfenster::allesLaden() {
  QHash<QString, int> jeKonto;
  if (m_leser)
    m_leser->buchungenJeKonto(jeKonto);
  m_konten->laden(jeKonto);
  m_konten->setEnabled(m_leser != nullptr);
  m_kurse->laden();
  m_kurse->setEnabled(m_buch.daten().offen());
  hinweisSetzen();
  staendeMerken();
}

void Hauptfenster::hinweisSetzen() {
  QString text;
  if (!m_buch.daten().offen()) {
    text = u"Die Datei „Daten.mdb“ ließ sich nicht öffnen: "_s + m_buch.daten().fehler();
  } else if (m_benutzer->count() == 0) {
    text =
        u"Es ist noch kein Benutzer angelegt. Den ersten Benutzer legen Sie in der "
        "Schnellerfassung an: Rechtsklick auf ihr Symbol im Infobereich, „Ausgabe buchen“."_s;
  } else if (!m_leser) {
    // A reason given when the book was chosen stays.
    text = m_hinweis->text().isEmpty()
               ? u"Es ist kein Haushaltsbuch geöffnet. Wählen Sie oben einen Benutzer aus."_s
               : m_hinweis->text();
  } else if (m_konten->konten().isEmpty()) {
    text =
        u"Dieses Haushaltsbuch hat noch kein Konto. Legen Sie hier zuerst ein Konto an: "
        "ohne Konto kann die Schnellerfassung nichts buchen."_s;
    const auto& kurse = m_kurse->kurse();
    if (std::none_of(kurse.cbegin(), kurse.cend(), [](const Kurs& k) { return k.aktiv; }))
      text += u" Dazu brauchen Sie eine aktive Währung (Seite „Wechselkurse“)."_s;
  }
  m_hinweis->setText(text);
  m_hinweis->setVisible(!text.isEmpty());
}

void Hauptfenster::staendeMerken() {
  if (!m_datenLeser && m_buch.daten().offen())
    m_datenLeser = std::make_unique<Buchungsleser>(m_buch.daten());
  m_stand[0] = m_leser ? m_leser->datenstand() : std::nullopt;
  m_stand[1] = m_datenLeser ? m_datenLeser->datenstand() : std::nullopt;
}

bool Hauptfenster::fremdGeaendert() {
  const std::optional<qint64> buch = m_leser ? m_leser->datenstand() : std::nullopt;
  const std::optional<qint64> daten = m_datenLeser ? m_datenLeser->datenstand() : std::nullopt;
  return buch != m_stand[0] || daten != m_stand[1];
}

bool Hauptfenster::event(QEvent* ereignis) {
  // Back from the tray program: what it booked meanwhile shows at once.
  if (ereignis->type() == QEvent::WindowActivate && fremdGeaendert())
    QTimer::singleShot(0, this, &Hauptfenster::aktualisieren);
  return QWidget::event(ereignis);
}
