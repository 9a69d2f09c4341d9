// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Permissions stop only a user who is not root, and tests here usually run as root. A test of what a
// read-only file or folder does runs its body as an ordinary user: as root, the test executable is
// copied to a world-readable scratch folder and that one test function (and data row) is run there as
// the user "memoran-test", made when missing; its output is passed on. Where no such user can be made
// or switched to, the test is skipped with a message. As any other user the body runs in place.
//
//     void readOnlyLesson() {
//         RUN_AS_ORDINARY_USER();
//         ... chmod, then what the user does ...
//     }

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace AsUser {

enum class Outcome { HereAlready, Passed, Failed, Unavailable };

inline const QString& userName() {
    static const QString name = QStringLiteral("memoran-test");
    return name;
}

// The user's numeric id, made when missing; empty when it cannot be had.
inline QString userId() {
    const auto id = [] {
        QProcess p;
        p.start(QStringLiteral("id"), {QStringLiteral("-u"), userName()});
        return p.waitForFinished(10000) && p.exitCode() == 0 ? QString::fromLatin1(p.readAllStandardOutput()).trimmed()
                                                             : QString();
    };
    if (const QString known = id(); !known.isEmpty())
        return known;
    QProcess::execute(QStringLiteral("useradd"),
                      {QStringLiteral("--system"), QStringLiteral("--no-create-home"), QStringLiteral("--shell"),
                       QStringLiteral("/usr/sbin/nologin"), userName()});
    return id();
}

// Runs the current test function (and row) as the ordinary user; *output receives what it printed.
inline Outcome run(QString* output) {
    if (geteuid() != 0)
        return Outcome::HereAlready;
    const QString uid = userId();
    QTemporaryDir scratch;
    if (uid.isEmpty() || !scratch.isValid())
        return Outcome::Unavailable;
    const QString copy = scratch.filePath(QStringLiteral("test"));
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                      QFile::ReadOther | QFile::ExeOther;
    if (!QFile::copy(QCoreApplication::applicationFilePath(), copy) || !QFile::setPermissions(copy, open) ||
        !QFile::setPermissions(scratch.path(), open))
        return Outcome::Unavailable;
    QString function = QString::fromLatin1(QTest::currentTestFunction());
    if (const char* tag = QTest::currentDataTag())
        function += u':' + QString::fromUtf8(tag);
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QStringLiteral("/tmp"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QStringLiteral("/tmp"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.setWorkingDirectory(QStringLiteral("/tmp"));
    child.start(QStringLiteral("setpriv"), {QStringLiteral("--reuid=") + uid, QStringLiteral("--regid=") + uid,
                                            QStringLiteral("--clear-groups"), copy, function});
    if (!child.waitForStarted(10000))
        return Outcome::Unavailable;
    if (!child.waitForFinished(120000))
        child.kill();
    child.waitForFinished(10000);
    *output = QString::fromLocal8Bit(child.readAll());
    // Switching users may be refused (a container without the capability): the child never ran a test.
    if (!output->contains(QStringLiteral("Totals:")))
        return Outcome::Unavailable;
    return child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 ? Outcome::Passed : Outcome::Failed;
}

} // namespace AsUser

#define RUN_AS_ORDINARY_USER()                                                                                         \
    do {                                                                                                               \
        QString output_;                                                                                               \
        switch (AsUser::run(&output_)) {                                                                               \
        case AsUser::Outcome::HereAlready:                                                                             \
            break;                                                                                                     \
        case AsUser::Outcome::Passed:                                                                                  \
            return;                                                                                                    \
        case AsUser::Outcome::Failed:                                                                                  \
            QFAIL(qPrintable(QStringLiteral("as user %1:\n%2").arg(AsUser::userName(), output_)));                     \
        case AsUser::Outcome::Unavailable:                                                                             \
            QSKIP(qPrintable(QStringLiteral("no ordinary user to run this as (%1)").arg(output_.left(200))));          \
        }                                                                                                              \
    } while (false)
