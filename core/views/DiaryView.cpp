#include "core/views/DiaryView.h"

#include "core/base/NumberFormat.h"

namespace puka::diary {

GridModel emptyDiaryList() {
    GridModel g;
    g.name = QStringLiteral("msgMemoList");
    g.fixedColumns = 1;
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
    explicit DiaryRows(SharedRecords records) : m_records(std::move(records)) {}
    int count() const override { return static_cast<int>(m_records->size()); }
    void appendText(int row, int column, TextBuffer* out) const override {
        const WeightRecord& r = (*m_records)[static_cast<size_t>(row)];
        switch (column) {
        case 0:
            appendInteger(out, row + 1);
            return;
        case 1:
            out->append(r.date);
            return;
        case 2:
            out->append(r.situation);
            return;
        case 3:
            out->append(shortestText(r.weight));
            return;
        case 4:
            out->append(formats::one(difference(row)));
            return;
        case 5:
            out->append(differenceMarkExact(difference(row)).arrow);
            return;
        case 6:
            out->append(shortestText(r.bodyFat));
            return;
        case 7:
            out->append(r.comment);
            return;
        default:
            return;
        }
    }
    std::optional<Rgb> colour(int row, int column) const override {
        if (column != 5)
            return std::nullopt;
        return differenceMarkExact(difference(row)).colour;
    }

private:
    // the first record, and any record after a weight of 0, has no difference
    float difference(int row) const {
        const float previous = row > 0 ? (*m_records)[static_cast<size_t>(row) - 1].weight : 0.0f;
        return previous == 0 ? 0.0f : (*m_records)[static_cast<size_t>(row)].weight - previous;
    }

    SharedRecords m_records;
};

} // namespace

GridModel buildDiaryList(const SharedRecords& records) {
    GridModel g = emptyDiaryList();
    g.setRows(std::make_shared<DiaryRows>(records));
    // more than 16 rows (15 records): show the end of the log
    if (g.bodyRows() + 1 > 16)
        g.topRow = g.bodyRows();
    return g;
}

GridModel buildDiaryList(const std::vector<WeightRecord>& records) {
    return buildDiaryList(std::make_shared<const std::vector<WeightRecord>>(records));
}

ViewModel view(const std::shared_ptr<const LogContents>& log) {
    ViewModel v;
    v.view = QStringLiteral("diary");
    v.grids.push_back(buildDiaryList(SharedRecords(log, &log->records)));
    return v;
}

} // namespace puka::diary
