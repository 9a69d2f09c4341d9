// SPDX-License-Identifier: GPL-3.0-or-later
// Where the data lives and what the command line answers, decided before any window exists.
#include "AsUser.h"

#include "history/ReviewHistory.h"
#include "launch/CommandLine.h"
#include "launch/DataHome.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class LaunchTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QString at(const QString& name) const { return m_root.filePath(name); }
    // Each place the program can be started from, its home and its per-user folder, under one scratch root.
    DataHome::Places places(const QString& option = {}, const QString& environment = {}) const {
        return {option,
                environment,
                at(u"start"_s),
                at(u"home"_s),
                at(u"home/.local/share/Memoran"_s),
                QStringLiteral(MEMORAN_DEMO_DATA)};
    }

private slots:
    void init() {
        for (const QString& dir : QDir(m_root.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QDir(at(dir)).removeRecursively();
        QDir().mkpath(at(u"start"_s));
        QDir().mkpath(at(u"home"_s));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("said");
        QTest::newRow("nothing") << QStringList{} << CommandLine::Action::Run << QString();
        QTest::newRow("data") << QStringList{u"--data"_s, u"/x"_s} << CommandLine::Action::Run << QString();
        QTest::newRow("help") << QStringList{u"--help"_s} << CommandLine::Action::Help << u"Použití: memoran"_s;
        QTest::newRow("-h") << QStringList{u"-h"_s} << CommandLine::Action::Help << u"--data SLOŽKA"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << CommandLine::Action::Version << u"Memoran 0."_s;
        QTest::newRow("unknown") << QStringList{u"--barva"_s} << CommandLine::Action::Refuse
                                 << u"Neznámá volba: --barva"_s;
        QTest::newRow("no folder") << QStringList{u"--data"_s} << CommandLine::Action::Refuse << u"chybí název"_s;
        QTest::newRow("stray") << QStringList{u"slova.txt"_s} << CommandLine::Action::Refuse << u"slova.txt"_s;
        QTest::newRow("due") << QStringList{u"--due"_s, u"--date"_s, u"2026-02-29"_s} << CommandLine::Action::Refuse
                             << u"není platné datum"_s;
        QTest::newRow("date alone") << QStringList{u"--date"_s, u"2026-03-01"_s} << CommandLine::Action::Refuse
                                    << u"patří k volbě --due"_s;
        QTest::newRow("import") << QStringList{u"--import"_s, u"a.kvtml"_s, u"--foreign"_s,
                                               u"1"_s,        u"--czech"_s, u"0"_s}
                                << CommandLine::Action::Import << QString();
        QTest::newRow("export") << QStringList{u"--export"_s, u"3"_s, u"b.csv"_s} << CommandLine::Action::Export
                                << QString();
        QTest::newRow("export, no file") << QStringList{u"--export"_s, u"3"_s} << CommandLine::Action::Refuse
                                         << u"chybí soubor"_s;
        QTest::newRow("format") << QStringList{u"--import"_s, u"a"_s, u"--format"_s, u"xls"_s}
                                << CommandLine::Action::Refuse << u"Neznámý formát „xls“"_s;
        QTest::newRow("columns") << QStringList{u"--import"_s, u"a.csv"_s, u"--columns"_s, u"0,1"_s}
                                 << CommandLine::Action::Refuse << u"od 1"_s;
        QTest::newRow("foreign alone") << QStringList{u"--import"_s, u"a.kvtml"_s, u"--foreign"_s, u"1"_s}
                                       << CommandLine::Action::Refuse << u"spolu"_s;
        QTest::newRow("format alone") << QStringList{u"--format"_s, u"csv"_s} << CommandLine::Action::Refuse
                                      << u"patří k volbě --import"_s;
        QTest::newRow("import, no file") << QStringList{u"--import"_s} << CommandLine::Action::Refuse
                                         << u"Volbě --import chybí hodnota"_s;
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, said);
        const CommandLine line = CommandLine::parse(QStringList{u"memoran"_s} + arguments);
        QCOMPARE(line.action, action);
        QVERIFY2(line.message.contains(said), qPrintable(line.message));
        QCOMPARE(line.dataDir, arguments.value(0) == u"--data"_s ? arguments.value(1) : QString());
    }

    // The answers on the terminal come from the program itself, with no display to open.
    void terminalAnswers() {
        QProcess program;
        program.setProcessEnvironment(QProcessEnvironment()); // no DISPLAY, no platform
        program.start(QStringLiteral(MEMORAN_BINARY), {u"--nic"_s});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), CommandLine::kUsageExitCode);
        QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(u"Neznámá volba: --nic"_s));
        program.start(QStringLiteral(MEMORAN_BINARY), {u"--help"_s});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), CommandLine::helpText());
    }

    void chosenDirectory_data() {
        QTest::addColumn<QStringList>("made"); // before the choice, under the scratch root; "/" ends a folder
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("demo"); // filled from the demo data
        const QString user = u"home/.local/share/Memoran"_s;
        QTest::newRow("data started in") << QStringList{u"start/units/"_s} << ""
                                         << "" << u"start"_s << false;
        QTest::newRow("its me.cfg is enough") << QStringList{u"start/me.cfg"_s} << ""
                                              << "" << u"start"_s << false;
        QTest::newRow("elsewhere: user folder") << QStringList{u"start/a.txt"_s} << ""
                                                << "" << user << true;
        QTest::newRow("user folder kept") << QStringList{user + u"/me.cfg"_s} << ""
                                          << "" << user << false;
        QTest::newRow("--data first") << QStringList{u"start/books/"_s} << u"opt"_s << u"env"_s << u"opt"_s << false;
        QTest::newRow("MEMORAN_DATA next") << QStringList{u"start/books/"_s} << "" << u"env"_s << u"env"_s << false;
        QTest::newRow("--data empty folder") << QStringList{u"opt/"_s} << u"opt"_s << "" << u"opt"_s << false;
    }
    void chosenDirectory() {
        QFETCH(QStringList, made);
        QFETCH(QString, option);
        QFETCH(QString, environment);
        QFETCH(QString, chosen);
        QFETCH(bool, demo);
        for (const QString& path : made)
            path.endsWith(u'/') ? void(QDir().mkpath(at(path))) : touch(at(path));
        const auto choice = DataHome::choose(
            places(option.isEmpty() ? option : at(option), environment.isEmpty() ? environment : at(environment)));
        QCOMPARE(choice.problem, QString());
        QCOMPARE(QDir(choice.dir).absolutePath(), QDir(at(chosen)).absolutePath());
        QCOMPARE(QFile::exists(at(chosen + u"/books/1.mum"_s)), demo);
        if (!option.isEmpty() || !environment.isEmpty()) // a folder named on purpose gets both lesson folders
            QVERIFY(QFileInfo(at(chosen + u"/units"_s)).isDir() && QFileInfo(at(chosen + u"/books"_s)).isDir());
    }

    // A home folder often holds a books folder of e-books: it is data only with files of ours in it.
    void homeFolder() {
        QDir().mkpath(at(u"home/books"_s));
        auto home = places();
        home.startDir = home.homeDir;
        QCOMPARE(DataHome::choose(home).dir, home.userDataDir);
        touch(at(u"home/units/1_1.mum"_s));
        QCOMPARE(DataHome::choose(home).dir, home.startDir);
    }

    // --due lists what is due by a day, byte for byte, with no display and a window's lock ignored.
    void duePairs() {
        const QString data = at(u"data"_s);
        for (const auto& [name, text] : {std::pair{"books/2.mum", "N\xecm\xe8ina\r\n"},
                                         {"units/2_1T.mum", "Rodina\r\n"},
                                         {"units/2_1.mum", "der Vater*otec+t\xe1ta*\r\ndie Mutter*matka*\r\n"}}) {
            touch(data + u'/' + QLatin1String(name));
            QFile file(data + u'/' + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) > 0);
        }
        ReviewHistory history(data);
        const QDateTime monday(QDate(2026, 3, 16), QTime(9, 0));
        using enum TestEngine::Direction;
        using enum Verdict::Way;
        for (const auto& [foreign, czech, direction, way] :
             {std::tuple{u"der Vater"_s, u"otec+táta"_s, ForeignShown, FirstTry},
              {u"die Mutter"_s, u"matka"_s, CzechShown, Wrong},
              {u"Ähre"_s, u"klas"_s, CzechShown, FirstTry},
              {u"Zug"_s, u"vlak"_s, CzechShown, AfterHint}})
            QVERIFY(history.record({{foreign, czech}, direction, {way, {}}, u"Němčina - Rodina"_s}, monday));
        QProcess program;
        program.setProcessEnvironment(QProcessEnvironment()); // no DISPLAY, no platform
        program.start(QStringLiteral(MEMORAN_BINARY), {u"--data"_s, data, u"--due"_s, u"--date"_s, u"2026-03-19"_s});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardOutput(),
                 "2026-03-17\tdie Mutter\tmatka\tcz>ciz\t0.2120\t6.4133\t1\tN\xc4\x9bm\xc4\x8dina\tRodina\n"
                 "2026-03-18\tZug\tvlak\tcz>ciz\t1.2931\t5.1122\t1\t\t\n"
                 "2026-03-19\tder Vater\totec+t\xc3\xa1ta\tciz>cz\t2.3065\t2.1181\t1\tN\xc4\x9bm\xc4\x8dina\tRodina\n"
                 "2026-03-19\t\xc3\x84hre\tklas\tcz>ciz\t2.3065\t2.1181\t1\t\t\n");
    }

    void refusals() {
        RUN_AS_ORDINARY_USER();
        touch(at(u"file"_s));
        QVERIFY(DataHome::choose(places(at(u"file"_s))).problem.contains(u"není složka"_s));
        QDir().mkpath(at(u"locked"_s));
        QFile::setPermissions(at(u"locked"_s), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(DataHome::choose(places({}, at(u"locked"_s))).problem.contains(u"nelze zapisovat"_s));
        QVERIFY(DataHome::choose(places(at(u"locked/new"_s))).problem.contains(u"nepodařilo založit"_s));
        QCOMPARE(QDir(at(u"locked"_s)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

QTEST_GUILESS_MAIN(LaunchTest)
#include "tst_launch.moc"
