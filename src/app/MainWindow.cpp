// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "BackgroundWindow.h"
#include "IntroPage.h"
#include "MainMenuPage.h"
#include "SettingsPage.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "hints/Hints.h"
#include "hints/QuickClickWindow.h"
#include "review/ReviewPage.h"
#include "statistics/StatisticsWindow.h"
#include "store/TextRoutines.h"
#include "store/UserTextbook.h"
#include "testing/ResultsPage.h"
#include "testing/SelectionPage.h"
#include "testing/TestPage.h"
#include "testing/TestSetupPage.h"
#include "ui/AnswerBox.h"
#include "ui/ErrorTrap.h"
#include "ui/MessageBox.h"
#include "ui/Page.h"
#include "ui/Pictures.h"
#include "ui/StoreQuestions.h"
#include "usertextbook/LessonActionPage.h"
#include "usertextbook/NewLessonPage.h"
#include "usertextbook/PairListPage.h"
#include "wizard/EditorWizard.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {

// Window 10800 x 7800 twips; the pages lie at (3000, 930), 7680 x 6750.
constexpr ControlSpec kControls[] = {
    {"ImgPozadi", Kind::Picture, 0, 0, 2940, 7800},
    {"ShpPozadi", Kind::Shape, 3000, 120, 7680, 690},
    {"LnPozadi", Kind::Line, 3090, 750, 7500, 30},
    {"LblName", Kind::Label, 3180, 210, 7320, 480},
    {"LblQuickName", Kind::Label, 210, 1470, 2550, 300, "Kde se nacházíte?"},
    {"LblNav(0)", Kind::Label, 540, 1920, 2250, 270, "Úvodní obrazovka"},
    {"LblNav(1)", Kind::Label, 540, 2250, 2250, 270, "Hlavní menu"},
    {"LblNav(2)", Kind::Label, 540, 2580, 2250, 270, "Zkoušení"},
    {"LblNav(3)", Kind::Label, 540, 3570, 2250, 270, "Editor slovní zásoby"},
    {"LblNav(4)", Kind::Label, 540, 5220, 2250, 270, "Nastavení"},
    {"LblNavOpak", Kind::Label, 540, 5550, 2250, 270, "Opakování"},
    {"LblNav(5)", Kind::Label, 840, 2910, 1980, 270, "Průběh"},
    {"LblNav(6)", Kind::Label, 840, 3240, 1980, 270, "Výsledek"},
    {"LblNav(7)", Kind::Label, 840, 3900, 1980, 270, "Nová lekce"},
    {"LblNav(8)", Kind::Label, 840, 3900, 1980, 270, "Přidat slova"},
    {"LblNav(9)", Kind::Label, 840, 3900, 1980, 270, "Výběr slovíček"},
    // The user textbook's pages 3, 7 and 8 under one node of their own, above the settings.
    {"LblNavUziv", Kind::Label, 540, 4230, 2250, 270, "Uživatelská učebnice"},
    {"LblNavUzivNova", Kind::Label, 840, 4560, 1980, 270, "Nová lekce"},
    {"LblNavUzivSlova", Kind::Label, 840, 4890, 1980, 270, "Úprava slov"},
    // The trunk, then a branch to each first-level label; each group hangs on a short line of its own.
    {"Ln(0)", Kind::Line, 330, 2055, 15, 3645},
    {"Ln(1)", Kind::Line, 330, 2055, 165, 15},
    {"Ln(2)", Kind::Line, 330, 2385, 165, 15},
    {"Ln(3)", Kind::Line, 330, 2715, 165, 15},
    {"Ln(4)", Kind::Line, 330, 3705, 165, 15},
    {"Ln(5)", Kind::Line, 330, 5355, 165, 15},
    {"Ln(6)", Kind::Line, 630, 2850, 15, 540},
    {"Ln(7)", Kind::Line, 630, 3045, 165, 15},
    {"Ln(8)", Kind::Line, 630, 3375, 165, 15},
    {"Ln(9)", Kind::Line, 630, 3840, 15, 210},
    {"Ln(10)", Kind::Line, 630, 4035, 165, 15},
    {"Ln(11)", Kind::Line, 630, 4035, 165, 15},
    {"Ln(12)", Kind::Line, 630, 4035, 165, 15},
    {"LnUziv(0)", Kind::Line, 330, 4365, 165, 15},
    {"LnUziv(1)", Kind::Line, 630, 4500, 15, 540},
    {"LnUziv(2)", Kind::Line, 630, 4695, 165, 15},
    {"LnUziv(3)", Kind::Line, 630, 5025, 165, 15},
    {"LnOpak", Kind::Line, 330, 5685, 165, 15},
    {"ShpRam", Kind::Shape, 210, 6360, 2490, 270},
    {"ShpPosun", Kind::Line, 210, 6360, 0, 270},
    {"LblPosun", Kind::Label, 210, 6360, 2490, 270},
    {"CmdExit", Kind::Button, 210, 6990, 2490, 510, "Konec"},
};

constexpr QRect kPageArea = twRect(3000, 930, 7680, 6750);

const QColor kOrange(255, 128, 0);

} // namespace

MainWindow::MainWindow(AppState& state) : QWidget(nullptr), m_state(state), m_history(state.dir.root()) {
    setObjectName(QStringLiteral("FrmHl"));
    setWindowTitle(MessageBox::mainCaption());
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(tw(10800), tw(7800));
    m_controls.build(this, kControls);
    bindControls();
    styleControls();
    connect(m_exit, &QPushButton::clicked, this, &MainWindow::CmdExit_Click);

    buildPages();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("F1Tmr"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::F1Tmr_Timer);
    m_frameWatch = new QTimer(this);
    m_frameWatch->setInterval(50);
    connect(m_frameWatch, &QTimer::timeout, this, &MainWindow::watchFrames);
}

EditorWizard* MainWindow::editor() const {
    return m_editor.data();
}

MainWindow::~MainWindow() {
    delete m_editor.data();
}

void MainWindow::bindControls() {
    m_pageName = m_controls.get<QLabel>("LblName");
    m_navLabels = m_controls.array<QLabel, kNavLabelCount>("LblNav");
    m_navUserTextbook = m_controls.get<QLabel>("LblNavUziv");
    m_navNewLesson = m_controls.get<QLabel>("LblNavUzivNova");
    m_navEditWords = m_controls.get<QLabel>("LblNavUzivSlova");
    m_navReview = m_controls.get<QLabel>("LblNavOpak");
    m_progressFrame = m_controls.get<QFrame>("ShpRam");
    m_progressBar = m_controls.get<QFrame>("ShpPosun");
    m_progressLabel = m_controls.get<QLabel>("LblPosun");
    m_exit = m_controls.get<QPushButton>("CmdExit");
}

void MainWindow::styleControls() {
    auto* panel = m_controls.get<QLabel>("ImgPozadi");
    panel->setPixmap(Pictures::sidePanel(panel->size()));
    panel->setAccessibleName(QStringLiteral("Memoran"));
    panel->setAccessibleDescription(QStringLiteral("Logo programu Memoran, 2002 Second Edition"));
    setShapeColor(m_controls["ShpPozadi"], QColor(200, 212, 232));
    setLineColor(m_controls["LnPozadi"], kOrange);
    setPointSize(m_pageName, 15, true);
    auto* heading = m_controls["LblQuickName"];
    setBold(heading, true);
    QPalette onBlue = heading->palette();
    onBlue.setColor(QPalette::WindowText, Qt::white);
    heading->setPalette(onBlue);
    for (QLabel* nav : m_navLabels)
        nav->setPalette(onBlue);
    for (QLabel* node : {m_navUserTextbook, m_navNewLesson, m_navEditWords, m_navReview})
        node->setPalette(onBlue);
    m_progressLabel->setPalette(onBlue);
    const QColor branch(190, 210, 245);
    for (int i = 0; i <= 12; ++i)
        setLineColor(m_controls[arrayName("Ln", i)], branch);
    for (int i = 0; i <= 3; ++i)
        setLineColor(m_controls[arrayName("LnUziv", i)], branch);
    setLineColor(m_controls["LnOpak"], branch);
    // Pages 7 and 8 show in the tree as nodes of the user textbook's own: these labels and branches stay hidden.
    for (const char* hidden : {"LblNav(7)", "LblNav(8)", "Ln(11)", "Ln(12)"})
        m_controls[QString::fromUtf8(hidden)]->hide();
    setShapeColor(m_progressFrame, Qt::white);
    setLineColor(m_progressBar, kOrange);
    m_progressLabel->setAlignment(Qt::AlignCenter);
    for (QWidget* progress : std::initializer_list<QWidget*>{m_progressFrame, m_progressBar, m_progressLabel})
        progress->hide();
    m_progressLabel->raise();
}

void MainWindow::buildPages() {
    m_intro = new IntroPage(this);
    m_mainMenu = new MainMenuPage(this);
    m_settings = new SettingsPage(m_state, *this, m_intro->logo(), this);
    m_test.setup = new TestSetupPage(m_state, *this, this);
    m_test.test = new TestPage(m_state, *this, this);
    m_test.results = new ResultsPage(m_state, *this, this);
    m_test.selection = new SelectionPage(*this, this);
    m_review = new ReviewPage(m_state, *this, m_history, this);
    m_userTextbook = {new LessonActionPage(*this, m_state, this), new NewLessonPage(*this, m_state, this),
                      new PairListPage(*this, m_state, this)};
    const std::pair<PageId, Page*> pages[] = {
        {PageId::Intro, m_intro},
        {PageId::MainMenu, m_mainMenu},
        {PageId::TestSetup, m_test.setup},
        {PageId::UserTextbook, m_userTextbook.actions},
        {PageId::Settings, m_settings},
        {PageId::Test, m_test.test},
        {PageId::Results, m_test.results},
        {PageId::NewLesson, m_userTextbook.entry},
        {PageId::PairList, m_userTextbook.pairs},
        {PageId::PairSelection, m_test.selection},
        {PageId::Review, m_review},
    };
    for (const auto& [id, frame] : pages) {
        m_frames[pageIndex(id)] = frame;
        frame->setGeometry(kPageArea);
        frame->hide();
    }
    connect(m_mainMenu, &MainMenuPage::testChosen, this, &MainWindow::openTestSetup);
    connect(m_mainMenu, &MainMenuPage::editorChosen, this, &MainWindow::openEditor);
    connect(m_mainMenu, &MainMenuPage::settingsChosen, this, [this] { showPage(PageId::Settings); });
    connect(m_mainMenu, &MainMenuPage::userTextbookChosen, this, &MainWindow::openUserTextbook);
    connect(m_mainMenu, &MainMenuPage::reviewChosen, m_review, &ReviewPage::open);
    connect(m_review, &ReviewPage::reviewLoaded, m_test.test, &TestPage::beginReview);
    connect(m_review, &ReviewPage::historyFailed, this, &MainWindow::tellHistoryProblem);
    connect(m_review, &ReviewPage::statisticsRequested, this, &MainWindow::openStatistics);
    connectTestPages();
    connect(m_userTextbook.actions, &LessonActionPage::addPairsRequested, m_userTextbook.entry,
            &NewLessonPage::prepareExisting);
    connect(m_userTextbook.actions, &LessonActionPage::editPairsRequested, m_userTextbook.pairs, &PairListPage::fill);
}

void MainWindow::connectTestPages() {
    connect(m_test.setup, &TestSetupPage::pairsToChoose, m_test.selection, &SelectionPage::fill);
    connect(m_test.selection, &SelectionPage::pairsChosen, m_test.setup, &TestSetupPage::startWithChosenPairs);
    connect(m_test.setup, &TestSetupPage::wordsLoaded, m_test.test, &TestPage::begin);
    connect(m_test.test, &TestPage::hintRequested, this, &MainWindow::runHint);
    connect(m_test.test, &TestPage::answerJudged, this, &MainWindow::recordAnswer);
    connect(m_test.test, &TestPage::finished, m_test.results, &ResultsPage::showResults);
    connect(m_test.results, &ResultsPage::practiceLoaded, m_test.test, &TestPage::beginPractice);
    connect(m_test.test, &TestPage::abandoned, m_test.setup, &TestSetupPage::loadTextbooksAndSettings);
}

void MainWindow::start() {
    // What interrupted saves of earlier runs left behind goes before anything is read.
    m_state.dir.completeInterruptedAppends();
    m_state.dir.removeStaleTempFiles();
    // A renumbering of the user textbook cut short by the end of an earlier run is finished first.
    StoreQuestions::reportWrite(this, m_state.dir, UserTextbook::completeRenumbering(m_state.dir));
    // So is an editor's textbook deletion, if the user wants it.
    StoreQuestions::settleUnfinishedDeletion(this, m_state.dir);
    m_state.rng.seed(static_cast<quint64>(m_state.clock.now().toMSecsSinceEpoch()));
    showProgress(1, 100);
    showPage(PageId::Intro);
    showProgress(20, 100);
    m_settings->loadSettings();
    showProgress(40, 100);
    m_test.setup->loadTextbooksAndSettings();
    showProgress(60, 100);
    const AppSettings settings = AppSettings::read(m_state.dir);
    showProgress(80, 100);
    if (settings.background)
        showBackground();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    // The intro's second counts from here: a start-up message read slowly must not swallow it.
    m_timer->start();
    followWindowState();
    if (settings.quickClick) {
        ensureQuickClick().show();
        m_centrePair = true;
        placeQuickClick();
    }
    showProgress(0, 0);
}

void MainWindow::followWindowState() {
    if (isMinimized()) {
        if (m_cerna)
            m_cerna->hide();
        if (m_ql)
            m_ql->hide();
        return;
    }
    const AppSettings settings = AppSettings::read(m_state.dir);
    if (settings.background)
        showBackground();
    if (settings.quickClick)
        showQuickClickWindow();
    show();
    raise();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !m_ended)
        followWindowState();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    endProgram();
}

void MainWindow::CmdExit_Click() {
    runTrapped(
        this, 7, QStringLiteral("Exit"),
        [this] {
            if (MessageBox::confirm(this, QStringLiteral("Opravdu chcete ukončit aplikaci?"),
                                    MessageBox::Icon::Exclamation))
                endProgram();
        },
        [this] { endProgram(); });
}

void MainWindow::bringToFront() {
    if (m_ended)
        return;
    QWidget* window = m_editor ? static_cast<QWidget*>(m_editor.data()) : this;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
    // A question still open waits in front of its window.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void MainWindow::F1Tmr_Timer() {
    runTrapped(
        this, 8, QStringLiteral("F1TimerError"),
        [this] {
            showPage(PageId::MainMenu);
            showQuickClickPage(QuickClickPage::MenuJumps);
            m_timer->stop();
        },
        [this] { endProgram(); });
}

void MainWindow::showPage(PageId page) {
    const QLabel* marked = navLabelOf(page);
    for (QLabel* label : m_navLabels)
        setBold(label, label == marked);
    for (QLabel* node : {m_navUserTextbook, m_navNewLesson, m_navEditWords, m_navReview})
        setBold(node, node == marked);
    for (Page* frame : m_frames)
        frame->hide();
    m_frames[pageIndex(page)]->show();
    m_pageName->setText(m_frames[pageIndex(page)]->caption());
}

QLabel* MainWindow::navLabelOf(PageId page) const {
    switch (page) {
    case PageId::UserTextbook:
        return m_navUserTextbook;
    case PageId::NewLesson:
        return m_userTextbook.entry->state() == NewLessonPage::State::ExistingLessonPairs ? m_navEditWords
                                                                                          : m_navNewLesson;
    case PageId::PairList:
        return m_navEditWords;
    case PageId::Review:
        return m_navReview;
    default:
        return m_navLabels[pageIndex(page)]; // LblNav(i) marks page i
    }
}

void MainWindow::showProgress(int value, int maximum) {
    if (value == 0 && maximum == 0) {
        m_progressFrame->hide();
        m_progressBar->hide();
        m_progressLabel->hide();
        m_shownPercent = -1;
        return;
    }
    if (m_progressFrame->isHidden()) {
        m_progressFrame->show();
        m_progressBar->resize(0, m_progressBar->height());
        m_progressBar->show();
        m_progressLabel->show();
    }
    const int percent = maximum > 0 ? std::clamp(static_cast<int>(100LL * value / maximum), 0, 100) : 0;
    m_progressLabel->setText(u' ' + QString::number(percent) + QStringLiteral(" %"));
    m_progressBar->resize(percent * m_progressFrame->width() / 100, m_progressBar->height());
    // Long operations run in this thread: paint the indicator now, but only when it moved.
    if (percent != m_shownPercent && isVisible()) {
        m_shownPercent = percent;
        m_progressFrame->repaint();
        m_progressBar->repaint();
        m_progressLabel->repaint();
    }
}

void MainWindow::showQuickClickPage(QuickClickPage page) {
    m_qlPage = page;
    if (m_ql)
        m_ql->showQuickClickPage(page);
}

void MainWindow::showQuickClickWindow() {
    QuickClickWindow& ql = ensureQuickClick();
    // Shown for the first time after start-up: it goes where start-up would have put it.
    if (!m_qlPlaced)
        placeQuickClick();
    ql.show();
}

void MainWindow::closeQuickClickWindow() {
    m_ql.reset();
}

void MainWindow::setQuickClickHintsEnabled(bool enabled) {
    m_qlHintsEnabled = enabled;
    if (m_ql)
        m_ql->setHintsEnabled(enabled);
}

void MainWindow::endProgram() {
    if (m_ended)
        return;
    m_ended = true;
    m_timer->stop();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this)
            window->hide();
    }
    hide();
    Q_EMIT programEnded();
}

void MainWindow::showBackground() {
    if (!m_cerna)
        m_cerna = std::make_unique<BackgroundWindow>([this] { endProgram(); });
    m_cerna->showBehind();
}

QuickClickWindow& MainWindow::ensureQuickClick() {
    if (!m_ql) {
        m_ql = std::make_unique<QuickClickWindow>(this);
        m_qlPlaced = false;
        connect(m_ql.get(), &QuickClickWindow::testChosen, this, &MainWindow::openTestSetup);
        connect(m_ql.get(), &QuickClickWindow::editorChosen, this, &MainWindow::openEditor);
        connect(m_ql.get(), &QuickClickWindow::settingsChosen, this, [this] { showPage(PageId::Settings); });
        connect(m_ql.get(), &QuickClickWindow::characterChosen, m_test.test->answerBox(), &AnswerBox::insertCharacter);
        connect(m_ql.get(), &QuickClickWindow::hintChosen, this, &MainWindow::runHint);
        m_ql->showQuickClickPage(m_qlPage);
        m_ql->setHintsEnabled(m_qlHintsEnabled);
    }
    return *m_ql;
}

namespace {
// The frame the window manager has put around a window; none before it has framed it.
QMargins frameOf(const QWidget& window) {
    return window.windowHandle() ? window.windowHandle()->frameMargins() : QMargins();
}

// The top-left that puts a frame of this size into the free area, as near to wanted as it can.
QPoint fitted(QPoint wanted, QSize size, const QRect& free) {
    return {std::clamp(wanted.x(), free.left(), std::max(free.left(), free.right() + 1 - size.width())),
            std::clamp(wanted.y(), free.top(), std::max(free.top(), free.bottom() + 1 - size.height()))};
}
} // namespace

void MainWindow::placeQuickClick() {
    QuickClickWindow& ql = ensureQuickClick();
    m_placedFrames = {frameOf(*this), frameOf(ql)};
    const QRect free = screen()->availableGeometry();
    QRect main = geometry().marginsAdded(m_placedFrames[0]);
    const QSize qlSize = ql.size().grownBy(m_placedFrames[1]);
    const QSize pair(main.width(), main.height() + qlSize.height());
    const int top = m_centrePair ? free.top() + (free.height() - pair.height()) / 2 : main.top();
    const QPoint mainPlace = fitted(QPoint(main.left(), top), pair, free);
    if (mainPlace != main.topLeft()) {
        move(mainPlace);
        main.moveTopLeft(mainPlace);
    }
    ql.move(fitted(QPoint(main.right() + 1 - qlSize.width(), main.bottom() + 1), qlSize, free));
    m_qlPlaced = true;
    // A window manager frames a window some time after it is shown, and says so without an event
    // that reaches the widget: until both frames are known, look again for a while.
    if (m_placedFrames[0].isNull() || m_placedFrames[1].isNull()) {
        m_frameChecks = 40;
        m_frameWatch->start();
    } else {
        stopWatchingFrames();
    }
}

void MainWindow::stopWatchingFrames() {
    m_frameWatch->stop();
    m_centrePair = false; // placed for good: a later placement keeps the main window where it is
}

void MainWindow::watchFrames() {
    if (!m_ql || !m_ql->isVisible() || --m_frameChecks <= 0) {
        stopWatchingFrames(); // no window manager: the frames stay unknown, the placement stands
        return;
    }
    // Placed again only when a frame became known, the same way; never because the user moved a window.
    if (m_placedFrames != std::array<QMargins, 2>{frameOf(*this), frameOf(*m_ql)})
        placeQuickClick();
}

void MainWindow::runHint(HintKind hint) {
    const Hints::Context context{this, m_state.test, m_state.rng, m_test.test->questionBox(), m_test.test->answerBox()};
    switch (hint) {
    case HintKind::FirstLetter:
        Hints::firstLetter(context);
        return;
    case HintKind::WordLength:
        Hints::wordLength(context);
        return;
    case HintKind::FiveOptions:
        Hints::fiveOptions(context);
        return;
    }
}

void MainWindow::recordAnswer(int pair, TestEngine::Direction direction, const Verdict& verdict) {
    const QString& line = m_state.test.words().line(pair);
    const JudgedAnswer answer{{pairField(line, 1), pairField(line, 2)}, direction, verdict, m_state.test.caption()};
    if (!m_history.record(answer, m_state.clock.now()))
        tellHistoryProblem(m_history.problem());
}

void MainWindow::tellHistoryProblem(const QString& problem) {
    // Told once a run: a history that keeps failing must not interrupt every answer of a test.
    if (problem.isEmpty() || std::exchange(m_historyProblemTold, true))
        return;
    MessageBox::tell(this,
                     problem + QStringLiteral("\nZkoušení pokračuje. Odpovědi se do historie zapíší, až to půjde; "
                                              "lekce ani výsledky se tím nemění."),
                     MessageBox::Icon::Exclamation);
}

void MainWindow::openStatistics() {
    if (!m_statistics) {
        m_statistics = std::make_unique<StatisticsWindow>(
            m_state.dir.root(), [this] { return m_state.clock.now().date(); }, m_history);
        connect(m_statistics.get(), &StatisticsWindow::hardestChosen, this, [this](const QList<HardPair>& pairs) {
            // The charts stay open beside the main window: a test under way there is not dropped unasked,
            // and the editor, which hides the main window, is finished first.
            if (m_editor) {
                MessageBox::tell(m_statistics.get(), QStringLiteral("Nejprve zavřete editor slovní zásoby."),
                                 MessageBox::Icon::Information);
                return;
            }
            if (m_test.test->isVisible() &&
                !MessageBox::confirm(m_statistics.get(), QStringLiteral("Opravdu chcete ukončit lekci?"),
                                     MessageBox::Icon::Exclamation))
                return;
            QStringList lines;
            QList<TestEngine::Direction> directions;
            for (const HardPair& pair : pairs) {
                lines << pairLine(pair.foreign, pair.czech);
                directions << (pair.foreignShown ? TestEngine::Direction::ForeignShown
                                                 : TestEngine::Direction::CzechShown);
            }
            // The test runs in the main window: the charts step aside until they are asked for again.
            m_statistics->hide();
            raise();
            activateWindow();
            m_review->startReview(StatisticsWindow::kHardestCaption, lines, directions);
        });
    }
    m_statistics->show();
    m_statistics->raise();
    m_statistics->activateWindow();
    m_statistics->reload();
}

void MainWindow::openTestSetup() {
    m_test.setup->prepareFromMenu();
    m_test.setup->loadTextbooksAndSettings();
    showPage(PageId::TestSetup);
}

void MainWindow::openUserTextbook() {
    showPage(PageId::UserTextbook);
}

void MainWindow::openEditor() {
    if (m_editor) {
        m_editor->raise();
        m_editor->activateWindow();
        return;
    }
    hide();
    if (m_ql)
        m_ql->hide();
    m_editor = new EditorWizard(m_state.dir);
    connect(m_editor, &EditorWizard::minimized, this, [this] {
        if (m_cerna)
            m_cerna->hide();
    });
    connect(m_editor, &EditorWizard::restored, this, [this] {
        if (AppSettings::read(m_state.dir).background)
            showBackground();
        if (m_editor)
            m_editor->raise(); // in front of the background
    });
    connect(m_editor, &EditorWizard::unloaded, this, &MainWindow::editorClosed);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        m_editor->move(screen->availableGeometry().center() - m_editor->rect().center());
    m_editor->show();
    showQuickClickPage(QuickClickPage::None);
}

void MainWindow::editorClosed() {
    if (AppSettings::read(m_state.dir).quickClick) {
        showQuickClickWindow();
        showQuickClickPage(QuickClickPage::MenuJumps);
    }
    show();
    raise();
    if (m_editor)
        m_editor->deleteLater();
    m_editor = nullptr;
}
