#include "tests/core/CoreTestHelpers.h"

#include "core/files/FileNames.h"
#include "core/files/SituationList.h"

#include <gtest/gtest.h>

using namespace puka;
using test::crlfLines;

namespace {

const QString kList = files::kSituations;

QStringList words(const QString& dir) {
    const situations::List list = situations::readSituationList(dir);
    EXPECT_TRUE(list.problem.isEmpty()) << list.problem.toStdString();
    return list.words;
}

} // namespace

TEST(SituationRead, MissingAndEmptyFilesGiveNoWords) {
    test::WorkDir dir;
    situations::List list = situations::readSituationList(dir.path());
    EXPECT_TRUE(list.missing);
    EXPECT_TRUE(list.words.isEmpty());
    EXPECT_TRUE(list.problem.isEmpty());
    dir.write(kList, QByteArray());
    list = situations::readSituationList(dir.path());
    EXPECT_FALSE(list.missing);
    EXPECT_TRUE(list.words.isEmpty());
    EXPECT_TRUE(list.problem.isEmpty());
}

TEST(SituationRead, UnreadableLinesAreReportedAndTheRestKept) {
    test::WorkDir dir;
    dir.write(kList, crlfLines({QStringLiteral("起床後")}) + "\x82\r\n" + crlfLines({QStringLiteral("\"閉じない")}) +
                         crlfLines({QStringLiteral("就寝前")}));
    const situations::List list = situations::readSituationList(dir.path());
    EXPECT_EQ(list.words, (QStringList{QStringLiteral("起床後"), QStringLiteral("就寝前")}));
    EXPECT_EQ(list.problem, QStringLiteral("「状況リスト.txt」に読み取れない行が 2 行ありました。"));
}

TEST(SituationRead, PlainLinesSplitAtCommasQuotedLinesKeepThem) {
    test::WorkDir dir;
    dir.write(kList, crlfLines({QStringLiteral("朝,夜"), QStringLiteral("\"朝,夜\""), QString(),
                                QStringLiteral("  昼食後  "), QStringLiteral("\"  昼食後  \"")}));
    EXPECT_EQ(words(dir.path()), (QStringList{QStringLiteral("朝"), QStringLiteral("夜"), QStringLiteral("朝,夜"),
                                              QStringLiteral("昼食後"), QStringLiteral("  昼食後  ")}));
}

TEST(SituationRead, SampleListInFileOrder) {
    const QStringList w = words(test::sampleDir());
    ASSERT_GE(w.size(), 5);
    EXPECT_EQ(w.mid(0, 5), (QStringList{QStringLiteral("起床後"), QStringLiteral("朝食後"), QStringLiteral("昼食後"),
                                        QStringLiteral("間食後"), QStringLiteral("夕食前")}));
}

TEST(SituationAdd, AppendsAQuotedLastLineEvenForADuplicate) {
    test::WorkDir dir;
    dir.copySample();
    const QByteArray before = dir.read(kList);
    const QStringList old = words(dir.path());
    ASSERT_TRUE(situations::appendWord(dir.path(), QStringLiteral("散歩, 後")));
    ASSERT_TRUE(situations::appendWord(dir.path(), old.first()));
    EXPECT_EQ(dir.read(kList),
              before + crlfLines({QStringLiteral("\"散歩, 後\""), QLatin1Char('"') + old.first() + QLatin1Char('"')}));
    EXPECT_EQ(words(dir.path()), old + QStringList({QStringLiteral("散歩, 後"), old.first()}));
}

TEST(SituationAdd, OntoAFileWithoutFinalLineEndStartsANewLine) {
    test::WorkDir dir;
    dir.write(kList, test::sjis(QStringLiteral("起床後")));
    ASSERT_TRUE(situations::appendWord(dir.path(), QStringLiteral("就寝前")));
    EXPECT_EQ(dir.read(kList), crlfLines({QStringLiteral("起床後"), QStringLiteral("\"就寝前\"")}));
}

TEST(SituationWrite, PlainAndQuotedFormsWithTheirFileNames) {
    test::WorkDir dir;
    dir.write(QStringLiteral("状況リスト.TXT"), "old\r\n");
    const QStringList list = {QStringLiteral("起床後"), QStringLiteral("夕食後")};
    ASSERT_TRUE(situations::writePlain(dir.path(), list));
    EXPECT_EQ(dir.read(QStringLiteral("状況リスト.TXT")), crlfLines(list));
    ASSERT_TRUE(situations::writeQuoted(dir.path(), {QStringLiteral("起きてすぐ"), QStringLiteral("朝,夜")}));
    EXPECT_EQ(dir.read(QStringLiteral("状況リスト.TXT")),
              crlfLines({QStringLiteral("\"起きてすぐ\""), QStringLiteral("\"朝,夜\"")}));
    EXPECT_EQ(dir.files(), QStringList{QStringLiteral("状況リスト.TXT")});
    EXPECT_EQ(words(dir.path()), (QStringList{QStringLiteral("起きてすぐ"), QStringLiteral("朝,夜")}));
    // deleting every word leaves an empty file
    ASSERT_TRUE(situations::writePlain(dir.path(), {}));
    EXPECT_EQ(dir.read(QStringLiteral("状況リスト.TXT")), QByteArray());
}

TEST(SituationWrite, RefusedWordsLeaveTheFileUnchanged) {
    test::WorkDir dir;
    dir.copySample();
    const auto before = test::snapshot(dir);
    const Status add = situations::appendWord(dir.path(), QStringLiteral("\"朝\""));
    const Status plain = situations::writePlain(dir.path(), {QStringLiteral("朝"), QStringLiteral("🏃")});
    const Status quoted = situations::writeQuoted(dir.path(), {QStringLiteral("朝\n夜")});
    for (const Status* s : {&add, &plain, &quoted}) {
        EXPECT_FALSE(s->ok());
        EXPECT_TRUE(s->message().contains(QStringLiteral("状況")) || s->message().contains(QStringLiteral("🏃")))
            << s->message().toStdString();
    }
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}
