#include "ModalBoxes.h"
#include "Program.h"

#include "app/BackgroundWindow.h"
#include "app/MainMenuPage.h"
#include "app/MainWindow.h"
#include "app/Translation.h"
#include "core/AppState.h"
#include "hints/QuickClickWindow.h"
#include "store/Vocabulary.h"
#include "wizard/EditorWizard.h"

#include <QFontMetrics>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

// Calls back every time a widget is painted: what the user saw, step by step.
class PaintRecorder : public QObject {
public:
    PaintRecorder(QWidget* widget, std::function<void()> onPaint) : m_onPaint(std::move(onPaint)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            m_onPaint();
        return false;
    }

private:
    std::function<void()> m_onPaint;
};

// What the main window shows, field by field: a failed comparison names the field that differs.
struct ShellView {
    int page = 0;          // the one page frame shown (-1: none or several)
    int boldNav = 0;       // the one navigation label in bold (-1: none or several)
    QString caption = {};  // LblName
    QString progress = {}; // LblPosun while the indicator shows, empty while it is hidden
    bool background = false;
    bool quickClick = false;
    bool backgroundTicked = false; // the settings page's two boxes
    bool quickClickTicked = false;
    bool mainShown = true;
    bool operator==(const ShellView&) const = default;
};

char* toString(const ShellView& v) {
    return qstrdup(qPrintable(QStringLiteral("page %1, bold %2, caption \"%3\", progress \"%4\", background %5, "
                                             "QuickClick %6, ticked %7/%8, main window %9")
                                  .arg(v.page)
                                  .arg(v.boldNav)
                                  .arg(v.caption, v.progress)
                                  .arg(v.background)
                                  .arg(v.quickClick)
                                  .arg(v.backgroundTicked)
                                  .arg(v.quickClickTicked)
                                  .arg(v.mainShown)));
}

using Fixture = Program;

class TestApp : public QObject {
    Q_OBJECT
    std::unique_ptr<Fixture> f;
    const ShellView kMenu{.page = 1, .boldNav = 1, .caption = u"Hlavní menu"_s};
    const ShellView kSettings{.page = 4, .boldNav = 4, .caption = u"Nastavení Zorirode"_s};

    // "me.cfg": line 1 the background window, line 2 the QuickClick window.
    static QByteArray cfg(int bg, int ql) { return QString::asprintf(" %d\r\n %d\r\n", bg, ql).toLatin1(); }

    static ShellView withQuickClick(ShellView v) {
        v.quickClick = v.quickClickTicked = true;
        return v;
    }
    static ShellView view(const MainWindow& w) {
        ShellView v;
        const auto only = [&w](const char* array, auto&& on) {
            int found = -1;
            for (int i = 0; i < int(kPageCount); ++i) {
                if (on(control(&w, QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(i))))
                    found = found == -1 ? i : -2;
            }
            return found < 0 ? -1 : found;
        };
        v.page = only("Frames", [](const QWidget* c) { return !c->isHidden(); });
        v.boldNav = only("LblNav", [](const QWidget* c) { return c->font().bold(); });
        v.caption = control<QLabel>(&w, u"LblName"_s)->text();
        if (!control(&w, u"LblPosun"_s)->isHidden())
            v.progress = control<QLabel>(&w, u"LblPosun"_s)->text();
        v.background = w.background() && w.background()->isVisible();
        v.quickClick = w.quickClick() && w.quickClick()->isVisible();
        v.backgroundTicked = control<QAbstractButton>(&w, u"F4ChckPoz"_s)->isChecked();
        v.quickClickTicked = control<QAbstractButton>(&w, u"F4ChckQL"_s)->isChecked();
        v.mainShown = w.isVisible();
        return v;
    }
    // The objectNames of the controls among names that are shown within root.
    static QStringList shown(const QWidget* root, const QString& names) {
        QStringList result;
        for (const QString& name : names.split(u' ')) {
            if (control(root, name)->isVisibleTo(root))
                result.append(name);
        }
        return result;
    }
    // Of the controls named and shown within root: labels that would clip their text in bold, and whatever
    // overlaps a label.
    static QStringList crowded(const QWidget* root, const QString& names) {
        QList<const QWidget*> controls;
        for (const QString& name : names.split(u' ')) {
            if (const QWidget* c = control(root, name); c->isVisibleTo(root))
                controls.append(c);
        }
        const auto place = [root](const QWidget* c) { return QRect(c->mapTo(root, QPoint()), c->size()); };
        QStringList result;
        for (const QWidget* c : controls) {
            const auto* label = qobject_cast<const QLabel*>(c);
            QFont bold = c->font();
            bold.setBold(true);
            bool bad = label && (QFontMetrics(bold).horizontalAdvance(label->text()) > label->contentsRect().width() ||
                                 QFontMetrics(bold).height() > label->height());
            for (const QWidget* other : controls) {
                bad = bad || (other != c && (label || qobject_cast<const QLabel*>(other)) &&
                              place(other).intersects(place(c)));
            }
            if (bad)
                result.append(c->objectName());
        }
        return result;
    }
    // "name(0) name(1) ..." for the first count elements of a control array.
    static QString elements(QStringView name, int count) {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names.append(u"%1(%2)"_s.arg(name).arg(i));
        return names.join(u' ');
    }
    // A main-menu item's hot zone, coloured frame, coloured line and caption.
    static QStringList itemControls(int item) {
        if (item == 3)
            return u"F2ImgUziv F2UzivShp F2UzivLn F2UzivLbl"_s.split(u' ');
        return {u"F2ImgTry F2ImgBook F2ImgOpt"_s.split(u' ')[item], u"F2Shp(%1)"_s.arg(item), u"F2Ln(%1)"_s.arg(item),
                u"F2Lbl(%1)"_s.arg(item)};
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

    // On the settings page, ticks or clears the two boxes with the mouse and presses OK or Storno.
    void settle(bool background, bool quickClick, const QString& button) {
        f->w.showPage(PageId::Settings);
        for (const auto& [name, ticked] : {std::pair{u"F4ChckPoz"_s, background}, {u"F4ChckQL"_s, quickClick}}) {
            if (control<QAbstractButton>(&f->w, name)->isChecked() != ticked)
                click(&f->w, name);
        }
        click(&f->w, button);
    }
    QByteArray meCfg() const { return f->bytes(u"me.cfg"_s); }

private Q_SLOTS:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); } // as in main()
    void init() { f = std::make_unique<Fixture>(); }
    void cleanup() { QCOMPARE((f.reset(), deleteLeftoverWindows()), QStringList()); } // none left over

    void startUp_data() {
        QTest::addColumn<QByteArray>("config"); // null: no file
        QTest::addColumn<bool>("background");   // shown, and its box ticked
        QTest::addColumn<bool>("quickClick");
        QTest::newRow("missing") << QByteArray() << false << false;
        QTest::newRow("both off") << cfg(0, 0) << false << false;
        QTest::newRow("QuickClick") << cfg(0, 1) << false << true;
        QTest::newRow("background") << cfg(1, 0) << true << false;
        QTest::newRow("one line") << QByteArray("1\r\n") << true << false;
        QTest::newRow("garbage") << QByteArray("abc\r\n#?!\r\n") << false << false;
    }
    void startUp() {
        QFETCH(QByteArray, config);
        QFETCH(bool, background);
        QFETCH(bool, quickClick);
        MainWindow& w = load(config);
        QCOMPARE(f->random.seeds, std::deque<quint64>{quint64(f->clock.time.toMSecsSinceEpoch())});
        QCOMPARE(view(w), (ShellView{.background = background,
                                     .quickClick = quickClick,
                                     .backgroundTicked = background,
                                     .quickClickTicked = quickClick}));
        QVERIFY(!w.background() || !w.background()->isEnabled());
        if (quickClick)
            QCOMPARE(w.quickClick()->frameGeometry().topRight(), w.frameGeometry().bottomRight() + QPoint(0, 1));
    }

    void staleTemporaryFilesGo() {
        const QString stale = f->dir.filePath(u"me.cfg.Ab12Cd"_s), fresh = f->dir.filePath(u"me.cfg.Xy34Zw"_s);
        QVERIFY(writeBytes(stale, " 1\r\n") && writeBytes(fresh, " 1\r\n"));
        QFile old(stale);
        QVERIFY(old.open(QIODevice::ReadWrite) &&
                old.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        old.close();
        load();
        // A save may be under way in another copy of the program: only what is old goes.
        QVERIFY(!QFile::exists(stale) && QFile::exists(fresh));
    }

    // What an earlier run or another program left is told at start-up and settled by the answer.
    void startUpRecords_data() {
        QTest::addColumn<QString>("record"); // "journal": a renumbering journal by hand; "deletion"
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("files"); // those of books and units afterwards
        const QStringList lessons{u"books/1.mum"_s, u"units/1_1T.mum"_s, u"units/1_2T.mum"_s};
        QTest::newRow("journal discarded") << u"journal"_s << true << u"Chcete tento záznam zahodit?"_s << lessons;
        const QString unfinished = u"Odstranění učebnice „Druhá“ nebylo dokončeno"_s;
        QTest::newRow("deletion finished") << u"deletion"_s << true << unfinished << lessons;
        QTest::newRow("deletion left") << u"deletion"_s << false << unfinished
                                       << lessons + QStringList{u"books/2.mum"_s};
    }
    void startUpRecords() {
        QFETCH(QString, record);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        QFETCH(QStringList, files);
        const QString root = f->dir.path();
        QVERIFY(writeFiles(root, u"books/1.mum=Moje;units/1_1T.mum=A;units/1_2T.mum=B"_s));
        if (record == u"journal") {
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
        QStringList left;
        for (const QString& folder : {u"books"_s, u"units"_s}) {
            for (const QString& name : QDir(root + u'/' + folder).entryList(QDir::Files))
                left.append(folder + u'/' + name);
        }
        if (!yes && record == u"journal")
            files.append(u"units/1_renumber.txt"_s);
        files.sort();
        QCOMPARE(left, files);
    }

    void pagesAndProgress() {
        MainWindow& w = load();
        // The last number: the bar's width in fifths of the frame, -1 not checked.
        const std::tuple<int, int, const char*, int> rows[] = {
            {20, 100, " 20 %", 1}, {0, 5, " 0 %", 0}, {1, 3, " 33 %", -1}, {0, 0, "", -1}};
        for (const auto& [value, maximum, text, fifths] : rows) {
            w.showProgress(value, maximum);
            QCOMPARE(view(w), ShellView{.progress = QLatin1String(text)});
            if (fifths >= 0)
                QCOMPARE(control(&w, u"ShpPosun"_s)->width(), control(&w, u"ShpRam"_s)->width() * fifths / 5);
        }
        const QStringList names = u"|Hlavní menu|Zkoušení|Uživatelská učebnice|Nastavení Zorirode|Zkoušení|"
                                  u"Výsledky|Uživatelská učebnice|Uživatelská učebnice|Zkoušení"_s.split(u'|');
        // The user textbook's own nodes of the tree, bold on pages 3, 7 and 8 instead of any LblNav.
        const QStringList ownNodes = u"LblNavUziv LblNavUzivNova LblNavUzivSlova"_s.split(u' ');
        const QMap<int, QString> ownNodeOf{{3, ownNodes[0]}, {7, ownNodes[1]}, {8, ownNodes[2]}};
        for (int page = 0; page < int(kPageCount); ++page) {
            w.showPage(PageId(page));
            const int boldNav = ownNodeOf.contains(page) ? -1 : page;
            QCOMPARE(view(w), (ShellView{.page = page, .boldNav = boldNav, .caption = names[page]}));
            QCOMPARE(shown(&w, u"LblNav(7) LblNav(8)"_s), QStringList()); // shown by the nodes below instead
            QStringList bold;
            for (const QString& node : ownNodes) {
                if (control(&w, node)->font().bold())
                    bold.append(node);
            }
            QCOMPARE(bold, ownNodeOf.contains(page) ? QStringList{ownNodeOf[page]} : QStringList());
        }
        QCOMPARE(shown(&w, ownNodes.join(u' ')), ownNodes);
        const QString tree = QStringList{u"LblQuickName"_s, elements(u"LblNav", int(kPageCount)), elements(u"Ln", 13),
                                         elements(u"LnUziv", 4), ownNodes.join(u' ')}
                                 .join(u' ');
        QCOMPARE(crowded(&w, tree), QStringList());
    }

    void mainMenu() {
        MainWindow& w = load();
        QTRY_COMPARE(view(w), kMenu); // the intro timer
        QVERIFY(!w.introTimer()->isActive() && int(w.quickClickPage()) == 1);
        MainMenuPage* menu = w.mainMenu();
        for (int i = 0; i < 2 * MainMenuPage::kItemCount; ++i) { // twice over each: moving within keeps it lit
            const QStringList item = itemControls(i / 2);
            QTest::mouseMove(control(menu, item[0]), QPoint(5 + i, 5));
            QCOMPARE(lit(menu).size(), i / 2 + 1); // only the free area puts the others out
            QCOMPARE(lit(menu).last(), i / 2);
            QCOMPARE(shown(menu, item[1] + u' ' + item[2]).size(), 2);
            QVERIFY(control(menu, item[3])->font().bold());
        }
        QCOMPARE(crowded(menu, u"F2Lbl(3) F2Lbl(0) F2Lbl(1) F2Lbl(2) F2UzivLbl F2Klav(0) F2Klav(1) F2Klav(2) "
                               u"F2Klav(3) F2Ln(3) F2Ln(4) F2Ln(5) F2UzivLnGrey"_s),
                 QStringList());
        QVERIFY(::shoot(&w, u"main-page1"_s));
        QTest::mouseMove(menu, QPoint(2, 2)); // the free area
        QCOMPARE(lit(menu), QList<int>());
        // Tab walks the items as they stand, on past the last to "Konec" with none lit, then back in.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (const QList<int>& expected : {QList<int>{0}, {1}, {3}, {2}, {}, {0}}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(lit(menu), expected);
        }
    }

    void menuItemsRunOnce_data() {
        QTest::addColumn<QString>("zone"); // clicked with the mouse, or empty
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QString>("keys"); // then pressed in turn wherever the focus is
        // How often the test, the editor, the settings and the user textbook were chosen.
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("page"); // shown afterwards, its navigation label in bold
        QTest::newRow("test, click") << u"F2ImgTry"_s << false << QString() << u"1/0/0/0"_s << 2;
        QTest::newRow("test, double-click") << u"F2ImgTry"_s << true << QString() << u"1/0/0/0"_s << 2;
        QTest::newRow("editor, double-click") << u"F2ImgBook"_s << true << QString() << u"0/1/0/0"_s << 1;
        // its click, then its own
        QTest::newRow("settings, double-click") << u"F2ImgOpt"_s << true << QString() << u"0/0/2/0"_s << 4;
        QTest::newRow("textbook, click") << u"F2ImgUziv"_s << false << QString() << u"0/0/0/1"_s << 3;
        QTest::newRow("textbook, double-click") << u"F2ImgUziv"_s << true << QString() << u"0/0/0/1"_s << 3;
        QTest::newRow("Enter, nothing lit") << QString() << false << u"Return"_s << u"0/0/0/0"_s << 1;
        QTest::newRow("Down") << QString() << false << u"Down Return"_s << u"1/0/0/0"_s << 2;
        QTest::newRow("Down twice") << QString() << false << u"Down Down Space"_s << u"0/1/0/0"_s << 1;
        QTest::newRow("Down three times") << QString() << false << u"Down Down Down Enter"_s << u"0/0/0/1"_s << 3;
        QTest::newRow("Up wraps round") << QString() << false << u"Up Return"_s << u"0/0/1/0"_s << 4;
        QTest::newRow("Shift+Tab") << QString() << false << u"Shift+Tab Shift+Tab Return"_s << u"0/0/0/1"_s << 3;
        QTest::newRow("Alt+Z") << QString() << false << u"Alt+Z"_s << u"1/0/0/0"_s << 2;
        QTest::newRow("Alt+E") << QString() << false << u"Alt+E"_s << u"0/1/0/0"_s << 1;
        QTest::newRow("Alt+N") << QString() << false << u"Alt+N"_s << u"0/0/1/0"_s << 4;
        QTest::newRow("Alt+U") << QString() << false << u"Alt+U"_s << u"0/0/0/1"_s << 3;
    }
    void menuItemsRunOnce() {
        QFETCH(QString, zone);
        QFETCH(bool, doubleClick);
        QFETCH(QString, keys);
        QFETCH(int, page);
        MainMenuPage* menu = load().mainMenu();
        QSignalSpy test(menu, &MainMenuPage::testChosen), editor(menu, &MainMenuPage::editorChosen),
            settings(menu, &MainMenuPage::settingsChosen), textbook(menu, &MainMenuPage::userTextbookChosen);
        f->w.showPage(PageId::MainMenu);
        if (!zone.isEmpty()) {
            // As the window system delivers a double-click: press, release, press, double-click, release.
            QWidget* item = control(menu, zone);
            if (doubleClick)
                ::doubleClick(item, QPoint(5, 5));
            else
                QTest::mouseClick(item, Qt::LeftButton);
        }
        if (!keys.isEmpty()) {
            f->w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f->w));
            QCOMPARE(QApplication::focusWidget(), menu); // the menu took the focus when it was shown
            for (const QString& key : keys.split(u' ')) {
                const QKeyCombination combination = QKeySequence::fromString(key)[0];
                QTest::keyClick(QApplication::focusWidget(), combination.key(), combination.keyboardModifiers());
            }
        }
        QTEST(u"%1/%2/%3/%4"_s.arg(test.size()).arg(editor.size()).arg(settings.size()).arg(textbook.size()), "chosen");
        QCOMPARE(view(f->w).page, page);
        QCOMPARE(view(f->w).boldNav, page == 3 ? -1 : page);
        QCOMPARE(control(&f->w, u"LblNavUziv"_s)->font().bold(), page == 3);
    }

    // The menu's frames as drawn: the lit item's in its colour, two pixels wide, the others grey and
    // one pixel wide, each open inside.
    void menuFramesDrawn() {
        MainWindow& w = load();
        w.F1Tmr_Timer();
        MainMenuPage* menu = w.mainMenu();
        QTest::mouseMove(control(menu, u"F2ImgTry"_s), QPoint(5, 5));
        const QImage image = menu->grab().toImage();
        const QColor background = image.pixelColor(2, 2);
        const QRect lit = control(menu, u"F2Shp(0)"_s)->geometry();
        const QRect quiet = control(menu, u"F2Shp(4)"_s)->geometry();
        const int y = lit.center().y();
        const QColor litEdge = image.pixelColor(lit.left() + 1, y);
        const QColor quietEdge = image.pixelColor(quiet.right(), quiet.center().y());
        QVERIFY(litEdge != background && quietEdge != background && litEdge != quietEdge);
        QCOMPARE(image.pixelColor(lit.left() + 2, y), background);
        QCOMPARE(image.pixelColor(quiet.right() - 1, quiet.center().y()), background);
    }

    void quickClickJumps() {
        MainWindow& w = load(cfg(0, 1));
        w.F1Tmr_Timer();
        click(w.quickClick(), u"F1CmdZk"_s);
        QCOMPARE(view(w), withQuickClick(ShellView{.page = 2, .boldNav = 2, .caption = u"Zkoušení"_s}));
        click(w.quickClick(), u"F1CmdOpt"_s);
        QCOMPARE(view(w), withQuickClick(kSettings));
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
        QFETCH(QByteArray, config);
        MainWindow& w = load(config);
        const bool background = config.startsWith(" 1");
        const bool quickClick = config.endsWith(" 1\r\n");
        w.F1Tmr_Timer();
        QFETCH(bool, fromQuickClick);
        if (fromQuickClick)
            click(w.quickClick(), u"F1CmdUziv"_s);
        else
            click(w.mainMenu(), u"F2ImgBook"_s);
        QVERIFY(w.editor() && w.editor()->isVisible());
        ShellView open{.page = 1,
                       .boldNav = 1,
                       .caption = u"Hlavní menu"_s,
                       .background = background,
                       .backgroundTicked = background,
                       .quickClickTicked = quickClick,
                       .mainShown = false};
        QCOMPARE(view(w), open);
        QCOMPARE(int(w.quickClickPage()), 0);
        w.editor()->setWindowState(Qt::WindowMinimized);
        QCOMPARE(view(w).background, false);
        w.editor()->setWindowState(Qt::WindowNoState);
        QCOMPARE(view(w).background, background);
        f->messages.answer(MessageBox::Answer::Yes);
        click(w.editor(), u"CmdEnd"_s);
        QCOMPARE(f->messages.texts(), QStringList{u"Opravdu chcete opustit editor?"_s});
        QCOMPARE(f->messages.shown.first().icon, MessageBox::Icon::Question);
        open.mainShown = true;
        QCOMPARE(view(w), quickClick ? withQuickClick(open) : open);
        QCOMPARE(int(w.quickClickPage()), quickClick ? 1 : 0);
        QTRY_VERIFY(!w.editor());
    }

    void introSurvivesASlowStartUpMessage() {
        // Saved repetitions above the saved maximum: one message during start-up, read slowly.
        writeBytes(f->dir.filePath(u"Try.cfg"_s), " 0\r\n 0\r\n 8\r\n 2\r\n 5\r\n 0\r\n");
        MessageBox::setHandler([](const MessageBox::Request&) {
            QThread::msleep(1100);
            return MessageBox::Answer::Ok;
        });
        MainWindow& w = load();
        QCoreApplication::processEvents();
        QCOMPARE(view(w), ShellView{}); // still the intro
        QTRY_COMPARE(view(w), kMenu);
    }

    void settingsOkWalksTheProgress() {
        MainWindow& w = load();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QStringList shown;
        auto* percent = control<QLabel>(&w, u"LblPosun"_s);
        PaintRecorder recorder(percent, [&shown, percent] { shown.append(percent->text()); });
        settle(false, false, u"F4CmdOK"_s);
        shown.removeDuplicates();
        QCOMPARE(shown, (QStringList{u" 20 %"_s, u" 40 %"_s, u" 60 %"_s, u" 80 %"_s, u" 100 %"_s}));
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
        const ShellView ticked{.backgroundTicked = true, .quickClickTicked = true};
        QCOMPARE(view(w), ticked); // both companions hidden
        writeBytes(f->dir.filePath(u"me.cfg"_s), cfg(0, 1));
        w.setWindowState(Qt::WindowNoState);
        QCOMPARE(view(w), withQuickClick(ticked)); // restored as me.cfg now says
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
        int ended = 0;
        connect(&w, &MainWindow::programEnded, this, [&ended] { ++ended; });
        f->messages.answer(how == u"Yes" ? MessageBox::Answer::Yes : MessageBox::Answer::No);
        how == u"close" ? void(w.close()) : click(&w, u"CmdExit"_s);
        QCOMPARE(f->messages.texts(),
                 how == u"close" ? QStringList() : QStringList{u"Opravdu chcete ukončit aplikaci?"_s});
        for (const MessageBox::Request& box : std::as_const(f->messages.shown))
            QVERIFY(box.icon == MessageBox::Icon::Exclamation && box.title == MessageBox::mainCaption() &&
                    box.defaultAnswer == MessageBox::Answer::No);
        const bool ends = how == u"Yes" || how == u"close";
        QCOMPARE(ended, ends ? 1 : 0);
        const ShellView v = view(w);
        QCOMPARE(v.mainShown, !ends);
        QCOMPARE(v.background, !ends);
        QCOMPARE(v.quickClick, !ends);
    }

    void settings() {
        MainWindow& w = load(cfg(0, 1) + "kept\r\n");
        // Storno leaves both boxes and the file as they were: a rewrite would drop the extra line.
        settle(true, false, u"F4CmdStorno"_s);
        QCOMPARE(view(w), withQuickClick(kMenu));
        QCOMPARE(meCfg(), cfg(0, 1) + "kept\r\n");
        // The background waits for a restart or a restore; a cleared QuickClick is closed, not only hidden.
        settle(true, false, u"F4CmdOK"_s);
        ShellView backgroundTicked = kMenu;
        backgroundTicked.backgroundTicked = true;
        QCOMPARE(view(w), backgroundTicked);
        QCOMPARE(meCfg(), cfg(1, 0));
        QVERIFY(!w.quickClick());
        settle(false, true, u"F4CmdOK"_s);
        QCOMPARE(view(w), withQuickClick(kMenu));
        QCOMPARE(meCfg(), cfg(0, 1));
        QVERIFY(w.quickClick()->page() == QuickClickPage::MenuJumps && f->messages.shown.isEmpty());
    }

    void settingsSaveFails() {
        QVERIFY(QDir(f->dir.path()).mkdir(u"me.cfg"_s)); // no user, root included, can save over a folder
        MainWindow& w = load();
        settle(false, true, u"F4CmdOK"_s);
        ShellView stays = kSettings; // on the page, the boxes as set, no QuickClick window
        stays.quickClickTicked = true;
        QCOMPARE(view(w), stays);
        const QString shown = f->messages.texts().join(u'/');
        QVERIFY2(f->messages.shown.size() == 1 && shown.contains(u"me.cfg"_s), qPrintable(shown));
    }

    void backgroundKeepsColours() {
        BackgroundWindow* background = load(cfg(1, 0)).background();
        QVERIFY(::shoot(background, u"background"_s));
        // Disabled only so that it takes no input: its pictures must not turn grey with it.
        const QImage image = background->grab().toImage();
        const QRect logo = control(background, u"ImgLogo"_s)->geometry();
        for (const QColor& c : {image.pixelColor(image.width() - 2, image.height() - 2),
                                image.pixelColor(logo.left() + logo.width() / 20, logo.center().y())})
            QVERIFY2(c.blue() > c.red() + 20, qPrintable(c.name()));
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
        w.setQuickClickHintsEnabled(true);
        QVERIFY(::shoot(ql, u"quickclick-page2"_s));
        // FramesQL(0) holds the jumps, FramesQL(1) the test's helpers.
        const QStringList frames[] = {{}, {u"FramesQL(0)"_s}, {u"FramesQL(1)"_s}};
        for (int page : {0, 1, 2}) {
            w.showQuickClickPage(QuickClickPage(page));
            QCOMPARE(int(ql->page()), page);
            QCOMPARE(shown(ql, u"FramesQL(0) FramesQL(1)"_s), frames[page]);
        }
        // Nápovědy, then Znaky: the two sets share one place.
        for (int option : {1, 0}) {
            click(ql, u"F2Opt(%1)"_s.arg(option));
            const QStringList expected = option ? QStringList{u"F2CmdPrvPism"_s, u"F2CmdPetMoznosti"_s}
                                                : QStringList{u"F2CmdB"_s, u"F2CmdApostr"_s};
            QCOMPARE(shown(ql, u"F2CmdB F2CmdApostr F2CmdPrvPism F2CmdPetMoznosti"_s), expected);
        }
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
