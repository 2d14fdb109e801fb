// Start-up on damaged files: the window says what it found, goes on with what it can read, and
// changes no file; saves onto a full disk or a read-only folder say so and change nothing.
#include "tests/core/CoreTestHelpers.h"
#include "tests/ui/UiTestSupport.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cerrno>

using namespace puka;

namespace {

// the length from the literal itself: it holds a NUL byte
constexpr char kGarbageBytes[] = "\x82\xFF\x00\x01garbage\xFD\r\n\x81";
const QByteArray kGarbage(kGarbageBytes, sizeof kGarbageBytes - 1);

const QString kRecords = QStringLiteral("\"2026/11/30\",\"起床後\",60.2,\"一言\",25,\"\"\r\n"
                                        "\"2026/12/06\",\"起床後\",59.8,\"\",24.8,\"\"\r\n");

void ownData(const test::WorkDir& dir) {
    test::writeOwnProfile(dir);
    dir.writeText(files::kData, kRecords);
    dir.writeText(files::kNotes, QStringLiteral("メモ\r\n"));
    dir.writeText(files::kTimeStamp, QStringLiteral(" 0 \r\n"));
    dir.writeText(files::kMovingAverage, QStringLiteral("7\r\n"));
    dir.writeText(files::kMarker, QStringLiteral("1\r\n"));
}

// The notice about the files, or an empty string when none was shown.
QString fileNotice(const QList<ui::ScriptedDialogs::Call>& calls) {
    for (const auto& c : calls)
        if (c.title == QStringLiteral("データファイルの確認"))
            return c.prompt;
    return QString();
}

const QString kFiles[] = {files::kData,   files::kSituations, files::kHelpTour, files::kSteps,        files::kTimeStamp,
                          files::kMarker, files::kProfile,    files::kNotes,    files::kMovingAverage};

} // namespace

TEST(StartupFiles, GarbageInAnyFileIsNamedAndNothingChanges) {
    for (const QString& name : kFiles) {
        SCOPED_TRACE(name.toStdString());
        test::Window t([&](const test::WorkDir& d) {
            ownData(d);
            d.write(name, kGarbage);
        });
        const auto before = test::snapshot(t.dir());
        t.start();
        const QString notice = fileNotice(t.takeCalls());
        EXPECT_TRUE(notice.contains(name)) << notice.toStdString();
        EXPECT_TRUE(t.w().isVisible());
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(t.dir())));
    }
}

TEST(StartupFiles, EmptyFilesStartAndChangeNothing) {
    for (const QString& name : kFiles) {
        SCOPED_TRACE(name.toStdString());
        test::Window t([&](const test::WorkDir& d) {
            ownData(d);
            d.write(name, QByteArray());
        });
        const auto before = test::snapshot(t.dir());
        t.start();
        t.takeCalls();
        EXPECT_TRUE(t.w().isVisible());
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(t.dir())));
    }
}

TEST(StartupFiles, Utf8LogIsShownAndNamedButNeverWritten) {
    for (const QByteArray& bom : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        test::Window t([&](const test::WorkDir& d) {
            ownData(d);
            d.write(files::kData, bom + kRecords.toUtf8());
        });
        const auto before = test::snapshot(t.dir());
        t.start();
        const QString notice = fileNotice(t.takeCalls());
        EXPECT_TRUE(notice.contains(QStringLiteral("UTF-8")) && notice.contains(files::kData)) << notice.toStdString();
        EXPECT_EQ(t.find<QLabel>(QStringLiteral("lblDspTai"))->text(), QStringLiteral("60.2Kg → 0.4Kg 減"));

        t.pickSituation(QStringLiteral("起床後"));
        t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->setText(QStringLiteral("59.5"));
        t.find<QLineEdit>(QStringLiteral("txtShiInp"))->setText(QStringLiteral("24.5"));
        t.click(QStringLiteral("cmdTaiHozon"));
        const auto calls = t.takeCalls();
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].title, QStringLiteral("保存エラー"));
        EXPECT_TRUE(calls[0].prompt.contains(QStringLiteral("UTF-8")) && calls[0].prompt.contains(files::kData));
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(t.dir())));
    }
}

// A folder that may not be read is said once (「権限」) and is no new user's empty folder: no
// welcome, no new-start form, no conversion, nothing written.
TEST(StartupFiles, AFolderThatCannotBeReadIsNoNewFolder) {
    test::Window t(nullptr);
    {
        test::FaultGuard guard([](FileStep step, const QString&) { return step == FileStep::Read ? EACCES : 0; });
        t.start();
    }
    const auto calls = t.takeCalls();
    for (const auto& c : calls)
        EXPECT_NE(c.title, QStringLiteral("ようこそ"));
    const QString notice = fileNotice(calls);
    // one notice for the folder, rather than one for each of its files
    EXPECT_TRUE(notice.startsWith(QStringLiteral("作業フォルダ")) && notice.contains(QStringLiteral("権限")) &&
                !notice.contains(files::kData))
        << notice.toStdString();
    EXPECT_FALSE(t.find<QWidget>(QStringLiteral("fraNew"))->isVisible());
    EXPECT_TRUE(t.dir().files().isEmpty());
}

TEST(StartupFiles, SaveOntoAFullDiskOrReadOnlyFolderSaysSoAndKeepsTheLog) {
    test::Window t(ownData);
    t.start();
    t.takeCalls();
    for (const int error : {ENOSPC, EROFS, EACCES}) {
        const auto before = test::snapshot(t.dir());
        t.pickSituation(QStringLiteral("起床後"));
        t.find<QLineEdit>(QStringLiteral("txtTaiInp"))->setText(QStringLiteral("59.5"));
        t.find<QLineEdit>(QStringLiteral("txtShiInp"))->setText(QStringLiteral("24.5"));
        {
            test::FaultGuard guard(
                [error](FileStep step, const QString&) { return step == FileStep::Write ? error : 0; });
            t.click(QStringLiteral("cmdTaiHozon"));
        }
        const auto calls = t.takeCalls();
        ASSERT_EQ(calls.size(), 1);
        EXPECT_EQ(calls[0].title, QStringLiteral("保存エラー"));
        EXPECT_TRUE(calls[0].prompt.contains(files::kData));
        EXPECT_TRUE(calls[0].prompt.contains(error == ENOSPC ? QStringLiteral("空き容量") : QStringLiteral("権限")))
            << calls[0].prompt.toStdString();
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(t.dir())));
    }
}

TEST(StartupFiles, TimeStampIsWrittenBackInTheFormOfItsWriter) {
    test::Window t([](const test::WorkDir& d) {
        ownData(d);
        d.write(files::kTimeStamp, "1,x");
    });
    t.start();
    EXPECT_TRUE(t.takeCalls().isEmpty());
    EXPECT_TRUE(t.find<QCheckBox>(QStringLiteral("chkJikan"))->isChecked());
    EXPECT_EQ(t.dir().read(files::kTimeStamp), QByteArray(" 1 \r\n"));
}
