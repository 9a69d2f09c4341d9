// The test setup page fed a "Try.cfg" of any bytes: the page comes up with counts a test can run
// on, says at most a few things about a damaged file (and never raises a trap), writes back what
// it shows, and reads that back unchanged. Message boxes are answered by the scripted seam.

#include "Fuzz.h"

#include "core/AppState.h"
#include "core/Clock.h"
#include "core/RandomSource.h"
#include "testing/TestSetupPage.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>

namespace {

class QuietShell final : public Shell {
public:
    void showPage(PageId) override {}
    void showProgress(int, int) override {}
    void showQuickClickPage(QuickClickPage) override {}
    void showQuickClickWindow() override {}
    void closeQuickClickWindow() override {}
    void setQuickClickHintsEnabled(bool) override {}
    void endProgram() override { ended = true; }
    QWidget* dialogParent() override { return nullptr; }
    bool ended = false;
};

class FixedClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime(QDate(2026, 3, 14), QTime(9, 5, 7)); }
};

// What the page shows of the settings.
QStringList settingsShown(const QWidget& page) {
    QStringList shownValues;
    for (const char* group : {"F2OptUZ(%1)", "F2OptRO(%1)"}) {
        for (int i = 0; i < 4; ++i) {
            if (auto* option = page.findChild<QRadioButton*>(QString::fromLatin1(group).arg(i));
                option && option->isChecked())
                shownValues.append(option->objectName());
        }
    }
    for (const char* box : {"F2TxtSl", "F2TxtChyb", "F2TxtMax"})
        shownValues.append(page.findChild<QLineEdit*>(QString::fromLatin1(box))->text());
    shownValues.append(page.findChild<QCheckBox*>(QStringLiteral("ChckPol"))->isChecked() ? "half" : "whole");
    return shownValues;
}

// Counts a test can be run on: whole numbers of 1 to 999999, the repetitions within the maximum.
void checkCounts(const QStringList& values, const QByteArray& input) {
    FUZZ_CHECK(values.size() == 6, values.join(u'|'));
    static const QRegularExpression count(QStringLiteral("^[1-9][0-9]{0,5}\\z"));
    for (int i = 2; i <= 4; ++i)
        FUZZ_CHECK(count.match(values.at(i)).hasMatch(), values.join(u'|') + u' ' + QString::fromLatin1(input.toHex()));
    FUZZ_CHECK(values.at(2).toInt() <= values.at(4).toInt(), values.join(u'|'));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv); // lives as long as the process
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const ScratchDir box(
        {{"books/1.mum", "Kniha\r\n"}, {"units/1_1T.mum", "Lekce\r\n"}, {"units/1_1.mum", "a*b*\r\n"}});
    QFile tryCfg(box.tmp.filePath(QStringLiteral("Try.cfg"))); // the bytes as they are, "<fifo>" too
    if (!tryCfg.open(QIODevice::WriteOnly) || tryCfg.write(input) != input.size())
        return 0;
    tryCfg.close();
    DataDir dir(box.tmp.path());
    MersenneRandom random;
    FixedClock clock;
    AppState state(dir, random, clock);
    QuietShell shell;
    QStringList boxes;
    MessageBox::setHandler([&boxes](const MessageBox::Request& request) {
        boxes.append(request.text);
        return request.buttons == MessageBox::Buttons::Ok ? MessageBox::Answer::Ok : MessageBox::Answer::No;
    });

    TestSetupPage page(state, shell);
    page.loadTextbooksAndSettings();
    const QStringList first = settingsShown(page);
    checkCounts(first, input);
    // A damaged file may earn a word about each of the three counts, never more, never a trap.
    FUZZ_CHECK(boxes.size() <= 3 && !boxes.join(u'|').contains(QStringLiteral("Chyba programu")), boxes.join(u'|'));

    boxes.clear();
    page.F2CmdStorno_Click(); // writes "Try.cfg" and reads it back
    FUZZ_CHECK(boxes.isEmpty(), boxes.join(u'|'));
    FUZZ_CHECK(settingsShown(page) == first, settingsShown(page).join(u'|') + " after " + first.join(u'|'));

    // The test starts on the counts shown.
    auto* textbooks = page.findChild<QComboBox*>(QStringLiteral("F2Cmbbx(0)"));
    textbooks->setCurrentIndex(0);
    page.F2Cmbbx_Click(0);
    page.findChild<QComboBox*>(QStringLiteral("F2Cmbbx(1)"))->setCurrentIndex(0);
    page.F2CmdOk_Click();
    const TestSettings& settings = state.test.settings();
    FUZZ_CHECK(settings.repeats == first.at(2).toInt() && settings.penalty == first.at(3).toInt() &&
                   settings.maxRepeats == first.at(4).toInt() && !shell.ended,
               first.join(u'|'));
    MessageBox::setHandler({});
    return 0;
}
