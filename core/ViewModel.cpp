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

int GridModel::bodyRows() const {
    if (m_rows)
        return m_rows->count();
    return columns.empty() ? 0 : static_cast<int>(m_cells.size() / columns.size());
}

QString GridModel::cell(int bodyRow, int col) const {
    if (!m_rows)
        return m_cells[at(bodyRow, col)];
    if (!m_changedTexts.empty()) {
        const auto changed = m_changedTexts.find(at(bodyRow, col));
        if (changed != m_changedTexts.end())
            return changed->second;
    }
    return m_rows->text(bodyRow, col);
}

void GridModel::appendCell(int bodyRow, int col, TextBuffer* out) const {
    if (!m_rows) {
        out->append(m_cells[at(bodyRow, col)]);
        return;
    }
    if (!m_changedTexts.empty()) {
        const auto changed = m_changedTexts.find(at(bodyRow, col));
        if (changed != m_changedTexts.end()) {
            out->append(changed->second);
            return;
        }
    }
    m_rows->appendText(bodyRow, col, out);
}

std::optional<Rgb> GridModel::colour(int bodyRow, int col) const {
    const size_t i = at(bodyRow, col);
    std::uint32_t c = 0;
    if (!m_rows) {
        c = i < m_colours.size() ? m_colours[i] : 0;
    } else {
        const auto changed = m_changedColours.find(i);
        if (changed == m_changedColours.end())
            return m_rows->colour(bodyRow, col);
        c = changed->second;
    }
    return c ? std::optional<Rgb>(c & 0xFFFFFFu) : std::nullopt;
}

void GridModel::setCell(int bodyRow, int col, const QString& text) {
    if (m_rows)
        m_changedTexts[at(bodyRow, col)] = text;
    else
        m_cells[at(bodyRow, col)] = text;
}

void GridModel::setColour(int bodyRow, int col, Rgb colour) {
    const std::uint32_t c = 0xFF000000u | colour;
    if (m_rows) {
        m_changedColours[at(bodyRow, col)] = c;
        return;
    }
    if (m_colours.size() < m_cells.size())
        m_colours.resize(m_cells.size(), 0);
    m_colours[at(bodyRow, col)] = c;
}

void GridModel::clearColour(int bodyRow, int col) {
    if (m_rows) {
        m_changedColours[at(bodyRow, col)] = 0;
        return;
    }
    if (at(bodyRow, col) < m_colours.size())
        m_colours[at(bodyRow, col)] = 0;
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
