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

namespace {

/// Every record with its comment, texts made when a row is shown or printed.
class DiaryRows : public GridRows {
public:
    struct Row {
        QString date;
        QString situation;
        QString comment;
        float weight;
        float bodyFat;
        float difference; ///< the weight less the previous record's, 0 after none or a weight of 0
    };
    std::vector<Row>& rows() { return m_rows; }
    int count() const override { return static_cast<int>(m_rows.size()); }
    QString text(int row, int col) const override {
        const Row& r = m_rows[static_cast<size_t>(row)];
        switch (col) {
        case 0:
            return integerText(row + 1);
        case 1:
            return r.date;
        case 2:
            return r.situation;
        case 3:
            return shortestText(r.weight);
        case 4:
            return fmt::one(r.difference);
        case 5:
            return diffMarkExact(r.difference).arrow;
        case 6:
            return shortestText(r.bodyFat);
        case 7:
            return r.comment;
        default:
            return QString();
        }
    }
    std::optional<Rgb> colour(int row, int col) const override {
        if (col != 5)
            return std::nullopt;
        return diffMarkExact(m_rows[static_cast<size_t>(row)].difference).colour;
    }

private:
    std::vector<Row> m_rows;
};

} // namespace

GridModel DSP_MEMO(const std::vector<WeightRecord>& records) {
    GridModel g = SET_MEMO_GRID();
    auto rows = std::make_shared<DiaryRows>();
    rows->rows().reserve(records.size());
    float previous = 0;
    for (const WeightRecord& r : records) {
        // the first record, and any record after a weight of 0, has no difference
        const float difference = previous == 0 ? 0.0f : r.weight - previous;
        previous = r.weight;
        rows->rows().push_back({r.date, r.situation, r.comment, r.weight, r.bodyFat, difference});
    }
    g.setRows(std::move(rows));
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
