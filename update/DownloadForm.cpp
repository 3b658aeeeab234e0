#include "DownloadForm.h"

#include "Antwortkopf.h"
#include "DownloadZiel.h"
#include "Meldung.h"
#include "UpdateFormate.h"
#include "UpdateModul.h"
#include "UpdateVersion.h"
#include "Werte.h"
#include "ui_DownloadForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <algorithm>
#include <climits>

namespace {

void nachrichtenVerarbeiten() {
  QCoreApplication::processEvents();
}

}  // namespace

DownloadForm::DownloadForm(QWidget* parent) : QDialog(parent), ui(new Ui::DownloadForm) {
  ui->setupUi(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QFont schrift(QStringLiteral("Tahoma"));
  schrift.setStyleHint(QFont::SansSerif);
  setFont(schrift);
  // Room for the progress text's four lines, so that the window does not jump when it appears.
  const QFontMetrics masse(schrift);
  ui->StatusLabel->setMinimumHeight(masse.lineSpacing() * 3);
  ui->StatusLabel2->setMinimumHeight(masse.lineSpacing() * 4);
  connect(ui->CancelButton, &QPushButton::clicked, this, &DownloadForm::CancelButton_Click);
  // The hourglass of the check shows on the window's surface only; over the controls, and so
  // over the cancel button, the pointer stays an arrow.
  for (QWidget* steuerelement : findChildren<QWidget*>())
    steuerelement->setCursor(Qt::ArrowCursor);

  setWindowTitle(UpdateText(1688));
  updateZustand().DownloadErfolgreich = false;
}

DownloadForm::~DownloadForm() = default;

void DownloadForm::UpdatePruefen() {
  UpdateZustand& z = updateZustand();
  setCursor(Qt::WaitCursor);
  // Every way out of the check ends here; the news question and the download run before.
  auto ende = [this] { unsetCursor(); };
  auto fehler = [&] {
    unsetCursor();
    UpdateMeldungNr(1663, 1664, 16);
  };

  const auto version = m_inet.textHolen(z.UpdateAdresse + QStringLiteral("programm.ver"));
  if (!version)
    return fehler();
  NeueVersion = Versionstext(*version);
  ProgrammversionEinlesen();
  if (NeueVersion.isEmpty())
    return ende();
  if (!istNeuer(NeueVersion, AlteVersion)) {
    UpdateMeldungNr(1661, 1662, 64);
    return ende();
  }
  const auto neuigkeiten = m_inet.textHolen(z.UpdateAdresse + QStringLiteral("news.txt"));
  if (!neuigkeiten)
    return fehler();
  Neuigkeiten = *neuigkeiten;
  const auto auszug = NeuigkeitenAuszug(Neuigkeiten, AlteVersion);
  if (!auszug)
    return fehler();
  const QString titel =
      UpdateText(1695) + u' ' + AlteVersion + u' ' + UpdateText(1696) + u' ' + NeueVersion;
  if (UpdateMeldung(*auszug, titel, 4) == Antwort::Ja)
    UpdateHolen(*this);
  ende();
}

void DownloadForm::ProgrammversionEinlesen() {
  AlteVersion = versionsdateiLesen(Versionsdatei());
}

bool DownloadForm::ProgrammversionSchreiben(QString* fehler) {
  return versionsdateiSchreiben(Versionsdatei(), NeueVersion, fehler);
}

void DownloadForm::DownloadFile(const QString& strURL, const QString& strDestination,
                                const QString& UserName, const QString& Password) {
  UpdateZustand& z = updateZustand();
  m_abbruch = false;
  const QString name = ReturnFileOrFolder(strDestination, true, false);
  const QString ordner = ReturnFileOrFolder(strURL, false, true);
  show();
  m_film.stop();
  m_film.setFileName(z.Programmordner + QStringLiteral("download.gif"));
  // A missing clip leaves the place empty; the download does not depend on it.
  if (m_film.isValid()) {
    ui->Animation1->setMovie(&m_film);
    m_film.jumpToFrame(0);
  }
  ui->StatusLabel2->setText(Anzeige(UpdateText(1665)));
  nachrichtenVerarbeiten();

  if (const auto fehler = m_inet.ausfuehren(strURL, UserName, Password))
    fehlerBeimEinrichten(*fehler);
  ui->StatusLabel->setText(Anzeige(UpdateText(1666) + QStringLiteral("\r\r") + name + u' ' +
                                   UpdateText(1667) + u' ' + OrdnerKurz(ordner)));
  QElapsedTimer uhr;
  uhr.start();
  const Fortschrittstexte texte = Fortschrittstexte::lesen();

  qint64 total = 0;
  qint64 i = 0;
  qint64 laenge = 0;
  bool holen = false;
  DownloadZiel datei;
  bool schreibfehler = false;

  // "Go to the final check": a cancel while waiting or during the body.
  bool zurPruefung = false;
  if (m_inet.nochAktiv()) {
    m_inet.aufKopfWarten();
    zurPruefung = m_abbruch;
  }
  if (!zurPruefung) {
    const Antwortkopf kopf =
        Antwortkopf::lesen(m_inet.kopfzeilen(), m_inet.kopfzeile(QStringLiteral("Content-Length")));
    switch (kopf.art) {
      case Antwortkopf::Art::OhneStatus:
        hide();
        UpdateMeldung(UpdateText(1672) + QStringLiteral("\r\r") + UpdateText(1673),
                      UpdateText(1674), 48);
        break;
      case Antwortkopf::Art::Ok:
        laenge = kopf.laenge;
        total = kopf.kilobyte;
        holen = total != 0;
        break;
      case Antwortkopf::Art::NichtBerechtigt:
        hide();
        UpdateMeldungNr(1668, 1669, 16);
        break;
      case Antwortkopf::Art::NichtGefunden:
        hide();
        UpdateMeldungNr(1670, 1671, 16);
        break;
      case Antwortkopf::Art::Andere:
        hide();
        UpdateMeldung(UpdateText(1675) + QStringLiteral("\r\r") + kopf.statuszeile,
                      UpdateText(1664), 16);
        break;
    }
  }

  if (holen) {
    ui->ProgressBar->setValue(0);
    ui->ProgressBar->setMaximum(static_cast<int>(std::min<qint64>(total, INT_MAX)));
    if (m_film.isValid())
      m_film.start();
    nachrichtenVerarbeiten();

    if (m_inet.fehlercode() == 0) {
      if (!datei.oeffnen(strDestination)) {
        schreibfehler = true;
        UpdateMeldungNr(1680, 1664, 16);
      }
      QByteArray block = schreibfehler ? QByteArray() : m_inet.naechsterBlock(1024);
      while (!block.isEmpty()) {
        if (!datei.anhaengen(block)) {
          // The file cannot be complete any more: said once, and the transfer stops.
          schreibfehler = true;
          UpdateMeldungNr(1680, 1664, 16);
          break;
        }
        block = m_inet.naechsterBlock(1024);
        if (m_abbruch) {
          zurPruefung = true;
          break;
        }
        ++i;
        if (i < total) {
          if (const auto text = Fortschrittstext(i, total, uhr.nsecsElapsed() / 1e9, texte))
            ui->StatusLabel2->setText(Anzeige(*text));
          ui->ProgressBar->setValue(static_cast<int>(std::min<qint64>(i, INT_MAX)));
          ui->lbpercent->setText(
              Werte::formatieren(static_cast<double>(i) / static_cast<double>(total), u"##0%"));
        }
      }
    }
    if (!zurPruefung) {
      ui->StatusLabel2->setText(QString());
      nachrichtenVerarbeiten();
    }
  }

  // Complete means every announced byte arrived and was written, not only the rounded count of
  // kilobytes; then the file replaces the target in one step.
  const bool vollstaendig = total != 0 && i >= total && !m_abbruch && !schreibfehler &&
                            m_inet.fehlercode() == 0 && datei.offen() &&
                            datei.geschrieben() == laenge;
  if (vollstaendig) {
    if (datei.uebernehmen()) {
      ui->StatusLabel->setText(Anzeige(UpdateText(1678)));
      z.DownloadErfolgreich = true;
    } else {
      UpdateMeldungNr(1680, 1664, 16);
      z.DownloadErfolgreich = false;
    }
  } else if (total != 0) {
    datei.verwerfen();
    if (!m_abbruch && !schreibfehler) {
      ui->StatusLabel->setText(Anzeige(UpdateText(1679)));
      UpdateMeldungNr(1679, 1664, 16);
    }
    z.DownloadErfolgreich = false;
  } else {
    ui->StatusLabel->setText(Anzeige(UpdateText(1678)));
    z.DownloadErfolgreich = false;
  }

  m_inet.abbrechen();
  nachrichtenVerarbeiten();
  entladen();
  nachrichtenVerarbeiten();
}

void DownloadForm::fehlerBeimEinrichten(const QString& beschreibung) {
  m_abbruch = true;
  m_inet.abbrechen();
  UpdateMeldung(QStringLiteral("Fehler: ") + beschreibung + QStringLiteral(" aufgetreten."),
                UpdateText(1664), 16);
  nachrichtenVerarbeiten();
}

void DownloadForm::abbrechenAnfordern() {
  m_abbruch = true;
  m_inet.unterbrechen();
}

void DownloadForm::CancelButton_Click() {
  abbrechenAnfordern();
  entladen();
}

void DownloadForm::entladen() {
  m_film.stop();
  hide();
}

void DownloadForm::closeEvent(QCloseEvent* ereignis) {
  abbrechenAnfordern();
  m_film.stop();
  ereignis->accept();
}

void DownloadForm::reject() {
  CancelButton_Click();
}
