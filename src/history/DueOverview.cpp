// SPDX-License-Identifier: GPL-3.0-or-later
#include "DueOverview.h"

#include "history/LessonIndex.h"
#include "store/DataDir.h"

DueOverview DueOverview::read(const QString& root, QDate until, const std::function<void(int, int)>& progress) {
    DueOverview overview;
    QList<Card> cards;
    {
        ReviewHistory history(root, ReviewHistory::Access::ReadOnly);
        cards = history.dueBy(until);
        overview.problem = history.problem();
    }
    LessonIndex lessons;
    lessons.read(DataDir(root), progress);
    overview.textbooks = lessons.textbooks();
    overview.fileProblems = lessons.problems();
    overview.cards.reserve(cards.size());
    for (const Card& card : std::as_const(cards)) {
        DueCard due;
        due.card = card;
        if (const PairPlace* place = lessons.find(card.pair)) {
            due.textbook = place->textbook;
            due.textbookName = overview.textbooks.at(place->textbook);
            due.lessonTitle = place->lessonTitle;
        }
        overview.cards.append(due);
    }
    return overview;
}

QByteArray DueOverview::terminalList() const {
    QByteArray text;
    for (const DueCard& due : cards) {
        const Card& card = due.card;
        const QStringList fields{card.due.toString(Qt::ISODate),
                                 card.pair.foreign,
                                 card.pair.czech,
                                 directionName(card.direction),
                                 QString::number(card.state.stability, 'f', 4),
                                 QString::number(card.state.difficulty, 'f', 4),
                                 QString::number(card.reviews),
                                 due.textbookName,
                                 due.lessonTitle};
        QString line = fields.join(u'\t');
        // A tab or line break inside a side (a file edited elsewhere) must not shift the fields.
        for (qsizetype i = 0, field = 0; i < line.size(); ++i) {
            if (line.at(i) == u'\t' && field++ < 8)
                continue;
            if (line.at(i).category() == QChar::Other_Control)
                line[i] = u' ';
        }
        text += line.toUtf8() + '\n';
    }
    return text;
}
