// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// What the command line asks for, read before any window exists so that the answers on the
// terminal need no display.
struct CommandLine {
    enum class Action { Run, Help, Version, Refuse, Due, Import, Export };
    Action action = Action::Run;
    QString dataDir; // --data DIR, as given (empty when not given)
    QString message; // the Czech text to print for Help, Version and Refuse
    QDate dueDate;   // --due: the pairs due on or before this day (invalid: today)
    // --import FILE / --export TEXTBOOK FILE
    QString file;
    int textbook = 0;
    QString format;     // --format kvtml|csv|tsv|anki; empty: from the file's extension
    int foreignId = -1; // --foreign ID, --czech ID: KVTML identifiers (-1: preselected)
    int czechId = -1;
    QList<int> columns; // --columns A,B[,LESSON], 0-based here (1-based on the command line)

    static constexpr int kUsageExitCode = 2;
    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
};
