// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/DataDir.h"
#include "ui/Page.h"

struct AppState;
class QListWidget;
class Shell;

// Page 8: the pairs of a user textbook lesson, to remove or change; "Uložit" writes them back.
class PairListPage : public Page {
    Q_OBJECT
public:
    PairListPage(Shell& shell, AppState& state, QWidget* parent = nullptr);

    // Lists the pair lines of the lesson in state.currentLessonFile, read as read, whose description
    // is lesson (for the question when the file changed before "Uložit").
    void fill(const QStringList& pairLines, const Fingerprint& read, const QString& lesson);
    void F8CmdDel_Click();
    void F8CmdChange_Click();
    void F8CmdSave_Click();
    // "Zpět" (and Escape): back to page 3, asking first when the list has unsaved changes.
    void F8CmdZpet_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool pairChosen();

    Shell& m_shell;
    AppState& m_state;
    QListWidget* m_pairs = nullptr;
    QStringList m_filled; // the pair lines as listed, to tell unsaved changes
    Fingerprint m_read;
    QString m_lesson;
};
