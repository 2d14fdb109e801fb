#include "tools/report/ReportPrinter.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

namespace puka::report {
namespace {

/// UTF-8 output gathered in pieces of about 64 KB, each handed to the sink when it is full:
/// a report of any size holds one piece at a time.
class Output {
public:
    explicit Output(const OutputSink& sink) : m_sink(sink), m_buffer(kPiece + kRoom) { m_end = m_buffer.data(); }

    bool finish() {
        flush();
        return m_ok;
    }

    void ascii(char c) {
        *m_end++ = c;
        flushWhenFull();
    }
    void ascii(const char* text) { ascii(text, static_cast<qsizetype>(std::strlen(text))); }
    void ascii(const QByteArray& text) { ascii(text.constData(), text.size()); }
    void ascii(const char* text, qsizetype size) {
        while (size > 0) {
            const qsizetype part = std::min<qsizetype>(size, kRoom);
            std::memcpy(m_end, text, static_cast<size_t>(part));
            m_end += part;
            text += part;
            size -= part;
            flushWhenFull();
        }
    }
    void integer(qint64 value) {
        m_end = std::to_chars(m_end, m_end + 24, value).ptr;
        flushWhenFull();
    }

    /// @p text in UTF-8, a lone surrogate as "?" (as QString::toUtf8() writes it).
    void text(QStringView text) { encode<false>(text); }

    /// @p text as a JSON string in double quotes, escaped as Qt's JSON writer escapes it:
    /// the two-letter escapes, \u00XX for other control characters and \uXXXX for a lone
    /// surrogate; every other character as its UTF-8 bytes.
    void jsonString(QStringView text) {
        ascii('"');
        encode<true>(text);
        ascii('"');
    }

private:
    static constexpr qsizetype kPiece = 64 * 1024;
    /// Room past a full piece: the longest write that goes in without a check (a number, or
    /// a run of code units of text at up to six bytes each).
    static constexpr qsizetype kRoom = 6 * 1024;
    static constexpr qsizetype kUnitsAtOnce = kRoom / 6;

    template <bool kJson> void encode(QStringView text) {
        const char16_t* p = text.utf16();
        const char16_t* const end = p + text.size();
        while (p != end) {
            // a run that fits the room, never ending between the halves of a surrogate pair
            const char16_t* runEnd = end - p > kUnitsAtOnce ? p + kUnitsAtOnce : end;
            if (runEnd != end && runEnd[-1] >= 0xD800 && runEnd[-1] <= 0xDBFF)
                ++runEnd;
            char* out = m_end;
            while (p != runEnd) {
                // four ASCII units at once, the common case of dates and numbers
                if (!kJson && runEnd - p >= 4) {
                    std::uint64_t units;
                    std::memcpy(&units, p, sizeof units);
                    if ((units & 0xFF80FF80FF80FF80ull) == 0) {
                        out[0] = static_cast<char>(p[0]);
                        out[1] = static_cast<char>(p[1]);
                        out[2] = static_cast<char>(p[2]);
                        out[3] = static_cast<char>(p[3]);
                        out += 4;
                        p += 4;
                        continue;
                    }
                }
                const char16_t c = *p++;
                if (c < 0x80) {
                    if (!kJson || plainInJson(c))
                        *out++ = static_cast<char>(c);
                    else
                        out = escape(out, c);
                    continue;
                }
                if (c < 0x800) {
                    *out++ = static_cast<char>(0xC0 | (c >> 6));
                    *out++ = static_cast<char>(0x80 | (c & 0x3F));
                    continue;
                }
                if (c >= 0xD800 && c <= 0xDFFF) {
                    if (c <= 0xDBFF && p != end && *p >= 0xDC00 && *p <= 0xDFFF) {
                        const char32_t u = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (*p++ - 0xDC00);
                        *out++ = static_cast<char>(0xF0 | (u >> 18));
                        *out++ = static_cast<char>(0x80 | ((u >> 12) & 0x3F));
                        *out++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
                        *out++ = static_cast<char>(0x80 | (u & 0x3F));
                    } else if (kJson) {
                        out = hexEscape(out, c);
                    } else {
                        *out++ = '?';
                    }
                    continue;
                }
                *out++ = static_cast<char>(0xE0 | (c >> 12));
                *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *out++ = static_cast<char>(0x80 | (c & 0x3F));
            }
            m_end = out;
            flushWhenFull();
        }
    }

    static bool plainInJson(char16_t c) { return c >= 0x20 && c != u'"' && c != u'\\'; }

    static char* escape(char* out, char16_t c) {
        char letter = 0;
        switch (c) {
        case u'"':
            letter = '"';
            break;
        case u'\\':
            letter = '\\';
            break;
        case u'\b':
            letter = 'b';
            break;
        case u'\f':
            letter = 'f';
            break;
        case u'\n':
            letter = 'n';
            break;
        case u'\r':
            letter = 'r';
            break;
        case u'\t':
            letter = 't';
            break;
        default:
            return hexEscape(out, c);
        }
        *out++ = '\\';
        *out++ = letter;
        return out;
    }

    static char* hexEscape(char* out, char16_t c) {
        static const char kDigits[] = "0123456789abcdef";
        *out++ = '\\';
        *out++ = 'u';
        for (int shift = 12; shift >= 0; shift -= 4)
            *out++ = kDigits[(c >> shift) & 0xF];
        return out;
    }

    void flushWhenFull() {
        if (m_end - m_buffer.data() >= kPiece)
            flush();
    }
    void flush() {
        const qsizetype size = m_end - m_buffer.data();
        if (m_ok && size > 0)
            m_ok = m_sink(m_buffer.data(), size);
        m_end = m_buffer.data();
    }

    const OutputSink& m_sink;
    std::vector<char> m_buffer;
    char* m_end = nullptr;
    bool m_ok = true;
};

// A chart value as the TSV form writes it: 15 significant digits, nothing for an unset point.
// The values of a log repeat, so the texts of recent ones are kept.
const QByteArray& tsvNumber(double v) {
    static const QByteArray kUnset;
    if (std::isnan(v))
        return kUnset;
    struct Kept {
        double value = std::nan("");
        QByteArray text;
    };
    constexpr size_t kSlots = 1024;
    thread_local std::array<Kept, kSlots> kept;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    Kept& slot = kept[static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 54) % kSlots];
    if (!(slot.value == v && std::signbit(slot.value) == std::signbit(v))) {
        slot.value = v;
        slot.text = QString::number(v, 'g', 15).toLatin1();
    }
    return slot.text;
}

// A number as Qt's JSON writer writes a double: a whole number within ±2^53 as an integer,
// any other finite value in its shortest form, and null for what is not finite. The values of
// a log repeat, so the texts of recent ones are kept.
const QByteArray& jsonNumber(double v) {
    static const QByteArray kNull = QByteArrayLiteral("null");
    if (!std::isfinite(v))
        return kNull;
    struct Kept {
        double value = std::nan("");
        QByteArray text;
    };
    constexpr size_t kSlots = 1024;
    thread_local std::array<Kept, kSlots> kept;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    Kept& slot = kept[static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 54) % kSlots];
    if (slot.value == v && std::signbit(slot.value) == std::signbit(v))
        return slot.text;
    slot.value = v;
    constexpr double kExactIntegers = 9007199254740992.0; // 2^53
    if (v == std::trunc(v) && std::fabs(v) <= kExactIntegers)
        slot.text = QByteArray::number(static_cast<qint64>(v));
    else
        slot.text = QByteArray::number(v, 'g', QLocale::FloatingPointShortest);
    return slot.text;
}

void jsonLimits(Output& out, const AxisLimits& a) {
    if (!a.min && !a.max) {
        out.ascii("null");
        return;
    }
    out.ascii('[');
    if (a.min)
        out.ascii(jsonNumber(*a.min));
    else
        out.ascii("null");
    out.ascii(',');
    if (a.max)
        out.ascii(jsonNumber(*a.max));
    else
        out.ascii("null");
    out.ascii(']');
}

// The indexes of @p names in code-unit order; of equal names only the last, as a JSON object
// keeps the last value given for a key.
std::vector<size_t> keyOrder(const std::vector<QString>& names) {
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return names[a] < names[b]; });
    std::vector<size_t> kept;
    for (size_t i = 0; i < order.size(); ++i)
        if (i + 1 == order.size() || names[order[i + 1]] != names[order[i]])
            kept.push_back(order[i]);
    return kept;
}

template <typename T, typename Name> std::vector<size_t> keyOrderOf(const std::vector<T>& items, Name name) {
    std::vector<QString> names;
    names.reserve(items.size());
    for (const T& item : items)
        names.push_back(name(item));
    return keyOrder(names);
}

void jsonGrid(Output& out, const GridModel& g) {
    const int columns = g.columnCount();
    const int rows = g.bodyRows();
    // "colours" before "rows", as the keys are ordered
    out.ascii("{\"colours\":[[");
    for (int c = 0; c < columns; ++c)
        out.ascii(c > 0 ? ",null" : "null");
    out.ascii(']');
    static const char kHex[] = "0123456789ABCDEF";
    for (int r = 0; r < rows; ++r) {
        out.ascii(",[");
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                out.ascii(',');
            const std::optional<Rgb> colour = g.colour(r, c);
            if (!colour) {
                out.ascii("null");
                continue;
            }
            char text[] = "\"#000000\"";
            for (int i = 0; i < 6; ++i)
                text[7 - i] = kHex[(*colour >> (4 * i)) & 0xF];
            out.ascii(text);
        }
        out.ascii(']');
    }
    out.ascii("],\"rows\":[[");
    for (int c = 0; c < columns; ++c) {
        if (c > 0)
            out.ascii(',');
        out.jsonString(g.columns[static_cast<size_t>(c)].header);
    }
    out.ascii(']');
    TextBuffer cell;
    for (int r = 0; r < rows; ++r) {
        out.ascii(",[");
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                out.ascii(',');
            cell.clear();
            g.appendCell(r, c, &cell);
            out.jsonString(cell.view());
        }
        out.ascii(']');
    }
    out.ascii("]}");
}

void jsonChart(Output& out, const ChartModel& chart) {
    out.ascii("{\"primary\":");
    jsonLimits(out, chart.primary);
    out.ascii(",\"secondary\":");
    jsonLimits(out, chart.secondary);
    out.ascii(",\"series\":[");
    for (size_t i = 0; i < chart.series.size(); ++i) {
        const ChartSeries& s = chart.series[i];
        out.ascii(i > 0 ? ",{\"name\":" : "{\"name\":");
        out.jsonString(s.name);
        out.ascii(",\"points\":[");
        for (size_t p = 0; p < s.points.size(); ++p) {
            if (p > 0)
                out.ascii(',');
            out.ascii(jsonNumber(s.points[p]));
        }
        out.ascii("]}");
    }
    out.ascii("]}");
}

QByteArray gathered(bool (*write)(const ViewModel&, const OutputSink&), const ViewModel& view) {
    QByteArray all;
    write(view, [&all](const char* data, qsizetype size) {
        all.append(data, size);
        return true;
    });
    return all;
}

} // namespace

bool writeTsv(const ViewModel& view, const OutputSink& sink) {
    Output out(sink);
    for (const GridModel& g : view.grids) {
        out.ascii("# ");
        out.text(g.name);
        out.ascii('\n');
        const int columns = g.columnCount();
        for (int c = 0; c < columns; ++c) {
            if (c > 0)
                out.ascii('\t');
            out.text(g.columns[static_cast<size_t>(c)].header);
        }
        out.ascii('\n');
        const int rows = g.bodyRows();
        // a row's cells are gathered in one line, which is encoded at once
        TextBuffer line;
        for (int r = 0; r < rows; ++r) {
            line.clear();
            for (int c = 0; c < columns; ++c) {
                if (c > 0)
                    line.append(u'\t');
                g.appendCell(r, c, &line);
            }
            line.append(u'\n');
            out.text(line.view());
        }
    }
    for (const auto& [name, text] : view.labels) {
        out.text(name);
        out.ascii('\t');
        out.text(text);
        out.ascii('\n');
    }
    for (const ChartModel& c : view.charts) {
        out.ascii("# ");
        out.text(c.name);
        out.ascii('\n');
        for (int i = 0; i < c.categoryCount(); ++i) {
            out.integer(i + 1);
            for (const ChartSeries& s : c.series) {
                out.ascii('\t');
                out.ascii(tsvNumber(s.points[static_cast<size_t>(i)]));
            }
            out.ascii('\n');
        }
    }
    if (!view.face.isEmpty()) {
        out.ascii("face\t");
        out.text(view.face);
        out.ascii('\n');
    }
    return out.finish();
}

bool writeJson(const ViewModel& view, const OutputSink& sink) {
    Output out(sink);
    out.ascii("{\"charts\":{");
    bool first = true;
    for (size_t i : keyOrderOf(view.charts, [](const ChartModel& c) { return c.name; })) {
        if (!first)
            out.ascii(',');
        first = false;
        out.jsonString(view.charts[i].name);
        out.ascii(':');
        jsonChart(out, view.charts[i]);
    }
    out.ascii('}');
    if (!view.face.isEmpty()) {
        out.ascii(",\"face\":");
        out.jsonString(view.face);
    }
    out.ascii(",\"grids\":{");
    first = true;
    for (size_t i : keyOrderOf(view.grids, [](const GridModel& g) { return g.name; })) {
        if (!first)
            out.ascii(',');
        first = false;
        out.jsonString(view.grids[i].name);
        out.ascii(':');
        jsonGrid(out, view.grids[i]);
    }
    out.ascii("},\"labels\":{");
    first = true;
    for (size_t i : keyOrderOf(view.labels, [](const std::pair<QString, QString>& l) { return l.first; })) {
        if (!first)
            out.ascii(',');
        first = false;
        out.jsonString(view.labels[i].first);
        out.ascii(':');
        out.jsonString(view.labels[i].second);
    }
    out.ascii("},\"view\":");
    out.jsonString(view.view);
    out.ascii("}\n");
    return out.finish();
}

QByteArray toTsv(const ViewModel& view) {
    return gathered(&writeTsv, view);
}

QByteArray toJson(const ViewModel& view) {
    return gathered(&writeJson, view);
}

} // namespace puka::report
