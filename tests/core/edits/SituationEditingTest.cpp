#include "tests/core/CoreTestHelpers.h"
#include "tests/core/edits/SituationEditingFaults.h"

#include "core/edits/SituationEditing.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/SituationList.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace puka;
using test::crlfLines;

namespace {

const QStringList kAbcd = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")};

QStringList listed(const QString& dir) {
    return situations::readSituationList(dir).words;
}

// Records whose situations merely resemble the renamed word, an unreadable line, and spare
// fields and number forms that a rewrite of the matching record must keep.
const QStringList kLog = {
    QStringLiteral(R"("2003/07/25","起床後",75.50,"7:01:02",22.30,"予備")"),
    QStringLiteral(R"("2003/07/25","起床後すぐ",75.4,"",22.3,"")"),
    QStringLiteral(R"("2003/07/26","ｷｼｮｳｺﾞ",75.3,"",22.3,"")"),
    QStringLiteral(R"("2003/07/26","起床後 ",75.2,"",22.3,"")"),
    QStringLiteral(R"("2003/07/27","起床後",壊れた,"",22.3,"")"),
    QStringLiteral(R"("2003/07/28","起床後",74.9,"朝,快晴",21.9,"")"),
};

void prepareRename(const test::WorkDir& dir) {
    dir.write(files::kData, crlfLines(kLog));
    dir.write(files::kSituations,
              crlfLines({QStringLiteral("朝食後"), QStringLiteral("起床後"), QStringLiteral("朝\"晩")}) + "\x82\r\n" +
                  crlfLines({QStringLiteral("\"夜,遅く\"")}));
}

} // namespace

TEST(EditingDrag, PutsTheWordBeforeTheDropTarget) {
    auto words = [](const QStringList& w) { return w.join(QString()); };
    EXPECT_EQ(words(editing::dropWord(kAbcd, 0, 2)->words), QStringLiteral("BACD"));
    EXPECT_EQ(words(editing::dropWord(kAbcd, 3, 1)->words), QStringLiteral("ADBC"));
    EXPECT_EQ(words(editing::dropWord(kAbcd, 2, 0)->words), QStringLiteral("CABD"));
    // the last word cannot be passed: dropping on it puts the word just before it
    const auto last = editing::dropWord(kAbcd, 0, 3);
    EXPECT_EQ(words(last->words), QStringLiteral("BCAD"));
    EXPECT_EQ(last->placedAt, 2);
    // onto itself or onto the next word, or outside the list: no change
    for (const auto& [s, t] : {std::pair{1, 2}, std::pair{1, 1}, std::pair{2, 3}, std::pair{-1, 2}, std::pair{0, 4}})
        EXPECT_FALSE(editing::dropWord(kAbcd, s, t).has_value()) << s << " onto " << t;
}

TEST(EditingRename, TouchesOnlyExactMatchesAndKeepsEveryOtherField) {
    test::WorkDir dir;
    prepareRename(dir);
    editing::RenameResult result;
    ASSERT_TRUE(editing::renameWord(dir.path(), QStringLiteral("起床後"), QStringLiteral("起きて,すぐ"), &result));
    EXPECT_EQ(result.records, 2);
    EXPECT_EQ(result.words, 1);

    QStringList expected = kLog;
    expected[0] = QStringLiteral(R"("2003/07/25","起きて,すぐ",75.5,"7:01:02",22.3,"予備")");
    expected[5] = QStringLiteral(R"("2003/07/28","起きて,すぐ",74.9,"朝,快晴",21.9,"")");
    EXPECT_EQ(dir.read(files::kData), crlfLines(expected));
    // the list in quotes, its unreadable line kept; read back without quotes
    EXPECT_EQ(dir.read(files::kSituations),
              crlfLines({QStringLiteral("\"朝食後\""), QStringLiteral("\"起きて,すぐ\""), QStringLiteral("朝\"晩")}) +
                  "\x82\r\n" + crlfLines({QStringLiteral("\"夜,遅く\"")}));
    EXPECT_EQ(listed(dir.path()), (QStringList{QStringLiteral("朝食後"), QStringLiteral("起きて,すぐ"),
                                               QStringLiteral("朝\"晩"), QStringLiteral("夜,遅く")}));
    EXPECT_EQ(dir.files(), (QStringList{files::kData, files::kSituations}));
}

TEST(EditingRename, RefusesAnEmptyOrUnwritableWordBeforeWriting) {
    test::WorkDir dir;
    prepareRename(dir);
    const auto before = test::snapshot(dir);
    const Status empty = editing::renameWord(dir.path(), QStringLiteral("起床後"), QString());
    EXPECT_EQ(empty.message(), editing::renameEmpty().text);
    EXPECT_FALSE(editing::renameWord(dir.path(), QStringLiteral("起床後"), QStringLiteral("\"朝\"")));
    EXPECT_FALSE(editing::renameWord(dir.path(), QStringLiteral("起床後"), QStringLiteral("朝😀")));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

TEST(EditingList, AddOrderDeleteAndDeleteAllLeaveTheLogAlone) {
    test::WorkDir dir;
    dir.copySample();
    const QByteArray log = dir.read(files::kData);
    dir.write(files::kSituations, "A\r\nB");

    bool added = true;
    ASSERT_TRUE(editing::addWord(dir.path(), QString(), &added));
    EXPECT_FALSE(added);
    ASSERT_TRUE(editing::addWord(dir.path(), QStringLiteral("散歩後"), &added));
    ASSERT_TRUE(editing::addWord(dir.path(), QStringLiteral("朝,夜")));
    EXPECT_FALSE(editing::addWord(dir.path(), QStringLiteral("\"")));
    EXPECT_EQ(dir.read(files::kSituations),
              "A\r\nB\r\n" + crlfLines({QStringLiteral("散歩後"), QStringLiteral("\"朝,夜\"")}));

    // a quote inside a hand-edited word reads back from a plain line, so it is no reason to refuse;
    // a word the order does not name ("A") stays, after the ordered ones
    dir.write(files::kSituations, dir.read(files::kSituations) + "A\"1\r\n");
    const QStringList order = {QStringLiteral("朝,夜"), QStringLiteral("A\"1"), QStringLiteral("散歩後"),
                               QStringLiteral("B")};
    ASSERT_TRUE(editing::saveOrder(dir.path(), order));
    EXPECT_EQ(dir.read(files::kSituations),
              crlfLines({QStringLiteral("\"朝,夜\""), QStringLiteral("A\"1"), QStringLiteral("散歩後"),
                         QStringLiteral("B"), QStringLiteral("A")}));

    EXPECT_EQ(editing::deleteWord(dir.path(), order, -1).message(), editing::noChoiceToDelete().text);
    const auto rest = editing::deleteWord(dir.path(), order, 2);
    ASSERT_TRUE(rest.ok());
    EXPECT_EQ(listed(dir.path()), *rest);
    EXPECT_EQ(rest->size(), 4);

    ASSERT_TRUE(editing::deleteAll(dir.path(), *rest));
    EXPECT_TRUE(dir.exists(files::kSituations));
    EXPECT_TRUE(dir.read(files::kSituations).isEmpty());
    EXPECT_EQ(dir.read(files::kData), log);
}

// Two windows on one folder, or a window and a script: each list edit applies to the list file as
// it is when it saves, so a word added elsewhere since the list was shown is kept and shown, and
// a word deleted elsewhere stays deleted.
TEST(EditingList, EditsApplyToTheFileAsItIsNow) {
    using Edit = std::function<Status(const QString&, const QStringList&, QStringList*)>;
    const std::pair<const char*, Edit> edits[] = {
        {"saveOrder",
         [](const QString& d, const QStringList& shown, QStringList* written) {
             return editing::saveOrder(d, {shown[2], shown[0], shown[1], shown[3]}, written);
         }},
        {"deleteWord",
         [](const QString& d, const QStringList& shown, QStringList* written) {
             const auto rest = editing::deleteWord(d, shown, 1);
             *written = rest ? *rest : QStringList();
             return rest.status();
         }},
        {"deleteAll", [](const QString& d, const QStringList& shown,
                         QStringList* written) { return editing::deleteAll(d, shown, written); }},
    };
    const std::map<std::string, QStringList> expected = {
        {"saveOrder", {QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("散歩後")}},
        {"deleteWord", {QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("散歩後")}},
        {"deleteAll", {QStringLiteral("散歩後")}},
    };
    for (const auto& [name, edit] : edits) {
        SCOPED_TRACE(name);
        test::WorkDir dir;
        dir.write(files::kSituations,
                  crlfLines({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}));
        const QStringList shown = listed(dir.path());
        // meanwhile another window adds a word and deletes one
        ASSERT_TRUE(editing::addWord(dir.path(), QStringLiteral("散歩後")));
        ASSERT_TRUE(editing::deleteWord(dir.path(), listed(dir.path()), 3));
        QStringList written;
        ASSERT_TRUE(edit(dir.path(), shown, &written));
        EXPECT_EQ(written, expected.at(name));
        EXPECT_EQ(listed(dir.path()), written);
    }
}

TEST(EditingList, FaultsLeaveTheFilesWhole) {
    const auto sample = [](const test::WorkDir& dir) { dir.copySample(); };
    const QStringList list = {files::kSituations};
    test::expectWholeAfterEveryFault(
        sample, [](const QString& d) { return editing::addWord(d, QStringLiteral("散歩後")); }, list, 3);
    test::expectWholeAfterEveryFault(
        sample,
        [](const QString& d) {
            return editing::saveOrder(d, {QStringLiteral("B"), QStringLiteral("A")});
        },
        list, 4);
    test::expectWholeAfterEveryFault(
        sample, [](const QString& d) { return editing::deleteWord(d, listed(d), 0).status(); }, list, 4);
    test::expectWholeAfterEveryFault(
        sample, [](const QString& d) { return editing::deleteAll(d, listed(d)); }, list, 3);
    // the log first, then the list; a failed list puts the log back
    test::expectWholeAfterEveryFault(
        prepareRename,
        [](const QString& d) { return editing::renameWord(d, QStringLiteral("起床後"), QStringLiteral("起きて")); },
        {files::kData, files::kSituations}, 8);
}

TEST(EditingGuidance, LinesJoinedByCrLfWithTheirEmptyLines) {
    const QStringList lines = editing::guidanceText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines.at(1).isEmpty() && lines.at(3).isEmpty() && lines.at(5).isEmpty() && lines.at(6).isEmpty());
    EXPECT_EQ(editing::deleteAllDone().text.count(QLatin1Char('\n')), 2);
    EXPECT_FALSE(editing::deleteAllDone().text.contains(QLatin1Char('\r')));
}
