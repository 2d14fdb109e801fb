// Inputs the fuzz targets found, kept as ordinary tests (each input is also in fuzz/corpus).

#include "tests/core/CoreTestHelpers.h"

#include "core/files/Cp932.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/LegacyConversion.h"
#include "core/files/Settings.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace puka;
using test::crlfLines;

// A height beyond a 32-bit value read as infinity, which the profile writer then saved as "inf"
// and the next start could not read.
TEST(FuzzRegression, ProfileNumberBeyondFloatIsUnreadableNotInfinite) {
    test::WorkDir dir;
    dir.write(files::kProfile, crlfLines({QStringLiteral(R"("氏名","a")"), QStringLiteral(R"("身長",1e39)"),
                                          QStringLiteral(R"("目標体重",340282350000000000000000000000000000000)")}));
    const auto p = settings::readProfile(dir.path());
    EXPECT_EQ(p.value.height, 0.0f);
    EXPECT_TRUE(std::isfinite(p.value.targetWeight));
    EXPECT_FALSE(p.problem.isEmpty());
    ASSERT_TRUE(settings::writeProfile(dir.path(), p.value));
    const auto back = settings::readProfile(dir.path());
    EXPECT_TRUE(back.problem.isEmpty()) << back.problem.toStdString();
    EXPECT_EQ(back.value.height, p.value.height);
}

// A plain field holding a double quote lost the quote when the older log was rewritten quoted.
TEST(FuzzRegression, OlderLogLineWithAQuoteInATextIsCarriedOverUnchanged) {
    test::WorkDir dir;
    const QString odd = QStringLiteral(R"("2003/07/26",#朝食後",75.6,"","","")");
    dir.write(files::kData, crlfLines({QStringLiteral(R"("2003/07/25","起床後",75.5,"","","")"), odd}));
    legacy::ConversionOutcome r;
    ASSERT_TRUE(legacy::convertData(dir.path(), QStringLiteral("20"), &r));
    EXPECT_EQ(r.records, 1);
    EXPECT_EQ(r.keptAsIs, 1);
    EXPECT_EQ(dir.read(files::kData), crlfLines({QStringLiteral(R"("2003/07/25","起床後",75.5,"",20,"")"), odd}));
    const LogContents log = datalog::readLog(dir.path());
    ASSERT_EQ(log.records.size(), 2u);
    EXPECT_EQ(log.records[1].situation, QStringLiteral(R"(#朝食後")"));
}

// A body-fat answer no record can hold turned every converted record into a skipped line.
TEST(FuzzRegression, BodyFatAnswerTooLargeForARecordChangesNothing) {
    const QString answer(50, QLatin1Char('9'));
    {
        test::WorkDir dir;
        dir.write(files::kData, crlfLines({QStringLiteral(R"("2003/07/25","起床後",75.5,"","","")")}));
        const auto before = test::snapshot(dir);
        const Status s = legacy::convertData(dir.path(), answer);
        EXPECT_FALSE(s);
        EXPECT_FALSE(s.message().isEmpty());
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    }
    {
        test::WorkDir dir;
        dir.write(files::kLegacyLog, crlfLines({QStringLiteral(R"("2003/07/25","起床後",75.5)")}));
        const auto before = test::snapshot(dir);
        EXPECT_FALSE(legacy::convertLegacyLog(dir.path(), answer));
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    }
}

// Two half-width katakana in code page 932 form a valid two-byte UTF-8 character: a step or a
// name our own writer saved was taken for a UTF-8 file and read back as other characters.
TEST(FuzzRegression, HalfWidthKatakanaWrittenByUsIsNotTakenForUtf8) {
    test::WorkDir dir;
    const Steps steps{QStringLiteral("ﾗｯ"), QStringLiteral("ﾃｽ")};
    ASSERT_TRUE(settings::writeSteps(dir.path(), steps));
    EXPECT_FALSE(cp932::looksLikeUtf8(dir.read(files::kSteps)));
    const auto back = settings::readSteps(dir.path());
    EXPECT_EQ(back.value.weightStep, steps.weightStep);
    EXPECT_EQ(back.value.fatStep, steps.fatStep);
    Profile p;
    p.userName = QStringLiteral("ﾃｽﾄ");
    ASSERT_TRUE(settings::writeProfile(dir.path(), p));
    EXPECT_EQ(settings::readProfile(dir.path()).value.userName, p.userName);
}

// A rare kanji whose second byte lies in 80-BF, followed by a half-width katakana, is also a
// valid three-byte UTF-8 character: such a name must still read back and be saved again.
TEST(FuzzRegression, KanjiAndKatakanaValidInBothEncodingsStayOurs) {
    const QString name = QStringLiteral("燿ｱ");
    const auto bytes = cp932::encode(name);
    ASSERT_TRUE(bytes.ok());
    ASSERT_TRUE(QString::fromUtf8(*bytes).toUtf8() == *bytes); // valid UTF-8 as well
    EXPECT_FALSE(cp932::looksLikeUtf8(*bytes));

    test::WorkDir dir;
    Profile p;
    p.userName = name;
    ASSERT_TRUE(settings::writeProfile(dir.path(), p));
    EXPECT_FALSE(cp932::looksLikeUtf8(dir.read(files::kProfile)));
    EXPECT_EQ(settings::readProfile(dir.path()).value.userName, name);
    EXPECT_TRUE(settings::writeProfile(dir.path(), p)); // not refused as a UTF-8 file
}

// A moving-average text of blanks only (a vertical tab, say) was written, and then read back as
// an unreadable file: it is refused before anything is written.
TEST(FuzzRegression, BlankMovingAverageIsRefusedAndTheFileKept) {
    test::WorkDir dir;
    dir.write(files::kMovingAverage, "\x0B\t,\t,\t");
    const auto first = settings::readMovingAverage(dir.path());
    const auto before = test::snapshot(dir);
    EXPECT_FALSE(settings::writeMovingAverage(dir.path(), first.value));
    EXPECT_FALSE(settings::writeMovingAverage(dir.path(), QStringLiteral(" ")));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    ASSERT_TRUE(settings::writeMovingAverage(dir.path(), QStringLiteral("7")));
    EXPECT_EQ(settings::readMovingAverage(dir.path()).value, QStringLiteral("7"));
}
