#include "Files.h"
#include "FixedSources.h"
#include "ModalBoxes.h"
#include "ScriptedMessages.h"

#include "app/AppState.h"
#include "app/ErrorTrap.h"
#include "app/FrmCerna.h"
#include "app/FrmHl.h"
#include "app/MainMenuPage.h"
#include "app/SettingsPage.h"
#include "hints/FrmQL.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using MessageBox::Answer;
using namespace Qt::StringLiterals;

namespace {

const QString kMainCaption = u"Memoran 2002 Second Edition - Beta 3"_s;
const QString kExitQuestion = u"Opravdu chcete ukončit aplikaci?"_s;

// Everything one test needs: its own data directory, scripted sources and a fresh main window.
// Message boxes are scripted unless a test takes `messages` away to meet the real box.
struct Fixture {
    QTemporaryDir dir;
    DataDir dataDir{dir.path()};
    ScriptedRandom random;
    FixedClock clock;
    AppState state{dataDir, random, clock};
    std::optional<ScriptedMessages> messages{std::in_place};
    FrmHl window{state};

    QString configPath() const { return dir.filePath(u"me.cfg"_s); }
};

// "me.cfg" as the program writes it: line 1 the background window, line 2 the QuickClick window.
QByteArray settingsFile(int background, int quickClick) {
    return " " + QByteArray::number(background) + "\r\n " + QByteArray::number(quickClick) + "\r\n";
}

// A control by its objectName; a missing name breaks the naming contract, so the run stops there.
template <class T = QWidget> T* control(const QObject* root, const QString& name) {
    T* found = root->findChild<T*>(name);
    if (!found)
        qFatal("no control named %s under %s", qPrintable(name), qPrintable(root->objectName()));
    return found;
}

// Each main-menu item as "SLB" (shape shown, line shown, label bold), a dash where it is off.
QString menuState(const MainMenuPage* menu) {
    QStringList items;
    for (int i = 0; i < 3; ++i) {
        QString item;
        item += control(menu, QStringLiteral("F2Shp(%1)").arg(i))->isHidden() ? u'-' : u'S';
        item += control(menu, QStringLiteral("F2Ln(%1)").arg(i))->isHidden() ? u'-' : u'L';
        item += control(menu, QStringLiteral("F2Lbl(%1)").arg(i))->font().bold() ? u'B' : u'-';
        items.append(item);
    }
    return items.join(u' ');
}

bool greyFramesShown(const MainMenuPage* menu) {
    for (int i = 3; i <= 5; ++i) {
        if (control(menu, QStringLiteral("F2Shp(%1)").arg(i))->isHidden() ||
            control(menu, QStringLiteral("F2Ln(%1)").arg(i))->isHidden())
            return false;
    }
    return true;
}

void sendMouseMove(QWidget* target) {
    const QPointF local(target->width() / 2.0, target->height() / 2.0);
    QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

bool shown(const QWidget* window) {
    return window && window->isVisible();
}

QStringList visibleWindows() {
    QStringList names;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            names.append(window->objectName());
    }
    names.sort();
    return names;
}

} // namespace

class TestApp : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> m_f;

    FrmHl& window() { return m_f->window; }
    ScriptedMessages& messages() { return *m_f->messages; }
    void writeConfig(const QByteArray& bytes) { QVERIFY(writeBytes(m_f->configPath(), bytes)); }
    QWidget* frame(int page) const { return control(&m_f->window, QStringLiteral("Frames(%1)").arg(page)); }
    QWidget* nav(int page) const { return control(&m_f->window, QStringLiteral("LblNav(%1)").arg(page)); }
    QString pageCaption() const { return control<QLabel>(&m_f->window, u"LblName"_s)->text(); }

    QList<int> shownPages() const {
        QList<int> pages;
        for (int i = 0; i < FrmHl::kPageCount; ++i) {
            if (!frame(i)->isHidden())
                pages.append(i);
        }
        return pages;
    }

    QList<int> boldNavs() const {
        QList<int> pages;
        for (int i = 0; i < FrmHl::kPageCount; ++i) {
            if (nav(i)->font().bold())
                pages.append(i);
        }
        return pages;
    }

    // The three progress controls, frame, bar and percentage, as "FBP"; a dash for each one hidden.
    QString progressState() const {
        QString state;
        state += control(&m_f->window, u"ShpRam"_s)->isHidden() ? u'-' : u'F';
        state += control(&m_f->window, u"ShpPosun"_s)->isHidden() ? u'-' : u'B';
        state += control(&m_f->window, u"LblPosun"_s)->isHidden() ? u'-' : u'P';
        return state;
    }

private Q_SLOTS:
    void initTestCase() {
        // As in main(): hidden windows must not end the run.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void init() {
        m_f = std::make_unique<Fixture>();
        QVERIFY(m_f->dir.isValid());
    }

    void cleanup() {
        m_f.reset();
        const QStringList leftovers = deleteLeftoverWindows();
        QVERIFY2(leftovers.isEmpty(), qPrintable(u"windows left over: "_s + leftovers.join(u", ")));
    }

    // --- Start-up and the intro timer

    void startUp_data() {
        QTest::addColumn<QByteArray>("config"); // null: no file
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("quickClick");

        QTest::newRow("missing file") << QByteArray() << false << false;
        QTest::newRow("both off") << settingsFile(0, 0) << false << false;
        QTest::newRow("QuickClick only") << settingsFile(0, 1) << false << true;
        QTest::newRow("background only") << settingsFile(1, 0) << true << false;
        QTest::newRow("both on") << settingsFile(1, 1) << true << true;
        QTest::newRow("one line") << QByteArray("1\r\n") << true << false;
        QTest::newRow("garbage") << QByteArray("abc\r\n#?!\r\n") << false << false;
    }

    void startUp() {
        QFETCH(QByteArray, config);
        QFETCH(bool, background);
        QFETCH(bool, quickClick);
        if (!config.isNull())
            writeConfig(config);
        FrmHl& w = window();

        w.Form_Load();

        QCOMPARE(m_f->random.seeds, std::deque<quint64>{quint64(m_f->clock.time.toMSecsSinceEpoch())});
        QVERIFY(w.isVisible());
        QCOMPARE(shownPages(), QList<int>{0});
        QCOMPARE(boldNavs(), QList<int>{0});
        QCOMPARE(pageCaption(), QString());
        QCOMPARE(progressState(), u"---"_s);
        QCOMPARE(shown(w.background()), background);
        if (background)
            QVERIFY(!w.background()->isEnabled());
        QCOMPARE(shown(w.quickClick()), quickClick);
        if (quickClick) {
            const QRect main = w.frameGeometry();
            const QRect ql = w.quickClick()->frameGeometry();
            QCOMPARE(ql.top(), main.bottom() + 1);
            QCOMPARE(ql.right(), main.right());
        }
        QCOMPARE(control<QCheckBox>(w.settingsPage(), u"F4ChckPoz"_s)->isChecked(), background);
        QCOMPARE(control<QCheckBox>(w.settingsPage(), u"F4ChckQL"_s)->isChecked(), quickClick);
    }

    void introTimer_data() {
        QTest::addColumn<bool>("eventLoop");
        QTest::newRow("timer fires") << true;
        QTest::newRow("handler called") << false;
    }

    void introTimer() {
        QFETCH(bool, eventLoop);
        FrmHl& w = window();
        QVERIFY(w.introTimer()->isActive());
        QCOMPARE(w.introTimer()->interval(), 1000);
        w.Form_Load();
        QCOMPARE(shownPages(), QList<int>{0});

        if (eventLoop)
            QTRY_COMPARE(shownPages(), QList<int>{1});
        else
            w.F1Tmr_Timer();

        QCOMPARE(shownPages(), QList<int>{1});
        QCOMPARE(boldNavs(), QList<int>{1});
        QCOMPARE(pageCaption(), u"Hlavní menu"_s);
        QVERIFY(w.quickClick());
        QCOMPARE(w.quickClick()->page(), 1);
        QVERIFY(!w.quickClick()->isVisible()); // loaded, but "me.cfg" does not ask for it
        QVERIFY(!w.introTimer()->isActive());
    }

    // --- Pages, navigation and progress

    void pageSwitch_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("caption");
        const QStringList captions = u"|Hlavní menu|Zkoušení|Uživatelská učebnice|Nastavení "
                                     u"Zorirode|Zkoušení|"
                                     u"Výsledky|Uživatelská učebnice|Uživatelská učebnice|Zkoušení"_s.split(u'|');
        for (int page = 0; page < FrmHl::kPageCount; ++page)
            QTest::addRow("page %d", page) << page << captions.at(page);
    }

    void pageSwitch() {
        QFETCH(int, page);
        QFETCH(QString, caption);
        FrmHl& w = window();
        w.Form_Load();
        // A page that someone showed by hand must not survive the switch.
        frame((page + 3) % FrmHl::kPageCount)->show();

        w.ZobrazStranku(page);

        QCOMPARE(shownPages(), QList<int>{page});
        QCOMPARE(boldNavs(), QList<int>{page});
        QCOMPARE(pageCaption(), caption);
        QVERIFY(nav(7)->isHidden());
        QVERIFY(nav(8)->isHidden());
    }

    void progress_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QString>("text"); // empty: the indicator is hidden
        QTest::addColumn<int>("fifths");   // bar width in fifths of the frame; -1 not checked

        QTest::newRow("20 of 100") << 20 << 100 << u" 20 %"_s << 1;
        QTest::newRow("0 of 5") << 0 << 5 << u" 0 %"_s << 0;
        QTest::newRow("5 of 5") << 5 << 5 << u" 100 %"_s << 5;
        QTest::newRow("1 of 3") << 1 << 3 << u" 33 %"_s << -1;
        QTest::newRow("hidden") << 0 << 0 << QString() << -1;
    }

    void progress() {
        QFETCH(int, value);
        QFETCH(int, maximum);
        QFETCH(QString, text);
        QFETCH(int, fifths);
        FrmHl& w = window();
        w.Form_Load();
        w.ZobrazPrubeh(50, 100); // every row starts from a half-full bar

        w.ZobrazPrubeh(value, maximum);

        QCOMPARE(progressState(), text.isEmpty() ? u"---"_s : u"FBP"_s);
        if (text.isEmpty())
            return;
        QCOMPARE(control<QLabel>(&w, u"LblPosun"_s)->text(), text);
        if (fifths >= 0)
            QCOMPARE(control(&w, u"ShpPosun"_s)->width(), control(&w, u"ShpRam"_s)->width() * fifths / 5);
    }

    // --- Main menu

    void menuHover_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("lit");
        QTest::addColumn<QString>("nextZone");
        QTest::addColumn<QString>("bothLit");

        QTest::newRow("test, then editor") << u"F2ImgTry"_s << u"SLB --- ---"_s << u"F2ImgBook"_s << u"SLB SLB ---"_s;
        QTest::newRow("editor, then settings")
            << u"F2ImgBook"_s << u"--- SLB ---"_s << u"F2ImgOpt"_s << u"--- SLB SLB"_s;
        QTest::newRow("settings, then test") << u"F2ImgOpt"_s << u"--- --- SLB"_s << u"F2ImgTry"_s << u"SLB --- SLB"_s;
    }

    void menuHover() {
        QFETCH(QString, zone);
        QFETCH(QString, lit);
        QFETCH(QString, nextZone);
        QFETCH(QString, bothLit);
        FrmHl& w = window();
        w.Form_Load();
        w.F1Tmr_Timer();
        MainMenuPage* menu = w.mainMenu();
        QCOMPARE(menuState(menu), u"--- --- ---"_s);

        sendMouseMove(control(menu, zone));
        QCOMPARE(menuState(menu), lit);
        sendMouseMove(control(menu, zone)); // moving within the item keeps it lit
        QCOMPARE(menuState(menu), lit);
        sendMouseMove(control(menu, nextZone));
        QCOMPARE(menuState(menu), bothLit);
        QVERIFY(greyFramesShown(menu));

        sendMouseMove(frame(1));
        QCOMPARE(menuState(menu), u"--- --- ---"_s);
        QVERIFY(greyFramesShown(menu));
    }

    void settingsReached_data() {
        // 0 left click, 1 right click, 2 double click, 3 the QuickClick button
        QTest::addColumn<int>("gesture");
        QTest::addColumn<int>("page");
        QTest::newRow("left click") << 0 << 4;
        QTest::newRow("right click") << 1 << 1;
        QTest::newRow("double click") << 2 << 4;
        QTest::newRow("QuickClick") << 3 << 4;
    }

    void settingsReached() {
        QFETCH(int, gesture);
        QFETCH(int, page);
        FrmHl& w = window();
        w.Form_Load();
        w.F1Tmr_Timer();

        if (gesture == 3)
            control<QAbstractButton>(w.quickClick(), u"F1CmdOpt"_s)->click();
        else if (gesture == 2)
            w.mainMenu()->F2ImgOpt_DblClick();
        else
            QTest::mouseClick(control(w.mainMenu(), u"F2ImgOpt"_s), gesture == 0 ? Qt::LeftButton : Qt::RightButton);

        QCOMPARE(shownPages(), QList<int>{page});
        QCOMPARE(boldNavs(), QList<int>{page});
        QCOMPARE(pageCaption(), page == 4 ? u"Nastavení Zorirode"_s : u"Hlavní menu"_s);
    }

    // --- Minimise and restore, ending the program, the error trap

    void minimiseRestore_data() {
        QTest::addColumn<QByteArray>("startConfig");
        QTest::addColumn<bool>("minimise"); // otherwise the window is only shown again
        QTest::addColumn<QByteArray>("restoreConfig");
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("quickClick");

        QTest::newRow("QuickClick comes back") << settingsFile(1, 1) << true << settingsFile(0, 1) << false << true;
        QTest::newRow("background comes back") << settingsFile(1, 1) << true << settingsFile(1, 0) << true << false;
        QTest::newRow("shown background stays") << settingsFile(1, 0) << false << settingsFile(0, 0) << true << false;
    }

    void minimiseRestore() {
        QFETCH(QByteArray, startConfig);
        QFETCH(bool, minimise);
        QFETCH(QByteArray, restoreConfig);
        QFETCH(bool, background);
        QFETCH(bool, quickClick);
        writeConfig(startConfig);
        FrmHl& w = window();
        w.Form_Load();

        if (minimise) {
            w.setWindowState(Qt::WindowMinimized);
            QVERIFY(!shown(w.background()));
            QVERIFY(!shown(w.quickClick()));
        }
        writeConfig(restoreConfig);
        if (minimise)
            w.setWindowState(Qt::WindowNoState);
        else
            w.Form_Resize();

        QVERIFY(w.isVisible());
        QCOMPARE(shown(w.background()), background);
        QCOMPARE(shown(w.quickClick()), quickClick);
    }

    void programEnds_data() {
        QTest::addColumn<bool>("closeWindow"); // otherwise "Konec"
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("ends");
        QTest::newRow("Konec, No") << false << false << false;
        QTest::newRow("Konec, Yes") << false << true << true;
        QTest::newRow("window closed") << true << false << true;
    }

    void programEnds() {
        QFETCH(bool, closeWindow);
        QFETCH(bool, yes);
        QFETCH(bool, ends);
        writeConfig(settingsFile(1, 1));
        FrmHl& w = window();
        w.Form_Load();
        QSignalSpy ended(&w, &FrmHl::programEnded);
        messages().answer(yes ? Answer::Yes : Answer::No);

        if (closeWindow)
            QVERIFY(w.close());
        else
            w.CmdExit_Click();

        QCOMPARE(messages().shown.size(), closeWindow ? 0 : 1);
        if (!closeWindow) {
            const MessageBox::Request& box = messages().shown.first();
            QCOMPARE(box.text, kExitQuestion);
            QCOMPARE(box.buttons, MessageBox::Buttons::YesNo);
            QCOMPARE(box.icon, MessageBox::Icon::Exclamation);
            QCOMPARE(box.title, kMainCaption);
        }
        QCOMPARE(ended.count(), ends ? 1 : 0);
        const QStringList allWindows{u"FrmCerna"_s, u"FrmHl"_s, u"FrmQL"_s};
        QCOMPARE(visibleWindows(), ends ? QStringList() : allWindows);
    }

    void exitRealBox() {
        m_f->messages.reset();
        FrmHl& w = window();
        w.Form_Load();
        QSignalSpy ended(&w, &FrmHl::programEnded);
        const auto seen = std::make_shared<SeenBox>();
        answerNextBox(QMessageBox::No, seen);

        w.CmdExit_Click();

        QVERIFY(seen->seen);
        QCOMPARE(seen->text, kExitQuestion);
        QCOMPARE(seen->title, kMainCaption);
        QCOMPARE(seen->icon, QMessageBox::Warning);
        QCOMPARE(seen->buttonCount, 2);
        QCOMPARE(seen->yes, u"Ano"_s);
        QCOMPARE(seen->no, u"Ne"_s);
        QCOMPARE(ended.count(), 0);
        QVERIFY(w.isVisible());
    }

    void errorTrap_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("routine");
        QTest::addColumn<bool>("throws");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("text"); // empty: no box

        const QString exitText = u"Chyba programu číslo: 7 (Exit)\r\nChcete ukončit aplikaci?"_s;
        QTest::newRow("error, Yes") << 7 << u"Exit"_s << true << true << exitText;
        QTest::newRow("error, No") << 7 << u"Exit"_s << true << false << exitText;
        QTest::newRow("no routine name") << 1 << QString() << true << true
                                         << u"Chyba programu číslo: 1\r\nChcete ukončit aplikaci?"_s;
        QTest::newRow("no error") << 7 << u"Exit"_s << false << true << QString();
    }

    void errorTrap() {
        QFETCH(int, number);
        QFETCH(QString, routine);
        QFETCH(bool, throws);
        QFETCH(bool, yes);
        QFETCH(QString, text);
        messages().answer(yes ? Answer::Yes : Answer::No);
        int ends = 0;
        const auto body = [throws] {
            if (throws)
                throw RoutineError("division by zero");
        };

        const bool finished = runTrapped(&window(), number, routine, body, [&ends] { ++ends; });

        QCOMPARE(finished, !throws);
        QCOMPARE(messages().shown.size(), text.isEmpty() ? 0 : 1);
        QCOMPARE(ends, !text.isEmpty() && yes ? 1 : 0);
        if (text.isEmpty())
            return;
        const MessageBox::Request& box = messages().shown.first();
        QCOMPARE(box.text, text);
        QCOMPARE(box.buttons, MessageBox::Buttons::YesNo);
        QCOMPARE(box.icon, MessageBox::Icon::Critical);
        QCOMPARE(box.title, u"NoName"_s);
    }

    // --- Settings page

    void settingsOk_data() {
        QTest::addColumn<QByteArray>("startConfig");
        QTest::addColumn<bool>("background");
        QTest::addColumn<bool>("quickClick");
        QTest::addColumn<QByteArray>("saved");

        QTest::newRow("both cleared") << settingsFile(0, 1) << false << false << QByteArray(" 0\r\n 0\r\n");
        QTest::newRow("QuickClick ticked") << settingsFile(0, 0) << false << true << QByteArray(" 0\r\n 1\r\n");
        QTest::newRow("background ticked") << settingsFile(0, 0) << true << false << QByteArray(" 1\r\n 0\r\n");
    }

    void settingsOk() {
        QFETCH(QByteArray, startConfig);
        QFETCH(bool, background);
        QFETCH(bool, quickClick);
        QFETCH(QByteArray, saved);
        writeConfig(startConfig);
        FrmHl& w = window();
        w.Form_Load();
        w.mainMenu()->F2ImgOpt_Click();
        QCOMPARE(shownPages(), QList<int>{4});
        SettingsPage* page = w.settingsPage();
        control<QCheckBox>(page, u"F4ChckPoz"_s)->setChecked(background);
        control<QCheckBox>(page, u"F4ChckQL"_s)->setChecked(quickClick);

        control<QAbstractButton>(page, u"F4CmdOK"_s)->click();

        QCOMPARE(readBytes(m_f->configPath()), saved);
        QCOMPARE(shownPages(), QList<int>{1});
        QCOMPARE(progressState(), u"---"_s);
        QCOMPARE(messages().shown.size(), 0);
        if (quickClick) {
            QVERIFY(shown(w.quickClick()));
            QCOMPARE(w.quickClick()->page(), 1);
        } else {
            QVERIFY(!w.quickClick());
        }
        // The background needs a restart or a restore, never OK itself.
        QVERIFY(!shown(w.background()));
        w.setWindowState(Qt::WindowMinimized);
        w.setWindowState(Qt::WindowNoState);
        QCOMPARE(shown(w.background()), background);
        QCOMPARE(shown(w.quickClick()), quickClick);
    }

    void settingsStorno() {
        writeConfig(settingsFile(0, 1));
        const QDateTime longAgo(QDate(2001, 1, 2), QTime(3, 4, 5));
        {
            QFile file(m_f->configPath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
        }
        FrmHl& w = window();
        w.Form_Load();
        w.ZobrazStranku(4);
        SettingsPage* page = w.settingsPage();
        auto* background = control<QCheckBox>(page, u"F4ChckPoz"_s);
        auto* quickClick = control<QCheckBox>(page, u"F4ChckQL"_s);
        background->setChecked(true);
        quickClick->setChecked(false);

        control<QAbstractButton>(page, u"F4CmdStorno"_s)->click();

        QVERIFY(!background->isChecked());
        QVERIFY(quickClick->isChecked());
        QCOMPARE(readBytes(m_f->configPath()), settingsFile(0, 1));
        QCOMPARE(QFileInfo(m_f->configPath()).lastModified(), longAgo);
        QCOMPARE(shownPages(), QList<int>{1});
        QVERIFY(shown(w.quickClick()));
        QVERIFY(!shown(w.background()));
    }

    void settingsSaveFails() {
        // A folder in the file's place: no user, root included, can save over it.
        QVERIFY(QDir(m_f->dir.path()).mkdir(u"me.cfg"_s));
        FrmHl& w = window();
        w.Form_Load();
        QSignalSpy ended(&w, &FrmHl::programEnded);
        w.ZobrazStranku(4);
        control<QCheckBox>(w.settingsPage(), u"F4ChckQL"_s)->setChecked(true);

        control<QAbstractButton>(w.settingsPage(), u"F4CmdOK"_s)->click();

        QCOMPARE(messages().shown.size(), 1);
        const MessageBox::Request& box = messages().shown.first();
        QVERIFY2(box.text.contains(u"me.cfg"_s), qPrintable(box.text));
        QCOMPARE(box.buttons, MessageBox::Buttons::Ok);
        QCOMPARE(box.icon, MessageBox::Icon::Critical);
        QCOMPARE(shownPages(), QList<int>{4});
        QCOMPARE(progressState(), u"---"_s);
        QVERIFY(!shown(w.quickClick()));
        QVERIFY(QFileInfo(m_f->configPath()).isDir());
        QVERIFY(w.isVisible());
        QCOMPARE(ended.count(), 0);
    }

    void settingsLogo() {
        FrmHl& w = window();
        w.F4Init();
        const QPixmap intro = control<QLabel>(w.page(0), u"F1ImgLogo"_s)->pixmap();
        const QPixmap settings = control<QLabel>(w.settingsPage(), u"F4ImgLogo"_s)->pixmap();
        QVERIFY(!settings.isNull());
        QCOMPARE(settings.size(), intro.size());
        QCOMPARE(settings.toImage(), intro.toImage());
    }

    // --- Background and QuickClick windows

    void backgroundKeepsColours() {
        writeConfig(settingsFile(1, 0));
        FrmHl& w = window();
        w.Form_Load();
        FrmCerna* background = w.background();
        QVERIFY(background);
        QVERIFY(!background->isEnabled());

        // Disabled only so that it takes no input: its pictures must not turn grey with it.
        const QImage image = background->grab().toImage();
        const QColor corner = image.pixelColor(image.width() - 2, image.height() - 2);
        QVERIFY2(corner.blue() > corner.red() + 20, qPrintable(corner.name()));
        const QRect logoArea = control(background, u"ImgLogo"_s)->geometry();
        const QColor logo = image.pixelColor(logoArea.left() + logoArea.width() / 20, logoArea.center().y());
        QVERIFY2(logo.blue() > logo.red() + 20, qPrintable(logo.name()));
    }

    void quickClickPages_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("jumps"); // FramesQL(0)
        QTest::addColumn<bool>("test");  // FramesQL(1)
        QTest::newRow("none") << 0 << false << false;
        QTest::newRow("main menu") << 1 << true << false;
        QTest::newRow("test") << 2 << false << true;
    }

    void quickClickPages() {
        QFETCH(int, page);
        QFETCH(bool, jumps);
        QFETCH(bool, test);
        FrmHl& w = window();
        w.ZobrazQuickClick((page + 1) % 3);

        w.ZobrazQuickClick(page);

        FrmQL* ql = w.quickClick();
        QVERIFY(ql);
        QCOMPARE(ql->page(), page);
        QCOMPARE(!control(ql, u"FramesQL(0)"_s)->isHidden(), jumps);
        QCOMPARE(!control(ql, u"FramesQL(1)"_s)->isHidden(), test);
    }

    void quickClickHints() {
        FrmHl& w = window();
        w.ZobrazQuickClick(2);
        FrmQL* ql = w.quickClick();
        const QStringList hints{u"F2CmdPrvPism"_s, u"F2CmdDelkSlov"_s, u"F2CmdPetMoznosti"_s};
        QStringList characters{u"F2CmdB"_s, u"F2CmdA"_s, u"F2CmdO"_s, u"F2CmdU"_s, u"F2CmdApostr"_s};
        for (int i = 0; i < 5; ++i)
            characters.append(QStringLiteral("F2Lbl(%1)").arg(i));
        auto shownOf = [ql](const QStringList& names) {
            QStringList result;
            for (const QString& name : names) {
                if (control(ql, name)->isVisibleTo(ql))
                    result.append(name);
            }
            return result;
        };
        QCOMPARE(shownOf(hints), QStringList());
        QCOMPARE(shownOf(characters), characters);

        control<QAbstractButton>(ql, u"F2Opt(1)"_s)->click();
        QCOMPARE(shownOf(hints), hints);
        QCOMPARE(shownOf(characters), QStringList());

        control<QAbstractButton>(ql, u"F2Opt(0)"_s)->click();
        QCOMPARE(shownOf(hints), QStringList());
        QCOMPARE(shownOf(characters), characters);
    }

    // Pictures of the windows for a person to look at, saved when MEMORAN_SHOTS names a folder.
    void screenshots() {
        writeConfig(settingsFile(1, 1));
        FrmHl& w = window();
        w.Form_Load();
        const QString folder = qEnvironmentVariable("MEMORAN_SHOTS");
        auto shoot = [&folder](QWidget* window, const QString& name) {
            const QPixmap picture = window->grab();
            QVERIFY2(!picture.isNull(), qPrintable(name));
            if (!folder.isEmpty())
                QVERIFY2(QDir().mkpath(folder) && picture.save(QDir(folder).filePath(name)), qPrintable(name));
        };

        shoot(&w, u"main-page0.png"_s);
        w.F1Tmr_Timer();
        sendMouseMove(control(w.mainMenu(), u"F2ImgBook"_s));
        shoot(&w, u"main-page1.png"_s);
        w.ZobrazStranku(4);
        shoot(&w, u"main-page4.png"_s);
        shoot(w.quickClick(), u"quickclick-page1.png"_s);
        w.ZobrazQuickClick(2);
        shoot(w.quickClick(), u"quickclick-page2.png"_s);
        FrmCerna* background = w.background();
        QVERIFY(background);
        background->resize(800, 600);
        background->Form_Activate();
        shoot(background, u"background.png"_s);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
