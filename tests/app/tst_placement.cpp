// SPDX-License-Identifier: GPL-3.0-or-later
// Placement of the QuickClick window under a real window manager, which frames windows some time
// after they are shown. Run through tests/support/under-wm, once per screen size (CMakeLists.txt).
#include "Program.h"

#include "hints/QuickClickWindow.h"

using namespace Qt::StringLiterals;

class TestPlacement : public QObject {
    Q_OBJECT
    std::unique_ptr<Program> f;

    static bool framed(const QWidget* window) {
        return window && window->isVisible() && window->geometry().top() > window->frameGeometry().top();
    }
    // The QuickClick window's frame on the main frame's bottom, right edges flush, both windows within the
    // area that panels leave free.
    void verifyPlaced() {
        const MainWindow& main = f->w;
        QTRY_VERIFY_WITH_TIMEOUT(framed(&main) && framed(main.quickClick()), 10000);
        QTRY_COMPARE(main.quickClick()->frameGeometry().topRight(), main.frameGeometry().bottomRight() + QPoint(0, 1));
        const QRect free = main.screen()->availableGeometry();
        QVERIFY2(free.contains(main.frameGeometry()) && free.contains(main.quickClick()->frameGeometry()),
                 qPrintable(u"%1x%2: the windows reach beyond the screen"_s.arg(free.width()).arg(free.height())));
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
    void init() { f = std::make_unique<Program>(); }
    void cleanup() { f.reset(); }

    void atStartUp() {
        writeBytes(f->dir.filePath(u"me.cfg"_s), " 0\r\n 1\r\n");
        f->w.start();
        verifyPlaced();
        MainWindow& main = f->w;
        // Shown beside the main window, it leaves the keyboard there.
        QVERIFY(QTest::qWaitForWindowExposed(main.quickClick()));
        QCOMPARE(QApplication::activeWindow(), &main);
        // Centred as a pair: as much room above the main window as below the QuickClick window.
        const QRect free = main.screen()->availableGeometry();
        QTRY_VERIFY(std::abs(main.frameGeometry().top() - free.top() -
                             (free.bottom() - main.quickClick()->frameGeometry().bottom())) <= 1);
        // Kept where it was when the main window moves: Qt takes a window's new place at once, so a
        // re-placement would have come with the move.
        const QRect placed = main.quickClick()->frameGeometry();
        const QPoint moved = main.pos() + QPoint(40, -30);
        main.move(moved);
        QTRY_COMPARE(main.pos(), moved);
        QCOMPARE(main.quickClick()->frameGeometry(), placed);
    }

    void laterTheSameWay() {
        f->w.start();
        QTRY_VERIFY_WITH_TIMEOUT(framed(&f->w), 10000);
        f->w.showPage(PageId::Settings);
        QVERIFY(f->run(u"F4ChckQL F4CmdOK"_s));
        verifyPlaced();
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
