#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

// Readable failure output for Qt strings and file bytes (found by argument-dependent lookup).
// Every test source should see these through this header, so that all agree on one printer.
void PrintTo(const QString& text, std::ostream* os);
void PrintTo(const QByteArray& bytes, std::ostream* os);

namespace puka::test {

/// A fresh working directory for one test, removed afterwards.
class WorkDir {
public:
    WorkDir();
    QString path() const { return m_dir->path(); }
    /// Writes @p bytes to @p name in the folder.
    void write(const QString& name, const QByteArray& bytes) const;
    /// Writes @p text to @p name encoded in code page 932.
    void writeText(const QString& name, const QString& text) const;
    /// The bytes of @p name, or an empty array when it does not exist.
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;
    /// Copies every file of the shipped sample data set into the folder.
    void copySample() const;
    /// The names of the files in the folder, hidden ones included, sorted; the lock file of the
    /// writers is left out.
    QStringList files() const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

/**
 * Runs @p body in a child process as a user whose writes the permission bits can refuse: as
 * "nobody" when the tests run as root (root writes anywhere, and CI runs as root), else as the
 * user the tests run as. When it drops to "nobody", the folder @p dir and its files become
 * nobody's first, as a user's own folder is theirs. Returns what @p body returned (empty for
 * success, else what went wrong), or nothing when no such user can be had; @p why then says
 * why, for the test to skip with.
 */
std::optional<std::string> runUnprivileged(const WorkDir& dir, const std::function<std::string()>& body,
                                           std::string* why);

/// The folder of the shipped sample data set.
QString sampleDir();

/// What a command-line tool run in process gave: its exit status and its two outputs.
struct ToolRun {
    int status;
    QString out;
    QString err;
};
/// Runs pukapuka-report in process with @p args.
ToolRun runReport(const QStringList& args);
/// Runs pukapuka-log in process on the folder @p dir with @p args; the clock stands at
/// 2026/12/07 9:05:03 unless --today says another day.
ToolRun runLog(const WorkDir& dir, const QStringList& args);

/// @p text in code page 932 (the test fails when it cannot be encoded).
QByteArray sjis(const QString& text);

} // namespace puka::test
