// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonActionPage.h"

#include "core/AppState.h"
#include "store/TextRoutines.h"
#include "store/UserTextbook.h"
#include "store/Vocabulary.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"
#include "ui/StoreQuestions.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"F3Lbl(0)", Kind::Label, 240, 150, 7200, 330, "Co chcete udělat?"},
    {"F3Opt(0)", Kind::Option, 480, 690, 6960, 330, "Přidat novou lekci do uživatelské učebnice"},
    {"F3Opt(1)", Kind::Option, 480, 1110, 6960, 330, "Přidat nová slova do existující lekce"},
    {"F3Opt(2)", Kind::Option, 480, 1530, 6960, 330, "Odstranit/opravit existující slova v lekci"},
    {"F3Opt(3)", Kind::Option, 480, 1950, 6960, 330, "Vymazat lekci z uživatelské učebnice"},
    {"F3Lbl(1)", Kind::Label, 480, 2640, 6960, 285, "Lekce:"},
    {"F3Cmbbx", Kind::ComboBox, 480, 2940, 6960, 375},
    {"F3CmdOk", Kind::Button, 3930, 6060, 1710, 480, "OK"},
    {"F3CmdStorno", Kind::Button, 5730, 6060, 1710, 480, "Storno"},
};

} // namespace

LessonActionPage::LessonActionPage(Shell& shell, AppState& state, QWidget* parent)
    : Page(PageId::UserTextbook, UserTextbook::kName, parent), m_shell(shell), m_state(state) {
    m_controls.build(this, kControls);
    m_options = m_controls.array<QRadioButton, 4>("F3Opt");
    m_lessonLabel = m_controls.get<QLabel>("F3Lbl(1)");
    m_lessons = m_controls.get<QComboBox>("F3Cmbbx");
    setPointSize(m_controls["F3Lbl(0)"], 11, true);
    m_lessons->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_lessons->setMinimumContentsLength(20); // long descriptions are cut in the box, whole in its list
    m_options[0]->setChecked(true);
    m_lessonLabel->hide();
    m_lessons->hide();
    for (int i = 0; i < 4; ++i)
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { F3Opt_Click(i); });
    connect(m_controls.get<QPushButton>("F3CmdOk"), &QPushButton::clicked, this, &LessonActionPage::F3CmdOk_Click);
    connect(m_controls.get<QPushButton>("F3CmdStorno"), &QPushButton::clicked, this,
            &LessonActionPage::F3CmdStorno_Click);
}

int LessonActionPage::lessonNumber(int entry) const {
    return m_lessons->itemData(entry).toInt();
}

void LessonActionPage::F3Opt_Click(int Index) {
    if (Index == 0) {
        m_lessonLabel->hide();
        m_lessons->hide();
        return;
    }
    refillLessons();
}

void LessonActionPage::refillLessons() {
    m_lessons->clear();
    MessageBox::reportWrite(m_shell.dialogParent(), UserTextbook::ensureTextbook(m_state.dir));
    const UserTextbook::Lessons listed =
        UserTextbook::list(m_state.dir, [this](int done, int total) { m_shell.showProgress(done, total); });
    m_shell.showProgress(0, 0);
    if (!listed.errors.isEmpty())
        StoreQuestions::reportWrite(m_shell.dialogParent(), m_state.dir, listed.errors.first());
    // Each entry carries its number: where the numbers have gaps, an entry still acts on its lesson.
    for (const UserTextbook::Lesson& lesson : listed.lessons)
        m_lessons->addItem(lesson.description, lesson.number);
    m_lessons->setCurrentIndex(-1);
    m_lessonLabel->show();
    m_lessons->show();
}

bool LessonActionPage::readLesson(int n, FileLines* lesson) {
    *lesson = Vocabulary::loadPairs(m_state.dir, UserTextbook::lessonName(n));
    if (!lesson->status.ok()) {
        MessageBox::showFileError(m_shell.dialogParent(), lesson->status.message());
        return false;
    }
    return true;
}

void LessonActionPage::F3CmdOk_Click() {
    if (m_options[0]->isChecked()) {
        m_shell.showQuickClickPage(QuickClickPage::None);
        m_shell.showPage(PageId::NewLesson);
        return;
    }
    if (m_lessons->isHidden() || m_lessons->currentIndex() < 0) {
        MessageBox::tell(m_shell.dialogParent(), MessageBox::kMissingFields, MessageBox::Icon::Critical);
        return;
    }
    const int n = lessonNumber(m_lessons->currentIndex());
    if (m_options[3]->isChecked()) {
        deleteLesson(n);
        return;
    }
    FileLines lesson;
    if (!readLesson(n, &lesson))
        return;
    const QStringList& lines = lesson.lines;
    m_state.currentLessonFile = UserTextbook::lessonFile(n);
    if (m_options[1]->isChecked()) {
        Q_EMIT addPairsRequested(editForm(lines.isEmpty() ? QString() : lines.last()));
        m_shell.showQuickClickPage(QuickClickPage::None);
        m_shell.showPage(PageId::NewLesson);
    } else {
        Q_EMIT editPairsRequested(lines, lesson.fingerprint, m_lessons->currentText());
        m_shell.showQuickClickPage(QuickClickPage::None);
        m_shell.showPage(PageId::PairList);
    }
}

void LessonActionPage::deleteLesson(int n) {
    // After an earlier deletion (here or in another window) the number may hold the lesson that moved
    // down into it: only the lesson the entry shows is deleted.
    const StoreQuestions::Deletion answer = StoreQuestions::confirmDeletion(
        m_shell.dialogParent(), m_state.dir, UserTextbook::titleFile(n), m_lessons->currentText(),
        QStringLiteral("Opravdu chcete vymazat lekci: %1?"), MessageBox::Icon::Exclamation, QStringLiteral("Lekce"));
    if (answer == StoreQuestions::Deletion::Changed)
        refillLessons();
    if (answer != StoreQuestions::Deletion::Yes)
        return;
    m_shell.showProgress(1, 100);
    const IoStatus deleted =
        UserTextbook::deleteLesson(m_state.dir, n, [this](int done, int total) { m_shell.showProgress(done, total); });
    m_shell.showProgress(0, 0);
    if (!StoreQuestions::reportWrite(m_shell.dialogParent(), m_state.dir, deleted))
        return;
    m_shell.showPage(PageId::MainMenu);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
}

void LessonActionPage::F3CmdStorno_Click() {
    m_shell.showPage(PageId::MainMenu);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
}
