#include "core/files/LogLines.h"

#include "core/files/Cp932.h"
#include "core/files/DataLog.h"
#include "core/files/FileOps.h"

#include <algorithm>

namespace puka::loglines {
namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

std::optional<WeightRecord> recordOfText(QStringView text) {
    if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); }))
        return std::nullopt;
    return datalog::parseLine(text);
}

} // namespace

std::optional<WeightRecord> recordOf(QByteArrayView text) {
    const auto decoded = cp932::decode(QByteArray::fromRawData(text.data(), text.size()));
    return decoded ? recordOfText(*decoded) : std::nullopt;
}

std::vector<Line> splitBytes(const QByteArray& bytes) {
    std::vector<Line> lines;
    const char* data = bytes.constData();
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && !isLineEnd(data[end]))
            ++end;
        qsizetype next = end;
        if (next < n)
            next += data[next] == '\r' && next + 1 < n && data[next + 1] == '\n' ? 2 : 1;
        lines.push_back(
            {QByteArrayView(data + start, end - start), QByteArrayView(data + end, next - end), std::nullopt});
        start = next;
    }
    return lines;
}

std::vector<Line> split(const QByteArray& bytes, bool utf8) {
    std::vector<Line> lines = splitBytes(bytes);
    // a line end never stands inside a character, so the text of the whole file splits into
    // the same lines; a file that does not decode whole is decoded line by line
    const std::optional<QString> whole = utf8 ? std::optional<QString>(cp932::decodeUtf8(bytes)) : cp932::decode(bytes);
    if (whole) {
        const QStringView text(*whole);
        qsizetype at = 0;
        for (Line& line : lines) {
            qsizetype e = at;
            while (e < text.size() && text[e] != QLatin1Char('\r') && text[e] != QLatin1Char('\n'))
                ++e;
            line.record = recordOfText(text.mid(at, e - at));
            at = e + (e < text.size() && text[e] == QLatin1Char('\r') && e + 1 < text.size() &&
                              text[e + 1] == QLatin1Char('\n')
                          ? 2
                          : 1);
        }
        return lines;
    }
    for (Line& line : lines)
        line.record = recordOf(line.text);
    return lines;
}

int ReadLog::recordCount() const {
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const Line& l) { return l.record.has_value(); }));
}

Result<ReadLog> readLog(const QString& path) {
    const auto file = readFileBytes(path);
    if (!file)
        return file.status();
    ReadLog log;
    log.exists = file->exists;
    log.bytes = file->bytes;
    log.utf8 = cp932::looksLikeUtf8(log.bytes);
    log.lines = split(log.bytes, log.utf8);
    return log;
}

} // namespace puka::loglines
