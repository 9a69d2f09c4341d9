// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Form.h"

#include <QWidget>

#include <functional>

class QLabel;

// The black background window that covers the screen behind the program. It never takes input.
class BackgroundWindow : public QWidget {
    Q_OBJECT
public:
    // endProgram is what Yes in the window's error trap does.
    explicit BackgroundWindow(std::function<void()> endProgram);

    // Makes the blue picture overhang every edge of the window.
    void coverScreen();
    // Shown over the whole screen, then disabled.
    void showBehind();

protected:
    bool event(QEvent* event) override;

private:
    Controls m_controls;
    QLabel* m_blue = nullptr;
    std::function<void()> m_endProgram;
};
