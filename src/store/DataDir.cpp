// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataDir.h"

#include "Cp1250.h"
#include "FileNames.h"
#include "TextRoutines.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <functional>
#include <numeric>

namespace {

QStringList splitSysPath(const QString& sysPath) {
    QString normal = sysPath;
    normal.replace(u'\\', u'/');
    return normal.split(u'/', Qt::SkipEmptyParts);
}

// Orders listed files by their number, then by name, so lists do not depend on the file system.
void sortByNumber(FileListing& listing, const std::function<double(const QString&)>& number) {
    std::vector<int> order(listing.fileNames.size());
    std::iota(order.begin(), order.end(), 0);
    std::vector<double> numbers;
    numbers.reserve(order.size());
    for (const QString& name : std::as_const(listing.fileNames))
        numbers.push_back(number(name));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (numbers[a] != numbers[b])
            return numbers[a] < numbers[b];
        return listing.fileNames[a].compare(listing.fileNames[b], Qt::CaseInsensitive) < 0;
    });
    FileListing sorted;
    sorted.errors = listing.errors;
    for (int i : order) {
        sorted.names.append(listing.names[i]);
        sorted.fileNames.append(listing.fileNames[i]);
    }
    listing = std::move(sorted);
}

// ---- Opening: regular files only, never waiting on a pipe or a device.

using Operation = IoStatus::Operation;
using Outcome = IoStatus::Outcome;

const QString& kFolderNotFile = IoStatus::kFolderNotFile;
const QString kNotRegular = QStringLiteral("není to obyčejný soubor (je to například roura nebo zařízení)");
const QString kUtf32 = QStringLiteral("soubor je v kódování UTF-32, které program neumí přečíst");
const QString kNulCharacters = QStringLiteral("soubor obsahuje znaky s kódem 0, není to textový soubor");

QString tooBigReason() {
    return QStringLiteral("soubor je větší než %1 MB, tak velký soubor program nečte")
        .arg(DataDir::kMaxFileSize / (1024 * 1024));
}

// Opens path for reading (mode ReadOnly) or for appending (ReadWrite | Append, created when missing),
// unbuffered. A folder, a pipe, a device or a socket is refused without being waited on: a pipe
// opened for reading would block until someone writes to it, "/dev/zero" would never end.
bool openRegular(QFile& file, const QString& path, QIODevice::OpenMode mode, Operation op, Outcome outcome,
                 IoStatus* status) {
#ifdef Q_OS_UNIX
    int flags = O_CLOEXEC | O_NONBLOCK; // O_NONBLOCK does not change how a regular file behaves
    if (mode & QIODevice::WriteOnly)
        flags |= ((mode & QIODevice::ReadOnly) ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
    else
        flags |= O_RDONLY;
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    do {
        fd = ::open(native.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        *status = IoStatus::fromError(op, path, QFileDevice::OpenError, errno, outcome);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        ::close(fd);
        *status = IoStatus::failure(op, path, folder ? kFolderNotFile : kNotRegular, outcome);
        return false;
    }
    if (!file.open(fd, mode | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *status = IoStatus::fromError(op, path, file.error(), 0, outcome);
        return false;
    }
    return true;
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *status = IoStatus::failure(op, path, info.isDir() ? kFolderNotFile : kNotRegular, outcome);
        return false;
    }
    file.setFileName(path);
    errno = 0;
    if (!file.open(mode | QIODevice::Unbuffered)) {
        *status = IoStatus::fromError(op, path, file.error(), errno, outcome);
        return false;
    }
    return true;
#endif
}

// ---- Reading

struct FileText {
    QString text;
    TextEncoding encoding = TextEncoding::Windows1250;
    IoStatus status;
    Fingerprint fingerprint; // with withFingerprint only; size -2 when the file could not be read
};

FileText readText(const QString& path, bool withFingerprint = false) {
    FileText result;
    QFile file;
    if (withFingerprint)
        result.fingerprint.size = QFileInfo(path).isSymLink() || QFileInfo::exists(path) ? -2 : -1;
    if (!openRegular(file, path, QIODevice::ReadOnly, Operation::Read, Outcome::Unchanged, &result.status))
        return result;
    const qint64 size = file.size();
    if (size > DataDir::kMaxFileSize) {
        result.status = IoStatus::failure(Operation::Read, path, tooBigReason());
        return result;
    }
    errno = 0;
    const QByteArray bytes = file.read(size); // the size read up front bounds what is read
    if (file.error() != QFileDevice::NoError) {
        result.status = IoStatus::fromError(Operation::Read, path, file.error(), errno);
        return result;
    }
    if (withFingerprint)
        result.fingerprint = {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
    bool unsupported = false;
    result.encoding = TextCodec::detect(bytes, &unsupported);
    if (unsupported) {
        result.status = IoStatus::failure(Operation::Read, path, kUtf32);
        return result;
    }
    result.text = TextCodec::decode(bytes, result.encoding);
    if (result.text.contains(QChar(0))) {
        // UTF-16 without its byte-order mark, or no text at all.
        result.text.clear();
        result.status = IoStatus::failure(Operation::Read, path, kNulCharacters);
    }
    return result;
}

// Feeds the file from its start to the detector until it has decided. False on a read error.
bool sniff(QFile& file, TextCodec::Detector& detector) {
    if (!file.seek(0))
        return false;
    char buffer[64 * 1024];
    while (!detector.decided()) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        detector.feed(buffer, n);
    }
    return true;
}

// ---- Writing

QString missingFolderReason(const QString& path) {
    return QStringLiteral("složka „%1“ neexistuje").arg(QDir::toNativeSeparators(QFileInfo(path).path()));
}

QString conversionNotice(const QString& path, bool existed, const QString& unencodable) {
    const QString name = QDir::toNativeSeparators(path);
    // Said to the user once, when the file changes its encoding: why, and what it means for other programs.
    const QString why =
        unencodable.isEmpty()
            ? QStringLiteral("jeho text by se v kódování Windows-1250 přečetl jinak, než byl napsán")
            : QStringLiteral("nyní obsahuje znaky, které kódování Windows-1250 neumí uložit („%1“)").arg(unencodable);
    const QString kept = existed ? QStringLiteral(" Nic z jeho obsahu se neztratilo.") : QString();
    return QStringLiteral("Soubor „%1“ byl uložen v kódování UTF-8, protože %2. Starší programy, které znají jen "
                          "kódování Windows-1250, ho nemusí umět správně přečíst.%3")
        .arg(name, why, kept);
}

// Text as lines of a file: CR LF after each.
QString joinLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

// Writes a file whole through a temporary file that replaces it only when complete.
class WholeFile {
public:
    WholeFile(const QString& path, Outcome outcome) : m_file(path), m_path(path), m_outcome(outcome) {}

    bool open() {
        errno = 0;
        return m_file.open(QIODevice::WriteOnly) || fail();
    }
    bool write(const QByteArray& bytes) {
        errno = 0;
        return m_file.write(bytes) == bytes.size() || fail();
    }
    bool commit() {
        errno = 0;
        if (!m_file.flush())
            return fail();
        errno = 0;
        return m_file.commit() || fail();
    }
    const IoStatus& status() const { return m_status; }

private:
    bool fail() {
        if (m_status.ok())
            m_status = IoStatus::fromError(Operation::Write, m_path, m_file.error(), errno, m_outcome);
        m_file.cancelWriting();
        return false;
    }

    QSaveFile m_file;
    QString m_path;
    Outcome m_outcome;
    IoStatus m_status;
};

IoStatus saveWhole(const QString& path, const QByteArray& bytes, bool existed) {
    WholeFile file(path, existed ? Outcome::Unchanged : Outcome::NotCreated);
    if (file.open() && file.write(bytes))
        file.commit();
    return file.status();
}

// The file's encoding for a rewrite: the one it is read in; Windows-1250 for a new file or one that
// cannot be read.
TextEncoding encodingOf(const QString& path) {
    QFile file;
    IoStatus ignored;
    if (!openRegular(file, path, QIODevice::ReadOnly, Operation::Read, Outcome::Unchanged, &ignored))
        return TextEncoding::Windows1250;
    TextCodec::Detector detector;
    if (!sniff(file, detector))
        return TextEncoding::Windows1250;
    detector.finish();
    return detector.unsupported() ? TextEncoding::Windows1250 : detector.encoding();
}

// What must come before an appended line so that it starts on a line of its own: nothing after a
// line end, LF after a CR (the CR LF cut short), CR LF after a last line without its end.
bool lineEndBefore(QFile& file, qint64 size, TextEncoding encoding, int markSize, QString* prefix) {
    prefix->clear();
    const bool utf16 = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
    const int unit = utf16 ? 2 : 1;
    if (size - markSize < unit)
        return true;
    if (!file.seek(size - unit))
        return false;
    const QByteArray last = file.read(unit);
    if (last.size() != unit)
        return false;
    const char16_t c =
        !utf16 ? static_cast<unsigned char>(last[0])
        : encoding == TextEncoding::Utf16Le
            ? static_cast<char16_t>(static_cast<unsigned char>(last[0]) | (static_cast<unsigned char>(last[1]) << 8))
            : static_cast<char16_t>(static_cast<unsigned char>(last[1]) | (static_cast<unsigned char>(last[0]) << 8));
    if (c == u'\r')
        *prefix = QStringLiteral("\n");
    else if (c != u'\n')
        *prefix = QStringLiteral("\r\n");
    return true;
}

// Writes all bytes at the end of the file; false with the error when the device refused some.
bool appendAll(QFile& file, const QByteArray& bytes, QFileDevice::FileError* error, int* systemError) {
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        errno = 0;
        const qint64 n = file.write(p, left); // unbuffered: straight to the file
        if (n <= 0) {
            *systemError = errno;
            *error = file.error() == QFileDevice::NoError ? QFileDevice::WriteError : file.error();
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Rewrites an appended-to file whole as UTF-8 with a byte-order mark, the old lines first (read in
// pieces: the results log may be large), then text.
IoStatus convertAndAppend(QFile& old, const QString& path, TextEncoding encoding, int markSize, const QString& text) {
    WholeFile out(path, Outcome::Unchanged);
    if (!out.open() || !out.write(TextCodec::byteOrderMark(TextEncoding::Utf8Bom)))
        return out.status();
    if (!old.seek(markSize))
        return IoStatus::fromError(Operation::Write, path, old.error(), 0);
    char buffer[64 * 1024];
    for (;;) {
        errno = 0;
        const qint64 n = old.read(buffer, sizeof buffer);
        if (n < 0)
            return IoStatus::fromError(Operation::Write, path, old.error(), errno);
        if (n == 0)
            break;
        const QByteArrayView piece(buffer, n);
        // Windows-1250 has one character per byte: pieces decode on their own.
        if (!out.write(encoding == TextEncoding::Windows1250 ? Cp1250::decode(piece).toUtf8() : piece.toByteArray()))
            return out.status();
    }
    if (!out.write(text.toUtf8()) || !out.commit())
        return out.status();
    return {};
}

} // namespace

namespace {

// A number of a file name as an int. A value no int holds addresses no file the program could name
// by its number (the caller writes the number back into a path): number 0, "not a number".
int fileNumber(double value) {
    constexpr double kAbove = 2147483648.0;  // 2^31: the first whole value above int's range
    constexpr double kBelow = -2147483649.0; // the first whole value below it
    return value < kAbove && value > kBelow ? saturatedInt(value) : 0;
}

QString lessonNumberText(const QString& titleFileName, const QString& t) {
    const qsizetype length = titleFileName.size() - 6 - t.size();
    return length <= 0 ? QString() : titleFileName.mid(t.size() + 1, length);
}

} // namespace

QString textbookNumberText(const QString& fileName) {
    return fileName.chopped(std::min<qsizetype>(4, fileName.size()));
}

int textbookNumber(const QString& fileName) {
    return fileNumber(numericValue(textbookNumberText(fileName)));
}

int lessonNumber(const QString& titleFileName, const QString& t) {
    return fileNumber(numericValue(lessonNumberText(titleFileName, t)));
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text.at(i) != u'\n')
            continue;
        // CR LF or a lone LF ends the line; a lone CR elsewhere is part of it.
        const qsizetype end = i > start && text.at(i - 1) == u'\r' ? i - 1 : i;
        lines.append(text.mid(start, end - start));
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QString firstLine(const QString& text) {
    const qsizetype lf = text.indexOf(u'\n');
    if (lf < 0)
        return text;
    return text.left(lf > 0 && text.at(lf - 1) == u'\r' ? lf - 1 : lf);
}

DataDir::DataDir(const QString& root) : m_root(QDir(root).absolutePath()) {}

QString DataDir::resolve(const QString& sysPath) const {
    QString path = m_root;
    for (const QString& part : splitSysPath(sysPath))
        path = FolderIndex(path).filePath(part);
    return path;
}

FolderIndex DataDir::folder(const QString& sysFolder) const {
    return FolderIndex(resolve(sysFolder));
}

bool DataDir::fileExists(const QString& sysPath) const {
    QFile file;
    IoStatus ignored;
    return openRegular(file, resolve(sysPath), QIODevice::ReadOnly, Operation::Read, Outcome::Unchanged, &ignored);
}

namespace {

FileLines readLinesAt(const QString& path, bool withFingerprint) {
    FileText file = readText(path, withFingerprint);
    FileLines result;
    result.status = file.status;
    result.encoding = file.encoding;
    result.fingerprint = file.fingerprint;
    if (file.status.ok())
        result.lines = splitLines(file.text);
    return result;
}

} // namespace

FileLines DataDir::readLines(const QString& sysPath, bool withFingerprint) const {
    return readLinesAt(resolve(sysPath), withFingerprint);
}

FileLines DataDir::readLines(const FolderIndex& folder, const QString& fileName, bool withFingerprint) const {
    return readLinesAt(folder.filePath(fileName), withFingerprint);
}

bool DataDir::holds(const QString& sysPath, const Fingerprint& print) const {
    return readText(resolve(sysPath), true).fingerprint == print;
}

QString DataDir::readFirstLine(const QString& sysPath, IoStatus* status) const {
    const FileText file = readText(resolve(sysPath));
    if (status)
        *status = file.status;
    return firstLine(file.text);
}

namespace {

// The folder's own error, when it cannot be listed: the only error of its listing.
bool folderListable(const FolderIndex& folder, FileListing* listing) {
    const IoStatus status = folderStatus(folder);
    if (!status.ok())
        listing->errors.append(status);
    return status.ok();
}

} // namespace

IoStatus folderStatus(const FolderIndex& folder) {
    const QFileInfo info(folder.path());
    QString reason;
    if (!info.exists())
        reason = QStringLiteral("složka neexistuje");
    else if (!info.isDir())
        reason = QStringLiteral("není to složka");
    else if (!info.isReadable() || !info.isExecutable())
        reason = IoStatus::kAccessDenied;
    else
        return {};
    return IoStatus::failure(Operation::ReadFolder, folder.path(), reason);
}

FileListing DataDir::listNamed(const FolderIndex& folder, const QStringList& fileNames) const {
    FileListing listing;
    listing.fileNames = fileNames;
    listing.names.reserve(fileNames.size());
    for (const QString& name : fileNames) {
        const FileText file = readText(folder.path() + u'/' + name);
        if (!file.status.ok())
            listing.errors.append(file.status);
        // A file without a name (unreadable, empty, or a blank line 1) is listed by its file name,
        // so that the user can find it.
        const QString line = firstLine(file.text);
        listing.names.append(line.trimmed().isEmpty() ? name : line);
    }
    return listing;
}

FileListing DataDir::listTextbooks() const {
    const FolderIndex books = folder(FileNames::kBooks);
    FileListing listing;
    if (!folderListable(books, &listing))
        return listing;
    listing = listNamed(books, books.matchingFiles(QString(), FileNames::kMum));
    sortByNumber(listing, [](const QString& name) { return numericValue(textbookNumberText(name)); });
    return listing;
}

FileListing DataDir::listLessons(const QString& t) const {
    const FolderIndex units = folder(FileNames::kUnits);
    FileListing listing;
    if (!folderListable(units, &listing))
        return listing;
    listing = listNamed(units, units.matchingFiles(t + u'_', QStringLiteral("T.mum")));
    sortByNumber(listing, [&t](const QString& name) { return numericValue(lessonNumberText(name, t)); });
    return listing;
}

namespace {

IoStatus rewriteAt(const QString& path, const QStringList& lines) {
    const QFileInfo info(path);
    const bool existed = info.exists();
    if (existed && !info.isFile())
        return IoStatus::failure(Operation::Write, path, info.isDir() ? kFolderNotFile : kNotRegular);
    if (!QFileInfo(info.path()).isDir())
        return IoStatus::failure(Operation::Write, path, missingFolderReason(path), Outcome::NotCreated);

    const QString text = joinLines(lines);
    TextEncoding encoding = existed ? encodingOf(path) : TextEncoding::Windows1250;
    QString notice;
    if (!TextCodec::canEncode(text, encoding)) {
        notice = conversionNotice(path, existed, TextCodec::unencodable(text, encoding));
        encoding = TextEncoding::Utf8Bom;
    }
    QByteArray bytes = TextCodec::byteOrderMark(encoding) + TextCodec::encode(text, encoding);
    // The text must read back as written: without a byte-order mark it could read in the other
    // encoding (Windows-1250 "ÄŤ" is UTF-8 "č").
    if (encoding == TextEncoding::Windows1250 || encoding == TextEncoding::Utf8) {
        if (TextCodec::decode(bytes, TextCodec::detect(bytes)) != text) {
            if (encoding == TextEncoding::Windows1250)
                notice = conversionNotice(path, existed, QString());
            encoding = TextEncoding::Utf8Bom;
            bytes = TextCodec::byteOrderMark(encoding) + TextCodec::encode(text, encoding);
        }
    }
    const IoStatus saved = saveWhole(path, bytes, existed);
    if (!saved.ok() || notice.isEmpty())
        return saved;
    return IoStatus::withNotice(notice);
}

IoStatus removeAt(const QString& path) {
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0) {
        const int error = errno;
        // Gone already, unless a broken link still bears the name.
        if (error == ENOENT && ::lstat(native.constData(), &info) != 0)
            return {};
        if (error != ENOENT)
            return IoStatus::fromError(Operation::Remove, path, QFileDevice::RemoveError, error);
    } else if (!S_ISREG(info.st_mode)) {
        return IoStatus::failure(Operation::Remove, path, S_ISDIR(info.st_mode) ? kFolderNotFile : kNotRegular);
    }
    if (::unlink(native.constData()) != 0 && errno != ENOENT)
        return IoStatus::fromError(Operation::Remove, path, QFileDevice::RemoveError, errno);
    return {};
#else
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.exists() && !info.isFile())
        return IoStatus::failure(Operation::Remove, path, info.isDir() ? kFolderNotFile : kNotRegular);
    QFile file(path);
    errno = 0;
    if (!file.remove())
        return IoStatus::fromError(Operation::Remove, path, file.error(), errno);
    return {};
#endif
}

} // namespace

IoStatus DataDir::mayWrite(const QString& path, Operation op, Outcome outcome) const {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return {};
    const QString target = info.canonicalFilePath(); // empty when the link leads nowhere (or in a loop)
    const auto within = [&target](const QString& folder) {
        return !folder.isEmpty() && target.startsWith(folder + u'/');
    };
    if (!target.isEmpty() &&
        (within(QFileInfo(m_root).canonicalFilePath()) || within(QFileInfo(info.path()).canonicalFilePath())))
        return {};
    const QString reason =
        target.isEmpty()
            ? QStringLiteral("je to odkaz na soubor, který neexistuje, a přes takový odkaz program nezapisuje")
            : QStringLiteral("je to odkaz mimo složku s daty (na „%1“), a přes takový odkaz program nezapisuje")
                  .arg(QDir::toNativeSeparators(target));
    return IoStatus::failure(op, path, reason, target.isEmpty() ? Outcome::NotCreated : outcome);
}

IoStatus DataDir::rewrite(const QString& sysPath, const QStringList& lines) const {
    const QString path = resolve(sysPath);
    const IoStatus allowed = mayWrite(path, Operation::Write);
    return allowed.ok() ? rewriteAt(path, lines) : allowed;
}

IoStatus DataDir::rewrite(const FolderIndex& folder, const QString& fileName, const QStringList& lines) const {
    const QString path = folder.filePath(fileName);
    const IoStatus allowed = mayWrite(path, Operation::Write);
    return allowed.ok() ? rewriteAt(path, lines) : allowed;
}

IoStatus DataDir::remove(const QString& sysPath) const {
    const QString path = resolve(sysPath);
    const IoStatus allowed = mayWrite(path, Operation::Remove);
    return allowed.ok() ? removeAt(path) : allowed;
}

IoStatus DataDir::remove(const FolderIndex& folder, const QString& fileName) const {
    const QString path = folder.filePath(fileName);
    const IoStatus allowed = mayWrite(path, Operation::Remove);
    return allowed.ok() ? removeAt(path) : allowed;
}

IoStatus DataDir::appendLine(const QString& sysPath, const QString& line) const {
    const QString path = resolve(sysPath);
    if (const IoStatus allowed = mayWrite(path, Operation::Write); !allowed.ok())
        return allowed;
    const QFileInfo info(path);
    const bool existed = info.exists();
    const Outcome untouched = existed ? Outcome::Unchanged : Outcome::NotCreated;
    if (existed && !info.isFile())
        return IoStatus::failure(Operation::Write, path, info.isDir() ? kFolderNotFile : kNotRegular);
    if (!QFileInfo(info.path()).isDir())
        return IoStatus::failure(Operation::Write, path, missingFolderReason(path), Outcome::NotCreated);

    QFile file;
    IoStatus status;
    if (!openRegular(file, path, QIODevice::ReadWrite | QIODevice::Append, Operation::Write, untouched, &status))
        return status;
    const qint64 oldSize = file.size();
    // The encoding, in one pass over the file that stops where it is certain (a Windows-1250 log at
    // its first Czech letter, a UTF-8 one at its byte-order mark).
    TextCodec::Detector detector;
    if (!sniff(file, detector))
        return IoStatus::fromError(Operation::Write, path, file.error(), 0, untouched);
    TextCodec::Detector withLine = detector; // to check that the file still reads in its encoding
    detector.finish();
    if (detector.unsupported())
        return IoStatus::failure(Operation::Write, path, kUtf32, untouched);
    const TextEncoding encoding = oldSize == 0 ? TextEncoding::Windows1250 : detector.encoding();

    QString text;
    if (!lineEndBefore(file, oldSize, encoding, detector.markSize(), &text))
        return IoStatus::fromError(Operation::Write, path, file.error(), 0, untouched);
    text += line;
    text += QStringLiteral("\r\n");

    const bool existingText = oldSize > detector.markSize();
    if (TextCodec::canEncode(text, encoding)) {
        QByteArray bytes = TextCodec::encode(text, encoding);
        if (oldSize == 0)
            bytes.prepend(TextCodec::byteOrderMark(encoding));
        withLine.feed(bytes);
        withLine.finish();
        if (withLine.encoding() == encoding) {
            QFileDevice::FileError error = QFileDevice::NoError;
            int systemError = 0;
            // A killed program can leave part of the line: a write is cut between two pages of memory.
            // The lengths before and after go beside the file first, so that the next start can cut
            // such a part away (completeInterruptedAppends). Without room for them the append goes on.
            const QString mark = path + kAppendMark;
            QFile marker(mark);
            if (marker.open(QIODevice::WriteOnly | QIODevice::Truncate))
                marker.write(QByteArray::number(oldSize) + ' ' + QByteArray::number(oldSize + bytes.size()) + '\n');
            marker.close();
            const bool appended = appendAll(file, bytes, &error, &systemError);
            QFile::remove(mark);
            if (appended)
                return {};
            // Cut back through the handle: unbuffered, nothing is left to flush first.
            Outcome outcome = file.resize(oldSize) ? untouched : Outcome::Damaged;
            if (outcome == Outcome::NotCreated) {
                file.close();
                QFile::remove(path);
            }
            return IoStatus::fromError(Operation::Write, path, error, systemError, outcome);
        }
    }
    // The file cannot take the line in its encoding (or would then read otherwise): converted whole.
    const QString unencodable = TextCodec::unencodable(text, encoding);
    if (!existingText) {
        file.close();
        const IoStatus saved =
            saveWhole(path, TextCodec::byteOrderMark(TextEncoding::Utf8Bom) + text.toUtf8(), existed);
        if (!saved.ok() && !existed)
            QFile::remove(path);
        return saved.ok() ? IoStatus::withNotice(conversionNotice(path, false, unencodable)) : saved;
    }
    const IoStatus converted = convertAndAppend(file, path, encoding, detector.markSize(), text);
    if (!converted.ok() || encoding != TextEncoding::Windows1250)
        return converted; // UTF-8 that only gained its byte-order mark: nothing to tell
    return IoStatus::withNotice(conversionNotice(path, true, unencodable));
}

IoStatus DataDir::checkAppendable(const FolderIndex& folder, const QString& fileName) const {
    const QString path = folder.filePath(fileName);
    if (const IoStatus allowed = mayWrite(path, Operation::Write); !allowed.ok())
        return allowed;
    const Outcome untouched = QFileInfo::exists(path) ? Outcome::Unchanged : Outcome::NotCreated;
    QFile file;
    IoStatus status;
    openRegular(file, path, QIODevice::ReadWrite | QIODevice::Append, Operation::Write, untouched, &status);
    return status;
}

int DataDir::completeInterruptedAppends() const {
    int cut = 0;
    for (const QString& folder : {m_root, resolve(FileNames::kBooks), resolve(FileNames::kUnits)}) {
        QDirIterator it(folder, {u'*' + kAppendMark}, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
        while (it.hasNext()) {
            const QString mark = it.next();
            QFile marker(mark);
            const QList<QByteArray> sizes =
                marker.open(QIODevice::ReadOnly) ? marker.readLine(64).trimmed().split(' ') : QList<QByteArray>();
            marker.close();
            const QString path = mark.chopped(kAppendMark.size());
            bool oldOk = false, newOk = false;
            const qint64 oldSize = sizes.value(0).toLongLong(&oldOk);
            const qint64 newSize = sizes.value(1).toLongLong(&newOk);
            const QFileInfo target(path);
            // Only a part of the line goes: a whole one, or a file changed since, stays as it is.
            if (oldOk && newOk && target.isFile() && !target.isSymLink() && target.size() > oldSize &&
                target.size() < newSize && QFile::resize(path, oldSize))
                ++cut;
            QFile::remove(mark);
        }
    }
    return cut;
}

int DataDir::removeStaleTempFiles(std::chrono::seconds minimumAge) const {
    // QSaveFile and QTemporaryFile put "." and six random characters after the name.
    static const QRegularExpression inRoot(QStringLiteral("^(me\\.cfg|try\\.cfg|zkouseni\\.txt)\\.[A-Za-z0-9]{6}$"),
                                           QRegularExpression::CaseInsensitiveOption);
    // "delete_textbook.txt": the editor's record of a textbook deletion under way.
    static const QRegularExpression inBooks(QStringLiteral("^([0-9]+\\.mum|delete_textbook\\.txt)\\.[A-Za-z0-9]{6}$"),
                                            QRegularExpression::CaseInsensitiveOption);
    // "1_renumber.txt": the user textbook's renumbering journal.
    static const QRegularExpression inUnits(
        QStringLiteral("^([0-9]+_[0-9]+t?\\.mum|1_renumber\\.txt)\\.[A-Za-z0-9]{6}$"),
        QRegularExpression::CaseInsensitiveOption);
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-minimumAge.count());
    const std::pair<QString, const QRegularExpression*> folders[] = {
        {m_root, &inRoot}, {resolve(FileNames::kBooks), &inBooks}, {resolve(FileNames::kUnits), &inUnits}};
    int removed = 0;
    for (const auto& [path, pattern] : folders) {
        QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::NoSymLinks);
        while (it.hasNext()) {
            it.next();
            const QFileInfo entry = it.fileInfo();
            if (!pattern->match(entry.fileName()).hasMatch() || !entry.isFile() ||
                entry.lastModified().toUTC() >= before)
                continue;
            if (QFile::remove(entry.filePath()))
                ++removed;
        }
    }
    return removed;
}
