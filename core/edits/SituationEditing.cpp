#include "core/edits/SituationEditing.h"

#include "core/base/Messages.h"
#include "core/files/Backups.h"
#include "core/files/Cp932.h"
#include "core/files/DataLog.h"
#include "core/files/FileNames.h"
#include "core/files/FileOps.h"
#include "core/files/FolderWriteLock.h"
#include "core/files/SituationList.h"
#include "core/files/TextLines.h"

#include <QFileInfo>

namespace puka::editing {
namespace {

const QString kWhat = QStringLiteral("状況");
const QByteArray kLineEnd("\r\n");

// The plain form loses commas and blanks at either end; such a word goes in quotes, which
// every reader of the list also accepts.
QString listLine(const QString& word) {
    const auto fields = splitFields(word);
    if (fields && fields->size() == 1 && fields->first() == word)
        return word;
    return quoted(word);
}

// A word read from a hand-edited list may hold a double quote inside; a plain line carries it
// unchanged, so it does not stop the rest of the list from being saved.
Status listProblem(const QString& word) {
    const bool plain = listLine(word) == word && !word.contains(QLatin1Char('\r')) && !word.contains(QLatin1Char('\n'));
    return plain ? freeTextProblem(word) : textFieldProblem(word, kWhat);
}

Status writeList(const QString& dir, const QStringList& words) {
    QByteArray out;
    for (const QString& word : words) {
        const Status problem = listProblem(word);
        if (!problem)
            return problem;
        const auto bytes = encodeLine(listLine(word));
        if (!bytes)
            return bytes.status();
        out += *bytes;
    }
    return writeFileAtomic(resolveFile(dir, files::kSituations), out);
}

// The words of the list file as it is now (the caller holds the write lock); a failure when the
// file cannot be read or a rewrite would lose lines its reader could not read.
Result<QStringList> wordsOnFile(const QString& dir) {
    const QString path = resolveFile(dir, files::kSituations);
    if (const auto file = readFileBytes(path); !file)
        return file.status();
    if (const Status refusal = writeRefusal(path, true); !refusal)
        return refusal;
    return situations::readSituationList(dir).words;
}

// The words of @p onFile in the order of @p shown: first each shown word the file still holds
// (a word may stand more than once, and each shown entry takes one), then the words the file
// holds that were not shown, added by another window or program, in their file order. A shown
// word the file no longer holds was deleted elsewhere and stays deleted.
QStringList inShownOrder(QStringList onFile, const QStringList& shown) {
    QStringList ordered;
    for (const QString& word : shown) {
        const qsizetype at = onFile.indexOf(word);
        if (at < 0)
            continue;
        ordered.append(word);
        onFile.removeAt(at);
    }
    return ordered + onFile;
}

// Removes the entry of @p word that is its @p occurrence-th (from 0) in the list, or its last
// one when the list holds fewer; nothing when it holds none.
void removeOccurrence(QStringList* words, const QString& word, int occurrence) {
    qsizetype at = -1;
    for (qsizetype i = 0; i < words->size(); ++i) {
        if (words->at(i) != word)
            continue;
        at = i;
        if (occurrence-- == 0)
            break;
    }
    if (at >= 0)
        words->removeAt(at);
}

// The rename's log rewrite undone: the log goes back to what it held before, but only while it
// still holds exactly what the rewrite wrote, so no change of anyone else is ever undone.
Status undoRewrite(const QString& logPath, const datalog::RewriteOutcome& outcome) {
    const auto now = readFileBytes(logPath);
    if (!now)
        return now.status();
    if (now->bytes != outcome.after)
        return Status::failure(QString());
    return writeFileAtomic(logPath, outcome.before);
}

// The list file with every entry equal to @p oldWord replaced, one quoted entry a line;
// lines that cannot be read keep their bytes, so the rename loses nothing of the file.
Result<QByteArray> renamedList(const QByteArray& bytes, const QString& oldWord, const QString& newWord, int* replaced) {
    QByteArray out;
    for (const QByteArray& raw : splitLines(bytes)) {
        const auto text = cp932::decode(raw);
        const auto fields = text ? splitFields(*text) : std::nullopt;
        if (!fields) {
            out += raw + kLineEnd;
            continue;
        }
        for (const QString& field : *fields) {
            const bool match = field == oldWord;
            if (match)
                ++*replaced;
            // a word with a double quote inside came from a plain line and goes back as one
            const QString word = match ? newWord : field;
            const auto line = encodeLine(word.contains(QLatin1Char('"')) ? listLine(word) : quoted(word));
            if (!line)
                return line.status();
            out += *line;
        }
    }
    return out;
}

} // namespace

QString guidanceText() {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral(
               "これまでのデータを削除して新規にダイエットをスタートさせたり、各種データの編集を行います。") +
           crlf + crlf + QStringLiteral("体重と共に登録する状況項目を追加したり、順番の並び替え、削除ができます。") +
           crlf + crlf +
           QStringLiteral(
               "ＢＭＩメーターではスクロールバーを可変させることでＢＭＩ値と肥満度をシミュレーションできます。") +
           crlf + crlf;
}

std::optional<Drop> dropWord(const QStringList& words, int source, int target) {
    const int n = static_cast<int>(words.size());
    if (source < 0 || source >= n || target < 0 || target >= n)
        return std::nullopt;
    if (target == source || target == source + 1)
        return std::nullopt;
    Drop drop;
    drop.words = words;
    const QString word = drop.words.takeAt(source);
    // the target word moved up by one when the source stood above it
    drop.placedAt = target > source ? target - 1 : target;
    drop.words.insert(drop.placedAt, word);
    return drop;
}

Notice addPrompt() {
    return {QStringLiteral("追加したい状況を入力して下さい"), QStringLiteral("状況追加")};
}

Status addWord(const QString& dir, const QString& word, bool* added) {
    if (added)
        *added = false;
    if (word.isEmpty())
        return {};
    const Status problem = textFieldProblem(word, kWhat);
    if (!problem)
        return problem;
    const auto line = encodeLine(listLine(word));
    if (!line)
        return line.status();
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kSituations);
    if (!lock.locked())
        return lock.failure(path);
    const Status refusal = writeRefusal(path, false);
    if (!refusal)
        return refusal;
    const Status status = appendToFile(path, *line);
    if (status && added)
        *added = true;
    return status;
}

Status saveOrder(const QString& dir, const QStringList& shown, QStringList* written) {
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return lock.failure(resolveFile(dir, files::kSituations));
    const auto onFile = wordsOnFile(dir);
    if (!onFile)
        return onFile.status();
    const QStringList words = inShownOrder(*onFile, shown);
    const Status status = writeList(dir, words);
    if (status && written)
        *written = words;
    return status;
}

Notice sortDone() {
    return {QStringLiteral("並び替えた順番で状況リストを作成しました"), QStringLiteral("並び替え完了")};
}

Notice deleteQuestion(const QString& word) {
    return {word + QStringLiteral("を削除します。よろしいですか？"), messages::clearQuestionTitle()};
}

Notice noChoiceToDelete() {
    return {QStringLiteral("削除する状況をリストから選んでください"), messages::noChoiceTitle()};
}

Result<QStringList> deleteWord(const QString& dir, const QStringList& shown, int index) {
    if (index < 0 || index >= shown.size())
        return Status::failure(noChoiceToDelete().text, noChoiceToDelete().title);
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return lock.failure(resolveFile(dir, files::kSituations));
    auto onFile = wordsOnFile(dir);
    if (!onFile)
        return onFile.status();
    const QString& word = shown.at(index);
    removeOccurrence(&*onFile, word, static_cast<int>(shown.mid(0, index).count(word)));
    QStringList rest = shown;
    rest.removeAt(index);
    const QStringList words = inShownOrder(*onFile, rest);
    if (const Status written = writeList(dir, words); !written)
        return written;
    return words;
}

Notice deleteDone() {
    return {QStringLiteral("選択したデータを削除しました"), QStringLiteral("削除完了")};
}

Notice deleteAllQuestion() {
    return {QStringLiteral("状況リストを全削除します。よろしいですか？"), messages::clearQuestionTitle()};
}

Status deleteAll(const QString& dir, const QStringList& shown, QStringList* written) {
    const FolderWriteLock lock(dir);
    const QString path = resolveFile(dir, files::kSituations);
    if (!lock.locked())
        return lock.failure(path);
    if (const auto file = readFileBytes(path); !file)
        return file.status();
    // every word that was shown goes; a word added elsewhere since stays
    QStringList rest = situations::readSituationList(dir).words;
    for (const QString& word : shown)
        removeOccurrence(&rest, word, 0);
    const Status status = rest.isEmpty() ? writeFileAtomic(path, QByteArray()) : writeList(dir, rest);
    if (status && written)
        *written = rest;
    return status;
}

Notice deleteAllDone() {
    return {QStringLiteral("状況リストを削除しました。\n\n任意の状況をあらためて登録してください。"),
            QStringLiteral("削除完了")};
}

Notice renameEmpty() {
    return {QStringLiteral("変更したいコメントを入力してください"), QStringLiteral("変更後コメント未入力")};
}

Notice renameQuestion(const QString& oldWord, const QString& newWord) {
    return {QStringLiteral("『") + oldWord + QStringLiteral("』 を 『") + newWord +
                QStringLiteral("』 に変更します。よろしいですか？"),
            messages::clearQuestionTitle()};
}

Notice noChoiceToRename() {
    return {QStringLiteral("入れ替える状況をリストから選んでください"), messages::noChoiceTitle()};
}

Notice renameDone() {
    return {QStringLiteral("コメントを入れ替えました。"), QStringLiteral("コメント変更終了")};
}

Status renameWord(const QString& dir, const QString& oldWord, const QString& newWord, RenameResult* result) {
    if (result)
        *result = {};
    if (newWord.isEmpty())
        return Status::failure(renameEmpty().text);
    const Status problem = textFieldProblem(newWord, kWhat);
    if (!problem)
        return problem;

    // The list and the log are read and written under one hold of the lock, so the undo
    // below puts back nothing but this rename's own change.
    const FolderWriteLock lock(dir);
    const QString listPath = resolveFile(dir, files::kSituations);
    if (!lock.locked())
        return lock.failure(listPath);

    // Both new contents are ready before the first file changes.
    const auto list = readFileBytes(listPath);
    if (!list)
        return list.status();
    Status status;
    int words = 0;
    std::optional<QByteArray> newList;
    if (list->exists && cp932::looksLikeUtf8(list->bytes))
        return Status::failure(cp932::utf8Message(QFileInfo(listPath).fileName()));
    if (list->exists) {
        auto renamed = renamedList(list->bytes, oldWord, newWord, &words);
        if (!renamed)
            return renamed.status();
        newList = std::move(*renamed);
    }
    const QString logPath = resolveFile(dir, files::kData);
    datalog::RewriteOutcome log;
    // a file that is in place but could not be flushed to disk stops nothing: the next one
    // follows, and the flush failure is told at the end
    Status logStatus;
    logedits::RecordCollector changed(result != nullptr);
    const bool logExists = QFileInfo::exists(logPath);
    if (logExists) {
        // a rename across the log is always backed up first, however often it runs in a day
        logStatus = backups::backupBeforeChange(dir, backups::Reason::Rename);
        if (!logStatus)
            return logStatus;
        logStatus = datalog::rewriteLog(
            dir,
            [&](WeightRecord& r) {
                const auto before = changed.before(r);
                const bool renamed = r.situation == oldWord;
                if (renamed)
                    r.situation = newWord;
                changed.after(before, r);
                return renamed;
            },
            datalog::RewriteCheck(), &log);
        if (!logStatus.inPlace())
            return logStatus;
    }
    if (newList) {
        status = writeFileAtomic(listPath, *newList);
        if (!status.inPlace()) {
            if (!logExists)
                return status;
            // the list is as it was, so the log goes back too: both files stay as before
            if (undoRewrite(logPath, log))
                return status;
            return Status::failure(
                status.message() +
                QStringLiteral("\r\n\r\n「%1」の状況はすでに『%2』に変わっています。").arg(files::kData, newWord));
        }
    }
    if (result) {
        *result = {log.changed, words, changed.take(), list->bytes, newList.value_or(list->bytes)};
    }
    return status ? logStatus : status;
}

} // namespace puka::editing
