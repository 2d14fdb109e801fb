// The import from a file and the export to one, as the window and pukapuka-log run them: the
// merge under the lock against what the log holds then, the refusals before anything is read,
// the commands' statuses and messages, and the round trip through an empty folder.
#include "tests/core/CoreTestHelpers.h"

#include "core/base/Clock.h"
#include "core/edits/ChangeHistory.h"
#include "core/edits/LogImport.h"
#include "core/files/Backups.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/LogExport.h"
#include "tools/log/LogCli.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace puka;
using test::crlfLines;

namespace {

const QString kCsv = QStringLiteral("scale.csv");

// A user's own folder: two records from 2026/12/01, not the sample data.
void ownFolder(const test::WorkDir& dir) {
    dir.write(files::kData, crlfLines({QStringLiteral(R"("2026/12/01","起床後",60.5,"",25.5,"")"),
                                       QStringLiteral(R"("2026/12/05","起床後",60,"",25,"")")}));
    dir.writeText(files::kProfile, QStringLiteral("\"氏名\",\"花子\"\r\n\"身長\",158\r\n\"目標体重\",50\r\n"));
}

QString pathIn(const test::WorkDir& dir, const QString& name) {
    return QDir(dir.path()).filePath(name);
}

QStringList logLines(const test::WorkDir& dir) {
    return cp932::decode(dir.read(files::kData)).value_or(QString()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

// Between the preview and the confirmation another program saves two measurements, one equal to
// a row of the file: the import, merged under the lock into the log as it is then, keeps both,
// counts the equal row as a duplicate, backs up that log, and is taken back whole by undo.
TEST(LogImport, TheLockedMergeKeepsWhatAnotherWriterSavedAfterThePreview) {
    test::WorkDir dir;
    ownFolder(dir);
    dir.write(kCsv, "日付,状況,体重,体脂肪率\r\n2026/12/03,起床後,60.3,25.2\r\n2026/12/06,起床後,59.9,24.9\r\n");
    const logimport::Source source = logimport::readSource(pathIn(dir, kCsv));
    ASSERT_TRUE(source.status) << source.status.message().toStdString();
    const logimport::Outcome planned = logimport::preview(dir.path(), source, false);
    ASSERT_TRUE(planned.status);
    EXPECT_EQ(planned.plan.added, 2);

    for (const QStringList& args : {QStringList{"--date", "2026/12/06", "--weight", "59.9", "--fat", "24.9"},
                                    QStringList{"--date", "2026/12/04", "--weight", "60.1", "--fat", "25"}}) {
        QProcess other;
        other.start(QStringLiteral(PUKAPUKA_LOG_TOOL),
                    QStringList{"-C", dir.path(), "--today", "2026/12/07", "add", "--situation", "起床後"} + args);
        ASSERT_TRUE(other.waitForFinished(10000));
        ASSERT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
    }
    const QByteArray written = dir.read(files::kData);

    clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
    const logimport::Outcome done = logimport::importInto(dir.path(), source, false);
    clock::setFixed(std::nullopt);
    ASSERT_TRUE(done.status) << done.status.message().toStdString();
    EXPECT_EQ(done.plan.added, 1);
    EXPECT_EQ(done.plan.duplicatesOfLog, 1);
    EXPECT_EQ(logLines(dir), (QStringList{QStringLiteral(R"("2026/12/01","起床後",60.5,"",25.5,"")"),
                                          QStringLiteral(R"("2026/12/03","起床後",60.3,"",25.2,"")"),
                                          QStringLiteral(R"("2026/12/04","起床後",60.1,"",25,"")"),
                                          QStringLiteral(R"("2026/12/05","起床後",60,"",25,"")"),
                                          QStringLiteral(R"("2026/12/06","起床後",59.9,"",24.9,"")")}));
    EXPECT_EQ(done.backupName, QStringLiteral("データ_20261207_090503.txt"));
    EXPECT_EQ(QFile(QDir(pathIn(dir, backups::folderName())).filePath(done.backupName)).size(), written.size());

    history::ChangeHistory changes;
    changes.record({QStringLiteral("インポート"), done.change, std::nullopt, true});
    ASSERT_TRUE(changes.undo(dir.path()));
    EXPECT_EQ(dir.read(files::kData), written);
    ASSERT_TRUE(changes.redo(dir.path()));
    EXPECT_EQ(logLines(dir).at(1), QStringLiteral(R"("2026/12/03","起床後",60.3,"",25.2,"")"));
}

// What cannot be imported is said before anything is read or written: a missing file, a folder,
// a pipe, a file over the size limit (a sparse one: nothing is read), the sample data.
TEST(LogImport, FilesThatCannotBeReadAreRefusedBeforeReading) {
    test::WorkDir dir;
    ownFolder(dir);
    const auto refused = [&](const QString& path, bool fileError, const QString& part) {
        const logimport::Source source = logimport::readSource(path);
        EXPECT_FALSE(source.status) << path.toStdString();
        EXPECT_EQ(source.fileError, fileError) << path.toStdString();
        EXPECT_TRUE(source.status.message().contains(part)) << source.status.message().toStdString();
    };
    refused(pathIn(dir, QStringLiteral("missing.csv")), true, QStringLiteral("見つかりません"));
    refused(dir.path(), true, QStringLiteral("フォルダです"));
    const QString pipe = pathIn(dir, QStringLiteral("pipe.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    refused(pipe, true, QStringLiteral("普通のファイルではない"));
    const QString huge = pathIn(dir, QStringLiteral("huge.csv"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(logimport::kLargestFile + 1));
    }
    refused(huge, false, QStringLiteral("大きすぎます（257 MB）"));

    test::WorkDir sample;
    sample.copySample();
    sample.write(kCsv, "date,weight\n2026-12-07,60\n");
    const QByteArray before = sample.read(files::kData);
    const logimport::Source source = logimport::readSource(pathIn(sample, kCsv));
    ASSERT_TRUE(source.status);
    for (const logimport::Outcome& o :
         {logimport::preview(sample.path(), source, false), logimport::importInto(sample.path(), source, false)}) {
        EXPECT_EQ(o.status.message(),
                  QStringLiteral("ご自身のデータでスタートする時は編集ボタンで新規スタートしてください。"));
        EXPECT_FALSE(o.fileError);
    }
    EXPECT_EQ(sample.read(files::kData), before);
    EXPECT_FALSE(sample.exists(backups::folderName()));
}

// An export named like one of the program's files, in the working folder in any letter case or
// through a link to one, is refused; the file stays as it was.
TEST(LogExport, NeverReplacesTheProgramsOwnFiles) {
    test::WorkDir dir;
    ownFolder(dir);
    test::WorkDir elsewhere;
    const QString link = pathIn(elsewhere, QStringLiteral("link.csv"));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(pathIn(dir, files::kProfile)).constData(), QFile::encodeName(link).constData()), 0);
    const auto before = test::snapshot(dir);
    for (const QString& path : {pathIn(dir, files::kData), pathIn(dir, QStringLiteral("データ.TXT")),
                                pathIn(dir, QStringLiteral("状況リスト.TXT")), link}) {
        const logexport::Outcome o = logexport::exportToFile(dir.path(), path, csvexport::Encoding::Utf8);
        EXPECT_TRUE(o.status.message().contains(QStringLiteral("このソフトのデータのファイルです")))
            << path.toStdString() << ": " << o.status.message().toStdString();
    }
    EXPECT_TRUE(test::sameFiles(before, test::snapshot(dir)));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

// import and export with the contract's statuses: 0 written (one line on standard output), 1 a
// check refused it (the window's text), 2 a usage error or a file that cannot be read.
TEST(LogImportCommand, AnswersWithTheContractsStatusesAndWritesOnlyOnZero) {
    test::WorkDir dir;
    ownFolder(dir);
    dir.write(kCsv, "Date,Time,Weight (lb),Body Fat (%)\n"
                    "2026-11-28,07:10,134.0,25.9\n"
                    "2026-12-03,07:12,133.2,25.4\n"
                    "2026-12-32,07:00,133,25\n");
    dir.write(QStringLiteral("notes.txt"), "just some words\n");
    const auto run = [&](const QStringList& args, int status) {
        const QByteArray before = dir.read(files::kData);
        const test::ToolRun r = test::runLog(dir, args);
        EXPECT_EQ(r.status, status) << args.join(u' ').toStdString() << ": " << r.err.toStdString();
        if (status != 0 || args.contains(QStringLiteral("--dry-run"))) {
            EXPECT_EQ(dir.read(files::kData), before) << args.join(u' ').toStdString();
        }
        if (status == 2) {
            EXPECT_TRUE(r.err.startsWith(QStringLiteral("pukapuka-log: ")) && r.err.count(u'\n') == 1)
                << r.err.toStdString();
        }
        return r;
    };
    const QString import = QStringLiteral("import");
    const QString csv = pathIn(dir, kCsv);
    run({import}, 2);
    run({import, QStringLiteral("missing.csv")}, 2);
    run({import, csv, QStringLiteral("--unit"), QStringLiteral("st")}, 2);
    run({import, csv, QStringLiteral("--situation"), QStringLiteral("朝\"")}, 1);
    test::ToolRun r = run({import, pathIn(dir, QStringLiteral("notes.txt"))}, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("取り込める表が見つかりません"))) << r.err.toStdString();

    r = run({import, csv, QStringLiteral("--dry-run")}, 0);
    for (const QString& line : {QStringLiteral("単位: lb（kg に換算し、0.01 kg に丸めます）"),
                                QStringLiteral("　4 行目: 日付「2026-12-32」はありえない日付です"),
                                QStringLiteral("追加する行: 1 行（2026/12/03～2026/12/03）"),
                                QStringLiteral("開始記録（2026/12/01）より前の行: 1 行（取り込みません）"),
                                QStringLiteral("（開始記録より前の行は --yes を付けると取り込みます）")})
        EXPECT_TRUE(r.out.split(u'\n').contains(line)) << line.toStdString() << "\n" << r.out.toStdString();
    // the row before the start is the window's question, answered by --yes
    r = run({import, csv}, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("開始記録（2026/12/01）より前の日付の行が 1 行あります。")))
        << r.err.toStdString();
    r = run({import, csv, QStringLiteral("--yes"), QStringLiteral("--situation"), QStringLiteral("朝")}, 0);
    EXPECT_EQ(r.out,
              QStringLiteral("2 行を取り込みました（2026/11/28～2026/12/03）。取り込まなかった行: 読めない 1 行。"
                             "開始日は 2026/11/28 になりました\n"));
    EXPECT_EQ(r.err, QStringLiteral("4 行目: 日付「2026-12-32」はありえない日付です\n"));
    EXPECT_EQ(logLines(dir).first(), QStringLiteral(R"("2026/11/28","朝",60.78,"",25.9,"")"));
    r = run({import, csv, QStringLiteral("--yes"), QStringLiteral("--situation"), QStringLiteral("朝")}, 0);
    EXPECT_TRUE(
        r.out.startsWith(QStringLiteral("取り込む行はありませんでした（記録は変わりません）。取り込まなかった行: "
                                        "重複 2 行")))
        << r.out.toStdString();

    const QString exportCommand = QStringLiteral("export");
    run({exportCommand, QStringLiteral("--encoding"), QStringLiteral("latin1")}, 2);
    run({exportCommand, QStringLiteral("--output")}, 2);
    run({exportCommand, QStringLiteral("--output"), pathIn(dir, files::kData)}, 1);
    r = run({exportCommand}, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("日付,状況,体重(kg),体脂肪率(%),コメント\r\n2026/11/28,朝,60.78,")))
        << r.out.toStdString();
    const QString out = pathIn(dir, QStringLiteral("out.csv"));
    r = run({exportCommand, QStringLiteral("--output"), out}, 0);
    EXPECT_EQ(r.out,
              QStringLiteral("4 件の記録（2026/11/28～2026/12/05）を「%1」に書き出しました（UTF-8（BOM 付き））\n")
                  .arg(QDir::toNativeSeparators(out)));
    EXPECT_TRUE(dir.read(QStringLiteral("out.csv")).startsWith("\xEF\xBB\xBF日付,"));
    test::WorkDir empty;
    EXPECT_EQ(test::runLog(empty, {exportCommand}).status, 1);
}

// Every record exported, in either encoding, and imported into an empty folder gives the same
// records: texts that need quotes, a leading '=' a spreadsheet would compute, characters only
// code page 932 holds, a day with several measurements, a body fat of 0.
TEST(LogExport, ExportThenImportIntoAnEmptyFolderGivesTheSameRecords) {
    test::WorkDir dir;
    dir.write(files::kData, crlfLines({QStringLiteral(R"("2026/11/30","はじめの一歩",75.5,"",22.3,"")"),
                                       QStringLiteral(R"("2026/12/01","起床後",75.15,"朝食前, 散歩のあと",22.6,"")"),
                                       QStringLiteral(R"("2026/12/01","夕食後",76,"=1+2 ①～髙",0,"")"),
                                       QStringLiteral(R"("2026/12/01","7:05:09",75.9,"  前後に空白  ",22.5,"")"),
                                       QStringLiteral(R"("2026/12/03","'引用",74.8,"”全角の引用符”",22.2,"")")}));
    const std::vector<WeightRecord> records = datalog::readLog(dir.path()).records;
    ASSERT_EQ(records.size(), 5u);
    for (const QString& encoding : {QStringLiteral("utf-8"), QStringLiteral("cp932")}) {
        SCOPED_TRACE(encoding.toStdString());
        test::WorkDir target;
        const QString file = pathIn(target, QStringLiteral("記録.csv"));
        ASSERT_EQ(test::runLog(dir, {"export", "--output", file, "--encoding", encoding}).status, 0);
        const test::ToolRun r = test::runLog(target, {"import", file});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        EXPECT_EQ(datalog::readLog(target.path()).records, records);
    }
}
