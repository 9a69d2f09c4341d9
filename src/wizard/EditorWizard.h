// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange/Delimited.h"
#include "exchange/ImportStore.h"
#include "store/DataDir.h"
#include "ui/Form.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class WrapLabel;

// The vocabulary editor: a wizard that does one task per opening (create, rename or delete a
// textbook; add, edit or delete a lesson; import or export a textbook) and then closes. The step, the task and whether
// a lesson is being extended decide what Next does; the captions only show them.
class EditorWizard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStepCount = 13;
    // The steps, by the index of their frame "Frm(i)"; the import and export steps are "FrmVym(i - 10)".
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
        ExchangeFile = 10,    // import or export, the file and its format
        ExchangePreview = 11, // import: the first pairs as read, and the format's options
        ExchangeSummary = 12, // import: what will be created and left out
    };

    // The tasks of the action step, in the order of their options Opt1 … Opt7.
    enum class Task { NewTextbook, NewLesson, RenameTextbook, EditLesson, DeleteTextbook, DeleteLesson, Exchange };

    // Tests and the screenshots answer the file dialogs ("Procházet…", "Import…", "Export…") here;
    // an empty hook brings the dialogs back. An empty path means the user gave up.
    static void setFileDialogHook(std::function<QString(QWidget*)> hook);

    explicit EditorWizard(const DataDir& dir, QWidget* parent = nullptr);

    void CmdNext_Click();
    void CmdPrev_Click();
    void CmdEnd_Click();
    void CmdSave_Click();
    void CmdDel_Click();
    void CmdChange_Click();
    void CmdAdd_Click();
    void CmdImport_Click();
    void CmdExport_Click();
    void VymCmdProchazet_Click();

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
    enum class Header {
        Action,
        Textbook,
        NewTextbook,
        NewLesson,
        Rename,
        EditLesson,
        DeleteLesson,
        Deletion,
        Exchange,
        ExchangePreview,
        ExchangeSummary,
    };

    void bindControls();
    void styleControls();
    void connectControls();
    void orderTabs();
    void showStep(Step step);
    void setHeader(Header header);
    // The closing page; detail says what was done.
    void closingPage(const QString& detail = {});
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

    // Import and export.
    void openExchange();
    void exchangeFileChanged();
    void updateExchangeNext();
    void nextOnExchangeFile();
    void exportTextbook(const QString& path);
    // Reads the file for the preview and sets the format's options from it; false (and the message
    // shown) when it cannot be read.
    bool startImport(const QString& path);
    void showImportOptions();
    // Reads the file again with the options as they are now: the preview and the plan follow them.
    bool rereadImport();
    void optionChanged();
    void nextOnExchangePreview();
    void nextOnExchangeSummary();
    QString chooseFile(bool saving);
    // The format a file's extension names; false (and the user told) for another extension.
    bool formatByExtension(const QString& path, Exchange::Format* format);
    // Whether the file may be written: it is new, or the user agrees to replace it.
    bool mayReplace(const QString& path);

    const DataDir& m_dir;
    Controls m_controls;
    QFrame* m_header = nullptr;
    QLabel* m_title = nullptr;
    WrapLabel* m_description = nullptr;
    std::array<QFrame*, kStepCount> m_steps{};
    std::array<WrapLabel*, 3> m_welcomeTexts{};
    WrapLabel* m_lessonNamePrompt = nullptr; // LblPopis(10)
    std::array<QRadioButton*, 7> m_tasks{};  // Opt1 … Opt7
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
    QRadioButton* m_importing = nullptr;  // VymOptImport
    QRadioButton* m_exporting = nullptr;  // VymOptExport
    QLineEdit* m_file = nullptr;          // VymTxtSoubor
    QComboBox* m_format = nullptr;        // VymCmbFormat, each item carrying its Exchange::Format
    QWidget* m_exportBookLabel = nullptr; // VymLbl(3)
    QComboBox* m_exportBook = nullptr;    // VymCmbUcebnice, each item carrying its textbook file
    QListWidget* m_preview = nullptr;     // VymLstNahled
    QComboBox* m_foreignChoice = nullptr; // VymCmbCizi: a KVTML identifier or a column
    QComboBox* m_czechChoice = nullptr;   // VymCmbCesky
    QComboBox* m_lessonColumn = nullptr;  // VymCmbLekce
    QCheckBox* m_headerRow = nullptr;     // VymChkZahlavi
    QCheckBox* m_splitCommas = nullptr;   // VymChkCarky
    QPlainTextEdit* m_summary = nullptr;  // VymTxtShrnuti
    QCheckBox* m_agree = nullptr;         // VymChkSouhlas
    Step m_step = Welcome;
    Task m_task = Task::NewLesson;
    bool m_extending = false; // the pairs go to an existing lesson, opened from its pair list
    bool m_closing = false;   // the closing page is on screen
    QString m_textbookFile;   // the chosen textbook ("3.mum")
    QString m_titleFile;      // the chosen or new lesson's title file ("3_2T.mum")
    Fingerprint m_pairsRead;  // what the lesson file held when the pair list was filled
    bool m_leaving = false;   // the user has confirmed leaving, or the wizard is done
    // The import under way: its file and format, the table a CSV or TSV file held, and what storing will do.
    QString m_importPath;
    Exchange::Format m_importFormat = Exchange::Format::Csv;
    Exchange::DelimitedTable m_table;
    Exchange::StorePlan m_plan;
};
