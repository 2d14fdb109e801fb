#include "tests/core/CoreTestHelpers.h"
#include "tests/core/edits/SituationEditingFaults.h"

#include "core/edits/ProfileEdit.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"

#include <gtest/gtest.h>

using namespace puka;

TEST(ProfileEdit, FieldsShowStoredNumbersAndSaveThemBackUnchanged) {
    test::WorkDir dir;
    dir.copySample();
    const Profile stored = settings::readProfile(dir.path()).value;
    const profileedit::Fields fields = profileedit::fieldsOf(stored);
    EXPECT_EQ(fields.heightText, QStringLiteral("168.5"));
    EXPECT_EQ(fields.targetText, QStringLiteral("65"));
    const QByteArray before = dir.read(files::kProfile);
    Profile saved;
    ASSERT_TRUE(profileedit::save(dir.path(), fields, &saved));
    EXPECT_EQ(dir.read(files::kProfile), before);
    EXPECT_EQ(saved.height, stored.height);

    ASSERT_TRUE(profileedit::save(dir.path(), {QString(), QStringLiteral(" 170 "), QStringLiteral("60.5")}, &saved));
    const Profile p = settings::readProfile(dir.path()).value;
    EXPECT_EQ(p.height, 170.0f);
    EXPECT_EQ(p.targetWeight, 60.5f);
    EXPECT_EQ(settings::windowCaption(saved.userName), QStringLiteral(" Pukapuka☆ダイエット"));
}

TEST(ProfileEdit, RefusesEmptyOrNonNumericFieldsInOrderAndStoresNothing) {
    test::WorkDir dir;
    dir.copySample();
    const auto before = test::snapshot(dir);
    const auto title = [](const profileedit::Fields& f) {
        const auto r = profileedit::firstRefusal(f);
        return r ? r->title : QString();
    };
    EXPECT_EQ(title({}), QStringLiteral("身長未入力"));
    EXPECT_EQ(title({{}, QStringLiteral("170"), {}}), QStringLiteral("目標体重未入力"));
    EXPECT_EQ(title({{}, QStringLiteral("ひゃく"), {}}), QStringLiteral("身長入力エラー"));
    EXPECT_EQ(title({{}, QStringLiteral("170"), QStringLiteral("６０")}), QStringLiteral("目標体重入力エラー"));
    EXPECT_EQ(title({QStringLiteral("a\"b"), QStringLiteral("170"), QStringLiteral("60")}),
              QStringLiteral("名前入力エラー"));
    for (const profileedit::Fields& f : {profileedit::Fields{}, profileedit::Fields{{}, QStringLiteral("x"), {}}})
        EXPECT_FALSE(profileedit::save(dir.path(), f));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

TEST(ProfileEdit, FaultLeavesTheProfileWhole) {
    test::expectWholeAfterEveryFault(
        [](const test::WorkDir& dir) { dir.copySample(); },
        [](const QString& d) {
            return profileedit::save(d, {QStringLiteral("花子"), QStringLiteral("155"), QStringLiteral("48")});
        },
        {files::kProfile}, 4);
}
