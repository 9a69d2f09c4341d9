// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Page.h"

#include <array>

struct AppState;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Shell;

// Page 2: the textbook, lesson, level, answer mode and the repetition numbers of a test; OK
// loads the pairs and asks the first question. The settings are kept in "Try.cfg".
class TestSetupPage : public Page {
    Q_OBJECT
public:
    TestSetupPage(AppState& state, Shell& shell, QWidget* parent = nullptr);

    // Lists the textbooks and loads "Try.cfg".
    void loadTextbooksAndSettings();
    // The main menu's way in: no textbook chosen, no lesson list, OK disabled, then loadTextbooksAndSettings.
    void prepareFromMenu();
    void F2Cmbbx_Click(int Index);
    void F2TxtSl_Change();
    void F2TxtChyb_Change();
    void F2TxtMax_Change();
    void F2CmdOk_Click();
    // The pair selection page's OK: the next load takes these pairs, and OK runs again.
    void startWithChosenPairs(const QStringList& pairLines);
    void F2CmdStorno_Click();

Q_SIGNALS:
    // The user wants to pick pairs: the lesson's pair lines for the selection page.
    void pairsToChoose(const QStringList& pairLines);
    // The word lists are loaded; the test can begin under this caption.
    void wordsLoaded(const QString& caption);

private:
    void bindControls();
    // Level, mode and the three numbers from the controls into the test settings.
    void storeSettings();
    void writeTryCfg();
    // Puts a box's canonical number back into it; false (and the reset value) when it spells none.
    bool canonicalise(QLineEdit* box, const QString& resetValue);
    // Canonical, then at least 1, else the message and the reset value; false when it was reset.
    bool acceptCount(QLineEdit* box, const QString& resetValue);
    // The repetitions may not exceed the maximum: the box just changed takes the other's value.
    bool keepRepeatsWithinMax(QLineEdit* changed);
    void refuseIncomplete();
    void abandonStart();
    // Loads the word lists: all pairs of the lesson, or the pairs picked on the selection page.
    // Returns false when a trap stopped the loading.
    bool loadWords();

    AppState& m_state;
    Shell& m_shell;
    // Index 0 the textbooks, 1 the lessons: the names shown, each with its file name as item data.
    std::array<QComboBox*, 2> m_combos{};
    QLabel* m_lessonCaption = nullptr;
    std::array<QRadioButton*, 4> m_levels{};
    std::array<QRadioButton*, 3> m_answerModes{};
    QLineEdit* m_repeats = nullptr;
    QLineEdit* m_penalty = nullptr;
    QLineEdit* m_maxRepeats = nullptr;
    QCheckBox* m_halfAnswer = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_storno = nullptr;
    // The caption of the test: textbook name + " - " + lesson description, read with the pairs.
    QString m_caption;
    QStringList m_chosenLines;
    // The word lists wait for the user to pick pairs; the user confirmed a selection.
    bool m_selectionPending = false;
    bool m_selectionDone = false;
};
