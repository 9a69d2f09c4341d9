#pragma once

#include "ui/Page.h"

struct AppState;
class QComboBox;
class QLineEdit;
class QListWidget;
class Shell;

// Page 2: the textbook, lesson, level, answer mode and the repetition numbers of a test; OK
// loads the pairs and asks the first question. The settings are kept in "Try.cfg".
class TestSetupPage : public Page {
    Q_OBJECT
public:
    TestSetupPage(AppState& state, Shell& shell, QWidget* parent = nullptr);

    // Lists the textbooks and loads "Try.cfg".
    void F2Init();
    // The main menu's way in: no textbook chosen, no lesson list, OK disabled, then F2Init.
    void prepareFromMenu();
    void F2Cmbbx_Click(int Index);
    void F2TxtSl_Change();
    void F2TxtChyb_Change();
    void F2TxtMax_Change();
    void F2CmdOk_Click();
    // The pair selection page's OK: the next load takes these pairs, and OK runs again.
    void startWithChosenPairs(const QStringList& pairLines);
    void F2CmdStorno_Click();

    // Loads the word lists: all pairs of the lesson, or the pairs picked on the selection page.
    // Returns false when a trap stopped the loading.
    bool NaplnSlova();

Q_SIGNALS:
    // The user wants to pick pairs: the lesson's pair lines for the selection page.
    void pairsToChoose(const QStringList& pairLines);
    // The word lists are loaded; the test can begin under this caption.
    void wordsLoaded(const QString& caption);

private:
    QComboBox* combo(int index) const;
    QListWidget* fileList(int index) const;
    QLineEdit* box(const char* name) const;
    int checkedIndex(const char* options, int count) const;
    // Level, mode and the three numbers from the controls into the test settings.
    void storeSettings();
    void writeTryCfg();
    // Puts a box's canonical number back into it; false (and the reset value) when it spells none.
    bool canonicalise(QLineEdit* box, const QString& resetValue);
    void refuseIncomplete();
    void abandonStart();

    AppState& m_state;
    Shell& m_shell;
    // The caption of the test: textbook name + " - " + lesson description, read with the pairs.
    QString m_caption;
    QStringList m_chosenLines;
};
