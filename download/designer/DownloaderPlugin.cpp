#include "DownloaderPlugin.h"

#include "Downloader.h"

#include <QIcon>

DownloaderPlugin::DownloaderPlugin(QObject* parent) : QObject(parent) {}

QString DownloaderPlugin::name() const {
  return QStringLiteral("Downloader");
}

QString DownloaderPlugin::group() const {
  return QStringLiteral("Tervick");
}

QString DownloaderPlugin::toolTip() const {
  return QStringLiteral("Lädt den Text einer http://-Adresse");
}

QString DownloaderPlugin::whatsThis() const {
  return QStringLiteral(
      "Downloader: DownloadText(URL, TimeoutSeconds) liefert den Text einer http://-Adresse.");
}

QString DownloaderPlugin::includeFile() const {
  return QStringLiteral("Downloader.h");
}

QIcon DownloaderPlugin::icon() const {
  return QIcon(QStringLiteral(":/download/downloader-logo.png"));
}

bool DownloaderPlugin::isContainer() const {
  return false;
}

QWidget* DownloaderPlugin::createWidget(QWidget* parent) {
  return new Downloader(parent);
}

bool DownloaderPlugin::isInitialized() const {
  return initialisiert;
}

void DownloaderPlugin::initialize(QDesignerFormEditorInterface*) {
  initialisiert = true;
}

QString DownloaderPlugin::domXml() const {
  const QSize groesse = Downloader::festeGroesse();
  return QStringLiteral(
             "<ui language=\"c++\">\n"
             " <widget class=\"Downloader\" name=\"Downloader1\">\n"
             "  <property name=\"geometry\">\n"
             "   <rect><x>0</x><y>0</y><width>%1</width><height>%2</height></rect>\n"
             "  </property>\n"
             " </widget>\n"
             "</ui>\n")
      .arg(groesse.width())
      .arg(groesse.height());
}
