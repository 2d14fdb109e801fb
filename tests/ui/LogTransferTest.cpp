// The edit panel's import and export driven through the real window and the scripted dialogs.
#include "core/files/Cp932.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/RecordEditor.h"
#include "ui/controls/GridView.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace puka;
using Call = ui::ScriptedDialogs::Call;
using Kind = ui::ScriptedDialogs::Kind;

namespace {

const QString kOriginal = QStringLiteral("\"2026/12/01\",\"はじめの一歩\",61.5,\"\",26,\"\"\r\n"
                                         "\"2026/12/05\",\"起床後\",60.6,\"\",25.5,\"\"\r\n"
                                         "\"2026/12/07\",\"起床後\",60.2,\"\",25.4,\"\"\r\n");

void ownData(const test::WorkDir& dir) {
    test::writeOwnProfile(dir);
    dir.writeText(files::kData, kOriginal);
    dir.write(QStringLiteral("scale.csv"), "Date,Weight (kg),Body Fat (%)\n"
                                           "2026-11-20,62.0,26.5\n"
                                           "2026-12-07,60.0,25.3\n"
                                           "2026-12-06,60.4,25.4\n");
}

class TransferWindow : public test::Window {
public:
    TransferWindow() : test::Window(ownData) {
        start();
        click(QStringLiteral("cmdSettei"));
        takeCalls();
    }
    QString file(const QString& name) const { return QDir(dir().path()).filePath(name); }
    int todaysRows() { return find<ui::GridView>(QStringLiteral("msgDayList"))->model().bodyRows(); }
};

} // namespace

// The file, the question about the row before the start, the preview with the situation chosen
// for rows without one, the notice; the main panel shows the new rows, and undo takes the whole
// import back.
TEST(LogTransfer, ImportAsksPreviewsAndIsUndoneWhole) {
    TransferWindow t;
    ASSERT_EQ(t.todaysRows(), 1);
    t.dialogs().queueFileName(t.file(QStringLiteral("scale.csv")));
    t.dialogs().queueAnswer(ui::Dialogs::Answer::Yes);
    t.dialogs().queueImportAnswer(QStringLiteral("就寝前"));
    t.click(QStringLiteral("cmdImport"));

    const QList<Call> calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 4);
    EXPECT_EQ(calls[0].kind, Kind::OpenFileName);
    EXPECT_TRUE(calls[1].prompt.startsWith(QStringLiteral("開始記録（2026/12/01）より前の日付の行が 1 行あります。")))
        << calls[1].prompt.toStdString();
    EXPECT_EQ(calls[1].buttons, ui::Dialogs::Buttons::YesNo);
    EXPECT_EQ(calls[1].def, ui::Dialogs::DefaultButton::Second);
    const Call& preview = calls[2];
    EXPECT_EQ(preview.kind, Kind::ImportPreview);
    EXPECT_TRUE(preview.preview.asksSituation);
    EXPECT_EQ(preview.items, (QStringList{QStringLiteral("起床後"), QStringLiteral("就寝前")}));
    for (const QString& line : {QStringLiteral("列: 日付「Date」、体重「Weight (kg)」、体脂肪率「Body Fat (%)」"),
                                QStringLiteral("状況のない行: 3 行（状況は「インポート」にします）"),
                                QStringLiteral("追加する行: 3 行（2026/11/20～2026/12/07）"),
                                QStringLiteral("開始記録（2026/12/01）より前の行: 1 行（取り込み、開始日は 2026/11/20 "
                                               "になります）")})
        EXPECT_TRUE(preview.prompt.split(u'\n').contains(line)) << line.toStdString() << "\n"
                                                                << preview.prompt.toStdString();
    EXPECT_TRUE(preview.chosenText.contains(QStringLiteral("状況のない行: 3 行（状況は「就寝前」にします）")));
    EXPECT_TRUE(calls[3].prompt.startsWith(QStringLiteral("3 行を取り込みました（2026/11/20～2026/12/07）。")))
        << calls[3].prompt.toStdString();
    EXPECT_TRUE(calls[3].prompt.contains(QStringLiteral("「元に戻す」")));

    const std::vector<WeightRecord> records = datalog::readLog(t.dir().path()).records;
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records.front().date, QStringLiteral("2026/11/20"));
    EXPECT_EQ(records.back().situation, QStringLiteral("就寝前"));
    EXPECT_EQ(t.todaysRows(), 2);

    t.w().state().editor->undo();
    EXPECT_EQ(cp932::decode(t.dir().read(files::kData)), kOriginal);
    EXPECT_EQ(t.todaysRows(), 1);
}

// The export writes the encoding chosen as the file type (with the .csv the name lacked); an
// import cancelled in its preview writes nothing.
TEST(LogTransfer, ExportTakesTheTypeAsEncodingAndACancelledPreviewWritesNothing) {
    TransferWindow t;
    t.dialogs().queueFileName(t.file(QStringLiteral("記録")));
    t.dialogs().queueFileType(1);
    t.click(QStringLiteral("cmdExport"));
    QList<Call> calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].kind, Kind::SaveTarget);
    EXPECT_EQ(calls[0].defaultText, t.file(QStringLiteral("体重記録_20261207.csv")));
    EXPECT_EQ(calls[1].prompt, QStringLiteral("3 件の記録（2026/12/01～2026/12/07）を「%1」に書き出しました"
                                              "（Shift_JIS（CP932））。")
                                   .arg(t.file(QStringLiteral("記録.csv"))));
    const auto exported = cp932::decode(t.dir().read(QStringLiteral("記録.csv")));
    ASSERT_TRUE(exported.has_value());
    EXPECT_TRUE(
        exported->startsWith(QStringLiteral("日付,状況,体重(kg),体脂肪率(%),コメント\r\n2026/12/01,はじめの一歩,")))
        << exported->toStdString();

    t.dialogs().queueFileName(t.file(QStringLiteral("scale.csv")));
    t.dialogs().queueAnswer(ui::Dialogs::Answer::No);
    t.dialogs().queueImportAnswer(std::nullopt);
    t.click(QStringLiteral("cmdImport"));
    calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls[2].kind, Kind::ImportPreview);
    EXPECT_TRUE(calls[2].prompt.contains(QStringLiteral("追加する行: 2 行（2026/12/06～2026/12/07）")))
        << calls[2].prompt.toStdString();
    EXPECT_EQ(cp932::decode(t.dir().read(files::kData)), kOriginal);
    EXPECT_FALSE(t.dir().exists(QStringLiteral("バックアップ")));
}

// A folder without a diary opens on the new start; an import makes the log there instead, and the
// new start form closes, as it would put the imported records aside.
TEST(LogTransfer, ImportIntoAFolderWithoutALogStartsTheDiary) {
    test::Window t([](const test::WorkDir& dir) {
        dir.write(QStringLiteral("scale.csv"), "日付,体重\r\n2026/12/06,60.4\r\n2026/12/07,60.1\r\n");
    });
    t.start();
    t.takeCalls();
    ASSERT_TRUE(t.find<QWidget>(QStringLiteral("fraNew"))->isVisible());
    t.dialogs().queueFileName(QDir(t.dir().path()).filePath(QStringLiteral("scale.csv")));
    t.dialogs().queueImportAnswer(QString());
    t.click(QStringLiteral("cmdImport"));
    const QList<Call> calls = t.takeCalls();
    ASSERT_EQ(calls.size(), 3);
    EXPECT_TRUE(calls[1].prompt.contains(QStringLiteral("記録ファイル「データ.txt」を新しく作ります")));
    EXPECT_TRUE(calls[2].prompt.contains(QStringLiteral("「プライベートデータ」"))) << calls[2].prompt.toStdString();
    EXPECT_EQ(datalog::readLog(t.dir().path()).records.size(), 2u);
    EXPECT_FALSE(t.find<QWidget>(QStringLiteral("fraNew"))->isVisible());
    t.click(QStringLiteral("cmdMain"));
    EXPECT_EQ(t.find<ui::GridView>(QStringLiteral("msgDayList"))->model().bodyRows(), 1);
}
