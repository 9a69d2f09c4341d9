// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportStore.h"

#include "core/WordLists.h"
#include "store/DataDir.h"
#include "store/FileNames.h"
#include "store/TextRoutines.h"
#include "store/Vocabulary.h"

namespace Exchange {

namespace {

constexpr int kMaxLessons = 999;

// A side as a pair line holds it: each alternative on one line, the empty ones gone, joined by "+".
struct Side {
    QString text;
    qsizetype alternatives = 0;
    bool star = false;
};
// Built in one string rather than a list joined later: an import plans tens of thousands of sides.
Side cleaned(const QStringList& alternatives) {
    Side side;
    const auto add = [&side](const QString& piece) {
        const QString text = piece.trimmed();
        if (text.isEmpty())
            return;
        if (side.alternatives++ > 0)
            side.text += u'+';
        side.text += text;
        side.star = side.star || text.contains(u'*');
    };
    for (const QString& alternative : alternatives) {
        const QString text = fileText(alternative);
        // "+" separates alternatives in a pair line: in another program's text it makes more of them.
        if (!text.contains(u'+')) {
            add(text);
            continue;
        }
        for (const QString& piece : text.split(u'+'))
            add(piece);
    }
    return side;
}

// "1 lekce", "3 lekce", "5 lekcí" and the like: the Czech count forms.
QString counted(qsizetype n, const char* one, const char* few, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : n >= 2 && n <= 4 ? few : many));
}

} // namespace

bool Refusals::leavesOut() const {
    return !star.isEmpty() || !tooManyAlternatives.isEmpty() || !emptySide.isEmpty() || !tooManyLessons.isEmpty();
}

StorePlan plan(const ImportedBook& book) {
    StorePlan planned;
    planned.title = fileText(book.title).trimmed();
    if (planned.title.isEmpty())
        planned.title = QStringLiteral("Importovaná učebnice");
    planned.omitted = book.omitted;
    for (const ImportedLesson& lesson : book.lessons) {
        QString title = fileText(lesson.title).trimmed();
        if (title.isEmpty())
            title = kNoLesson;
        QStringList lines;
        for (const ImportedPair& pair : lesson.pairs) {
            const Side foreign = cleaned(pair.foreign), czech = cleaned(pair.czech);
            if (foreign.alternatives == 0 || czech.alternatives == 0) {
                planned.refused.emptySide << pair.source;
            } else if (foreign.star || czech.star) {
                planned.refused.star << pair.source;
            } else if (foreign.alternatives > WordLists::kMaxAlternatives ||
                       czech.alternatives > WordLists::kMaxAlternatives) {
                planned.refused.tooManyAlternatives << pair.source;
            } else {
                lines << pairLine(foreign.text, czech.text);
            }
        }
        // A lesson holds at most 2,000 pairs: the rest follow as "Název (2)", "Název (3)"…
        if (lines.size() > WordLists::kMaxPairs)
            planned.refused.splitLessons << title;
        for (qsizetype from = 0, part = 1; from < lines.size() || from == 0; from += WordLists::kMaxPairs, ++part) {
            const QString partTitle = part == 1 ? title : QStringLiteral("%1 (%2)").arg(title).arg(part);
            if (planned.lessons.size() == kMaxLessons)
                planned.refused.tooManyLessons << partTitle;
            else
                planned.lessons << ExportedLesson{partTitle, lines.mid(from, WordLists::kMaxPairs)};
            if (lines.isEmpty())
                break; // an empty lesson stays one, empty
        }
    }
    return planned;
}

Stored store(const DataDir& dir, const StorePlan& plan) {
    Stored stored;
    const Vocabulary::Created book = Vocabulary::createTextbook(dir, plan.title, 2);
    if (!book.status.ok()) {
        stored.status = book.status;
        return stored;
    }
    stored.utf8 = !book.status.notice().isEmpty();
    const QString t = textbookNumberText(book.fileName);
    const FolderIndex units = dir.folder(FileNames::kUnits);
    QStringList written;
    const auto undo = [&] {
        for (const QString& file : std::as_const(written))
            dir.remove(units, file);
        dir.remove(FileNames::inBooks(book.fileName));
    };
    for (qsizetype i = 0; i < plan.lessons.size(); ++i) {
        const QString l = QString::number(i + 1);
        const ExportedLesson& lesson = plan.lessons[i];
        for (const auto& [file, lines] : {std::pair{FileNames::titleFile(t, l), QStringList{lesson.title}},
                                          std::pair{FileNames::lessonFile(t, l), lesson.pairLines}}) {
            const IoStatus saved = dir.rewrite(units, file, lines);
            if (!saved.ok()) {
                undo();
                stored.status = saved;
                return stored;
            }
            written << file;
            stored.utf8 = stored.utf8 || !saved.notice().isEmpty();
        }
        stored.pairs += int(lesson.pairLines.size());
    }
    stored.textbook = textbookNumber(book.fileName);
    stored.lessons = int(plan.lessons.size());
    return stored;
}

QStringList leftOut(const Refusals& refused) {
    QStringList lines;
    const std::pair<const QStringList*, const char*> rows[] = {
        {&refused.star, "s hvězdičkou „*“ v textu"},
        {&refused.tooManyAlternatives, "s více než 10 variantami na jedné straně"},
        {&refused.emptySide, "s prázdnou stranou"},
    };
    for (const auto& [sources, why] : rows) {
        if (!sources->isEmpty())
            lines << QStringLiteral("Vynecháno %1 %2: %3.")
                         .arg(counted(sources->size(), "dvojice", "dvojice", "dvojic"), QString::fromUtf8(why),
                              sources->join(QStringLiteral(", ")));
    }
    if (!refused.tooManyLessons.isEmpty())
        lines << QStringLiteral("Vynecháno %1 nad 999: %2.")
                     .arg(counted(refused.tooManyLessons.size(), "lekce", "lekce", "lekcí"),
                          refused.tooManyLessons.join(QStringLiteral(", ")));
    return lines;
}

namespace {

// What was left out, split and not carried over: the lines after the headline of either summary.
QStringList details(const StorePlan& plan) {
    QStringList lines = leftOut(plan.refused);
    if (!plan.refused.splitLessons.isEmpty())
        lines << QStringLiteral("Rozděleno po 2 000 dvojicích: %1.")
                     .arg(plan.refused.splitLessons.join(QStringLiteral(", ")));
    QStringList omitted;
    for (const Omitted& kind : plan.omitted) {
        if (kind.count > 0)
            omitted << QStringLiteral("%1 %2").arg(kind.what).arg(kind.count);
    }
    if (!omitted.isEmpty())
        lines << QStringLiteral("Nepřeneseno: %1.").arg(omitted.join(QStringLiteral(", ")));
    return lines;
}

} // namespace

QString summary(const StorePlan& plan, const Stored& stored) {
    if (!stored.status.ok())
        return stored.status.message() + QStringLiteral("\nUčebnice nebyla založena.");
    QStringList lines{QStringLiteral("Založena učebnice č. %1 „%2“: %3, %4.")
                          .arg(stored.textbook)
                          .arg(plan.title, counted(stored.lessons, "lekce", "lekce", "lekcí"),
                               counted(stored.pairs, "dvojice", "dvojice", "dvojic"))};
    lines << details(plan);
    if (stored.utf8)
        lines << QStringLiteral("Některé texty nejdou zapsat ve Windows-1250: jejich soubory jsou v UTF-8.");
    return lines.join(u'\n');
}

QString planSummary(const StorePlan& plan) {
    qsizetype pairs = 0;
    for (const ExportedLesson& lesson : plan.lessons)
        pairs += lesson.pairLines.size();
    QStringList lines{QStringLiteral("Bude založena nová učebnice „%1“: %2, %3.")
                          .arg(plan.title, counted(plan.lessons.size(), "lekce", "lekce", "lekcí"),
                               counted(pairs, "dvojice", "dvojice", "dvojic"))};
    lines << details(plan);
    return lines.join(u'\n');
}

ExportedBook loadTextbook(const DataDir& dir, int textbook, IoStatus* status) {
    ExportedBook book;
    const QString t = QString::number(textbook);
    IoStatus read;
    book.title = dir.readFirstLine(FileNames::inBooks(FileNames::textbookFile(t)), &read);
    const FileListing lessons = dir.listLessons(t);
    if (read.ok() && !lessons.errors.isEmpty())
        read = lessons.errors.first();
    for (qsizetype i = 0; read.ok() && i < lessons.fileNames.size(); ++i) {
        const FileLines pairs = Vocabulary::loadPairs(dir, Vocabulary::lessonFileOf(lessons.fileNames[i]));
        if (!pairs.status.ok())
            read = pairs.status;
        QStringList lines = pairs.lines;
        lines.removeAll(QString());
        book.lessons << ExportedLesson{lessons.names[i], lines};
    }
    if (status)
        *status = read;
    return book;
}

} // namespace Exchange
