// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/Cp1250.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>

// Files of a test's data directory, written and read byte for byte.

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lines as the program writes them, "|" between lines: Windows-1250, CR LF after each.
inline QByteArray cp1250Lines(const QString& lines) {
    QByteArray bytes;
    for (const QString& line : lines.split(u'|'))
        bytes += Cp1250::encode(line) + "\r\n";
    return bytes;
}

// Files given as "path=lines;path=lines", each one's lines as cp1250Lines() takes them: path -> bytes.
inline QMap<QString, QByteArray> textFiles(const QString& files) {
    QMap<QString, QByteArray> result;
    for (const QString& file : files.split(u';'))
        result.insert(file.section(u'=', 0, 0), cp1250Lines(file.section(u'=', 1)));
    return result;
}

// Writes such files below root.
inline bool writeFiles(const QString& root, const QString& files) {
    bool ok = true;
    for (const auto& [path, bytes] : textFiles(files).asKeyValueRange())
        ok = ok && writeBytes(root + u'/' + path, bytes);
    return ok;
}
