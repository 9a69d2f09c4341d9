// The test setup page on a "Try.cfg" of any bytes: counts a test can run on, at most a word about
// each damaged count and never a trap, and what it writes back reads back the same.

#include "FixedSources.h"
#include "Fuzz.h"

#include "core/AppState.h"
#include "testing/TestSetupPage.h"
#include "ui/MessageBox.h"
#include "ui/Shell.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
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

// The options checked, then the three counts and the half answer.
QStringList settingsShown(const QWidget& page) {
    QStringList values;
    for (const QRadioButton* option : page.findChildren<QRadioButton*>()) {
        if (option->isChecked())
            values.append(option->objectName());
    }
    for (const char* box : {"F2TxtSl", "F2TxtChyb", "F2TxtMax"})
        values.append(page.findChild<QLineEdit*>(QString::fromLatin1(box))->text());
    values.append(page.findChild<QCheckBox*>(QStringLiteral("ChckPol"))->isChecked() ? "half" : "whole");
    return values;
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
    if (input == kFifo || input.startsWith(kLink)) // a file of these bytes, not a pipe or a link
        return 0;
    const ScratchDir box({{"books/1.mum", "Kniha\r\n"},
                          {"units/1_1T.mum", "Lekce\r\n"},
                          {"units/1_1.mum", "a*b*\r\n"},
                          {"Try.cfg", input}});
    DataDir dir(box.tmp.path());
    ScriptedRandom random;
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
    // Whole numbers of 1 to 999999, the repetitions within the maximum.
    static const QRegularExpression count(QStringLiteral("^[1-9][0-9]{0,5}\\z"));
    FUZZ_CHECK(first.size() == 6 && first[2].toInt() <= first[4].toInt(), first.join(u'|'));
    for (int i = 2; i <= 4; ++i)
        FUZZ_CHECK(count.match(first[i]).hasMatch(), first.join(u'|') + u' ' + QString::fromLatin1(input.toHex()));
    FUZZ_CHECK(boxes.size() <= 3 && !boxes.join(u'|').contains(QStringLiteral("Chyba programu")), boxes.join(u'|'));

    boxes.clear();
    page.F2CmdStorno_Click(); // writes "Try.cfg" and reads it back
    FUZZ_CHECK(boxes.isEmpty() && settingsShown(page) == first,
               settingsShown(page).join(u'|') + " after " + first.join(u'|') + u' ' + boxes.join(u'|'));

    page.findChild<QComboBox*>(QStringLiteral("F2Cmbbx(0)"))->setCurrentIndex(0);
    page.F2Cmbbx_Click(0);
    page.findChild<QComboBox*>(QStringLiteral("F2Cmbbx(1)"))->setCurrentIndex(0);
    page.F2CmdOk_Click();
    const TestSettings& settings = state.test.settings();
    FUZZ_CHECK(settings.repeats == first[2].toInt() && settings.penalty == first[3].toInt() &&
                   settings.maxRepeats == first[4].toInt() && !shell.ended,
               first.join(u'|'));
    MessageBox::setHandler({});
    return 0;
}
