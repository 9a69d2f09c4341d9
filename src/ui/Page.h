// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Form.h"
#include "ui/PageId.h"

#include <QFrame>

class QAbstractButton;

// One page of the main window: the frame "Frames(i)" and its caption, which the window shows in
// LblName while the page is on screen.
class Page : public QFrame {
    Q_OBJECT
public:
    Page(PageId id, const QString& caption, QWidget* parent = nullptr);

    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

    QWidget* control(const QString& name) const { return m_controls[name]; }

protected:
    // Escape anywhere on the page presses back, the page's way back.
    void setBackButton(QAbstractButton* back);
    void keyPressEvent(QKeyEvent* event) override;

    Controls m_controls;

private:
    QAbstractButton* m_back = nullptr;
    QString m_caption;
};
