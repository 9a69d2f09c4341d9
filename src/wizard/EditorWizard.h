// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/DataDir.h"
#include "ui/Form.h"

#include <QWidget>

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class WrapLabel;

// The vocabulary editor: a wizard that does one task per opening (create, rename or delete a
// textbook; add, edit or delete a lesson) and then closes. The step, the task and whether a lesson
// is being extended decide what Next does; the captions only show them.
class EditorWizard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStepCount = 10;
    // The steps, by the index of their frame "Frm(i)".
    enum Step {
        Welcome = 0, // also the closing page
        Action = 1,
        Textbook = 2,
        NewTextbook = 3,
        LessonName = 4,
        PairEntry = 5,
        Rename = 6,
        Lesson = 7,
        PairList = 8,
        Deletion = 9,
    };

    // The tasks of the action step, in the order of their options Opt1 … Opt6.
    enum class Task { NewTextbook, NewLesson, RenameTextbook, EditLesson, DeleteTextbook, DeleteLesson };

    explicit EditorWizard(const DataDir& dir, QWidget* parent = nullptr);

    void CmdNext_Click();
    void CmdPrev_Click();
    void CmdEnd_Click();
    void CmdSave_Click();
    void CmdDel_Click();
    void CmdChange_Click();
    void CmdAdd_Click();

    // The step on screen; the closing page is Welcome again, with CmdNext captioned "Dokončit".
    Step currentStep() const { return m_step; }
    bool onClosingPage() const { return m_closing; }
    QWidget* control(const QString& name) const { return m_controls[name]; }

Q_SIGNALS:
    // The window was minimised, or shown again: the background window follows it.
    void minimized();
    void restored();
    // The window closed: the main window comes back.
    void unloaded();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    enum class Header { Action, Textbook, NewTextbook, NewLesson, Rename, EditLesson, DeleteLesson, Deletion };

    void bindControls();
    void styleControls();
    void connectControls();
    void orderTabs();
    void showStep(Step step);
    void setHeader(Header header);
    void closingPage();
    void pairBoxesChanged();
    void nameBoxChanged(QLineEdit* box);
    void nameBoxEnter();
    void nextOnTextbookStep();
    void nextOnLessonStep();
    // Fills a list, each name carrying its file name; false (and the message shown) when nothing could be listed.
    bool fill(QListWidget* list, const FileListing& listing);
    Task chosenTask() const;
    void clearDeletionChoice();
    // Saves the pair list over the lesson file, asking first when the file changed since it was read;
    // false (and the message shown) when nothing was saved.
    bool savePairList();
    void deleteTextbook();

    const DataDir& m_dir;
    Controls m_controls;
    QFrame* m_header = nullptr;
    QLabel* m_title = nullptr;
    WrapLabel* m_description = nullptr;
    std::array<QFrame*, kStepCount> m_steps{};
    std::array<WrapLabel*, 3> m_welcomeTexts{};
    WrapLabel* m_lessonNamePrompt = nullptr; // LblPopis(10)
    std::array<QRadioButton*, 6> m_tasks{};  // Opt1 … Opt6
    QRadioButton* m_withLessons = nullptr;   // Opt10
    QRadioButton* m_bookOnly = nullptr;      // Opt11
    QListWidget* m_books = nullptr;
    QListWidget* m_lessons = nullptr;
    QListWidget* m_pairs = nullptr;
    QLineEdit* m_newBook = nullptr;    // Txt
    QLineEdit* m_lessonName = nullptr; // Txt2
    QLineEdit* m_newName = nullptr;    // Txt3
    QLineEdit* m_foreign = nullptr;    // TxtCiz
    QLineEdit* m_czech = nullptr;      // TxtCes
    QLabel* m_lastPair = nullptr;
    QLabel* m_oldName = nullptr;
    QPushButton* m_prev = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_end = nullptr;
    QPushButton* m_save = nullptr;
    Step m_step = Welcome;
    Task m_task = Task::NewLesson;
    bool m_extending = false; // the pairs go to an existing lesson, opened from its pair list
    bool m_closing = false;   // the closing page is on screen
    QString m_textbookFile;   // the chosen textbook ("3.mum")
    QString m_titleFile;      // the chosen or new lesson's title file ("3_2T.mum")
    Fingerprint m_pairsRead;  // what the lesson file held when the pair list was filled
    bool m_leaving = false;   // the user has confirmed leaving, or the wizard is done
};
