#pragma once

#include "ui/Form.h"

#include <QFrame>

// One page of the main window: the frame "Frames(i)" and its caption, which the window shows in
// LblName while the page is on screen.
class Page : public QFrame {
    Q_OBJECT
public:
    Page(int index, const QString& caption, QWidget* parent = nullptr);

    int index() const { return m_index; }
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }

    QWidget* control(const QString& name) const { return m_controls[name]; }

protected:
    Controls m_controls;

private:
    int m_index;
    QString m_caption;
};
