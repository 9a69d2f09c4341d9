// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReviewPage.h"

#include "core/AppState.h"
#include "history/DueOverview.h"
#include "history/ReviewHistory.h"
#include "store/TextRoutines.h"
#include "ui/BackgroundReading.h"
#include "ui/ErrorTrap.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <memory>

namespace {

// Page area 7680 x 6750 twips.
constexpr ControlSpec kControls[] = {
    {"OpLbl(0)", Kind::Label, 240, 180, 4500, 360, "Dnes k opakování:"},
    {"OpLblDnes", Kind::Label, 4800, 150, 2640, 420},
    {"OpLbl(1)", Kind::Label, 240, 600, 4500, 300, "Během dalších 7 dní:"},
    {"OpLblTyden", Kind::Label, 4800, 600, 2640, 300},
    {"OpLbl(2)", Kind::Label, 240, 1020, 7200, 300, "Podle učebnic:"},
    {"OpLstUcebnice", Kind::ListBox, 240, 1320, 7200, 2400},
    {"OpLblStav", Kind::Label, 240, 3780, 7200, 600},
    {"OpLbl(3)", Kind::Label, 240, 4500, 4800, 300, "Úroveň zkoušení:"},
    {"OpCmbUroven", Kind::ComboBox, 5100, 4455, 2340, 375},
    {"OpLbl(4)", Kind::Label, 240, 4950, 4800, 300, "Nejvýše dvojic v jednom opakování:"},
    {"OpTxtPocet", Kind::TextBox, 5100, 4905, 2340, 375},
    {"OpLbl(5)", Kind::Label, 240, 5400, 4800, 300, "Požadovaná míra zapamatování:"},
    {"OpTxtRetence", Kind::TextBox, 5100, 5355, 2340, 375},
    {"OpCmdStatistika", Kind::Button, 240, 6060, 1710, 480, "Statistika"},
    {"OpCmdZacit", Kind::Button, 3030, 6060, 2610, 480, "Začít opakování"},
    {"OpCmdZpet", Kind::Button, 5730, 6060, 1710, 480, "Zpět"},
};

const char* const kLevels[] = {"Lehká", "Střední", "Těžká"};
const QString kNoLesson = QStringLiteral("(v žádné lekci)");

QWidget* createControl(const ControlSpec& row, QWidget* parent) {
    const QLatin1StringView name(row.name);
    if (name == QLatin1StringView("OpLstUcebnice")) {
        auto* table = new QTreeWidget(parent);
        table->setRootIsDecorated(false);
        table->setHeaderLabels({QStringLiteral("Učebnice"), QStringLiteral("Dnes"), QStringLiteral("Dalších 7 dní")});
        table->header()->setStretchLastSection(false);
        table->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column : {1, 2})
            table->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        return table;
    }
    if (name == QLatin1StringView("OpTxtPocet")) {
        auto* count = new QSpinBox(parent);
        count->setRange(1, WordLists::kMaxPairs);
        return count;
    }
    if (name == QLatin1StringView("OpTxtRetence")) {
        auto* retention = new QDoubleSpinBox(parent);
        retention->setRange(ReviewSettings::kMinRetention, ReviewSettings::kMaxRetention);
        retention->setSingleStep(0.01);
        retention->setDecimals(2);
        return retention;
    }
    return nullptr;
}

// "1 dvojice", "3 dvojice", "12 dvojic".
QString pairsText(int count) {
    return QStringLiteral("%1 %2").arg(count).arg(count >= 1 && count <= 4 ? QStringLiteral("dvojice")
                                                                           : QStringLiteral("dvojic"));
}

} // namespace

ReviewPage::ReviewPage(AppState& state, Shell& shell, ReviewHistory& history, QWidget* parent)
    : Page(PageId::Review, kCaption, parent), m_state(state), m_shell(shell), m_history(history) {
    m_controls.build(this, kControls, createControl);
    m_reading = new BackgroundReading(this);
    bindControls();
    setPointSize(m_controls["OpLbl(0)"], 13, true);
    setPointSize(m_today, 15, true);
    m_status->setWordWrap(true);
    for (const char* level : kLevels)
        m_level->addItem(QString::fromUtf8(level));
    m_textbooks->setAccessibleName(QStringLiteral("Dvojice k opakování podle učebnic"));
    // A screen reader meets the spin boxes' own text fields: they carry the labels' names too.
    for (QAbstractSpinBox* box : std::initializer_list<QAbstractSpinBox*>{m_maxPairs, m_retention}) {
        if (auto* text = box->findChild<QLineEdit*>())
            text->setAccessibleName(box->accessibleName());
    }
    m_retention->setToolTip(QStringLiteral("Čím vyšší, tím častěji se dvojice opakují (0,70 až 0,97)"));
    setBackButton(m_back);
    connect(m_start, &QPushButton::clicked, this, &ReviewPage::OpCmdZacit_Click);
    connect(m_back, &QPushButton::clicked, this, &ReviewPage::OpCmdZpet_Click);
    connect(m_statistics, &QPushButton::clicked, this, &ReviewPage::statisticsRequested);
}

bool ReviewPage::isLoading() const {
    return m_reading->running();
}

void ReviewPage::bindControls() {
    m_today = m_controls.get<QLabel>("OpLblDnes");
    m_week = m_controls.get<QLabel>("OpLblTyden");
    m_textbooks = m_controls.get<QTreeWidget>("OpLstUcebnice");
    m_status = m_controls.get<QLabel>("OpLblStav");
    m_level = m_controls.get<QComboBox>("OpCmbUroven");
    m_maxPairs = m_controls.get<QSpinBox>("OpTxtPocet");
    m_retention = m_controls.get<QDoubleSpinBox>("OpTxtRetence");
    m_start = m_controls.get<QPushButton>("OpCmdZacit");
    m_back = m_controls.get<QPushButton>("OpCmdZpet");
    m_statistics = m_controls.get<QPushButton>("OpCmdStatistika");
}

void ReviewPage::showEvent(QShowEvent* event) {
    Page::showEvent(event);
    // Enter starts the review at once; with nothing due the way back has the focus.
    (m_start->isEnabled() ? m_start : m_back)->setFocus();
}

void ReviewPage::open() {
    const ReviewSettings settings = m_history.settings();
    if (!m_history.problem().isEmpty())
        Q_EMIT historyFailed(m_history.problem());
    m_level->setCurrentIndex(int(settings.level));
    m_maxPairs->setValue(settings.maxPairs);
    m_retention->setValue(settings.retention);
    m_today->clear();
    m_week->clear();
    m_textbooks->clear();
    m_start->setEnabled(false);
    m_shell.showPage(PageId::Review);
    m_back->setFocus();
    load(Then::Show);
}

void ReviewPage::load(Then then) {
    if (m_reading->running()) {
        m_startWhenLoaded = m_startWhenLoaded || then == Then::Start;
        return;
    }
    m_status->setText(QStringLiteral("Čtu historii opakování a lekce…"));
    m_shell.showProgress(1, 100);
    const QString root = m_state.dir.root();
    const QDate until = m_state.clock.now().date().addDays(kDaysAhead);
    auto overview = std::make_shared<DueOverview>();
    m_reading->start(
        [root, until, overview](const BackgroundReading::Progress& progress) {
            *overview = DueOverview::read(root, until, progress);
        },
        [this](int done, int total) { m_shell.showProgress(std::max(1, done), std::max(1, total)); },
        [this, overview, then] {
            m_shell.showProgress(0, 0);
            loaded(*overview, std::exchange(m_startWhenLoaded, false) ? Then::Start : then);
        });
}

void ReviewPage::loaded(const DueOverview& overview, Then then) {
    if (!overview.problem.isEmpty())
        Q_EMIT historyFailed(overview.problem);
    show(overview);
    if (then == Then::Start && isVisible())
        start(overview);
}

void ReviewPage::show(const DueOverview& overview) {
    const QDate today = m_state.clock.now().date();
    struct Counts {
        int today = 0;
        int later = 0;
    };
    QList<Counts> byTextbook(overview.textbooks.size() + 1); // the last row: pairs no lesson holds
    Counts total;
    for (const DueCard& due : overview.cards) {
        Counts& row = byTextbook[due.inLesson() ? due.textbook : overview.textbooks.size()];
        int& count = due.card.due <= today ? row.today : row.later;
        ++count;
        ++(due.card.due <= today ? total.today : total.later);
    }
    m_textbooks->clear();
    for (qsizetype i = 0; i < byTextbook.size(); ++i) {
        if (byTextbook[i].today == 0 && byTextbook[i].later == 0)
            continue;
        auto* item = new QTreeWidgetItem(m_textbooks,
                                         {i < overview.textbooks.size() ? overview.textbooks[i] : kNoLesson,
                                          QString::number(byTextbook[i].today), QString::number(byTextbook[i].later)});
        for (int column : {1, 2})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_today->setText(pairsText(total.today));
    m_week->setText(pairsText(total.later));

    QStringList status;
    if (overview.cards.isEmpty())
        status << QStringLiteral("Nic není k opakování. Každá odpověď při zkoušení se zapisuje do historie a "
                                 "podle ní se tu dvojice objeví, než je zapomenete.");
    const int outside = byTextbook.last().today + byTextbook.last().later;
    if (outside > 0)
        status << QStringLiteral("%1 už není v žádné lekci: vynechají se, jejich historie zůstává.")
                      .arg(pairsText(outside));
    if (!overview.fileProblems.isEmpty())
        status << overview.fileProblems.first();
    m_status->setText(status.join(u' '));
    const bool focusWasOnBack = m_back->hasFocus();
    m_start->setEnabled(total.today > 0);
    if (focusWasOnBack && m_start->isEnabled())
        m_start->setFocus();
}

void ReviewPage::saveSettings() {
    ReviewSettings settings;
    settings.level = Level(std::max(0, m_level->currentIndex()));
    settings.maxPairs = m_maxPairs->value();
    settings.retention = m_retention->value();
    if (!m_history.saveSettings(settings))
        Q_EMIT historyFailed(m_history.problem());
}

void ReviewPage::OpCmdZacit_Click() {
    m_start->setEnabled(false);
    load(Then::Start);
}

void ReviewPage::start(const DueOverview& overview) {
    const QDate today = m_state.clock.now().date();
    QList<TestEngine::Direction> directions;
    QStringList lines;
    for (const DueCard& due : overview.cards) {
        if (due.card.due > today || directions.size() == m_maxPairs->value())
            break; // by due date: the most overdue come first
        if (!due.inLesson())
            continue;
        lines << pairLine(due.card.pair.foreign, due.card.pair.czech);
        directions << due.card.direction;
    }
    if (lines.isEmpty()) {
        MessageBox::tell(m_shell.dialogParent(), QStringLiteral("Dnes není nic k opakování."),
                         MessageBox::Icon::Information);
        return;
    }
    startReview(kCaption, lines, directions);
}

void ReviewPage::startReview(const QString& caption, const QStringList& lines,
                             const QList<TestEngine::Direction>& directions) {
    saveSettings();
    TestSession& test = m_state.test;
    TestSettings& settings = test.settings();
    settings = TestSettings{};
    settings.level = Level(std::max(0, m_level->currentIndex()));
    settings.repeats = 1;
    settings.penalty = 1;
    settings.maxRepeats = 2;
    const bool loaded = runTrapped(
        m_shell.dialogParent(), 4, QStringLiteral("NaplnSlova"), [&] { test.words().load(lines); },
        [this] { m_shell.endProgram(); });
    if (loaded)
        Q_EMIT reviewLoaded(caption, directions);
}

void ReviewPage::OpCmdZpet_Click() {
    saveSettings();
    m_shell.showPage(PageId::MainMenu);
}
