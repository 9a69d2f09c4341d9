// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "core/RoutineError.h"

#include <functional>

class QWidget;

// The text of trap number: "Chyba programu číslo: 4 (NaplnSlova)", a line break and the question.
QString trapMessage(int number, const QString& routine);

// Runs body; an error escaping it shows the trap's box (Yes/No, critical, title "NoName"), under
// the number of the error's own routine when it carries one.
// Yes calls endProgram; No lets the program run on. Returns false when the body was stopped.
bool runTrapped(QWidget* parent, int number, const QString& routine, const std::function<void()>& body,
                const std::function<void()>& endProgram);
