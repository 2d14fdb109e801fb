#include "core/files/FolderReadings.h"

#include "core/files/FileNames.h"

namespace puka {

QStringList FolderReadings::dataFiles() {
    return {files::kData,      files::kSituations, files::kProfile, files::kHelpTour,     files::kSteps,
            files::kTimeStamp, files::kMarker,     files::kNotes,   files::kMovingAverage};
}

FolderReadings::FolderReadings(QString dir) : m_dir(std::move(dir)) {
    for (const QString& name : dataFiles())
        m_entries[name].noticedIdentity = identityOf(name);
}

FileIdentity FolderReadings::identityOf(const QString& name) const {
    return fileIdentity(resolveFile(m_dir, name));
}

void FolderReadings::takeReading(Entry& entry, const FileIdentity& identity) {
    entry.readIdentity = identity;
    entry.stale = false;
    ++entry.reads;
}

std::shared_ptr<const LogContents> FolderReadings::log() {
    Entry& entry = m_entries[files::kData];
    const FileIdentity now = identityOf(files::kData);
    if (!entry.value || entry.stale || now != entry.readIdentity) {
        auto reading = std::make_shared<const LogContents>(datalog::readLog(m_dir));
        // the file as it was opened for the reading: a change while it was read shows next time
        const FileIdentity read = reading->exists ? reading->identity : now;
        entry.value = std::move(reading);
        takeReading(entry, read);
    }
    return std::static_pointer_cast<const LogContents>(entry.value);
}

void FolderReadings::noteWritten(const QString& name) {
    Entry& entry = m_entries[name];
    entry.stale = true;
    entry.noticedIdentity = identityOf(name);
}

QStringList FolderReadings::outsideChanges() {
    QStringList changed;
    for (const QString& name : dataFiles()) {
        Entry& entry = m_entries[name];
        const FileIdentity now = identityOf(name);
        if (now == entry.noticedIdentity)
            continue;
        entry.noticedIdentity = now;
        changed.append(name);
    }
    return changed;
}

int FolderReadings::readCount(const QString& name) const {
    const auto found = m_entries.find(name);
    return found == m_entries.end() ? 0 : found->second.reads;
}

} // namespace puka
