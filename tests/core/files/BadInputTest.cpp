// Files another editor or a slip of the hand left in the working folder: the readers must say
// what they found and keep what they can, and no writer may change a file it could not read
// whole.
#include "tests/core/CoreTestHelpers.h"

#include "core/edits/DiarySave.h"
#include "core/edits/SituationEditing.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/LegacyConversion.h"
#include "core/files/Settings.h"
#include "core/files/SituationList.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace puka;
using test::crlfLines;
using test::record;

namespace {

const QStringList kLines = {QStringLiteral(R"("2003/07/25","起床後",75.5,"はじめの一歩",22.3,"")"),
                            QStringLiteral(R"("2003/07/26","夕食後",75.1,"",22.6,"")")};

QByteArray utf8Lines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += line.toUtf8() + "\r\n";
    return out;
}

const QByteArray kBom("\xEF\xBB\xBF");

bool mentionsUtf8(const QString& message, const QString& file) {
    return message.contains(QStringLiteral("UTF-8")) && message.contains(QStringLiteral("Shift_JIS")) &&
           message.contains(file);
}

} // namespace

TEST(Utf8Detection, OwnFilesAreNeverTakenForUtf8) {
    for (const QString& name : QDir(test::sampleDir()).entryList(QDir::Files)) {
        QFile f(QDir(test::sampleDir()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_FALSE(cp932::looksLikeUtf8(f.readAll())) << name.toStdString();
    }
    // plain ASCII is the same in both: nothing to tell
    EXPECT_FALSE(cp932::looksLikeUtf8("\"2003/07/25\",\"a\",75.5,\"\",22.3,\"\"\r\n"));
    EXPECT_FALSE(cp932::looksLikeUtf8(QByteArray()));
    EXPECT_TRUE(cp932::looksLikeUtf8(utf8Lines(kLines)));
    EXPECT_TRUE(cp932::looksLikeUtf8(kBom + "abc"));
    // a lone lead byte, an overlong form or a surrogate is no UTF-8
    EXPECT_FALSE(cp932::looksLikeUtf8(utf8Lines(kLines) + "\xE3\x81"));
    EXPECT_FALSE(cp932::looksLikeUtf8("\xC0\xAF"));
    EXPECT_FALSE(cp932::looksLikeUtf8("\xED\xA0\x80"));
}

// A log saved in UTF-8 shows its records as written, tells the user, and no writer touches it:
// our lines would mix two encodings in one file.
TEST(Utf8Log, ReadsAsUtf8AndEveryWriterRefusesIt) {
    for (const bool bom : {false, true}) {
        SCOPED_TRACE(bom ? "with BOM" : "without BOM");
        test::WorkDir dir;
        dir.copySample();
        dir.write(files::kData, (bom ? kBom : QByteArray()) + utf8Lines(kLines));
        const auto before = test::snapshot(dir);

        const LogContents log = datalog::readLog(dir.path());
        EXPECT_TRUE(log.utf8);
        ASSERT_EQ(log.records.size(), 2u);
        EXPECT_EQ(log.records[0].date, QStringLiteral("2003/07/25"));
        EXPECT_EQ(log.records[0].situation, QStringLiteral("起床後"));
        EXPECT_EQ(log.records[0].comment, QStringLiteral("はじめの一歩"));
        EXPECT_TRUE(log.skipped.empty());
        EXPECT_TRUE(mentionsUtf8(log.skippedNotice(), files::kData)) << log.skippedNotice().toStdString();

        const WeightRecord later = record(QStringLiteral("2003/07/27"), QStringLiteral("朝"), 74.5f);
        const WeightRecord earlier = record(QStringLiteral("2003/07/20"), QStringLiteral("朝"), 76.5f);
        const std::vector<std::pair<const char*, Status>> writes = {
            {"appendRecord", datalog::appendRecord(dir.path(), later)},
            {"insertRecord", datalog::insertRecord(dir.path(), earlier)},
            {"writeLog", datalog::writeLog(dir.path(), log.records)},
            {"saveComment", diary::saveComment(dir.path(), log.records, 1, QStringLiteral("書き直し"))},
            {"renameWord", editing::renameWord(dir.path(), QStringLiteral("起床後"), QStringLiteral("起きて"))},
            {"convertData", legacy::convertData(dir.path(), QStringLiteral("20"))},
        };
        for (const auto& [what, s] : writes) {
            EXPECT_FALSE(s.ok()) << what;
            EXPECT_TRUE(mentionsUtf8(s.message(), files::kData)) << what << ": " << s.message().toStdString();
        }
        EXPECT_FALSE(legacy::needsData(dir.path()));
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));

        // once saved as Shift_JIS again, everything works as before
        dir.write(files::kData, crlfLines(kLines));
        EXPECT_TRUE(datalog::appendRecord(dir.path(), later));
        EXPECT_FALSE(datalog::readLog(dir.path()).utf8);
    }
}

// The memo and the situation list are rewritten from what their readers showed: a file that
// did not read whole is never rewritten, so the lines the reader could not show survive.
TEST(PartlyReadableFiles, MemoAndListAreNotRewrittenFromAPartialReading) {
    const QByteArray undecodable = test::sjis(QStringLiteral("一行目\r\n")) + "\x82\r\n";
    for (const QByteArray& bad : {undecodable, utf8Lines({QStringLiteral("一行目"), QStringLiteral("二行目")})}) {
        test::WorkDir dir;
        dir.write(files::kNotes, bad);
        dir.write(files::kSituations, bad);
        const auto before = test::snapshot(dir);

        const auto memo = settings::readNotes(dir.path());
        EXPECT_FALSE(memo.problem.isEmpty());
        EXPECT_TRUE(memo.value.startsWith(QStringLiteral("一行目")));
        const auto list = situations::readSituationList(dir.path());
        EXPECT_FALSE(list.problem.isEmpty());
        EXPECT_EQ(list.words.first(), QStringLiteral("一行目"));

        const Status memoSave = settings::writeNotes(dir.path(), memo.value);
        EXPECT_FALSE(memoSave.ok());
        EXPECT_TRUE(memoSave.message().contains(files::kNotes)) << memoSave.message().toStdString();
        const Status order = editing::saveOrder(dir.path(), list.words);
        EXPECT_FALSE(order.ok());
        EXPECT_TRUE(order.message().contains(files::kSituations)) << order.message().toStdString();
        EXPECT_FALSE(editing::deleteWord(dir.path(), list.words, 0).ok());
        EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    }

    // appending a word loses nothing of a list with an unreadable line, but would mix
    // encodings in a UTF-8 one
    test::WorkDir dir;
    dir.write(files::kSituations, undecodable);
    EXPECT_TRUE(editing::addWord(dir.path(), QStringLiteral("散歩後")));
    dir.write(files::kSituations, utf8Lines({QStringLiteral("一行目")}));
    const Status s = editing::addWord(dir.path(), QStringLiteral("散歩後"));
    EXPECT_FALSE(s.ok());
    EXPECT_TRUE(mentionsUtf8(s.message(), files::kSituations)) << s.message().toStdString();
    EXPECT_EQ(dir.read(files::kSituations), utf8Lines({QStringLiteral("一行目")}));
}

TEST(BadLogLines, OutlandishNumbersAreSkippedOrReadAsWritten) {
    test::WorkDir dir;
    const QStringList lines = {
        QStringLiteral(R"("2003/07/25","朝",1e30,"",22.3,"")"),   // 1: too large
        QStringLiteral(R"("2003/07/25","朝",-5,"",22.3,"")"),     // read as written
        QStringLiteral(R"("2003/07/25","朝",NaN,"",22.3,"")"),    // 3: no number
        QStringLiteral(R"("2003/07/25","朝",inf,"",22.3,"")"),    // 4: no number
        QStringLiteral(R"("2003/07/25","朝",-0,"",22.3,"")"),     // read as written
        QStringLiteral(R"("2003/07/25","朝",70,"",1e300,"")"),    // 6: too large
        QStringLiteral(R"("2003/07/25","朝",999999,"",22,"")"),   // below the bound: read
        QStringLiteral(R"("2003/07/24","朝",70,"",22,"")"),       // out of order: read in file order
        QStringLiteral(R"("昨日","朝",70,"",22,"")"),             // 9: no date
        QStringLiteral(R"("2003/13/01","朝",70,"",22,"")"),       // 10: no date
        QStringLiteral(R"("2003/07/26","朝")"),                   // 11: too few fields
        QStringLiteral(R"("2003/07/26","朝",70,"",22,"","","")"), // 12: too many fields
    };
    dir.write(files::kData, crlfLines(lines));
    const LogContents log = datalog::readLog(dir.path());
    std::vector<int> skipped;
    for (const SkippedLine& s : log.skipped)
        skipped.push_back(s.lineNumber);
    EXPECT_EQ(skipped, (std::vector<int>{1, 3, 4, 6, 9, 10, 11, 12}));
    EXPECT_TRUE(log.skipped.at(0).reason.contains(QStringLiteral("大きすぎます")));
    EXPECT_TRUE(log.skipped.at(1).reason.contains(QStringLiteral("数値ではありません")));
    ASSERT_EQ(log.records.size(), 4u);
    EXPECT_EQ(log.records[0].weight, -5.0f);
    EXPECT_EQ(log.records[1].weight, 0.0f);
    EXPECT_EQ(log.records[3].date, QStringLiteral("2003/07/24"));

    // a save keeps every skipped line byte for byte
    const QByteArray before = dir.read(files::kData);
    ASSERT_TRUE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/01"), QStringLiteral("朝"), 70)));
    const QByteArray after = dir.read(files::kData);
    const QByteArray added =
        test::sjis(datalog::formatLine(record(QStringLiteral("2003/07/01"), QStringLiteral("朝"), 70))) + "\r\n";
    EXPECT_EQ(after.size(), before.size() + added.size());
    for (const QString& line : lines)
        EXPECT_TRUE(after.contains(test::sjis(line) + "\r\n")) << line.toStdString();
}

// Lines of a megabyte are skipped and kept byte for byte, and cost no more than their bytes: a
// line of a million fields is counted, not cut into a million, and a field a reason quotes is
// cut short, so that the start-up notice stays a few lines.
TEST(BadLogLines, MegabyteLinesAreSkippedKeptAndToldInShort) {
    test::WorkDir dir;
    QByteArray huge(1 << 20, 'x');
    huge.prepend("\"2003/07/25\",\"");
    const QByteArray commas(1000000, ',');
    const QByteArray weight = "\"2003/07/25\",\"x\"," + QByteArray(1 << 20, '7') + ",\"\",22,\"\"";
    const QByteArray bad = huge + "\r\n" + commas + "\r\n" + weight + "\r\n";
    dir.write(files::kData, crlfLines({kLines.at(0)}) + bad + crlfLines({kLines.at(1)}));
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_EQ(log.records.size(), 2u);
    ASSERT_EQ(log.skipped.size(), 3u);
    EXPECT_EQ(log.skipped[0].lineNumber, 2);
    EXPECT_EQ(log.skipped[1].reason, QStringLiteral("項目が多すぎます（1000000 項目）"));
    EXPECT_EQ(log.skipped[2].reason,
              QStringLiteral("体重「%1…」が数値ではありません").arg(QString(40, QLatin1Char('7'))));
    EXPECT_LT(log.skippedNotice().size(), 1000);
    ASSERT_TRUE(datalog::appendRecord(dir.path(), record(QStringLiteral("2003/07/27"), QStringLiteral("朝"), 70)));
    ASSERT_TRUE(diary::saveComment(dir.path(), datalog::readLog(dir.path()).records, 1, QStringLiteral("日記")));
    EXPECT_TRUE(dir.read(files::kData).contains(bad));
    EXPECT_EQ(datalog::readLog(dir.path()).records.size(), 3u);
}

// Lines that end with CR alone (an old Mac editor) are lines: every record reads, and saves
// keep them all.
TEST(BadLogLines, CrOnlyLogTakesAppendsAndInserts) {
    test::WorkDir dir;
    dir.write(files::kData, test::sjis(kLines.join(QLatin1Char('\r')) + QLatin1Char('\r')));
    ASSERT_TRUE(datalog::appendRecord(dir.path(), record(QStringLiteral("2003/07/28"), QStringLiteral("朝"), 70)));
    ASSERT_TRUE(datalog::insertRecord(dir.path(), record(QStringLiteral("2003/07/01"), QStringLiteral("朝"), 71)));
    const LogContents log = datalog::readLog(dir.path());
    EXPECT_TRUE(log.skipped.empty());
    ASSERT_EQ(log.records.size(), 4u);
    EXPECT_EQ(log.records.front().date, QStringLiteral("2003/07/01"));
    EXPECT_EQ(log.records.back().date, QStringLiteral("2003/07/28"));
}

TEST(BadSettings, HugeNumbersFallBackToTheDefault) {
    test::WorkDir dir;
    dir.write(files::kTimeStamp, "1e30\r\n");
    dir.write(files::kMarker, "-1e300\r\n");
    dir.write(files::kHelpTour, "\"x\",9e99\r\n");
    const auto stamp = settings::readTimeStamp(dir.path());
    EXPECT_EQ(stamp.value, settings::kDefaultTimeStamp);
    EXPECT_TRUE(stamp.problem.contains(files::kTimeStamp));
    EXPECT_EQ(settings::readMarker(dir.path()).value, settings::kDefaultMarker);
    EXPECT_EQ(settings::readHelpTour(dir.path()).value, settings::kDefaultHelpTour);
}

// A folder the user may not write refuses every save, appends included; the writes run as a
// user for whom permission bits count.
TEST(ReadOnlyFolder, SavesAreRefusedWithTheFileNamed) {
    test::WorkDir dir;
    dir.copySample();
    const auto before = test::snapshot(dir);
    std::string why;
    const auto failures = test::runUnprivileged(
        dir,
        [&dir] {
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
            const Status append =
                datalog::appendRecord(dir.path(), record(QStringLiteral("2003/12/01"), QStringLiteral("朝"), 70));
            const Status insert =
                datalog::insertRecord(dir.path(), record(QStringLiteral("2003/08/01"), QStringLiteral("朝"), 70));
            const Status marker = settings::writeMarker(dir.path(), 2);
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            std::string out;
            for (const auto& [s, file] : {std::pair{append, files::kData}, std::pair{insert, files::kData},
                                          std::pair{marker, files::kMarker}}) {
                if (s.ok() || !s.message().contains(file) || !s.message().contains(QStringLiteral("権限")))
                    out += file.toStdString() + ": " + (s.ok() ? "saved" : s.message().toStdString()) + "\n";
            }
            return out;
        },
        &why);
    if (!failures)
        GTEST_SKIP() << why;
    EXPECT_EQ(*failures, "");
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}
