// One of the writers the many-writers test runs at once on one folder. It makes COUNT changes of
// one kind and prints a line for each: "ok TAG" when the change was reported saved, "fail TAG
// MESSAGE" when it was not. TAGs are unique, so the test can find every change in the files.
//
//   core_writer_child DIR append|insert|diary|list|tool ID COUNT [PUKAPUKA-LOG]
#include "core/base/Clock.h"
#include "core/edits/DiarySave.h"
#include "core/edits/MeasurementEntry.h"
#include "core/edits/SituationEditing.h"
#include "core/files/DataLog.h"
#include "core/files/SituationList.h"

#include <QDate>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

using namespace puka;

namespace {

void report(const QString& tag, const Status& status) {
    QString message = status.message();
    message.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    const QByteArray line =
        (status.ok() ? QStringLiteral("ok %1\n").arg(tag) : QStringLiteral("fail %1 %2\n").arg(tag, message)).toUtf8();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

Status save(const QString& dir, const QString& situation, const QDate& day, int n) {
    entry::Input input;
    input.situation = situation;
    input.weightText = QString::number(60 + n % 10 / 10.0);
    input.fatText = QStringLiteral("25");
    return entry::saveEntry(dir, input, day, false, clock::now());
}

// The diary save of one record, found by its situation in the log as read just before; a log
// that changed in between is refused as stale, and the save is tried again.
Status comment(const QString& dir, const QString& situation, const QString& text) {
    Status status;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::vector<WeightRecord> shown = datalog::readLog(dir).records;
        int row = 0;
        for (size_t i = 0; i < shown.size() && row == 0; ++i)
            if (shown[i].situation == situation)
                row = static_cast<int>(i) + 1;
        status = diary::saveComment(dir, shown, row, text);
        if (status || !status.message().contains(QStringLiteral("開き直して")))
            return status;
    }
    return status;
}

Status tool(const char* program, const QString& dir, const QString& situation) {
    const QByteArray folder = QFile::encodeName(dir);
    const QByteArray word = situation.toUtf8();
    const char* argv[] = {program, "-C",          folder.constData(), "--today", "2026/12/07", "add",  "--weight",
                          "60.5",  "--situation", word.constData(),   "--fat",   "25",         nullptr};
    // its line of what it wrote is not one of this writer's reports
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program, &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return Status::failure(QStringLiteral("cannot start pukapuka-log"));
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Status::failure(QStringLiteral("pukapuka-log exit %1").arg(WEXITSTATUS(status)));
    return {};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s DIR KIND ID COUNT [PUKAPUKA-LOG]\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const std::string kind = argv[2];
    const QString id = QString::fromLatin1(argv[3]);
    const int count = std::atoi(argv[4]);
    clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 0)));
    std::mt19937 random(static_cast<unsigned>(std::atoi(argv[3])));
    for (int n = 0; n < count; ++n) {
        const QString tag = QStringLiteral("%1%2-%3").arg(QString::fromStdString(kind.substr(0, 1)), id).arg(n);
        if (kind == "append") {
            report(tag, save(dir, tag, QDate(2026, 12, 7), n));
        } else if (kind == "insert") {
            report(tag, save(dir, tag, QDate(2026, 1, 1).addDays(static_cast<int>(random() % 330)), n));
        } else if (kind == "diary") {
            report(tag, comment(dir, QStringLiteral("初期%1").arg(id), tag));
        } else if (kind == "list") {
            // its own words only: add one, and every third change delete the one added before
            // and save the list in reverse order
            report(tag, editing::addWord(dir, tag));
            if (n % 3 == 2) {
                const QString previous = QStringLiteral("l%1-%2").arg(id).arg(n - 1);
                const QStringList shown = situations::readSituationList(dir).words;
                const Status status =
                    editing::deleteWord(dir, shown, static_cast<int>(shown.indexOf(previous))).status();
                report(QStringLiteral("x") + previous, status);
                QStringList reversed = situations::readSituationList(dir).words;
                std::reverse(reversed.begin(), reversed.end());
                report(QStringLiteral("o%1-%2").arg(id).arg(n), editing::saveOrder(dir, reversed));
            }
        } else if (kind == "tool" && argc > 5) {
            report(tag, tool(argv[5], dir, tag));
        } else {
            std::fprintf(stderr, "unknown kind %s\n", kind.c_str());
            return 2;
        }
    }
    return 0;
}
