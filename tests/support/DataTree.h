// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Files.h"

#include "store/DataDir.h"

#include <QDirIterator>
#include <QMap>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

// A data directory as entries: path -> bytes; "name/" is a folder, the bytes "<fifo>" a pipe and
// "<link>target" a symbolic link to target (relative to the link's folder; it may be missing).
using Tree = QMap<QString, QByteArray>;
inline const QByteArray kFifo = "<fifo>";
inline const QByteArray kLink = "<link>";

// A link's target as written in the link.
inline QByteArray linkText(const QString& path) {
    char target[4096];
    const ssize_t n = readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return n < 0 ? QByteArray() : QByteArray(target, n);
}

// Every entry with its bytes, one line each, so that a failed comparison shows the entry that differs.
inline QStringList listing(const Tree& tree) {
    QStringList result;
    for (const auto& [path, bytes] : tree.asKeyValueRange())
        result.append(path + u' ' + QString::fromLatin1(bytes.toPercentEncoding("*_ .")));
    return result;
}

// A temporary data directory made of a tree, in `where` (the system's temporary folder unless given).
struct Data {
    explicit Data(const Tree& tree, const QString& where = QDir::tempPath()) : tmp(where + "/memoran-XXXXXX") {
        for (const auto& [path, bytes] : tree.asKeyValueRange()) {
            const QString full = tmp.filePath(path);
            ok = ok && (path.endsWith(u'/')       ? QDir().mkpath(full)
                        : bytes == kFifo          ? mkfifo(QFile::encodeName(full).constData(), 0600) == 0
                        : bytes.startsWith(kLink) ? QDir().mkpath(QFileInfo(full).path()) &&
                                                        QFile::link(QString::fromUtf8(bytes.mid(kLink.size())), full)
                                                  : writeBytes(full, bytes));
        }
    }
    QTemporaryDir tmp;
    DataDir dir{tmp.path()};
    bool ok = tmp.isValid();

    // What the directory holds now, as listing() shows a tree (a link as its target, not its bytes).
    // The review history's database is left out: it changes with every answer, and its own tests
    // hold it to its rules.
    QStringList now() const {
        Tree tree;
        QDirIterator it(tmp.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = QDir(tmp.path()).relativeFilePath(it.next());
            if (name.startsWith(u"memoran.sqlite"))
                continue;
            if (it.fileInfo().isSymLink())
                tree.insert(name, kLink + linkText(it.filePath()));
            else if (it.fileInfo().isDir())
                tree.insert(name + u'/', {});
            else
                tree.insert(name, it.fileInfo().isFile() ? readBytes(it.filePath()) : kFifo);
        }
        return listing(tree);
    }
};
