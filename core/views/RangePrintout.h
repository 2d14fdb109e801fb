#pragma once

#include "core/base/ViewModel.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <vector>

namespace puka::range {

/// One step of the range printout, replayed in order onto a page with a current position.
struct PrintOperation {
    enum class Kind {
        ChartPicture, ///< set the print position to (x, y) and draw the chart as currently shown
                      ///< there, at its own size
        SetX,         ///< set the horizontal print position to x
        SetY,         ///< set the vertical print position to y
        Print,        ///< print text at the current position and stay on the line
        PrintLine,    ///< print text at the current position and go to the start of the next line
        PrintZones,   ///< print items, the first at the current position and each further one at
                      ///< the next print zone, then go to the start of the next line
    };
    Kind kind = Kind::Print;
    int x = 0; ///< twips from the left of the printable area
    int y = 0; ///< twips from the top of the printable area
    QString text;
    QStringList items;
};

/// The top left corner of the chart picture, in twips.
inline constexpr int kChartXTwips = 0;
inline constexpr int kChartYTwips = 0;
/// The vertical position of the header line, in twips.
inline constexpr int kTextTopTwips = 5000;
/// Where the first value of each row starts, in twips.
inline constexpr int kValueColumnTwips = 3000;
/// Print zones begin every this many average character widths from the left margin.
inline constexpr int kZoneColumns = 14;
/// The least room left between the chart picture and the header line, in twips.
inline constexpr int kChartGapTwips = 200;
/// The widest the chart picture is drawn, in twips: what A4 and Letter paper both print.
inline constexpr int kChartMaxWidthTwips = 10000;

/// The header line of the table: ideographic and ASCII blanks between the titles.
QString printHeaderLine();
/// The rule line under the header: 68 hyphen-minus characters.
QString printRuleLine();

/**
 * The size in twips the chart picture is drawn at, from its own size @p ownTwips: its own size
 * where that fits, else scaled down with its proportions kept so that it ends above the header
 * line and within the paper's width. A chart shown large on the screen would otherwise cover
 * the table printed under it.
 */
QSize chartPictureSize(const QSize& ownTwips);

/**
 * The printed page of the range view from the grid `msgBunseki` as a build filled it: the
 * chart picture, the header and rule lines, then for every listed row the date, two
 * ideographic blanks and the situation, and from the value column the weight, BMI, obesity
 * degree and body fat in print zones. The values are the grid's texts, so the page shows
 * exactly the current list in its order and formats.
 */
std::vector<PrintOperation> printout(const GridModel& grid);

} // namespace puka::range
