#include "tests/core/CoreTestHelpers.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/LegacyConversion.h"

#include <gtest/gtest.h>

using namespace puka;
using test::crlfLines;

namespace {

QByteArray legacyLog() {
    return crlfLines({QStringLiteral(R"("2001/01/05","起床後",70.5)"), QStringLiteral(R"("2001/01/05","夕食後",71)"),
                      QStringLiteral(R"("2001/01/06","朝,散歩後",70.25)")});
}

// An older log: field 5 is empty, comments and the spare field are set.
QByteArray olderLog() {
    return crlfLines({QStringLiteral(R"("2002/03/01","起床後",68.5,"がんばる","","")"),
                      QStringLiteral(R"("2002/03/01","夕食後",69,"","","x")"),
                      QStringLiteral(R"("2002/03/02","起床後",68.4,"9:05:03","","")")});
}

} // namespace

TEST(LegacyLog, ThreeLinesAndAnswer25) {
    test::WorkDir dir;
    dir.write(files::kLegacyLog, legacyLog());
    ASSERT_TRUE(legacy::needsLegacyLog(dir.path()));
    legacy::ConversionOutcome result;
    const Status s = legacy::convertLegacyLog(dir.path(), QStringLiteral("25"), &result);
    ASSERT_TRUE(s) << s.message().toStdString();
    EXPECT_TRUE(result.converted);
    EXPECT_EQ(result.records, 3);
    EXPECT_EQ(result.backupName, files::kLegacyLogBackup);
    EXPECT_TRUE(result.oldLogBackupName.isEmpty());
    EXPECT_EQ(dir.read(files::kData), crlfLines({QStringLiteral(R"("2001/01/05","起床後",70.5,"",25,"")"),
                                                 QStringLiteral(R"("2001/01/05","夕食後",71,"",25,"")"),
                                                 QStringLiteral(R"("2001/01/06","朝,散歩後",70.25,"",25,"")")}));
    EXPECT_EQ(dir.read(files::kLegacyLogBackup), legacyLog());
    EXPECT_EQ(dir.files(), (QStringList{files::kData, files::kLegacyLogBackup}));
    // the conversion does not run again, and its log passes the older-log test
    EXPECT_FALSE(legacy::needsLegacyLog(dir.path()));
    EXPECT_FALSE(legacy::needsData(dir.path()));
    const LogContents log = datalog::readLog(dir.path());
    ASSERT_EQ(log.records.size(), 3u);
    EXPECT_EQ(log.records[2],
              test::record(QStringLiteral("2001/01/06"), QStringLiteral("朝,散歩後"), 70.25f, QString(), 25));
}

TEST(LegacyLog, AnswerIsReadByItsLeadingNumber) {
    for (const auto& [answer, fat] : {std::pair{"22.5%", 22.5f}, std::pair{"abc", 0.0f}, std::pair{" 18", 18.0f}}) {
        test::WorkDir dir;
        dir.write(files::kLegacyLog, legacyLog());
        ASSERT_TRUE(legacy::convertLegacyLog(dir.path(), QString::fromUtf8(answer)));
        for (const WeightRecord& r : datalog::readLog(dir.path()).records)
            EXPECT_EQ(r.bodyFat, fat) << answer;
    }
}

TEST(LegacyLog, ExistingLogAndTakenBackupNamesAreKept) {
    test::WorkDir dir;
    dir.copySample();
    const QByteArray sampleLog = dir.read(files::kData);
    dir.write(files::kLegacyLog, legacyLog());
    dir.write(files::kLegacyLogBackup, "older backup A");
    dir.write(files::kDataBackup, "older backup B");
    dir.write(QStringLiteral("データbak2.TXT"), "older backup C");
    legacy::ConversionOutcome result;
    ASSERT_TRUE(legacy::convertLegacyLog(dir.path(), QStringLiteral("25"), &result));
    EXPECT_EQ(result.backupName, QStringLiteral("連続体重bak2.txt"));
    EXPECT_EQ(result.oldLogBackupName, QStringLiteral("データbak3.txt"));
    EXPECT_EQ(dir.read(QStringLiteral("連続体重bak2.txt")), legacyLog());
    EXPECT_EQ(dir.read(QStringLiteral("データbak3.txt")), sampleLog);
    EXPECT_EQ(dir.read(files::kLegacyLogBackup), "older backup A");
    EXPECT_EQ(dir.read(files::kDataBackup), "older backup B");
    EXPECT_EQ(dir.read(QStringLiteral("データbak2.TXT")), "older backup C");
    EXPECT_FALSE(dir.exists(files::kLegacyLog));
    EXPECT_EQ(datalog::readLog(dir.path()).records.size(), 3u);
}

TEST(LegacyLog, EmptyAnswerChangesNothing) {
    test::WorkDir dir;
    dir.copySample();
    dir.write(files::kLegacyLog, legacyLog());
    const auto before = test::snapshot(dir);
    legacy::ConversionOutcome result;
    result.converted = true;
    EXPECT_TRUE(legacy::convertLegacyLog(dir.path(), QString(), &result));
    EXPECT_FALSE(result.converted);
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    EXPECT_TRUE(legacy::needsLegacyLog(dir.path()));
}

TEST(LegacyData, EveryRecordGetsTheAnswerAndKeepsItsComment) {
    test::WorkDir dir;
    dir.write(files::kData, olderLog());
    ASSERT_TRUE(legacy::needsData(dir.path()));
    legacy::ConversionOutcome result;
    const Status s = legacy::convertData(dir.path(), QStringLiteral("23.5"), &result);
    ASSERT_TRUE(s) << s.message().toStdString();
    EXPECT_EQ(result.records, 3);
    EXPECT_EQ(result.backupName, files::kDataBackup);
    EXPECT_EQ(dir.read(files::kData), crlfLines({QStringLiteral(R"("2002/03/01","起床後",68.5,"がんばる",23.5,"")"),
                                                 QStringLiteral(R"("2002/03/01","夕食後",69,"",23.5,"x")"),
                                                 QStringLiteral(R"("2002/03/02","起床後",68.4,"9:05:03",23.5,"")")}));
    EXPECT_EQ(dir.read(files::kDataBackup), olderLog());
    EXPECT_EQ(dir.files(), (QStringList{files::kData, files::kDataBackup}));
    EXPECT_FALSE(legacy::needsData(dir.path()));
}

TEST(LegacyData, UnreadableLinesAreCarriedOver) {
    test::WorkDir dir;
    const QByteArray bad = crlfLines({QStringLiteral(R"("2002/03/01","起床後",abc,"","","")")});
    dir.write(files::kData, olderLog() + bad);
    legacy::ConversionOutcome result;
    ASSERT_TRUE(legacy::convertData(dir.path(), QStringLiteral("20"), &result));
    EXPECT_EQ(result.records, 3);
    EXPECT_EQ(result.keptAsIs, 1);
    EXPECT_TRUE(dir.read(files::kData).endsWith(bad));
}

TEST(LegacyData, TakenBackupNameGivesAFreshOne) {
    test::WorkDir dir;
    dir.write(files::kData, olderLog());
    dir.write(files::kDataBackup, "older backup");
    legacy::ConversionOutcome result;
    ASSERT_TRUE(legacy::convertData(dir.path(), QStringLiteral("20"), &result));
    EXPECT_EQ(result.backupName, QStringLiteral("データbak2.txt"));
    EXPECT_EQ(dir.read(QStringLiteral("データbak2.txt")), olderLog());
    EXPECT_EQ(dir.read(files::kDataBackup), "older backup");
    EXPECT_EQ(dir.files(), (QStringList{files::kData, files::kDataBackup, QStringLiteral("データbak2.txt")}));
}

TEST(LegacyData, EmptyAnswerChangesNothing) {
    test::WorkDir dir;
    dir.write(files::kData, olderLog());
    const auto before = test::snapshot(dir);
    EXPECT_TRUE(legacy::convertData(dir.path(), QString()));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    EXPECT_TRUE(legacy::needsData(dir.path()));
}

TEST(LegacyData, OnlyTheFirstRecordIsTested) {
    test::WorkDir dir;
    EXPECT_FALSE(legacy::needsData(dir.path()));
    dir.write(files::kData, crlfLines({QStringLiteral(R"("2002/03/01","起床後",68.5,"",22,"")"),
                                       QStringLiteral(R"("2002/03/02","起床後",68.4,"","","")")}));
    EXPECT_FALSE(legacy::needsData(dir.path()));
    dir.write(files::kData, "\r\n" + crlfLines({QStringLiteral(R"("2002/03/02","起床後",68.4,"","","")"),
                                                QStringLiteral(R"("2002/03/01","起床後",68.5,"",22,"")")}));
    EXPECT_TRUE(legacy::needsData(dir.path()));
    EXPECT_FALSE(legacy::needsData(test::sampleDir()));
}

// A first line the conversion would carry over unchanged must not ask at every start.
TEST(LegacyData, AFirstLineTheConversionKeepsAsItIsAsksNothing) {
    test::WorkDir dir;
    for (const QString& first : {QStringLiteral(R"("2002/03/01","起床後",重い,"","","")"),
                                 QStringLiteral(R"("2002/03/01","起床後",68.5,"","")"),
                                 QStringLiteral(R"("2002/03/01",起"床後,68.5,"","","")")}) {
        dir.write(files::kData, crlfLines({first, QStringLiteral(R"("2002/03/02","起床後",68.4,"","","")")}));
        EXPECT_FALSE(legacy::needsData(dir.path())) << first.toStdString();
    }
}

TEST(LegacyNames, FreshNameCountsUpFromTwo) {
    test::WorkDir dir;
    EXPECT_EQ(legacy::freshName(dir.path(), files::kDataBackup), files::kDataBackup);
    dir.write(QStringLiteral("データbak.TXT"), "x");
    EXPECT_EQ(legacy::freshName(dir.path(), files::kDataBackup), QStringLiteral("データbak2.txt"));
    dir.write(QStringLiteral("データbak2.txt"), "x");
    EXPECT_EQ(legacy::freshName(dir.path(), files::kDataBackup), QStringLiteral("データbak3.txt"));
}
