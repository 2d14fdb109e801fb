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

} // namespace puka::cp932
