#include "DiaryView.h"

#include "NumberFormat.h"

namespace puka::diary {

GridModel SET_MEMO_GRID() {
    GridModel g;
    g.name = QStringLiteral("msgMemoList");
    g.fixedCols = 1;
    g.fontPt = 9;
    g.columns = {
        {QStringLiteral("回数"), 580, Align::RightCenter},
        {QStringLiteral("日付"), 1090, Align::CenterCenter},
        {QStringLiteral("行動"), 1840, Align::LeftCenter},
        {QStringLiteral("体重"), 550, Align::RightCenter},
        {QStringLiteral("前差"), 550, Align::RightCenter},
        {QStringLiteral("差"), 330, Align::CenterCenter},
        {QStringLiteral("脂肪"), 550, Align::RightCenter},
        {QStringLiteral("一言日記（言い訳など）"), 5560, Align::LeftCenter},
    };
    return g;
}

GridModel DSP_MEMO(const std::vector<WeightRecord>& records) {
    GridModel g = SET_MEMO_GRID();
    g.reserve(static_cast<int>(records.size()));
    static const DiffMark kUp = diffMarkExact(1.0f);
    static const DiffMark kDown = diffMarkExact(-1.0f);
    static const DiffMark kSame = diffMarkExact(0.0f);
    float previous = 0;
    int i = 1;
    for (const WeightRecord& r : records) {
        const int row = g.addRow();
        // the first record, and any record after a weight of 0, has no difference
        const float difference = previous == 0 ? 0.0f : r.weight - previous;
        previous = r.weight;
        const DiffMark& mark = difference > 0 ? kUp : difference < 0 ? kDown : kSame;
        g.cell(row, 0) = countText(i);
        g.cell(row, 1) = r.date;
        g.cell(row, 2) = r.situation;
        g.cell(row, 3) = shortestText(r.weight);
        g.cell(row, 4) = fmt::one(difference);
        g.cell(row, 5) = mark.arrow;
        g.setColour(row, 5, mark.colour);
        g.cell(row, 6) = shortestText(r.bodyFat);
        g.cell(row, 7) = r.comment;
        ++i;
    }
    // more than 16 rows (15 records): show the end of the log
    if (g.bodyRows() + 1 > 16)
        g.topRow = g.bodyRows();
    return g;
}

ViewModel view(const LogContents& log) {
    ViewModel v;
    v.view = QStringLiteral("diary");
    v.grids.push_back(DSP_MEMO(log.records));
    return v;
}

} // namespace puka::diary
