// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatisticsWindow.h"

#include "history/ReviewHistory.h"
#include "store/IoStatus.h"
#include "ui/BackgroundReading.h"
#include "ui/Form.h"
#include "ui/MessageBox.h"

#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QThreadPool>
#include <QTreeWidget>
#include <QValueAxis>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <utility>

namespace {

const char* const kViews[] = {"Úspěšnost v čase", "Odpovědi za den", "Předpověď opakování", "Nejtěžší dvojice"};
constexpr int kPeriods[] = {30, 90, 365};
const QString kAllTests = QStringLiteral("Všechna zkoušení a opakování");
const QString kSizeKey = QStringLiteral("statistics_size");
const QLocale kCzech(QLocale::Czech, QLocale::CzechRepublic);

std::function<QString(QWidget*)>& saveFileHook() {
    static std::function<QString(QWidget*)> hook;
    return hook;
}

qreal at(QDate day) {
    return qreal(QDateTime(day, QTime(12, 0)).toMSecsSinceEpoch());
}

QString dayText(QDate day) {
    return kCzech.toString(day, QStringLiteral("d. M. yyyy"));
}

QString number(double value) {
    return kCzech.toString(value, 'f', value == std::floor(value) ? 0 : 1);
}

QString sideName(bool foreignShown) {
    return foreignShown ? QStringLiteral("ciz>cz") : QStringLiteral("cz>ciz");
}

} // namespace

StatisticsWindow::StatisticsWindow(const QString& root, std::function<QDate()> today, ReviewHistory& history)
    : QWidget(nullptr), m_root(root), m_today(std::move(today)), m_history(history) {
    setObjectName(QStringLiteral("FrmStatistika"));
    setWindowTitle(QStringLiteral("Statistika – %1").arg(MessageBox::mainCaption()));
    m_reading = new BackgroundReading(this);
    build();
    setMinimumSize(640, 420);
    const QStringList size = m_history.value(kSizeKey).split(u'x');
    resize(std::max(size.value(0).toInt(), 900), std::max(size.value(1).toInt(), 600));
}

StatisticsWindow::~StatisticsWindow() = default;

bool StatisticsWindow::isLoading() const {
    return m_reading->running();
}

void StatisticsWindow::setSaveFileHook(std::function<QString(QWidget*)> hook) {
    saveFileHook() = std::move(hook);
}

void StatisticsWindow::build() {
    m_views = new QListWidget(this);
    m_views->setObjectName(QStringLiteral("StLstGrafy"));
    m_views->setAccessibleName(QStringLiteral("Graf"));
    for (const char* view : kViews)
        m_views->addItem(QString::fromUtf8(view));
    m_views->setFixedWidth(210);
    m_optionLabel = new QLabel(this);
    m_optionLabel->setObjectName(QStringLiteral("StLblVolba"));
    m_caption = new QComboBox(this);
    m_caption->setObjectName(QStringLiteral("StCmbNazev"));
    m_caption->setAccessibleName(QStringLiteral("Zkoušení"));
    m_caption->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_caption->setMinimumContentsLength(30);
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("StCmbObdobi"));
    m_period->setAccessibleName(QStringLiteral("Období"));
    for (int days : kPeriods)
        m_period->addItem(QStringLiteral("posledních %1 dní").arg(days), days);
    m_chartView = new QChartView(this);
    m_chartView->setObjectName(QStringLiteral("StGraf"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setAccessibleName(QStringLiteral("Graf"));
    m_hardest = new QTreeWidget(this);
    m_hardest->setObjectName(QStringLiteral("StTabNejtezsi"));
    m_hardest->setAccessibleName(QStringLiteral("Nejtěžší dvojice"));
    m_hardest->setRootIsDecorated(false);
    m_hardest->setHeaderLabels({QStringLiteral("Cizí výraz"), QStringLiteral("Český výraz"), QStringLiteral("Směr"),
                                QStringLiteral("Zapomenuto"), QStringLiteral("Stabilita (dny)"),
                                QStringLiteral("Učebnice"), QStringLiteral("Lekce")});
    // The texts share the width and are cut short with "…"; the numbers keep theirs.
    for (int column = 0; column < m_hardest->columnCount(); ++column)
        m_hardest->header()->setSectionResizeMode(column, column >= 2 && column <= 4 ? QHeaderView::ResizeToContents
                                                                                     : QHeaderView::Stretch);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_chartView);
    m_stack->addWidget(m_hardest);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StLblStav"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("StPrubeh"));
    m_progress->setAccessibleName(QStringLiteral("Načítání"));
    m_progress->setMaximumWidth(200);
    m_practise = newButton(QStringLiteral("Procvičit nejtěžší"), this);
    m_practise->setObjectName(QStringLiteral("StCmdProcvicit"));
    m_save = newButton(QStringLiteral("Uložit jako CSV…"), this);
    m_save->setObjectName(QStringLiteral("StCmdUlozit"));
    m_close = newButton(QStringLiteral("Zavřít"), this);
    m_close->setObjectName(QStringLiteral("StCmdZavrit"));

    auto* options = new QHBoxLayout;
    options->addWidget(m_optionLabel);
    options->addWidget(m_caption, 1);
    options->addWidget(m_period);
    options->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_progress);
    buttons->addWidget(m_practise);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_views, 0, 0, 2, 1);
    grid->addLayout(options, 0, 1);
    grid->addWidget(m_stack, 1, 1);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    connect(m_views, &QListWidget::currentRowChanged, this, [this] { render(); });
    connect(m_caption, &QComboBox::currentIndexChanged, this, [this] { render(); });
    connect(m_period, &QComboBox::currentIndexChanged, this, [this] { render(); });
    connect(m_save, &QPushButton::clicked, this, &StatisticsWindow::StCmdUlozit_Click);
    connect(m_practise, &QPushButton::clicked, this, &StatisticsWindow::StCmdProcvicit_Click);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    // Escape closes it, as the pages' way back.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    m_views->setCurrentRow(0);
    m_views->setFocus();
}

void StatisticsWindow::reload() {
    if (m_reading->running())
        return;
    m_status->setText(QStringLiteral("Čtu výsledky zkoušení a historii opakování…"));
    m_progress->setRange(0, 0);
    m_progress->show();
    m_save->setEnabled(false);
    m_practise->setEnabled(false);
    struct Reading {
        StatisticsData data;
        QStringList captions;
    };
    auto reading = std::make_shared<Reading>();
    const QString root = m_root;
    const QDate today = m_today();
    m_reading->start(
        [root, today, reading](const BackgroundReading::Progress& progress) {
            reading->data = StatisticsData::read(root, today, progress);
            reading->captions = reading->data.log.captions(); // sorting a large log's captions takes a while too
        },
        [this](int done, int total) {
            m_progress->setRange(0, std::max(total, 1));
            m_progress->setValue(done);
        },
        [this, reading] { loaded(std::move(reading->data), std::move(reading->captions)); });
}

void StatisticsWindow::loaded(StatisticsData&& data, QStringList&& captions) {
    // The figures read before go away off this thread: a hundred thousand records take a while to free.
    QThreadPool::globalInstance()->start([old = std::exchange(m_data, std::move(data))] {});
    m_captions = std::move(captions);
    m_progress->hide();
    m_save->setEnabled(true);
    fillCaptions();
    QStringList status;
    if (!m_data.log.problem.isEmpty())
        status << m_data.log.problem;
    if (m_data.log.unreadable > 0)
        status << ResultsLog::unreadableText(m_data.log.unreadable) + u'.';
    if (!m_data.historyProblem.isEmpty())
        status << m_data.historyProblem;
    m_status->setText(status.join(u' '));
    render();
}

void StatisticsWindow::fillCaptions() {
    const QString chosen = m_caption->currentIndex() > 0 ? m_caption->currentText() : QString();
    const QSignalBlocker quiet(m_caption);
    m_caption->clear();
    m_caption->addItem(kAllTests);
    m_caption->addItems(m_captions);
    m_caption->setCurrentIndex(std::max(0, m_caption->findText(chosen, Qt::MatchExactly)));
}

void StatisticsWindow::showView(View view) {
    m_views->setCurrentRow(int(view));
}

StatisticsWindow::View StatisticsWindow::view() const {
    return View(std::max(0, m_views->currentRow()));
}

QChart* StatisticsWindow::chart() const {
    return m_stack->currentWidget() == m_chartView ? m_chartView->chart() : nullptr;
}

QChart* StatisticsWindow::newChart(const QString& title) const {
    auto* chart = new QChart;
    chart->setTitle(title);
    // The window's own colours, so that a dark desktop gets a dark chart.
    const QPalette colours = palette();
    chart->setBackgroundBrush(colours.base());
    chart->setPlotAreaBackgroundVisible(false);
    chart->setTitleBrush(colours.text());
    chart->legend()->setLabelColor(colours.color(QPalette::Text));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setLocale(kCzech);
    chart->setLocalizeNumbers(true);
    QChart* old = m_chartView->chart();
    m_chartView->setChart(chart);
    delete old;
    return chart;
}

namespace {

// Axes in the window's text colour, with a faint grid.
void styleAxis(QAbstractAxis* axis, const QPalette& colours) {
    axis->setLabelsColor(colours.color(QPalette::Text));
    axis->setTitleBrush(colours.text());
    QColor grid = colours.color(QPalette::Text);
    grid.setAlpha(40);
    axis->setGridLineColor(grid);
    axis->setLinePenColor(colours.color(QPalette::Mid));
}

QDateTimeAxis* dayAxis(QChart* chart, QDate first, QDate last, const QPalette& colours) {
    auto* axis = new QDateTimeAxis;
    axis->setFormat(QStringLiteral("d. M. yyyy"));
    axis->setRange(QDateTime(first, QTime(0, 0)), QDateTime(last, QTime(23, 59)));
    axis->setTickCount(std::clamp(int(first.daysTo(last)) + 1, 2, 7));
    styleAxis(axis, colours);
    chart->addAxis(axis, Qt::AlignBottom);
    return axis;
}

QValueAxis* valueAxis(QChart* chart, double top, const QString& title, const QPalette& colours) {
    auto* axis = new QValueAxis;
    axis->setRange(0, std::max(top, 1.0));
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->setTitleText(title);
    if (top >= 1 && top < 10)
        axis->setTickCount(int(top) + 1);
    else if (top > 100)
        axis->applyNiceNumbers(); // counts on round steps
    styleAxis(axis, colours);
    chart->addAxis(axis, Qt::AlignLeft);
    return axis;
}

QLineSeries* line(QChart* chart, const QString& name, const QList<ChartPoint>& points, const QColor& colour) {
    auto* series = new QLineSeries;
    series->setName(name);
    for (const ChartPoint& point : points)
        series->append(at(point.date), point.value);
    series->setPen(QPen(colour, 2));
    series->setPointsVisible(points.size() <= 120);
    chart->addSeries(series);
    return series;
}

// A second colour from the palette's own: its highlight turned round the colour wheel.
QColor secondColour(const QPalette& colours) {
    const QColor first = colours.color(QPalette::Highlight);
    return QColor::fromHsv((std::max(first.hsvHue(), 0) + 150) % 360, std::max(first.hsvSaturation(), 120),
                           first.value());
}

} // namespace

void StatisticsWindow::render() {
    const View shown = view();
    m_optionLabel->setVisible(shown == View::SuccessRate || shown == View::AnswersPerDay);
    m_optionLabel->setText(shown == View::SuccessRate ? QStringLiteral("Zkoušení:") : QStringLiteral("Období:"));
    m_caption->setVisible(shown == View::SuccessRate);
    m_period->setVisible(shown == View::AnswersPerDay);
    m_practise->setVisible(shown == View::Hardest);
    switch (shown) {
    case View::SuccessRate:
        showRate();
        break;
    case View::AnswersPerDay:
        showAnswers();
        break;
    case View::Forecast:
        showForecast();
        break;
    case View::Hardest:
        showHardest();
        break;
    }
}

void StatisticsWindow::showRate() {
    m_stack->setCurrentWidget(m_chartView);
    const RateSeries rate = Statistics::successRate(
        m_data.log.records, m_caption->currentIndex() > 0 ? m_caption->currentText() : QString());
    QChart* chart =
        newChart(rate.weekly ? QStringLiteral("Úspěšnost po týdnech (%)") : QStringLiteral("Úspěšnost po dnech (%)"));
    const QPalette colours = palette();
    QList<QAbstractSeries*> series{
        line(chart, QStringLiteral("Zkoušení"), rate.tests, colours.color(QPalette::Highlight)),
        line(chart, QStringLiteral("Opakování"), rate.reviews, secondColour(colours))};
    QDate first = m_today(), last = first;
    for (const QList<ChartPoint>* points : {&rate.tests, &rate.reviews}) {
        for (const ChartPoint& point : *points) {
            first = std::min(first, point.date);
            last = std::max(last, point.date);
        }
    }
    QAbstractAxis* x = dayAxis(chart, first, last, colours);
    QAbstractAxis* y = valueAxis(chart, 100, QStringLiteral("%"), colours);
    for (QAbstractSeries* one : series) {
        one->attachAxis(x);
        one->attachAxis(y);
    }
}

void StatisticsWindow::showAnswers() {
    m_stack->setCurrentWidget(m_chartView);
    const int days = m_period->currentData().toInt();
    const QList<ChartPoint> points = Statistics::lastDays(m_data.answersPerDay, days);
    QChart* chart = newChart(QStringLiteral("Odpovědi za den, posledních %1 dní").arg(days));
    chart->legend()->hide();
    const QPalette colours = palette();
    QLineSeries* series = line(chart, QStringLiteral("Odpovědi"), points, colours.color(QPalette::Highlight));
    double top = 0;
    for (const ChartPoint& point : points)
        top = std::max(top, point.value);
    const QDate today = m_today();
    QAbstractAxis* x = dayAxis(chart, points.isEmpty() ? today : points.first().date, today, colours);
    QAbstractAxis* y = valueAxis(chart, top * 1.1, QStringLiteral("odpovědí"), colours);
    series->attachAxis(x);
    series->attachAxis(y);
}

void StatisticsWindow::showForecast() {
    m_stack->setCurrentWidget(m_chartView);
    QChart* chart = newChart(QStringLiteral("Dvojice k opakování v příštích 30 dnech"));
    chart->legend()->hide();
    const QPalette colours = palette();
    QLineSeries* series =
        line(chart, QStringLiteral("K opakování"), m_data.forecast, colours.color(QPalette::Highlight));
    double top = 0;
    for (const ChartPoint& point : std::as_const(m_data.forecast))
        top = std::max(top, point.value);
    const QDate today = m_today();
    series->attachAxis(dayAxis(chart, today, m_data.forecast.isEmpty() ? today : m_data.forecast.last().date, colours));
    series->attachAxis(valueAxis(chart, top * 1.1, QStringLiteral("dvojic"), colours));
}

void StatisticsWindow::showHardest() {
    m_stack->setCurrentWidget(m_hardest);
    m_hardest->clear();
    int inLessons = 0;
    for (const HardPair& pair : std::as_const(m_data.hardest)) {
        auto* item = new QTreeWidgetItem(m_hardest, {pair.foreign, pair.czech, sideName(pair.foreignShown),
                                                     QString::number(pair.lapses), number(pair.stability),
                                                     pair.textbook, pair.lesson});
        for (int column = 0; column < m_hardest->columnCount(); ++column)
            item->setToolTip(column, item->text(column)); // a text cut short to fit is whole here
        inLessons += pair.textbook.isEmpty() ? 0 : 1;
    }
    m_practise->setEnabled(inLessons > 0 && !m_reading->running());
}

QByteArray StatisticsWindow::csv() const {
    QList<QStringList> rows;
    switch (view()) {
    case View::SuccessRate: {
        const RateSeries rate = Statistics::successRate(
            m_data.log.records, m_caption->currentIndex() > 0 ? m_caption->currentText() : QString());
        QMap<QDate, QStringList> byDay;
        for (const ChartPoint& point : rate.tests)
            byDay[point.date] = {dayText(point.date), number(point.value), QString()};
        for (const ChartPoint& point : rate.reviews) {
            QStringList& row = byDay[point.date];
            if (row.isEmpty())
                row = {dayText(point.date), QString(), QString()};
            row[2] = number(point.value);
        }
        return Statistics::csv({rate.weekly ? QStringLiteral("Týden od") : QStringLiteral("Den"),
                                QStringLiteral("Zkoušení (%)"), QStringLiteral("Opakování (%)")},
                               byDay.values());
    }
    case View::AnswersPerDay:
        for (const ChartPoint& point : Statistics::lastDays(m_data.answersPerDay, m_period->currentData().toInt()))
            rows << QStringList{dayText(point.date), number(point.value)};
        return Statistics::csv({QStringLiteral("Den"), QStringLiteral("Odpovědi")}, rows);
    case View::Forecast:
        for (const ChartPoint& point : m_data.forecast)
            rows << QStringList{dayText(point.date), number(point.value)};
        return Statistics::csv({QStringLiteral("Den"), QStringLiteral("K opakování")}, rows);
    case View::Hardest:
        for (const HardPair& pair : m_data.hardest)
            rows << QStringList{pair.foreign,
                                pair.czech,
                                sideName(pair.foreignShown),
                                QString::number(pair.lapses),
                                number(pair.stability),
                                QString::number(pair.reviews),
                                pair.textbook,
                                pair.lesson};
        return Statistics::csv({QStringLiteral("Cizí výraz"), QStringLiteral("Český výraz"), QStringLiteral("Směr"),
                                QStringLiteral("Zapomenuto"), QStringLiteral("Stabilita (dny)"),
                                QStringLiteral("Opakování"), QStringLiteral("Učebnice"), QStringLiteral("Lekce")},
                               rows);
    }
    return {};
}

void StatisticsWindow::StCmdUlozit_Click() {
    const QString suggested = m_views->currentItem() ? m_views->currentItem()->text() + QStringLiteral(".csv")
                                                     : QStringLiteral("statistika.csv");
    const QString path =
        saveFileHook()
            ? saveFileHook()(this)
            : QFileDialog::getSaveFileName(this, QStringLiteral("Uložit data grafu"), QDir::home().filePath(suggested),
                                           QStringLiteral("CSV pro tabulkové procesory (*.csv)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    const QByteArray bytes = csv();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        const int systemError = errno;
        MessageBox::showFileError(this, IoStatus::fromError(IoStatus::Operation::Write, path, file.error(), systemError,
                                                            IoStatus::Outcome::Damaged)
                                            .message());
        return;
    }
    m_status->setText(QStringLiteral("Data grafu jsou uložena v souboru „%1“.").arg(path));
}

void StatisticsWindow::StCmdProcvicit_Click() {
    QList<HardPair> pairs;
    for (const HardPair& pair : std::as_const(m_data.hardest)) {
        if (!pair.textbook.isEmpty())
            pairs << pair;
    }
    if (!pairs.isEmpty())
        Q_EMIT hardestChosen(pairs);
}

void StatisticsWindow::keepSize() {
    m_history.setValue(kSizeKey, QStringLiteral("%1x%2").arg(width()).arg(height()));
}

void StatisticsWindow::closeEvent(QCloseEvent* event) {
    event->accept();
}

void StatisticsWindow::hideEvent(QHideEvent* event) {
    keepSize();
    QWidget::hideEvent(event);
}
