// Placement of the QuickClick window under a real window manager, which frames windows some time
// after they are shown. Run through tests/support/under-wm, once per screen size (CMakeLists.txt).
#include "Files.h"
#include "Sandbox.h"
#include "ScriptedMessages.h"

#include "app/MainWindow.h"
#include "hints/QuickClickWindow.h"

#include <QAbstractButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool framed(const QWidget* window) {
    return window && window->isVisible() && window->geometry().top() > window->frameGeometry().top();
}

// Where the QuickClick window belongs: its frame's top on the main frame's bottom, right edges flush.
QPoint expectedTopRight(const MainWindow& w) {
    return w.frameGeometry().bottomRight() + QPoint(0, 1);
}

// Both windows on the screen, within the area that panels leave free.
void verifyOnScreen(const MainWindow& w) {
    const QRect free = w.screen()->availableGeometry();
    QVERIFY2(free.contains(w.frameGeometry()) && free.contains(w.quickClick()->frameGeometry()),
             qPrintable(u"%1x%2: the windows reach beyond the screen"_s.arg(free.width()).arg(free.height())));
}

} // namespace

class TestPlacement : public QObject {
    Q_OBJECT
    std::unique_ptr<Sandbox> f;
    std::unique_ptr<ScriptedMessages> messages;
    std::unique_ptr<MainWindow> w;

    MainWindow& load(const QByteArray& config) {
        writeBytes(f->dir.filePath(u"me.cfg"_s), config);
        w = std::make_unique<MainWindow>(f->state);
        w->start();
        return *w;
    }

private Q_SLOTS:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        // The window manager starts beside the test: wait until it frames windows.
        QWidget probe;
        probe.setGeometry(100, 100, 200, 100);
        probe.show();
        QTRY_VERIFY_WITH_TIMEOUT(framed(&probe), 20000);
    }
    void init() {
        f = std::make_unique<Sandbox>();
        messages = std::make_unique<ScriptedMessages>();
    }
    void cleanup() {
        w.reset();
        messages.reset();
        f.reset();
    }

    void atStartUp() {
        MainWindow& main = load(" 0\r\n 1\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(framed(&main) && framed(main.quickClick()), 10000);
        QTRY_COMPARE(main.quickClick()->frameGeometry().topRight(), expectedTopRight(main));
        QVERIFY(!main.quickClick()->frameGeometry().intersects(main.frameGeometry()));
        verifyOnScreen(main);
        // Shown beside the main window, it leaves the keyboard there.
        QVERIFY(QTest::qWaitForWindowExposed(main.quickClick()));
        QCOMPARE(QApplication::activeWindow(), &main);
        // Centred as a pair: as much room above the main window as below the QuickClick window.
        const QRect free = main.screen()->availableGeometry();
        const auto aboveAndBelow = [&] {
            return main.frameGeometry().top() - free.top() -
                   (free.bottom() - main.quickClick()->frameGeometry().bottom());
        };
        QTRY_VERIFY(std::abs(aboveAndBelow()) <= 1);
    }

    void laterTheSameWay() {
        MainWindow& main = load(" 0\r\n 0\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(framed(&main), 10000);
        main.showPage(PageId::Settings);
        main.findChild<QAbstractButton*>(u"F4ChckQL"_s)->setChecked(true);
        QTest::mouseClick(main.findChild<QAbstractButton*>(u"F4CmdOK"_s), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(framed(main.quickClick()), 10000);
        QTRY_COMPARE(main.quickClick()->frameGeometry().topRight(), expectedTopRight(main));
        verifyOnScreen(main);
    }

    void keptWhereItWasWhenTheMainWindowMoves() {
        MainWindow& main = load(" 0\r\n 1\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(framed(&main) && framed(main.quickClick()), 10000);
        QTRY_COMPARE(main.quickClick()->frameGeometry().topRight(), expectedTopRight(main));
        const QRect placed = main.quickClick()->frameGeometry();
        const QPoint moved = main.pos() + QPoint(40, -30);
        main.move(moved);
        QTRY_COMPARE(main.pos(), moved);
        // A re-placement would have come with the move: Qt takes a window's new place at once.
        QCOMPARE(main.quickClick()->frameGeometry(), placed);
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
