// pukapuka-log add: the save button's checks, messages and time stamp rule from a script, with
// the exit statuses of its contract (0 written, 1 refused by a check, 2 usage or file error).
#include "tests/core/CoreTestHelpers.h"

#include "core/Version.h"
#include "core/base/Clock.h"
#include "core/edits/LogEdits.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FolderWriteLock.h"
#include "tools/log/LogCli.h"

#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace puka;
using test::crlfLines;

namespace {

// A user's own folder: a log ending on 2026/12/05 at 60 kg and 25 %, the time stamp on.
void ownFolder(const test::WorkDir& dir) {
    dir.write(files::kData, crlfLines({QStringLiteral(R"("2026/12/01","起床後",60.5,"",25.5,"")"),
                                       QStringLiteral(R"("2026/12/05","起床後",60,"",25,"")")}));
    dir.writeText(files::kProfile, QStringLiteral("\"氏名\",\"花子\"\r\n\"身長\",158\r\n\"目標体重\",50\r\n"));
    dir.write(files::kTimeStamp, " 1 \r\n");
}

// Runs @p program with arguments given as bytes; its exit status, and what it printed.
test::ToolRun runProgram(const char* program, const std::vector<QByteArray>& args) {
    test::WorkDir io;
    const QByteArray out = QFile::encodeName(QDir(io.path()).filePath(QStringLiteral("out")));
    const QByteArray err = QFile::encodeName(QDir(io.path()).filePath(QStringLiteral("err")));
    std::vector<char*> argv{const_cast<char*>(program)};
    for (const QByteArray& a : args)
        argv.push_back(const_cast<char*>(a.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    int status = -1;
    if (posix_spawn(&pid, program, &actions, nullptr, argv.data(), environ) == 0)
        ::waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, QString::fromUtf8(io.read(QStringLiteral("out"))),
            QString::fromUtf8(io.read(QStringLiteral("err")))};
}

QStringList lines(const test::WorkDir& dir) {
    return cp932::decode(dir.read(files::kData)).value_or(QString()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

TEST(LogAdd, AppendsOrInsertsAsTheSaveButtonDoes) {
    test::WorkDir dir;
    ownFolder(dir);
    // today: appended, the time of day as the situation and, with the time stamp on, as comment
    test::ToolRun r = test::runLog(dir, {QStringLiteral("add"), QStringLiteral("--weight"), QStringLiteral("59.8")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(lines(dir).last(), QStringLiteral(R"("2026/12/07","9:05:03",59.8,"9:05:03",25,"")"));
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("2026/12/07「9:05:03」体重 59.8 体脂肪率 25"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("を最後の行に追加しました\n"))) << r.out.toStdString();

    // an earlier day: inserted in date order, without the time stamp
    r = test::runLog(dir, {QStringLiteral("add"), QStringLiteral("--weight"), QStringLiteral("60.2"),
                           QStringLiteral("--fat"), QStringLiteral("25.2"), QStringLiteral("--situation"),
                           QStringLiteral("夕食後"), QStringLiteral("--date"), QStringLiteral("2026/12/03")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(lines(dir).at(1), QStringLiteral(R"("2026/12/03","夕食後",60.2,"",25.2,"")"));
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("を日付の順の位置に挿入しました\n"))) << r.out.toStdString();

    // --today stands for the date; a given comment replaces the time stamp
    r = test::runLog(dir, {QStringLiteral("--today"), QStringLiteral("2026/12/08"), QStringLiteral("add"),
                           QStringLiteral("--weight"), QStringLiteral("59.9"), QStringLiteral("--comment"),
                           QStringLiteral("体重計から")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(lines(dir).last(), QStringLiteral(R"("2026/12/08","9:05:03",59.9,"体重計から",25,"")"));
    EXPECT_EQ(lines(dir).size(), 5);
}

TEST(LogAdd, AChecksRefusalIsTheWindowsTextWithStatusOne) {
    test::WorkDir dir;
    ownFolder(dir);
    const QByteArray before = dir.read(files::kData);
    const auto refused = [&](const QStringList& args, const QString& message) {
        const test::ToolRun r = test::runLog(dir, QStringList{QStringLiteral("add")} + args);
        EXPECT_EQ(r.status, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.err, message + QLatin1Char('\n'));
        EXPECT_EQ(r.out, QString());
        EXPECT_EQ(dir.read(files::kData), before);
    };
    refused({QStringLiteral("--weight"), QStringLiteral("999")}, QStringLiteral("９９９以上は入力できません"));
    refused({QStringLiteral("--weight"), QStringLiteral("abc")}, QStringLiteral("数値を入力してください"));
    refused({QStringLiteral("--weight"), QStringLiteral("60"), QStringLiteral("--fat"), QStringLiteral("-1")},
            QStringLiteral("０未満が入力されています"));
    // a question of the window is a refusal without --yes
    refused({QStringLiteral("--weight"), QStringLiteral("65")},
            QStringLiteral("前回より５Ｋｇ以上の変動がありますが間違いありませんか？"));
    refused({QStringLiteral("--weight"), QStringLiteral("60"), QStringLiteral("--situation"), QStringLiteral("朝\"")},
            QStringLiteral("状況に半角の「\"」は使えません。\n全角の「”」などに置き換えてください。"));
    refused({QStringLiteral("--weight"), QStringLiteral("60"), QStringLiteral("--date"), QStringLiteral("2100/01/01")},
            QStringLiteral(
                "日付「2100/01/01」は記録できません。\n1900/01/01 から 2099/12/31 までの日付を選んでください。"));

    const test::ToolRun yes = test::runLog(
        dir, {QStringLiteral("add"), QStringLiteral("--weight"), QStringLiteral("65"), QStringLiteral("--yes")});
    EXPECT_EQ(yes.status, 0) << yes.err.toStdString();

    // the shipped sample data take no measurement
    test::WorkDir sample;
    sample.copySample();
    const test::ToolRun r =
        test::runLog(sample, {QStringLiteral("add"), QStringLiteral("--weight"), QStringLiteral("68")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("ご自身のデータでスタートする時は編集ボタンで新規スタートしてください。\n"));
}

TEST(LogAdd, UsageAndFileErrorsAreOneLineWithStatusTwo) {
    test::WorkDir dir;
    ownFolder(dir);
    const QByteArray before = dir.read(files::kData);
    const auto failed = [&](const test::WorkDir& folder, const QStringList& args, const QString& part) {
        const test::ToolRun r = test::runLog(folder, args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("pukapuka-log: ")) && r.err.endsWith(QLatin1Char('\n')) &&
                    r.err.count(QLatin1Char('\n')) == 1)
            << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(part)) << r.err.toStdString();
        EXPECT_EQ(r.out, QString());
    };
    const QString add = QStringLiteral("add");
    failed(dir, {}, QStringLiteral("コマンドを指定してください"));
    failed(dir, {QStringLiteral("remove")}, QStringLiteral("知らないコマンド「remove」"));
    failed(dir, {add}, QStringLiteral("--weight"));
    failed(dir,
           {add, QStringLiteral("--weight"), QStringLiteral("60"), QStringLiteral("--date"), QStringLiteral("12/7")},
           QStringLiteral("--date"));
    failed(dir, {add, QStringLiteral("--weight"), QStringLiteral("60"), QStringLiteral("--unit")},
           QStringLiteral("--unit"));
    failed(dir, {QStringLiteral("--today"), QStringLiteral("today"), add}, QStringLiteral("--today"));
    test::WorkDir empty;
    failed(empty, {add, QStringLiteral("--weight"), QStringLiteral("60")},
           QStringLiteral("「データ.txt」がありません"));
    EXPECT_EQ(empty.files(), QStringList());

    // another writer that does not finish within the wait
    const int holder = ::open(QFile::encodeName(QDir(dir.path()).filePath(FolderWriteLock::fileName())).constData(),
                              O_RDWR | O_CREAT, 0644);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const auto limit = FolderWriteLock::waitLimit();
    FolderWriteLock::setWaitLimit(std::chrono::milliseconds(100));
    failed(dir, {add, QStringLiteral("--weight"), QStringLiteral("60")}, QStringLiteral("別のウィンドウかプログラム"));
    FolderWriteLock::setWaitLimit(limit);
    ::close(holder);
    EXPECT_EQ(dir.read(files::kData), before);
}

// --help names every command the tool has, --version the tool and its version; neither needs a
// folder.
TEST(LogAdd, HelpNamesEveryCommandAndVersionTheTool) {
    test::WorkDir empty;
    const test::ToolRun help = test::runLog(empty, {QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    const QStringList lines = help.out.split(QLatin1Char('\n'));
    for (const char* command : {"add", "edit", "delete", "backups", "restore", "import", "export"}) {
        const QString listed = QStringLiteral("  ") + QLatin1String(command);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& l) {
            return l == listed || l.startsWith(listed + u' ');
        })) << command;
    }
    const test::ToolRun version = test::runLog(empty, {QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, QStringLiteral("pukapuka-log %1\n").arg(QLatin1String(kVersion)));
    EXPECT_EQ(empty.files(), QStringList());
}

// A folder named in raw Shift_JIS bytes (from an old archive) reaches both tools whole: -C takes
// the name as its bytes stand.
TEST(CommandLineTools, EnterAFolderNamedInShiftJisByItsBytes) {
    test::WorkDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/\x83\x66\x81\x5B\x83\x5E"; // データ
    ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
    const QByteArray log = folder + "/" + QFile::encodeName(files::kData);
    const int fd = ::open(log.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    const QByteArray bytes = crlfLines({QStringLiteral(R"("2026/12/05","起床後",60,"",25,"")")});
    ASSERT_EQ(::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
    ::close(fd);

    const test::ToolRun added = runProgram(
        PUKAPUKA_LOG_TOOL, {"-C", folder, "--today", "2026/12/07", "add", "--weight", "59.5", "--situation", "朝"});
    EXPECT_EQ(added.status, 0) << added.err.toStdString();
    const test::ToolRun shown = runProgram(PUKAPUKA_REPORT_TOOL, {"-C", folder, "--today", "2026/12/07", "diary"});
    EXPECT_EQ(shown.status, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains(QStringLiteral("朝")) && shown.out.contains(QStringLiteral("59.5")))
        << shown.out.toStdString();
    const test::ToolRun missing = runProgram(PUKAPUKA_LOG_TOOL, {"-C", folder + "x", "add", "--weight", "59"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("pukapuka-log: フォルダ"))) << missing.err.toStdString();
    // a folder without the log is named by its path, though -C has entered it
    test::WorkDir empty;
    const QByteArray emptyFolder = QFile::encodeName(empty.path());
    const test::ToolRun noLog = runProgram(PUKAPUKA_LOG_TOOL, {"-C", emptyFolder, "add", "--weight", "59"});
    const test::ToolRun noReport = runProgram(PUKAPUKA_REPORT_TOOL, {"-C", emptyFolder, "diary"});
    for (const test::ToolRun& run : {noLog, noReport}) {
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.contains(empty.path() + QStringLiteral(" に「データ.txt」がありません")))
            << run.err.toStdString();
    }

    test::removeFolder(folder);
}

// edit, delete, backups and restore: 0 written, 1 refused by a check (the window's text), 2 a
// usage error; nothing is written unless the status is 0.
TEST(LogEdit, EditDeleteBackupsAndRestoreAnswerWithTheContractsStatuses) {
    test::WorkDir dir;
    ownFolder(dir);
    const QByteArray original = dir.read(files::kData);
    const auto run = [&](const QStringList& args, int status) {
        const QByteArray before = dir.read(files::kData);
        const test::ToolRun r = test::runLog(dir, args);
        EXPECT_EQ(r.status, status) << args.join(QLatin1Char(' ')).toStdString() << ": " << r.err.toStdString();
        if (status != 0) {
            EXPECT_EQ(dir.read(files::kData), before) << args.join(QLatin1Char(' ')).toStdString();
        }
        return r;
    };
    const QString edit = QStringLiteral("edit");
    test::ToolRun r = run({edit, QStringLiteral("2"), QStringLiteral("--weight"), QStringLiteral("60.1"),
                           QStringLiteral("--comment"), QStringLiteral("体重計から")},
                          0);
    EXPECT_EQ(r.out, QStringLiteral("2 番目の記録を直しました: 2026/12/05　起床後　60.0Kg　25.0% → "
                                    "2026/12/05　起床後　60.1Kg　25.0%　「体重計から」\n"));
    EXPECT_EQ(lines(dir).at(1), QStringLiteral(R"("2026/12/05","起床後",60.1,"体重計から",25,"")"));
    r = run({edit, QStringLiteral("2"), QStringLiteral("--weight"), QStringLiteral("70")}, 1);
    EXPECT_EQ(r.err, QStringLiteral("前回より５Ｋｇ以上の変動がありますが間違いありませんか？\n"));
    run({edit, QStringLiteral("2"), QStringLiteral("--weight"), QStringLiteral("70"), QStringLiteral("--yes")}, 0);
    r = run({edit, QStringLiteral("9"), QStringLiteral("--weight"), QStringLiteral("60")}, 1);
    EXPECT_EQ(r.err, QStringLiteral("9 番目の記録はありません（記録は 1 番目から 2 番目まであります）。\n"));
    r = run(
        {edit, QStringLiteral("1"), QStringLiteral("--date"), QStringLiteral("2026/12/06"), QStringLiteral("--yes")},
        1);
    EXPECT_EQ(r.err,
              QStringLiteral("1 番目の記録はダイエットのスタートの記録のため、日付を次の記録の日付（2026/12/05）より"
                             "後にはできません。\n"));
    run({edit, QStringLiteral("x"), QStringLiteral("--weight"), QStringLiteral("60")}, 2);
    run({edit, QStringLiteral("2")}, 2);
    run({edit, QStringLiteral("2"), QStringLiteral("--date"), QStringLiteral("12/1")}, 2);

    const QString del = QStringLiteral("delete");
    r = run({del, QStringLiteral("1"), QStringLiteral("--yes")}, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("新規スタート"))) << r.err.toStdString();
    r = run({del, QStringLiteral("2")}, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("次の記録（2 番目）を削除します。よろしいですか？")))
        << r.err.toStdString();
    run({del, QStringLiteral("2"), QStringLiteral("--yes"), QStringLiteral("--force")}, 2);
    r = run({del, QStringLiteral("2"), QStringLiteral("--yes")}, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("2 番目の記録を削除しました: 2026/12/05"))) << r.out.toStdString();
    EXPECT_EQ(lines(dir).size(), 1);

    // the first change of the day was backed up with the log as it was
    r = run({QStringLiteral("backups")}, 0);
    EXPECT_EQ(r.out, QStringLiteral("データ_20261207_090503.txt\t2026/12/07 09:05:03\t2\n"));
    const QString name = QStringLiteral("データ_20261207_090503.txt");
    const QString restore = QStringLiteral("restore");
    r = run({restore, name}, 1);
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("よろしいですか？\n"))) << r.err.toStdString();
    run({restore, QStringLiteral("データ_20261101_090503.txt"), QStringLiteral("--yes")}, 1);
    run({restore}, 2);
    r = run({restore, name, QStringLiteral("--yes")}, 0);
    EXPECT_EQ(dir.read(files::kData), original);
    EXPECT_TRUE(r.out.contains(QStringLiteral("データ_20261207_090503_2.txt"))) << r.out.toStdString();
}
