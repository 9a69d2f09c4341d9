// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/TestEngine.h"
#include "ui/Page.h"

#include <memory>

struct AppState;
struct DueOverview;
class BackgroundReading;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;
class ReviewHistory;
class Shell;

// The review page: how many pairs are due today and in the next days, per textbook, and a test of
// today's due pairs, most overdue first, each asked the way it is due. The history and the lessons
// are read off the window's thread; the page shows them when they arrive.
class ReviewPage : public Page {
    Q_OBJECT
public:
    static inline const QString kCaption = QStringLiteral("Opakování");
    static constexpr int kDaysAhead = 7;

    ReviewPage(AppState& state, Shell& shell, ReviewHistory& history, QWidget* parent = nullptr);

    // Reads the settings and starts counting the due pairs; the page is shown at once.
    void open();
    void OpCmdZacit_Click();
    void OpCmdZpet_Click();
    // A review of these pairs (lines as the lessons hold them), each asked in its direction, with the
    // page's level: the due pairs, or the hardest ones from the statistics.
    void startReview(const QString& caption, const QStringList& lines, const QList<TestEngine::Direction>& directions);
    // Whether the history and lessons are being read.
    bool isLoading() const;

Q_SIGNALS:
    // The due pairs are the word lists of the running test: it can begin.
    void reviewLoaded(const QString& caption, const QList<TestEngine::Direction>& directions);
    // The history could not be read or written (the user hears of it once).
    void historyFailed(const QString& problem);
    // "Statistika": the charts of the log and the history.
    void statisticsRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    enum class Then { Show, Start };
    void bindControls();
    void load(Then then);
    void loaded(const DueOverview& overview, Then then);
    void show(const DueOverview& overview);
    void start(const DueOverview& overview);
    void saveSettings();

    AppState& m_state;
    Shell& m_shell;
    ReviewHistory& m_history;
    QLabel* m_today = nullptr;
    QLabel* m_week = nullptr;
    QTreeWidget* m_textbooks = nullptr;
    QLabel* m_status = nullptr;
    QComboBox* m_level = nullptr;
    QSpinBox* m_maxPairs = nullptr;
    QDoubleSpinBox* m_retention = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_statistics = nullptr;
    BackgroundReading* m_reading = nullptr;
    // A start asked for while the page was still loading runs when the loading ends.
    bool m_startWhenLoaded = false;
};
