#include "tests/core/CoreTestHelpers.h"
#include "tests/core/edits/SituationEditingFaults.h"

#include "core/base/Clock.h"
#include "core/edits/NewStart.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"

#include <gtest/gtest.h>

using namespace puka;

namespace {

newstart::Input filled() {
    return {QStringLiteral("花子"), QStringLiteral("158.5"), QStringLiteral("50"),
            QStringLiteral("70.5"), QStringLiteral("25"),    newstart::defaultSituation()};
}

QString refusal(const newstart::Input& in) {
    const auto r = newstart::firstRefusal(in);
    return r ? r->text : QString();
}

class ClockAt {
public:
    ClockAt() { clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(8, 0))); }
    ~ClockAt() { clock::setFixed(std::nullopt); }
};

} // namespace

TEST(NewStart, ChecksInTheirOrder) {
    EXPECT_EQ(refusal({}), QStringLiteral("身長が入力されていません"));
    newstart::Input in;
    in.heightText = QStringLiteral("170");
    EXPECT_EQ(refusal(in), QStringLiteral("目標体重が入力されていません"));
    in.targetText = QStringLiteral("60");
    EXPECT_EQ(refusal(in), QStringLiteral("現在の体重が入力されていません"));
    in.weightText = QStringLiteral("70");
    EXPECT_EQ(refusal(in), QStringLiteral("現在の体脂肪率が入力されていません"));
    in.fatText = QStringLiteral("0");
    EXPECT_EQ(refusal(in), QStringLiteral("初回の状況が入力されていません"));
    EXPECT_EQ(newstart::firstRefusal(in)->title, QStringLiteral("初回状況（コメント）未入力"));
    in.situationText = QStringLiteral("朝");
    EXPECT_FALSE(newstart::firstRefusal(in).has_value()) << "an empty name is allowed";
}

TEST(NewStart, RefusesNumbersThatWouldNotMakeAProfileOrAStartRecord) {
    const QString heightError = refusal({{}, QStringLiteral("abc"), QStringLiteral("50"), {}, {}, {}});
    for (const QString& bad : {QStringLiteral("１７０"), QStringLiteral("170cm"), QStringLiteral("0"),
                               QStringLiteral("-5"), QStringLiteral(" ")}) {
        newstart::Input in = filled();
        in.heightText = bad;
        EXPECT_EQ(refusal(in), heightError) << bad.toStdString();
        in = filled();
        in.targetText = bad;
        EXPECT_TRUE(refusal(in).startsWith(QStringLiteral("目標体重は"))) << bad.toStdString();
        in = filled();
        in.weightText = bad;
        EXPECT_TRUE(refusal(in).startsWith(QStringLiteral("現在の体重は"))) << bad.toStdString();
    }
    EXPECT_TRUE(heightError.startsWith(QStringLiteral("身長は")));
    newstart::Input in = filled();
    in.fatText = QStringLiteral("x");
    EXPECT_FALSE(refusal(in).isEmpty());
    in = filled();
    in.name = QStringLiteral("\"ハナ\"");
    EXPECT_FALSE(refusal(in).isEmpty());

    test::WorkDir dir;
    dir.copySample();
    const auto before = test::snapshot(dir);
    EXPECT_FALSE(newstart::start(dir.path(), in));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

TEST(NewStart, KeepsTheOldLogAsADatedBackupAndWritesOneRecord) {
    const ClockAt clock;
    test::WorkDir dir;
    dir.copySample();
    const QByteArray oldLog = dir.read(files::kData);
    dir.write(QStringLiteral("データ_20261207.txt"), "earlier backup");

    newstart::Input in = filled();
    in.weightText = QStringLiteral(" 70.123456789 ");
    newstart::StartOutcome result;
    ASSERT_TRUE(newstart::start(dir.path(), in, &result));
    EXPECT_EQ(result.backupName, QStringLiteral("データ_20261207_2.txt"));
    EXPECT_EQ(dir.read(result.backupName), oldLog);
    EXPECT_EQ(dir.read(QStringLiteral("データ_20261207.txt")), "earlier backup");
    EXPECT_EQ(dir.read(files::kData),
              test::crlfLines({QStringLiteral(R"("2026/12/07","はじめの一歩",70.123456789,"",25,"")")}));
    const Profile p = settings::readProfile(dir.path()).value;
    EXPECT_EQ(p.userName, QStringLiteral("花子"));
    EXPECT_EQ(p.height, 158.5f);
    EXPECT_EQ(p.targetWeight, 50.0f);
    EXPECT_TRUE(newstart::finished(result.backupName).text.contains(result.backupName));
    EXPECT_EQ(test::copiesLeft(dir), QStringList());
}

TEST(NewStart, WithoutALogMakesNoBackup) {
    const ClockAt clock;
    test::WorkDir dir;
    newstart::StartOutcome result;
    ASSERT_TRUE(newstart::start(dir.path(), filled(), &result));
    EXPECT_TRUE(result.backupName.isEmpty());
    EXPECT_EQ(dir.files(), (QStringList{files::kData, files::kProfile}));
    EXPECT_FALSE(newstart::finished(QString()).text.contains(QStringLiteral("データ_")));
}

TEST(NewStart, FaultLeavesLogProfileAndFolderAsTheyWere) {
    const ClockAt clock;
    test::expectWholeAfterEveryFault([](const test::WorkDir& dir) { dir.copySample(); },
                                     [](const QString& d) { return newstart::start(d, filled()); },
                                     {files::kData, files::kProfile, QStringLiteral("データ_20261207.txt")}, 12);
}

TEST(NewStart, IntroductionEndsWithOneLineEnd) {
    const QString text = newstart::introduction().text;
    EXPECT_EQ(text.split(QStringLiteral("\r\n")).size(), 16);
    EXPECT_TRUE(text.endsWith(QStringLiteral("押してください。\r\n")));
}
