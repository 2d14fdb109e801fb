#pragma once

#include "core/files/DataLog.h"
#include "core/files/FileOps.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>

namespace puka {

/**
 * The data files of a working folder as the window last read them: one reading of each file,
 * shared by every panel, read again only when the file changed on disk since (its identity,
 * size or modification time differs) or when this program wrote it.
 *
 * It also tells a change another program made from one this program made: noteWritten()
 * after each of the program's own writes, and outsideChanges() lists the others.
 */
class FolderReadings {
public:
    /// The data files a folder is watched for: the log, the situation list and the settings.
    static QStringList dataFiles();

    explicit FolderReadings(QString dir);

    const QString& dir() const { return m_dir; }

    /// The log as it is on disk now: the kept reading while the file is the one it was read
    /// from, a new one otherwise.
    std::shared_ptr<const LogContents> log();

    /// The reading of the data file @p name by @p reader, kept like the log's.
    template <typename T> std::shared_ptr<const T> read(const QString& name, T (*reader)(const QString& dir)) {
        Entry& entry = m_entries[name];
        const FileIdentity now = identityOf(name);
        if (!entry.value || entry.stale || now != entry.readIdentity) {
            entry.value = std::make_shared<const T>(reader(m_dir));
            takeReading(entry, now);
        }
        return std::static_pointer_cast<const T>(entry.value);
    }

    /**
     * Tells that this program has just written the data file @p name: its kept reading is
     * read again when next asked for, and outsideChanges() does not list the change.
     */
    void noteWritten(const QString& name);

    /**
     * The data files that changed on disk since this object was made, this program last wrote
     * them or they were last listed here: the changes other programs made, each listed once,
     * whether or not a panel has read the file since.
     */
    QStringList outsideChanges();

    /// How often @p name was read from disk: for checking that unchanged files are not read again.
    int readCount(const QString& name) const;

private:
    struct Entry {
        std::shared_ptr<const void> value;
        FileIdentity readIdentity;    ///< the file as the kept value was read from it
        FileIdentity noticedIdentity; ///< the file as this program last wrote it or listed it changed
        bool stale = false;           ///< written here since the value was read
        int reads = 0;
    };

    FileIdentity identityOf(const QString& name) const;
    void takeReading(Entry& entry, const FileIdentity& identity);

    QString m_dir;
    std::map<QString, Entry> m_entries;
};

} // namespace puka
