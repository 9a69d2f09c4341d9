#pragma once

#include "TestPages.h"
#include "app/Page.h"

struct AppState;
class Shell;

// Page 6: the outcome of a finished test; each finished test also adds a line to "Zkouseni.txt".
class ResultsPage : public Page {
    Q_OBJECT
public:
    ResultsPage(AppState& state, Shell& shell, QWidget* parent = nullptr);
    void setPages(const TestPages& pages) { m_pages = pages; }

    // The end of a test: totals, rate and worst pair from the test page, the log record, page 6.
    void showResults();
    void F6Cmd1_Click();
    void F6Cmd2_Click();

private:
    void appendRecord();

    AppState& m_state;
    Shell& m_shell;
    TestPages m_pages;
};
