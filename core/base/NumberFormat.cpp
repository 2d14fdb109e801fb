#include "core/base/NumberFormat.h"

#include "core/base/TextBuffer.h"

#include <QHash>
#include <QLocale>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace puka {
namespace {

// Room for the longest positional text of a finite double to 15 significant digits
// (about 330 characters for the smallest subnormal) plus decimals and a suffix.
constexpr int kBufferSize = 400;

// Writes the shortest decimal text of @p value to @p significant digits, positionally and
// without "-0", into @p out; returns its length, or -1 for a value that is not finite.
int convertShortest(double value, int significant, char* out) {
    if (!std::isfinite(value))
        return -1;
    if (value == 0) {
        out[0] = '0';
        return 1;
    }
    // one digit more than kept, correctly rounded: "-1.2345678e+30"
    char sci[48];
    const std::to_chars_result r =
        std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, significant);
    bool negative = false;
    char digits[24];
    int count = 0;
    int exponent = 0;
    const auto parse = [&](const char* p, const char* end) {
        negative = *p == '-';
        if (negative)
            ++p;
        count = 0;
        for (; p < end && *p != 'e'; ++p)
            if (*p != '.')
                digits[count++] = *p;
        ++p; // 'e'
        if (p < end && *p == '+')
            ++p;
        std::from_chars(p, end, exponent);
    };
    parse(sci, r.ptr);
    if (digits[significant] == '5') {
        // Possibly an exact tie, which to_chars rounds to even: take the digits from Qt's
        // conversion instead, which rounds a tie away from zero as the lists always have.
        const QByteArray e = QString::number(value, 'e', significant - 1).toLatin1();
        parse(e.constData(), e.constData() + e.size());
    } else {
        const bool up = digits[significant] > '5';
        count = significant;
        if (up) {
            int i = count - 1;
            for (; i >= 0 && digits[i] == '9'; --i)
                digits[i] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {
                digits[0] = '1';
                ++exponent;
            }
        }
    }
    while (count > 1 && digits[count - 1] == '0')
        --count;

    int n = 0;
    if (negative)
        out[n++] = '-';
    if (exponent >= 0) {
        if (count <= exponent + 1) {
            std::memcpy(out + n, digits, static_cast<size_t>(count));
            n += count;
            for (int i = count; i < exponent + 1; ++i)
                out[n++] = '0';
        } else {
            std::memcpy(out + n, digits, static_cast<size_t>(exponent) + 1);
            n += exponent + 1;
            out[n++] = '.';
            std::memcpy(out + n, digits + exponent + 1, static_cast<size_t>(count - exponent - 1));
            n += count - exponent - 1;
        }
    } else {
        out[n++] = '0';
        out[n++] = '.';
        for (int i = 0; i < -exponent - 1; ++i)
            out[n++] = '0';
        std::memcpy(out + n, digits, static_cast<size_t>(count));
        n += count;
    }
    return n;
}

// The number texts that lists repeat by the thousand (weights, differences, row numbers) are
// kept for good: their characters go into a pool that is never freed, and the texts handed out
// are QString::fromRawData over it. Copying such a text into a grid cell, and dropping the
// cell again, then costs no reference count, which in lists of tens of thousands of rows was
// most of their work. The pool stops growing at kPoolLimit characters; later texts are
// ordinary shared strings.
class TextPool {
public:
    QString keep(const QString& text) {
        const qsizetype n = text.size();
        // no allocated room: a literal or a text of the pool already, which live for good
        if (n == 0 || n > kLongestKept || text.capacity() == 0)
            return text;
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_room < n) {
            if (m_kept + kChunk > kPoolLimit)
                return text;
            m_chunks.push_back(std::make_unique<char16_t[]>(kChunk));
            m_next = m_chunks.back().get();
            m_room = kChunk;
            m_kept += kChunk;
        }
        char16_t* kept = m_next;
        std::memcpy(kept, text.constData(), static_cast<size_t>(n) * sizeof(char16_t));
        m_next += n;
        m_room -= n;
        return QString::fromRawData(reinterpret_cast<const QChar*>(kept), n);
    }

    /// The one pool, made on first use and never destroyed: texts handed out may live until
    /// the very end of the program.
    static TextPool& instance() {
        static TextPool* const pool = new TextPool;
        return *pool;
    }

private:
    static constexpr qsizetype kLongestKept = 32;
    static constexpr qsizetype kChunk = 32 * 1024;
    static constexpr qsizetype kPoolLimit = 2 * 1024 * 1024; // characters: 4 MB
    std::mutex m_mutex;
    std::vector<std::unique_ptr<char16_t[]>> m_chunks;
    char16_t* m_next = nullptr;
    qsizetype m_room = 0;
    qsizetype m_kept = 0;
};

QString keptForGood(const QString& text) {
    return TextPool::instance().keep(text);
}

// A log repeats a few hundred weights and body fats over and over, so the texts of recent
// values are kept: a direct-mapped table per thread, keyed by the value's bits and precision.
struct RecentText {
    std::uint64_t bits = 0;
    std::int8_t significant = 0; // 0: an empty slot
    std::int8_t length = 0;
    char text[22];
};
constexpr int kRecentSlots = 1024;

int shortestChars(double value, int significant, char* out) {
    thread_local std::array<RecentText, kRecentSlots> recent{};
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    RecentText& slot = recent[static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 54) % kRecentSlots];
    if (slot.significant == significant && slot.bits == bits) {
        std::memcpy(out, slot.text, static_cast<size_t>(slot.length));
        return slot.length;
    }
    const int n = convertShortest(value, significant, out);
    if (n >= 0 && n <= static_cast<int>(sizeof slot.text)) {
        slot.bits = bits;
        slot.significant = static_cast<std::int8_t>(significant);
        slot.length = static_cast<std::int8_t>(n);
        std::memcpy(slot.text, out, static_cast<size_t>(n));
    }
    return n;
}

QString nonFiniteText(double value) {
    return QString::number(value, 'g', 7);
}

// Rounds the positional decimal text in[0, length) half away from zero to @p decimals
// decimals into @p out; returns the length written.
int roundChars(const char* in, int length, int decimals, char* out) {
    const bool negative = length > 0 && in[0] == '-';
    const char* body = in + (negative ? 1 : 0);
    const int bodyLength = length - (negative ? 1 : 0);
    int dot = 0;
    while (dot < bodyLength && body[dot] != '.')
        ++dot;
    const char* frac = dot < bodyLength ? body + dot + 1 : body + bodyLength;
    const int fracLength = dot < bodyLength ? bodyLength - dot - 1 : 0;
    // the digits of the integer part and of the kept decimals, with room for a carry in front
    char digits[kBufferSize + 32];
    int count = 0;
    digits[count++] = '0';
    for (int i = 0; i < dot; ++i)
        digits[count++] = body[i];
    for (int i = 0; i < decimals; ++i)
        digits[count++] = i < fracLength ? frac[i] : '0';
    if (fracLength > decimals && frac[decimals] >= '5') {
        int i = count - 1;
        for (; digits[i] == '9'; --i)
            digits[i] = '0';
        ++digits[i];
    }
    const int intEnd = count - decimals;
    int first = 0;
    while (first + 1 < intEnd && digits[first] == '0')
        ++first;
    bool zero = true;
    for (int i = first; i < count; ++i)
        zero = zero && digits[i] == '0';
    int n = 0;
    if (negative && !zero)
        out[n++] = '-';
    for (int i = first; i < count; ++i) {
        if (i == intEnd)
            out[n++] = '.';
        out[n++] = digits[i];
    }
    return n;
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The digits of @p value rounded half away from zero to @p decimals decimals, written into
// @p out without going through the shortest text, when that gives the same digits: the
// shortest text to @p significant digits lies within half a unit of its last digit of the
// value, so unless the value is that close to a half of the last kept decimal, or has fewer
// significant digits than the decimals ask for, both round alike. Returns -1 otherwise.
int fastRoundedChars(double value, int significant, int decimals, char* out) {
    if (decimals < 0 || decimals > 6 || significant < 7 || significant > 15)
        return -1;
    const bool negative = value < 0;
    const double magnitude = negative ? -value : value;
    // below 10^(significant - 1 - decimals) the shortest text reaches every kept decimal
    if (!(magnitude < kPowersOfTen[significant - 1 - decimals]))
        return -1;
    const double scaled = magnitude * kPowersOfTen[decimals];
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    // The shortest text is within half a unit of its last digit of the value: 10^(e - significant
    // + 1) for a value of 10^e or more (e = 0 below 1, which only widens the margin). Scaled, that
    // is a half of 10^-(significant - 1 - decimals - e); the margin is a little wider still, for
    // the rounding of the multiplication above.
    int e = 0;
    while (e < significant - 2 - decimals && magnitude >= kPowersOfTen[e + 1])
        ++e;
    const double margin = 0.5 / kPowersOfTen[significant - 1 - decimals - e] * 1.001 + 1e-300;
    if (std::fabs(fraction - 0.5) <= margin)
        return -1;
    const auto units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    char digits[24];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, units);
    int count = static_cast<int>(r.ptr - digits);
    int n = 0;
    if (negative && units != 0)
        out[n++] = '-';
    if (count <= decimals) {
        // "0.0ddd": zeros in front of the digits up to one integer digit
        out[n++] = '0';
        if (decimals > 0)
            out[n++] = '.';
        for (int i = count; i < decimals; ++i)
            out[n++] = '0';
        std::memcpy(out + n, digits, static_cast<size_t>(count));
        return n + count;
    }
    const int integerDigits = count - decimals;
    std::memcpy(out + n, digits, static_cast<size_t>(integerDigits));
    n += integerDigits;
    if (decimals > 0) {
        out[n++] = '.';
        std::memcpy(out + n, digits + integerDigits, static_cast<size_t>(decimals));
        n += decimals;
    }
    return n;
}

// A rounded text kept with what made it: its digits (at most 8 characters, packed into a
// number) and its prefix and suffix.
struct KeptFixed {
    static constexpr int kAffixRoom = 4;
    std::uint64_t digits = 0;
    std::int8_t length = -1; // -1: an empty slot
    std::int8_t prefixLength = 0;
    std::int8_t suffixLength = 0;
    char16_t prefix[kAffixRoom] = {};
    char16_t suffix[kAffixRoom] = {};
    QString text;

    bool sameKey(const KeptFixed& o) const {
        return digits == o.digits && length == o.length && prefixLength == o.prefixLength &&
               suffixLength == o.suffixLength && std::memcmp(prefix, o.prefix, sizeof prefix) == 0 &&
               std::memcmp(suffix, o.suffix, sizeof suffix) == 0;
    }
};

// @p prefix, the rounded text of @p value and @p suffix, made into a QString at once.
QString fixedWithAffixes(double value, int significant, int decimals, QStringView prefix, QStringView suffix) {
    char fast[32];
    const int fastLength = fastRoundedChars(value, significant, decimals, fast);
    if (fastLength >= 0) {
        // short texts such as the gram differences repeat: recent ones are kept, found by
        // their digits and affixes
        KeptFixed* slot = nullptr;
        if (fastLength <= 8 && prefix.size() <= KeptFixed::kAffixRoom && suffix.size() <= KeptFixed::kAffixRoom) {
            KeptFixed key;
            std::memcpy(&key.digits, fast, static_cast<size_t>(fastLength));
            key.length = static_cast<std::int8_t>(fastLength);
            key.prefixLength = static_cast<std::int8_t>(prefix.size());
            key.suffixLength = static_cast<std::int8_t>(suffix.size());
            std::uint64_t mix = key.digits * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(fastLength);
            for (qsizetype i = 0; i < prefix.size(); ++i) {
                key.prefix[i] = prefix[i].unicode();
                mix = (mix ^ key.prefix[i]) * 0xC2B2AE3D27D4EB4Full;
            }
            for (qsizetype i = 0; i < suffix.size(); ++i) {
                key.suffix[i] = suffix[i].unicode();
                mix = (mix ^ (key.suffix[i] + 0x10000u)) * 0xC2B2AE3D27D4EB4Full;
            }
            thread_local std::array<KeptFixed, 256> kept{};
            slot = &kept[static_cast<size_t>(mix >> 56)];
            if (slot->sameKey(key))
                return slot->text;
            *slot = std::move(key); // its text follows below
        }
        QString out(prefix.size() + fastLength + suffix.size(), Qt::Uninitialized);
        QChar* d = out.data();
        for (const QChar c : prefix)
            *d++ = c;
        for (int i = 0; i < fastLength; ++i)
            *d++ = QLatin1Char(fast[i]);
        for (const QChar c : suffix)
            *d++ = c;
        if (!slot)
            return out;
        slot->text = keptForGood(out);
        return slot->text;
    }
    char shortest[kBufferSize];
    const int length = shortestChars(value, significant, shortest);
    if (length < 0)
        return prefix.toString() + nonFiniteText(value) + suffix.toString();
    char digits[kBufferSize + 48];
    const int n = roundChars(shortest, length, decimals, digits);
    QString out(prefix.size() + n + suffix.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (const QChar c : prefix)
        *d++ = c;
    for (int i = 0; i < n; ++i)
        *d++ = QLatin1Char(digits[i]);
    for (const QChar c : suffix)
        *d++ = c;
    return out;
}

// The display formats whose finished texts are kept for repeated values, so that the rows
// of a list share one text for one weight instead of each making its own.
enum class Format : std::int8_t { None, Kg, SignedKg, One, OnePercent, Percent, Shortest };

struct RecentString {
    std::uint64_t bits = 0;
    Format format = Format::None;
    QString text;
};

template <typename Make> QString recentString(float value, Format format, Make make) {
    thread_local std::array<RecentString, kRecentSlots> recent{};
    std::uint32_t bits32 = 0;
    std::memcpy(&bits32, &value, sizeof bits32);
    const std::uint64_t bits = bits32;
    const auto mixed = (bits * 0x9E3779B97F4A7C15ull) ^ static_cast<std::uint64_t>(format);
    RecentString& slot = recent[static_cast<size_t>((mixed * 0x9E3779B97F4A7C15ull) >> 54) % kRecentSlots];
    if (slot.format != format || slot.bits != bits) {
        slot.text = keptForGood(make());
        slot.bits = bits;
        slot.format = format;
    }
    return slot.text;
}

} // namespace

QString shortestText(float value) {
    return recentString(value, Format::Shortest, [value] {
        char out[kBufferSize];
        const int n = shortestChars(static_cast<double>(value), 7, out);
        return n < 0 ? nonFiniteText(value) : QString::fromLatin1(out, n);
    });
}
QString shortestText(double value) {
    char out[kBufferSize];
    const int n = shortestChars(value, 15, out);
    return n < 0 ? nonFiniteText(value) : QString::fromLatin1(out, n);
}

namespace {
double storedValueOnce(float value) {
    char out[kBufferSize];
    const int n = shortestChars(static_cast<double>(value), 7, out);
    if (n < 0)
        return static_cast<double>(value);
    double parsed = 0;
    std::from_chars(out, out + n, parsed);
    return parsed;
}
} // namespace

double storedValue(float value) {
    struct Kept {
        std::uint32_t bits = 0;
        bool used = false;
        double stored = 0;
    };
    thread_local std::array<Kept, kRecentSlots> kept{};
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Kept& slot = kept[static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 54) % kRecentSlots];
    if (slot.used && slot.bits == bits)
        return slot.stored;
    slot.bits = bits;
    slot.used = true;
    slot.stored = storedValueOnce(value);
    return slot.stored;
}

QString fixedText(float value, int decimals, QStringView prefix, QStringView suffix) {
    return fixedWithAffixes(static_cast<double>(value), 7, decimals, prefix, suffix);
}
QString fixedText(double value, int decimals, QStringView prefix, QStringView suffix) {
    return fixedWithAffixes(value, 15, decimals, prefix, suffix);
}

QString countText(qint64 value, QStringView suffix) {
    // row numbers past this are made afresh rather than kept
    constexpr qint64 kLargestKept = 1 << 20;
    if (value < 0 || value > kLargestKept || suffix.size() > 8)
        return integerText(value, suffix);
    struct Table {
        QString suffix;
        std::vector<QString> texts;
    };
    thread_local std::array<Table, 4> tables;
    thread_local size_t nextTable = 0;
    Table* table = nullptr;
    thread_local Table* last = nullptr;
    const auto sameSuffix = [suffix](const Table& t) {
        if (t.texts.empty() || t.suffix.size() != suffix.size())
            return false;
        for (qsizetype i = 0; i < suffix.size(); ++i)
            if (t.suffix[i] != suffix[i])
                return false;
        return true;
    };
    if (last && sameSuffix(*last))
        table = last;
    else
        for (Table& t : tables)
            if (sameSuffix(t))
                table = &t;
    if (!table) {
        table = &tables[nextTable];
        nextTable = (nextTable + 1) % tables.size();
        table->suffix = suffix.toString();
        table->texts.clear();
        table->texts.emplace_back(); // never empty once chosen
    }
    last = table;
    const auto index = static_cast<size_t>(value);
    if (index >= table->texts.size())
        table->texts.resize(index + 1);
    QString& text = table->texts[index];
    if (text.isNull())
        text = keptForGood(integerText(value, suffix));
    return text;
}

void appendInteger(TextBuffer* out, qint64 value, QStringView suffix) {
    char digits[24];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    const qsizetype n = r.ptr - digits;
    char16_t* d = out->room(n);
    for (qsizetype i = 0; i < n; ++i)
        d[i] = static_cast<char16_t>(digits[i]);
    out->grew(n);
    out->append(suffix);
}

QString integerText(qint64 value, QStringView suffix) {
    char digits[24];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    const int n = static_cast<int>(r.ptr - digits);
    QString out(n + suffix.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (int i = 0; i < n; ++i)
        *d++ = QLatin1Char(digits[i]);
    for (const QChar c : suffix)
        *d++ = c;
    return out;
}

namespace formats {
QString kg(float value) {
    return recentString(value, Format::Kg,
                        [value] { return fixedWithAffixes(static_cast<double>(value), 7, 1, {}, u"Kg"); });
}
QString signedKg(float value) {
    return recentString(value, Format::SignedKg, [value] {
        const QStringView sign = value == 0 ? u"±" : value > 0 ? u"+" : u"";
        return fixedWithAffixes(static_cast<double>(value), 7, 1, sign, u"Kg");
    });
}
QString one(float value) {
    return recentString(value, Format::One,
                        [value] { return fixedWithAffixes(static_cast<double>(value), 7, 1, {}, {}); });
}
QString onePercent(float value) {
    return recentString(value, Format::OnePercent,
                        [value] { return fixedWithAffixes(static_cast<double>(value), 7, 1, {}, u"%"); });
}
QString percent(float ratio) {
    const float value = ratio * 100.0f;
    return recentString(value, Format::Percent,
                        [value] { return fixedWithAffixes(static_cast<double>(value), 7, 1, {}, u"%"); });
}
QString percent(double ratio) {
    return fixedWithAffixes(ratio * 100.0, 15, 1, {}, u"%");
}
QString kgThreeDecimals(double value) {
    return fixedWithAffixes(value, 15, 3, {}, u"Kg");
}
QString grams(double value) {
    return fixedWithAffixes(value, 15, 0, {}, u"g");
}
} // namespace formats

std::optional<double> parseNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (QChar c : t) {
        // only plain decimal notation: no "nan", "inf", hex or thousands separators
        if (!(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+') ||
              c == QLatin1Char('e') || c == QLatin1Char('E')))
            return std::nullopt;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    bool point = false;
    bool digit = false;
    while (i < n) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digit = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digit)
        return 0.0;
    bool ok = false;
    const double v = QLocale::c().toDouble(text.mid(start, i - start), &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

} // namespace puka
