#pragma once
// The update program's only window: the version check runs on it while it is hidden, and
// DownloadFile shows it while it fetches one file with progress and a cancel button.

#include "Uebertragung.h"

#include <QDialog>
#include <QMovie>
#include <QString>
#include <memory>

namespace Ui {
class DownloadForm;
}

class DownloadForm : public QDialog {
  Q_OBJECT

 public:
  // Load: caption, and no download has completed yet.
  explicit DownloadForm(QWidget* parent = nullptr);
  ~DownloadForm() override;

  // Compares the installed with the offered version, asks with the news whether to update and
  // runs the update; every outcome ends in a message except an empty offered version.
  void UpdatePruefen();
  void ProgrammversionEinlesen();
  // False, with the reason in `fehler`, when the version file could not be written.
  bool ProgrammversionSchreiben(QString* fehler = nullptr);

  // Fetches strURL into strDestination. Sets DownloadErfolgreich when the whole body arrived and
  // replaced the target; the window is closed when it returns.
  void DownloadFile(const QString& strURL, const QString& strDestination, const QString& UserName,
                    const QString& Password);

  QString NeueVersion;
  QString AlteVersion;
  QString Neuigkeiten;

  bool abbruch() const { return m_abbruch; }

 protected:
  void closeEvent(QCloseEvent* ereignis) override;
  // Esc cancels like the cancel button.
  void reject() override;

 private:
  void CancelButton_Click();
  void abbrechenAnfordern();
  // Error handling of the request's set-up: the run is cancelled and the error shown.
  void fehlerBeimEinrichten(const QString& beschreibung);
  void entladen();

  std::unique_ptr<Ui::DownloadForm> ui;
  Uebertragung m_inet;
  QMovie m_film;
  bool m_abbruch = false;
};
