// SPDX-License-Identifier: GPL-3.0-or-later
#include "NewLessonPage.h"

#include "core/AppState.h"
#include "store/TextRoutines.h"
#include "store/UserTextbook.h"
#include "ui/FileTextBox.h"
#include "ui/MessageBox.h"
#include "ui/PairTextBox.h"
#include "ui/Shell.h"
#include "ui/StoreQuestions.h"
#include "ui/WrapLabel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kNarrow = 2775; // the description box beside its OK button
constexpr int kWide = 3735;   // in the place of the hidden button

// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"F7Lbl(0)", Kind::Label, 240, 255, 1500, 285, "Popis lekce:"},
    {"F7TxtNazev", Kind::TextBox, 1800, 210, kNarrow, 375},
    {"F7CmdOk2", Kind::Button, 4620, 195, 915, 405, "OK"},
    {"F7Lbl(1)", Kind::Label, 240, 960, 5295, 285, "Výraz v cizím jazyce:"},
    {"F7TxtCiz", Kind::TextBox, 240, 1260, 7200, 375},
    {"F7Lbl(2)", Kind::Label, 240, 1800, 5295, 285, "Výraz v českém jazyce:"},
    {"F7TxtCze", Kind::TextBox, 240, 2100, 7200, 375},
    {"F7Lbl(3)", Kind::Label, 240, 2730, 5295, 285, "Poslední dvojice:"},
    {"F7LblPosledni", Kind::Label, 240, 3030, 7200, 570},
    {"F7CmdOk", Kind::Button, 3930, 6060, 1710, 480, "OK"},
    {"F7CmdSave", Kind::Button, 5730, 6060, 1710, 480, "Uložit"},
    {"F7CmdZpet", Kind::Button, 5730, 5460, 1710, 480, "Zpět"},
};

QWidget* createControl(const ControlSpec& row, QWidget* parent) {
    if (qstrcmp(row.name, "F7TxtNazev") == 0)
        return new FileTextBox(parent);
    if (qstrcmp(row.name, "F7TxtCiz") == 0 || qstrcmp(row.name, "F7TxtCze") == 0)
        return new PairTextBox(parent);
    if (qstrcmp(row.name, "F7LblPosledni") == 0)
        return new WrapLabel(QString(), parent);
    return nullptr;
}

} // namespace

NewLessonPage::NewLessonPage(Shell& shell, AppState& state, QWidget* parent)
    : Page(PageId::NewLesson, UserTextbook::kName, parent), m_shell(shell), m_state(state) {
    m_controls.build(this, kControls, createControl);
    m_descriptionLabel = m_controls.get<QLabel>("F7Lbl(0)");
    m_description = m_controls.get<QLineEdit>("F7TxtNazev");
    m_confirm = m_controls.get<QPushButton>("F7CmdOk2");
    m_foreign = m_controls.get<PairTextBox>("F7TxtCiz");
    m_czech = m_controls.get<PairTextBox>("F7TxtCze");
    m_lastPair = m_controls.get<WrapLabel>("F7LblPosledni");
    m_add = m_controls.get<QPushButton>("F7CmdOk");
    m_save = m_controls.get<QPushButton>("F7CmdSave");
    m_pairControls = {m_foreign, m_czech, m_controls["F7Lbl(1)"], m_controls["F7Lbl(2)"], m_controls["F7Lbl(3)"],
                      m_lastPair};
    setTabOrder(m_foreign, m_czech);

    m_confirm->setEnabled(false);
    m_add->setEnabled(false);
    m_save->setEnabled(false);
    showPairControls(false);

    // Emptying the box again leaves OK as it is.
    connect(m_description, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!text.isEmpty())
            m_confirm->setEnabled(true);
    });
    connect(m_description, &QLineEdit::returnPressed, this, &NewLessonPage::F7CmdOk2_Click);
    connect(m_confirm, &QPushButton::clicked, this, &NewLessonPage::F7CmdOk2_Click);
    connect(m_foreign, &QLineEdit::returnPressed, m_czech, [this] { m_czech->setFocus(); });
    connect(m_czech, &QLineEdit::returnPressed, this, [this] {
        F7CmdOk_Click();
        m_foreign->setFocus();
    });
    connect(m_add, &QPushButton::clicked, this, &NewLessonPage::F7CmdOk_Click);
    connect(m_save, &QPushButton::clicked, this, &NewLessonPage::F7CmdSave_Click);
    auto* back = m_controls.get<QPushButton>("F7CmdZpet");
    connect(back, &QPushButton::clicked, this, &NewLessonPage::F7CmdZpet_Click);
    setBackButton(back);
}

void NewLessonPage::showPairControls(bool shown) {
    for (QWidget* control : m_pairControls)
        control->setVisible(shown);
}

void NewLessonPage::F7CmdOk2_Click() {
    m_shell.showProgress(1, 100);
    // The lessons typed here are offered by the test setup only under their textbook.
    MessageBox::reportWrite(m_shell.dialogParent(), UserTextbook::ensureTextbook(m_state.dir));
    const UserTextbook::Created lesson = UserTextbook::createLesson(m_state.dir, m_description->text());
    m_shell.showProgress(50, 100);
    if (!MessageBox::reportWrite(m_shell.dialogParent(), lesson.status)) {
        m_shell.showProgress(0, 0);
        return;
    }
    m_state.currentLessonFile = UserTextbook::lessonFile(lesson.number);
    m_newLesson = lesson.number;
    m_entry = State::NewLessonPairs;
    m_shell.showProgress(99, 100);
    m_confirm->hide();
    m_description->setEnabled(false);
    m_description->resize(tw(kWide), m_description->height());
    m_description->setCursorPosition(0); // the description shown from its start
    showPairControls(true);
    m_lastPair->clear();
    m_add->setEnabled(true);
    m_foreign->setFocus();
    m_shell.showProgress(0, 0);
}

void NewLessonPage::prepareExisting(const QString& lastPair) {
    m_entry = State::ExistingLessonPairs;
    showPairControls(true);
    m_descriptionLabel->hide();
    m_confirm->hide();
    m_description->hide();
    m_add->setEnabled(true);
    m_save->setEnabled(true);
    m_lastPair->setText(lastPair);
    m_foreign->setFocus();
}

bool NewLessonPage::addPair() {
    const QString foreign = m_foreign->text();
    const QString czech = m_czech->text();
    if (foreign.isEmpty() || czech.isEmpty()) {
        MessageBox::tell(m_shell.dialogParent(), MessageBox::kMissingFields, MessageBox::Icon::Critical);
        return false;
    }
    m_save->setEnabled(true);
    // A pair that did not reach the disk stays in the boxes.
    if (!MessageBox::reportWrite(m_shell.dialogParent(),
                                 m_state.dir.appendLine(m_state.currentLessonFile, pairLine(foreign, czech))))
        return false;
    m_lastPair->setText(foreign + QStringLiteral(" = ") + czech);
    m_foreign->clear();
    m_czech->clear();
    return true;
}

void NewLessonPage::F7CmdOk_Click() {
    addPair();
}

void NewLessonPage::F7CmdSave_Click() {
    const bool foreign = !m_foreign->text().isEmpty();
    const bool czech = !m_czech->text().isEmpty();
    if (foreign != czech) {
        MessageBox::tell(m_shell.dialogParent(), MessageBox::kMissingFields, MessageBox::Icon::Critical);
        return;
    }
    if (foreign && !addPair())
        return;
    finishEntry();
}

void NewLessonPage::finishEntry() {
    m_shell.showPage(PageId::MainMenu);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
    showDescriptionState();
}

void NewLessonPage::F7CmdZpet_Click() {
    if (state() != State::Description) {
        const bool typed = !m_foreign->text().isEmpty() || !m_czech->text().isEmpty();
        if (typed && !MessageBox::confirm(m_shell.dialogParent(),
                                          QStringLiteral("Rozepsaná dvojice nebude uložena. Opravdu chcete odejít?"),
                                          MessageBox::Icon::Question))
            return;
        // A lesson gets its lesson file with its first pair.
        if (state() == State::NewLessonPairs && !m_state.dir.fileExists(m_state.currentLessonFile))
            offerToDeleteEmptyLesson();
        m_foreign->clear();
        m_czech->clear();
        showDescriptionState();
    }
    m_shell.showPage(PageId::UserTextbook);
    m_shell.showQuickClickPage(QuickClickPage::MenuJumps);
}

void NewLessonPage::offerToDeleteEmptyLesson() {
    const QString question = QStringLiteral("Lekce „%1“ zatím nemá žádnou dvojici. Chcete ji z uživatelské učebnice "
                                            "odstranit?")
                                 .arg(m_description->text());
    if (!MessageBox::confirm(m_shell.dialogParent(), question, MessageBox::Icon::Question))
        return;
    const IoStatus deleted = UserTextbook::deleteLesson(
        m_state.dir, m_newLesson, [this](int done, int total) { m_shell.showProgress(done, total); });
    m_shell.showProgress(0, 0);
    StoreQuestions::reportWrite(m_shell.dialogParent(), m_state.dir, deleted);
}

void NewLessonPage::showEvent(QShowEvent* event) {
    Page::showEvent(event);
    focusFirstBox();
}

void NewLessonPage::focusFirstBox() {
    if (state() == State::Description)
        m_description->setFocus();
    else
        m_foreign->setFocus();
}

void NewLessonPage::showDescriptionState() {
    m_entry = State::Description;
    showPairControls(false);
    m_descriptionLabel->show();
    m_description->show();
    m_confirm->show();
    m_description->setEnabled(true);
    m_confirm->setEnabled(true);
    m_description->resize(tw(kNarrow), m_description->height());
    m_add->setEnabled(false);
    m_save->setEnabled(false);
    if (isVisible())
        focusFirstBox(); // otherwise when the page is shown
}
