// A child process writes the log through a fixed sequence of appends, inserts and rewrites and
// is killed at a random moment; the log must then be whole and equal to one of the states the
// sequence passes through. PUKAPUKA_KILL_RUNS sets the number of kills (50 by default),
// PUKAPUKA_KILL_SEED repeats a run.
#include "tests/core/CoreTestHelpers.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "tests/core/files/KillSequence.h"

#include <QFile>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

using namespace puka;

namespace {

using Clock = std::chrono::steady_clock;

int envInt(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

pid_t startChild(const QString& dir) {
    QByteArray program(PUKAPUKA_KILL_CHILD);
    QByteArray folder = QFile::encodeName(dir);
    char* argv[] = {program.data(), folder.data(), nullptr};
    pid_t pid = -1;
    return posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ) == 0 ? pid : -1;
}

} // namespace

TEST(KillDuringWrites, LogIsAlwaysOneWholeStateOfTheSequence) {
    const int runs = envInt("PUKAPUKA_KILL_RUNS", 50);
    const unsigned seed = static_cast<unsigned>(envInt("PUKAPUKA_KILL_SEED", static_cast<int>(std::random_device{}())));
    const QByteArray initial = killtest::initialLog();
    ASSERT_FALSE(initial.isEmpty());

    // the states the sequence passes through, computed in this process
    std::vector<QByteArray> states{initial};
    {
        test::WorkDir scratch;
        scratch.write(files::kData, initial);
        for (int i = 0; i < killtest::stepCount(); ++i) {
            const Status s = killtest::step(scratch.path(), i);
            ASSERT_TRUE(s) << i << ": " << s.message().toStdString();
            states.push_back(scratch.read(files::kData));
            ASSERT_NE(states.back(), states[states.size() - 2]) << "step " << i << " changed nothing";
        }
    }

    // one undisturbed run gives the last state and the time to spread the kills over
    Clock::duration whole{};
    {
        test::WorkDir dir;
        dir.write(files::kData, initial);
        const auto start = Clock::now();
        const pid_t pid = startChild(dir.path());
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        whole = Clock::now() - start;
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        ASSERT_EQ(dir.read(files::kData), states.back());
    }

    std::mt19937 random(seed);
    const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(whole) * 11 / 10;
    std::uniform_int_distribution<long long> delay(0, longest.count());
    std::vector<int> landed(states.size(), 0);
    for (int run = 0; run < runs; ++run) {
        SCOPED_TRACE("run " + std::to_string(run) + ", seed " + std::to_string(seed));
        test::WorkDir dir;
        dir.write(files::kData, initial);
        const pid_t pid = startChild(dir.path());
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);

        const QByteArray log = dir.read(files::kData);
        const auto found = std::find(states.begin(), states.end(), log);
        ASSERT_NE(found, states.end()) << "the log is no state of the sequence (" << log.size() << " bytes)";
        ++landed[static_cast<size_t>(found - states.begin())];
        const LogContents contents = datalog::readLog(dir.path());
        ASSERT_TRUE(contents.skipped.empty()) << contents.skippedNotice().toStdString();
        // a kill between making the copy and renaming it leaves that copy, which nothing reads
        const QStringList left = dir.files();
        for (const QString& name : left)
            EXPECT_TRUE(name == files::kData || test::isCopyName(name, files::kData))
                << "left behind: " << name.toStdString();

        // the next save works on whatever the kill left behind, and leaves nothing of its own
        ASSERT_TRUE(
            datalog::insertRecord(dir.path(), test::record(QStringLiteral("2003/01/02"), QStringLiteral("朝"), 70)));
        EXPECT_EQ(dir.files(), left);
        EXPECT_EQ(datalog::readLog(dir.path()).records.size(), contents.records.size() + 1);
    }

    int between = 0;
    int distinct = 0;
    // a log in state i was killed during step i (or between steps); steps take turns by kind
    int during[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < landed.size(); ++i) {
        if (i > 0 && i + 1 < landed.size())
            between += landed[i];
        distinct += landed[i] > 0;
        if (i > 0 && i < static_cast<size_t>(killtest::stepCount()))
            during[i % 4] += landed[i];
    }
    std::cout << "kill runs: " << runs << ", seed " << seed << ", undisturbed run "
              << std::chrono::duration_cast<std::chrono::milliseconds>(whole).count() << " ms; before the first step "
              << landed.front() << ", between steps " << between << ", after the last step " << landed.back() << ", "
              << distinct << " of " << landed.size() << " states seen; during appends " << during[0] << ", inserts "
              << during[1] << ", rewrites through a copy name " << during[2] << ", diary rewrites " << during[3]
              << std::endl;
    RecordProperty("kill_runs", runs);
    RecordProperty("states_seen", distinct);
    if (runs >= 20) {
        EXPECT_GT(between, 0) << "no kill landed inside the sequence";
    }
    if (runs >= 200) {
        EXPECT_GT(during[0], 0) << "no kill landed while appending";
        EXPECT_GT(during[1] + during[2] + during[3], 0) << "no kill landed while rewriting";
    }
}
