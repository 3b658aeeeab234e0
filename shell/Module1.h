#pragma once
// Field helpers the entry dialogs share, and the window helpers of the tip window.

#include <QMargins>
#include <QRect>
#include <QtGlobal>
#include <initializer_list>
#include <optional>

class QLineEdit;
class QWidget;

// The gap between a dialog and the tip window beside it, in pixels.
inline constexpr int FensterAbstand = 8;

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

// The first of the places that, moved into `frei` where it sticks out, lies on the screen clear of
// `fest`; none when every one touches it.
std::optional<QRect> ErsterFreierOrt(std::initializer_list<QRect> orte, const QRect& frei,
                                     const QRect& fest);

// The frame the window manager puts around a window: its own once it has one, else that of the
// active window, else a usual title bar and border. A window not shown yet has no frame to ask.
QMargins Fensterrahmen(const QWidget* fenster);

// For the load handler of a dialog that shows tips, or that opens above one, once its size is
// final: centred on the screen, and with the user's tips on placed so that the tip window does
// not cover it. A tip window already showing stays where it is and the dialog goes beside it (to
// its left, else its right, else as far from it as the screen allows); otherwise the dialog
// leaves the tip window room on its right, where the first tip appears.
void TippfensterPlatzLassen(QWidget* dialog);

// For the unload handler of a dialog that shows tips: the tip window goes too, without the
// question and without touching the setting.
void TippfensterEntladen();
