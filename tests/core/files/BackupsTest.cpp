// The automatic backups: one before the first change of a day, one before every rename, kept
// 14 newest plus the newest of each of the last 12 months; a failed backup stops the change;
// a restore puts a backup back after backing up the log it replaces.
#include "tests/core/CoreTestHelpers.h"

#include "core/base/Clock.h"
#include "core/edits/SituationEditing.h"
#include "core/files/Backups.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <sys/stat.h>

using namespace puka;
using test::crlfLines;

namespace {

void setClock(const QDate& day, const QTime& time = QTime(8, 0)) {
    clock::setFixed(QDateTime(day, time));
}

struct ClockReset {
    ~ClockReset() { clock::setFixed(std::nullopt); }
};

QString backupFolder(const test::WorkDir& dir) {
    return QDir(dir.path()).filePath(backups::folderName());
}

QStringList backupNames(const test::WorkDir& dir) {
    return QDir(backupFolder(dir)).entryList(QDir::Files, QDir::Name);
}

void ownLog(const test::WorkDir& dir) {
    dir.write(files::kData, crlfLines({QStringLiteral(R"("2025/01/01","はじめの一歩",70,"",28,"")")}));
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

WeightRecord dayRecord(const QDate& day) {
    return test::record(day.toString(QStringLiteral("yyyy/MM/dd")), QStringLiteral("起床後"), 69.5f);
}

} // namespace

TEST(Backups, ADailyBackupOverASimulatedYearKeepsTheNewestFourteenAndOneAMonth) {
    const ClockReset reset;
    test::WorkDir dir;
    ownLog(dir);
    // a file of the user's in the backup folder is never removed
    ASSERT_TRUE(QDir(dir.path()).mkdir(backups::folderName()));
    QFile own(QDir(backupFolder(dir)).filePath(QStringLiteral("メモ.txt")));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    // a year of backups need not wait for the disk: the folder flushes are skipped (a backup
    // whose folder was not flushed is a backup all the same)
    const test::FaultGuard noFolderFlush([](FileStep step, const QString& path) {
        return step == FileStep::Flush && QFileInfo(path).isDir() ? EINVAL : 0;
    });
    const QDate first(2025, 1, 1);
    std::vector<QDate> days;
    for (QDate day = first; day <= QDate(2026, 2, 4); day = day.addDays(1)) {
        // two changes a day: only the first is backed up, with the log as the day found it
        setClock(day);
        const QByteArray found = dir.read(files::kData);
        ASSERT_TRUE(backups::backupBeforeChange(dir.path(), backups::Reason::FirstChangeOfDay));
        dir.write(files::kData, found + test::sjis(datalog::formatLine(dayRecord(day))) + "\r\n");
        setClock(day, QTime(21, 30));
        ASSERT_TRUE(backups::backupBeforeChange(dir.path(), backups::Reason::FirstChangeOfDay));
        days.push_back(day);
        const QString name = QStringLiteral("データ_%1_080000.txt").arg(day.toString(QStringLiteral("yyyyMMdd")));
        ASSERT_EQ(readFile(QDir(backupFolder(dir)).filePath(name)), found) << name.toStdString();
        ASSERT_LE(backupNames(dir).size(), 1 + 14 + 12);
    }

    // kept: the fourteen newest days and the newest day of each of the last twelve months
    std::set<QDate> kept(days.end() - 14, days.end());
    const QDate today = days.back();
    for (int back = 0; back < 12; ++back) {
        const QDate month = QDate(today.year(), today.month(), 1).addMonths(-back);
        kept.insert(std::min(month.addMonths(1).addDays(-1), today));
    }
    QStringList expected{QStringLiteral("メモ.txt")};
    for (const QDate& day : kept)
        expected << QStringLiteral("データ_%1_080000.txt").arg(day.toString(QStringLiteral("yyyyMMdd")));
    expected.sort();
    EXPECT_EQ(backupNames(dir), expected);
    EXPECT_EQ(dir.files(), QStringList{files::kData});
}

TEST(Backups, EveryRenameIsBackedUpAndAFailedBackupStopsTheChange) {
    const ClockReset reset;
    test::WorkDir dir;
    ownLog(dir);
    setClock(QDate(2026, 12, 7), QTime(9, 5, 3));
    ASSERT_TRUE(editing::renameWord(dir.path(), QStringLiteral("はじめの一歩"), QStringLiteral("スタート")));
    ASSERT_TRUE(editing::renameWord(dir.path(), QStringLiteral("スタート"), QStringLiteral("はじめ")));
    // the same second: told apart by a number
    EXPECT_EQ(backupNames(dir), (QStringList{QStringLiteral("データ_20261207_090503.txt"),
                                             QStringLiteral("データ_20261207_090503_2.txt")}));

    // a backup folder that cannot be made stops the next day's first change, with the reason
    setClock(QDate(2026, 12, 8));
    ASSERT_TRUE(QDir(backupFolder(dir)).removeRecursively());
    dir.write(backups::folderName(), "a file in the way");
    const auto before = test::snapshot(dir);
    const Status s = datalog::appendRecord(dir.path(), dayRecord(QDate(2026, 12, 8)));
    EXPECT_FALSE(s.ok());
    EXPECT_EQ(s.message(),
              QStringLiteral("「データ.txt」のバックアップを作れなかったため、変更を取りやめました。\r\n"
                             "フォルダ「バックアップ」を作れませんでした。\r\n同じ名前のファイルがあります。"));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

TEST(Backups, ARestorePutsTheBackupBackAndKeepsTheLogItReplaces) {
    const ClockReset reset;
    test::WorkDir dir;
    ownLog(dir);
    ::chmod(QFile::encodeName(QDir(dir.path()).filePath(files::kData)).constData(), 0600);
    setClock(QDate(2026, 12, 6));
    ASSERT_TRUE(datalog::appendRecord(dir.path(), dayRecord(QDate(2026, 12, 6))));
    const QByteArray dayOne = dir.read(files::kData);
    setClock(QDate(2026, 12, 7));
    ASSERT_TRUE(datalog::appendRecord(dir.path(), dayRecord(QDate(2026, 12, 7))));
    const QByteArray now = dir.read(files::kData);

    const auto listed = backups::listBackups(dir.path());
    ASSERT_TRUE(listed.ok());
    const auto& list = *listed;
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, QStringLiteral("データ_20261207_080000.txt"));
    EXPECT_EQ(list[0].records, 2);
    EXPECT_EQ(list[0].last, dayRecord(QDate(2026, 12, 6)));
    EXPECT_EQ(list[1].records, 1);
    EXPECT_EQ(QFileInfo(QDir(backupFolder(dir)).filePath(list[0].name)).permissions() &
                  (QFile::ReadGroup | QFile::ReadOther),
              QFile::Permissions());

    setClock(QDate(2026, 12, 7), QTime(12, 0));
    backups::RestoreResult result;
    ASSERT_TRUE(backups::restoreBackup(dir.path(), list[0].name, &result));
    EXPECT_EQ(dir.read(files::kData), dayOne);
    EXPECT_EQ(result.savedAs, QStringLiteral("データ_20261207_120000.txt"));
    EXPECT_EQ(
        backups::restoredNotice(result),
        QStringLiteral("2026/12/07 08:00:00 のバックアップ（2 件）に戻しました。\r\n"
                       "戻す前の記録は「バックアップ」フォルダの「データ_20261207_120000.txt」に残してあります。"));
    // and back again
    ASSERT_TRUE(backups::restoreBackup(dir.path(), result.savedAs));
    EXPECT_EQ(dir.read(files::kData), now);
}

TEST(Backups, WhatIsNoBackupOrNoLogIsNeverPutBack) {
    const ClockReset reset;
    test::WorkDir dir;
    ownLog(dir);
    setClock(QDate(2026, 12, 7));
    ASSERT_TRUE(backups::backupBeforeChange(dir.path(), backups::Reason::Import));
    QFile garbage(QDir(backupFolder(dir)).filePath(QStringLiteral("データ_20261201_070000.txt")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a log\r\n");
    garbage.close();
    const auto before = test::snapshot(dir);
    for (const QString& name :
         {QStringLiteral("データ_20261201_070000.txt"), QStringLiteral("データ_20261130_070000.txt"),
          QStringLiteral("../データ.txt"), QStringLiteral("メモ.txt")}) {
        const Status s = backups::restoreBackup(dir.path(), name);
        EXPECT_FALSE(s.ok()) << name.toStdString();
        EXPECT_TRUE(s.message().contains(name)) << s.message().toStdString();
    }
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    const auto list = *backups::listBackups(dir.path());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].problem.isEmpty());
    EXPECT_FALSE(list[1].problem.isEmpty());
}
