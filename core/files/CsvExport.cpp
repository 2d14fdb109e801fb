#include "core/files/CsvExport.h"

#include "core/base/NumberFormat.h"
#include "core/files/Cp932.h"

namespace puka::csvexport {
namespace {

void appendText(QString* out, const QString& text) {
    QString value = text;
    // a spreadsheet opening the file must not run a text as a formula
    if (!value.isEmpty() && QStringView(u"=+-@'").contains(value[0]))
        value.prepend(QLatin1Char('\''));
    const bool quote = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                       value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')) ||
                       (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
    if (!quote) {
        out->append(value);
        return;
    }
    out->append(QLatin1Char('"'));
    out->append(QString(value).replace(QLatin1String("\""), QLatin1String("\"\"")));
    out->append(QLatin1Char('"'));
}

} // namespace

CsvOutcome write(const std::vector<WeightRecord>& records, Encoding encoding, bool byteOrderMark) {
    QString text;
    text.reserve(static_cast<qsizetype>(records.size()) * 48 + 64);
    text += kHeader;
    text += QStringLiteral("\r\n");
    for (const WeightRecord& r : records) {
        appendText(&text, r.date);
        text += QLatin1Char(',');
        appendText(&text, r.situation);
        text += QLatin1Char(',');
        text += shortestText(r.weight);
        text += QLatin1Char(',');
        text += shortestText(r.bodyFat);
        text += QLatin1Char(',');
        appendText(&text, r.comment);
        text += QStringLiteral("\r\n");
    }
    CsvOutcome result;
    if (encoding == Encoding::Utf8) {
        if (byteOrderMark)
            result.bytes = QByteArray("\xEF\xBB\xBF");
        result.bytes += text.toUtf8();
        return result;
    }
    if (auto bytes = cp932::encode(text))
        result.bytes = std::move(*bytes);
    else
        result.status = bytes.status();
    return result;
}

} // namespace puka::csvexport
