#pragma once
// The main of every Qt Test executable: before the application starts, the settings store and
// the runtime folder point into a fresh temporary folder, and widgets render offscreen unless a
// display was asked for. Use VELMARK_TEST_MAIN(Klasse) instead of QTEST_MAIN.

#include <QApplication>
#include <QTest>

namespace TestUmgebung {

// Creates the temporary folder and sets XDG_CONFIG_HOME, XDG_RUNTIME_DIR, HOME-independent
// paths; returns the folder. Called once per process, before QApplication.
QString vorbereiten();
// The temporary folder of this process.
QString ordner();
// Removes the settings file, so the next test starts from a fresh settings store.
void einstellungenLeeren();

}  // namespace TestUmgebung

#define VELMARK_TEST_MAIN(Klasse)                        \
  int main(int argc, char* argv[]) {                     \
    TestUmgebung::vorbereiten();                         \
    QApplication app(argc, argv);                        \
    app.setAttribute(Qt::AA_Use96Dpi, true);             \
    Klasse test;                                         \
    QTEST_SET_MAIN_SOURCE_PATH                           \
    return QTest::qExec(&test, argc, argv);              \
  }
