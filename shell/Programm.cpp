#include "Programm.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QTranslator>

QString mitTrenner(const QString& ordner) {
  const QString native = QDir::fromNativeSeparators(ordner);
  return native.endsWith(u'/') ? native : native + u'/';
}

void HauptprogrammStarten(const QString& programmordner) {
  QProcess::startDetached(mitTrenner(programmordner) + Hauptprogramm, {});
}

QString ProgrammordnerErmitteln() { return mitTrenner(QCoreApplication::applicationDirPath()); }

void deutscheOberflaeche() {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  auto* qt = new QTranslator(QCoreApplication::instance());
  if (qt->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(qt);
  else
    delete qt;
}
