// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/PageId.h"

class QWidget;

// What the pages ask of the main window around them.
class Shell {
public:
    virtual ~Shell() = default;

    // Shows a page and marks it in the navigation tree.
    virtual void showPage(PageId page) = 0;
    // Shows the progress indicator at value of maximum; (0, 0) hides it.
    virtual void showProgress(int value, int maximum) = 0;
    virtual void showQuickClickPage(QuickClickPage page) = 0;
    virtual void showQuickClickWindow() = 0;
    virtual void closeQuickClickWindow() = 0;
    // The three hint buttons of the QuickClick window, disabled on the hardest level.
    virtual void setQuickClickHintsEnabled(bool enabled) = 0;
    // Ends the program at once, closing every window.
    virtual void endProgram() = 0;
    // The window that message boxes of the pages belong to.
    virtual QWidget* dialogParent() = 0;
};
