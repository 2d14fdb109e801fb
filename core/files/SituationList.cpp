#include "core/files/SituationList.h"

#include "core/files/Cp932.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/TextLines.h"

namespace puka::situations {
namespace {

const QString kWhat = QStringLiteral("状況");

Status writeAll(const QString& dir, const QStringList& lines) {
    const auto bytes = encodeLines(lines);
    if (!bytes)
        return bytes.status();
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kSituations);
    if (!lock.locked())
        return lock.failure(path);
    // the words came from the reader: lines it could not read would be lost by this rewrite
    const Status refusal = writeRefusal(path, true);
    if (!refusal)
        return refusal;
    return writeFileAtomic(path, *bytes);
}

} // namespace

List readSituationList(const QString& dir) {
    List list;
    const TextFile file = readTextFile(dir, files::kSituations);
    list.missing = file.missing;
    list.problem = file.problem;
    const DecodedLines& decoded = file.decoded;
    int torn = 0;
    for (const QString& line : decoded.lines) {
        if (const auto fields = splitFields(line))
            list.words += *fields;
        else
            ++torn;
    }
    if (decoded.undecodable + torn > 0)
        list.problem = QStringLiteral("「%1」に読み取れない行が %2 行ありました。")
                           .arg(files::kSituations)
                           .arg(decoded.undecodable + torn);
    return list;
}

Status appendWord(const QString& dir, const QString& word) {
    const Status problem = textFieldProblem(word, kWhat);
    if (!problem)
        return problem;
    const auto bytes = cp932::encode(quoted(word) + QStringLiteral("\r\n"));
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kSituations);
    if (!lock.locked())
        return lock.failure(path);
    const Status refusal = writeRefusal(path, false);
    if (!refusal)
        return refusal;
    return appendToFile(path, *bytes);
}

Status writePlain(const QString& dir, const QStringList& words) {
    for (const QString& w : words) {
        const Status problem = textFieldProblem(w, kWhat);
        if (!problem)
            return problem;
    }
    return writeAll(dir, words);
}

Status writeQuoted(const QString& dir, const QStringList& words) {
    QStringList lines;
    for (const QString& w : words) {
        const Status problem = textFieldProblem(w, kWhat);
        if (!problem)
            return problem;
        lines.append(quoted(w));
    }
    return writeAll(dir, lines);
}

} // namespace puka::situations
