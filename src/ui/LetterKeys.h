// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>

class QEvent;
class QKeyEvent;
class QLineEdit;

// The Ctrl keys that type German letters into the answer box and the pair boxes: Ctrl+S "ß",
// Ctrl+A, Ctrl+O, Ctrl+U "ä", "ö", "ü" (with Shift "Ä", "Ö", "Ü") and Ctrl+Q "'". Decided by key and
// modifiers: platforms disagree on a Ctrl key's text ("a" or "\x01").
namespace LetterKeys {

// Ctrl, with or without Shift. Ctrl+Alt is AltGr on Windows, which types the letters of the
// keyboard's third level, so it does not count.
bool isControlChord(const QKeyEvent& event);
// The letter a key types; null for every other key.
QChar letter(const QKeyEvent& event);
// For a line edit's event(): takes a letter key before the line edit's own shortcuts (select all,
// delete the line, ...) and the window's can, and types its letter at the caret or over the
// selection. Returns whether the event was such a key.
bool take(QLineEdit& box, QEvent* event);

} // namespace LetterKeys
