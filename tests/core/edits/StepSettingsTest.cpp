#include "tests/core/CoreTestHelpers.h"
#include "tests/core/edits/SituationEditingFaults.h"

#include "core/edits/StepSettings.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"

#include <gtest/gtest.h>

using namespace puka;
using increments::Kind;

TEST(StepsEdit, EveryChangeWritesBothLines) {
    test::WorkDir dir;
    dir.write(files::kSteps, "0.1\r\n0.5\r\n");
    Steps steps = settings::readSteps(dir.path()).value;
    ASSERT_TRUE(increments::chooseOption(dir.path(), steps, Kind::Weight, 2));
    EXPECT_EQ(dir.read(files::kSteps), "0.2\r\n0.5\r\n");
    ASSERT_TRUE(increments::confirmFree(dir.path(), steps, Kind::Fat, QStringLiteral(" 0.25 ")));
    EXPECT_EQ(dir.read(files::kSteps), "0.2\r\n0.25\r\n");
    EXPECT_EQ(steps.fatStep, QStringLiteral("0.25"));
}

// The steps shown may be older than the file: another window changed the other step since.
TEST(StepsEdit, AChangeKeepsTheOtherStepAsTheFileHoldsIt) {
    test::WorkDir dir;
    dir.write(files::kSteps, "0.1\r\n0.1\r\n");
    Steps steps = settings::readSteps(dir.path()).value;
    dir.write(files::kSteps, "0.1\r\n0.5\r\n");
    ASSERT_TRUE(increments::chooseOption(dir.path(), steps, Kind::Weight, 2));
    EXPECT_EQ(dir.read(files::kSteps), "0.2\r\n0.5\r\n");
    EXPECT_EQ(steps.fatStep, QStringLiteral("0.5"));
}

TEST(StepsEdit, OptionShownAfterRereadComparesText) {
    test::WorkDir dir;
    Steps steps;
    ASSERT_TRUE(increments::confirmFree(dir.path(), steps, Kind::Weight, QStringLiteral("0.3")));
    ASSERT_TRUE(increments::confirmFree(dir.path(), steps, Kind::Fat, QStringLiteral("0.2")));
    const Steps read = settings::readSteps(dir.path()).value;
    EXPECT_EQ(increments::optionFor(read.weightStep), 0);
    EXPECT_EQ(read.weightStep, QStringLiteral("0.3"));
    EXPECT_EQ(increments::optionFor(read.fatStep), 2);
    EXPECT_EQ(increments::optionFor(QStringLiteral("0.10")), 0);
    EXPECT_EQ(increments::optionFor(QStringLiteral("0.5")), 3);
}

TEST(StepsEdit, FreeValueThatCannotStepIsRefusedAndNothingChanges) {
    test::WorkDir dir;
    dir.write(files::kSteps, "0.1\r\n0.1\r\n");
    Steps steps = settings::readSteps(dir.path()).value;
    for (const QString& bad :
         {QString(), QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("-0.1"), QStringLiteral("０．３")}) {
        const Status s = increments::confirmFree(dir.path(), steps, Kind::Weight, bad);
        EXPECT_FALSE(s.ok()) << bad.toStdString();
        EXPECT_FALSE(s.message().isEmpty());
    }
    EXPECT_EQ(steps.weightStep, QStringLiteral("0.1"));
    EXPECT_EQ(dir.read(files::kSteps), "0.1\r\n0.1\r\n");
}

TEST(StepsEdit, FaultLeavesFileAndStepsAsTheyWere) {
    for (int option : {0, 1}) {
        test::expectWholeAfterEveryFault(
            [](const test::WorkDir& dir) { dir.copySample(); },
            [option](const QString& d) {
                Steps steps = settings::readSteps(d).value;
                const Steps before = steps;
                const Status s = option ? increments::chooseOption(d, steps, Kind::Fat, 3)
                                        : increments::confirmFree(d, steps, Kind::Weight, QStringLiteral("0.05"));
                EXPECT_EQ(!s.ok(), steps.weightStep == before.weightStep && steps.fatStep == before.fatStep);
                return s;
            },
            {files::kSteps}, 4);
    }
}
