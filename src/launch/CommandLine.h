// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for, read before any window exists so that the answers on the
// terminal need no display.
struct CommandLine {
    enum class Action { Run, Help, Version, Refuse };
    Action action = Action::Run;
    QString dataDir; // --data DIR, as given (empty when not given)
    QString message; // the Czech text to print for Help, Version and Refuse

    static constexpr int kUsageExitCode = 2;
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
};
