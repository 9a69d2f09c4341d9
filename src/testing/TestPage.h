#pragma once

#include "TestState.h"
#include "ui/Page.h"

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
    // The word lists are loaded: counters, first question, page 5 and the saved settings.
    void begin(const QString& caption);
    // Draws the next question and shows it; false when its trap stopped it.
    bool Generuj();
    void F5CmdOK_Click();
    void F5CmdStorno_Click();

    AnswerBox* answerBox() const;
    QLineEdit* questionBox() const;
    // A counter label's text, and its numeric value.
    QString counterText(const char* name) const;
    double counter(const char* name) const;

Q_SIGNALS:
    // Ctrl+Y in the answer box: the first-letter hint (0; 1 word length, 2 five options).
    void hintRequested(int hint);
    // No pair needs another answer.
    void finished(const TestOutcome& outcome);
    // The user confirmed leaving the test with Storno.
    void abandoned();

private:
    QLabel* label(const char* name) const;
    void startCounters(int pairCount, double repeats);
    void addToCounter(const char* name, double change);
    void applyWrongAnswer();
    void finishTest();

    AppState& m_state;
    Shell& m_shell;
};
