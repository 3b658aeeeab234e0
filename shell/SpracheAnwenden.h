#pragma once

#include <QString>

// Captions every loaded form from the language file of the language value `Sprache`: each object
// whose "Tag" holds a number (read as a 16-bit whole number, so "0146" is text 146) gets that
// text as its caption. Objects without a caption (input fields, whose Tag is a tip key) and Tags
// that are no number are skipped.
void SpracheAnwenden(const QString& Sprache);
