#include "core/files/Cp932.h"

#include <array>
#include <cerrno>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <memory>

namespace puka::cp932 {
namespace {

// One converter per direction and thread; iconv_open is far too slow to call per line.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    /// Converts all of @p in; on failure returns false and sets @p failedAt to the input offset.
    bool convert(const QByteArray& in, QByteArray& out, qsizetype& failedAt) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 2 + 16);
        char* inPtr = const_cast<char*>(in.constData());
        size_t inLeft = static_cast<size_t>(in.size());
        char* outPtr = out.data();
        size_t outLeft = static_cast<size_t>(out.size());
        while (inLeft > 0) {
            size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            if (rc != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                const qsizetype used = outPtr - out.data();
                out.resize(out.size() * 2);
                outPtr = out.data() + used;
                outLeft = static_cast<size_t>(out.size() - used);
                continue;
            }
            failedAt = inPtr - in.constData();
            return false;
        }
        out.resize(outPtr - out.data());
        return true;
    }

private:
    iconv_t m_cd;
};

Converter& encoder() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

Converter& decoder() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}

} // namespace

Result<QByteArray> encode(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    qsizetype failedAt = 0;
    Converter& c = encoder();
    if (c.valid() && c.convert(utf8, out, failedAt))
        return out;
    // Map the failing UTF-8 offset back to the character it starts.
    const QString before = QString::fromUtf8(utf8.constData(), failedAt);
    const qsizetype i = before.size();
    QString badCharacter;
    if (i < text.size())
        badCharacter = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? text.mid(i, 2) : text.mid(i, 1);
    return Status::failure(unencodableMessage(badCharacter));
}

namespace {

// The decoder reads code page 932 through tables of what glibc iconv gives for each byte and
// each pair of bytes, asked once per thread (a pair's row when its lead byte is first met):
// the same characters as iconv, without its per-call and per-character costs on every read.
constexpr char16_t kInvalid = 0xFFFF; ///< iconv refuses the byte or the pair
constexpr char16_t kLead = 0xFFFE;    ///< a byte that starts a pair
constexpr char16_t kUnusual = 0xFFFD; ///< not one UTF-16 unit: left to iconv itself

class DecodeTables {
public:
    DecodeTables() : m_cd(iconv_open("UTF-32LE", "CP932")) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return;
        unsigned char all[256];
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<unsigned char>(b);
        convert(all, 256, 1, m_single.data());
        m_asciiAsIs = true;
        for (int b = 0; b < 0x80; ++b)
            m_asciiAsIs = m_asciiAsIs && m_single[static_cast<size_t>(b)] == b;
    }
    ~DecodeTables() {
        if (valid())
            iconv_close(m_cd);
    }
    DecodeTables(const DecodeTables&) = delete;
    DecodeTables& operator=(const DecodeTables&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    bool asciiAsIs() const { return m_asciiAsIs; }
    char16_t single(unsigned char b) const { return m_single[b]; }
    /// The characters of the pairs that start with @p lead, by their second byte.
    const char16_t* pairs(unsigned char lead) {
        const std::unique_ptr<std::array<char16_t, 256>>& row = m_pairs[lead];
        return Q_LIKELY(row) ? row->data() : newPairs(lead);
    }

private:
    Q_NEVER_INLINE const char16_t* newPairs(unsigned char lead) {
        std::unique_ptr<std::array<char16_t, 256>>& row = m_pairs[lead];
        row = std::make_unique<std::array<char16_t, 256>>();
        unsigned char all[512];
        for (int b = 0; b < 256; ++b) {
            all[2 * b] = lead;
            all[2 * b + 1] = static_cast<unsigned char>(b);
        }
        convert(all, 256, 2, row->data());
        return row->data();
    }

    // Converts @p count sequences of @p width bytes each, one character each, into @p out.
    void convert(const unsigned char* in, int count, int width, char16_t* out) {
        for (int i = 0; i < count; ++i) {
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
            char* from = reinterpret_cast<char*>(const_cast<unsigned char*>(in + i * width));
            size_t fromLeft = static_cast<size_t>(width);
            char32_t got[2] = {};
            char* to = reinterpret_cast<char*>(got);
            size_t toLeft = sizeof got;
            const size_t rc = iconv(m_cd, &from, &fromLeft, &to, &toLeft);
            const size_t produced = (sizeof got - toLeft) / sizeof(char32_t);
            if (rc == static_cast<size_t>(-1) && errno == EINVAL && width == 1)
                out[i] = kLead;
            else if (rc == static_cast<size_t>(-1) || fromLeft != 0)
                out[i] = kInvalid;
            else if (produced != 1 || got[0] >= kUnusual)
                out[i] = kUnusual;
            else
                out[i] = static_cast<char16_t>(got[0]);
        }
    }

    iconv_t m_cd;
    bool m_asciiAsIs = false;
    std::array<char16_t, 256> m_single{};
    std::array<std::unique_ptr<std::array<char16_t, 256>>, 256> m_pairs;
};

DecodeTables& decodeTables() {
    thread_local DecodeTables tables;
    return tables;
}

// iconv itself, for what the tables leave to it.
std::optional<QString> decodeThroughIconv(const QByteArray& bytes) {
    QByteArray out;
    qsizetype failedAt = 0;
    Converter& c = decoder();
    if (!c.valid() || !c.convert(bytes, out, failedAt))
        return std::nullopt;
    return QString::fromUtf8(out);
}

} // namespace

std::optional<QString> decode(const QByteArray& bytes) {
    DecodeTables& tables = decodeTables();
    if (!tables.valid() || !tables.asciiAsIs())
        return decodeThroughIconv(bytes);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    // every byte gives at most one code unit
    QString text(n, Qt::Uninitialized);
    char16_t* const first = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = first;
    qsizetype i = 0;
    while (i < n) {
        // the lines of a log are mostly ASCII: sixteen bytes at a time up to the next other byte
#if defined(__SSE2__)
        while (i + 16 <= n) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            const int high = _mm_movemask_epi8(block);
            // all sixteen are written, which the room of one unit per byte allows; only the
            // ASCII ones before the first other byte are kept
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(block, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(block, zero));
            const int ascii = high == 0 ? 16 : __builtin_ctz(static_cast<unsigned>(high));
            out += ascii;
            i += ascii;
            if (ascii < 16)
                break;
        }
#endif
        if (i >= n)
            break;
        const unsigned char b = p[i];
        if (b < 0x80) {
            *out++ = b;
            ++i;
            continue;
        }
        char16_t c = tables.single(b);
        if (c == kLead) {
            if (i + 1 >= n)
                return std::nullopt; // a lead byte without its second byte
            c = tables.pairs(b)[p[i + 1]];
            i += 2;
        } else {
            ++i;
        }
        if (c == kInvalid)
            return std::nullopt;
        if (c == kUnusual)
            return decodeThroughIconv(bytes);
        *out++ = c;
    }
    text.truncate(out - first);
    return text;
}

QString unencodableMessage(const QString& badCharacter) {
    return QStringLiteral("「%1」はこのソフトのファイル（Shift_JIS）に保存できない文字です。\r\n"
                          "別の文字に置き換えてください。")
        .arg(badCharacter);
}

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

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
        if (c == 0xE0)
            low = 0xA0; // no overlong forms
        if (c == 0xED)
            high = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > n)
        return 0;
    if (p[i + 1] < low || p[i + 1] > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if (p[i + k] < 0x80 || p[i + k] > 0xBF)
            return 0;
    return length;
}

} // namespace

bool looksLikeUtf8(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Bom))
        return true;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    // Two half-width katakana in code page 932 (C2-DF then A1-BF, "ﾃｽ") also form a valid
    // two-byte UTF-8 character, so only a sequence of three or more bytes (every kana and
    // kanji in UTF-8) tells a UTF-8 file from one of ours.
    bool multiByte = false;
    for (qsizetype i = 0; i < n;) {
        const int length = utf8SequenceAt(p, i, n);
        if (length == 0)
            return false;
        multiByte = multiByte || length > 2;
        i += length;
    }
    // a rare kanji (lead E0-EF, second byte 80-BF) before a kana or half-width katakana can
    // form a valid UTF-8 sequence too; text that reads whole as code page 932 is ours
    return multiByte && !decode(bytes).has_value();
}

bool mayBeUtf8(const QByteArray& bytes) {
    if (bytes.startsWith(kUtf8Bom))
        return true;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const int length = utf8SequenceAt(p, i, n);
        if (length == 0)
            return n - i < 4; // a sequence the next bytes may complete
        i += length;
    }
    return true;
}

QString decodeUtf8(const QByteArray& bytes) {
    const qsizetype skip = bytes.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    return QString::fromUtf8(bytes.constData() + skip, bytes.size() - skip);
}

QString utf8Message(const QString& fileName) {
    return QStringLiteral("「%1」は UTF-8 で保存されているようです。\r\n"
                          "このソフトのファイルは Shift_JIS で保存されている必要があります。"
                          "メモ帳などで開き、文字コードを「ANSI」または「Shift_JIS」にして保存し直してください。\r\n"
                          "それまでこのファイルには書き込みません（今の内容はそのまま残します）。")
        .arg(fileName);
}

} // namespace puka::cp932
