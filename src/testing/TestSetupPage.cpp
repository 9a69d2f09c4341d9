// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSetupPage.h"

#include "core/AppState.h"
#include "core/TestEngine.h"
#include "store/FileNames.h"
#include "store/TextRoutines.h"
#include "ui/ErrorTrap.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <span>
#include <tuple>

namespace {

// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"F2LblTxt(4)", Kind::Label, 240, 180, 1800, 300, "Učebnice:"},
    {"F2Cmbbx(0)", Kind::ComboBox, 2100, 120, 5340, 375},
    {"F2LblTxt(5)", Kind::Label, 240, 660, 1800, 300, "Lekce:"},
    {"F2Cmbbx(1)", Kind::ComboBox, 2100, 600, 5340, 375},
    {"F2LblTxt(0)", Kind::Label, 240, 1230, 3450, 300, "Úroveň zkoušení:"},
    {"F2Frm(0)", Kind::Frame, 240, 1530, 3450, 1770},
    {"F2OptUZ(0)", Kind::Option, 180, 120, 3000, 330, "Lehká", "F2Frm(0)"},
    {"F2OptUZ(1)", Kind::Option, 180, 525, 3000, 330, "Střední", "F2Frm(0)"},
    {"F2OptUZ(2)", Kind::Option, 180, 930, 3000, 330, "Těžká", "F2Frm(0)"},
    {"F2OptUZ(3)", Kind::Option, 180, 1335, 3000, 330, "Vlastní ...", "F2Frm(0)"},
    {"F2LblTxt(1)", Kind::Label, 3990, 1230, 3450, 300, "Režim odpovědí:"},
    {"F2Frm(1)", Kind::Frame, 3990, 1530, 3450, 1770},
    {"F2OptRO(0)", Kind::Option, 180, 120, 3000, 330, "Cizím jazykem", "F2Frm(1)"},
    {"F2OptRO(1)", Kind::Option, 180, 525, 3000, 330, "Českým jazykem", "F2Frm(1)"},
    {"F2OptRO(2)", Kind::Option, 180, 930, 3000, 330, "Obojí", "F2Frm(1)"},
    {"F2LblTxt(2)", Kind::Label, 240, 3600, 6150, 300, "Počet opakování každého slovíčka:"},
    {"F2TxtSl", Kind::TextBox, 6480, 3555, 960, 360, "3"},
    {"F2LblTxt(3)", Kind::Label, 240, 4050, 6150, 300, "Počet opakování chybně zodpovězeného slovíčka (navíc):"},
    {"F2TxtChyb", Kind::TextBox, 6480, 4005, 960, 360, "2"},
    {"F2LblTxt(6)", Kind::Label, 240, 4500, 6150, 300, "Maximální počet opakování dosažitelný chybnými odpovědmi:"},
    {"F2TxtMax", Kind::TextBox, 6480, 4455, 960, 360, "6"},
    {"ChckPol", Kind::CheckBox, 240, 5010, 4500, 330, "Poloviční odpověď"},
    {"F2CmdOk", Kind::Button, 3930, 6060, 1710, 480, "OK"},
    {"F2CmdStorno", Kind::Button, 5730, 6060, 1710, 480, "Storno"},
};

const char* const kLevelTips[] = {
    "Povoleny nápovědy a rychlá odpověď",
    "Povoleny nápovědy, zakázána rychlá odpověď",
    "Nejsou povoleny nápovědy ani rychlá odpověď",
};

// The largest count a number box takes: six digits stay exact in every file and label.
constexpr double kMaxCount = 999999;

// A count saved in "Try.cfg" as the box will hold it: plain digits, at most kMaxCount; the box's
// reset value when the line spells no count of at least 1 (a hand-edited or damaged file).
QString savedCount(const QString& line, const QString& resetValue) {
    QString canonical;
    if (!TestEngine::canonicalNumber(line, &canonical) || numericValue(canonical) < 1)
        return resetValue;
    return plainNumber(std::min(numericValue(canonical), kMaxCount));
}

// What a number box goes back to when its text spells no count of at least 1.
const QString kRepeatsReset = QStringLiteral("3");
const QString kPenaltyReset = QStringLiteral("1");
const QString kMaxRepeatsReset = QStringLiteral("4");

// The options stand in the order of the enum they choose.
int checkedIndex(std::span<QRadioButton* const> options) {
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (options[i]->isChecked())
            return static_cast<int>(i);
    }
    return 0;
}

// The names shown, each carrying its file name.
void addFiles(QComboBox* combo, const FileListing& files) {
    for (qsizetype i = 0; i < files.names.size(); ++i)
        combo->addItem(files.names.at(i), files.fileNames.value(i));
}

const QString kZero = QStringLiteral("Počet opakování nesmí být nulový");
const QString kMaxBelowRepeats =
    QStringLiteral("Maximální počet opakování jednoho slovíčka dosažitelný chybnými odpovědmi musí být alespoň roven "
                   "počtu opakování slovíčka");

} // namespace

TestSetupPage::TestSetupPage(AppState& state, Shell& shell, QWidget* parent)
    : Page(PageId::TestSetup, QStringLiteral("Zkoušení"), parent), m_state(state), m_shell(shell) {
    m_controls.build(this, kControls);
    bindControls();
    for (const char* frame : {"F2Frm(0)", "F2Frm(1)"})
        m_controls.get<QFrame>(frame)->setFrameShape(QFrame::StyledPanel);
    for (int i = 0; i < 3; ++i)
        m_levels[i]->setToolTip(QString::fromUtf8(kLevelTips[i]));
    m_levels[0]->setChecked(true);
    m_answerModes[0]->setChecked(true);
    for (int i = 0; i < 2; ++i) {
        connect(m_combos[i], &QComboBox::activated, this, [this, i] { F2Cmbbx_Click(i); });
    }
    // Whole numbers only, up to six digits: a seventh digit, a sign or a point is simply not taken.
    static const QRegularExpression count(QStringLiteral("[0-9]{0,6}"));
    for (QLineEdit* box : {m_repeats, m_penalty, m_maxRepeats}) {
        box->setAlignment(Qt::AlignRight);
        box->setValidator(new QRegularExpressionValidator(count, box));
    }
    connect(m_repeats, &QLineEdit::textChanged, this, &TestSetupPage::F2TxtSl_Change);
    connect(m_penalty, &QLineEdit::textChanged, this, &TestSetupPage::F2TxtChyb_Change);
    connect(m_maxRepeats, &QLineEdit::textChanged, this, &TestSetupPage::F2TxtMax_Change);
    connect(m_ok, &QPushButton::clicked, this, &TestSetupPage::F2CmdOk_Click);
    connect(m_storno, &QPushButton::clicked, this, &TestSetupPage::F2CmdStorno_Click);
    prepareFromMenu();
}

void TestSetupPage::bindControls() {
    m_combos = m_controls.array<QComboBox, 2>("F2Cmbbx");
    m_lessonCaption = m_controls.get<QLabel>("F2LblTxt(5)");
    m_levels = m_controls.array<QRadioButton, 4>("F2OptUZ");
    m_answerModes = m_controls.array<QRadioButton, 3>("F2OptRO");
    m_repeats = m_controls.get<QLineEdit>("F2TxtSl");
    m_penalty = m_controls.get<QLineEdit>("F2TxtChyb");
    m_maxRepeats = m_controls.get<QLineEdit>("F2TxtMax");
    m_halfAnswer = m_controls.get<QCheckBox>("ChckPol");
    m_ok = m_controls.get<QPushButton>("F2CmdOk");
    m_storno = m_controls.get<QPushButton>("F2CmdStorno");
}

void TestSetupPage::prepareFromMenu() {
    m_combos[1]->hide();
    m_lessonCaption->hide();
    m_ok->setEnabled(false);
    m_combos[0]->setCurrentIndex(-1);
}

void TestSetupPage::loadTextbooksAndSettings() {
    m_selectionDone = false;
    m_combos[0]->clear();
    const FileListing books = m_state.dir.listTextbooks();
    addFiles(m_combos[0], books);
    m_combos[0]->setCurrentIndex(-1);
    if (!books.errors.isEmpty())
        MessageBox::showFileError(m_shell.dialogParent(), books.errors.first().message());

    const SavedTestSettings saved = SavedTestSettings::read(m_state.dir);
    if (saved.level)
        m_levels.at(std::size_t(*saved.level))->setChecked(true);
    if (saved.answerMode)
        m_answerModes.at(std::size_t(*saved.answerMode))->setChecked(true);
    // The three numbers are put in together and checked afterwards: checked one by one, a saved
    // repetition count above the old maximum would be cut before the saved maximum arrives.
    // Only clean counts go in, so no check can reset a box into another failing check.
    const std::tuple<QLineEdit*, const std::optional<QString>&, const QString&> numbers[] = {
        {m_repeats, saved.repeats, kRepeatsReset},
        {m_penalty, saved.penalty, kPenaltyReset},
        {m_maxRepeats, saved.maxRepeats, kMaxRepeatsReset}};
    for (const auto& [box, text, resetValue] : numbers) {
        if (!text)
            continue;
        const QSignalBlocker quiet(box);
        box->setText(savedCount(*text, resetValue));
    }
    F2TxtChyb_Change();
    F2TxtMax_Change();
    F2TxtSl_Change();
    if (saved.halfAnswer)
        m_halfAnswer->setChecked(*saved.halfAnswer);
}

void TestSetupPage::F2Cmbbx_Click(int Index) {
    if (Index == 0 && m_combos[0]->currentIndex() >= 0) {
        m_lessonCaption->show();
        m_ok->setEnabled(true);
        m_combos[1]->clear();
        m_shell.showProgress(0, 100);
        const QString t = m_combos[0]->currentData().toString().chopped(4);
        const FileListing lessons = m_state.dir.listLessons(t);
        addFiles(m_combos[1], lessons);
        m_combos[1]->setCurrentIndex(-1);
        m_shell.showProgress(100, 100);
        if (!lessons.errors.isEmpty())
            MessageBox::showFileError(m_shell.dialogParent(), lessons.errors.first().message());
    }
    m_combos[1]->show();
    m_shell.showProgress(0, 0);
}

bool TestSetupPage::canonicalise(QLineEdit* numberBox, const QString& resetValue) {
    if (numberBox->text().isEmpty())
        return true;
    QString canonical;
    if (!TestEngine::canonicalNumber(numberBox->text(), &canonical)) {
        numberBox->setText(resetValue);
        return false;
    }
    if (canonical != numberBox->text())
        numberBox->setText(canonical);
    return true;
}

bool TestSetupPage::acceptCount(QLineEdit* box, const QString& resetValue) {
    if (!canonicalise(box, resetValue))
        return false;
    if (numericValue(box->text()) < 1) {
        MessageBox::tell(m_shell.dialogParent(), kZero, MessageBox::Icon::Critical);
        box->setText(resetValue);
        return false;
    }
    return true;
}

bool TestSetupPage::keepRepeatsWithinMax(QLineEdit* changed) {
    if (numericValue(m_repeats->text()) > numericValue(m_maxRepeats->text())) {
        MessageBox::tell(m_shell.dialogParent(), kMaxBelowRepeats, MessageBox::Icon::Exclamation);
        changed->setText((changed == m_repeats ? m_maxRepeats : m_repeats)->text());
        return false;
    }
    return true;
}

void TestSetupPage::F2TxtChyb_Change() {
    acceptCount(m_penalty, kPenaltyReset);
}

void TestSetupPage::F2TxtMax_Change() {
    // A reset maximum is checked again against the repetitions as it changes.
    if (acceptCount(m_maxRepeats, kMaxRepeatsReset))
        keepRepeatsWithinMax(m_maxRepeats);
}

void TestSetupPage::F2TxtSl_Change() {
    if (keepRepeatsWithinMax(m_repeats))
        acceptCount(m_repeats, kRepeatsReset);
}

void TestSetupPage::refuseIncomplete() {
    MessageBox::tell(m_shell.dialogParent(), MessageBox::kMissingFields, MessageBox::Icon::Critical);
}

void TestSetupPage::storeSettings() {
    TestSettings& settings = m_state.test.settings();
    settings.level = Level(checkedIndex(m_levels));
    settings.answerMode = AnswerMode(checkedIndex(m_answerModes));
    settings.repeats = saturatedInt(numericValue(m_repeats->text()));
    settings.penalty = saturatedInt(numericValue(m_penalty->text()));
    settings.maxRepeats = saturatedInt(numericValue(m_maxRepeats->text()));
    settings.halfAnswer = m_halfAnswer->isChecked();
}

void TestSetupPage::writeTryCfg() {
    const IoStatus saved = SavedTestSettings::write(m_state.dir, m_state.test.settings());
    MessageBox::reportWrite(m_shell.dialogParent(), saved);
}

void TestSetupPage::F2CmdOk_Click() {
    if (m_combos[0]->currentIndex() < 0 || m_combos[1]->currentIndex() < 0 || m_penalty->text().isEmpty() ||
        m_repeats->text().isEmpty()) {
        refuseIncomplete();
        return;
    }
    TestSettings& settings = m_state.test.settings();
    storeSettings();
    const QString textbookFile = m_combos[0]->currentData().toString();
    settings.textbookNumber = textbookNumber(textbookFile);
    settings.lessonNumber = lessonNumber(m_combos[1]->currentData().toString(), textbookFile.chopped(4));
    if (settings.textbookNumber == 0 || settings.lessonNumber == 0) {
        refuseIncomplete();
        return;
    }

    m_shell.showProgress(20, 100);
    m_selectionPending = false;
    if (!loadWords()) {
        abandonStart();
        return;
    }
    if (m_selectionPending)
        return;
    if (m_state.test.words().pairCount() == 0) {
        MessageBox::tell(m_shell.dialogParent(), QStringLiteral("Vybraná lekce neobsahuje žádnou dvojici slovíček."),
                         MessageBox::Icon::Exclamation);
        abandonStart();
        return;
    }

    Q_EMIT wordsLoaded(m_caption);
}

void TestSetupPage::startWithChosenPairs(const QStringList& pairLines) {
    m_chosenLines = pairLines;
    m_selectionDone = true;
    F2CmdOk_Click();
}

void TestSetupPage::abandonStart() {
    m_selectionDone = false;
    m_shell.showProgress(0, 0);
    m_shell.showPage(PageId::TestSetup);
}

void TestSetupPage::F2CmdStorno_Click() {
    m_shell.showPage(PageId::MainMenu);
    storeSettings();
    writeTryCfg();
    loadTextbooksAndSettings();
}

bool TestSetupPage::loadWords() {
    return runTrapped(
        m_shell.dialogParent(), 4, QStringLiteral("NaplnSlova"),
        [this] {
            const QString t = plainNumber(m_state.test.settings().textbookNumber);
            const QString l = plainNumber(m_state.test.settings().lessonNumber);
            WordLists& words = m_state.test.words();
            if (m_selectionDone) {
                words.load(m_chosenLines);
                m_selectionDone = false;
                return;
            }
            const bool all = MessageBox::ask(m_shell.dialogParent(),
                                             QStringLiteral("Chcete vybrat všechna slovíčka z lekce ke zkoušení?"),
                                             MessageBox::Icon::Information);
            // A caption half read would go into the log: a missing name stops the start like a missing lesson.
            const auto firstLine = [this](const QString& path) {
                IoStatus status;
                const QString line = m_state.dir.readFirstLine(path, &status);
                if (!status.ok())
                    throw RoutineError("textbook or lesson title cannot be read");
                return line;
            };
            const QString book = firstLine(FileNames::inBooks(FileNames::textbookFile(t)));
            const QString lesson = firstLine(FileNames::inUnits(FileNames::titleFile(t, l, u't')));
            m_caption = book + QStringLiteral(" - ") + lesson;
            const FileLines file = m_state.dir.readLines(FileNames::inUnits(FileNames::lessonFile(t, l)));
            if (!file.status.ok())
                throw RoutineError("lesson file cannot be read");
            QStringList lines;
            for (const QString& line : file.lines) {
                if (!line.isEmpty())
                    lines.append(line);
            }
            if (all) {
                words.load(lines);
                return;
            }
            Q_EMIT pairsToChoose(lines);
            m_shell.showPage(PageId::PairSelection);
            m_selectionPending = true;
        },
        [this] { m_shell.endProgram(); });
}
