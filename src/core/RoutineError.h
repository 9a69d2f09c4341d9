// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <stdexcept>

// A run-time error inside a guarded routine: the routine stops and an error trap reports it.
// An error raised in a routine with a trap of its own carries that trap's number and name, so
// the trap that catches it reports the routine where it arose.
class RoutineError : public std::runtime_error {
public:
    explicit RoutineError(const char* what, int trapNumber = 0, QString routine = QString())
        : std::runtime_error(what), m_trapNumber(trapNumber), m_routine(std::move(routine)) {}

    int trapNumber() const { return m_trapNumber; }
    const QString& routine() const { return m_routine; }

private:
    int m_trapNumber;
    QString m_routine;
};
