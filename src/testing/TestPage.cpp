#include "TestPage.h"

#include "core/AppState.h"
#include "core/TestEngine.h"
#include "store/TextRoutines.h"
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
    : Page(PageId::Test, QStringLiteral("Zkoušení"), parent), m_state(state), m_shell(shell) {
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

QString TestPage::counterText(const char* name) const {
    return m_controls.get<QLabel>(QString::fromUtf8(name))->text();
}
double TestPage::counter(const char* name) const {
    return valueOf(m_controls.get<QLabel>(QString::fromUtf8(name)));
}
double TestPage::valueOf(const QLabel* counter) {
    return numericValue(counter->text());
}

void TestPage::addToCounter(QLabel* label, double change) {
    label->setText(plainNumber(valueOf(label) + change));
}

void TestPage::startCounters(int pairCount, double repeats) {
    m_pairs->setText(plainNumber(pairCount));
    m_remaining->setText(plainNumber(repeats * pairCount));
    m_wrong->setText(QStringLiteral("0"));
    m_right->setText(QStringLiteral("0"));
    m_asked->setText(plainNumber(repeats * pairCount));
}

void TestPage::begin(const QString& caption) {
    const TestSettings& settings = m_state.testSettings;
    setCaption(caption);
    m_shell.showProgress(70, 100);
    startCounters(m_state.wordLists.PairCount, settings.Repeats);
    m_state.wordLists.setAllRemaining(settings.Repeats);
    if (!drawQuestion()) {
        m_state.selectionDone = false;
        m_shell.showProgress(0, 0);
        m_shell.showPage(PageId::TestSetup);
        return;
    }
    m_shell.showPage(PageId::Test);
    const IoStatus saved = SavedTestSettings::write(m_state.dir, settings, settings.HalfAnswer == 1);
    MessageBox::reportWrite(m_shell.dialogParent(), saved);
    m_shell.setQuickClickHintsEnabled(settings.Level != 2);
    m_shell.showQuickClickPage(QuickClickPage::TestHints);
    m_shell.showProgress(0, 0);
}

bool TestPage::drawQuestion() {
    return runTrapped(
        m_shell.dialogParent(), 3, QStringLiteral("Generuj"),
        [this] {
            const WordLists& words = m_state.wordLists;
            m_state.currentPair = TestEngine::drawPair(words, m_state.rng);
            m_question->clear();
            m_answer->clear();
            m_state.direction = TestEngine::drawDirection(m_state.testSettings.AnswerMode, m_state.rng);
            m_question->setText(TestEngine::shownAlternatives(words, m_state.currentPair, m_state.direction)
                                    .join(QStringLiteral(", ")));
            m_question->setCursorPosition(0);
            m_questionLanguage->setText(TestEngine::questionLanguage(m_state.direction));
            m_answerLanguage->setText(TestEngine::answerLanguage(m_state.direction));
            m_answer->setFocus(); // the answer is typed straight away
        },
        [this] { m_shell.endProgram(); });
}

void TestPage::F5CmdOK_Click() {
    const TestSettings& settings = m_state.testSettings;
    const QString answer = m_answer->text();
    const QStringList expected =
        TestEngine::expectedAlternatives(m_state.wordLists, m_state.currentPair, m_state.direction);
    const QString list = expected.join(QStringLiteral(", "));

    bool right = false;
    if (settings.Level == 0 && answer.isEmpty()) {
        right = true; // the quick answer: shown, and counted as right
        HintWindow::showFeedback(m_shell.dialogParent(), QStringLiteral("Rychlá odpověď"), QColor(0, 0, 255),
                                 QStringLiteral("Slovo:"), list);
    } else {
        right = TestEngine::isRight(answer, expected, settings.HalfAnswer == 1);
    }

    if (right) {
        addToCounter(m_right, 1);
        addToCounter(m_remaining, -1);
        m_state.wordLists.Remaining(m_state.currentPair) -= 1;
    } else {
        HintWindow::showFeedback(m_shell.dialogParent(), QStringLiteral("Chyba"), QColor(255, 0, 0),
                                 QStringLiteral("Správně:"), list);
        applyWrongAnswer();
    }

    if (valueOf(m_remaining) != 0)
        drawQuestion();
    else
        finishTest();
    m_answer->clear();
}

void TestPage::applyWrongAnswer() {
    const TestSettings& settings = m_state.testSettings;
    addToCounter(m_wrong, 1);
    double& remaining = m_state.wordLists.Remaining(m_state.currentPair);
    const double rise = TestEngine::penaltyRise(remaining, settings.Penalty, settings.MaxRepeats);
    addToCounter(m_remaining, rise);
    remaining += rise;
    if (remaining > m_state.worstPair.count)
        m_state.worstPair = WorstPair{m_state.currentPair, remaining};
}

void TestPage::finishTest() {
    Q_EMIT finished(TestOutcome{caption(), m_asked->text(), m_right->text(), m_wrong->text()});
}

void TestPage::F5CmdStorno_Click() {
    if (!MessageBox::confirm(m_shell.dialogParent(), QStringLiteral("Opravdu chcete ukončit lekci?"),
                             MessageBox::Icon::Exclamation))
        return;
    Q_EMIT abandoned();
    m_shell.showPage(PageId::MainMenu);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
}
