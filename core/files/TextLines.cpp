#include "core/files/TextLines.h"

#include "core/files/Cp932.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"

#include <QFileInfo>

#include <algorithm>

namespace puka {

std::vector<QByteArray> splitLines(const QByteArray& bytes, bool* lastTerminated) {
    std::vector<QByteArray> lines;
    lines.reserve(static_cast<size_t>(bytes.size() / 40 + 1));
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    bool terminated = true;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.emplace_back(data + start, i - start);
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n) {
        lines.emplace_back(data + start, n - start);
        terminated = false;
    }
    if (lastTerminated)
        *lastTerminated = terminated;
    return lines;
}

std::optional<QVarLengthArray<QStringView, 8>> fieldViews(QStringView line, qsizetype keep, qsizetype* count) {
    QVarLengthArray<QStringView, 8> fields;
    qsizetype found = 0;
    const auto take = [&](QStringView field) {
        if (keep < 0 || found < keep)
            fields.append(field);
        ++found;
    };
    const qsizetype n = line.size();
    qsizetype i = 0;
    auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (true) {
        while (i < n && isBlank(line[i]))
            ++i;
        if (i >= n)
            break;
        if (line[i] == QLatin1Char('"')) {
            // a short field: a plain scan is quicker than a general search
            qsizetype close = i + 1;
            while (close < n && line[close] != QLatin1Char('"'))
                ++close;
            if (close >= n)
                return std::nullopt;
            take(line.mid(i + 1, close - i - 1));
            i = close + 1;
            while (i < n && line[i] != QLatin1Char(','))
                ++i;
        } else {
            qsizetype end = i;
            while (end < n && line[end] != QLatin1Char(','))
                ++end;
            qsizetype last = end;
            while (last > i && isBlank(line[last - 1]))
                --last;
            take(line.mid(i, last - i));
            i = end;
        }
        if (i >= n)
            break;
        ++i; // the comma
    }
    if (count)
        *count = found;
    return fields;
}

std::optional<QStringList> splitFields(const QString& line) {
    const auto views = fieldViews(line);
    if (!views)
        return std::nullopt;
    QStringList fields;
    fields.reserve(views->size());
    for (const QStringView field : *views)
        fields.append(field.toString());
    return fields;
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

Status textFieldProblem(const QString& text, const QString& what) {
    if (text.contains(QLatin1Char('"')))
        return Status::failure(
            QStringLiteral("%1に半角の「\"」は使えません。\r\n全角の「”」などに置き換えてください。").arg(what));
    if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')))
        return Status::failure(QStringLiteral("%1に改行は使えません。").arg(what));
    return freeTextProblem(text);
}

Status freeTextProblem(const QString& text) {
    // code page 932 holds every ASCII character as it is
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return {};
    if (const auto bytes = cp932::encode(text); !bytes)
        return bytes.status();
    return {};
}

namespace {

// Line ends never occur inside a code page 932 or UTF-8 character, so decoded text splits
// in the same places as its bytes.
QStringList splitText(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

} // namespace

DecodedLines decodeLines(const QByteArray& bytes) {
    DecodedLines result;
    // a file that decodes whole is split after decoding; otherwise each line is decoded alone
    if (auto whole = cp932::decode(bytes)) {
        result.lines = splitText(*whole);
        return result;
    }
    for (const QByteArray& raw : splitLines(bytes)) {
        if (auto line = cp932::decode(raw))
            result.lines.append(*line);
        else
            ++result.undecodable;
    }
    return result;
}

Result<QByteArray> encodeLine(const QString& line) {
    auto bytes = cp932::encode(line);
    if (bytes)
        bytes->append("\r\n");
    return bytes;
}

Result<QByteArray> encodeLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        const auto bytes = encodeLine(line);
        if (!bytes)
            return bytes.status();
        out += *bytes;
    }
    return out;
}

TextFile readTextFile(const QString& dir, const QString& name) {
    TextFile result;
    const auto file = readFileBytes(resolveFile(dir, name));
    if (!file) {
        result.problem = file.message();
        return result;
    }
    result.missing = !file->exists;
    if (!file->exists)
        return result;
    if (cp932::looksLikeUtf8(file->bytes)) {
        result.utf8 = true;
        result.decoded.lines = splitText(cp932::decodeUtf8(file->bytes));
        result.problem = cp932::utf8Message(QFileInfo(resolveFile(dir, name)).fileName());
        return result;
    }
    result.decoded = decodeLines(file->bytes);
    return result;
}

Status writeRefusal(const QString& path, bool wholeReadNeeded) {
    const auto file = readFileBytes(path);
    if (!file || !file->exists)
        return {};
    const QString name = QFileInfo(path).fileName();
    if (cp932::looksLikeUtf8(file->bytes))
        return Status::failure(cp932::utf8Message(name));
    if (wholeReadNeeded && !cp932::decode(file->bytes))
        return Status::failure(QStringLiteral("「%1」に Shift_JIS として読めない行があるため、書き換えると"
                                              "その行が失われてしまいます。\r\n"
                                              "メモ帳などで読めない行を直してから、もう一度保存してください。\r\n"
                                              "ファイルは今の内容のままです。")
                                   .arg(name));
    return {};
}

} // namespace puka
