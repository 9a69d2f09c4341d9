// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Page.h"

#include <array>

struct AppState;
class QLabel;
class QLineEdit;
class QPushButton;
class Shell;
class WrapLabel;

// Page 7: a new lesson of the user textbook (its description first, then its pairs), or more pairs
// for one. Every pair goes to the lesson file as soon as it is added.
class NewLessonPage : public Page {
    Q_OBJECT
public:
    // The page's three states.
    enum class State { Description, NewLessonPairs, ExistingLessonPairs };

    NewLessonPage(Shell& shell, AppState& state, QWidget* parent = nullptr);

    State state() const { return m_entry; }

    void F7CmdOk2_Click();
    void F7CmdOk_Click();
    void F7CmdSave_Click();
    // "Zpět" (and Escape): back to page 3, the page in its description state again; a new lesson
    // without a pair may be deleted.
    void F7CmdZpet_Click();
    // Pairs for an existing lesson, whose last pair (edit form) is shown under "Poslední dvojice:".
    void prepareExisting(const QString& lastPair);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPairControls(bool shown);
    void showDescriptionState();
    // The focus in the box the user types in next: the description, or the foreign text.
    void focusFirstBox();
    void offerToDeleteEmptyLesson();
    // Appends the typed pair; false when a box is empty (with the message) or the write failed.
    bool addPair();
    void finishEntry();

    Shell& m_shell;
    AppState& m_state;
    QLabel* m_descriptionLabel = nullptr;
    QLineEdit* m_description = nullptr;
    QPushButton* m_confirm = nullptr; // F7CmdOk2
    QLineEdit* m_foreign = nullptr;
    QLineEdit* m_czech = nullptr;
    WrapLabel* m_lastPair = nullptr;
    QPushButton* m_add = nullptr;             // F7CmdOk
    QPushButton* m_save = nullptr;            // F7CmdSave
    std::array<QWidget*, 6> m_pairControls{}; // the boxes of a pair, their labels and the last pair
    State m_entry = State::Description;
    int m_newLesson = 0; // the number of the lesson created last
};
