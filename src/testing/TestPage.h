#pragma once

#include "TestPages.h"
#include "app/Page.h"

struct AppState;
class AnswerBox;
class QLabel;
class QLineEdit;
class Shell;

// Page 5: the test itself. Shows one side of the drawn pair, judges the answer, keeps the counters
// in its labels and hands over to the results page when no pair needs another answer.
class TestPage : public Page {
    Q_OBJECT
public:
    TestPage(AppState& state, Shell& shell, QWidget* parent = nullptr);
    void setPages(const TestPages& pages) { m_pages = pages; }

    // The counters at the start of a test.
    void startCounters(int pairCount, double repeats);
    // Draws the next question and shows it; false when its trap stopped it.
    bool Generuj();
    void F5CmdOK_Click();
    void F5CmdStorno_Click();
    // The hints of the QuickClick window: 0 first letter, 1 word length, 2 five options.
    void runHint(int hint);

    AnswerBox* answerBox() const;
    QLineEdit* questionBox() const;
    // A counter label's text, and its numeric value.
    QString counterText(const char* name) const;
    double counter(const char* name) const;

private:
    QLabel* label(const char* name) const;
    void addToCounter(const char* name, double change);
    void applyWrongAnswer();
    void finishTest();

    AppState& m_state;
    Shell& m_shell;
    TestPages m_pages;
};
