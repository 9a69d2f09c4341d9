// SPDX-License-Identifier: GPL-3.0-or-later
#include "Statistics.h"

#include "store/Cp1250.h"
#include "store/IoStatus.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTimeZone>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace {

// A log of many years is read a piece at a time, never whole.
constexpr qint64 kChunkSize = 1 << 20;

// The review page's caption, and the hardest pairs' test; a practise round of either is a review too.
const QString kReviewCaption = QStringLiteral("Opakování");
const QString kHardestCaption = QStringLiteral("Opakování - nejtěžší");
const QString kPractiseSuffix = QStringLiteral(" - procvičení");

// A line read from the left: the date and the time, which come in several forms.
struct Cursor {
    QStringView text;
    qsizetype pos = 0;

    // A number of minDigits to maxDigits ASCII digits; -1 when there is none.
    int number(int minDigits, int maxDigits) {
        int value = 0;
        int count = 0;
        while (pos < text.size() && count < maxDigits && text[pos] >= u'0' && text[pos] <= u'9') {
            value = value * 10 + (text[pos++].unicode() - u'0');
            ++count;
        }
        return count >= minDigits ? value : -1;
    }
    bool skip(QChar c) {
        if (pos >= text.size() || text[pos] != c)
            return false;
        ++pos;
        return true;
    }
    int blanks() {
        int count = 0;
        while (skip(u' '))
            ++count;
        return count;
    }
};

// "14.3.2026   9:05:00" or "14. 3. 2026   09:05": older programs wrote blanks after the dots, or no seconds.
bool readStamp(Cursor& c, const QTimeZone& zone, QDateTime& at) {
    const int day = c.number(1, 2);
    if (day < 0 || !c.skip(u'.'))
        return false;
    c.blanks();
    const int month = c.number(1, 2);
    if (month < 0 || !c.skip(u'.'))
        return false;
    c.blanks();
    const int year = c.number(4, 4);
    if (year < 0 || c.blanks() == 0)
        return false;
    const int hour = c.number(1, 2);
    if (hour < 0 || !c.skip(u':'))
        return false;
    const int minute = c.number(2, 2);
    const int second = c.skip(u':') ? c.number(2, 2) : 0;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (minute < 0 || second < 0 || !date.isValid() || !time.isValid())
        return false;
    at = zone.isValid() ? QDateTime(date, time, zone) : QDateTime(date, time);
    // A time the clocks skipped that day (a log written in another zone) is read as they moved on.
    if (!at.isValid() && zone.isValid())
        at = QDateTime(date, time.addSecs(-3600), zone).addSecs(3600);
    return at.isValid();
}

// The number after the last marker in text, which is then cut back to before the marker. The fields are
// taken from the right: the caption before them may hold anything, their markers too.
bool takeLast(QStringView& text, QStringView marker, qint64& value, bool percent = false) {
    const qsizetype at = text.lastIndexOf(marker);
    if (at < 0)
        return false;
    QStringView field = text.sliced(at + marker.size()).trimmed();
    if (percent && !field.endsWith(u'%'))
        return false;
    if (percent)
        field.chop(1);
    bool ok = false;
    value = field.trimmed().toLongLong(&ok);
    text = text.first(at);
    return ok;
}

bool readRecord(QStringView line, const QTimeZone& zone, LogRecord& record) {
    Cursor c{line};
    static constexpr QStringView kCaptionMarker = u"Název:";
    if (!readStamp(c, zone, record.at) || c.blanks() == 0 || !line.sliced(c.pos).startsWith(kCaptionMarker))
        return false;
    QStringView rest = line.sliced(c.pos + kCaptionMarker.size());
    qint64 rate = 0;
    if (!takeLast(rest, u"   Špatně:", record.wrong) || !takeLast(rest, u"   Správně:", record.right) ||
        !takeLast(rest, u"   Slovíček:", record.total) || !takeLast(rest, u"   Úspěšnost:", rate, true) ||
        rate < std::numeric_limits<int>::min() || rate > std::numeric_limits<int>::max())
        return false;
    record.rate = int(rate);
    record.caption = rest.toString();
    return true;
}

// Lines end at LF, a CR before it is part of the line end; blank lines are no records and no damage.
void readLines(QStringView text, const QTimeZone& zone, ResultsLog& log) {
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        QStringView line = text.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        LogRecord record;
        if (!readRecord(line, zone, record)) {
            ++log.unreadable;
            continue;
        }
        // Most records repeat the caption before them: one string for all of them.
        if (!log.records.isEmpty() && log.records.constLast().caption == record.caption)
            record.caption = log.records.constLast().caption;
        log.records.append(std::move(record));
    }
}

// Where bytes may be cut after their last line break without splitting a character; 0 when there is none.
qsizetype afterLastBreak(QByteArrayView bytes, TextEncoding encoding) {
    if (encoding != TextEncoding::Utf16Le && encoding != TextEncoding::Utf16Be)
        return bytes.lastIndexOf('\n') + 1;
    const qsizetype low = encoding == TextEncoding::Utf16Le ? 0 : 1;
    for (qsizetype i = (bytes.size() & ~qsizetype(1)) - 2; i >= 0; i -= 2) {
        if (bytes[i + low] == '\n' && bytes[i + 1 - low] == 0)
            return i + 2;
    }
    return 0;
}

QString readFailure(const QFile& file, const QString& path, int systemError) {
    return IoStatus::fromError(IoStatus::Operation::Read, path, file.error(), systemError).message();
}

} // namespace

ResultsLog ResultsLog::read(const QString& path, const std::function<void(int, int)>& progress) {
    ResultsLog log;
    const QFileInfo info(path);
    if (!info.exists())
        return log;
    if (!info.isFile()) {
        const QString reason =
            info.isDir() ? IoStatus::kFolderNotFile : QStringLiteral("není to obyčejný soubor (je to například roura)");
        log.problem = IoStatus::failure(IoStatus::Operation::Read, path, reason).message();
        return log;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        log.problem = readFailure(file, path, errno);
        return log;
    }
    // Windows-1250 shows itself at the first Czech letter; only a file of ASCII and UTF-8 is read twice.
    TextCodec::Detector detector;
    QByteArray chunk;
    while (!detector.decided() && !(chunk = file.read(kChunkSize)).isEmpty())
        detector.feed(chunk);
    detector.finish();
    if (detector.unsupported()) {
        log.problem = IoStatus::failure(IoStatus::Operation::Read, path,
                                        QStringLiteral("soubor je v kódování UTF-32, které program neumí přečíst"))
                          .message();
        return log;
    }
    const TextEncoding encoding = detector.encoding();
    const int totalKb = int((file.size() + 1023) / 1024);
    QByteArray pending;
    // The records' times in the system's zone: the same moments as local time, made in a third of the time, as
    // a local QDateTime asks the C library's mktime(), which looks at the zone file again at every call.
    const QTimeZone zone = QTimeZone::systemTimeZone();
    errno = 0;
    bool more = file.seek(detector.markSize());
    while (more) {
        chunk = file.read(kChunkSize);
        more = !chunk.isEmpty();
        pending += chunk;
        const qsizetype cut = more ? afterLastBreak(pending, encoding) : pending.size();
        if (cut == 0)
            continue;
        readLines(TextCodec::decode(pending.first(cut), encoding), zone, log);
        pending.remove(0, cut);
        if (progress)
            progress(std::min(totalKb, int((file.pos() + 1023) / 1024)), totalKb);
    }
    if (file.error() != QFileDevice::NoError)
        log.problem = readFailure(file, path, errno);
    return log;
}

QString ResultsLog::unreadableText(int count) {
    if (count <= 0)
        return {};
    const QString lines = count == 1   ? QStringLiteral("řádek")
                          : count <= 4 ? QStringLiteral("řádky")
                                       : QStringLiteral("řádků");
    return QStringLiteral("%1 %2 souboru Zkouseni.txt se nepodařilo přečíst").arg(count).arg(lines);
}

bool ResultsLog::isReview(const QString& caption) {
    QStringView name = caption;
    if (name.endsWith(kPractiseSuffix))
        name.chop(kPractiseSuffix.size());
    return name == kReviewCaption || name == kHardestCaption;
}

QStringList ResultsLog::captions() const {
    QSet<QString> seen;
    for (const LogRecord& record : records)
        seen.insert(record.caption);
    QStringList list(seen.cbegin(), seen.cend());
    std::ranges::sort(list);
    return list;
}
