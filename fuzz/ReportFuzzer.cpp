// The report tool's arguments: the input split at NUL bytes, run in a folder holding the sample
// data set, with "small" (a few odd records) and "empty" (no files) beside it for -C.

#include "fuzz/FuzzSupport.h"

#include "core/base/Clock.h"
#include "core/files/FileNames.h"
#include "tools/report/ReportCli.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <unistd.h>

using namespace puka;

namespace {

int fileCount(const QString& dir) {
    return static_cast<int>(QDir(dir).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).size());
}

struct Folders {
    QString dir;
    int files = 0;
};

const Folders& folders() {
    static const Folders f = [] {
        Folders result;
        result.dir = fuzz::scratchDir();
        const QDir sample(QStringLiteral(PUKAPUKA_SAMPLE_DIR));
        for (const QString& name : sample.entryList(QDir::Files))
            FUZZ_CHECK(QFile::copy(sample.filePath(name), QDir(result.dir).filePath(name)));
        const QString small = QDir(result.dir).filePath(QStringLiteral("small"));
        FUZZ_CHECK(QDir().mkpath(small));
        FUZZ_CHECK(QDir().mkpath(QDir(result.dir).filePath(QStringLiteral("empty"))));
        fuzz::writeFile(small, files::kData,
                        "\"2026/12/01\",\"\x92\xa9\",65.5,\"\",20.1,\"\"\r\n"
                        "\"2026/12/01\",\"\x96\xe9\",340282300000000000000000000000000000000,\"x\",-0,\"\"\r\n"
                        "\"2026/12/07\",\"\",0.0000001,\"\",,\"\"\r\n"
                        "torn\r\n");
        result.files = fileCount(result.dir);
        // the tool works in the current folder, as the program does
        FUZZ_CHECK(::chdir(QFile::encodeName(result.dir).constData()) == 0);
        return result;
    }();
    return f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Folders& f = folders();
    QStringList args;
    for (const QByteArray& part : fuzz::bytesOf(data, size).split('\0'))
        args.append(QString::fromUtf8(part));
    if (size == 0)
        args.clear();
    // -C stays inside the scratch folder: the fuzzer has no business reading the rest of the machine
    for (qsizetype i = 0; i + 1 < args.size(); ++i)
        if (args.at(i) == QLatin1String("-C") &&
            (args.at(i + 1).startsWith(QLatin1Char('/')) || args.at(i + 1).contains(QLatin1String(".."))))
            args[i + 1] = QStringLiteral("missing");
    clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(12, 0)));

    QByteArray out;
    QByteArray err;
    const int status = report::run(args, &out, &err);
    FUZZ_CHECK(status == 0 || status == 2);
    if (status == 2) {
        FUZZ_CHECK(out.isEmpty() && err.startsWith("pukapuka-report: ") && err.endsWith('\n'));
    } else {
        FUZZ_CHECK(!out.isEmpty());
        FUZZ_CHECK(err.isEmpty() || err.startsWith("pukapuka-report: "));
        if (out.startsWith('{') || out.startsWith('[')) {
            QJsonParseError e;
            QJsonDocument::fromJson(out, &e);
            FUZZ_CHECK(e.error == QJsonParseError::NoError);
        }
    }
    FUZZ_CHECK(QString::fromUtf8(out).toUtf8() == out);
    // the report only reads
    FUZZ_CHECK(fileCount(f.dir) == f.files);
    return 0;
}
