// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

class QLocalServer;

// One running copy of the program per data directory. The copy with the window holds a lock file
// in the data directory for the whole run and listens on a local socket named after the
// directory; a second start hands over to it (the running window comes to the front) and ends.
// Terminal modes that write take the lock as well; those that only read need none.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The lock file in the data directory: no listing of the program takes this name.
    static constexpr const char* kLockFileName = "memoran.lock";

    enum class Start {
        First,      // the lock is ours and a second start hands over to us
        Unlocked,   // no lock file can be made here (a read-only directory): run without one
        HandedOver, // another copy holds the lock and brings its window to the front: end
        Refused,    // another copy holds the lock and did not answer: say so (busyMessage) and end
    };

    explicit SingleInstance(const QString& dataDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // For the window: takes the lock and listens, or hands over to the copy that holds it.
    Start start();
    // For a terminal mode that writes: takes the lock (true also where none can be made), or
    // returns false while another copy holds it; the mode then prints busyMessage() and ends with 1.
    bool lockForWriting();
    // Why this start ends: the data are open in another window.
    QString busyMessage() const;

Q_SIGNALS:
    // A second start on the same data directory asks for the window.
    void raiseRequested();

private:
    void listen();
    // Asks the copy that holds the lock to bring its window to the front; true when it confirmed.
    bool handOver() const;

    QString m_dataDir;
    QString m_serverName;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
};
