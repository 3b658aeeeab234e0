#include "Buchungsliste.h"

#include "Registry.h"
#include "Werte.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const AbfrageBenutzer = "SELECT Benutzername FROM Benutzer ORDER BY Benutzername";
const char* const AbfrageBuchungen =
    "SELECT ID, Datum, KontoName, Buchung, Empfaenger, Auftraggeber, Kategorie, "
    "Verwendungszweck, Betrag, Waehrung, Einnahme, Ausgabe FROM Buchungen ORDER BY Datum, ID";

enum Spalte {
  Nr,
  Datum,
  Konto,
  Art,
  Partner,
  Kategorie,
  Zweck,
  Betrag,
  Waehrung,
  Einnahme,
  Ausgabe
};

// One read-only connection per call; closed again at once, so the tray program can always write.
class Lesezugang {
 public:
  explicit Lesezugang(const QString& datei) : m_name(QStringLiteral("kvasto-lesen")) {
    auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(datei);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    m_offen = QFileInfo::exists(datei) && db.open();
  }
  ~Lesezugang() {
    { QSqlDatabase::database(m_name, false).close(); }
    QSqlDatabase::removeDatabase(m_name);
  }
  bool offen() const { return m_offen; }
  QSqlQuery abfrage(const char* sql) const {
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    q.setForwardOnly(true);
    q.exec(QString::fromLatin1(sql));
    return q;
  }

 private:
  QString m_name;
  bool m_offen = false;
};

QString datumText(const QVariant& wert) {
  if (wert.isNull())
    return {};
  const auto d = Werte::datum(wert.toString());
  return d ? Werte::datumText(*d) : wert.toString();
}

QString betragText(const QVariant& wert) {
  if (wert.isNull() || wert.toString().isEmpty())
    return {};
  return Werte::formatieren(wert.toDouble(), Werte::Betragsformat);
}

// The income and expense columns leave the other kind's 0 blank.
QString seiteText(const QVariant& wert) {
  return wert.toDouble() == 0.0 ? QString() : betragText(wert);
}

}  // namespace

Buchungsliste::Buchungsliste(const QString& programmordner) : m_ordner(programmordner) {
  setWindowTitle(QStringLiteral("Velmark – Haushaltsbuch"));
  QIcon symbol;
  for (int groesse : {16, 32, 48, 64})
    symbol.addFile(m_ordner + QStringLiteral("velmark-%1.png").arg(groesse));
  setWindowIcon(symbol);
  auto* layout = new QVBoxLayout(this);
  auto* zeile = new QHBoxLayout;
  auto* beschriftung = new QLabel(QStringLiteral("&Haushaltsbuch von:"), this);
  m_benutzer = new QComboBox(this);
  m_benutzer->setObjectName(QStringLiteral("cboBenutzer"));
  m_benutzer->setMinimumWidth(160);
  beschriftung->setBuddy(m_benutzer);
  auto* aktualisieren = new QPushButton(QStringLiteral("&Aktualisieren"), this);
  zeile->addWidget(beschriftung);
  zeile->addWidget(m_benutzer);
  zeile->addWidget(aktualisieren);
  zeile->addStretch();
  layout->addLayout(zeile);

  m_hinweis = new QLabel(this);
  m_hinweis->setObjectName(QStringLiteral("lblHinweis"));
  layout->addWidget(m_hinweis);

  m_tabelle = new QTableWidget(0, 11, this);
  m_tabelle->setObjectName(QStringLiteral("tblBuchungen"));
  m_tabelle->setHorizontalHeaderLabels(
      {QStringLiteral("Nr."), QStringLiteral("Datum"), QStringLiteral("Konto"),
       QStringLiteral("Art"), QStringLiteral("Empfänger / Auftraggeber"),
       QStringLiteral("Kategorie"), QStringLiteral("Verwendungszweck"), QStringLiteral("Betrag"),
       QStringLiteral("Währung"), QStringLiteral("Einnahme"), QStringLiteral("Ausgabe")});
  m_tabelle->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_tabelle->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_tabelle->setAlternatingRowColors(true);
  m_tabelle->verticalHeader()->hide();
  m_tabelle->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(m_tabelle);

  connect(m_benutzer, &QComboBox::currentTextChanged, this, &Buchungsliste::buchungenLaden);
  connect(aktualisieren, &QPushButton::clicked, this, &Buchungsliste::buchungenLaden);
  new QShortcut(QKeySequence::Refresh, this, this, &Buchungsliste::buchungenLaden);
  resize(980, 480);
  benutzerLaden();
}

// The users of the shared data file; the default user of the settings comes first.
void Buchungsliste::benutzerLaden() {
  QStringList namen;
  {
    Lesezugang daten(m_ordner + QStringLiteral("Daten.mdb"));
    if (daten.offen()) {
      QSqlQuery q = daten.abfrage(AbfrageBenutzer);
      while (q.next())
        namen.append(q.value(0).toString());
    }
  }
  const QString standard =
      RegistryLesen(HKCU, ProduktSchluessel, QStringLiteral("Benutzer")).toString();
  if (!standard.isEmpty() && !namen.contains(standard, Qt::CaseInsensitive))
    namen.prepend(standard);
  const QSignalBlocker sperre(m_benutzer);
  m_benutzer->addItems(namen);
  const int standardZeile = m_benutzer->findText(standard, Qt::MatchFixedString);
  m_benutzer->setCurrentIndex(standardZeile >= 0 ? standardZeile : 0);
  buchungenLaden();
}

void Buchungsliste::buchungenLaden() {
  m_tabelle->setRowCount(0);
  const QString benutzer = m_benutzer->currentText();
  if (benutzer.isEmpty()) {
    m_hinweis->setText(QStringLiteral("Es ist noch kein Benutzer angelegt."));
    return;
  }
  setWindowTitle(QStringLiteral("Velmark – Haushaltsbuch von %1").arg(benutzer));
  const QString datei = m_ordner + benutzer + QStringLiteral(".mdb");
  Lesezugang buch(datei);
  if (!buch.offen()) {
    m_hinweis->setText(QStringLiteral("Das Haushaltsbuch „%1“ wurde nicht gefunden.")
                           .arg(benutzer + QStringLiteral(".mdb")));
    return;
  }
  QSqlQuery q = buch.abfrage(AbfrageBuchungen);
  if (q.lastError().isValid()) {
    m_hinweis->setText(QStringLiteral("Die Buchungen konnten nicht gelesen werden."));
    return;
  }
  auto zelle = [&](int zeile, int spalte, const QString& text, bool rechts = false) {
    auto* item = new QTableWidgetItem(text);
    if (rechts)
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_tabelle->setItem(zeile, spalte, item);
  };
  int zeile = 0;
  while (q.next()) {
    m_tabelle->insertRow(zeile);
    const QString partner =
        q.value(4).toString().isEmpty() ? q.value(5).toString() : q.value(4).toString();
    zelle(zeile, Nr, q.value(0).toString(), true);
    zelle(zeile, Datum, datumText(q.value(1)));
    zelle(zeile, Konto, q.value(2).toString());
    zelle(zeile, Art, q.value(3).toString());
    zelle(zeile, Partner, partner);
    zelle(zeile, Kategorie, q.value(6).toString());
    zelle(zeile, Zweck, q.value(7).toString());
    zelle(zeile, Betrag, betragText(q.value(8)), true);
    zelle(zeile, Waehrung, q.value(9).toString());
    zelle(zeile, Einnahme, seiteText(q.value(10)), true);
    zelle(zeile, Ausgabe, seiteText(q.value(11)), true);
    ++zeile;
  }
  m_hinweis->setText(zeile == 1 ? QStringLiteral("1 Buchung")
                                : QStringLiteral("%1 Buchungen").arg(zeile));
  m_tabelle->resizeColumnsToContents();
}
