// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/Cp1250.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Data files of a benchmark's own directory, written as the program writes them.
namespace BenchFiles {

// One line in Windows-1250 with its CR LF; a text it cannot hold stops the benchmark.
inline QByteArray line(const QString& text) {
    bool ok = false;
    const QByteArray bytes = Cp1250::encode(text, &ok);
    if (!ok)
        qFatal("not in Windows-1250: %s", qPrintable(text));
    return bytes + "\r\n";
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace BenchFiles
