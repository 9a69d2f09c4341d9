#include "TestPage.h"

#include "TestEngine.h"
#include "core/AppState.h"
#include "store/TextRoutines.h"
#include "ui/AnswerBox.h"
#include "ui/ErrorTrap.h"
#include "ui/FrmMsg.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    : Page(5, QStringLiteral("Zkoušení"), parent), m_state(state), m_shell(shell) {
    m_controls.build(this, kControls, createAnswerBox);
    // The question can be read and copied, never typed over.
    questionBox()->setReadOnly(true);
    questionBox()->setFocusPolicy(Qt::ClickFocus);
    for (QLineEdit* box : {questionBox(), static_cast<QLineEdit*>(answerBox())})
        setPointSize(box, 12);
    setBold(m_controls["F5LblZbyva"], true);
    setLineColor(m_controls["F5Ln"], QColor(200, 200, 200));
    connect(answerBox(), &AnswerBox::enterPressed, this, &TestPage::F5CmdOK_Click);
    connect(answerBox(), &AnswerBox::firstLetterRequested, this, [this] { Q_EMIT hintRequested(0); });
    m_controls.onClick("F5CmdOK", this, &TestPage::F5CmdOK_Click);
    m_controls.onClick("F5CmdStorno", this, &TestPage::F5CmdStorno_Click);
}

AnswerBox* TestPage::answerBox() const {
    return m_controls.get<AnswerBox>(QStringLiteral("F5TxtJaz2"));
}
QLineEdit* TestPage::questionBox() const {
    return m_controls.get<QLineEdit>(QStringLiteral("F5TxtJaz1"));
}
QLabel* TestPage::label(const char* name) const {
    return m_controls.get<QLabel>(QString::fromUtf8(name));
}
QString TestPage::counterText(const char* name) const {
    return label(name)->text();
}
double TestPage::counter(const char* name) const {
    return numericValue(label(name)->text());
}

void TestPage::addToCounter(const char* name, double change) {
    label(name)->setText(plainNumber(counter(name) + change));
}

void TestPage::startCounters(int pairCount, double repeats) {
    label("F5LblCelkem")->setText(plainNumber(pairCount));
    label("F5LblZbyva")->setText(plainNumber(repeats * pairCount));
    label("F5LblSpatne")->setText(QStringLiteral("0"));
    label("F5LblSpravne")->setText(QStringLiteral("0"));
    label("F5LblZkouset")->setText(plainNumber(repeats * pairCount));
}

void TestPage::begin(const QString& caption) {
    const TestSettings& settings = m_state.testSettings;
    setCaption(caption);
    m_shell.ZobrazPrubeh(70, 100);
    startCounters(m_state.wordLists.PairCount, settings.Repeats);
    m_state.wordLists.setAllRemaining(settings.Repeats);
    if (!Generuj()) {
        m_state.selectionDone = false;
        m_shell.ZobrazPrubeh(0, 0);
        m_shell.ZobrazStranku(2);
        return;
    }
    m_shell.ZobrazStranku(5);
    const IoStatus saved = SavedTestSettings::write(m_state.dir, settings, settings.HalfAnswer == 1);
    MessageBox::reportWrite(m_shell.dialogParent(), saved);
    m_shell.setQuickClickHintsEnabled(settings.Level != 2);
    m_shell.ZobrazQuickClick(2);
    m_shell.ZobrazPrubeh(0, 0);
}

bool TestPage::Generuj() {
    return runTrapped(
        m_shell.dialogParent(), 3, QStringLiteral("Generuj"),
        [this] {
            const WordLists& words = m_state.wordLists;
            m_state.currentPair = TestEngine::drawPair(words, m_state.rng);
            questionBox()->clear();
            answerBox()->clear();
            m_state.direction = TestEngine::drawDirection(m_state.testSettings.AnswerMode, m_state.rng);
            questionBox()->setText(TestEngine::shownAlternatives(words, m_state.currentPair, m_state.direction)
                                       .join(QStringLiteral(", ")));
            questionBox()->setCursorPosition(0);
            label("F5LblJaz1")->setText(TestEngine::questionLanguage(m_state.direction));
            label("F5LblJaz2")->setText(TestEngine::answerLanguage(m_state.direction));
            answerBox()->setFocus(); // the answer is typed straight away
        },
        [this] { m_shell.endProgram(); });
}

void TestPage::F5CmdOK_Click() {
    const TestSettings& settings = m_state.testSettings;
    const QString answer = answerBox()->text();
    const QStringList expected =
        TestEngine::expectedAlternatives(m_state.wordLists, m_state.currentPair, m_state.direction);
    const QString list = expected.join(QStringLiteral(", "));

    bool right = false;
    if (settings.Level == 0 && answer.isEmpty()) {
        right = true; // the quick answer: shown, and counted as right
        FrmMsg::showFeedback(m_shell.dialogParent(), QStringLiteral("Rychlá odpověď"), QColor(0, 0, 255),
                             QStringLiteral("Slovo:"), list);
    } else {
        right = TestEngine::isRight(answer, expected, settings.HalfAnswer == 1);
    }

    if (right) {
        addToCounter("F5LblSpravne", 1);
        addToCounter("F5LblZbyva", -1);
        m_state.wordLists.Remaining(m_state.currentPair) -= 1;
    } else {
        FrmMsg::showFeedback(m_shell.dialogParent(), QStringLiteral("Chyba"), QColor(255, 0, 0),
                             QStringLiteral("Správně:"), list);
        applyWrongAnswer();
    }

    if (counter("F5LblZbyva") != 0)
        Generuj();
    else
        finishTest();
    answerBox()->clear();
}

void TestPage::applyWrongAnswer() {
    const TestSettings& settings = m_state.testSettings;
    addToCounter("F5LblSpatne", 1);
    double& remaining = m_state.wordLists.Remaining(m_state.currentPair);
    const double rise = TestEngine::penaltyRise(remaining, settings.Penalty, settings.MaxRepeats);
    addToCounter("F5LblZbyva", rise);
    remaining += rise;
    if (remaining > m_state.worstPair.count)
        m_state.worstPair = WorstPair{m_state.currentPair, remaining};
}

void TestPage::finishTest() {
    Q_EMIT finished(
        TestOutcome{caption(), counterText("F5LblZkouset"), counterText("F5LblSpravne"), counterText("F5LblSpatne")});
}

void TestPage::F5CmdStorno_Click() {
    if (!MessageBox::ask(m_shell.dialogParent(), QStringLiteral("Opravdu chcete ukončit lekci?"),
                         MessageBox::Icon::Exclamation))
        return;
    Q_EMIT abandoned();
    m_shell.ZobrazStranku(1);
    m_shell.ZobrazQuickClick(1);
}
