#include "tests/core/CoreTestHelpers.h"
#include "tests/core/edits/SituationEditingFaults.h"

#include "core/edits/DiarySave.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"
#include "core/files/TextLines.h"

#include <gtest/gtest.h>

using namespace puka;
using test::crlfLines;

namespace {

// Readable records around a line that is no measurement; the spare fields and the number
// forms are what the save must normalise.
const QStringList kLog = {
    QStringLiteral(R"("2003/07/25","はじめの一歩",75.50,"",22.3,"予備")"),
    QStringLiteral(R"("2003/07/26","起床後",75.1,"がんばる",22.6,"")"),
    QStringLiteral(R"("2003/07/26","朝食後",abc,"",22.2,"")"),
    QStringLiteral(R"("2003/07/27","夕食後,外食",76,"言い訳",22.4,"x")"),
};

void prepareLog(const test::WorkDir& dir) {
    dir.write(files::kData, crlfLines(kLog));
}

} // namespace

TEST(DiarySave, ChangesOnlyTheChosenCommentKeepsOtherLinesAndEmptiesSpare) {
    test::WorkDir dir;
    prepareLog(dir);
    const auto shown = datalog::readLog(dir.path()).records;
    ASSERT_EQ(shown.size(), 3u);
    ASSERT_TRUE(diary::saveComment(dir.path(), shown, 3, QStringLiteral("外食, でも満足")));

    EXPECT_EQ(dir.read(files::kData), crlfLines({
                                          QStringLiteral(R"("2003/07/25","はじめの一歩",75.5,"",22.3,"")"),
                                          QStringLiteral(R"("2003/07/26","起床後",75.1,"がんばる",22.6,"")"),
                                          kLog.at(2),
                                          QStringLiteral(R"("2003/07/27","夕食後,外食",76,"外食, でも満足",22.4,"")"),
                                      }));
    EXPECT_EQ(dir.files(), QStringList{files::kData});

    // the grid is not rebuilt after a save: a second save from the same rows still fits
    ASSERT_TRUE(diary::saveComment(dir.path(), shown, 1, QString()));
    EXPECT_EQ(datalog::readLog(dir.path()).records.at(2).comment, QStringLiteral("外食, でも満足"));
}

TEST(DiarySave, RefusesBeforeWritingAnything) {
    test::WorkDir dir;
    prepareLog(dir);
    const auto shown = datalog::readLog(dir.path()).records;
    const auto before = test::snapshot(dir);
    for (const QString& bad : {QStringLiteral("\"本当\""), QStringLiteral("改行\r\nあり"), QStringLiteral("絵😀")}) {
        const Status s = diary::saveComment(dir.path(), shown, 1, bad);
        EXPECT_FALSE(s.ok());
        EXPECT_EQ(s.message(), textFieldProblem(bad, QStringLiteral("一言日記")).message());
    }
    EXPECT_FALSE(diary::saveComment(dir.path(), shown, 0, QStringLiteral("行なし")));
    EXPECT_FALSE(diary::saveComment(dir.path(), shown, 4, QStringLiteral("行なし")));

    // a grid older than the log must not put the comment on another measurement
    auto stale = shown;
    stale.erase(stale.begin());
    EXPECT_FALSE(diary::saveComment(dir.path(), stale, 1, QStringLiteral("古い表示")));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

TEST(DiarySave, FaultLeavesTheLogWhole) {
    test::expectWholeAfterEveryFault([](const test::WorkDir& dir) { dir.copySample(); },
                                     [](const QString& d) {
                                         return diary::saveComment(d, datalog::readLog(d).records, 2,
                                                                   QStringLiteral("書き直した"));
                                     },
                                     {files::kData}, 4);
}

TEST(DiarySaveMemo, RoundTripKeepsEmptyLinesAndAddsNone) {
    test::WorkDir dir;
    for (const QString& memo : {QStringLiteral("一行目\r\n\r\n三行目"), QStringLiteral("末尾に空行\r\n"), QString()}) {
        ASSERT_TRUE(settings::writeNotes(dir.path(), memo));
        const QByteArray once = dir.read(files::kNotes);
        EXPECT_EQ(settings::readNotes(dir.path()).value, memo);
        ASSERT_TRUE(settings::writeNotes(dir.path(), memo));
        EXPECT_EQ(dir.read(files::kNotes), once);
    }
    EXPECT_EQ(dir.read(files::kNotes), QByteArray("\r\n"));
}

TEST(DiarySaveGuidance, LinesJoinedByCrLfWithTheirEmptyLines) {
    const QStringList lines = diary::guidanceText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 10);
    EXPECT_TRUE(lines.at(1).isEmpty() && lines.at(5).isEmpty() && lines.at(8).isEmpty() && lines.at(9).isEmpty());
    EXPECT_TRUE(lines.at(7).startsWith(QStringLiteral("ご自身の")));
}
