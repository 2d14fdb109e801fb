#include "core/files/CsvImport.h"

#include "core/files/Cp932.h"
#include "core/files/DataLog.h"
#include "core/files/TextLines.h"

#include <QDateTime>
#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace puka::csvimport {
namespace {

// Lines are decoded a piece of about this many bytes at a time, never the whole file at once.
constexpr qsizetype kPiece = 64 * 1024;
// No row of measurements is this long: such a line is refused without being decoded.
constexpr qsizetype kLongestLine = 1024 * 1024;
// The header is looked for among so many lines at the top of the file.
constexpr int kHeaderSearchLines = 100;
// A quoted cell may hold line breaks; a quote still open after so many lines was never closed.
constexpr int kLongestRecordLines = 50;
constexpr double kPoundInKilograms = 0.45359237;
const QDate kFirstDate(1900, 1, 1);
const QDate kLastDate(2099, 12, 31);

// ---- encodings -------------------------------------------------------------------------

// The length of the valid UTF-8 sequence at @p i (1 for ASCII), or 0 when there is none.
int utf8SequenceAt(const unsigned char* p, qsizetype i, qsizetype n) {
    const unsigned char c = p[i];
    if (c < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = c == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > n || p[i + 1] < low || p[i + 1] > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if (p[i + k] < 0x80 || p[i + k] > 0xBF)
            return 0;
    return length;
}

bool validUtf8(const char* data, qsizetype n) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    qsizetype i = 0;
    while (i < n) {
        // eight ASCII bytes at a time: most of a table is digits and separators
        if (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, p + i, sizeof word);
            if ((word & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        const int length = utf8SequenceAt(p, i, n);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

struct Detected {
    Encoding encoding = Encoding::Utf8;
    qsizetype skip = 0; ///< the byte order mark
};

// How many lines of the first piece of @p bytes do not decode as UTF-8, and how many do not
// decode as code page 932.
std::pair<int, int> undecodableLines(const QByteArray& bytes) {
    int utf8 = 0;
    int cp932 = 0;
    const qsizetype end = std::min(bytes.size(), kPiece);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= end; ++i) {
        if (i < end && bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        const QByteArray line = QByteArray::fromRawData(bytes.constData() + start, i - start);
        utf8 += validUtf8(line.constData(), line.size()) ? 0 : 1;
        cp932 += cp932::decode(line) ? 0 : 1;
        start = i + 1;
    }
    return {utf8, cp932};
}

Detected detectEncoding(const QByteArray& bytes) {
    const auto starts = [&](const char* mark, qsizetype size) {
        return bytes.size() >= size && std::memcmp(bytes.constData(), mark, static_cast<size_t>(size)) == 0;
    };
    if (starts("\xEF\xBB\xBF", 3))
        return {Encoding::Utf8WithBom, 3};
    if (starts("\xFF\xFE", 2))
        return {Encoding::Utf16LittleEndian, 2};
    if (starts("\xFE\xFF", 2))
        return {Encoding::Utf16BigEndian, 2};
    // Text in a one-byte encoding holds no zero byte; UTF-16 without a mark has one in every
    // ASCII character, on the odd bytes when little-endian.
    const qsizetype sample = std::min<qsizetype>(bytes.size(), 4096) & ~qsizetype(1);
    int evenZeros = 0;
    int oddZeros = 0;
    for (qsizetype i = 0; i < sample; ++i)
        if (bytes[i] == '\0')
            ++(i % 2 == 0 ? evenZeros : oddZeros);
    if (oddZeros > sample / 8 && evenZeros == 0)
        return {Encoding::Utf16LittleEndian, 0};
    if (evenZeros > sample / 8 && oddZeros == 0)
        return {Encoding::Utf16BigEndian, 0};
    if (validUtf8(bytes.constData(), bytes.size()))
        return {Encoding::Utf8, 0};
    // Not UTF-8 throughout: the encoding in which fewer of the first lines are broken. Real code
    // page 932 text fails as UTF-8 at its first kana or kanji, and UTF-8 text fails as code page
    // 932 at most of its own; a tie (a stray byte in ASCII) goes to the encoding of our own files.
    const auto [utf8, cp932] = undecodableLines(bytes);
    return {utf8 < cp932 ? Encoding::Utf8 : Encoding::Cp932, 0};
}

// ---- lines -----------------------------------------------------------------------------

struct Line {
    enum class State {
        Text,        ///< decoded
        Undecodable, ///< not valid in the file's encoding
        TooLong,     ///< longer than kLongestLine, not decoded
    };
    qint64 number = 0;
    QString text;
    State state = State::Text;
};

// The lines of the file one after the other, decoded a piece at a time. Lines are cut at CR LF,
// LF or a lone CR, as every reader of our files cuts them.
class LineSource {
public:
    LineSource(const QByteArray& bytes, Detected detected)
        : m_data(bytes.constData()), m_size(bytes.size()), m_position(detected.skip), m_encoding(detected.encoding),
          m_unit(detected.encoding == Encoding::Utf16LittleEndian || detected.encoding == Encoding::Utf16BigEndian
                     ? 2
                     : 1) {
        if (m_unit == 2)
            m_size &= ~qsizetype(1); // a torn last byte holds no character
    }

    bool next(Line* line) {
        if (!m_pushedBack.empty()) {
            *line = std::move(m_pushedBack.back());
            m_pushedBack.pop_back();
            return true;
        }
        if (m_at == m_lines.size()) {
            fill();
            if (m_lines.empty())
                return false;
        }
        *line = std::move(m_lines[m_at++]);
        return true;
    }

    /// Puts @p line back: the next call of next() returns it again.
    void pushBack(Line line) { m_pushedBack.push_back(std::move(line)); }

    /// The bytes not read yet.
    qsizetype remaining() const { return m_size - m_position; }

private:
    char16_t unitAt(qsizetype i) const {
        if (m_unit == 1)
            return static_cast<unsigned char>(m_data[i]);
        const auto* p = reinterpret_cast<const uchar*>(m_data + i);
        return m_encoding == Encoding::Utf16LittleEndian ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
    }
    bool lineEndAt(qsizetype i) const {
        const char16_t c = unitAt(i);
        return c == u'\n' || c == u'\r';
    }
    // Where a line end found at @p i ends: after CR LF, LF or CR.
    qsizetype afterLineEnd(qsizetype i) const {
        if (i >= m_size)
            return m_size;
        if (unitAt(i) == u'\r' && i + m_unit < m_size && unitAt(i + m_unit) == u'\n')
            return i + 2 * m_unit;
        return i + m_unit;
    }
    // The end of the line that starts at @p from, or a position more than kLongestLine on when
    // the line is longer (@p limit false: its real end, however far).
    qsizetype lineEnd(qsizetype from, bool limit) const {
        qsizetype i = from;
        if (m_unit == 1) {
            const char* p = m_data + from;
            const char* end = m_data + (limit ? std::min(m_size, from + kLongestLine + 1) : m_size);
            while (p != end && *p != '\n' && *p != '\r')
                ++p;
            return p - m_data;
        }
        while (i < m_size && !lineEndAt(i) && (!limit || i - from <= kLongestLine))
            i += m_unit;
        return i;
    }

    QString decodeUtf16(qsizetype from, qsizetype to) const {
        QString text(static_cast<qsizetype>((to - from) / 2), Qt::Uninitialized);
        char16_t* out = reinterpret_cast<char16_t*>(text.data());
        for (qsizetype i = from; i < to; i += 2)
            *out++ = unitAt(i);
        return text;
    }

    std::optional<QString> decode(qsizetype from, qsizetype to) const {
        switch (m_encoding) {
        case Encoding::Utf16LittleEndian:
        case Encoding::Utf16BigEndian:
            return decodeUtf16(from, to);
        case Encoding::Cp932:
            return cp932::decode(QByteArray::fromRawData(m_data + from, to - from));
        case Encoding::Utf8:
        case Encoding::Utf8WithBom:
            if (!validUtf8(m_data + from, to - from))
                return std::nullopt;
            return QString::fromUtf8(m_data + from, to - from);
        }
        return std::nullopt;
    }

    // Reads the next piece of lines into m_lines.
    void fill() {
        m_lines.clear();
        m_at = 0;
        if (m_position >= m_size)
            return;
        struct Span {
            qsizetype from;
            qsizetype to;
        };
        std::vector<Span> spans;
        qsizetype p = m_position;
        while (p < m_size && p - m_position < kPiece) {
            const qsizetype end = lineEnd(p, true);
            if (end - p > kLongestLine) {
                if (!spans.empty())
                    break;
                Line line;
                line.number = ++m_lineNumber;
                line.state = Line::State::TooLong;
                m_lines.push_back(std::move(line));
                m_position = afterLineEnd(lineEnd(p, false));
                return;
            }
            spans.push_back({p, end});
            p = afterLineEnd(end);
        }
        m_position = p;
        const std::optional<QString> whole = decode(spans.front().from, spans.back().to);
        if (whole) {
            // line ends never occur inside a character, so the text splits where the bytes do
            const QString& text = *whole;
            qsizetype start = 0;
            for (qsizetype i = 0; i <= text.size(); ++i) {
                if (i < text.size() && text[i] != QLatin1Char('\n') && text[i] != QLatin1Char('\r'))
                    continue;
                Line line;
                line.number = ++m_lineNumber;
                line.text = text.mid(start, i - start);
                m_lines.push_back(std::move(line));
                if (i < text.size() && text[i] == QLatin1Char('\r') && i + 1 < text.size() &&
                    text[i + 1] == QLatin1Char('\n'))
                    ++i;
                start = i + 1;
            }
            if (m_lines.size() == spans.size())
                return;
            // a line end inside a character (never in valid text): take the lines one by one
            m_lineNumber -= static_cast<qint64>(m_lines.size());
            m_lines.clear();
        }
        for (const Span& span : spans) {
            Line line;
            line.number = ++m_lineNumber;
            if (auto text = decode(span.from, span.to))
                line.text = std::move(*text);
            else
                line.state = Line::State::Undecodable;
            m_lines.push_back(std::move(line));
        }
    }

    const char* m_data;
    qsizetype m_size;
    qsizetype m_position;
    Encoding m_encoding;
    int m_unit;
    qint64 m_lineNumber = 0;
    std::vector<Line> m_lines;
    size_t m_at = 0;
    std::vector<Line> m_pushedBack;
};

// ---- cells -----------------------------------------------------------------------------

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x3000);
}

QStringView trimmedBlanks(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

// Cuts the lines of a record into cells as spreadsheets write them: a cell may be quoted, a
// quote inside a quoted cell is doubled, and a quoted cell may hold separators and line
// breaks; blanks around a cell are dropped.
class CellSplitter {
public:
    explicit CellSplitter(QChar separator) : m_separator(separator) {}

    void start() {
        m_cells.clear();
        m_cell.clear();
        m_inQuotes = false;
        m_quoted = false;
        m_quotedLength = 0;
    }

    /// Adds the next line of the record; true when the record is complete.
    bool feed(QStringView line) {
        if (!m_inQuotes && !line.contains(QLatin1Char('"'))) {
            // the common line without quotes: cut at each separator
            qsizetype start = 0;
            for (qsizetype i = 0; i <= line.size(); ++i) {
                if (i < line.size() && line[i] != m_separator)
                    continue;
                m_cells.append(trimmedBlanks(line.mid(start, i - start)).toString());
                start = i + 1;
            }
            return true;
        }
        for (qsizetype i = 0; i < line.size(); ++i) {
            const QChar c = line[i];
            if (m_inQuotes) {
                if (c != QLatin1Char('"')) {
                    m_cell.append(c);
                } else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    m_cell.append(c);
                    ++i;
                } else {
                    m_inQuotes = false;
                    m_quotedLength = m_cell.size();
                }
            } else if (c == m_separator) {
                endCell();
            } else if (c == QLatin1Char('"') && !m_quoted && trimmedBlanks(m_cell).isEmpty()) {
                m_cell.clear();
                m_inQuotes = true;
                m_quoted = true;
            } else {
                m_cell.append(c);
            }
        }
        if (m_inQuotes) {
            m_cell.append(QLatin1Char('\n'));
            return false;
        }
        endCell();
        return true;
    }

    const QStringList& cells() const { return m_cells; }

private:
    void endCell() {
        if (m_quoted) {
            // what stands after the closing quote is kept, as spreadsheets keep it, without its blanks
            qsizetype end = m_cell.size();
            while (end > m_quotedLength && isBlank(m_cell[end - 1]))
                --end;
            m_cells.append(m_cell.left(end));
        } else {
            m_cells.append(trimmedBlanks(m_cell).toString());
        }
        m_cell.clear();
        m_quoted = false;
        m_quotedLength = 0;
    }

    QChar m_separator;
    QStringList m_cells;
    QString m_cell;
    bool m_inQuotes = false;
    bool m_quoted = false;
    qsizetype m_quotedLength = 0;
};

// The cells of one line, or nothing when a quote stays open at its end.
std::optional<QStringList> lineCells(QStringView line, QChar separator) {
    CellSplitter splitter(separator);
    splitter.start();
    if (!splitter.feed(line))
        return std::nullopt;
    return splitter.cells();
}

bool allAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// Full-width letters, digits and signs as their ASCII forms: "６５．３ｋｇ" reads as "65.3kg".
QString compatible(QStringView text) {
    return allAscii(text) ? text.toString() : text.toString().normalized(QString::NormalizationForm_KC);
}

// ---- headers ---------------------------------------------------------------------------

enum class Role { None, Date, Time, Weight, FatPercentage, FatMass, Situation, Comment };

struct UnitWord {
    QStringView text;
    std::optional<Unit> unit; ///< nothing: a percentage
};
const UnitWord kUnitWords[] = {
    {u"kg", Unit::Kilogram},        {u"kgs", Unit::Kilogram},      {u"kilogram", Unit::Kilogram},
    {u"kilograms", Unit::Kilogram}, {u"キロ", Unit::Kilogram},     {u"キログラム", Unit::Kilogram},
    {u"lb", Unit::Pound},           {u"lbs", Unit::Pound},         {u"pound", Unit::Pound},
    {u"pounds", Unit::Pound},       {u"ポンド", Unit::Pound},      {u"%", std::nullopt},
    {u"percent", std::nullopt},     {u"パーセント", std::nullopt},
};

struct HeaderCell {
    Role role = Role::None;
    std::optional<Unit> unit;
    bool percent = false; ///< the header names % as its unit
};

// The unit a word names: true and the unit (nothing for a percentage), or false.
bool unitOf(QStringView word, std::optional<Unit>* unit) {
    for (const UnitWord& w : kUnitWords) {
        if (word == w.text) {
            *unit = w.unit;
            return true;
        }
    }
    return false;
}

Role roleOf(const QString& name) {
    static const QHash<QString, Role> roles = [] {
        QHash<QString, Role> r;
        const auto add = [&r](Role role, std::initializer_list<const char16_t*> names) {
            for (const char16_t* n : names)
                r.insert(QString::fromUtf16(n), role);
        };
        add(Role::Date, {u"date", u"day", u"日付", u"日にち", u"年月日", u"測定日", u"計測日", u"記録日", u"日"});
        // a date with its time
        add(Role::Date, {u"datetime", u"dateandtime", u"timestamp", u"日時", u"測定日時", u"計測日時", u"記録日時",
                         u"日付時刻", u"日付と時刻"});
        add(Role::Time,
            {u"time", u"timeofday", u"時刻", u"時間", u"測定時刻", u"計測時刻", u"測定時間", u"計測時間", u"記録時刻"});
        add(Role::Weight, {u"weight", u"bodyweight", u"体重", u"測定体重", u"計測体重"});
        add(Role::FatPercentage,
            {u"fat", u"bodyfat", u"fatpercent", u"fatpercentage", u"bodyfatpercent", u"bodyfatpercentage", u"fatratio",
             u"bodyfatratio", u"fatrate", u"bodyfatrate", u"体脂肪率", u"体脂肪", u"脂肪率"});
        add(Role::FatMass,
            {u"fatmass", u"bodyfatmass", u"fatweight", u"bodyfatweight", u"体脂肪量", u"脂肪量", u"体脂肪重量"});
        add(Role::Situation, {u"situation", u"状況", u"行動"});
        add(Role::Comment, {u"comment", u"comments", u"note", u"notes", u"memo", u"remark", u"remarks", u"一言日記",
                            u"コメント", u"メモ", u"備考", u"日記"});
        return r;
    }();
    return roles.value(name, Role::None);
}

// What a header cell names: "Weight (lb)", "体重（ｋｇ）", "Body Fat %", "# Date", "fat_mass_kg".
HeaderCell recogniseHeader(const QString& cell) {
    QString text = compatible(cell).toLower();
    text.remove(QChar(0xFEFF));
    text = trimmedBlanks(text).toString();
    while (text.startsWith(QLatin1Char('#')))
        text = trimmedBlanks(QStringView(text).mid(1)).toString();
    HeaderCell header;
    bool unitFound = false;
    // units in brackets: "(kg)", "[lb]", "【%】"
    for (const auto& [open, close] : {std::pair{u'(', u')'}, std::pair{u'[', u']'}, std::pair{u'【', u'】'}}) {
        qsizetype from = text.indexOf(QChar(open));
        while (from >= 0) {
            const qsizetype to = text.indexOf(QChar(close), from + 1);
            if (to < 0)
                break;
            std::optional<Unit> unit;
            if (unitOf(trimmedBlanks(QStringView(text).mid(from + 1, to - from - 1)), &unit) && !unitFound) {
                unitFound = true;
                header.unit = unit;
                header.percent = !unit;
            }
            text.remove(from, to - from + 1);
            from = text.indexOf(QChar(open));
        }
    }
    // a unit at the end: "weight kg", "fat_mass_kg", "体重kg", "body fat %", "weight in lbs"
    text = trimmedBlanks(text).toString();
    for (const UnitWord& w : kUnitWords) {
        const QStringView word = w.text;
        if (unitFound || !text.endsWith(word) || text.size() == word.size())
            continue;
        const QChar before = text[text.size() - word.size() - 1];
        if (word != u"%" && before.isLetterOrNumber() && before.unicode() < 0x80)
            continue;
        unitFound = true;
        header.unit = w.unit;
        header.percent = !w.unit;
        text.chop(word.size());
        text = trimmedBlanks(text).toString();
        for (const QStringView in : {QStringView(u" in"), QStringView(u"_in")})
            if (text.endsWith(in))
                text.chop(in.size());
    }
    QString name;
    for (const QChar c : std::as_const(text))
        if (!isBlank(c) && !QStringView(u"_-./・").contains(c))
            name.append(c);
    header.role = roleOf(name);
    if (header.role == Role::FatPercentage && header.unit)
        header.role = Role::FatMass; // "Fat (kg)"
    else if (header.role == Role::FatMass && header.percent)
        header.role = Role::FatPercentage;
    return header;
}

// The columns of a table and how they are read.
struct Layout {
    QChar separator = QLatin1Char(',');
    int fieldCount = 0;
    int date = -1;
    int time = -1;
    int weight = -1;
    int fat = -1;
    int situation = -1;
    int comment = -1;
    FatColumn fatColumn = FatColumn::None;
    std::optional<Unit> weightUnit; ///< from the header
    std::optional<Unit> fatUnit;    ///< from the header, for a fat mass
    QStringList header;             ///< the header cells, to pass over a repeated header
    Columns columns;

    int recognised() const {
        return int(date >= 0) + int(time >= 0) + int(weight >= 0) + int(fat >= 0) + int(situation >= 0) +
               int(comment >= 0);
    }
    bool complete() const { return date >= 0 && weight >= 0; }
};

Layout layoutOf(const QStringList& cells, QChar separator) {
    Layout layout;
    layout.separator = separator;
    layout.header = cells;
    // empty cells at the end are a trailing separator, no columns
    layout.fieldCount = static_cast<int>(cells.size());
    while (layout.fieldCount > 0 && cells[layout.fieldCount - 1].isEmpty())
        --layout.fieldCount;
    for (int i = 0; i < layout.fieldCount; ++i) {
        const HeaderCell h = recogniseHeader(cells[i]);
        const QString text = trimmedBlanks(cells[i]).toString();
        const auto take = [&](int* column, QString* name) {
            if (*column >= 0)
                return false;
            *column = i;
            *name = text;
            return true;
        };
        switch (h.role) {
        case Role::None:
            break;
        case Role::Date:
            take(&layout.date, &layout.columns.date);
            break;
        case Role::Time:
            take(&layout.time, &layout.columns.time);
            break;
        case Role::Weight:
            if (take(&layout.weight, &layout.columns.weight))
                layout.weightUnit = h.unit;
            break;
        case Role::FatPercentage:
        case Role::FatMass:
            if (take(&layout.fat, &layout.columns.bodyFat)) {
                layout.fatColumn = h.role == Role::FatMass ? FatColumn::Mass : FatColumn::Percentage;
                layout.fatUnit = h.unit;
            }
            break;
        case Role::Situation:
            take(&layout.situation, &layout.columns.situation);
            break;
        case Role::Comment:
            take(&layout.comment, &layout.columns.comment);
            break;
        }
    }
    return layout;
}

// This program's own log: "date","situation",weight,"comment",body fat,"spare" without a header.
Layout logLayout() {
    Layout layout;
    layout.fieldCount = 6;
    layout.date = 0;
    layout.situation = 1;
    layout.weight = 2;
    layout.comment = 3;
    layout.fat = 4;
    layout.fatColumn = FatColumn::Percentage;
    layout.columns.logFormat = true;
    return layout;
}

// ---- dates, times and numbers ----------------------------------------------------------

// A cursor over an ASCII-compatible cell.
class Cursor {
public:
    explicit Cursor(QStringView text) : m_text(text) {}
    bool atEnd() const { return m_at >= m_text.size(); }
    QChar peek(qsizetype ahead = 0) const { return m_at + ahead < m_text.size() ? m_text[m_at + ahead] : QChar(); }
    bool eat(QChar c) {
        if (peek() != c)
            return false;
        ++m_at;
        return true;
    }
    bool eatWord(QStringView word) {
        if (m_text.mid(m_at).startsWith(word, Qt::CaseInsensitive)) {
            m_at += word.size();
            return true;
        }
        return false;
    }
    void blanks() {
        while (!atEnd() && isBlank(peek()))
            ++m_at;
    }
    /// A run of digits: its value and length (0 when there is none).
    int digits(int* value) {
        int length = 0;
        qint64 v = 0;
        while (!atEnd() && peek() >= QLatin1Char('0') && peek() <= QLatin1Char('9')) {
            if (length < 9)
                v = v * 10 + (peek().unicode() - u'0');
            ++length;
            ++m_at;
        }
        *value = static_cast<int>(v);
        return length;
    }

private:
    QStringView m_text;
    qsizetype m_at = 0;
};

struct DateTimeText {
    QDate date;
    QTime time;                ///< null: no time
    std::optional<int> offset; ///< seconds ahead of UTC, when the text names a zone
};

// A time of day: 7:05, 07:05:03, 07:05:03.250, 7:05 PM, 午後7:05, 7時5分3秒. False when the
// text is no time.
bool readTime(Cursor& c, QTime* time) {
    bool afternoon = false;
    bool twelveHour = false;
    if (c.eatWord(u"午前")) {
        twelveHour = true;
    } else if (c.eatWord(u"午後")) {
        twelveHour = afternoon = true;
    }
    c.blanks();
    int hour = 0;
    int minute = 0;
    int second = 0;
    const int hourDigits = c.digits(&hour);
    if (hourDigits < 1 || hourDigits > 2)
        return false;
    if (c.eat(QLatin1Char(':'))) {
        if (c.digits(&minute) != 2)
            return false;
        if (c.eat(QLatin1Char(':')) && c.digits(&second) != 2)
            return false;
        int fraction = 0;
        if ((c.eat(QLatin1Char('.')) || c.eat(QLatin1Char(','))) && c.digits(&fraction) == 0)
            return false;
    } else if (c.eat(QChar(u'時'))) {
        const int minuteDigits = c.digits(&minute);
        if (minuteDigits > 2 || (minuteDigits > 0 && !c.eat(QChar(u'分'))))
            return false;
        if (minuteDigits > 0 && c.digits(&second) > 0 && !c.eat(QChar(u'秒')))
            return false;
    } else {
        return false;
    }
    c.blanks();
    if (!twelveHour) {
        if (c.eatWord(u"am") || c.eatWord(u"a.m."))
            twelveHour = true;
        else if (c.eatWord(u"pm") || c.eatWord(u"p.m."))
            twelveHour = afternoon = true;
    }
    if (twelveHour) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (afternoon ? 12 : 0);
    }
    *time = QTime(hour, minute, second);
    return time->isValid();
}

// A zone after a time: Z, UTC, GMT, +09:00, +0900, -05. False after anything else.
bool readZone(Cursor& c, std::optional<int>* offset) {
    c.blanks();
    if (c.atEnd())
        return true;
    if (c.eat(QLatin1Char('Z')) || c.eat(QLatin1Char('z')) || c.eatWord(u"utc") || c.eatWord(u"gmt")) {
        *offset = 0;
        if (c.atEnd())
            return true;
    }
    const QChar sign = c.peek();
    if (sign != QLatin1Char('+') && sign != QLatin1Char('-'))
        return false;
    c.eat(sign);
    int hours = 0;
    int minutes = 0;
    const int length = c.digits(&hours);
    if (length == 4) {
        minutes = hours % 100;
        hours /= 100;
    } else if (length != 2 || (c.eat(QLatin1Char(':')) && c.digits(&minutes) != 2)) {
        return false;
    }
    if (hours > 14 || minutes > 59)
        return false;
    *offset = (sign == QLatin1Char('-') ? -1 : 1) * (hours * 3600 + minutes * 60);
    return true;
}

enum class DateProblem { None, Unreadable, Impossible, BadTime };

// A date with an optional time and zone: 2020-01-15, 2020/1/5, 2020.01.15, 20200115,
// 2020年1月5日, 2020/01/05(日), 2020-01-15T07:32:10+09:00, 2020/01/15 7:32.
DateProblem readDateTime(QStringView cell, DateTimeText* out) {
    const QString text = compatible(cell);
    Cursor c(text);
    c.blanks();
    int year = 0;
    int month = 0;
    int day = 0;
    const int yearDigits = c.digits(&year);
    if (yearDigits == 8) {
        day = year % 100;
        month = year / 100 % 100;
        year /= 10000;
    } else if (yearDigits != 4) {
        return DateProblem::Unreadable;
    } else if (c.eat(QChar(u'年'))) {
        if (c.digits(&month) < 1 || !c.eat(QChar(u'月')) || c.digits(&day) < 1)
            return DateProblem::Unreadable;
        c.eat(QChar(u'日'));
    } else {
        const QChar separator = c.peek();
        if (separator != QLatin1Char('-') && separator != QLatin1Char('/') && separator != QLatin1Char('.'))
            return DateProblem::Unreadable;
        c.eat(separator);
        const int monthDigits = c.digits(&month);
        if (monthDigits < 1 || monthDigits > 2 || !c.eat(separator))
            return DateProblem::Unreadable;
        const int dayDigits = c.digits(&day);
        if (dayDigits < 1 || dayDigits > 2)
            return DateProblem::Unreadable;
    }
    // a weekday in brackets: 2020/01/05(日), 2020-01-05 (Sun)
    c.blanks();
    if (c.eat(QLatin1Char('('))) {
        for (int i = 0; i < 12 && !c.atEnd() && c.peek() != QLatin1Char(')'); ++i)
            c.eat(c.peek());
        if (!c.eat(QLatin1Char(')')))
            return DateProblem::Unreadable;
    }
    out->date = QDate(year, month, day);
    if (!out->date.isValid())
        return DateProblem::Impossible;
    c.blanks();
    if (!c.eat(QLatin1Char('T')))
        c.eat(QLatin1Char('t'));
    c.blanks();
    if (c.atEnd())
        return DateProblem::None;
    if (!readTime(c, &out->time) || !readZone(c, &out->offset))
        return DateProblem::BadTime;
    return DateProblem::None;
}

std::optional<QTime> readTimeCell(QStringView cell) {
    const QString text = compatible(cell);
    Cursor c(text);
    c.blanks();
    QTime time;
    if (!readTime(c, &time))
        return std::nullopt;
    c.blanks();
    return c.atEnd() ? std::optional<QTime>(time) : std::nullopt;
}

struct Number {
    double value = 0;
    std::optional<Unit> unit; ///< the unit written in the cell
    bool unitGiven = false;
};

// A number cell: 65.3, 65,3 (a decimal comma), ６５．３, 143.2 lb, 20.1%. Nothing for any
// other text.
std::optional<Number> readNumber(QStringView cell) {
    const QString text = compatible(cell).toLower();
    QStringView t = trimmedBlanks(text);
    Number number;
    for (const UnitWord& w : kUnitWords) {
        const QStringView word = w.text;
        if (t.size() > word.size() && t.endsWith(word)) {
            t = trimmedBlanks(t.chopped(word.size()));
            number.unit = w.unit;
            number.unitGiven = true;
            break;
        }
    }
    char ascii[40];
    if (t.isEmpty() || t.size() >= qsizetype(sizeof ascii))
        return std::nullopt;
    qsizetype i = 0;
    bool digit = false;
    bool point = false;
    int length = 0;
    if (t[0] == QLatin1Char('+') || t[0] == QLatin1Char('-'))
        ascii[length++] = static_cast<char>(t[i++].unicode());
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digit = true;
            ascii[length++] = static_cast<char>(c.unicode());
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !point) {
            point = true;
            ascii[length++] = '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    const char* from = ascii[0] == '+' ? ascii + 1 : ascii;
    const auto [end, error] = std::from_chars(from, ascii + length, number.value);
    if (error != std::errc() || end != ascii + length || !std::isfinite(number.value))
        return std::nullopt;
    return number;
}

double inKilograms(double value, Unit unit) {
    return unit == Unit::Pound ? value * kPoundInKilograms : value;
}

double roundedTo(double value, double step) {
    return std::round(value / step) * step;
}

// A text of our own export that starts with a quote to keep spreadsheets from taking it for a
// formula: the quote is no part of the text.
QString withoutFormulaGuard(const QString& text) {
    if (text.size() >= 2 && text[0] == QLatin1Char('\'') && QStringView(u"=+-@'").contains(text[1]))
        return text.mid(1);
    return text;
}

// ---- rows ------------------------------------------------------------------------------

QString oneLine(QString message) {
    return message.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

// A cell as a reason quotes it: a long one cut short, so that the kept reasons stay small.
QString shown(const QString& cell) {
    constexpr qsizetype kLongest = 40;
    return cell.size() <= kLongest ? cell : cell.left(kLongest) + QStringLiteral("…");
}

class RowReader {
public:
    RowReader(const Layout& layout, const Options& options, Table* table)
        : m_layout(layout), m_options(options), m_table(table) {}

    /// The row of @p cells, or its refusal in @p reason.
    std::optional<Row> read(const QStringList& cells, qint64 lineNumber, QString* reason) {
        auto refuse = [reason](const QString& why) -> std::optional<Row> {
            *reason = why;
            return std::nullopt;
        };
        const int count = static_cast<int>(cells.size());
        if (count < m_layout.fieldCount)
            return refuse(QStringLiteral("項目が足りません（見出しは %1 項目、この行は %2 項目）")
                              .arg(m_layout.fieldCount)
                              .arg(count));
        for (int i = m_layout.fieldCount; i < count; ++i)
            if (!cells[i].isEmpty())
                return refuse(QStringLiteral("項目が多すぎます（見出しは %1 項目、この行は %2 項目）")
                                  .arg(m_layout.fieldCount)
                                  .arg(count));
        Row row;
        row.lineNumber = lineNumber;

        const QString& dateCell = cells[m_layout.date];
        if (dateCell.isEmpty())
            return refuse(QStringLiteral("日付がありません"));
        DateTimeText when;
        switch (readDateTime(dateCell, &when)) {
        case DateProblem::None:
            break;
        case DateProblem::Unreadable:
            return refuse(QStringLiteral("日付「%1」が読めません（2020/01/31、2020-01-31 などの形で書いてください）")
                              .arg(shown(dateCell)));
        case DateProblem::Impossible:
            return refuse(QStringLiteral("日付「%1」はありえない日付です").arg(shown(dateCell)));
        case DateProblem::BadTime:
            return refuse(QStringLiteral("日付「%1」の時刻が読めません").arg(shown(dateCell)));
        }
        if (m_layout.time >= 0 && !cells[m_layout.time].isEmpty()) {
            const auto time = readTimeCell(cells[m_layout.time]);
            if (!time)
                return refuse(QStringLiteral("時刻「%1」が読めません").arg(shown(cells[m_layout.time])));
            when.time = *time;
        }
        if (when.offset && when.time.isValid()) {
            const QDateTime local = QDateTime(when.date, when.time, QTimeZone(*when.offset)).toTimeZone(m_options.zone);
            when.date = local.date();
            when.time = local.time();
        }
        if (when.date < kFirstDate || when.date > kLastDate)
            return refuse(QStringLiteral("日付「%1」は 1900/01/01～2099/12/31 の範囲外です").arg(shown(dateCell)));
        row.date = when.date;
        row.time = when.time;

        Weight weight;
        if (const auto problem = readWeight(cells[m_layout.weight], &weight))
            return refuse(*problem);
        row.weight = static_cast<float>(weight.stored);

        const bool withoutFat = m_layout.fat < 0 || cells[m_layout.fat].isEmpty();
        if (!withoutFat)
            if (const auto problem = readFat(cells[m_layout.fat], weight.measured, &row.bodyFat))
                return refuse(*problem);

        if (m_layout.situation >= 0)
            row.situation = withoutFormulaGuard(cells[m_layout.situation]);
        if (row.situation.isEmpty())
            row.situation = m_options.situation;
        if (m_layout.comment >= 0)
            row.comment = withoutFormulaGuard(cells[m_layout.comment]);
        // the texts the log cannot hold, refused as the entry refuses them; a situation of the
        // caller was checked once, and a time of day is always fine
        if (m_layout.situation >= 0)
            if (const Status problem = textFieldProblem(row.situation, QStringLiteral("状況")); !problem)
                return refuse(oneLine(problem.message()));
        if (const Status problem = textFieldProblem(row.comment, QStringLiteral("一言日記")); !problem)
            return refuse(oneLine(problem.message()));
        (weight.unit == Unit::Pound ? m_table->pounds : m_table->kilograms) = true;
        if (withoutFat)
            ++m_table->withoutBodyFat;
        return row;
    }

private:
    struct Weight {
        double measured = 0; ///< kg, as the scale measured it
        double stored = 0;   ///< kg, as the log will hold it
        Unit unit = Unit::Kilogram;
    };

    // The weight of @p cell, or the reason it cannot be taken.
    std::optional<QString> readWeight(const QString& cell, Weight* weight) {
        if (cell.isEmpty())
            return QStringLiteral("体重が入力されていません");
        const auto number = readNumber(cell);
        if (!number)
            return QStringLiteral("体重「%1」: 数値を入力してください").arg(shown(cell));
        if (number->unitGiven && !number->unit)
            return QStringLiteral("体重「%1」: 数値を入力してください").arg(shown(cell));
        if (number->value <= 0)
            return QStringLiteral("体重「%1」: ０以下が入力されています").arg(shown(cell));
        weight->unit = number->unit.value_or(m_options.unit.value_or(m_layout.weightUnit.value_or(Unit::Kilogram)));
        weight->measured = inKilograms(number->value, weight->unit);
        // 0.01 kg keeps every 0.1 lb step of a scale apart (0.1 lb is 0.045 kg)
        weight->stored = weight->unit == Unit::Pound ? roundedTo(weight->measured, 0.01) : number->value;
        if (static_cast<float>(weight->stored) >= 999)
            return QStringLiteral("体重「%1」: ９９９以上は入力できません").arg(shown(cell));
        if (static_cast<float>(weight->stored) <= 0)
            return QStringLiteral("体重「%1」: ０以下が入力されています").arg(shown(cell));
        return std::nullopt;
    }

    // The body fat percentage of @p cell, or the reason it cannot be read.
    std::optional<QString> readFat(const QString& cell, double weightKg, float* percent) {
        const auto number = readNumber(cell);
        if (m_layout.fatColumn == FatColumn::Percentage) {
            if (!number || (number->unitGiven && number->unit))
                return QStringLiteral("体脂肪率「%1」: 数値を入力してください").arg(shown(cell));
            if (number->value < 0)
                return QStringLiteral("体脂肪率「%1」: ０未満が入力されています").arg(shown(cell));
            if (number->value > 100)
                return QStringLiteral("体脂肪率「%1」: 100％を超えています").arg(shown(cell));
            *percent = static_cast<float>(number->value);
            return std::nullopt;
        }
        if (!number || (number->unitGiven && !number->unit))
            return QStringLiteral("体脂肪量「%1」: 数値を入力してください").arg(shown(cell));
        if (number->value < 0)
            return QStringLiteral("体脂肪量「%1」: ０未満が入力されています").arg(shown(cell));
        const Unit unit = number->unit.value_or(
            m_options.unit.value_or(m_layout.fatUnit.value_or(m_layout.weightUnit.value_or(Unit::Kilogram))));
        // a percentage of the weight as the scale measured it, before any rounding
        const double massKg = inKilograms(number->value, unit);
        const double value = roundedTo(massKg / weightKg * 100, 0.1);
        if (value > 100)
            return QStringLiteral("体脂肪量「%1」: 体重より多くなっています").arg(shown(cell));
        *percent = static_cast<float>(value);
        return std::nullopt;
    }

    const Layout& m_layout;
    const Options& m_options;
    Table* m_table;
};

// The layout a candidate header line gives with the best of the separators, if any.
std::optional<Layout> headerLayout(const QString& line, std::optional<QChar> forcedSeparator, Layout* partial) {
    std::optional<Layout> best;
    const QChar all[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    for (const QChar separator : all) {
        if (forcedSeparator && *forcedSeparator != separator)
            continue;
        const auto cells = lineCells(line, separator);
        if (!cells)
            continue;
        const Layout layout = layoutOf(*cells, separator);
        if (!layout.complete()) {
            if (layout.recognised() > partial->recognised())
                *partial = layout;
            continue;
        }
        if (!best || layout.recognised() > best->recognised() ||
            (layout.recognised() == best->recognised() && layout.fieldCount > best->fieldCount))
            best = layout;
    }
    return best;
}

QString noTableMessage(const Layout& partial) {
    if (partial.date >= 0)
        return QStringLiteral("体重の列が見つかりません（日付の列「%1」はあります）。\r\n"
                              "体重の列の見出しを「体重」「Weight」などにしてください。")
            .arg(shown(partial.columns.date));
    if (partial.weight >= 0)
        return QStringLiteral("日付の列が見つかりません（体重の列「%1」はあります）。\r\n"
                              "日付の列の見出しを「日付」「Date」などにしてください。")
            .arg(shown(partial.columns.weight));
    return QStringLiteral("取り込める表が見つかりません。\r\n"
                          "カンマ・セミコロン・タブのどれかで区切った表で、先頭に「日付」「体重」"
                          "（または Date、Weight）などの見出しの行が必要です。");
}

bool isCommentLine(QStringView text) {
    const QStringView t = trimmedBlanks(text);
    return t.startsWith(QLatin1Char('#'));
}

bool isBlankLine(QStringView text) {
    return trimmedBlanks(text).isEmpty();
}

QString lineProblem(const Line& line, Encoding encoding) {
    if (line.state == Line::State::TooLong)
        return QStringLiteral("行が長すぎます（1 MB を超えています）");
    return QStringLiteral("%1 として読めない文字があります").arg(encodingName(encoding));
}

} // namespace

QString Row::resolvedSituation() const {
    if (!situation.isEmpty())
        return situation;
    if (!time.isValid())
        return kDefaultSituation;
    // the time button's form, 9:05:03, written out by hand: a file may have millions of rows
    char16_t text[8];
    int n = 0;
    if (time.hour() >= 10)
        text[n++] = static_cast<char16_t>(u'0' + time.hour() / 10);
    text[n++] = static_cast<char16_t>(u'0' + time.hour() % 10);
    for (const int part : {time.minute(), time.second()}) {
        text[n++] = u':';
        text[n++] = static_cast<char16_t>(u'0' + part / 10);
        text[n++] = static_cast<char16_t>(u'0' + part % 10);
    }
    return QString(reinterpret_cast<const QChar*>(text), n);
}

WeightRecord Row::record() const {
    WeightRecord r;
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    const char16_t text[10] = {static_cast<char16_t>(u'0' + year / 1000),
                               static_cast<char16_t>(u'0' + year / 100 % 10),
                               static_cast<char16_t>(u'0' + year / 10 % 10),
                               static_cast<char16_t>(u'0' + year % 10),
                               u'/',
                               static_cast<char16_t>(u'0' + month / 10),
                               static_cast<char16_t>(u'0' + month % 10),
                               u'/',
                               static_cast<char16_t>(u'0' + day / 10),
                               static_cast<char16_t>(u'0' + day % 10)};
    r.date = QString(reinterpret_cast<const QChar*>(text), 10);
    r.situation = resolvedSituation();
    r.weight = weight;
    r.comment = comment;
    r.bodyFat = bodyFat;
    return r;
}

QString encodingName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case Encoding::Utf8WithBom:
        return QStringLiteral("UTF-8（BOM 付き）");
    case Encoding::Utf16LittleEndian:
        return QStringLiteral("UTF-16 LE");
    case Encoding::Utf16BigEndian:
        return QStringLiteral("UTF-16 BE");
    case Encoding::Cp932:
        return QStringLiteral("Shift_JIS（CP932）");
    }
    return QString();
}

Table read(const QByteArray& bytes, const Options& options) {
    Table table;
    const auto fail = [&table](const QString& message) {
        table.status = Status::failure(message);
        return table;
    };
    if (!options.situation.isEmpty()) {
        const Status problem = textFieldProblem(options.situation, QStringLiteral("状況"));
        if (!problem)
            return fail(problem.message());
    }
    if (bytes.startsWith("PK\x03\x04") || bytes.startsWith("\xD0\xCF\x11\xE0"))
        return fail(
            QStringLiteral("表計算ソフトのブック（Excel など）のようです。\r\n"
                           "「CSV（カンマ区切り）」または「Unicode テキスト」で保存し直してから取り込んでください。"));
    if (bytes.startsWith(QByteArray("\xFF\xFE\x00\x00", 4)) || bytes.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)))
        return fail(QStringLiteral("UTF-32 のファイルは読めません。UTF-8 か UTF-16 で保存し直してください。"));
    const Detected detected = detectEncoding(bytes);
    table.encoding = detected.encoding;
    LineSource source(bytes, detected);

    // the header: the first line in which a date and a weight column are found
    std::optional<QChar> forcedSeparator;
    Layout partial;
    std::optional<Layout> layout;
    bool anyText = false;
    Line line;
    for (int searched = 0; !layout && searched < kHeaderSearchLines && source.next(&line);) {
        if (line.state == Line::State::Text && isBlankLine(line.text))
            continue;
        anyText = true;
        ++searched;
        if (line.state != Line::State::Text)
            continue;
        // a spreadsheet's note of the separator: sep=;
        if (line.text.size() == 5 && line.text.startsWith(QLatin1String("sep="), Qt::CaseInsensitive)) {
            forcedSeparator = line.text[4];
            continue;
        }
        QString candidate = line.text;
        if (isCommentLine(candidate))
            candidate = trimmedBlanks(candidate).mid(1).toString();
        layout = headerLayout(candidate, forcedSeparator, &partial);
        if (!layout && !isCommentLine(line.text) && datalog::parseLine(line.text)) {
            // no header: this program's own log, read from its first line on
            layout = logLayout();
            source.pushBack(std::move(line));
        }
    }
    if (!layout)
        return fail(anyText ? noTableMessage(partial) : QStringLiteral("ファイルが空です。"));
    table.separator = layout->separator;
    table.columns = layout->columns;
    table.fat = layout->fatColumn;

    RowReader reader(*layout, options, &table);
    CellSplitter splitter(layout->separator);
    const auto refuse = [&table](qint64 lineNumber, const QString& reason) {
        if (table.refused.size() < size_t(kKeptRefusals))
            table.refused.push_back({lineNumber, reason});
        ++table.refusedCount;
    };
    bool reserved = false;
    const qsizetype bytesAfterHeader = source.remaining();
    const int bytesPerCharacter =
        table.encoding == Encoding::Utf16LittleEndian || table.encoding == Encoding::Utf16BigEndian ? 2 : 1;
    qsizetype charactersRead = 0;
    while (source.next(&line)) {
        charactersRead += line.text.size() + 1;
        if (line.state != Line::State::Text) {
            refuse(line.number, lineProblem(line, table.encoding));
            continue;
        }
        if (isBlankLine(line.text) || isCommentLine(line.text))
            continue;
        splitter.start();
        const qint64 first = line.number;
        std::vector<Line> continued;
        bool complete = splitter.feed(line.text);
        while (!complete && continued.size() < size_t(kLongestRecordLines)) {
            Line more;
            if (!source.next(&more))
                break;
            const bool text = more.state == Line::State::Text;
            continued.push_back(std::move(more));
            if (!text)
                break;
            complete = splitter.feed(continued.back().text);
        }
        if (!complete) {
            refuse(first, QStringLiteral("引用符（\"）が閉じていません"));
            // the lines after it are read again as rows of their own
            for (auto it = continued.rbegin(); it != continued.rend(); ++it)
                source.pushBack(std::move(*it));
            continue;
        }
        const QStringList& cells = splitter.cells();
        if (std::all_of(cells.begin(), cells.end(), [](const QString& c) { return c.isEmpty(); }))
            continue;
        if (cells == layout->header)
            continue; // the header again, as where two exports were joined
        QString reason;
        auto row = reader.read(cells, first, &reason);
        if (!row) {
            refuse(first, reason);
            continue;
        }
        if (qint64(table.rows.size()) >= options.rowLimit) {
            Table tooLarge;
            tooLarge.encoding = table.encoding;
            tooLarge.separator = table.separator;
            tooLarge.columns = table.columns;
            tooLarge.status = Status::failure(
                QStringLiteral("測定の行が多すぎます（%1 行目で %2 行を超えました）。\r\n"
                               "一度に取り込めるのは %2 行までです。ファイルを分けて取り込んでください。")
                    .arg(QString::number(first), QString::number(options.rowLimit)));
            return tooLarge;
        }
        if (!table.firstDate.isValid() || row->date < table.firstDate)
            table.firstDate = row->date;
        if (!table.lastDate.isValid() || row->date > table.lastDate)
            table.lastDate = row->date;
        table.rows.push_back(std::move(*row));
        if (!reserved && table.rows.size() == 256) {
            // Room for the rows of the whole file, guessed from the length of the first ones, so
            // that a large file never needs the room of a growing vector's two copies. A guess
            // too large costs nothing: room never written is never given memory.
            reserved = true;
            const double rowBytes = double(charactersRead) * bytesPerCharacter / 256;
            const double guess = double(bytesAfterHeader) / rowBytes * 1.1 + 256;
            table.rows.reserve(static_cast<size_t>(std::min(guess, double(options.rowLimit) + 1)));
        }
    }
    return table;
}

QStringList Table::findings() const {
    QStringList lines;
    if (!status) {
        lines << status.message();
        return lines;
    }
    lines << QStringLiteral("文字コード: %1").arg(encodingName(encoding));
    const QString separatorName = separator == QLatin1Char(',')    ? QStringLiteral("カンマ")
                                  : separator == QLatin1Char(';')  ? QStringLiteral("セミコロン")
                                  : separator == QLatin1Char('\t') ? QStringLiteral("タブ")
                                                                   : QString(separator);
    if (columns.logFormat) {
        lines << QStringLiteral("形式: このソフトの記録ファイル（見出しなし）");
    } else {
        lines << QStringLiteral("区切り: %1").arg(separatorName);
        QStringList used;
        for (const auto& [what, header] :
             {std::pair{QStringLiteral("日付"), columns.date}, std::pair{QStringLiteral("時刻"), columns.time},
              std::pair{QStringLiteral("体重"), columns.weight},
              std::pair{fat == FatColumn::Mass ? QStringLiteral("体脂肪量") : QStringLiteral("体脂肪率"),
                        columns.bodyFat},
              std::pair{QStringLiteral("状況"), columns.situation},
              std::pair{QStringLiteral("コメント"), columns.comment}})
            if (!header.isEmpty())
                used << QStringLiteral("%1「%2」").arg(what, shown(header));
        lines << QStringLiteral("列: %1").arg(used.join(QStringLiteral("、")));
    }
    if (pounds)
        lines << (kilograms ? QStringLiteral("単位: kg と lb が混ざっています（lb は kg に換算し、0.01 kg に丸めます）")
                            : QStringLiteral("単位: lb（kg に換算し、0.01 kg に丸めます）"));
    else
        lines << QStringLiteral("単位: kg");
    if (fat == FatColumn::Mass)
        lines << QStringLiteral("体脂肪: 体脂肪量を体重に対する体脂肪率に換算します（0.1% に丸めます）");
    if (withoutBodyFat > 0)
        lines << QStringLiteral("体脂肪率のない行: %1 行（体脂肪率 0 として記録します）").arg(withoutBodyFat);
    if (rows.empty())
        lines << QStringLiteral("読み取れた行: 0 行");
    else
        lines << QStringLiteral("読み取れた行: %1 行（%2～%3）")
                     .arg(rows.size())
                     .arg(firstDate.toString(QStringLiteral("yyyy/MM/dd")),
                          lastDate.toString(QStringLiteral("yyyy/MM/dd")));
    if (refusedCount > 0) {
        lines << QStringLiteral("読めない行: %1 行（取り込みません）").arg(refusedCount);
        for (const RefusedRow& r : refused)
            lines << QStringLiteral("　%1 行目: %2").arg(r.lineNumber).arg(r.reason);
        if (refusedCount > qint64(refused.size()))
            lines << QStringLiteral("　ほか %1 行").arg(refusedCount - qint64(refused.size()));
    }
    return lines;
}

} // namespace puka::csvimport
