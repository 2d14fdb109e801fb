#include "tests/core/CoreTestHelpers.h"

#include "core/base/NumberFormat.h"
#include "core/files/FileNames.h"
#include "core/files/Settings.h"

#include <gtest/gtest.h>

#include <functional>

using namespace puka;
using test::crlfLines;

namespace {

// One setting as read, its value rendered as text so that all seven files compare alike.
struct ReadBack {
    QString file;
    QString value;
    bool missing = false;
    bool problem = false;
};

template <class T> ReadBack readBack(const QString& file, const Setting<T>& s, const QString& value) {
    return {file, value, s.missing, !s.problem.isEmpty()};
}

std::vector<ReadBack> readAll(const QString& dir) {
    using namespace settings;
    const auto help = readHelpTour(dir);
    const auto steps = readSteps(dir);
    const auto stamp = readTimeStamp(dir);
    const auto window = readMovingAverage(dir);
    const auto profile = readProfile(dir);
    const auto notes = readNotes(dir);
    const auto marker = readMarker(dir);
    return {
        readBack(files::kHelpTour, help, QString::number(help.value)),
        readBack(files::kSteps, steps, steps.value.weightStep + QLatin1Char('|') + steps.value.fatStep),
        readBack(files::kTimeStamp, stamp, QString::number(stamp.value)),
        readBack(files::kMovingAverage, window, window.value),
        readBack(files::kProfile, profile,
                 profile.value.userName + QLatin1Char('|') + shortestText(profile.value.height) + QLatin1Char('|') +
                     shortestText(profile.value.targetWeight)),
        readBack(files::kNotes, notes, notes.value),
        readBack(files::kMarker, marker, QString::number(marker.value)),
    };
}

const QStringList kDefaults = {QStringLiteral("1"),  QStringLiteral("0.1|0.1"), QStringLiteral("0"),
                               QStringLiteral("10"), QStringLiteral("|0|0"),    QString(),
                               QStringLiteral("1")};

QString otherCase(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString ext = name.mid(dot + 1);
    return name.left(dot + 1) + (ext == ext.toUpper() ? ext.toLower() : ext.toUpper());
}

} // namespace

TEST(SettingsRead, MissingFilesGiveTheDefaultsSilently) {
    test::WorkDir dir;
    const auto read = readAll(dir.path());
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].value, kDefaults[i]) << read[i].file.toStdString();
        EXPECT_TRUE(read[i].missing) << read[i].file.toStdString();
        EXPECT_FALSE(read[i].problem) << read[i].file.toStdString();
    }
}

TEST(SettingsRead, EmptyFilesGiveTheDefaultsAndAProblemExceptTheEmptyMemo) {
    test::WorkDir dir;
    for (const ReadBack& r : readAll(dir.path()))
        dir.write(r.file, QByteArray());
    const auto read = readAll(dir.path());
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].value, kDefaults[i]) << read[i].file.toStdString();
        EXPECT_FALSE(read[i].missing) << read[i].file.toStdString();
        EXPECT_EQ(read[i].problem, read[i].file != files::kNotes) << read[i].file.toStdString();
    }
}

TEST(SettingsRead, GarbageGivesTheDefaultsAndAProblem) {
    test::WorkDir dir;
    dir.write(files::kHelpTour, "garbage\r\n");
    dir.write(files::kSteps, "0.2\r\n");
    dir.write(files::kTimeStamp, " 7 \r\n");
    dir.write(files::kMovingAverage, "\x82\r\n");
    dir.write(files::kProfile, crlfLines({QStringLiteral(R"("氏名","太郎")"), QStringLiteral(R"("身長",abc)")}));
    dir.write(files::kNotes, "\x82\r\n" + test::sjis(QStringLiteral("読める行")) + "\r\n");
    dir.write(files::kMarker, "3\r\n");
    const auto read = readAll(dir.path());
    const QStringList expected = {QStringLiteral("1"),  QStringLiteral("0.1|0.1"),  QStringLiteral("0"),
                                  QStringLiteral("10"), QStringLiteral("太郎|0|0"), QStringLiteral("読める行"),
                                  QStringLiteral("1")};
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].value, expected[i]) << read[i].file.toStdString();
        EXPECT_TRUE(read[i].problem) << read[i].file.toStdString();
        EXPECT_FALSE(read[i].missing);
    }
}

TEST(SettingsRead, ProfileTakesTheSecondFieldOfThreeLinesByPosition) {
    test::WorkDir dir;
    dir.write(files::kProfile, crlfLines({QStringLiteral(R"("name","ｔ＆Ｔ")"), QStringLiteral(R"("x", 168.5 )"),
                                          QStringLiteral(R"("y",65)"), QStringLiteral("余計な行")}));
    const auto p = settings::readProfile(dir.path());
    EXPECT_EQ(p.value.userName, QStringLiteral("ｔ＆Ｔ"));
    EXPECT_EQ(p.value.height, 168.5f);
    EXPECT_EQ(p.value.targetWeight, 65.0f);
    EXPECT_TRUE(p.problem.isEmpty()) << p.problem.toStdString();
}

TEST(SettingsWrite, EachWriterWritesItsLinesAndReadsBack) {
    using namespace settings;
    test::WorkDir dir;
    ASSERT_TRUE(writeHelpTour(dir.path(), 0));
    ASSERT_TRUE(writeSteps(dir.path(), {QStringLiteral("0.10"), QStringLiteral("0.5")}));
    ASSERT_TRUE(writeTimeStamp(dir.path(), 1));
    ASSERT_TRUE(writeMovingAverage(dir.path(), QStringLiteral("45")));
    ASSERT_TRUE(writeProfile(dir.path(), {QStringLiteral("山田 花子"), 160.5f, 52.0f}));
    ASSERT_TRUE(writeNotes(dir.path(), QStringLiteral("一行目\r\n\r\n三行目")));
    ASSERT_TRUE(writeMarker(dir.path(), 2));

    EXPECT_EQ(dir.read(files::kHelpTour), crlfLines({QStringLiteral(R"("ヘルプツアー",0)")}));
    EXPECT_EQ(dir.read(files::kSteps), "0.10\r\n0.5\r\n");
    EXPECT_EQ(dir.read(files::kTimeStamp), " 1 \r\n");
    EXPECT_EQ(dir.read(files::kMovingAverage), "45\r\n");
    EXPECT_EQ(dir.read(files::kProfile),
              crlfLines({QStringLiteral(R"("氏名","山田 花子")"), QStringLiteral(R"("身長",160.5)"),
                         QStringLiteral(R"("目標体重",52)")}));
    EXPECT_EQ(dir.read(files::kNotes), crlfLines({QStringLiteral("一行目"), QString(), QStringLiteral("三行目")}));
    EXPECT_EQ(dir.read(files::kMarker), "2\r\n");

    // the steps stay texts: "0.10" is not "0.1"
    const QStringList expected = {
        QStringLiteral("0"),  QStringLiteral("0.10|0.5"),           QStringLiteral("1"),
        QStringLiteral("45"), QStringLiteral("山田 花子|160.5|52"), QStringLiteral("一行目\r\n\r\n三行目"),
        QStringLiteral("2")};
    const auto read = readAll(dir.path());
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].value, expected[i]) << read[i].file.toStdString();
        EXPECT_FALSE(read[i].problem) << read[i].file.toStdString();
    }
    EXPECT_EQ(dir.files().size(), 7);
}

namespace {

void expectStepsReadBack(const char* weight, const char* fat) {
    test::WorkDir dir;
    const Steps written{QString::fromLatin1(weight), QString::fromLatin1(fat)};
    // the steps file holds whatever step the user typed; only an empty one is refused
    const Status s = settings::writeSteps(dir.path(), written);
    ASSERT_TRUE(s) << weight << " / " << fat << ": " << s.message().toStdString();
    const auto read = settings::readSteps(dir.path());
    EXPECT_EQ(read.value.weightStep, written.weightStep) << weight << " / " << fat;
    EXPECT_EQ(read.value.fatStep, written.fatStep) << weight << " / " << fat;
}

} // namespace

TEST(SettingsWrite, FreeStepsReadBackAsWritten) {
    expectStepsReadBack("abc", "0.2");
    expectStepsReadBack("0.3", "1");
}

TEST(SettingsWrite, EmptyStepIsRefusedAndTheFileKept) {
    test::WorkDir dir;
    ASSERT_TRUE(settings::writeSteps(dir.path(), Steps{QStringLiteral("0.2"), QStringLiteral("0.5")}));
    const QByteArray before = dir.read(files::kSteps);
    EXPECT_FALSE(settings::writeSteps(dir.path(), Steps{QString(), QStringLiteral("0.5")}));
    EXPECT_FALSE(settings::writeSteps(dir.path(), Steps{QStringLiteral("0.5"), QStringLiteral(" ")}));
    EXPECT_EQ(dir.read(files::kSteps), before);
}

TEST(SettingsWrite, SampleSettingsWrittenBackGiveTheSameBytes) {
    using namespace settings;
    test::WorkDir dir;
    dir.copySample();
    const auto before = test::snapshot(dir);
    const QString d = dir.path();
    ASSERT_TRUE(writeHelpTour(d, readHelpTour(d).value));
    ASSERT_TRUE(writeSteps(d, readSteps(d).value));
    ASSERT_TRUE(writeTimeStamp(d, readTimeStamp(d).value));
    ASSERT_TRUE(writeMovingAverage(d, readMovingAverage(d).value));
    ASSERT_TRUE(writeProfile(d, readProfile(d).value));
    ASSERT_TRUE(writeNotes(d, readNotes(d).value));
    ASSERT_TRUE(writeMarker(d, readMarker(d).value));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    EXPECT_EQ(readProfile(d).value.userName, QStringLiteral("ｔ＆Ｔ"));
}

TEST(SettingsWrite, ExistingFileWithOtherCaseExtensionIsRewrittenInPlace) {
    using namespace settings;
    const std::pair<QString, std::function<Status(const QString&)>> writers[] = {
        {files::kHelpTour, [](const QString& d) { return writeHelpTour(d, 0); }},
        {files::kSteps,
         [](const QString& d) {
             return writeSteps(d, {QStringLiteral("0.2"), QStringLiteral("0.5")});
         }},
        {files::kTimeStamp, [](const QString& d) { return writeTimeStamp(d, 1); }},
        {files::kMovingAverage, [](const QString& d) { return writeMovingAverage(d, QStringLiteral("7")); }},
        {files::kProfile,
         [](const QString& d) {
             return writeProfile(d, {QStringLiteral("花子"), 150, 45});
         }},
        {files::kNotes, [](const QString& d) { return writeNotes(d, QStringLiteral("メモ")); }},
        {files::kMarker, [](const QString& d) { return writeMarker(d, 0); }},
    };
    test::WorkDir dir;
    for (const auto& [name, write] : writers)
        dir.write(otherCase(name), "old\r\n");
    for (const auto& [name, write] : writers)
        ASSERT_TRUE(write(dir.path())) << name.toStdString();
    for (const auto& [name, write] : writers) {
        EXPECT_TRUE(dir.exists(otherCase(name))) << name.toStdString();
        EXPECT_NE(dir.read(otherCase(name)), "old\r\n") << name.toStdString();
        EXPECT_FALSE(dir.exists(name)) << name.toStdString();
    }
    EXPECT_EQ(dir.files().size(), 7);
    for (const ReadBack& r : readAll(dir.path()))
        EXPECT_FALSE(r.problem) << r.file.toStdString();
}

TEST(SettingsWrite, NotesMemoReadsBackExactlyAsSaved) {
    test::WorkDir dir;
    for (const QString& text :
         {QString(), QStringLiteral("一行"), QStringLiteral("一\r\n\r\n三"), QStringLiteral("最後に空行\r\n"),
          QStringLiteral("\r\n\r\n"), QStringLiteral("  字下げ\t\r\n末尾の空白  \r\n\r\n"),
          QStringLiteral("\"引用\",カンマ")}) {
        ASSERT_TRUE(settings::writeNotes(dir.path(), text));
        const auto read = settings::readNotes(dir.path());
        EXPECT_EQ(read.value, text);
        EXPECT_TRUE(read.problem.isEmpty());
    }
}

TEST(SettingsWrite, RefusedTextsLeaveTheFilesUnchanged) {
    using namespace settings;
    test::WorkDir dir;
    dir.copySample();
    const auto before = test::snapshot(dir);
    const Status name = writeProfile(dir.path(), {QStringLiteral("ｔ\"Ｔ"), 168.5f, 65});
    const Status memo = writeNotes(dir.path(), QStringLiteral("がんばる💪"));
    const Status steps = writeSteps(dir.path(), {QStringLiteral("0.1"), QStringLiteral("0.1\r\n0.2")});
    const Status window = writeMovingAverage(dir.path(), QStringLiteral("7\""));
    for (const Status* s : {&name, &memo, &steps, &window}) {
        EXPECT_FALSE(s->ok());
        EXPECT_FALSE(s->message().isEmpty());
    }
    EXPECT_TRUE(memo.message().contains(QStringLiteral("💪")));
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
}

TEST(SettingsTitle, EmptyNameAndNamedCaption) {
    EXPECT_EQ(settings::windowCaption(QString()), QStringLiteral(" Pukapuka☆ダイエット"));
    EXPECT_EQ(settings::windowCaption(QStringLiteral("ｔ＆Ｔ")), QStringLiteral(" ｔ＆Ｔ の Pukapuka☆ダイエット"));
}
