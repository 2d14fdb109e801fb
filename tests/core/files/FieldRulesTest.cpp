#include "tests/core/CoreTestHelpers.h"

#include "core/files/FileNames.h"
#include "core/files/TextLines.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace puka;

namespace {

QStringList fields(const QString& line) {
    const auto f = splitFields(line);
    EXPECT_TRUE(f.has_value()) << line.toStdString();
    return f.value_or(QStringList{QStringLiteral("<torn>")});
}

} // namespace

TEST(FieldRules, QuotedFieldKeepsCommasAndBlanks) {
    EXPECT_EQ(fields(QStringLiteral("\"朝,夜\",\" 散歩 \"")),
              (QStringList{QStringLiteral("朝,夜"), QStringLiteral(" 散歩 ")}));
    EXPECT_EQ(fields(QStringLiteral("\"\",\"\"")), (QStringList{QString(), QString()}));
}

TEST(FieldRules, BlanksBeforeFieldsAreSkippedAndTrailingBlanksOfPlainFieldsDropped) {
    EXPECT_EQ(fields(QStringLiteral("  \"a\",   b  ,\t c\t")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(fields(QStringLiteral(" 1 ")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(fields(QStringLiteral("起床 後  ")), QStringList{QStringLiteral("起床 後")});
}

TEST(FieldRules, TextAfterAClosingQuoteIsSkipped) {
    EXPECT_EQ(fields(QStringLiteral("\"a\"xyz,\"b\" ,c")),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
}

TEST(FieldRules, PlainFieldsEndAtEveryComma) {
    EXPECT_EQ(fields(QStringLiteral("朝,夜")), (QStringList{QStringLiteral("朝"), QStringLiteral("夜")}));
    EXPECT_EQ(fields(QStringLiteral("a,,b")), (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
}

TEST(FieldRules, BlankLineHasNoFields) {
    EXPECT_TRUE(fields(QString()).isEmpty());
    EXPECT_TRUE(fields(QStringLiteral("  \t ")).isEmpty());
}

TEST(FieldRules, UnterminatedQuoteIsATornLine) {
    EXPECT_FALSE(splitFields(QStringLiteral("\"2003/07/25\",\"朝")).has_value());
    EXPECT_FALSE(splitFields(QStringLiteral("\"")).has_value());
}

TEST(FieldRules, LinesSplitAtEveryKindOfLineEnd) {
    bool terminated = false;
    EXPECT_EQ(splitLines("a\r\nb\nc\rd", &terminated), (std::vector<QByteArray>{"a", "b", "c", "d"}));
    EXPECT_FALSE(terminated);
    EXPECT_EQ(splitLines("a\r\n\r\nb\r\n", &terminated), (std::vector<QByteArray>{"a", "", "b"}));
    EXPECT_TRUE(terminated);
    EXPECT_TRUE(splitLines("", &terminated).empty());
    EXPECT_TRUE(terminated);
    EXPECT_EQ(splitLines("\r\r\n"), (std::vector<QByteArray>{"", ""}));
}

TEST(FieldRules, DecodingKeepsGoodLinesAndCountsBadOnes) {
    const DecodedLines d =
        decodeLines(test::sjis(QStringLiteral("朝\r\n")) + "\x82\r\n" + test::sjis(QStringLiteral("夜")));
    EXPECT_EQ(d.lines, (QStringList{QStringLiteral("朝"), QStringLiteral("夜")}));
    EXPECT_EQ(d.undecodable, 1);
}

TEST(FieldRules, TextFieldsRefuseQuotesLineBreaksAndUnencodableCharacters) {
    EXPECT_TRUE(textFieldProblem(QStringLiteral("朝食後, ～①№髙"), QStringLiteral("状況")).ok());
    for (const QString& bad : {QStringLiteral("a\"b"), QStringLiteral("a\nb"), QStringLiteral("a\rb")}) {
        const QString problem = textFieldProblem(bad, QStringLiteral("一言日記")).message();
        EXPECT_TRUE(problem.contains(QStringLiteral("一言日記"))) << problem.toStdString();
    }
    EXPECT_TRUE(
        textFieldProblem(QStringLiteral("ok😀"), QStringLiteral("状況")).message().contains(QStringLiteral("😀")));
    // the notes memo is written whole: line breaks and quotes are fine there, emoji is not
    EXPECT_TRUE(freeTextProblem(QStringLiteral("a\r\n\"b\"")).ok());
    EXPECT_TRUE(freeTextProblem(QStringLiteral("a😀")).message().contains(QStringLiteral("😀")));
}

TEST(FileNames, ExtensionMatchesInAnyCase) {
    test::WorkDir dir;
    dir.write(QStringLiteral("設定.txt"), "x");
    dir.write(QStringLiteral("データ.TXT"), "x");
    EXPECT_EQ(QFileInfo(resolveFile(dir.path(), QStringLiteral("設定.TXT"))).fileName(), QStringLiteral("設定.txt"));
    EXPECT_EQ(QFileInfo(resolveFile(dir.path(), QStringLiteral("データ.txt"))).fileName(),
              QStringLiteral("データ.TXT"));
    EXPECT_TRUE(fileExists(dir.path(), QStringLiteral("設定.Txt")));
    // an absent file keeps the name given, so a writer creates it under that name
    EXPECT_EQ(QFileInfo(resolveFile(dir.path(), QStringLiteral("マーカー.TXT"))).fileName(),
              QStringLiteral("マーカー.TXT"));
    EXPECT_FALSE(fileExists(dir.path(), QStringLiteral("マーカー.TXT")));
    // only the extension is compared without case
    EXPECT_FALSE(fileExists(dir.path(), QStringLiteral("設定x.txt")));
}
