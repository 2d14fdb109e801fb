#include "core/base/Status.h"

#include <gtest/gtest.h>

using namespace puka;

// A result holds its value or the failure that says why there is none; a failure shows under
// the save-error title unless it names its own, and titled() retitles failures only.
TEST(Status, ResultHoldsAValueOrAFailureWithItsNotice) {
    const Result<QString> value(QStringLiteral("2026/12/08"));
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(*value, QStringLiteral("2026/12/08"));
    EXPECT_TRUE(value.status().ok());

    const Result<QString> failed(Status::failure(QStringLiteral("書けません")));
    EXPECT_FALSE(failed.ok());
    EXPECT_FALSE(failed.status().inPlace());
    EXPECT_EQ(failed.status().notice().text, QStringLiteral("書けません"));
    EXPECT_EQ(failed.status().notice().title, messages::saveErrorTitle());

    const Status read = Status::failure(QStringLiteral("読めません"), messages::readErrorTitle());
    EXPECT_EQ(read.notice().title, messages::readErrorTitle());
    EXPECT_EQ(read.titled(messages::conversionTitle()).notice().title, messages::conversionTitle());
    EXPECT_EQ(read.titled(messages::conversionTitle()).message(), QStringLiteral("読めません"));
    EXPECT_TRUE(Status().titled(messages::conversionTitle()).notice().title.isEmpty());
}
