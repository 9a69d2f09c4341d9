// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the fuzz targets share: a failed check that libFuzzer reports as a crash (with the input
// saved), and a data directory made from the input and listed back.

#include "DataTree.h"

#include <cstdio>
#include <cstdlib>

// abort() is what libFuzzer reports as a crash.
#define FUZZ_CHECK(condition, ...)                                                                                     \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "check failed at %s:%d: %s\n  %s\n", __FILE__, __LINE__, #condition,                  \
                         qPrintable(QString(__VA_ARGS__)));                                                            \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

// Text with control characters and everything beyond ASCII escaped.
inline QString shown(const QString& text) {
    return u'"' + QString::fromLatin1(text.toUtf8().toPercentEncoding(" *+=|")) + u'"';
}

// Each entry a line "==> path", then its bytes up to the next "\n==> " (a tree as DataTree.h has it).
// Paths that could leave the directory are skipped, as are links that could.
inline Tree parseEntries(const QByteArray& input) {
    static const QByteArray marker = "\n==> ";
    Tree entries;
    qsizetype at = input.startsWith(marker.mid(1)) ? 0 : input.indexOf(marker);
    while (at >= 0 && entries.size() < 64) {
        at = input.indexOf(' ', at + 1) + 1;
        const qsizetype lineEnd = input.indexOf('\n', at);
        const QString path = QString::fromUtf8(input.mid(at, lineEnd < 0 ? -1 : lineEnd - at));
        const qsizetype next = lineEnd < 0 ? -1 : input.indexOf(marker, lineEnd);
        const QByteArray bytes =
            lineEnd < 0 ? QByteArray() : input.mid(lineEnd + 1, next < 0 ? -1 : next - lineEnd - 1);
        const QStringList parts = path.split(u'/');
        bool safe = !path.isEmpty() && !path.startsWith(u'/') && parts.size() <= 3 && !path.contains(QChar(0));
        for (qsizetype i = 0; safe && i < parts.size(); ++i)
            safe = parts[i] != u".." && parts[i] != u"." && parts[i].size() <= 64 &&
                   (!parts[i].isEmpty() || i == parts.size() - 1);
        const QByteArray target = bytes.mid(kLink.size());
        if (safe && (!bytes.startsWith(kLink) || (!target.isEmpty() && !target.startsWith('/') &&
                                                  !target.contains("..") && !target.contains('\0'))))
            entries.insert(path, bytes);
        at = next;
    }
    return entries;
}

// A temporary data directory holding the entries that could be made (a file under a file cannot).
struct ScratchDir {
    explicit ScratchDir(const Tree& entries) {
        for (const auto& [path, bytes] : entries.asKeyValueRange()) {
            const QString full = tmp.filePath(path);
            QDir().mkpath(path.endsWith(u'/') ? full : QFileInfo(full).path());
            if (path.endsWith(u'/'))
                continue;
            if (bytes == kFifo)
                mkfifo(QFile::encodeName(full).constData(), 0600);
            else if (bytes.startsWith(kLink))
                QFile::link(QString::fromUtf8(bytes.mid(kLink.size())), full);
            else
                writeBytes(full, bytes);
        }
    }
    QTemporaryDir tmp{QDir::tempPath() + QStringLiteral("/memoran-fuzz-XXXXXX")};

    // What the directory holds now, as entries.
    Tree now() const {
        Tree result;
        QDirIterator it(tmp.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = QDir(tmp.path()).relativeFilePath(it.next());
            const QFileInfo info = it.fileInfo();
            result.insert(info.isDir() && !info.isSymLink() ? name + u'/' : name,
                          info.isSymLink() ? kLink + linkText(info.filePath())
                          : info.isDir()   ? QByteArray()
                          : info.isFile()  ? readBytes(info.filePath())
                                           : kFifo);
        }
        return result;
    }
};
