#pragma once

#include "TestState.h"
#include "ui/Page.h"

struct AppState;
class Shell;

// Page 6: the outcome of a finished test; each finished test also adds a line to "Zkouseni.txt".
class ResultsPage : public Page {
    Q_OBJECT
public:
    ResultsPage(AppState& state, Shell& shell, QWidget* parent = nullptr);
    // The end of a test: totals, rate and worst pair, the log record, page 6.
    void showResults(const TestOutcome& outcome);
    void F6Cmd1_Click();
    void F6Cmd2_Click();

private:
    void appendRecord(const QString& caption);

    AppState& m_state;
    Shell& m_shell;
};
