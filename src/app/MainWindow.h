// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/ReviewHistory.h"
#include "testing/TestPages.h"
#include "ui/Form.h"
#include "ui/Shell.h"
#include "usertextbook/UserTextbookPages.h"

#include <QMargins>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

struct AppState;
class BackgroundWindow;
class QuickClickWindow;
class EditorWizard;
class IntroPage;
class MainMenuPage;
class Page;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class ReviewPage;
class StatisticsWindow;
class SettingsPage;

// The main window: every page of the program, the navigation tree, the progress indicator and
// "Konec". Loading it starts the program and closing it ends it.
class MainWindow : public QWidget, public Shell {
    Q_OBJECT
public:
    explicit MainWindow(AppState& state);
    ~MainWindow() override;

    // Start-up: pages filled, settings read, companion windows and the main window shown.
    void start();
    // The window was shown, minimised or restored.
    void followWindowState();
    void CmdExit_Click();
    // Another start on the same data directory asks for the window the user works in.
    void bringToFront();
    void F1Tmr_Timer();

    // Shell
    void showPage(PageId page) override;
    void showProgress(int value, int maximum) override;
    void showQuickClickPage(QuickClickPage page) override;
    void showQuickClickWindow() override;
    void closeQuickClickWindow() override;
    void setQuickClickHintsEnabled(bool enabled) override;
    void endProgram() override;
    QWidget* dialogParent() override { return this; }

    Page* page(PageId id) const { return m_frames.at(pageIndex(id)); }
    MainMenuPage* mainMenu() const { return m_mainMenu; }
    SettingsPage* settingsPage() const { return m_settings; }
    ReviewPage* reviewPage() const { return m_review; }
    const TestPages& testPages() const { return m_test; }
    const UserTextbookPages& userTextbookPages() const { return m_userTextbook; }
    // The companion windows, or null while they are not loaded. The QuickClick window is built when
    // it is first shown; until then the main window keeps what it is to show.
    BackgroundWindow* background() const { return m_cerna.get(); }
    QuickClickWindow* quickClick() const { return m_ql.get(); }
    QuickClickPage quickClickPage() const { return m_qlPage; }
    // The statistics window once it has been opened, or null.
    StatisticsWindow* statistics() const { return m_statistics.get(); }
    // The vocabulary editor while it is open, or null.
    EditorWizard* editor() const;
    QTimer* introTimer() const { return m_timer; }
    QWidget* control(const QString& name) const { return m_controls[name]; }

Q_SIGNALS:
    // Every window is closed; the event loop should end.
    void programEnded();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void bindControls();
    // The label of the tree that marks the page: exactly one is bold.
    QLabel* navLabelOf(PageId page) const;
    void styleControls();
    void buildPages();
    // The pages of a test hand over to each other through these connections.
    void connectTestPages();
    void showBackground();
    QuickClickWindow& ensureQuickClick();
    // Directly below the main window's frame, flush with its right edge; the main window moves up
    // as far as the pair needs to fit the screen (centred as a pair while start-up places them).
    void placeQuickClick();
    // Places the QuickClick window again when the window manager has framed either window since.
    void watchFrames();
    void stopWatchingFrames();
    void openTestSetup();
    // The main menu's user textbook item.
    void openUserTextbook();
    void openEditor();
    // The wizard closed: the main window comes back, and the QuickClick window if it is switched on.
    void editorClosed();
    // A hint for the question of the test page.
    void runHint(HintKind hint);
    // Every judged answer goes to the review history; a history that fails is told of once a run.
    void recordAnswer(int pair, TestEngine::Direction direction, const Verdict& verdict);
    void tellHistoryProblem(const QString& problem);
    // The review page's "Statistika": the window is made on first use and reads the figures anew.
    void openStatistics();

    AppState& m_state;
    ReviewHistory m_history;
    bool m_historyProblemTold = false;
    Controls m_controls;
    QLabel* m_pageName = nullptr;
    std::array<QLabel*, kNavLabelCount> m_navLabels{};
    // The user textbook's nodes of the tree (beyond LblNav): its pages 3, 7 and 8 are marked there.
    QLabel* m_navUserTextbook = nullptr; // page 3
    QLabel* m_navNewLesson = nullptr;    // page 7 for a new lesson
    QLabel* m_navEditWords = nullptr;    // page 7 for more pairs of a lesson, page 8
    QLabel* m_navReview = nullptr;       // the review page
    // The progress indicator: a frame, the bar that fills it, and the percentage over both.
    QFrame* m_progressFrame = nullptr;
    QFrame* m_progressBar = nullptr;
    QLabel* m_progressLabel = nullptr;
    QPushButton* m_exit = nullptr;
    std::array<Page*, kPageCount> m_frames{};
    IntroPage* m_intro = nullptr;
    MainMenuPage* m_mainMenu = nullptr;
    SettingsPage* m_settings = nullptr;
    ReviewPage* m_review = nullptr;
    TestPages m_test;
    UserTextbookPages m_userTextbook;
    QTimer* m_timer = nullptr;
    std::unique_ptr<BackgroundWindow> m_cerna;
    std::unique_ptr<QuickClickWindow> m_ql;
    std::unique_ptr<StatisticsWindow> m_statistics;
    QuickClickPage m_qlPage = QuickClickPage::None;
    bool m_qlHintsEnabled = true;
    QPointer<EditorWizard> m_editor;
    bool m_qlPlaced = false;
    // Start-up shows both windows: the pair is centred until the window manager has framed them.
    bool m_centrePair = false;
    // The frames of the main and the QuickClick window as they were when it was placed.
    std::array<QMargins, 2> m_placedFrames{};
    QTimer* m_frameWatch = nullptr;
    int m_frameChecks = 0;
    bool m_ended = false;
    int m_shownPercent = -1;
};
