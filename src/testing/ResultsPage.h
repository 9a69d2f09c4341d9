// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/TestSession.h"
#include "ui/Page.h"

struct AppState;
class QLabel;
class QLineEdit;
class QPushButton;
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
    // "Procvičit chybná slovíčka": the pairs missed in the test just finished become the word lists.
    void F6CmdProcvicit_Click();

    static inline const QString kPracticeSuffix = QStringLiteral(" - procvičení");

Q_SIGNALS:
    // The missed pairs are loaded: their test can begin under this caption, in these directions
    // (none: drawn as the settings say).
    void practiceLoaded(const QString& caption, const QList<TestEngine::Direction>& directions);

private:
    void bindControls();
    void appendRecord(const TestOutcome& outcome, int rate);
    // Both buttons leave the results for another page.
    void leaveFor(PageId page);

    AppState& m_state;
    Shell& m_shell;
    QLabel* m_rate = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_right = nullptr;
    QLabel* m_wrong = nullptr;
    QLineEdit* m_worstPair = nullptr;
    QLabel* m_savedNote = nullptr; // Label2: whether the record reached the log
    QPushButton* m_toMenu = nullptr;
    QPushButton* m_again = nullptr;
    QPushButton* m_practise = nullptr;
    TestOutcome m_outcome; // of the test shown
};
