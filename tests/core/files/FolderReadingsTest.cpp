// The window's readings of the data files: kept while a file is the one they were read from,
// read again after any change, whoever made it; the changes of other programs listed once.

#include "tests/core/CoreTestHelpers.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FolderReadings.h"
#include "core/files/Settings.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace puka;

namespace {

const QString kTwoRecords = QStringLiteral("\"2026/12/05\",\"起床後\",60.2,\"\",25,\"\"\r\n"
                                           "\"2026/12/06\",\"就寝前\",60.7,\"\",25.1,\"\"\r\n");

QString pathOf(const test::WorkDir& dir, const QString& name) {
    return QDir(dir.path()).filePath(name);
}

// Gives the file the modification time it had, to the nanosecond: a change must show
// although the time and the size are those of before.
void putBackTime(const QString& path, const struct stat& before) {
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

} // namespace

TEST(FolderReadings, AReadingIsKeptUntilTheFileChangesInAnyWay) {
    test::WorkDir dir;
    dir.writeText(files::kData, kTwoRecords);
    FolderReadings readings(dir.path());
    const auto first = readings.log();
    EXPECT_EQ(readings.log(), first);
    EXPECT_EQ(readings.readCount(files::kData), 1);

    // rewritten in place, same size and same modification time
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(pathOf(dir, files::kData)).constData(), &before), 0);
    {
        QFile f(pathOf(dir, files::kData));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        // the last body fat, 25.1, becomes 25.9
        f.seek(f.size() - 6);
        f.write("9");
    }
    putBackTime(pathOf(dir, files::kData), before);
    const auto second = readings.log();
    ASSERT_NE(second, first);
    EXPECT_EQ(second->records.size(), 2u);
    EXPECT_FLOAT_EQ(second->records[1].bodyFat, 25.9f);

    // replaced through a rename by a file of the same size and time
    dir.write(QStringLiteral("copy.tmp"), dir.read(files::kData).replace("60.7", "61.7"));
    putBackTime(pathOf(dir, QStringLiteral("copy.tmp")), before);
    ASSERT_EQ(::rename(QFile::encodeName(pathOf(dir, QStringLiteral("copy.tmp"))).constData(),
                       QFile::encodeName(pathOf(dir, files::kData)).constData()),
              0);
    const auto third = readings.log();
    ASSERT_NE(third, second);
    EXPECT_FLOAT_EQ(third->records[1].weight, 61.7f);

    // deleted, and made anew
    ASSERT_TRUE(QFile::remove(pathOf(dir, files::kData)));
    EXPECT_FALSE(readings.log()->exists);
    dir.writeText(files::kData, kTwoRecords);
    EXPECT_EQ(readings.log()->records.size(), 2u);
    EXPECT_EQ(readings.readCount(files::kData), 5);
}

TEST(FolderReadings, OtherProgramsChangesAreListedOnceAndTheProgramsOwnNot) {
    test::WorkDir dir;
    dir.writeText(files::kData, kTwoRecords);
    ASSERT_TRUE(settings::writeMovingAverage(dir.path(), QStringLiteral("7")));
    FolderReadings readings(dir.path());
    EXPECT_EQ(readings.read(files::kMovingAverage, &settings::readMovingAverage)->value, QStringLiteral("7"));
    EXPECT_TRUE(readings.outsideChanges().isEmpty());

    // another program: listed once, whether or not a panel read the file meanwhile
    ASSERT_TRUE(settings::writeMovingAverage(dir.path(), QStringLiteral("12")));
    ASSERT_TRUE(settings::writeProfile(dir.path(), Profile{QStringLiteral("花子"), 160.0f, 50.0f}));
    EXPECT_EQ(readings.read(files::kMovingAverage, &settings::readMovingAverage)->value, QStringLiteral("12"));
    EXPECT_EQ(readings.outsideChanges(), (QStringList{files::kProfile, files::kMovingAverage}));
    EXPECT_TRUE(readings.outsideChanges().isEmpty());

    // this program, which says so: not listed, and read again when next asked for
    ASSERT_TRUE(
        datalog::appendRecord(dir.path(), test::record(QStringLiteral("2026/12/07"), QStringLiteral("朝"), 60)));
    readings.noteWritten(files::kData);
    EXPECT_TRUE(readings.outsideChanges().isEmpty());
    EXPECT_EQ(readings.log()->records.size(), 3u);

    // a file that appears and one that goes
    ASSERT_TRUE(QFile::remove(pathOf(dir, files::kData)));
    ASSERT_TRUE(settings::writeNotes(dir.path(), QStringLiteral("メモ")));
    EXPECT_EQ(readings.outsideChanges(), (QStringList{files::kData, files::kNotes}));
}
