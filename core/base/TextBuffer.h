#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <memory>

namespace puka {

/// Text put together from many short pieces, as the cells of a list are when every row is
/// printed: an append is a copy into room kept for the next pieces, without the checks a
/// QString makes on every append.
class TextBuffer {
public:
    void append(QStringView text) {
        const qsizetype n = text.size();
        if (n == 0)
            return; // an empty text may have no characters at all to copy from
        if (m_size + n > m_capacity)
            grow(n);
        std::memcpy(m_data.get() + m_size, text.utf16(), static_cast<size_t>(n) * sizeof(char16_t));
        m_size += n;
    }
    void append(char16_t c) {
        if (m_size == m_capacity)
            grow(1);
        m_data[static_cast<size_t>(m_size++)] = c;
    }
    /// Room for @p n more code units, to be filled and then taken by grew().
    char16_t* room(qsizetype n) {
        if (m_size + n > m_capacity)
            grow(n);
        return m_data.get() + m_size;
    }
    /// Takes @p n code units written at room().
    void grew(qsizetype n) { m_size += n; }

    void clear() { m_size = 0; }
    qsizetype size() const { return m_size; }
    QStringView view() const { return QStringView(m_data.get(), m_size); }
    QString toString() const { return view().toString(); }

private:
    void grow(qsizetype needed) {
        const qsizetype capacity = std::max<qsizetype>({64, 2 * m_capacity, m_size + needed});
        std::unique_ptr<char16_t[]> data(new char16_t[static_cast<size_t>(capacity)]);
        if (m_size > 0)
            std::memcpy(data.get(), m_data.get(), static_cast<size_t>(m_size) * sizeof(char16_t));
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char16_t[]> m_data;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};

} // namespace puka
