#pragma once
// Context help: the help file Hilfedatei (one HTML file, one anchor per context number) opened at
// a context number in the program's help window.

#include <QList>

// Opens the help window at the topic of `kontext`, or brings it to the front and scrolls it there
// when it is open already. A missing file or topic shows the window with a short note instead.
void HilfeZeigen(int kontext);

// Tests see every help call here; the window opens all the same.
namespace HilfeTest {

const QList<int>& aufrufe();
void vergessen();

}  // namespace HilfeTest
