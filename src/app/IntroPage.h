// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Page.h"

class QLabel;

// Page 0: the logo and the credits, shown for a second at start-up.
class IntroPage : public Page {
    Q_OBJECT
public:
    explicit IntroPage(QWidget* parent = nullptr);

    QLabel* logo() const { return m_logo; }

private:
    QLabel* m_logo = nullptr;
};
