// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalBoxes.h"
#include "Program.h"

#include "app/BackgroundWindow.h"
#include "app/MainMenuPage.h"
#include "app/Translation.h"
#include "hints/QuickClickWindow.h"
#include "store/Vocabulary.h"
#include "ui/HintWindow.h"

#include <QAccessible>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class TestApp : public QObject {
    Q_OBJECT
    std::unique_ptr<Program> f;
    const QString kMenu = u"1 1 Hlavní menu|"_s;
    const QString kSettings = u"4 4 Nastavení Zorirode|"_s;

    // "me.cfg": line 1 the background window, line 2 the QuickClick window.
    static QByteArray cfg(int bg, int ql) { return QString::asprintf(" %d\r\n %d\r\n", bg, ql).toLatin1(); }

    // What the main window shows: "page boldNav caption|progress|flags". The page and the bold
    // navigation label are the only ones (-1: none or several); the progress text while the indicator
    // shows; flags "B" and "Q" for the background and QuickClick windows shown, "b" and "q" for the
    // settings page's boxes ticked, "-" for the main window hidden.
    static QString view(const MainWindow& w) {
        const auto only = [&w](QLatin1StringView array, auto&& on) {
            int found = -1;
            for (int i = 0; i < int(array == "Frames"_L1 ? kPageCount : kNavLabelCount); ++i) {
                if (on(control(&w, u"%1(%2)"_s.arg(array).arg(i))))
                    found = found == -1 ? i : -2;
            }
            return found < 0 ? -1 : found;
        };
        const bool flags[] = {w.background() && w.background()->isVisible(),
                              w.quickClick() && w.quickClick()->isVisible(),
                              control<QAbstractButton>(&w, u"F4ChckPoz"_s)->isChecked(),
                              control<QAbstractButton>(&w, u"F4ChckQL"_s)->isChecked(), !w.isVisible()};
        QString shown;
        for (int i = 0; i < 5; ++i)
            shown += flags[i] ? QString(QLatin1Char("BQbq-"[i])) : QString();
        const auto* progress = control<QLabel>(&w, u"LblPosun"_s);
        return u"%1 %2 %3|%4|%5"_s.arg(only("Frames"_L1, [](const QWidget* c) { return !c->isHidden(); }))
            .arg(only("LblNav"_L1, [](const QWidget* c) { return c->font().bold(); }))
            .arg(control<QLabel>(&w, u"LblName"_s)->text(), progress->isHidden() ? QString() : progress->text(), shown);
    }
    static QString flags(const MainWindow& w) { return view(w).section(u'|', 2); }
    // The objectNames of the controls among names that are shown within root.
    static QStringList shown(const QWidget* root, const QString& names) {
        QStringList result;
        for (const QString& name : names.split(u' ')) {
            if (control(root, name)->isVisibleTo(root))
                result.append(name);
        }
        return result;
    }
    // The main-menu items lit up: 0 the test, 1 the editor, 2 the settings, 3 the user textbook.
    static QList<int> lit(const MainMenuPage* menu) {
        QList<int> items;
        for (int i = 0; i < MainMenuPage::kItemCount; ++i) {
            if (menu->isLit(i))
                items.append(i);
        }
        return items;
    }

    MainWindow& load(const QByteArray& config = {}) {
        if (!config.isNull())
            writeBytes(f->dir.filePath(u"me.cfg"_s), config);
        f->w.start();
        return f->w;
    }
private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); } // as in main()
    void init() { f = std::make_unique<Program>(); }
    void cleanup() { QCOMPARE((f.reset(), deleteLeftoverWindows()), QStringList()); } // none left over

    void startUp_data() {
        QTest::addColumn<QByteArray>("config"); // null: no file
        QTest::addColumn<QString>("flags");
        QTest::newRow("missing") << QByteArray() << QString();
        QTest::newRow("QuickClick") << cfg(0, 1) << u"Qq"_s;
        QTest::newRow("background") << cfg(1, 0) << u"Bb"_s;
        QTest::newRow("garbage") << QByteArray("abc\r\n#?!\r\n") << QString();
    }
    void startUp() {
        QFETCH(QByteArray, config);
        QFETCH(QString, flags);
        MainWindow& w = load(config);
        QCOMPARE(f->random.seeds, std::deque<quint64>{quint64(f->clock.time.toMSecsSinceEpoch())});
        QCOMPARE(view(w), u"0 0 ||"_s + flags);
        QVERIFY(!w.background() || !w.background()->isEnabled());
    }

    void staleTemporaryFilesGo() { // which ones are stale is the store's rule
        const QString stale = f->dir.filePath(u"me.cfg.Ab12Cd"_s);
        QFile old(stale);
        QVERIFY(writeBytes(stale, " 1\r\n") && old.open(QIODevice::ReadWrite) &&
                old.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        old.close();
        load();
        QVERIFY(!QFile::exists(stale));
    }

    // What an earlier run or another program left is told at start-up and settled by the answer.
    void startUpRecords_data() {
        QTest::addColumn<bool>("journal"); // else a textbook deletion that a folder stopped
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("left"); // in books and units afterwards, beside the three lesson files
        const QString unfinished = u"Odstranění učebnice „Druhá“ nebylo dokončeno"_s;
        QTest::newRow("journal discarded") << true << true << u"Chcete tento záznam zahodit?"_s << QString();
        QTest::newRow("journal kept") << true << false << u"Chcete tento záznam zahodit?"_s << u"1_renumber.txt"_s;
        QTest::newRow("deletion finished") << false << true << unfinished << QString();
        QTest::newRow("deletion left") << false << false << unfinished << u"2.mum"_s;
    }
    void startUpRecords() {
        QFETCH(bool, journal);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        const QString root = f->dir.path();
        QVERIFY(writeFiles(root, u"books/1.mum=Moje;units/1_1T.mum=A;units/1_2T.mum=B"_s));
        if (journal) {
            QVERIFY(writeBytes(root + u"/units/1_renumber.txt"_s, "1\r\n"));
        } else { // a deletion that a folder stopped, then the folder taken away
            QVERIFY(writeFiles(root, u"books/2.mum=Druhá"_s) && QDir(root).mkpath(u"units/2_3.mum"_s));
            QVERIFY(!Vocabulary::deleteTextbook(f->dataDir, u"2.mum"_s, true).ok());
            QVERIFY(QDir(root + u"/units/2_3.mum"_s).removeRecursively());
        }
        f->messages.answer(yes ? MessageBox::Answer::Yes : MessageBox::Answer::No);
        load();
        QCOMPARE(f->messages.shown.size(), 1);
        QVERIFY2(f->messages.shown.first().text.contains(question), qPrintable(f->messages.shown.first().text));
        QCOMPARE(f->messages.shown.first().defaultAnswer, MessageBox::Answer::No);
        QStringList left =
            QDir(root + u"/books"_s).entryList(QDir::Files) + QDir(root + u"/units"_s).entryList(QDir::Files);
        left.sort();
        QTEST(left.join(u' ').remove(u"1.mum 1_1T.mum 1_2T.mum"_s).trimmed(), "left");
    }

    void pagesAndProgress() {
        MainWindow& w = load();
        w.showProgress(20, 100);
        QCOMPARE(view(w), u"0 0 | 20 %|"_s);
        QCOMPARE(control(&w, u"ShpPosun"_s)->width(), control(&w, u"ShpRam"_s)->width() / 5);
        w.showProgress(0, 0);
        QCOMPARE(view(w), u"0 0 ||"_s);
        const QStringList names =
            u"|Hlavní menu|Zkoušení|Uživatelská učebnice|Nastavení Zorirode|Zkoušení|"
            u"Výsledky|Uživatelská učebnice|Uživatelská učebnice|Zkoušení|Opakování"_s.split(u'|');
        // The nodes of our own, bold on pages 3, 7, 8 and the review page instead of any LblNav.
        const QMap<int, QString> ownNodeOf{
            {3, u"LblNavUziv"_s}, {7, u"LblNavUzivNova"_s}, {8, u"LblNavUzivSlova"_s}, {10, u"LblNavOpak"_s}};
        for (int page = 0; page < int(kPageCount); ++page) {
            w.showPage(PageId(page));
            QCOMPARE(view(w), u"%1 %2 %3||"_s.arg(page).arg(ownNodeOf.contains(page) ? -1 : page).arg(names[page]));
            QStringList bold;
            for (const QString& node : ownNodeOf) {
                if (control(&w, node)->font().bold())
                    bold.append(node);
            }
            QCOMPARE(bold, QStringList(ownNodeOf.value(page)).filter(u"Lbl"_s));
        }
    }

    void mainMenu() {
        MainWindow& w = load();
        QTRY_COMPARE(view(w), kMenu + u'|'); // the intro timer
        QVERIFY(!w.introTimer()->isActive() && int(w.quickClickPage()) == 1);
        MainMenuPage* menu = w.mainMenu();
        // Each item's hot zone lights it; only the free area puts the others out.
        const QStringList zones = u"F2ImgTry F2ImgBook F2ImgOpt F2ImgUziv F2ImgOpak"_s.split(u' ');
        for (int item = 0; item < MainMenuPage::kItemCount; ++item) {
            QTest::mouseMove(control(menu, zones[item]), QPoint(5, 5));
            QCOMPARE(lit(menu).size(), item + 1);
            QCOMPARE(lit(menu).last(), item);
        }
        QTest::mouseMove(menu, QPoint(2, 2)); // the free area
        QCOMPARE(lit(menu), QList<int>());
    }

    void menuItemsRunOnce_data() {
        QTest::addColumn<QString>("steps");  // a zone clicked ("2x": double-clicked), or keys pressed in turn
        QTest::addColumn<QString>("chosen"); // how often the test, the editor, the settings, the textbook, the review
        QTest::addColumn<int>("page");       // shown afterwards, its navigation label in bold
        QTest::newRow("test, click") << u"F2ImgTry"_s << u"1/0/0/0/0"_s << 2;
        QTest::newRow("editor, double-click") << u"2xF2ImgBook"_s << u"0/1/0/0/0"_s << 1;
        QTest::newRow("settings, double-click") << u"2xF2ImgOpt"_s << u"0/0/2/0/0"_s << 4; // its click, then its own
        QTest::newRow("textbook, double-click") << u"2xF2ImgUziv"_s << u"0/0/0/1/0"_s << 3;
        QTest::newRow("Enter, nothing lit") << u"Return"_s << u"0/0/0/0/0"_s << 1;
        QTest::newRow("Down three times") << u"Down Down Down Enter"_s << u"0/0/0/1/0"_s << 3;
        QTest::newRow("Up wraps round") << u"Up Return"_s << u"0/0/0/0/1"_s << 10;
        QTest::newRow("Shift+Tab") << u"Shift+Tab Shift+Tab Shift+Tab Return"_s << u"0/0/0/1/0"_s << 3;
        QTest::newRow("Alt+Z") << u"Alt+Z"_s << u"1/0/0/0/0"_s << 2;
        QTest::newRow("Alt+N") << u"Alt+N"_s << u"0/0/1/0/0"_s << 4;
        QTest::newRow("Alt+U") << u"Alt+U"_s << u"0/0/0/1/0"_s << 3;
        QTest::newRow("Alt+O") << u"Alt+O"_s << u"0/0/0/0/1"_s << 10;
    }
    void menuItemsRunOnce() {
        QFETCH(QString, steps);
        QFETCH(int, page);
        MainMenuPage* menu = load().mainMenu();
        QSignalSpy test(menu, &MainMenuPage::testChosen), editor(menu, &MainMenuPage::editorChosen),
            settings(menu, &MainMenuPage::settingsChosen), textbook(menu, &MainMenuPage::userTextbookChosen),
            review(menu, &MainMenuPage::reviewChosen);
        f->w.showPage(PageId::MainMenu);
        f->w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f->w));
        QCOMPARE(QApplication::focusWidget(), menu); // the menu took the focus when it was shown
        if (steps.contains(u"F2Img"_s)) {
            QWidget* zone = control(menu, QString(steps).remove(u"2x"_s));
            steps.startsWith(u"2x"_s) ? doubleClick(zone, QPoint(5, 5)) : click(zone);
        } else {
            for (const QString& key : steps.split(u' ')) {
                const QKeyCombination combination = QKeySequence::fromString(key)[0];
                QTest::keyClick(QApplication::focusWidget(), combination.key(), combination.keyboardModifiers());
            }
        }
        QTEST(u"%1/%2/%3/%4/%5"_s.arg(test.size())
                  .arg(editor.size())
                  .arg(settings.size())
                  .arg(textbook.size())
                  .arg(review.size()),
              "chosen");
        QVERIFY(view(f->w).startsWith(u"%1 %2 "_s.arg(page).arg(page == 3 || page == 10 ? -1 : page)));
        QCOMPARE(control(&f->w, u"LblNavUziv"_s)->font().bold(), page == 3);
    }

    // The menu's frames as drawn: the lit item's two pixels wide, the others one pixel wide in
    // another colour, each open inside.
    void menuFramesDrawn() {
        MainWindow& w = load();
        w.F1Tmr_Timer();
        MainMenuPage* menu = w.mainMenu();
        QTest::mouseMove(control(menu, u"F2ImgTry"_s), QPoint(5, 5));
        const QImage image = menu->grab().toImage();
        const QColor background = image.pixelColor(2, 2);
        const QRect lit = control(menu, u"F2Shp(0)"_s)->geometry(), quiet = control(menu, u"F2Shp(4)"_s)->geometry();
        const QColor litEdge = image.pixelColor(lit.left() + 1, lit.center().y());
        const QColor quietEdge = image.pixelColor(quiet.right(), quiet.center().y());
        QVERIFY(litEdge != background && quietEdge != background && litEdge != quietEdge);
        QCOMPARE(image.pixelColor(lit.left() + 2, lit.center().y()), background);
        QCOMPARE(image.pixelColor(quiet.right() - 1, quiet.center().y()), background);
    }

    // Both entries open the wizard in place of the main window and its QuickClick window; closing it
    // brings back what me.cfg asks for, and the background follows the wizard's minimising.
    void editorReplacesTheMainWindow_data() {
        QTest::addColumn<bool>("fromQuickClick");
        QTest::addColumn<QByteArray>("config");
        QTest::newRow("menu, QuickClick on") << false << cfg(1, 1);
        QTest::newRow("menu, QuickClick off") << false << cfg(0, 0);
        QTest::newRow("QuickClick window") << true << cfg(1, 1);
    }
    void editorReplacesTheMainWindow() {
        QFETCH(bool, fromQuickClick);
        QFETCH(QByteArray, config);
        MainWindow& w = load(config);
        const bool on = config == cfg(1, 1); // both companions, or neither
        w.F1Tmr_Timer();
        fromQuickClick ? click(w.quickClick(), u"F1CmdUziv"_s) : click(w.mainMenu(), u"F2ImgBook"_s);
        QVERIFY(w.editor() && w.editor()->isVisible());
        const QString ticked = on ? u"bq"_s : QString(), background = on ? u"B"_s : QString();
        QCOMPARE(view(w), kMenu + u'|' + background + ticked + u'-');
        QCOMPARE(int(w.quickClickPage()), 0);
        w.editor()->setWindowState(Qt::WindowMinimized);
        QCOMPARE(flags(w), ticked + u'-');
        w.editor()->setWindowState(Qt::WindowNoState);
        QCOMPARE(flags(w), background + ticked + u'-');
        QVERIFY(f->run(u"Ano CmdEnd"_s));
        QCOMPARE(flags(w), on ? u"BQbq"_s : QString());
        QCOMPARE(int(w.quickClickPage()), on ? 1 : 0);
        QTRY_VERIFY(!w.editor());
    }

    // A screen reader names every control the keyboard reaches: in the main window with all its pages,
    // QuickClick, the editor with all its steps, and a hint window.
    void everyControlHasAName() {
        f->start();
        click(f->w.mainMenu(), u"F2ImgBook"_s);
        QVERIFY(f->w.editor());
        HintWindow hint(&f->w);
        QStringList unnamed;
        const QList<QWidget*> windows{&f->w, f->w.quickClick(), f->w.editor(), &hint};
        for (QWidget* window : windows) {
            for (QWidget* control : window ? window->findChildren<QWidget*>() : QList<QWidget*>()) {
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
                // A combo box's own pop-up list is Qt's; the hint's options get their captions when shown.
                const bool ownPart = control->objectName().isEmpty() && control->inherits("QComboBoxListView");
                const auto* option = qobject_cast<QRadioButton*>(control);
                if (control->focusPolicy() != Qt::NoFocus && !ownPart && !(option && option->text().isEmpty()) &&
                    face->text(QAccessible::Name).isEmpty())
                    unnamed << control->objectName();
            }
        }
        QCOMPARE(unnamed.join(u" "_s), QString());
    }

    void czechContextMenus() {
        QVERIFY(installCzechTranslation(*QCoreApplication::instance()));
        QLineEdit box;
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions())
            texts.append(action->text());
        QVERIFY2(texts.filter(u"&Vložit"_s).size() == 1, qPrintable(texts.join(u'|')));
    }

    void minimiseRestore() {
        MainWindow& w = load(cfg(1, 1));
        w.setWindowState(Qt::WindowMinimized);
        QCOMPARE(flags(w), u"bq"_s); // both companions hidden
        writeBytes(f->dir.filePath(u"me.cfg"_s), cfg(0, 1));
        w.setWindowState(Qt::WindowNoState);
        QCOMPARE(flags(w), u"Qbq"_s); // restored as me.cfg now says
    }

    void programEnds_data() {
        QTest::addColumn<QString>("how"); // "close": the window closed, otherwise "Konec" and the answer
        QTest::newRow("Konec, No") << u"No"_s;
        QTest::newRow("Konec, Yes") << u"Yes"_s;
        QTest::newRow("window closed") << u"close"_s;
    }
    void programEnds() {
        QFETCH(QString, how);
        MainWindow& w = load(cfg(1, 1));
        QSignalSpy ended(&w, &MainWindow::programEnded);
        f->messages.answer(how == u"Yes" ? MessageBox::Answer::Yes : MessageBox::Answer::No);
        how == u"close" ? void(w.close()) : click(&w, u"CmdExit"_s);
        QCOMPARE(f->messages.texts(),
                 how == u"close" ? QStringList() : QStringList{u"Opravdu chcete ukončit aplikaci?"_s});
        for (const MessageBox::Request& box : std::as_const(f->messages.shown))
            QVERIFY(box.icon == MessageBox::Icon::Exclamation && box.defaultAnswer == MessageBox::Answer::No);
        QCOMPARE(ended.size(), how == u"No" ? 0 : 1);
        QCOMPARE(flags(w), how == u"No" ? u"BQbq"_s : u"bq-"_s);
    }

    void settings() {
        MainWindow& w = load(cfg(0, 1) + "kept\r\n");
        // Storno leaves both boxes and the file as they were: a rewrite would drop the extra line.
        QVERIFY(f->run(u"@4 F4ChckPoz F4ChckQL F4CmdStorno"_s));
        QCOMPARE(view(w), kMenu + u"|Qq"_s);
        QCOMPARE(f->bytes(u"me.cfg"_s), cfg(0, 1) + "kept\r\n");
        // The background waits for a restart or a restore; a cleared QuickClick is closed, not only hidden.
        QVERIFY(f->run(u"@4 F4ChckPoz F4ChckQL F4CmdOK"_s));
        QCOMPARE(view(w), kMenu + u"|b"_s);
        QCOMPARE(f->bytes(u"me.cfg"_s), cfg(1, 0));
        QVERIFY(!w.quickClick());
        QVERIFY(f->run(u"@4 F4ChckPoz F4ChckQL F4CmdOK"_s));
        QCOMPARE(view(w), kMenu + u"|Qq"_s);
        QCOMPARE(f->bytes(u"me.cfg"_s), cfg(0, 1));
        QVERIFY(w.quickClick()->page() == QuickClickPage::MenuJumps && f->messages.shown.isEmpty());
    }

    void settingsSaveFails() {
        QVERIFY(QDir(f->dir.path()).mkdir(u"me.cfg"_s)); // no user, root included, can save over a folder
        MainWindow& w = load();
        QVERIFY(f->run(u"@4 F4ChckQL F4CmdOK"_s));
        QCOMPARE(view(w), kSettings + u"|q"_s); // on the page, the boxes as set, no QuickClick window
        const QString shown = f->messages.texts().join(u'/');
        QVERIFY2(f->messages.shown.size() == 1 && shown.contains(u"me.cfg"_s), qPrintable(shown));
    }

    // Switched off, the QuickClick window is not built at start-up; shown later, it comes with the
    // page and the hints the main window has asked for meanwhile.
    void quickClick() {
        MainWindow& w = load(cfg(0, 0));
        w.F1Tmr_Timer();
        w.showQuickClickPage(QuickClickPage::TestHints);
        w.setQuickClickHintsEnabled(false);
        QVERIFY(!w.quickClick());
        w.showQuickClickWindow();
        QuickClickWindow* ql = w.quickClick();
        QCOMPARE(int(ql->page()), 2);
        QVERIFY(!control(ql, u"F2CmdPrvPism"_s)->isEnabled() && control(ql, u"F2CmdB"_s)->isEnabled());
        // FramesQL(0) holds the jumps, FramesQL(1) the test's helpers.
        const QStringList frames[] = {{}, {u"FramesQL(0)"_s}, {u"FramesQL(1)"_s}};
        for (int page : {0, 1, 2}) {
            w.showQuickClickPage(QuickClickPage(page));
            QCOMPARE(shown(ql, u"FramesQL(0) FramesQL(1)"_s), frames[page]);
        }
        // Nápovědy, then Znaky: the two sets share one place.
        for (int option : {1, 0}) {
            click(ql, u"F2Opt(%1)"_s.arg(option));
            QCOMPARE(shown(ql, u"F2CmdB F2CmdApostr F2CmdPrvPism F2CmdPetMoznosti"_s).join(u' '),
                     option ? u"F2CmdPrvPism F2CmdPetMoznosti"_s : u"F2CmdB F2CmdApostr"_s);
        }
        w.showQuickClickPage(QuickClickPage::MenuJumps);
        click(ql, u"F1CmdZk"_s);
        QCOMPARE(view(w), u"2 2 Zkoušení||Q"_s);
        click(ql, u"F1CmdOpt"_s);
        QCOMPARE(view(w), kSettings + u"|Q"_s);
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
