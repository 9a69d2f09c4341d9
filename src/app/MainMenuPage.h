#pragma once

#include "ui/Page.h"

#include <array>

class QFrame;
class QLabel;

// Page 1: three items that light up under the mouse and lead to the test, the vocabulary editor
// and the settings.
class MainMenuPage : public Page {
    Q_OBJECT
public:
    explicit MainMenuPage(QWidget* parent = nullptr);

    void F2ImgTry_Click() { Q_EMIT testChosen(); }
    void F2ImgBook_Click() { Q_EMIT editorChosen(); }
    void F2ImgOpt_Click() { Q_EMIT settingsChosen(); }
    void F2ImgOpt_DblClick() { Q_EMIT settingsChosen(); }
    void F2ImgTry_MouseMove() { light(0); }
    void F2ImgBook_MouseMove() { light(1); }
    void F2ImgOpt_MouseMove() { light(2); }
    // The mouse over the free area of the page clears every highlight.
    void Frames_MouseMove();

    bool isLit(int item) const;

Q_SIGNALS:
    void testChosen();
    void editorChosen();
    void settingsChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void bindControls();
    void light(int item);
    void setLit(int item, bool lit);

    // The release that ends a double-click is no second click.
    bool m_releaseEndsDoubleClick = false;
    // An item: the zone that takes the mouse, and what lights up while it is over it.
    struct Item {
        QWidget* hotZone = nullptr;
        QFrame* frame = nullptr;
        QFrame* underline = nullptr;
        QLabel* caption = nullptr;
    };
    std::array<Item, 3> m_items{};
};
