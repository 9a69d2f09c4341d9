#pragma once

// What the fuzz targets share: a failed check that libFuzzer reports as a crash (with the input
// saved), and a data directory made from the input and listed back.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

// A check whose failure is a finding: the message, then abort(), which libFuzzer reports as a crash.
#define FUZZ_CHECK(condition, ...)                                                                                     \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "check failed at %s:%d: %s\n", __FILE__, __LINE__, #condition);                       \
            std::fprintf(stderr, "  %s\n", qPrintable(QString(__VA_ARGS__)));                                          \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

// Text as a check's message shows it: control characters and everything beyond ASCII escaped.
inline QString shown(const QString& text) {
    QString result;
    for (const QChar c : text)
        result += c.unicode() >= 0x20 && c.unicode() < 0x7F
                      ? QString(c)
                      : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    return u'"' + result + u'"';
}

// A data directory as entries: relative path -> bytes. "name/" is a folder; the bytes "<fifo>" make a
// pipe and "<link>target" a symbolic link to target (a name inside the directory).
using Entries = QMap<QString, QByteArray>;
inline const QByteArray kFifo = "<fifo>";
inline const QByteArray kLink = "<link>";

// The input as entries: each one a line "==> path", then its bytes up to the next "\n==> " (that line
// end belongs to the marker, so a file may end without one). Paths that could leave the directory
// are skipped; so are the bytes before the first marker.
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
        for (qsizetype i = 0; safe && i < parts.size(); ++i) {
            const QString& part = parts.at(i);
            safe = part != u".." && part != u"." && part.size() <= 64 && (!part.isEmpty() || i == parts.size() - 1);
        }
        if (bytes.startsWith(kLink)) {
            const QByteArray target = bytes.mid(kLink.size());
            safe = safe && !target.isEmpty() && !target.startsWith('/') && !target.contains("..") &&
                   !target.contains('\0');
        }
        if (safe)
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
            QDir().mkpath(QFileInfo(full).path());
            if (path.endsWith(u'/')) {
                QDir().mkpath(full);
            } else if (bytes == kFifo) {
                mkfifo(native.constData(), 0600);
            } else if (bytes.startsWith(kLink)) {
                [[maybe_unused]] const int ignored = symlink(bytes.mid(kLink.size()).constData(), native.constData());
            } else {
                QFile file(full);
                if (file.open(QIODevice::WriteOnly))
                    file.write(bytes);
            }
        }
    }
    QTemporaryDir tmp{QDir::tempPath() + QStringLiteral("/memoran-fuzz-XXXXXX")};

    // What the directory holds now, in the entries' own form (a file's bytes, "<fifo>", "<link>…").
    Entries now(const QString& folder = QString()) const {
        Entries result;
        const QDir root(tmp.path());
        QDirIterator it(folder.isEmpty() ? tmp.path() : tmp.filePath(folder),
                        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString full = it.next();
            const QFileInfo info = it.fileInfo();
            const QString name = root.relativeFilePath(full);
            if (info.isSymLink())
                result.insert(name, kLink + QFile::encodeName(info.symLinkTarget()));
            else if (info.isDir())
                result.insert(name + u'/', {});
            else if (!info.isFile())
                result.insert(name, kFifo);
            else {
                QFile file(full);
                result.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
            }
        }
        return result;
    }
};
