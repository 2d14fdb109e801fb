#include "core/base/Allocator.h"
#include "core/base/CommandLine.h"
#include "tools/report/ReportCli.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    puka::allocator::keepFreedMemory();
    // the log and the view of it are made at once in a fresh heap
    puka::allocator::reserveLargePages(30 * 1024 * 1024);
    QCoreApplication app(argc, argv);
    const auto args =
        puka::commandline::enterFolder(argc, argv, {QStringLiteral("--today"), QStringLiteral("--format")});
    if (!args) {
        std::fprintf(stderr, "pukapuka-report: %s\n", args.message().toUtf8().constData());
        return 2;
    }
    // the output goes out as it is made: a report of any size holds one piece of it at a time
    QByteArray err;
    int status = puka::report::run(
        *args,
        [](const char* data, qsizetype size) {
            return std::fwrite(data, 1, static_cast<size_t>(size), stdout) == static_cast<size_t>(size);
        },
        &err);
    if (std::fflush(stdout) != 0 && status == 0) {
        err = "pukapuka-report: 出力を書き込めませんでした（ディスクの空きや出力先を確かめてください）\n";
        status = 2;
    }
    std::fwrite(err.constData(), 1, static_cast<size_t>(err.size()), stderr);
    return status;
}
