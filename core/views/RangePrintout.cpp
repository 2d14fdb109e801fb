#include "core/views/RangePrintout.h"

#include <algorithm>

namespace puka::range {
namespace {

// the grid columns the page shows: date, situation; then weight, BMI, obesity degree, body fat
constexpr int kDateColumn = 1;
constexpr int kSituationColumn = 3;
constexpr int kValueColumns[] = {4, 9, 10, 11};

QString ideographicBlanks(int count) {
    return QString(count, QChar(0x3000));
}

QString asciiBlanks(int count) {
    return QString(count, QLatin1Char(' '));
}

} // namespace

QString printHeaderLine() {
    // the blanks line the titles up over the values, so each run is kept exactly
    return ideographicBlanks(1) + QStringLiteral("日付け") + asciiBlanks(4) + ideographicBlanks(2) + asciiBlanks(2) +
           QStringLiteral("状況") + ideographicBlanks(3) + asciiBlanks(4) + ideographicBlanks(1) + asciiBlanks(2) +
           ideographicBlanks(2) + asciiBlanks(2) + ideographicBlanks(3) + QStringLiteral("体重") +
           ideographicBlanks(1) + asciiBlanks(2) + ideographicBlanks(2) + QStringLiteral("ＢＭＩ") +
           ideographicBlanks(1) + asciiBlanks(4) + ideographicBlanks(2) + QStringLiteral("肥満度") + asciiBlanks(1) +
           ideographicBlanks(1) + asciiBlanks(2) + QStringLiteral("体脂肪率");
}

QString printRuleLine() {
    return QString(68, QLatin1Char('-'));
}

QSize chartPictureSize(const QSize& ownTwips) {
    if (ownTwips.width() <= 0 || ownTwips.height() <= 0)
        return QSize();
    const int maxHeight = kTextTopTwips - kChartYTwips - kChartGapTwips;
    const double scale = std::min({1.0, static_cast<double>(maxHeight) / ownTwips.height(),
                                   static_cast<double>(kChartMaxWidthTwips) / ownTwips.width()});
    // rounding down keeps the scaled picture inside both bounds
    return QSize(std::max(1, static_cast<int>(ownTwips.width() * scale)),
                 std::max(1, static_cast<int>(ownTwips.height() * scale)));
}

std::vector<PrintOperation> printout(const GridModel& grid) {
    std::vector<PrintOperation> operations;
    const int rows = grid.bodyRows();
    operations.reserve(5 + 3 * static_cast<size_t>(rows));
    PrintOperation picture;
    picture.kind = PrintOperation::Kind::ChartPicture;
    picture.x = kChartXTwips;
    picture.y = kChartYTwips;
    operations.push_back(picture);
    PrintOperation top;
    top.kind = PrintOperation::Kind::SetY;
    top.y = kTextTopTwips;
    operations.push_back(top);
    PrintOperation header;
    header.kind = PrintOperation::Kind::PrintLine;
    header.text = printHeaderLine();
    operations.push_back(header);
    PrintOperation rule;
    rule.kind = PrintOperation::Kind::PrintLine;
    rule.text = printRuleLine();
    operations.push_back(rule);
    for (int r = 0; r < rows; ++r) {
        PrintOperation lead;
        lead.kind = PrintOperation::Kind::Print;
        lead.text = grid.cell(r, kDateColumn) + ideographicBlanks(2) + grid.cell(r, kSituationColumn);
        operations.push_back(lead);
        // a long situation is overprinted: the values always start at the value column
        PrintOperation column;
        column.kind = PrintOperation::Kind::SetX;
        column.x = kValueColumnTwips;
        operations.push_back(column);
        PrintOperation values;
        values.kind = PrintOperation::Kind::PrintZones;
        for (int c : kValueColumns)
            values.items.append(grid.cell(r, c));
        operations.push_back(values);
    }
    return operations;
}

} // namespace puka::range
