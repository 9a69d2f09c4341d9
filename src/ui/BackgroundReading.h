// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QThread>

#include <functional>

// A reading that runs off the window's thread, so that a large history or log never freezes it. The
// work gets a progress function whose calls, like `done`, reach the window's thread; no widget is
// touched anywhere else. One reading at a time; the owner's end waits for a reading under way.
class BackgroundReading : public QObject {
public:
    using Progress = std::function<void(int done, int total)>;

    explicit BackgroundReading(QObject* owner) : QObject(owner) {}
    ~BackgroundReading() override;

    bool running() const { return m_thread != nullptr; }
    void start(std::function<void(const Progress&)> work, Progress progress, std::function<void()> done);

private:
    QPointer<QThread> m_thread;
};
