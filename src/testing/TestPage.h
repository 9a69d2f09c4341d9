// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/TestSession.h"
#include "ui/Page.h"

struct AppState;
class AnswerBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Shell;

// Page 5: the test itself. Shows the question and the counts of the test session, hands it the
// answers and hands over to the results page when no pair needs another answer.
class TestPage : public Page {
    Q_OBJECT
public:
    TestPage(AppState& state, Shell& shell, QWidget* parent = nullptr);
    // The word lists are loaded: counters, first question, page 5 and the saved settings.
    void begin(const QString& caption);
    // The same for a review of due pairs, each asked the way it is due; the test setup's saved
    // settings are not its own, so they stay as they are.
    void beginReview(const QString& caption, const QList<TestEngine::Direction>& directions);
    // The same for a practice of the pairs missed in the test just finished (in their directions, if
    // that test fixed them).
    void beginPractice(const QString& caption, const QList<TestEngine::Direction>& directions);
    // Draws the next question and shows it; false when its trap stopped it.
    bool drawQuestion();
    void F5CmdOK_Click();
    void F5CmdStorno_Click();

    AnswerBox* answerBox() const { return m_answer; }
    QLineEdit* questionBox() const { return m_question; }

protected:
    void showEvent(QShowEvent* event) override;

Q_SIGNALS:
    // Ctrl+Y in the answer box: the first-letter hint (0; 1 word length, 2 five options).
    void hintRequested(HintKind hint);
    // An answer was judged (before any feedback is shown).
    void answerJudged(int pair, TestEngine::Direction direction, const Verdict& verdict);
    // No pair needs another answer.
    void finished(const TestOutcome& outcome);
    // The user confirmed leaving the test with Storno.
    void abandoned();

private:
    void bindControls();
    void showCounts();
    void start(const QString& caption, TestKind kind, const QList<TestEngine::Direction>& directions);

    AppState& m_state;
    TestSession& m_session;
    Shell& m_shell;
    QLabel* m_questionLanguage = nullptr;
    QLineEdit* m_question = nullptr;
    QLabel* m_answerLanguage = nullptr;
    AnswerBox* m_answer = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_storno = nullptr;
    // The counters.
    QLabel* m_pairs = nullptr;     // pairs in the lesson
    QLabel* m_asked = nullptr;     // answers to ask for, repetitions included
    QLabel* m_right = nullptr;     // right answers
    QLabel* m_wrong = nullptr;     // wrong answers
    QLabel* m_remaining = nullptr; // answers still needed
    bool m_boxesSized = false;
};
