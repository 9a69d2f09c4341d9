// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window tests' one driver: the main window on a sandbox of its own (or a given data directory),
// scripted message boxes, and the shared script format (Steps.h) with "@N" to show page N. The
// vocabulary editor, while it is open, and the statistics window are searched before the main window.

#include "Files.h"
#include "Gui.h"
#include "Sandbox.h"
#include "ScriptedMessages.h"
#include "Steps.h"

#include "app/MainWindow.h"
#include "statistics/StatisticsWindow.h"
#include "ui/Page.h"
#include "wizard/EditorWizard.h"

struct Program : Sandbox {
    Program() = default;
    // On a data directory made elsewhere, bound before the window is built (the sandbox's stays unused).
    explicit Program(const QString& root) : elsewhere((dataDir = DataDir(root), true)) {}
    bool elsewhere = false;
    ScriptedMessages messages;
    MainWindow w{state};

    // Start-up as the user sees it: the intro, then the main menu.
    void start() {
        w.start();
        w.F1Tmr_Timer();
    }
    template <class T = QWidget> T* at(const QString& name) const {
        if (QWidget* inEditor = w.editor() ? w.editor()->findChild<QWidget*>(name) : nullptr)
            return qobject_cast<T*>(inEditor);
        if (QWidget* inStatistics = w.statistics() ? w.statistics()->findChild<QWidget*>(name) : nullptr)
            return qobject_cast<T*>(inStatistics);
        return control<T>(&w, name);
    }
    // The page shown, -1 for none.
    int page() const {
        for (int i = 0; i < int(kPageCount); ++i) {
            if (w.page(PageId(i))->isVisible())
                return i;
        }
        return -1;
    }
    bool run(const QString& script) {
        Steps steps{[this](const QString& name) { return at(name); }, messages,
                    [this](const QString& step) {
                        if (!step.startsWith(u'@'))
                            return false;
                        w.showPage(PageId(step.mid(1).toInt()));
                        return true;
                    }};
        return steps.run(script);
    }
    QByteArray bytes(const QString& relative) const { return readBytes(dir.filePath(relative)); }
};
