// Several processes write one folder at once, as two windows and a scale's script would:
// appends, inserts, diary saves, list edits and pukapuka-log add. Afterwards every change that
// was reported saved is there exactly once, nothing of before is lost, no change failed, the log
// is in date order and no copy is left. PUKAPUKA_WRITER_CHANGES sets the changes per writer.
#include "tests/core/CoreTestHelpers.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/SituationList.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <iterator>
#include <map>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace puka;

namespace {

constexpr int kDays = 300;

QByteArray initialLog() {
    QStringList lines;
    for (int k = 0; k < kDays * 3; ++k)
        lines.append(QStringLiteral(R"("%1","初期%2",%3,"",25,"")")
                         .arg(QDate(2026, 1, 1).addDays(k / 3).toString(QStringLiteral("yyyy/MM/dd")))
                         .arg(k)
                         .arg(60 + k % 7 / 10.0));
    return test::crlfLines(lines);
}

struct Writer {
    const char* kind;
    int id;
};

pid_t start(const Writer& w, const QString& dir, int changes, const QString& output) {
    QByteArray program(PUKAPUKA_WRITER_CHILD);
    QByteArray folder = QFile::encodeName(dir);
    QByteArray kind(w.kind);
    QByteArray id = QByteArray::number(w.id);
    QByteArray count = QByteArray::number(changes);
    QByteArray tool(PUKAPUKA_LOG_TOOL);
    char* argv[] = {program.data(), folder.data(), kind.data(), id.data(), count.data(), tool.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, QFile::encodeName(output).constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

} // namespace

TEST(ManyWriters, EveryReportedSaveIsThereOnceAndNothingIsLost) {
    const char* env = std::getenv("PUKAPUKA_WRITER_CHANGES");
    const int changes = env && *env ? std::atoi(env) : 15;
    const Writer writers[] = {{"append", 1}, {"append", 2}, {"insert", 3}, {"insert", 4}, {"diary", 5},
                              {"diary", 6},  {"list", 7},   {"list", 8},   {"tool", 9}};
    test::WorkDir dir;
    test::WorkDir outputs;
    dir.write(files::kData, initialLog());
    dir.write(files::kSituations, test::crlfLines({QStringLiteral("朝"), QStringLiteral("夜")}));

    const auto began = std::chrono::steady_clock::now();
    std::vector<pid_t> children;
    for (const Writer& w : writers) {
        children.push_back(start(w, dir.path(), changes, QDir(outputs.path()).filePath(QString::number(w.id))));
        ASSERT_GT(children.back(), 0);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto took = std::chrono::steady_clock::now() - began;

    // what each writer reported: every change saved, none failed
    std::map<QString, QStringList> saved; // by the first letter of the tag: a, i, d, l, x, o, t
    int reports = 0;
    for (const Writer& w : writers) {
        const QStringList lines =
            QString::fromUtf8(outputs.read(QString::number(w.id))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            ++reports;
            EXPECT_TRUE(line.startsWith(QStringLiteral("ok "))) << "writer " << w.kind << ": " << line.toStdString();
            const QString tag = line.section(QLatin1Char(' '), 1, 1);
            saved[tag.left(1)].append(tag);
        }
    }
    std::cout << "many writers: " << std::size(writers) << " processes, " << reports << " changes in "
              << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms" << std::endl;
    EXPECT_EQ(saved[QStringLiteral("a")].size() + saved[QStringLiteral("i")].size() + saved[QStringLiteral("t")].size(),
              5 * changes);

    // the log: every record of before and every saved measurement once, in date order
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_EQ(log.skippedCount, 0) << log.skippedNotice().toStdString();
    std::map<QString, int> situations;
    for (const WeightRecord& r : log.records)
        ++situations[r.situation];
    for (int k = 0; k < kDays * 3; ++k)
        EXPECT_EQ(situations[QStringLiteral("初期%1").arg(k)], 1) << k;
    for (const char* kind : {"a", "i", "t"})
        for (const QString& tag : saved[QString::fromLatin1(kind)])
            EXPECT_EQ(situations[tag], 1) << tag.toStdString();
    EXPECT_EQ(log.records.size(), static_cast<size_t>(kDays * 3 + 5 * changes));
    for (size_t i = 1; i < log.records.size(); ++i)
        ASSERT_LE(log.records[i - 1].date, log.records[i].date) << "record " << i;

    // the diary: each target carries its writer's last comment, every other comment is empty
    std::map<QString, QString> lastComment;
    for (const QString& tag : saved[QStringLiteral("d")])
        lastComment[QStringLiteral("初期") + tag.mid(1).section(QLatin1Char('-'), 0, 0)] = tag;
    EXPECT_EQ(lastComment.size(), 2u);
    for (const WeightRecord& r : log.records) {
        const auto it = lastComment.find(r.situation);
        EXPECT_EQ(r.comment, it == lastComment.end() ? QString() : it->second) << r.situation.toStdString();
    }

    // the list: the words of before, and each added word unless its own writer deleted it
    const QStringList words = situations::readSituationList(dir.path()).words;
    QStringList expected = {QStringLiteral("朝"), QStringLiteral("夜")};
    for (const QString& tag : saved[QStringLiteral("l")])
        if (!saved[QStringLiteral("x")].contains(QStringLiteral("x") + tag))
            expected.append(tag);
    EXPECT_EQ(saved[QStringLiteral("x")].size(), saved[QStringLiteral("o")].size());
    for (const QString& word : expected)
        EXPECT_EQ(words.count(word), 1) << word.toStdString();
    EXPECT_EQ(words.size(), expected.size());

    EXPECT_EQ(dir.files(), (QStringList{files::kData, files::kSituations}));
}
