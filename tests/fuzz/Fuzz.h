#pragma once

// What the fuzz targets share: a failed check that libFuzzer reports as a crash (with the input
// saved), and a data directory made from the input and listed back.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

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
    QString result;
    for (const QChar c : text)
        result += c.unicode() >= 0x20 && c.unicode() < 0x7F
                      ? QString(c)
                      : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    return u'"' + result + u'"';
}

// A data directory as relative path -> bytes. "name/" is a folder; the bytes "<fifo>" make a pipe and
// "<link>target" a symbolic link to target (a name inside the directory).
using Entries = QMap<QString, QByteArray>;
inline const QByteArray kFifo = "<fifo>";
inline const QByteArray kLink = "<link>";

// Each entry a line "==> path", then its bytes up to the next "\n==> ". Paths that could leave the
// directory are skipped, as are links that could.
inline Entries parseEntries(const QByteArray& input) {
    static const QByteArray marker = "\n==> ";
    Entries entries;
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
    explicit ScratchDir(const Entries& entries) {
        for (const auto& [path, bytes] : entries.asKeyValueRange()) {
            const QString full = tmp.filePath(path);
            const QByteArray native = QFile::encodeName(full);
            QDir().mkpath(path.endsWith(u'/') ? full : QFileInfo(full).path());
            QFile file(full);
            if (path.endsWith(u'/'))
                continue;
            if (bytes == kFifo)
                mkfifo(native.constData(), 0600);
            else if (bytes.startsWith(kLink)) [[maybe_unused]]
                const int ignored = symlink(bytes.mid(kLink.size()).constData(), native.constData());
            else if (file.open(QIODevice::WriteOnly))
                file.write(bytes);
        }
    }
    QTemporaryDir tmp{QDir::tempPath() + QStringLiteral("/memoran-fuzz-XXXXXX")};

    // What the directory holds now, as entries.
    Entries now() const {
        Entries result;
        const QDir root(tmp.path());
        QDirIterator it(tmp.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString full = it.next(), name = root.relativeFilePath(full);
            const QFileInfo info = it.fileInfo();
            QFile file(full);
            if (info.isSymLink())
                result.insert(name, kLink + QFile::encodeName(info.symLinkTarget()));
            else if (info.isDir())
                result.insert(name + u'/', {});
            else
                result.insert(name, !info.isFile()                   ? kFifo
                                    : file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                     : QByteArray("<unreadable>"));
        }
        return result;
    }
};
