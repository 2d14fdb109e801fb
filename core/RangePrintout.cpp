#include "RangePrintout.h"

#include <algorithm>

namespace puka::range {
namespace {

// the grid columns the page shows: date, situation; then weight, BMI, obesity degree, body fat
constexpr int kDateCol = 1;
constexpr int kSituationCol = 3;
constexpr int kValueCols[] = {4, 9, 10, 11};

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

QString printPrompt() {
    return QStringLiteral("表示中のデータを印刷しますか？ \r\n\r\n良かったらＯＫボタンを押してください");
}

QString printTitle() {
    return QStringLiteral("印刷確認");
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

std::vector<PrintOp> printout(const GridModel& grid) {
    std::vector<PrintOp> ops;
    const int rows = grid.bodyRows();
    ops.reserve(5 + 3 * static_cast<size_t>(rows));
    PrintOp picture;
    picture.kind = PrintOp::Kind::ChartPicture;
    picture.x = kChartXTwips;
    picture.y = kChartYTwips;
    ops.push_back(picture);
    PrintOp top;
    top.kind = PrintOp::Kind::SetY;
    top.y = kTextTopTwips;
    ops.push_back(top);
    PrintOp header;
    header.kind = PrintOp::Kind::PrintLine;
    header.text = printHeaderLine();
    ops.push_back(header);
    PrintOp rule;
    rule.kind = PrintOp::Kind::PrintLine;
    rule.text = printRuleLine();
    ops.push_back(rule);
    for (int r = 0; r < rows; ++r) {
        PrintOp lead;
        lead.kind = PrintOp::Kind::Print;
        lead.text = grid.cell(r, kDateCol) + ideographicBlanks(2) + grid.cell(r, kSituationCol);
        ops.push_back(lead);
        // a long situation is overprinted: the values always start at the value column
        PrintOp column;
        column.kind = PrintOp::Kind::SetX;
        column.x = kValueColumnTwips;
        ops.push_back(column);
        PrintOp values;
        values.kind = PrintOp::Kind::PrintZones;
        for (int c : kValueCols)
            values.items.append(grid.cell(r, c));
        ops.push_back(values);
    }
    return ops;
}

} // namespace puka::range
