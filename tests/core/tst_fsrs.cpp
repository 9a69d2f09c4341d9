// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Fsrs.h"

#include <QFile>
#include <QTest>

#include <climits>

using namespace Fsrs;

class TestFsrs : public QObject {
    Q_OBJECT

private slots:
    // Random histories as the reference client schedules them (tools/fsrs-golden wrote the file).
    void replaysGoldenSequences() {
        QFile file(QStringLiteral(MEMORAN_TEST_DATA "/fsrs-golden.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const Scheduler scheduler;
        MemoryState state;
        QByteArray sequence;
        int step = 0;
        int reviews = 0;
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> field = line.split('\t');
            QCOMPARE(field.size(), 6);
            step = field[0] == sequence ? step + 1 : 0;
            sequence = field[0];
            const auto rating = static_cast<Rating>(field[1].toInt());
            const Review got = step == 0 ? scheduler.first(rating) : scheduler.next(state, field[2].toInt(), rating);
            const QByteArray ours = QByteArray::number(got.state.stability, 'f', 8) + '\t' +
                                    QByteArray::number(got.state.difficulty, 'f', 8) + '\t' +
                                    QByteArray::number(got.intervalDays);
            const QByteArray where = "sequence " + sequence + " step " + QByteArray::number(step) + ": expected " +
                                     field.mid(3).join('\t') + ", got " + ours;
            QVERIFY2(qAbs(got.state.stability - field[3].toDouble()) <= 1e-6, where.constData());
            QVERIFY2(qAbs(got.state.difficulty - field[4].toDouble()) <= 1e-6, where.constData());
            QVERIFY2(got.intervalDays == field[5].toInt(), where.constData());
            state = got.state;
            ++reviews;
        }
        QVERIFY(reviews >= 200);
    }

    void higherRetentionGivesShorterIntervals() {
        int previous = INT_MAX;
        for (const double retention : {0.70, 0.80, 0.90, 0.97}) {
            const int days = Scheduler(retention).next({40, 5}, 40, Rating::Good).intervalDays;
            QVERIFY2(days < previous, qPrintable(QStringLiteral("%1 days at %2").arg(days).arg(retention)));
            previous = days;
        }
    }
};

QTEST_GUILESS_MAIN(TestFsrs)
#include "tst_fsrs.moc"
