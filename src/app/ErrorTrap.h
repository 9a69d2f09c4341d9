#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

class QWidget;

// A run-time error inside a guarded routine: the routine stops and its trap reports it.
class RoutineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text of trap number: "Chyba programu číslo: 4 (NaplnSlova)", a line break and the question.
QString trapMessage(int number, const QString& routine);

// Runs body; an error escaping it shows the trap's box (Yes/No, critical, title "NoName").
// Yes calls endProgram; No lets the program run on. Returns false when the body was stopped.
bool runTrapped(QWidget* parent, int number, const QString& routine, const std::function<void()>& body,
                const std::function<void()>& endProgram);
