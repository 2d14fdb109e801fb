#include "core/base/CommandLine.h"

#include "core/base/Messages.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace puka::commandline {

Result<QStringList> enterFolder(int argc, char** argv, const QStringList& valued) {
    QStringList args;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        args.append(QString::fromLocal8Bit(arg));
        if (!options)
            continue;
        if (arg == "-C" && i + 1 < argc) {
            if (::chdir(argv[i + 1]) != 0) {
                const QString folder = QString::fromLocal8Bit(argv[i + 1]);
                if (errno == ENOENT || errno == ENOTDIR)
                    return Status::failure(messages::missingFolder(folder));
                if (errno == EACCES || errno == EPERM)
                    return Status::failure(
                        QStringLiteral("フォルダ「%1」に入れません（読み込みの権限がありません）").arg(folder));
                return Status::failure(QStringLiteral("フォルダ「%1」に入れません（%2）")
                                           .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
            }
            args.append(QStringLiteral("."));
            ++i;
        } else if (valued.contains(QString::fromLatin1(arg)) && i + 1 < argc) {
            args.append(QString::fromLocal8Bit(argv[++i]));
        } else if (!arg.startsWith('-')) {
            options = false;
        }
    }
    return args;
}

} // namespace puka::commandline
