#include "DataDir.h"

#include "Cp1250.h"
#include "TextRoutines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
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

QString firstLineOf(QFile& file) {
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    // A lone CR also ends a line.
    const qsizetype cr = line.indexOf('\r');
    if (cr >= 0)
        line.truncate(cr);
    return Cp1250::decodeFile(line);
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

QString textbookNumberText(const QString& fileName) {
    return fileName.chopped(std::min<qsizetype>(4, fileName.size()));
}

QString lessonNumberText(const QString& titleFileName, const QString& t) {
    const qsizetype length = titleFileName.size() - 6 - t.size();
    return length <= 0 ? QString() : titleFileName.mid(t.size() + 1, length);
}

} // namespace

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
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

bool encodeLines(const QStringList& lines, QByteArray* bytes, QString* reason) {
    bytes->clear();
    for (const QString& line : lines) {
        bool ok = false;
        const QByteArray encoded = Cp1250::encode(line, &ok);
        if (!ok) {
            *reason = QStringLiteral("znaky „%1“ nelze uložit v kódování Windows-1250").arg(Cp1250::unencodable(line));
            return false;
        }
        bytes->append(encoded);
        bytes->append("\r\n", 2);
    }
    return true;
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

bool DataDir::SouborExistuje(const QString& sysPath) const {
    const QString path = resolve(sysPath);
    if (QFileInfo(path).isDir())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

FileLines DataDir::readLines(const QString& sysPath) const {
    FileLines result;
    QFile file(resolve(sysPath));
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = IoStatus::fromDevice(IoStatus::Operation::Read, file);
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = IoStatus::fromDevice(IoStatus::Operation::Read, file);
        return result;
    }
    result.lines = splitLines(Cp1250::decodeFile(bytes));
    return result;
}

QString DataDir::readFirstLine(const QString& sysPath, IoStatus* status) const {
    QFile file(resolve(sysPath));
    if (!file.open(QIODevice::ReadOnly)) {
        if (status)
            *status = IoStatus::fromDevice(IoStatus::Operation::Read, file);
        return {};
    }
    return firstLineOf(file);
}

FileListing DataDir::listNamed(const FolderIndex& folder, const QStringList& fileNames) const {
    FileListing listing;
    listing.fileNames = fileNames;
    listing.names.reserve(fileNames.size());
    for (const QString& name : fileNames) {
        QFile file(folder.path() + u'/' + name);
        if (file.open(QIODevice::ReadOnly)) {
            listing.names.append(firstLineOf(file));
        } else {
            listing.errors.append(IoStatus::fromDevice(IoStatus::Operation::Read, file));
            listing.names.append(QString());
        }
    }
    return listing;
}

FileListing DataDir::listTextbooks() const {
    const FolderIndex books = folder(QStringLiteral("books"));
    FileListing listing = listNamed(books, books.matching(QString(), QStringLiteral(".mum")));
    sortByNumber(listing, [](const QString& name) { return numericValue(textbookNumberText(name)); });
    return listing;
}

FileListing DataDir::listLessons(const QString& t) const {
    const FolderIndex units = folder(QStringLiteral("units"));
    FileListing listing = listNamed(units, units.matching(t + u'_', QStringLiteral("T.mum")));
    sortByNumber(listing, [&t](const QString& name) { return numericValue(lessonNumberText(name, t)); });
    return listing;
}

IoStatus DataDir::rewrite(const QString& sysPath, const QStringList& lines) const {
    const QString path = resolve(sysPath);
    QByteArray bytes;
    QString reason;
    if (!encodeLines(lines, &bytes, &reason))
        return IoStatus::failure(IoStatus::Operation::Write, path, reason);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return IoStatus::fromDevice(IoStatus::Operation::Write, file);
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit())
        return IoStatus::fromDevice(IoStatus::Operation::Write, file);
    return {};
}

IoStatus DataDir::appendLine(const QString& sysPath, const QString& line) const {
    const QString path = resolve(sysPath);
    QByteArray bytes;
    QString reason;
    if (!encodeLines({line}, &bytes, &reason))
        return IoStatus::failure(IoStatus::Operation::Write, path, reason);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return IoStatus::fromDevice(IoStatus::Operation::Write, file);
    const qint64 oldSize = file.size();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const IoStatus failed = IoStatus::fromDevice(IoStatus::Operation::Write, file);
        file.resize(oldSize); // never leave half a line behind
        return failed;
    }
    return {};
}
