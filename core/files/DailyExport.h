#pragma once

#include "core/base/Status.h"
#include "core/base/ViewModel.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace puka::daily {

/// The printed page of the daily averages as data, for the panel to replay onto a printer or
/// a PDF: the chart picture, then text lines in twips from the top left of the printable area.
struct AveragePrintout {
    /// One printed line: the position is set first, then the texts are printed, the first at x
    /// and each further one at the next print zone, and the position moves to the next line.
    struct Line {
        int xTwips = 0;
        std::optional<int> yTwips; ///< nothing: the line after the previous one
        QStringList zones;
    };
    /// The chart `mcrAvgtai` is drawn here at its own size, before any text.
    int chartXTwips = 0;
    int chartYTwips = 0;
    std::vector<Line> lines;
};

/// The x position of the list beside the chart on the printed page.
inline constexpr int kPrintListX = 9500;

/// The lines of "日毎平均.txt" for the grid `msgAvgtai` as shown, without line ends: the date
/// of column 1 in double quotes, a comma and the value of column 2 as a plain number (65.3,
/// 65 for 65.0, 0 for an empty cell).
QStringList exportLines(const GridModel& grid);

/**
 * cmdAvgHozon: replaces "日毎平均.txt" in @p dir with the rows of @p grid, in code page 932
 * with CR LF line ends, all at once, so that a failed write leaves the former file whole.
 * A failure is returned with its Japanese message under exportFailedTitle(); success is only reported when the whole
 * file is in place.
 */
Status exportAverages(const QString& dir, const GridModel& grid);

/// The notice after a successful export, and its title.
QString exportDoneMessage();
QString exportDoneTitle();
/// The title of the error that shows a failed export's message.
QString exportFailedTitle();

/// cmdAvgPri: the page for the grid `msgAvgtai` as shown.
AveragePrintout printout(const GridModel& grid);

} // namespace puka::daily
