#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace puka::ui {

/// Watches a working folder and its data files for changes made by any program, and says so
/// once a burst of changes has had a moment to settle: a sync client or an editor that writes
/// a file in several steps gives one notice, not one per step.
class FolderWatcher : public QObject {
    Q_OBJECT
public:
    /// How long after the first change of a burst changed() is said, in milliseconds.
    static constexpr int kSettleMs = 150;

    /// Watches @p dir and the files @p names in it (those that exist; a file made later is
    /// seen through the folder and watched from then on).
    FolderWatcher(const QString& dir, const QStringList& names, QObject* parent = nullptr);

Q_SIGNALS:
    /// Something in the folder changed: the owner finds out what by comparing the files.
    void changed();

private:
    void onChange();
    void onSettled();
    /// Watches each data file that exists: a file replaced through a rename is a new file,
    /// which the watch on the old one does not see.
    void watchFiles();

    QString m_dir;
    QStringList m_names;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

} // namespace puka::ui
