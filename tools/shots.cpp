// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of every window a person should look over after a change: each page of the main
// window, the hint window in each of its uses, QuickClick on both pages, the background and each
// step of the vocabulary editor (import and export included). Runs on a copy of the demo data; answers every question
// Yes.
//
// Usage: memoran-shots FOLDER [DEMO]   (DEMO: the demo data directory, by default the source tree's)
// Run it offscreen (QT_QPA_PLATFORM=offscreen) or on a real screen to see the window manager's frames.
#include "app/BackgroundWindow.h"
#include "app/MainWindow.h"
#include "app/Translation.h"
#include "core/AppState.h"
#include "exchange/Transfer.h"
#include "hints/QuickClickWindow.h"
#include "history/ReviewHistory.h"
#include "review/ReviewPage.h"
#include "statistics/StatisticsWindow.h"
#include "store/TextRoutines.h"
#include "testing/TestPage.h"
#include "ui/AnswerBox.h"
#include "ui/HintWindow.h"
#include "ui/MessageBox.h"
#include "wizard/EditorWizard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

QString g_folder;
int g_saved = 0;
int g_failed = 0;

void save(QWidget* window, const QString& name) {
    QCoreApplication::processEvents();
    if (window && window->grab().save(g_folder + u'/' + name + QStringLiteral(".png"), "PNG")) {
        ++g_saved;
    } else {
        std::fprintf(stderr, "memoran-shots: cannot save %s\n", qPrintable(name));
        ++g_failed;
    }
}

bool copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            return false;
    }
    return true;
}

// The user's steps, as the tests script them: "Name" clicks a control, "Name=text" types into a box,
// picks in a combo box or clicks an item of a list ("_" for a blank). A missing control is reported.
void run(QWidget* root, const QString& script) {
    for (const QString& step : script.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = step.section(u'=', 0, 0);
        const QString text = step.section(u'=', 1).replace(u'_', u' ');
        QWidget* control = root->findChild<QWidget*>(name);
        if (!control) {
            std::fprintf(stderr, "memoran-shots: no control %s\n", qPrintable(name));
            ++g_failed;
            return;
        }
        if (!step.contains(u'=')) {
            QTest::mouseClick(control, Qt::LeftButton, {},
                              qobject_cast<QPushButton*>(control) ? control->rect().center()
                                                                  : QPoint(6, control->height() / 2));
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            while (combo->currentText() != text && combo->currentIndex() + 1 < combo->count())
                QTest::keyClick(combo, Qt::Key_Down);
        } else if (auto* list = qobject_cast<QListWidget*>(control)) {
            const QList<QListWidgetItem*> items = list->findItems(text, Qt::MatchExactly);
            if (!items.isEmpty())
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
        } else if (auto* box = qobject_cast<QLineEdit*>(control)) {
            box->selectAll();
            box->insert(text);
        }
    }
}

// The review page once it has read the history.
void showReview(MainWindow& w, const QString& name) {
    w.showPage(PageId::MainMenu);
    run(&w, QStringLiteral("F2ImgOpak"));
    for (int i = 0; i < 500 && w.reviewPage()->isLoading(); ++i)
        QTest::qWait(10);
    save(&w, name);
}

// A month of answers: each lesson's first pairs reviewed some days ago, so that some are due today
// and some in the coming week.
void seedHistory(const DataDir& dir, const QDateTime& now) {
    ReviewHistory history(dir.root());
    QDirIterator lessons(dir.root() + QStringLiteral("/units"), {QStringLiteral("*_*.mum")}, QDir::Files);
    int n = 0;
    while (lessons.hasNext()) {
        const QString file = lessons.next();
        if (file.endsWith(QStringLiteral("T.mum"), Qt::CaseInsensitive))
            continue;
        const QStringList lines = dir.readLines(QDir(dir.root()).relativeFilePath(file)).lines.mid(0, 9);
        for (const QString& line : lines) {
            const JudgedAnswer answer{{pairField(line, 1), pairField(line, 2)},
                                      n % 3 ? TestEngine::Direction::CzechShown : TestEngine::Direction::ForeignShown,
                                      {n % 4 ? Verdict::Way::FirstTry : Verdict::Way::Wrong, {}},
                                      QStringLiteral("Ukázka")};
            history.record(answer, now.addDays(-(n % 7) - 1));
            ++n;
        }
    }
}

// A year of tests and answers, as a learner who tests most days would have: the log gets two or three
// records a day, the history some thirty answers.
void seedYear(const DataDir& dir, const QDateTime& now) {
    QStringList lines;
    QDirIterator lessons(dir.root() + QStringLiteral("/units"), {QStringLiteral("*_*.mum")}, QDir::Files);
    while (lessons.hasNext()) {
        const QString file = lessons.next();
        if (!file.endsWith(QStringLiteral("T.mum"), Qt::CaseInsensitive))
            lines << dir.readLines(QDir(dir.root()).relativeFilePath(file)).lines;
    }
    lines.removeAll(QString());
    const QStringList captions{QStringLiteral("Němčina pro začátečníky - Rodina"),
                               QStringLiteral("Němčina na cesty - Na letišti"), QStringLiteral("Opakování")};
    ReviewHistory history(dir.root());
    quint32 seed = 20261206;
    const auto next = [&seed](int bound) { return int((seed = seed * 1664525u + 1013904223u) >> 8) % bound; };
    for (int day = 365; day >= 1; --day) {
        const QDateTime at = now.addDays(-day);
        if (next(7) == 0)
            continue; // a day off
        for (int test = 0; test < 1 + next(3); ++test) {
            const int right = 10 + next(20), wrong = next(3 + day / 40);
            dir.appendLine(QStringLiteral("Zkouseni.txt"),
                           TestEngine::resultRecord(at.addSecs(test * 3600), captions[next(3)],
                                                    TestEngine::successRate(right, wrong), right, right, wrong));
        }
        for (int i = 0; i < 30 && !lines.isEmpty(); ++i) {
            const QString& line = lines[next(int(lines.size()))];
            const Verdict::Way way = next(5) == 0 ? Verdict::Way::Wrong : Verdict::Way::FirstTry;
            history.record(
                {{pairField(line, 1), pairField(line, 2)}, TestEngine::Direction(next(2)), {way, {}}, captions[0]}, at);
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: memoran-shots FOLDER [DEMO]\n");
        return 2;
    }
    installCzechTranslation(app);
    app.setQuitOnLastWindowClosed(false);
    g_folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString demo = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(MEMORAN_DEMO_DIR);
    QTemporaryDir data;
    if (!QDir().mkpath(g_folder) || !copyTree(demo, data.path())) {
        std::fprintf(stderr, "memoran-shots: cannot copy %s or make %s\n", qPrintable(demo), qPrintable(g_folder));
        return 1;
    }
    QFile config(data.filePath(QStringLiteral("me.cfg"))); // the background and QuickClick on
    if (!config.open(QIODevice::WriteOnly) || config.write(" 1\r\n 1\r\n") != 8) {
        std::fprintf(stderr, "memoran-shots: cannot write %s\n", qPrintable(config.fileName()));
        return 1;
    }
    config.close();
    MessageBox::setHandler([](const MessageBox::Request& request) {
        return request.buttons == MessageBox::Buttons::Ok ? MessageBox::Answer::Ok : MessageBox::Answer::Yes;
    });

    DataDir dataDir(data.path());
    MersenneRandom random;
    SystemClock clock;
    AppState state(dataDir, random, clock);
    MainWindow w(state);
    w.start();
    random.seed(1); // the same pairs asked every run
    save(&w, QStringLiteral("main-page0-intro"));
    w.F1Tmr_Timer();
    save(&w, QStringLiteral("main-page1-menu"));
    save(w.background(), QStringLiteral("background"));
    save(w.quickClick(), QStringLiteral("quickclick-menu"));
    run(&w, QStringLiteral("F2ImgUziv"));
    save(&w, QStringLiteral("main-page3-user-textbook"));
    w.showPage(PageId::NewLesson);
    save(&w, QStringLiteral("main-page7-new-lesson"));
    w.showPage(PageId::PairList);
    save(&w, QStringLiteral("main-page8-pair-list"));
    w.showPage(PageId::MainMenu);
    run(&w, QStringLiteral("F2ImgOpt"));
    save(&w, QStringLiteral("main-page4-settings"));
    showReview(w, QStringLiteral("main-page10-review-empty"));
    seedHistory(dataDir, clock.now());
    showReview(w, QStringLiteral("main-page10-review-due"));
    seedYear(dataDir, clock.now());
    run(&w, QStringLiteral("OpCmdStatistika"));
    if (StatisticsWindow* statistics = w.statistics()) {
        for (int i = 0; i < 1000 && statistics->isLoading(); ++i)
            QTest::qWait(10);
        const char* const views[] = {"rate", "answers", "forecast", "hardest"};
        for (int view = 0; view < 4; ++view) {
            statistics->showView(StatisticsWindow::View(view));
            save(statistics, QStringLiteral("statistics-%1-%2").arg(view).arg(QLatin1String(views[view])));
        }
        statistics->hide();
    }

    // A test of a whole lesson: the setup, the selection, the test with every hint, the results.
    w.showPage(PageId::MainMenu);
    run(&w, QStringLiteral("F2ImgTry F2Cmbbx(0)=Němčina_na_cesty F2Cmbbx(1)=Počasí_a_příroda"));
    save(&w, QStringLiteral("main-page2-setup"));
    MessageBox::setHandler([](const MessageBox::Request&) { return MessageBox::Answer::No; }); // pick the pairs
    run(&w, QStringLiteral("F2CmdOk"));
    save(&w, QStringLiteral("main-page9-selection"));
    MessageBox::setHandler([](const MessageBox::Request& request) {
        return request.buttons == MessageBox::Buttons::Ok ? MessageBox::Answer::Ok : MessageBox::Answer::Yes;
    });
    run(&w, QStringLiteral("F9CmdStorno F2CmdOk"));
    save(&w, QStringLiteral("main-page5-test"));
    save(w.quickClick(), QStringLiteral("quickclick-test"));
    QString shot;
    HintWindow::setShowHook([&shot](HintWindow& window) {
        save(&window, shot);
        window.CmdOK_Click();
    });
    const std::pair<const char*, const char*> hints[] = {{"F2CmdPrvPism", "hint-first-letter"},
                                                         {"F2CmdDelkSlov", "hint-word-length"},
                                                         {"F2CmdPetMoznosti", "hint-five-options"}};
    for (const auto& [button, name] : hints) {
        shot = QString::fromLatin1(name);
        run(w.quickClick(), QString::fromLatin1(button));
    }
    AnswerBox* answer = w.testPages().test->answerBox();
    shot = QStringLiteral("hint-feedback-wrong");
    answer->setText(QStringLiteral("x")); // wrong: the feedback, and a pair to practise on the results page
    run(&w, QStringLiteral("F5CmdOK"));
    QString foreign = QStringLiteral("das Wetter"), czech = QStringLiteral("počasí");
    shot = QStringLiteral("hint-change-pair");
    HintWindow::changePair(&w, &foreign, &czech);
    HintWindow::setShowHook([](HintWindow& window) { window.CmdOK_Click(); });
    for (int i = 0; i < 10000 && !w.page(PageId::Results)->isVisible(); ++i) {
        answer->setText(state.test.expectedAlternatives().value(0));
        run(&w, QStringLiteral("F5CmdOK"));
    }
    save(&w, QStringLiteral("main-page6-results"));
    HintWindow::setShowHook({});

    // The editor, step by step: each walk from a newly opened wizard to the step it shows.
    const QString book = QStringLiteral("Němčina_na_cesty");
    const QString walks[] = {QString(),
                             QStringLiteral("CmdNext"),
                             QStringLiteral("CmdNext CmdNext"),
                             QStringLiteral("CmdNext Opt1 CmdNext"),
                             QStringLiteral("CmdNext CmdNext Lst=%1 CmdNext").arg(book),
                             QStringLiteral("CmdNext CmdNext Lst=%1 CmdNext Txt=Na_letišti CmdNext").arg(book),
                             QStringLiteral("CmdNext Opt3 CmdNext Lst=%1 CmdNext").arg(book),
                             QStringLiteral("CmdNext Opt4 CmdNext Lst=%1 CmdNext").arg(book),
                             QStringLiteral("CmdNext Opt4 CmdNext Lst=%1 CmdNext Lst2=V_hotelu CmdNext").arg(book),
                             QStringLiteral("CmdNext Opt5 CmdNext Lst=%1 CmdNext").arg(book)};
    int shotNumber = 0;
    const auto shoot = [&](const QString& walk) {
        w.showPage(PageId::MainMenu);
        run(&w, QStringLiteral("F2ImgBook"));
        EditorWizard* editor = w.editor();
        if (!editor) {
            std::fprintf(stderr, "memoran-shots: the editor did not open\n");
            return false;
        }
        run(editor, walk);
        save(editor,
             QStringLiteral("wizard-%1-step%2").arg(shotNumber++, 2, 10, QChar(u'0')).arg(editor->currentStep()));
        editor->CmdEnd_Click(); // asks, answered Yes
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return true;
    };
    for (const QString& walk : walks) {
        if (!shoot(walk))
            return 1;
    }

    // Import and export: the file dialog answered with files made here, a table with a lesson column
    // and a row the store refuses, and the demo textbook exported as KVTML and flash-card text.
    const QString table = data.filePath(QStringLiteral("slovíčka.csv"));
    QFile csv(table);
    const QByteArray rows =
        QStringLiteral("Lekce;Němčina;Čeština\r\nRodina;die Mutter;matka\r\nRodina;der Vater;otec\r\n"
                       "Dům;das Haus;dům+domek\r\nDům;die Küche;kuchyně\r\nDům;der Stern*;hvězda\r\n")
            .toUtf8();
    if (!csv.open(QIODevice::WriteOnly) || csv.write(rows) != rows.size() || !csv.flush()) {
        std::fprintf(stderr, "memoran-shots: cannot write %s\n", qPrintable(table));
        return 1;
    }
    csv.close();
    const QString kvtml = data.filePath(QStringLiteral("němčina.kvtml"));
    const QString cards = data.filePath(QStringLiteral("kartičky.txt"));
    if (!Exchange::writeFile(dataDir, 3, kvtml, Exchange::Format::Kvtml).ok() ||
        !Exchange::writeFile(dataDir, 3, cards, Exchange::Format::FlashCards).ok()) {
        std::fprintf(stderr, "memoran-shots: cannot export textbook 3\n");
        return 1;
    }
    QString chosenFile;
    EditorWizard::setFileDialogHook([&chosenFile](QWidget*) { return chosenFile; });
    const QString exchange = QStringLiteral("CmdNext Opt7 CmdNext");
    const std::pair<QString, QString> exchangeWalks[] = {
        {table, exchange + QStringLiteral(" VymCmdProchazet")},
        {kvtml, exchange + QStringLiteral(" VymOptExport VymCmdProchazet VymCmbUcebnice=%1").arg(book)},
        {table, exchange + QStringLiteral(" VymCmdProchazet CmdNext")},
        {kvtml, exchange + QStringLiteral(" VymCmdProchazet CmdNext")},
        {cards, exchange + QStringLiteral(" VymCmdProchazet CmdNext VymChkCarky")},
        {table, exchange + QStringLiteral(" VymCmdProchazet CmdNext CmdNext")},
        {table, exchange + QStringLiteral(" VymCmdProchazet CmdNext CmdNext VymChkSouhlas CmdNext")},
    };
    for (const auto& [file, walk] : exchangeWalks) {
        chosenFile = file;
        if (!shoot(walk))
            return 1;
    }
    EditorWizard::setFileDialogHook({});
    std::printf("memoran-shots: %d pictures in %s\n", g_saved, qPrintable(g_folder));
    return g_failed == 0 ? 0 : 1;
}
