#include "core/base/CommandLine.h"
#include "tools/log/LogCli.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const auto args = puka::commandline::enterFolder(argc, argv, {QStringLiteral("--today")});
    if (!args) {
        std::fprintf(stderr, "pukapuka-log: %s\n", args.message().toUtf8().constData());
        return puka::logtool::Failed;
    }
    QByteArray out;
    QByteArray err;
    const int status = puka::logtool::run(*args, &out, &err);
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    std::fwrite(err.constData(), 1, static_cast<size_t>(err.size()), stderr);
    return status;
}
