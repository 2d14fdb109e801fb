#include "ui/FolderWatcher.h"

#include "core/files/FileNames.h"

#include <QFileInfo>

namespace puka::ui {

FolderWatcher::FolderWatcher(const QString& dir, const QStringList& names, QObject* parent)
    : QObject(parent), m_dir(dir), m_names(names) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &FolderWatcher::onSettled);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::onChange);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FolderWatcher::onChange);
    m_watcher.addPath(dir);
    watchFiles();
}

void FolderWatcher::onChange() {
    // the first change of a burst starts the clock; later ones ride along, so that a program
    // that keeps writing cannot put the notice off for ever
    if (!m_settle.isActive())
        m_settle.start();
}

void FolderWatcher::onSettled() {
    watchFiles();
    Q_EMIT changed();
}

void FolderWatcher::watchFiles() {
    // watched afresh each time: a watch follows the file it was put on, and the file of that
    // name may be another one now
    const QStringList watched = m_watcher.files();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    QStringList existing;
    for (const QString& name : m_names) {
        const QString path = resolveFile(m_dir, name);
        if (QFileInfo::exists(path))
            existing.append(path);
    }
    if (!existing.isEmpty())
        m_watcher.addPaths(existing);
}

} // namespace puka::ui
