// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "stats/Statistics.h"

#include <QWidget>

#include <functional>
#include <memory>

class BackgroundReading;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class ReviewHistory;

// The statistics window: one chart at a time, chosen from a list — the success rate over time from
// the results log, the answers per day and the forecast from the review history, and the hardest
// pairs, which it can hand over for a test of their own. A window of its own, resizable, its size
// kept in the history. Everything is read off its thread; the window shows it when it arrives.
class StatisticsWindow : public QWidget {
    Q_OBJECT
public:
    enum class View { SuccessRate, AnswersPerDay, Forecast, Hardest };
    static inline const QString kHardestCaption = QStringLiteral("Opakování - nejtěžší");

    // root: the data directory; today: the day the figures count from.
    StatisticsWindow(const QString& root, std::function<QDate()> today, ReviewHistory& history);
    ~StatisticsWindow() override;

    // Reads the log and the history again and shows the chosen view when they arrive.
    void reload();
    bool isLoading() const;
    void showView(View view);
    View view() const;
    const StatisticsData& data() const { return m_data; }
    // The chart on show (null for the hardest pairs' table).
    QChart* chart() const;
    // The shown view's data as CSV (what "Uložit jako CSV…" writes).
    QByteArray csv() const;
    // Where "Uložit jako CSV…" writes: asks the user; tests put their own answer here.
    static void setSaveFileHook(std::function<QString(QWidget*)> hook);

    void StCmdUlozit_Click();
    void StCmdProcvicit_Click();

Q_SIGNALS:
    // "Procvičit nejtěžší": a test of these pairs (those still in a lesson).
    void hardestChosen(const QList<HardPair>& pairs);

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();
    void loaded(StatisticsData&& data, QStringList&& captions);
    void fillCaptions();
    void render();
    QChart* newChart(const QString& title) const;
    void showRate();
    void showAnswers();
    void showForecast();
    void showHardest();
    void keepSize();

    QString m_root;
    std::function<QDate()> m_today;
    ReviewHistory& m_history;
    StatisticsData m_data;
    QStringList m_captions; // of the log's records, sorted
    QListWidget* m_views = nullptr;
    QComboBox* m_caption = nullptr;
    QComboBox* m_period = nullptr;
    QLabel* m_optionLabel = nullptr;
    QStackedWidget* m_stack = nullptr;
    QChartView* m_chartView = nullptr;
    QTreeWidget* m_hardest = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_practise = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    BackgroundReading* m_reading = nullptr;
};
