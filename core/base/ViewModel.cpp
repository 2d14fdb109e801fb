#include "core/base/ViewModel.h"

#include "core/base/NumberFormat.h"

namespace puka {

DifferenceMark differenceMarkExact(float difference) {
    if (difference > 0)
        return {QStringLiteral("↑"), differencecolour::kUp};
    if (difference < 0)
        return {QStringLiteral("↓"), differencecolour::kDown};
    return {QStringLiteral("→"), differencecolour::kSame};
}

DifferenceMark differenceMarkShown(float difference) {
    const QString shown = formats::one(difference);
    if (shown == QLatin1String("0.0"))
        return differenceMarkExact(0);
    return differenceMarkExact(shown.startsWith(QLatin1Char('-')) ? -1.0f : 1.0f);
}

int GridModel::bodyRows() const {
    if (m_rows)
        return m_rows->count();
    return columns.empty() ? 0 : static_cast<int>(m_cells.size() / columns.size());
}

QString GridModel::cell(int bodyRow, int column) const {
    if (!m_rows)
        return m_cells[at(bodyRow, column)];
    if (!m_changedTexts.empty()) {
        const auto changed = m_changedTexts.find(at(bodyRow, column));
        if (changed != m_changedTexts.end())
            return changed->second;
    }
    return m_rows->text(bodyRow, column);
}

void GridModel::appendCell(int bodyRow, int column, TextBuffer* out) const {
    if (!m_rows) {
        out->append(m_cells[at(bodyRow, column)]);
        return;
    }
    if (!m_changedTexts.empty()) {
        const auto changed = m_changedTexts.find(at(bodyRow, column));
        if (changed != m_changedTexts.end()) {
            out->append(changed->second);
            return;
        }
    }
    m_rows->appendText(bodyRow, column, out);
}

std::optional<Rgb> GridModel::colour(int bodyRow, int column) const {
    const size_t i = at(bodyRow, column);
    std::uint32_t c = 0;
    if (!m_rows) {
        c = i < m_colours.size() ? m_colours[i] : 0;
    } else {
        const auto changed = m_changedColours.find(i);
        if (changed == m_changedColours.end())
            return m_rows->colour(bodyRow, column);
        c = changed->second;
    }
    return c ? std::optional<Rgb>(c & 0xFFFFFFu) : std::nullopt;
}

void GridModel::setCell(int bodyRow, int column, const QString& text) {
    if (m_rows)
        m_changedTexts[at(bodyRow, column)] = text;
    else
        m_cells[at(bodyRow, column)] = text;
}

void GridModel::setColour(int bodyRow, int column, Rgb colour) {
    const std::uint32_t c = 0xFF000000u | colour;
    if (m_rows) {
        m_changedColours[at(bodyRow, column)] = c;
        return;
    }
    if (m_colours.size() < m_cells.size())
        m_colours.resize(m_cells.size(), 0);
    m_colours[at(bodyRow, column)] = c;
}

void GridModel::clearColour(int bodyRow, int column) {
    if (m_rows) {
        m_changedColours[at(bodyRow, column)] = 0;
        return;
    }
    if (at(bodyRow, column) < m_colours.size())
        m_colours[at(bodyRow, column)] = 0;
}

int GridModel::addRow() {
    const int row = bodyRows();
    m_cells.resize(m_cells.size() + columns.size());
    return row;
}

void GridModel::addRows(int count) {
    if (count <= 0)
        return;
    m_cells.resize(m_cells.size() + static_cast<size_t>(count) * columns.size());
}

void GridModel::reserve(int rows) {
    m_cells.reserve(static_cast<size_t>(rows) * columns.size());
}

void GridModel::clearRows() {
    setRows(nullptr);
}

void GridModel::setRows(std::shared_ptr<const GridRows> rows) {
    m_rows = std::move(rows);
    m_cells.clear();
    m_colours.clear();
    m_changedTexts.clear();
    m_changedColours.clear();
}

std::vector<QString> GridModel::texts() const {
    std::vector<QString> all;
    const int rows = bodyRows();
    all.reserve(static_cast<size_t>(rows) * columns.size());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columnCount(); ++c)
            all.push_back(cell(r, c));
    return all;
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
