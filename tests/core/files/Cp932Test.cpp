#include "tests/core/CoreTestHelpers.h"

#include "core/files/Cp932.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <iconv.h>
#include <optional>
#include <random>

using namespace puka;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

} // namespace

TEST(Cp932, EverySampleFileRoundTripsByteForByte) {
    const QDir sample(test::sampleDir());
    const QStringList names = sample.entryList(QDir::Files);
    ASSERT_GE(names.size(), 9);
    for (const QString& name : names) {
        const QByteArray bytes = fileBytes(sample.filePath(name));
        ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
        const auto text = cp932::decode(bytes);
        ASSERT_TRUE(text.has_value()) << name.toStdString();
        const auto back = cp932::encode(*text);
        ASSERT_TRUE(back.ok()) << name.toStdString();
        EXPECT_EQ(*back, bytes) << name.toStdString();
    }
}

TEST(Cp932, CharactersBeyondStrictShiftJisEncodeAndDecode) {
    const std::pair<QString, QByteArray> cases[] = {
        {QStringLiteral("～"), QByteArray("\x81\x60")}, {QStringLiteral("①"), QByteArray("\x87\x40")},
        {QStringLiteral("№"), QByteArray("\x87\x82")},  {QStringLiteral("髙"), QByteArray("\xFB\xFC")},
        {QStringLiteral("ｱ"), QByteArray("\xB1")},      {QStringLiteral("体重"), QByteArray("\x91\xCC\x8F\x64")},
    };
    for (const auto& [text, bytes] : cases) {
        const auto encoded = cp932::encode(text);
        ASSERT_TRUE(encoded.ok()) << text.toStdString();
        EXPECT_EQ(*encoded, bytes) << text.toStdString();
        EXPECT_EQ(cp932::decode(bytes), std::optional<QString>(text));
    }
}

TEST(Cp932, UnencodableCharacterIsRefusedAndNamed) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("朝食後😀です"), QStringLiteral("😀")}, // a surrogate pair is named whole
        {QStringLiteral("体重한"), QStringLiteral("한")},
        {QStringLiteral("€"), QStringLiteral("€")},
    };
    for (const auto& [text, bad] : cases) {
        const auto encoded = cp932::encode(text);
        EXPECT_FALSE(encoded.ok()) << text.toStdString();
        EXPECT_EQ(encoded.message(), cp932::unencodableMessage(bad));
        EXPECT_TRUE(encoded.message().contains(bad)) << encoded.message().toStdString();
    }
}

TEST(Cp932, InvalidBytesFailToDecode) {
    for (const QByteArray& bytes : {QByteArray("\x80"), QByteArray("abc\x82"), QByteArray("\x82\r\n"),
                                    QByteArray("\xA0"), QByteArray("\xFD\x40")})
        EXPECT_FALSE(cp932::decode(bytes).has_value()) << bytes.toHex().toStdString();
    EXPECT_EQ(cp932::decode(QByteArray()), std::optional<QString>(QString()));
}

namespace {

// What glibc iconv itself makes of @p bytes, or nothing when it refuses them.
std::optional<QString> iconvDecode(const QByteArray& bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    QByteArray out(bytes.size() * 4 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* to = out.data();
    size_t toLeft = static_cast<size_t>(out.size());
    const size_t rc = iconv(cd, &in, &inLeft, &to, &toLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        return std::nullopt;
    out.truncate(out.size() - static_cast<qsizetype>(toLeft));
    return QString::fromUtf8(out);
}

} // namespace

// The decoder reads through tables of what iconv gives: every byte and every pair of bytes,
// alone and between ASCII runs of any length, must come out as iconv gives it.
TEST(Cp932, EveryByteAndPairDecodesAsIconvDecodesIt) {
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            QByteArray bytes(1, static_cast<char>(first));
            if (second >= 0)
                bytes += static_cast<char>(second);
            ASSERT_EQ(cp932::decode(bytes), iconvDecode(bytes)) << first << ' ' << second;
        }
    }
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> ascii(0, 40);
    for (int i = 0; i < 2000; ++i) {
        QByteArray bytes;
        while (bytes.size() < 200) {
            bytes += QByteArray(ascii(rng), 'a');
            bytes += static_cast<char>(byte(rng));
        }
        ASSERT_EQ(cp932::decode(bytes), iconvDecode(bytes)) << bytes.toHex().toStdString();
    }
}
