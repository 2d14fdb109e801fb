#include "core/files/DailyExport.h"

#include "core/base/NumberFormat.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/TextLines.h"

namespace puka::daily {
namespace {

enum Column { Date = 1, Mean = 2 };

} // namespace

QStringList exportLines(const GridModel& grid) {
    QStringList lines;
    lines.reserve(grid.bodyRows());
    for (int r = 0; r < grid.bodyRows(); ++r) {
        // an empty mean (a day without measurement) reads as 0, like any text without a number
        const double value = leadingNumber(grid.cell(r, Mean));
        lines.append(QLatin1Char('"') + grid.cell(r, Date) + QStringLiteral("\",") + shortestText(value));
    }
    return lines;
}

namespace {

Status writeAverages(const QString& dir, const GridModel& grid) {
    const auto bytes = encodeLines(exportLines(grid));
    if (!bytes)
        return bytes.status();
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kDailyExport);
    if (!lock.locked())
        return lock.failure(path);
    return writeFileAtomic(path, *bytes);
}

} // namespace

Status exportAverages(const QString& dir, const GridModel& grid) {
    return writeAverages(dir, grid).titled(exportFailedTitle());
}

QString exportDoneMessage() {
    return QStringLiteral("日毎平均.txt のファイル名で保存しました。 エクセルなどの表計算ソフトにも読み込めます。");
}

QString exportDoneTitle() {
    return QStringLiteral("保存終了");
}

QString exportFailedTitle() {
    return QStringLiteral("保存できません");
}

AveragePrintout printout(const GridModel& grid) {
    AveragePrintout page;
    page.lines.reserve(static_cast<size_t>(grid.bodyRows()) + 2);
    page.lines.push_back({kPrintListX, 0, {QStringLiteral("\u3000日付け    \u3000  体重")}});
    page.lines.push_back({kPrintListX, std::nullopt, {QStringLiteral("-------------------")}});
    for (int r = 0; r < grid.bodyRows(); ++r)
        page.lines.push_back({kPrintListX, std::nullopt, {grid.cell(r, Date), grid.cell(r, Mean)}});
    return page;
}

} // namespace puka::daily
