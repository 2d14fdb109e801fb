#include "Cp932.h"

#include <cerrno>
#include <iconv.h>

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

std::optional<QByteArray> encode(const QString& text, QString* badChar) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    qsizetype failedAt = 0;
    Converter& c = encoder();
    if (c.valid() && c.convert(utf8, out, failedAt))
        return out;
    if (badChar) {
        // Map the failing UTF-8 offset back to the character it starts.
        const QString before = QString::fromUtf8(utf8.constData(), failedAt);
        const qsizetype i = before.size();
        if (i < text.size())
            *badChar = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? text.mid(i, 2) : text.mid(i, 1);
        else
            badChar->clear();
    }
    return std::nullopt;
}

std::optional<QString> decode(const QByteArray& bytes) {
    QByteArray out;
    qsizetype failedAt = 0;
    Converter& c = decoder();
    if (!c.valid() || !c.convert(bytes, out, failedAt))
        return std::nullopt;
    return QString::fromUtf8(out);
}

QString unencodableMessage(const QString& badChar) {
    return QStringLiteral("「%1」はこのソフトのファイル（Shift_JIS）に保存できない文字です。\r\n"
                          "別の文字に置き換えてください。")
        .arg(badChar);
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
