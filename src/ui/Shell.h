#pragma once

class QWidget;

// What the pages ask of the main window around them.
class Shell {
public:
    virtual ~Shell() = default;

    // Shows page 0 to 9 and marks it in the navigation tree.
    virtual void ZobrazStranku(int page) = 0;
    // Shows the progress indicator at value of maximum; (0, 0) hides it.
    virtual void ZobrazPrubeh(int value, int maximum) = 0;
    // Shows QuickClick page 0 (none), 1 (main-menu jumps) or 2 (test hints).
    virtual void ZobrazQuickClick(int page) = 0;
    virtual void showQuickClickWindow() = 0;
    virtual void closeQuickClickWindow() = 0;
    // The three hint buttons of the QuickClick window, disabled on the hardest level.
    virtual void setQuickClickHintsEnabled(bool enabled) = 0;
    // Ends the program at once, closing every window.
    virtual void endProgram() = 0;
    // The window that message boxes of the pages belong to.
    virtual QWidget* dialogParent() = 0;
};
