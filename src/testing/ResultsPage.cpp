// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultsPage.h"

#include "core/AppState.h"
#include "core/TestEngine.h"
#include "ui/ErrorTrap.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr const char* kSaved =
    "Výsledek tohoto zkoušení byl uložen do souboru ZKOUSENI.TXT, nachází se v kořenovém adresáři programu.";
constexpr const char* kNotSaved = "Výsledek tohoto zkoušení se nepodařilo uložit do souboru ZKOUSENI.TXT.";

// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"F6Lbl(0)", Kind::Label, 240, 300, 4200, 450, "Celková úspěšnost:"},
    {"F6LblProcent", Kind::Label, 4500, 240, 2940, 540},
    {"F6Ln", Kind::Line, 240, 960, 7200, 15},
    {"F6Lbl(1)", Kind::Label, 240, 1200, 4200, 300, "Celkem odpovědí:"},
    {"F6LblCelkem", Kind::Label, 4500, 1200, 2940, 300},
    {"F6Lbl(2)", Kind::Label, 240, 1590, 4200, 300, "Správně:"},
    {"F6LblSpravne", Kind::Label, 4500, 1590, 2940, 300},
    {"F6Lbl(3)", Kind::Label, 240, 1980, 4200, 300, "Špatně:"},
    {"F6LblSpatne", Kind::Label, 4500, 1980, 2940, 300},
    {"F6Lbl(4)", Kind::Label, 240, 2550, 7200, 300, "Nejhůře zapamatovatelné slovo:"},
    {"F6Txt", Kind::TextBox, 240, 2880, 7200, 420},
    {"Label2", Kind::Label, 240, 3600, 7200, 660, kSaved},
    {"F6CmdProcvicit", Kind::Button, 240, 6060, 3150, 480, "Procvičit chybná slovíčka"},
    {"F6Cmd1", Kind::Button, 3480, 6060, 1935, 480, "Hlavní nabídka"},
    {"F6Cmd2", Kind::Button, 5505, 6060, 1935, 480, "Nové zkoušení"},
};

} // namespace

ResultsPage::ResultsPage(AppState& state, Shell& shell, QWidget* parent)
    : Page(PageId::Results, QStringLiteral("Výsledky"), parent), m_state(state), m_shell(shell) {
    m_controls.build(this, kControls);
    bindControls();
    setPointSize(m_controls["F6Lbl(0)"], 13, true);
    setPointSize(m_rate, 18, true);
    setLineColor(m_controls["F6Ln"], QColor(200, 200, 200));
    m_worstPair->setReadOnly(true);
    m_controls.get<QLabel>("Label2")->setWordWrap(true);
    connect(m_toMenu, &QPushButton::clicked, this, &ResultsPage::F6Cmd1_Click);
    connect(m_again, &QPushButton::clicked, this, &ResultsPage::F6Cmd2_Click);
    connect(m_practise, &QPushButton::clicked, this, &ResultsPage::F6CmdProcvicit_Click);
}

void ResultsPage::bindControls() {
    m_rate = m_controls.get<QLabel>("F6LblProcent");
    m_total = m_controls.get<QLabel>("F6LblCelkem");
    m_right = m_controls.get<QLabel>("F6LblSpravne");
    m_wrong = m_controls.get<QLabel>("F6LblSpatne");
    m_worstPair = m_controls.get<QLineEdit>("F6Txt");
    m_savedNote = m_controls.get<QLabel>("Label2");
    m_toMenu = m_controls.get<QPushButton>("F6Cmd1");
    m_again = m_controls.get<QPushButton>("F6Cmd2");
    m_practise = m_controls.get<QPushButton>("F6CmdProcvicit");
}

void ResultsPage::showResults(const TestOutcome& outcome) {
    m_outcome = outcome;
    m_practise->setEnabled(!outcome.wrongPairs.isEmpty());
    m_total->setText(QString::number(outcome.asked));
    m_right->setText(QString::number(outcome.right));
    m_wrong->setText(QString::number(outcome.wrong));

    const WorstPair worst = outcome.worstPair;
    const WordLists& words = m_state.test.words();
    if (worst.pair != 0 && worst.count != 0) {
        m_worstPair->setText(words.foreignAlternative(worst.pair, 1) + QStringLiteral(" = ") +
                             words.czechAlternative(worst.pair, 1));
        m_worstPair->setCursorPosition(0);
    } else {
        m_worstPair->clear();
    }

    const int rate = TestEngine::successRate(outcome.right, outcome.wrong);
    m_rate->setText(TestEngine::rateText(rate));
    appendRecord(outcome, rate);
    m_shell.showPage(PageId::Results);
}

void ResultsPage::appendRecord(const TestOutcome& outcome, int rate) {
    const QString record = TestEngine::resultRecord(m_state.clock.now(), outcome.caption, rate, outcome.asked,
                                                    outcome.right, outcome.wrong);
    const IoStatus saved = m_state.dir.appendLine(QStringLiteral("Zkouseni.txt"), record);
    // The label must not claim a record that is not in the log.
    m_savedNote->setText(QString::fromUtf8(saved.ok() ? kSaved : kNotSaved));
    MessageBox::reportWrite(m_shell.dialogParent(), saved);
}

void ResultsPage::leaveFor(PageId page) {
    m_worstPair->clear();
    m_shell.showPage(page);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
}

void ResultsPage::F6Cmd1_Click() {
    leaveFor(PageId::MainMenu);
}

void ResultsPage::F6Cmd2_Click() {
    leaveFor(PageId::TestSetup);
}

void ResultsPage::F6CmdProcvicit_Click() {
    TestSession& test = m_state.test;
    QStringList lines;
    QList<TestEngine::Direction> directions;
    for (int pair : std::as_const(m_outcome.wrongPairs)) {
        lines << test.words().line(pair);
        if (!test.fixedDirections().isEmpty())
            directions << test.fixedDirections().value(pair - 1);
    }
    if (lines.isEmpty())
        return;
    const bool loaded = runTrapped(
        m_shell.dialogParent(), 4, QStringLiteral("NaplnSlova"), [&] { test.words().load(lines); },
        [this] { m_shell.endProgram(); });
    if (!loaded)
        return;
    m_worstPair->clear();
    // A practice of a practice is still the practice of the same test: one suffix, one caption to chart.
    QString caption = m_outcome.caption;
    if (!caption.endsWith(kPracticeSuffix))
        caption += kPracticeSuffix;
    Q_EMIT practiceLoaded(caption, directions);
}
