#include "core/files/FileNames.h"

#include <QDir>
#include <QFileInfo>

namespace puka {

QString resolveFile(const QString& dir, const QString& name) {
    const QDir d(dir);
    const QString exact = d.filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return exact;
    const QString base = name.left(dot + 1);
    const QString ext = name.mid(dot + 1);
    const QStringList entries = d.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.size() == name.size() && entry.startsWith(base) &&
            entry.mid(dot + 1).compare(ext, Qt::CaseInsensitive) == 0)
            return d.filePath(entry);
    }
    return exact;
}

bool fileExists(const QString& dir, const QString& name) {
    return QFileInfo::exists(resolveFile(dir, name));
}

} // namespace puka
