// The field reader shared by every file: lines, fields and the measurement line.

#include "fuzz/FuzzSupport.h"

#include "core/files/DataLog.h"
#include "core/files/TextLines.h"

namespace {

using namespace puka;

// Fields that contain no double quote read back from their quoted form unchanged.
void checkFieldsRoundTrip(const QString& line) {
    const auto fields = splitFields(line);
    if (!fields)
        return;
    QStringList parts;
    for (const QString& f : *fields) {
        if (f.contains(QLatin1Char('"')))
            return; // a plain field may hold a quote; the quoted form cannot
        parts.append(quoted(f));
    }
    const auto back = splitFields(parts.join(QLatin1Char(',')));
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(*back == *fields);
}

void checkRecordRoundTrip(const QString& line) {
    QString reason;
    const auto record = datalog::parseLine(line, &reason);
    if (!record) {
        FUZZ_CHECK(!reason.isEmpty());
        return;
    }
    if (!datalog::recordProblem(*record).ok())
        return; // the writers refuse it
    const auto again = datalog::parseLine(datalog::formatLine(*record));
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(fuzz::sameAfterWrite(*record, *again));
    // once written, a record reads back exactly
    const auto third = datalog::parseLine(datalog::formatLine(*again));
    FUZZ_CHECK(third.has_value());
    FUZZ_CHECK(*third == *again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);

    bool terminated = false;
    const std::vector<QByteArray> lines = splitLines(bytes, &terminated);
    qsizetype total = 0;
    for (const QByteArray& l : lines) {
        FUZZ_CHECK(!l.contains('\r') && !l.contains('\n'));
        total += l.size();
    }
    FUZZ_CHECK(total <= bytes.size());
    FUZZ_CHECK(terminated == (bytes.isEmpty() || bytes.endsWith('\r') || bytes.endsWith('\n')));
    // joined with CR LF the lines split the same way again
    QByteArray joined;
    for (const QByteArray& l : lines)
        joined += l + "\r\n";
    if (!terminated)
        joined.chop(2);
    bool terminatedAgain = false;
    FUZZ_CHECK(splitLines(joined, &terminatedAgain) == lines);
    FUZZ_CHECK(terminatedAgain == terminated);

    // decoding the whole file and decoding line by line agree on the lines
    const DecodedLines decoded = decodeLines(bytes);
    FUZZ_CHECK(decoded.lines.size() + decoded.undecodable == static_cast<qsizetype>(lines.size()));
    for (const QString& line : decoded.lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));

    for (const QString& line : decoded.lines) {
        checkFieldsRoundTrip(line);
        checkRecordRoundTrip(line);
    }
    // the field rules on text that never went through code page 932
    const QString latin = QString::fromLatin1(bytes);
    checkFieldsRoundTrip(latin);
    checkRecordRoundTrip(latin);
    return 0;
}
