// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// What the command line asks for, read before any window exists so that the answers on the
// terminal need no display.
struct CommandLine {
    enum class Action { Run, Help, Version, Refuse, Due };
    Action action = Action::Run;
    QString dataDir; // --data DIR, as given (empty when not given)
    QString message; // the Czech text to print for Help, Version and Refuse
    QDate dueDate;   // --due: the pairs due on or before this day (invalid: today)

    static constexpr int kUsageExitCode = 2;
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
};
