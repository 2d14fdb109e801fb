// Every writer is run again and again with the k-th file step failing, for k = 1, 2, ... until
// a run gets through without meeting the fault: once with a full disk (ENOSPC) at every step,
// once with an I/O error, a refused permission or a read-only file system in turn. After each
// failed run the folder must hold exactly what it held before, and the message must name the
// file and say why.
#include "tests/core/CoreTestHelpers.h"

#include "core/base/Clock.h"
#include "core/edits/ChangeHistory.h"
#include "core/edits/DiarySave.h"
#include "core/edits/LogEdits.h"
#include "core/edits/LogImport.h"
#include "core/edits/NewStart.h"
#include "core/edits/ProfileEdit.h"
#include "core/edits/SituationEditing.h"
#include "core/edits/StepSettings.h"
#include "core/files/Backups.h"
#include "core/files/DailyExport.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/LegacyConversion.h"
#include "core/files/LogExport.h"
#include "core/files/Settings.h"
#include "core/files/SituationList.h"
#include "core/views/DailyView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

using namespace puka;
using test::crlfLines;

namespace {

struct Writer {
    std::string name;
    std::function<void(const test::WorkDir&)> prepare;
    std::function<Status(const QString& dir)> run;
    QStringList namedFiles; ///< the message names one of these
    int minSteps;           ///< the writer meets at least this many file steps
    QString source = {};    ///< conversions: the file that must stay as it was, so the conversion comes again
};

using Snapshot = QMap<QString, QByteArray>;

// How many failed runs the fault tests of this process made, for the summary line.
int& injectedFaults() {
    static int n = 0;
    return n;
}

void PrintTo(const Writer& w, std::ostream* os) {
    *os << w.name;
}

const char* stepName(FileStep step) {
    switch (step) {
    case FileStep::Read:
        return "read";
    case FileStep::Open:
        return "open";
    case FileStep::Write:
        return "write";
    case FileStep::Flush:
        return "flush";
    case FileStep::Rename:
        return "rename";
    }
    return "?";
}

void sample(const test::WorkDir& dir) {
    dir.copySample();
}

QByteArray olderLog() {
    return crlfLines({QStringLiteral(R"("2002/03/01","起床後",68.5,"がんばる","","")"),
                      QStringLiteral(R"("2002/03/02","起床後",68.4,"","","")")});
}

std::vector<Writer> fileWriters() {
    using namespace settings;
    const auto rec = [](const char* date) {
        return test::record(QString::fromLatin1(date), QStringLiteral("起床後"), 70.5f, QStringLiteral("7:01:02"));
    };
    const int atomic = 4; // open, write, flush, rename of the copy
    const int append = 3; // open, write, flush
    return {
        {"appendRecord",
         sample,
         [=](const QString& d) { return datalog::appendRecord(d, rec("2003/11/23")); },
         {files::kData},
         append},
        {"appendRecord_after_torn_end",
         [](const test::WorkDir& dir) {
             dir.copySample();
             QByteArray log = dir.read(files::kData);
             log.chop(2);
             dir.write(files::kData, log);
         },
         [=](const QString& d) { return datalog::appendRecord(d, rec("2003/11/23")); },
         {files::kData},
         append},
        {"insertRecord",
         sample,
         [=](const QString& d) { return datalog::insertRecord(d, rec("2003/08/01")); },
         {files::kData},
         atomic},
        {"rewriteLog",
         sample,
         [](const QString& d) {
             return datalog::rewriteLog(d, [](WeightRecord& r) {
                 if (r.situation != QStringLiteral("起床後"))
                     return false;
                 r.situation = QStringLiteral("起きてすぐ");
                 return true;
             });
         },
         {files::kData},
         atomic},
        {"writeLog",
         sample,
         [](const QString& d) {
             std::vector<WeightRecord> records = datalog::readLog(d).records;
             records.at(3).comment = QStringLiteral("書き直した");
             return datalog::writeLog(d, records);
         },
         {files::kData},
         atomic},
        {"writeHelpTour", sample, [](const QString& d) { return writeHelpTour(d, 0); }, {files::kHelpTour}, atomic},
        {"writeSteps",
         sample,
         [](const QString& d) {
             return writeSteps(d, {QStringLiteral("0.2"), QStringLiteral("0.5")});
         },
         {files::kSteps},
         atomic},
        {"writeTimeStamp", sample, [](const QString& d) { return writeTimeStamp(d, 1); }, {files::kTimeStamp}, atomic},
        {"rewriteTimeStampInWrittenForm",
         [](const test::WorkDir& dir) {
             dir.copySample();
             dir.write(files::kTimeStamp, "1,x\r\n");
         },
         [](const QString& d) { return rewriteTimeStampInWrittenForm(d, readTimeStamp(d)); },
         {files::kTimeStamp},
         atomic},
        {"writeMovingAverage",
         sample,
         [](const QString& d) { return writeMovingAverage(d, QStringLiteral("7")); },
         {files::kMovingAverage},
         atomic},
        {"writeProfile",
         sample,
         [](const QString& d) {
             return writeProfile(d, {QStringLiteral("花子"), 155.5f, 50});
         },
         {files::kProfile},
         atomic},
        {"writeNotes",
         sample,
         [](const QString& d) { return writeNotes(d, QStringLiteral("新しいメモ\r\n")); },
         {files::kNotes},
         atomic},
        {"writeMarker", sample, [](const QString& d) { return writeMarker(d, 2); }, {files::kMarker}, atomic},
        {"writeMarker_new_file",
         [](const test::WorkDir&) {},
         [](const QString& d) { return writeMarker(d, 2); },
         {files::kMarker},
         atomic},
        {"writeHelpTour_lower_case_extension",
         [](const test::WorkDir& dir) { dir.write(QStringLiteral("設定.txt"), "\"x\",1\r\n"); },
         [](const QString& d) { return writeHelpTour(d, 0); },
         {QStringLiteral("設定.txt")},
         atomic},
        {"appendWord",
         sample,
         [](const QString& d) { return situations::appendWord(d, QStringLiteral("散歩後")); },
         {files::kSituations},
         append},
        {"writePlain",
         sample,
         [](const QString& d) {
             return situations::writePlain(d, {QStringLiteral("起床後"), QStringLiteral("就寝前")});
         },
         {files::kSituations},
         atomic},
        {"writeQuoted",
         sample,
         [](const QString& d) {
             return situations::writeQuoted(d, {QStringLiteral("起きてすぐ"), QStringLiteral("朝,夜")});
         },
         {files::kSituations},
         atomic},
    };
}

// The writers behind the panels: the edit panel's list editing, new start, profile and steps,
// the diary save and the daily-average export.
std::vector<Writer> panelWriters() {
    const int atomic = 4;
    // the undo's history, made afresh by each preparation
    const auto history = std::make_shared<history::ChangeHistory>();
    const int append = 3;
    const auto words = [](const QString& d) { return situations::readSituationList(d).words; };
    return {
        {"editing_addWord",
         sample,
         [](const QString& d) { return editing::addWord(d, QStringLiteral("散歩後")); },
         {files::kSituations},
         append},
        {"editing_saveOrder",
         sample,
         [=](const QString& d) {
             QStringList w = words(d);
             std::reverse(w.begin(), w.end());
             return editing::saveOrder(d, w);
         },
         {files::kSituations},
         atomic},
        {"editing_deleteWord",
         sample,
         [=](const QString& d) { return editing::deleteWord(d, words(d), 0).status(); },
         {files::kSituations},
         atomic},
        {"editing_deleteAll",
         sample,
         [=](const QString& d) { return editing::deleteAll(d, words(d)); },
         {files::kSituations},
         atomic - 1}, // an empty file needs no write call
        {"editing_renameWord",
         sample,
         [](const QString& d) {
             return editing::renameWord(d, QStringLiteral("起床後"), QStringLiteral("起きてすぐ"));
         },
         {files::kData, files::kSituations},
         2 * atomic},
        {"diary_saveComment",
         sample,
         [](const QString& d) {
             return diary::saveComment(d, datalog::readLog(d).records, 2, QStringLiteral("書き直した"));
         },
         {files::kData},
         atomic},
        {"newstart_start",
         sample,
         [](const QString& d) {
             clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
             const Status s =
                 newstart::start(d, {QStringLiteral("花子"), QStringLiteral("158.5"), QStringLiteral("50"),
                                     QStringLiteral("70.5"), QStringLiteral("25"), newstart::defaultSituation()});
             clock::setFixed(std::nullopt);
             return s;
         },
         {files::kData, files::kProfile, QStringLiteral("データ_20261207.txt")},
         3 * atomic},
        {"profileedit_save",
         sample,
         [](const QString& d) {
             return profileedit::save(d, {QStringLiteral("花子"), QStringLiteral("155"), QStringLiteral("48")});
         },
         {files::kProfile},
         atomic},
        {"increments_confirmFree",
         sample,
         [](const QString& d) {
             Steps steps = settings::readSteps(d).value;
             return increments::confirmFree(d, steps, increments::Kind::Weight, QStringLiteral("0.05"));
         },
         {files::kSteps},
         atomic},
        {"increments_chooseOption",
         sample,
         [](const QString& d) {
             Steps steps = settings::readSteps(d).value;
             return increments::chooseOption(d, steps, increments::Kind::Fat, 3);
         },
         {files::kSteps},
         atomic},
        {"logedits_correctRecord",
         sample,
         [](const QString& d) {
             WeightRecord r = datalog::readLog(d).records.at(4);
             r.weight = 68.9f;
             return logedits::correctRecord(d, 5, std::nullopt, r);
         },
         {files::kData},
         atomic},
        {"logedits_correctRecord_to_another_day",
         sample,
         [](const QString& d) {
             WeightRecord r = datalog::readLog(d).records.at(4);
             r.date = QStringLiteral("2003/10/01");
             return logedits::correctRecord(d, 5, std::nullopt, r);
         },
         {files::kData},
         atomic},
        {"logedits_deleteRecord",
         sample,
         [](const QString& d) { return logedits::deleteRecord(d, 7, std::nullopt); },
         {files::kData},
         atomic},
        {"history_undo_rename",
         [history](const test::WorkDir& dir) {
             dir.copySample();
             *history = history::ChangeHistory();
             editing::RenameResult renamed;
             ASSERT_TRUE(
                 editing::renameWord(dir.path(), QStringLiteral("起床後"), QStringLiteral("起きてすぐ"), &renamed));
             history->record(history::renamed(QStringLiteral("状況の入れ替え"), renamed));
         },
         [history](const QString& d) { return history->undo(d); },
         {files::kData, files::kSituations},
         2 * atomic},
        {"backups_restoreBackup",
         [](const test::WorkDir& dir) {
             dir.copySample();
             ASSERT_TRUE(backups::backupBeforeChange(dir.path(), backups::Reason::Import));
             ASSERT_TRUE(logedits::deleteRecord(dir.path(), 3, std::nullopt));
         },
         [](const QString& d) { return backups::restoreBackup(d, backups::listBackups(d)->back().name); },
         {files::kData},
         atomic},
        {"logimport_importInto",
         [](const test::WorkDir& dir) {
             dir.copySample();
             // a user's own log: the sample data take no import
             dir.write(files::kProfile, test::sjis(QStringLiteral("\"氏名\",\"花子\"\r\n\"身長\",158\r\n")));
             dir.write(QStringLiteral("scale.csv"), "date,time,weight,body fat\n2003/08/02,21:00,69.9,20.1\n"
                                                    "2003/12/01,7:00,68.1,19.5\n");
         },
         [](const QString& d) {
             const logimport::Source source = logimport::readSource(QDir(d).filePath(QStringLiteral("scale.csv")));
             return logimport::importInto(d, source, false).status;
         },
         {files::kData},
         2 * atomic}, // the backup, then the log
        {"logexport_exportToFile",
         [](const test::WorkDir& dir) {
             dir.copySample();
             dir.write(QStringLiteral("export.csv"), "an older export\r\n");
         },
         [](const QString& d) {
             return logexport::exportToFile(d, QDir(d).filePath(QStringLiteral("export.csv")),
                                            csvexport::Encoding::Utf8)
                 .status;
         },
         {QStringLiteral("export.csv")},
         atomic},
        {"daily_exportAverages",
         [](const test::WorkDir& dir) {
             dir.copySample();
             dir.write(files::kDailyExport, test::sjis(QStringLiteral("\"03/01/01\",70\r\n")));
         },
         [](const QString& d) {
             return daily::exportAverages(d, daily::buildDailyView(datalog::readLog(d).records).grid);
         },
         {files::kDailyExport},
         atomic},
        {"daily_exportAverages_new_file",
         sample,
         [](const QString& d) {
             return daily::exportAverages(d, daily::buildDailyView(datalog::readLog(d).records).grid);
         },
         {files::kDailyExport},
         atomic},
    };
}

std::vector<Writer> conversions() {
    const int atomic = 4;
    return {
        {"convertLegacyLog",
         [](const test::WorkDir& dir) {
             dir.copySample();
             dir.write(files::kLegacyLog, crlfLines({QStringLiteral(R"("2001/01/05","起床後",70.5)"),
                                                     QStringLiteral(R"("2001/01/06","起床後",70)")}));
             dir.write(files::kLegacyLogBackup, "older backup");
         },
         [](const QString& d) { return legacy::convertLegacyLog(d, QStringLiteral("25")); },
         {files::kData, files::kLegacyLog, files::kDataBackup, QStringLiteral("連続体重bak2.txt")},
         2 * atomic + 1,
         files::kLegacyLog},
        {"convertData",
         [](const test::WorkDir& dir) {
             dir.write(files::kData, olderLog());
             dir.write(files::kDataBackup, "older backup");
         },
         [](const QString& d) { return legacy::convertData(d, QStringLiteral("23")); },
         {files::kData, QStringLiteral("データbak2.txt")},
         2 * atomic,
         files::kData},
    };
}

// Runs @p w with the k-th file step failing for k = 1, 2, ... until a run meets no fault, and
// hands every failed run to @p check.
void faultAtEveryStep(
    const Writer& w, const std::function<void(const Snapshot& before, const Snapshot& after, const Status& s)>& check) {
    test::WorkDir reference;
    w.prepare(reference);
    const Status clean = w.run(reference.path());
    ASSERT_TRUE(clean) << clean.message().toStdString();
    const auto expectedAfter = test::snapshot(reference);

    // a full disk at every step, then the other refusals in turn, then faults that strike after
    // their system call took effect: a write that wrote part of its bytes, a rename that happened
    struct Pass {
        std::vector<int> errors;
        FaultTiming timing;
    };
    const Pass passes[] = {
        {{ENOSPC}, FaultTiming::Before}, {{EIO, EACCES, EROFS}, FaultTiming::Before}, {{EIO}, FaultTiming::After}};
    for (const Pass& pass : passes) {
        int faults = 0;
        for (int k = 1; k < 100; ++k) {
            test::WorkDir dir;
            w.prepare(dir);
            const auto before = test::snapshot(dir);
            int calls = 0;
            bool hit = false;
            FileStep hitStep{};
            QString hitPath;
            const int error = pass.errors.at(static_cast<size_t>(k) % pass.errors.size());
            Status s;
            {
                test::FaultGuard guard([&](FileStep step, const QString& path) -> Fault {
                    // reads fail on their own terms; the folder flush after a rename is checked on its
                    // own below
                    if (step == FileStep::Read || QFileInfo(path).isDir())
                        return 0;
                    // only a write and a rename have an effect to fail after
                    if (pass.timing == FaultTiming::After && step != FileStep::Write && step != FileStep::Rename)
                        return 0;
                    if (++calls != k)
                        return 0;
                    hit = true;
                    hitStep = step;
                    hitPath = QFileInfo(path).fileName();
                    return {error, pass.timing};
                });
                s = w.run(dir.path());
            }
            // a rename that took place is a success, whatever it reported
            const bool renamed = hitStep == FileStep::Rename && pass.timing == FaultTiming::After;
            if (!hit || renamed) {
                EXPECT_TRUE(s) << s.message().toStdString();
                EXPECT_TRUE(test::sameFiles(expectedAfter, test::snapshot(dir)));
                if (!hit)
                    break;
            }
            ++faults;
            ++injectedFaults();
            if (renamed)
                continue;
            SCOPED_TRACE("fault " + std::to_string(k) + " (errno " + std::to_string(error) +
                         (pass.timing == FaultTiming::After ? ", after the call" : "") + ") at " + stepName(hitStep) +
                         " of " + hitPath.toStdString());
            EXPECT_FALSE(s.ok());
            bool named = false;
            for (const QString& f : w.namedFiles)
                named = named || s.message().contains(f);
            EXPECT_TRUE(named) << s.message().toStdString();
            if (error == ENOSPC) {
                EXPECT_TRUE(s.message().contains(QStringLiteral("空き容量"))) << s.message().toStdString();
            }
            if (error == EACCES || error == EROFS) {
                EXPECT_TRUE(s.message().contains(QStringLiteral("権限"))) << s.message().toStdString();
            }
            check(before, test::snapshot(dir), s);
        }
        // after the call, only the writes and renames are faulted
        EXPECT_GE(faults, pass.timing == FaultTiming::Before ? w.minSteps : w.minSteps / 2);
    }
    std::cout << w.name << ": " << injectedFaults() << " fault cases injected" << std::endl;
    injectedFaults() = 0;
}

class FaultAtEveryStep : public ::testing::TestWithParam<Writer> {};

TEST_P(FaultAtEveryStep, LeavesTheFolderAsItWasAndNamesTheFile) {
    const Writer& w = GetParam();
    faultAtEveryStep(w, [](const Snapshot& before, const Snapshot& after, const Status&) {
        EXPECT_TRUE(test::sameFiles(before, after));
    });
}

// The weaker promise a conversion keeps even where it cannot undo every step: no byte of the
// old files is lost, the file it converts is still there to be converted again, and no work
// file is left.
class ConversionFault : public ::testing::TestWithParam<Writer> {};

TEST_P(ConversionFault, LosesNothingAndCanRunAgain) {
    const Writer& w = GetParam();
    faultAtEveryStep(w, [&](const Snapshot& before, const Snapshot& after, const Status&) {
        for (auto it = before.begin(); it != before.end(); ++it) {
            bool kept = false;
            for (const QByteArray& bytes : after)
                kept = kept || bytes == it.value();
            EXPECT_TRUE(kept) << "the former content of " << it.key().toStdString() << " is gone";
        }
        EXPECT_EQ(after.value(w.source), before.value(w.source));
        for (const QString& name : after.keys())
            EXPECT_FALSE(name.endsWith(QStringLiteral(".tmp"))) << name.toStdString();
    });
}

// A file the user may not write is refused by every writer that would change it, with the
// 「権限」 message, and the folder stays as it was; a rewrite through a copy needs no write
// permission on the old file, so the writers must ask for it. The writers run as a user for
// whom permission bits count.
class ReadOnlyFile : public ::testing::TestWithParam<Writer> {};

TEST_P(ReadOnlyFile, IsRefusedWithThePermissionMessage) {
    const Writer& w = GetParam();
    test::WorkDir dir;
    w.prepare(dir);
    QStringList readOnly;
    for (const QString& name : w.namedFiles)
        if (dir.exists(name))
            readOnly << name;
    if (readOnly.isEmpty())
        GTEST_SKIP() << "the writer only makes new files";
    for (const QString& name : readOnly)
        QFile::setPermissions(QDir(dir.path()).filePath(name), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const auto before = test::snapshot(dir);
    std::string why;
    const auto message = test::runUnprivileged(
        dir,
        [&] {
            const Status s = w.run(dir.path());
            return s.ok() ? std::string("saved") : s.message().toStdString();
        },
        &why);
    if (!message)
        GTEST_SKIP() << why;
    EXPECT_NE(message->find("権限"), std::string::npos) << *message;
    bool named = false;
    for (const QString& name : readOnly)
        named = named || message->find(name.toStdString()) != std::string::npos;
    EXPECT_TRUE(named) << *message;
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

// Every byte a writer puts in place reaches the disk before the writer reports it saved: a copy
// is flushed after its last write and before its rename, the folder after every rename, an
// appended file after its write, and the folder after an append that made a new file. Checked
// on the steps the fault hook sees, so a writer that skips a flush fails here every time.
class FlushesWhatItWrites : public ::testing::TestWithParam<Writer> {};

TEST_P(FlushesWhatItWrites, BeforeItReportsSaved) {
    const Writer& w = GetParam();
    test::WorkDir dir;
    w.prepare(dir);
    const QStringList before = dir.files();
    std::vector<std::pair<FileStep, QString>> steps;
    Status s;
    {
        test::FaultGuard guard([&steps](FileStep step, const QString& path) {
            steps.emplace_back(step, QDir::cleanPath(path));
            return 0;
        });
        s = w.run(dir.path());
    }
    ASSERT_TRUE(s) << s.message().toStdString();
    const auto isCopy = [](const QString& path) {
        const QString name = QFileInfo(path).fileName();
        return name.startsWith(QLatin1Char('.')) && name.endsWith(QStringLiteral(".tmp"));
    };
    const auto flushedBetween = [&steps](const QString& path, size_t from, size_t to) {
        for (size_t i = from; i < to && i < steps.size(); ++i)
            if (steps[i].first == FileStep::Flush && steps[i].second == path)
                return true;
        return false;
    };
    std::map<QString, size_t> lastWrite;
    int renames = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        const auto& [step, path] = steps[i];
        if (step == FileStep::Write)
            lastWrite[path] = i;
        if (step != FileStep::Rename)
            continue;
        ++renames;
        // the copy of this file that was written last, if the rename puts a copy in place
        QString copy;
        for (const auto& [written, at] : lastWrite)
            if (at < i && test::isCopyName(QFileInfo(written).fileName(), QFileInfo(path).fileName()) &&
                (copy.isEmpty() || at > lastWrite[copy]))
                copy = written;
        if (!copy.isEmpty()) {
            EXPECT_TRUE(flushedBetween(copy, lastWrite[copy] + 1, i))
                << "unflushed copy renamed to " << path.toStdString();
        }
        EXPECT_TRUE(flushedBetween(QFileInfo(path).absolutePath(), i + 1, steps.size()))
            << "folder not flushed after the rename to " << path.toStdString();
    }
    for (const auto& [path, at] : lastWrite) {
        if (isCopy(path))
            continue;
        EXPECT_TRUE(flushedBetween(path, at + 1, steps.size())) << "append not flushed: " << path.toStdString();
        if (!before.contains(QFileInfo(path).fileName())) {
            EXPECT_TRUE(flushedBetween(QFileInfo(path).absolutePath(), at + 1, steps.size()))
                << "folder not flushed after the append made " << path.toStdString();
        }
    }
    EXPECT_GT(renames + static_cast<int>(lastWrite.size()), 0) << "the writer wrote nothing";
}

// Another window or program that holds the folder's write lock is waited for by every writer;
// one that keeps it past the wait stops the writer with nothing written. A writer that took no
// lock would write here.
class HeldLock : public ::testing::TestWithParam<Writer> {};

TEST_P(HeldLock, EveryWriterWaitsAndGivesUpWithNothingWritten) {
    const Writer& w = GetParam();
    test::WorkDir dir;
    w.prepare(dir);
    const auto before = test::snapshot(dir);
    const QByteArray lockPath = QFile::encodeName(QDir(dir.path()).filePath(FolderWriteLock::fileName()));
    const int holder = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    const auto limit = FolderWriteLock::waitLimit();
    FolderWriteLock::setWaitLimit(std::chrono::milliseconds(20));
    const Status s = w.run(dir.path());
    FolderWriteLock::setWaitLimit(limit);
    ::close(holder);
    EXPECT_FALSE(s.inPlace());
    EXPECT_TRUE(s.message().contains(QStringLiteral("別のウィンドウかプログラム"))) << s.message().toStdString();
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

std::string writerName(const ::testing::TestParamInfo<Writer>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(AtomicWrite, FaultAtEveryStep, ::testing::ValuesIn(fileWriters()), writerName);
INSTANTIATE_TEST_SUITE_P(PanelWrite, FaultAtEveryStep, ::testing::ValuesIn(panelWriters()), writerName);
INSTANTIATE_TEST_SUITE_P(Conversion, FaultAtEveryStep, ::testing::ValuesIn(conversions()), writerName);
INSTANTIATE_TEST_SUITE_P(Conversion, ConversionFault, ::testing::ValuesIn(conversions()), writerName);
INSTANTIATE_TEST_SUITE_P(AtomicWrite, FlushesWhatItWrites, ::testing::ValuesIn(fileWriters()), writerName);
INSTANTIATE_TEST_SUITE_P(PanelWrite, FlushesWhatItWrites, ::testing::ValuesIn(panelWriters()), writerName);
INSTANTIATE_TEST_SUITE_P(Conversion, FlushesWhatItWrites, ::testing::ValuesIn(conversions()), writerName);
INSTANTIATE_TEST_SUITE_P(AtomicWrite, ReadOnlyFile, ::testing::ValuesIn(fileWriters()), writerName);
INSTANTIATE_TEST_SUITE_P(PanelWrite, ReadOnlyFile, ::testing::ValuesIn(panelWriters()), writerName);
INSTANTIATE_TEST_SUITE_P(Conversion, ReadOnlyFile, ::testing::ValuesIn(conversions()), writerName);
INSTANTIATE_TEST_SUITE_P(AtomicWrite, HeldLock, ::testing::ValuesIn(fileWriters()), writerName);
INSTANTIATE_TEST_SUITE_P(PanelWrite, HeldLock, ::testing::ValuesIn(panelWriters()), writerName);
INSTANTIATE_TEST_SUITE_P(Conversion, HeldLock, ::testing::ValuesIn(conversions()), writerName);

// A failed folder flush comes after the rename: the new content is already in place. The
// writer goes on with its other steps, ends as a clean run would, and reports the flush: the
// change is made (inPlace) but may not have reached the disk.
TEST(AtomicWrite, FolderFlushFailureIsReportedWithTheNewContentInPlace) {
    std::vector<Writer> all = fileWriters();
    for (const auto& more : {panelWriters(), conversions()})
        all.insert(all.end(), more.begin(), more.end());
    for (const Writer& w : all) {
        SCOPED_TRACE(w.name);
        test::WorkDir reference;
        w.prepare(reference);
        ASSERT_TRUE(w.run(reference.path()));
        test::WorkDir dir;
        w.prepare(dir);
        int folderFlushes = 0;
        Status s;
        {
            test::FaultGuard guard([&](FileStep step, const QString& path) {
                // a backup whose folder was not flushed is a backup all the same: it stops nothing
                if (step != FileStep::Flush || !QFileInfo(path).isDir() ||
                    QFileInfo(path).fileName() == backups::folderName())
                    return 0;
                ++folderFlushes;
                return EIO;
            });
            s = w.run(dir.path());
        }
        EXPECT_TRUE(test::sameFiles(test::snapshot(reference), test::snapshot(dir)));
        if (folderFlushes == 0) {
            EXPECT_TRUE(s) << s.message().toStdString();
            continue;
        }
        EXPECT_FALSE(s.ok());
        EXPECT_TRUE(s.inPlace());
        EXPECT_TRUE(s.message().contains(QStringLiteral("ディスクに書き込めませんでした")))
            << s.message().toStdString();
    }
}

TEST(AtomicWrite, HookIsGoneAfterTheGuard) {
    test::WorkDir dir;
    {
        test::FaultGuard guard([](FileStep step, const QString&) { return step == FileStep::Read ? 0 : EIO; });
        EXPECT_FALSE(settings::writeMarker(dir.path(), 1));
    }
    EXPECT_TRUE(settings::writeMarker(dir.path(), 1));
    EXPECT_EQ(dir.files(), QStringList{files::kMarker});
}

TEST(AtomicWrite, AppendFailureOnAMissingFileLeavesNoFile) {
    test::WorkDir dir;
    {
        test::FaultGuard guard([](FileStep step, const QString&) { return step == FileStep::Write ? EIO : 0; });
        EXPECT_FALSE(situations::appendWord(dir.path(), QStringLiteral("散歩後")));
        EXPECT_FALSE(
            datalog::appendRecord(dir.path(), test::record(QStringLiteral("2003/07/25"), QStringLiteral("朝"), 70)));
    }
    EXPECT_TRUE(dir.files().isEmpty()) << dir.files().join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(datalog::readLog(dir.path()).exists);
}

} // namespace
