#pragma once
// Field helpers the entry dialogs share, and the window helpers of the tip window.

#include <QtGlobal>

class QLineEdit;
class QWidget;

// Checks and normalises a date field when it loses the focus: an empty field passes; a text of
// exactly ten characters whose last four do not sort below "1000" and that is a valid date is
// rewritten as "dd.mm.yyyy"; anything else is refused with message 1655/1656, the field shows
// the start-up date again and gets the focus back.
void DatumsfeldPruefen(QLineEdit* Feld);

// For the got-focus handler of every input field: a text box selects its whole text, and when
// the user's "Zamlotipp" is exactly "1" the tip window shows the tip of the focused control's
// Tag, on top and without taking the focus.
void FeldFokus();

// Runs FeldFokus whenever `feld` gets the focus (its got-focus handler).
void FeldFokusVerbinden(QWidget* feld);

// Shows a window above all others at its own position and size, without activating it.
void ObenZeigen(QWidget* form);

// Twips to pixels (15 twips per logical pixel), rounded to the nearest whole number.
void TwipsInPixel(qint16& x, qint16& y);

// For the unload handler of a dialog that shows tips: the tip window goes too, without the
// question and without touching the setting.
void TippfensterEntladen();
