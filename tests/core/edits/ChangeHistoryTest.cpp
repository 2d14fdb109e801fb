// Undo and redo of every kind of change the window makes: taking a change back gives the files
// exactly as they were, making it again exactly as it left them, and an undo that no longer
// applies changes nothing.
#include "tests/core/CoreTestHelpers.h"

#include "core/base/Clock.h"
#include "core/edits/ChangeHistory.h"
#include "core/edits/DiarySave.h"
#include "core/edits/LogEdits.h"
#include "core/edits/MeasurementEntry.h"
#include "core/edits/SituationEditing.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/SituationList.h"

#include <gtest/gtest.h>

#include <functional>

using namespace puka;
using test::crlfLines;

namespace {

void ownFolder(const test::WorkDir& dir) {
    dir.write(files::kData, crlfLines({QStringLiteral(R"("2026/12/01","はじめの一歩",61.5,"",26,"")"),
                                       QStringLiteral(R"("2026/12/02","起床後",61.2,"",25.8,"予備")"),
                                       QStringLiteral(R"("2026/12/02","就寝前",61.9,"食べ過ぎ",25.9,"")"),
                                       QStringLiteral(R"("2026/12/04","起床後",60.8,"",25.5,"")")}));
    dir.write(files::kSituations,
              crlfLines({QStringLiteral("起床後"), QStringLiteral("就寝前"), QStringLiteral("夕食後")}));
}

// The clock stands still while a test runs, so that backups get one name.
class ClockGuard {
public:
    ClockGuard() { clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3))); }
    ~ClockGuard() { clock::setFixed(std::nullopt); }
};

history::Change logChange(const QString& description, const logedits::LogChange& log) {
    history::Change c;
    c.description = description;
    c.log = log;
    return c;
}

history::Change captured(const QString& dir, const std::function<Status()>& edit) {
    history::Change c;
    c.description = QStringLiteral("状況の追加");
    EXPECT_TRUE(history::captureList(dir, edit, &c));
    return c;
}

WeightRecord recordAt(const QString& dir, int number) {
    return datalog::readLog(dir).records.at(static_cast<size_t>(number - 1));
}

struct Kind {
    std::string name;
    std::function<history::Change(const QString& dir)> make;
};

void PrintTo(const Kind& k, std::ostream* os) {
    *os << k.name;
}

history::Change saved(const QString& dir, const QDate& day) {
    entry::Input in;
    in.situation = QStringLiteral("夕食後");
    in.weightText = QStringLiteral("61.4");
    in.fatText = QStringLiteral("25.6");
    entry::SaveResult result;
    EXPECT_TRUE(entry::saveEntry(dir, in, day, true, QTime(21, 0), std::nullopt, &result));
    return history::savedMeasurement(result.record);
}

history::Change corrected(const QString& dir, int number, const std::function<void(WeightRecord&)>& change) {
    const WeightRecord old = recordAt(dir, number);
    WeightRecord now = old;
    change(now);
    logedits::LogChange applied;
    EXPECT_TRUE(logedits::correctRecord(dir, number, old, now, &applied));
    return logChange(QStringLiteral("修正"), applied);
}

std::vector<Kind> kinds() {
    const auto words = [](const QString& d) { return situations::readSituationList(d).words; };
    return {
        {"saved_append", [](const QString& d) { return saved(d, QDate(2026, 12, 7)); }},
        {"saved_insert", [](const QString& d) { return saved(d, QDate(2026, 12, 2)); }},
        {"correction_in_place",
         [](const QString& d) { return corrected(d, 3, [](WeightRecord& r) { r.weight = 60.9f; }); }},
        {"correction_to_another_day",
         [](const QString& d) {
             return corrected(d, 2, [](WeightRecord& r) { r.date = QStringLiteral("2026/12/05"); });
         }},
        {"deletion",
         [](const QString& d) {
             logedits::LogChange applied;
             EXPECT_TRUE(logedits::deleteRecord(d, 3, recordAt(d, 3), &applied));
             return logChange(QStringLiteral("削除"), applied);
         }},
        {"diary_comment",
         [](const QString& d) {
             logedits::LogChange saved;
             EXPECT_TRUE(diary::saveComment(d, datalog::readLog(d).records, 4, QStringLiteral("よく寝た"), &saved));
             return logChange(QStringLiteral("一言日記の保存"), saved);
         }},
        {"rename_across_the_log",
         [](const QString& d) {
             editing::RenameResult renamed;
             EXPECT_TRUE(editing::renameWord(d, QStringLiteral("起床後"), QStringLiteral("起きてすぐ"), &renamed));
             return history::renamed(QStringLiteral("状況の入れ替え"), renamed);
         }},
        {"list_add",
         [](const QString& d) { return captured(d, [d] { return editing::addWord(d, QStringLiteral("散歩")); }); }},
        {"list_order",
         [words](const QString& d) {
             return captured(d, [&] {
                 QStringList w = words(d);
                 std::reverse(w.begin(), w.end());
                 return editing::saveOrder(d, w);
             });
         }},
        {"list_delete",
         [words](const QString& d) {
             return captured(d, [&] { return editing::deleteWord(d, words(d), 1).status(); });
         }},
        {"list_delete_all",
         [words](const QString& d) { return captured(d, [&] { return editing::deleteAll(d, words(d)); }); }},
    };
}

class EveryKind : public ::testing::TestWithParam<Kind> {};

TEST_P(EveryKind, UndoGivesTheFilesAsTheyWereAndRedoAsTheChangeLeftThem) {
    const ClockGuard clock;
    test::WorkDir dir;
    ownFolder(dir);
    const auto before = test::snapshot(dir);
    history::ChangeHistory history;
    history.record(GetParam().make(dir.path()));
    const auto after = test::snapshot(dir);
    ASSERT_FALSE(test::sameFiles(before, after));
    ASSERT_TRUE(history.canUndo());

    for (int round = 0; round < 2; ++round) {
        const Status undone = history.undo(dir.path());
        ASSERT_TRUE(undone) << undone.message().toStdString();
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
        EXPECT_FALSE(history.canUndo());
        const Status redone = history.redo(dir.path());
        ASSERT_TRUE(redone) << redone.message().toStdString();
        EXPECT_TRUE(test::sameFiles(after, test::snapshot(dir)));
        EXPECT_FALSE(history.canRedo());
    }
}

INSTANTIATE_TEST_SUITE_P(ChangeHistory, EveryKind, ::testing::ValuesIn(kinds()),
                         [](const ::testing::TestParamInfo<Kind>& info) { return info.param.name; });

} // namespace

TEST(ChangeHistory, AnUndoAppliesToTheLogAsOtherProgramsLeftIt) {
    const ClockGuard clock;
    test::WorkDir dir;
    ownFolder(dir);
    history::ChangeHistory history;
    logedits::LogChange applied;
    ASSERT_TRUE(logedits::deleteRecord(dir.path(), 3, recordAt(dir.path(), 3), &applied));
    history.record(logChange(QStringLiteral("削除"), applied));
    // meanwhile a script adds today's measurement and one of an earlier day
    ASSERT_TRUE(
        datalog::appendRecord(dir.path(), test::record(QStringLiteral("2026/12/07"), QStringLiteral("朝"), 60)));
    ASSERT_TRUE(
        datalog::insertRecord(dir.path(), test::record(QStringLiteral("2026/12/01"), QStringLiteral("夜"), 61)));

    ASSERT_TRUE(history.undo(dir.path()));
    const auto records = datalog::readLog(dir.path()).records;
    QStringList situations;
    for (const WeightRecord& r : records)
        situations << r.situation;
    EXPECT_EQ(situations, (QStringList{QStringLiteral("はじめの一歩"), QStringLiteral("夜"), QStringLiteral("起床後"),
                                       QStringLiteral("就寝前"), QStringLiteral("起床後"), QStringLiteral("朝")}));
    EXPECT_EQ(records.at(3).comment, QStringLiteral("食べ過ぎ"));
}

TEST(ChangeHistory, AnUndoThatNoLongerAppliesChangesNothingAndStays) {
    const ClockGuard clock;
    test::WorkDir dir;
    ownFolder(dir);
    history::ChangeHistory history;
    history.record(corrected(dir.path(), 2, [](WeightRecord& r) { r.weight = 62.1f; }));
    history.record(captured(dir.path(), [&] { return editing::addWord(dir.path(), QStringLiteral("散歩")); }));

    // another window adds a word and changes the corrected record's comment
    ASSERT_TRUE(editing::addWord(dir.path(), QStringLiteral("昼食後")));
    const auto before = test::snapshot(dir);
    Status s = history.undo(dir.path());
    EXPECT_FALSE(s.ok());
    EXPECT_TRUE(s.message().contains(files::kSituations)) << s.message().toStdString();
    EXPECT_TRUE(s.message().startsWith(QStringLiteral("「状況の追加」を元に戻せませんでした。")))
        << s.message().toStdString();
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    EXPECT_TRUE(history.canUndo());

    test::WorkDir other;
    ownFolder(other);
    history::ChangeHistory corrections;
    corrections.record(corrected(other.path(), 2, [](WeightRecord& r) { r.weight = 62.1f; }));
    ASSERT_TRUE(diary::saveComment(other.path(), datalog::readLog(other.path()).records, 2, QStringLiteral("別の窓")));
    const auto kept = test::snapshot(other);
    s = corrections.undo(other.path());
    EXPECT_FALSE(s.ok());
    EXPECT_TRUE(s.message().contains(QStringLiteral("2026/12/02　起床後　62.1Kg"))) << s.message().toStdString();
    EXPECT_TRUE(test::sameFiles(kept, test::snapshot(other)));
    EXPECT_TRUE(corrections.canUndo());

    // a new change after an undo cannot be followed by the redo of the one taken back
    test::WorkDir third;
    ownFolder(third);
    history::ChangeHistory h;
    h.record(corrected(third.path(), 2, [](WeightRecord& r) { r.weight = 62.1f; }));
    ASSERT_TRUE(h.undo(third.path()));
    EXPECT_TRUE(h.canRedo());
    h.record(corrected(third.path(), 3, [](WeightRecord& r) { r.weight = 62.2f; }));
    EXPECT_FALSE(h.canRedo());
}

TEST(ChangeHistory, ADifferenceFindsTheMovedRecord) {
    const auto r = [](const char* date, const char* situation) {
        return test::record(QString::fromUtf8(date), QString::fromUtf8(situation), 60);
    };
    const std::vector<WeightRecord> before = {r("2026/12/01", "a"), r("2026/12/02", "b"), r("2026/12/03", "c"),
                                              r("2026/12/04", "d")};
    std::vector<WeightRecord> after = {before[0], before[2], before[3], r("2026/12/05", "b")};
    logedits::LogChange change = logedits::difference(before, after);
    ASSERT_EQ(change.steps.size(), 1u);
    EXPECT_EQ(change.steps[0].removedNumber, 2);
    EXPECT_EQ(change.steps[0].addedNumber, 4);
    EXPECT_FALSE(change.steps[0].inPlace);

    after = {before[0], r("2026/12/02", "B"), before[2], r("2026/12/04", "D")};
    change = logedits::difference(before, after);
    ASSERT_EQ(change.steps.size(), 2u);
    EXPECT_TRUE(change.steps[0].inPlace && change.steps[1].inPlace);
    EXPECT_EQ(change.steps[1].addedNumber, 4);
}
