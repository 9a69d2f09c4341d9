// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDevice>
#include <QString>

// The outcome of one file operation: ok (perhaps with a notice for the user), or the file concerned
// and why it failed. Every reason is Czech: none is taken from the system's (English) error texts.
class IoStatus {
public:
    // Reasons that several checks give.
    static inline const QString kAccessDenied = QStringLiteral("přístup byl odepřen");
    static inline const QString kFolderNotFile = QStringLiteral("je to složka, ne soubor");

    // Rename: the reason also gives the new name. NewFile: the path is the folder no file could be
    // created in.
    // DeleteLesson, DeleteTextbook: a deletion that could not start (its record could not be written);
    // the path is the lesson's title file or the textbook file, and nothing was deleted.
    enum class Operation { Read, Write, ReadFolder, Remove, Rename, NewFile, DeleteLesson, DeleteTextbook };
    // What a failed write left behind.
    enum class Outcome {
        Unchanged,  // the file is as it was before
        NotCreated, // the file did not exist and still does not
        Damaged,    // the file could not be restored: its end may hold part of a line
    };

    IoStatus() = default;
    static IoStatus failure(Operation op, const QString& path, const QString& reason,
                            Outcome outcome = Outcome::Unchanged);
    // The reason from an operating-system error number (errno), or from the device's error kind
    // when the number is 0 or unknown.
    static IoStatus fromError(Operation op, const QString& path, QFileDevice::FileError error, int systemError,
                              Outcome outcome = Outcome::Unchanged);
    // A success the user should hear of, for example that a file was converted to UTF-8.
    static IoStatus withNotice(const QString& notice);
    // This failure as the reason a deletion of path could not start (op DeleteLesson or DeleteTextbook):
    // the user hears what was kept, not which record of the program's own failed.
    IoStatus asDeletionNotStarted(Operation op, const QString& path) const;

    // A Czech reason for an operating-system error number, or the device's error kind.
    static QString czechReason(QFileDevice::FileError error, int systemError);

    bool ok() const { return !m_failed; }
    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }
    Outcome outcome() const { return m_outcome; }
    // A whole Czech sentence for a message box: the file, the reason, and what became of it.
    // Empty when the operation succeeded.
    QString message() const;
    // A Czech text to show (information icon) after a success; empty when there is nothing to tell.
    const QString& notice() const { return m_notice; }

private:
    // The reason, naming the folder when the folder refused the change (a read-only folder or disk).
    static QString folderCause(Operation op, const QString& path, int systemError, const QString& reason);

    bool m_failed = false;
    Operation m_op = Operation::Read;
    Outcome m_outcome = Outcome::Unchanged;
    QString m_path;
    QString m_reason;
    QString m_notice;
};
