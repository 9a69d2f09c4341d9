// SPDX-License-Identifier: GPL-3.0-or-later
#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

constexpr QByteArrayView kRaise = "raise\n";
constexpr QByteArrayView kRaised = "raised\n";
// How long a second start waits for the running copy: it may still be starting up.
constexpr int kHandOverMs = 5000;

// One name per data directory, however it was reached (links, "..", letter case of the path given).
QString serverNameFor(const QString& dataDir) {
    QString path = QFileInfo(dataDir).canonicalFilePath();
    if (path.isEmpty())
        path = QDir(dataDir).absolutePath();
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return QStringLiteral("memoran-") + QString::fromLatin1(hash);
}

} // namespace

SingleInstance::SingleInstance(const QString& dataDir, QObject* parent)
    : QObject(parent), m_dataDir(dataDir), m_serverName(serverNameFor(dataDir)),
      m_lock(QDir(dataDir).filePath(QString::fromLatin1(kLockFileName))) {
    // A live copy holds the lock however long it runs (by default a lock older than 30 s counts as
    // stale); the lock of a copy that is no longer running is taken over.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Start SingleInstance::start() {
    if (m_lock.tryLock(0)) {
        listen();
        return Start::First;
    }
    if (m_lock.error() != QLockFile::LockFailedError)
        return Start::Unlocked;
    return handOver() ? Start::HandedOver : Start::Refused;
}

bool SingleInstance::lockForWriting() {
    return m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError;
}

QString SingleInstance::busyMessage() const {
    return QStringLiteral("Data ve složce „%1“ jsou otevřena v jiném okně programu Memoran, které se nepodařilo "
                          "přenést do popředí. Pracujte prosím v něm. Tento program se ukončí a v datech nic "
                          "nezměnil.")
        .arg(QDir::toNativeSeparators(QDir(m_dataDir).absolutePath()));
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    // The lock is ours: a socket of that name is what a killed copy left behind.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        return; // the window runs all the same; a second start then says that the data are open
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine() == kRaise) {
                    Q_EMIT raiseRequested();
                    socket->write(kRaised.data(), kRaised.size());
                }
                socket->disconnectFromServer();
            });
        }
    });
}

bool SingleInstance::handOver() const {
    const QDeadlineTimer deadline(kHandOverMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(500)) {
            socket.write(kRaise.data(), kRaise.size());
            while (!socket.canReadLine() && socket.waitForReadyRead(deadline.remainingTime())) {
            }
            return socket.readLine() == kRaised;
        }
        QThread::msleep(100); // not listening yet
    }
    return false;
}
