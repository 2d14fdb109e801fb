#include "core/edits/DiarySave.h"

#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/TextLines.h"

namespace puka::diary {
namespace {

// What the grid row shows of a record; the comment may differ after an earlier save.
bool sameMeasurement(const WeightRecord& a, const WeightRecord& b) {
    return a.date == b.date && a.situation == b.situation && a.weight == b.weight && a.bodyFat == b.bodyFat;
}

QString staleMessage() {
    return QStringLiteral("「%1」の内容が一言日記の表示の後に変わっています。\r\n"
                          "一言日記の画面を開き直してから、もう一度保存してください。")
        .arg(files::kData);
}

} // namespace

QString guidanceText() {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("一回一回の測定ごとにちょっとしたコメントを残すことができます。") + crlf + crlf +
           QStringLiteral("すごく増えちゃった日は言い訳を書いて懺悔？し、スッキリと明日を迎えたり…") + crlf +
           QStringLiteral("すごく減った時は褒美の言葉を自分にプレゼントしたり。いろいろ使えると思います。") + crlf +
           QStringLiteral("面倒でなければちょっとした食事日記にも使えますね。") + crlf + crlf +
           QStringLiteral("気付きメモはよりフリーにいろんなことが書き込めます。") + crlf +
           QStringLiteral(
               "ご自身のダイエットの極意を書き記したり、ダイエット中に気付いたことを書き留めてもいいと思います。") +
           crlf + crlf;
}

Status saveComment(const QString& dir, const std::vector<WeightRecord>& shown, int row, const QString& comment,
                   logedits::LogChange* change) {
    const Status problem = textFieldProblem(comment, QStringLiteral("一言日記"));
    if (!problem)
        return problem;
    if (row < 1 || row > static_cast<int>(shown.size()))
        return Status::failure(
            QStringLiteral("一言日記を書き込む行が選ばれていません。\r\n一覧の行をクリックしてください。"));

    // The log must still be the one the grid shows: as many records, and the chosen one the
    // same measurement. The rewrite reads it once and checks that before writing.
    const size_t chosen = static_cast<size_t>(row - 1);
    bool sameRow = false;
    int index = 0;
    logedits::RecordCollector changed(change != nullptr);
    // Every readable record is written anew, as the grid would give it back (spare empty);
    // lines that are no measurement are not in the grid and keep their bytes.
    const Status status = datalog::rewriteLog(
        dir,
        [&](WeightRecord& r) {
            const auto before = changed.before(r);
            if (++index == row) {
                sameRow = sameMeasurement(r, shown[chosen]);
                r.comment = comment;
            }
            r.spare.clear();
            changed.after(before, r);
            return true;
        },
        [&](int records) {
            return records == static_cast<int>(shown.size()) && sameRow ? Status() : Status::failure(staleMessage());
        });
    if (change && status.inPlace())
        *change = changed.take();
    return status;
}

} // namespace puka::diary
