#pragma once
// Where a download is written: a temporary file beside the target, which replaces the target in
// one rename only once it is complete and on disk. Until then the target stays as it was; a
// discarded download leaves nothing behind, and what a killed run left is removed by the next.

#include <QFile>
#include <QString>
#include <memory>

class QTemporaryFile;

class DownloadZiel {
 public:
  DownloadZiel();
  ~DownloadZiel();  // discards an uncommitted file
  DownloadZiel(const DownloadZiel&) = delete;
  DownloadZiel& operator=(const DownloadZiel&) = delete;

  // Creates the temporary file for `ziel`, after removing leftovers of earlier runs.
  bool oeffnen(const QString& ziel, QString* fehler = nullptr);
  bool offen() const;
  bool anhaengen(const QByteArray& daten, QString* fehler = nullptr);
  qint64 geschrieben() const { return m_geschrieben; }

  // Flushes the file to disk, gives it the target's permissions (executable), renames it over
  // the target and flushes the folder. On failure the target is untouched and the file is gone.
  bool uebernehmen(QString* fehler = nullptr);
  // Closes and deletes the temporary file; the target is untouched.
  void verwerfen();

  // Temporary files of downloads to `ziel` that earlier runs left behind.
  static void resteEntfernen(const QString& ziel);
  static QString restMuster(const QString& ziel);

 private:
  std::unique_ptr<QTemporaryFile> m_datei;
  QString m_ziel;
  qint64 m_geschrieben = 0;
};
