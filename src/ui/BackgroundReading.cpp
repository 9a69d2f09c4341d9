// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BackgroundReading.h"

BackgroundReading::~BackgroundReading() {
    if (m_thread)
        m_thread->wait();
}

void BackgroundReading::start(std::function<void(const Progress&)> work, Progress progress,
                              std::function<void()> done) {
    QPointer<BackgroundReading> self(this);
    m_thread = QThread::create([work = std::move(work), progress = std::move(progress), self] {
        work([&progress, self](int doneCount, int total) {
            QMetaObject::invokeMethod(self, [self, progress, doneCount, total] {
                if (self && self->running())
                    progress(doneCount, total);
            });
        });
    });
    connect(m_thread, &QThread::finished, this, [this, done = std::move(done)] {
        m_thread->deleteLater();
        m_thread = nullptr;
        done();
    });
    m_thread->setParent(this); // gone with its owner even when the end of the program comes first
    m_thread->start();
}
