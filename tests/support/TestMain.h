#pragma once
// The main of every Qt Test executable: before the application starts, the settings store and
// the runtime folder point into a fresh temporary folder, and widgets render offscreen unless a
// display was asked for. Use VELMARK_TEST_MAIN(Klasse) instead of QTEST_MAIN.
//
// A run in which a test function was skipped (QSKIP) and none failed ends with
// TestUmgebung::Ausgelassen, which CTest reports as skipped (SKIP_RETURN_CODE), never as passed.
// The temporary folder is removed at the end, also after failures; VELMARK_TEST_BEHALTEN=1 keeps
// it and prints where it is.

#include <QApplication>
#include <QTest>

namespace TestUmgebung {

// The exit code of a run that skipped a test and failed none; velmark_add_test registers it.
inline constexpr int Ausgelassen = 77;

// Creates the temporary folder and sets XDG_CONFIG_HOME, XDG_RUNTIME_DIR, HOME-independent
// paths; returns the folder. Called once per process, before QApplication.
QString vorbereiten();
// The temporary folder of this process.
QString ordner();
// Removes the settings file, so the next test starts from a fresh settings store.
void einstellungenLeeren();
// Whether VELMARK_TEST_BEHALTEN asks to keep the temporary folders of the run.
bool behalten();
// QTest::qExec with the skip noted (see above).
int ausfuehren(QObject& test, int argc, char* argv[]);
// Keeps the temporary folder when asked to (it is removed at exit otherwise); returns ergebnis.
int abschliessen(int ergebnis);

}  // namespace TestUmgebung

#define VELMARK_TEST_MAIN(Klasse)                                  \
  int main(int argc, char* argv[]) {                               \
    TestUmgebung::vorbereiten();                                   \
    int ergebnis = 0;                                              \
    {                                                              \
      QApplication app(argc, argv);                                \
      app.setAttribute(Qt::AA_Use96Dpi, true);                     \
      Klasse test;                                                 \
      QTEST_SET_MAIN_SOURCE_PATH                                   \
      ergebnis = TestUmgebung::ausfuehren(test, argc, argv);       \
    }                                                              \
    return TestUmgebung::abschliessen(ergebnis);                   \
  }
