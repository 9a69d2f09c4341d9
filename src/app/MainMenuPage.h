// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Page.h"

#include <array>

class QFrame;
class QLabel;

// Page 1: five items that light up under the mouse and lead to the test, the vocabulary editor,
// the user textbook, the settings and the review of due pairs.
//
// The keyboard reaches them too. The page takes the focus whenever it is shown; Down and Up light
// the next or the previous item as they stand on the page (wrapping round), Tab and Shift+Tab do
// the same but leave the page past the last or the first item, Enter or Space chooses the lit
// item. Alt with the key each item shows at its right end chooses it at once.
class MainMenuPage : public Page {
    Q_OBJECT
public:
    // Items by index: 0 test, 1 editor, 2 settings, 3 user textbook, 4 review.
    static constexpr int kItemCount = 5;

    explicit MainMenuPage(QWidget* parent = nullptr);

    bool isLit(int item) const;

Q_SIGNALS:
    void testChosen();
    void editorChosen();
    void settingsChosen();
    void userTextbookChosen();
    void reviewChosen();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void bindControls();
    void styleItem(int index);
    void addShortcuts();
    void light(int item);
    void setLit(int item, bool lit);
    void clearHighlights();
    void choose(int item);
    // The keyboard lights one item alone.
    void select(int item);
    // Lights the item `by` rows below (above, if negative) the current one; false past either end
    // unless it wraps round.
    bool step(int by, bool wrap);

    // The release that ends a double-click is no second click.
    bool m_releaseEndsDoubleClick = false;
    // The item the keyboard moves on from: the one it or the mouse lit last; -1 for none.
    int m_current = -1;
    // An item: the zone that takes the mouse, and what lights up while it is over it.
    struct Item {
        QWidget* hotZone = nullptr;
        QFrame* frame = nullptr;
        QFrame* underline = nullptr;
        QLabel* caption = nullptr;
    };
    std::array<Item, kItemCount> m_items{};
};
