// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestPage.h"

#include "core/AppState.h"
#include "core/TestEngine.h"
#include "ui/AnswerBox.h"
#include "ui/ErrorTrap.h"
#include "ui/HintWindow.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace {

// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"F5LblJaz1", Kind::Label, 240, 210, 7200, 300, "Výraz v českém jazyce:"},
    {"F5TxtJaz1", Kind::TextBox, 240, 540, 7200, 420},
    {"F5LblJaz2", Kind::Label, 240, 1170, 7200, 300, "Výraz v cizím jazyce:"},
    {"F5TxtJaz2", Kind::TextBox, 240, 1500, 7200, 420},
    {"F5CmdOK", Kind::Button, 3930, 2130, 1710, 480, "OK"},
    {"F5CmdStorno", Kind::Button, 5730, 2130, 1710, 480, "Storno"},
    {"F5Ln", Kind::Line, 240, 2910, 7200, 15},
    {"F5Lbl(0)", Kind::Label, 240, 3150, 4800, 300, "Slov v lekci:"},
    {"F5LblCelkem", Kind::Label, 5100, 3150, 1500, 300, "0"},
    {"F5Lbl(1)", Kind::Label, 240, 3540, 4800, 300, "Ke zkoušení (včetně opakování):"},
    {"F5LblZkouset", Kind::Label, 5100, 3540, 1500, 300, "0"},
    {"F5Lbl(2)", Kind::Label, 240, 3930, 4800, 300, "Správné odpovědi:"},
    {"F5LblSpravne", Kind::Label, 5100, 3930, 1500, 300, "0"},
    {"F5Lbl(3)", Kind::Label, 240, 4320, 4800, 300, "Špatné odpovědi:"},
    {"F5LblSpatne", Kind::Label, 5100, 4320, 1500, 300, "0"},
    {"F5Lbl(4)", Kind::Label, 240, 4710, 4800, 300, "Zbývá vyzkoušet:"},
    {"F5LblZbyva", Kind::Label, 5100, 4710, 1500, 300, "0"},
};

QWidget* createAnswerBox(const ControlSpec& row, QWidget* parent) {
    if (QLatin1String(row.name) == QLatin1String("F5TxtJaz2"))
        return new AnswerBox(parent);
    return nullptr;
}

} // namespace

TestPage::TestPage(AppState& state, Shell& shell, QWidget* parent)
    : Page(PageId::Test, QStringLiteral("Zkoušení"), parent), m_state(state), m_session(state.test), m_shell(shell) {
    m_controls.build(this, kControls, createAnswerBox);
    bindControls();
    // The question can be read and copied, never typed over.
    m_question->setReadOnly(true);
    m_question->setFocusPolicy(Qt::ClickFocus);
    setBold(m_remaining, true);
    setLineColor(m_controls["F5Ln"], QColor(200, 200, 200));
    connect(m_answer, &AnswerBox::enterPressed, this, &TestPage::F5CmdOK_Click);
    connect(m_answer, &AnswerBox::firstLetterRequested, this, [this] { Q_EMIT hintRequested(HintKind::FirstLetter); });
    connect(m_ok, &QPushButton::clicked, this, &TestPage::F5CmdOK_Click);
    connect(m_storno, &QPushButton::clicked, this, &TestPage::F5CmdStorno_Click);
}

void TestPage::showEvent(QShowEvent* event) {
    // The boxes' larger type is set when the page first shows: a line edit lays out its text as soon
    // as its font changes, which would load a font that start-up has no use for.
    if (!std::exchange(m_boxesSized, true)) {
        for (QLineEdit* box : {m_question, static_cast<QLineEdit*>(m_answer)})
            setPointSize(box, 12);
    }
    Page::showEvent(event);
}

void TestPage::bindControls() {
    m_questionLanguage = m_controls.get<QLabel>("F5LblJaz1");
    m_question = m_controls.get<QLineEdit>("F5TxtJaz1");
    m_answerLanguage = m_controls.get<QLabel>("F5LblJaz2");
    m_answer = m_controls.get<AnswerBox>("F5TxtJaz2");
    m_ok = m_controls.get<QPushButton>("F5CmdOK");
    m_storno = m_controls.get<QPushButton>("F5CmdStorno");
    m_pairs = m_controls.get<QLabel>("F5LblCelkem");
    m_asked = m_controls.get<QLabel>("F5LblZkouset");
    m_right = m_controls.get<QLabel>("F5LblSpravne");
    m_wrong = m_controls.get<QLabel>("F5LblSpatne");
    m_remaining = m_controls.get<QLabel>("F5LblZbyva");
}

void TestPage::showCounts() {
    m_pairs->setText(QString::number(m_session.pairCount()));
    m_asked->setText(QString::number(m_session.asked()));
    m_right->setText(QString::number(m_session.right()));
    m_wrong->setText(QString::number(m_session.wrong()));
    m_remaining->setText(QString::number(m_session.remaining()));
}

void TestPage::begin(const QString& caption) {
    start(caption, TestKind::Lesson, {});
}

void TestPage::beginReview(const QString& caption, const QList<TestEngine::Direction>& directions) {
    start(caption, TestKind::Review, directions);
}

void TestPage::beginPractice(const QString& caption, const QList<TestEngine::Direction>& directions) {
    start(caption, TestKind::Practice, directions);
}

void TestPage::start(const QString& caption, TestKind kind, const QList<TestEngine::Direction>& directions) {
    const TestSettings& settings = m_session.settings();
    setCaption(caption);
    m_shell.showProgress(70, 100);
    m_session.begin(caption, kind, directions);
    showCounts();
    if (!drawQuestion()) {
        m_shell.showProgress(0, 0);
        m_shell.showPage(PageId::TestSetup);
        return;
    }
    m_shell.showPage(PageId::Test);
    if (kind == TestKind::Lesson)
        MessageBox::reportWrite(m_shell.dialogParent(), SavedTestSettings::write(m_state.dir, settings));
    m_shell.setQuickClickHintsEnabled(settings.level != Level::Hard);
    m_shell.showQuickClickPage(QuickClickPage::TestHints);
    m_shell.showProgress(0, 0);
}

bool TestPage::drawQuestion() {
    return runTrapped(
        m_shell.dialogParent(), 3, QStringLiteral("Generuj"),
        [this] {
            m_session.drawQuestion(m_state.rng);
            m_answer->clear();
            m_question->setText(m_session.shownAlternatives().join(QStringLiteral(", ")));
            m_question->setCursorPosition(0);
            m_questionLanguage->setText(TestEngine::questionLanguage(m_session.direction()));
            m_answerLanguage->setText(TestEngine::answerLanguage(m_session.direction()));
            // A screen reader names the boxes by the language asked, which changes with each question.
            m_question->setAccessibleName(m_questionLanguage->text().chopped(1));
            m_answer->setAccessibleName(m_answerLanguage->text().chopped(1));
            m_answer->setFocus(); // the answer is typed straight away
        },
        [this] { m_shell.endProgram(); });
}

void TestPage::F5CmdOK_Click() {
    const QString list = m_session.expectedAlternatives().join(QStringLiteral(", "));
    const Verdict verdict = m_session.answer(m_answer->text());
    Q_EMIT answerJudged(m_session.pair(), m_session.direction(), verdict);
    if (verdict.way == Verdict::Way::QuickAnswer)
        HintWindow::showFeedback(m_shell.dialogParent(), QStringLiteral("Rychlá odpověď"), QColor(0, 0, 255),
                                 QStringLiteral("Slovo:"), list);
    else if (!verdict.right())
        HintWindow::showFeedback(m_shell.dialogParent(), QStringLiteral("Chyba"), QColor(255, 0, 0),
                                 QStringLiteral("Správně:"), list);
    showCounts(); // as the verdict has counted them

    if (!m_session.finished())
        drawQuestion();
    else
        Q_EMIT finished(m_session.outcome());
    m_answer->clear();
}

void TestPage::F5CmdStorno_Click() {
    if (!MessageBox::confirm(m_shell.dialogParent(), QStringLiteral("Opravdu chcete ukončit lekci?"),
                             MessageBox::Icon::Exclamation))
        return;
    Q_EMIT abandoned();
    m_shell.showPage(PageId::MainMenu);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
}
