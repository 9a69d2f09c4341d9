#pragma once

#include <QFileDevice>
#include <QString>

// The outcome of one file operation: ok, or the file concerned and why it failed.
class IoStatus {
public:
    enum class Operation { Read, Write };

    IoStatus() = default;
    static IoStatus failure(Operation op, const QString& path, const QString& reason);
    static IoStatus fromDevice(Operation op, const QFileDevice& file);

    bool ok() const { return !m_failed; }
    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }
    // A whole Czech sentence for a message box: the file, the reason, and what became of it.
    QString message() const;

private:
    bool m_failed = false;
    Operation m_op = Operation::Read;
    QString m_path;
    QString m_reason;
};
