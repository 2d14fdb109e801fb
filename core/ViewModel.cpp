#include "ViewModel.h"

#include "NumberFormat.h"

namespace puka {

DiffMark diffMarkExact(float difference) {
    if (difference > 0)
        return {QStringLiteral("↑"), diffcolour::kUp};
    if (difference < 0)
        return {QStringLiteral("↓"), diffcolour::kDown};
    return {QStringLiteral("→"), diffcolour::kSame};
}

DiffMark diffMarkShown(float difference) {
    const QString shown = fmt::one(difference);
    if (shown == QLatin1String("0.0"))
        return diffMarkExact(0);
    return diffMarkExact(shown.startsWith(QLatin1Char('-')) ? -1.0f : 1.0f);
}

int GridModel::addRow() {
    const int row = bodyRows();
    cells.resize(cells.size() + columns.size());
    return row;
}

void GridModel::addRows(int count) {
    if (count <= 0)
        return;
    cells.resize(cells.size() + static_cast<size_t>(count) * columns.size());
}

void GridModel::reserve(int rows) {
    cells.reserve(static_cast<size_t>(rows) * columns.size());
}

const GridModel* ViewModel::grid(const QString& name) const {
    for (const GridModel& g : grids)
        if (g.name == name)
            return &g;
    return nullptr;
}

const ChartModel* ViewModel::chart(const QString& name) const {
    for (const ChartModel& c : charts)
        if (c.name == name)
            return &c;
    return nullptr;
}

std::optional<QString> ViewModel::label(const QString& name) const {
    for (const auto& [key, text] : labels)
        if (key == name)
            return text;
    return std::nullopt;
}

} // namespace puka
