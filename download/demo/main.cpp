// A small host for trying the Downloader by hand: address, time-out, a button and the result.
// The running clock shows that the host stays responsive while DownloadText waits.

#include "Downloader.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);

  QWidget fenster;
  fenster.setWindowTitle(QStringLiteral("Downloader ausprobieren"));
  auto* downloader = new Downloader(&fenster);
  auto* adresse = new QLineEdit(QStringLiteral("http://127.0.0.1:8000/"), &fenster);
  auto* zeitlimit = new QSpinBox(&fenster);
  zeitlimit->setRange(-32768, 32767);
  zeitlimit->setValue(Downloader::StandardTimeoutSeconds);
  zeitlimit->setSuffix(QStringLiteral(" s"));
  auto* laden = new QPushButton(QStringLiteral("&Laden"), &fenster);
  auto* info = new QPushButton(QStringLiteral("&Info ..."), &fenster);
  auto* ergebnis = new QLabel(&fenster);
  auto* uhr = new QLabel(&fenster);
  auto* text = new QPlainTextEdit(&fenster);
  text->setReadOnly(true);

  auto* formular = new QFormLayout;
  formular->addRow(QStringLiteral("&Adresse:"), adresse);
  formular->addRow(QStringLiteral("&Zeitlimit:"), zeitlimit);
  auto* knoepfe = new QHBoxLayout;
  knoepfe->addWidget(downloader);
  knoepfe->addStretch();
  knoepfe->addWidget(uhr);
  knoepfe->addWidget(info);
  knoepfe->addWidget(laden);
  auto* spalte = new QVBoxLayout(&fenster);
  spalte->addLayout(formular);
  spalte->addLayout(knoepfe);
  spalte->addWidget(ergebnis);
  spalte->addWidget(text, 1);

  QTimer takt;
  QObject::connect(&takt, &QTimer::timeout, uhr, [uhr] {
    uhr->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")));
  });
  takt.start(100);

  QObject::connect(laden, &QPushButton::clicked, &fenster, [=] {
    QString url = adresse->text();
    qint16 sekunden = qint16(zeitlimit->value());
    ergebnis->setText(QStringLiteral("Lädt ..."));
    const QVariant wert = downloader->DownloadText(url, sekunden);
    if (!wert.isValid()) {
      ergebnis->setText(QStringLiteral("Kein Wert: ein früherer Abruf läuft noch."));
      return;
    }
    const QString inhalt = wert.toString();
    ergebnis->setText(QStringLiteral("%1 Zeichen erhalten.").arg(inhalt.size()));
    text->setPlainText(inhalt);
  });
  QObject::connect(info, &QPushButton::clicked, downloader, &Downloader::ShowAboutBox);

  fenster.resize(560, 420);
  fenster.show();
  return app.exec();
}
