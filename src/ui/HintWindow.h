// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Form.h"

#include <QDialog>

#include <array>
#include <functional>

class QFrame;
class TestSession;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMoveEvent;
class QPushButton;
class QRadioButton;

// The hint and feedback window: the right answer after a wrong or quick answer, the letter mask of
// the letter hints, the five options, and the change of a pair. A window serves one use: it is
// created for it and destroyed when it closes.
class HintWindow : public QDialog {
    Q_OBJECT
public:
    // The three parts of the window that a use may show over the feedback lines.
    enum class Part { DelkaSlova, Moznosti, Zmena };
    Q_ENUM(Part)

    // session keeps the letters typed into the mask; answer is the test's answer box that OK fills.
    // The feedback and change uses need neither.
    explicit HintWindow(QWidget* parent, TestSession* session = nullptr, QLineEdit* answer = nullptr);

    // Shows the window modally and returns once it has closed; the window is destroyed by then.
    void showModal();

    // The right answer after a wrong or quick answer: heading in its colour, the caption of the
    // answer line ("Správně:" or "Slovo:") and the answer itself. Returns when the user closes it.
    static void showFeedback(QWidget* parent, const QString& heading, const QColor& headingColor,
                             const QString& goodCaption, const QString& text);

    // The change of a pair: the two sides stand, editable, in the window. Returns true with the edited
    // sides when OK closed it; false, the sides untouched, when the user gave the change up.
    static bool changePair(QWidget* parent, QString* foreign, QString* czech);

    // Tests stand in for the user: while a hook is set, showModal() calls it instead of opening the
    // window. An empty hook brings the real modal window back.
    static void setShowHook(std::function<void(HintWindow&)> hook);

    void CmdOK_Click();
    // A character typed into the letter mask: 13 is Enter, 8 Backspace.
    void Pism_KeyPress(QChar KeyAscii);

    void setHeading(const QString& caption, const QColor& color);
    // Shows one part over the feedback lines (the feedback use shows none).
    void showPart(Part part);
    bool partShown(Part part) const;
    // The option captions as handed back; a caption shows "&" as itself, never as a mnemonic.
    void setOptionCaption(int index, const QString& caption);
    QString optionCaption(int index) const;

    QLabel* LblNadpis() const { return m_heading; }
    QLabel* LblGood() const { return m_goodCaption; }
    QLabel* LblText() const { return m_text; }
    QLabel* LblPocetPism() const { return m_letterCount; }
    QLabel* LblSlovo() const { return m_word; }
    QLineEdit* Pism() const { return m_mask; }
    QLineEdit* TxtCiz() const { return m_foreign; }
    QLineEdit* TxtCze() const { return m_czech; }
    QWidget* control(const QString& name) const { return m_controls[name]; }

    static constexpr int kOptionCount = 5;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void bindControls();
    void styleControls();
    void fitMask();
    void fitContents();
    void growBy(QWidget* control, int extra);
    void placeMaskCaret();
    bool filterMaskEvent(QEvent* event);
    QMargins expectedFrame() const;
    void centreOnScreen();

    Controls m_controls;
    QLabel* m_heading = nullptr;
    QLabel* m_goodCaption = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    // The parts, in the order of Part.
    std::array<QFrame*, 3> m_parts{};
    QLabel* m_letterCount = nullptr;
    QLineEdit* m_mask = nullptr;
    QLabel* m_word = nullptr;
    std::array<QRadioButton*, kOptionCount> m_options{};
    QLineEdit* m_foreign = nullptr;
    QLineEdit* m_czech = nullptr;
    TestSession* m_session;
    QLineEdit* m_answer;
    bool m_framed = false;
};
