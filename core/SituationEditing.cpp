#include "SituationEditing.h"

#include "Cp932.h"
#include "DataLog.h"
#include "FileNames.h"
#include "FileOps.h"
#include "TextLines.h"

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
QString listProblem(const QString& word) {
    const bool plain = listLine(word) == word && !word.contains(QLatin1Char('\r')) && !word.contains(QLatin1Char('\n'));
    return plain ? freeTextProblem(word) : textFieldProblem(word, kWhat);
}

Status writeList(const QString& dir, const QStringList& words) {
    QByteArray out;
    Status status;
    for (const QString& word : words) {
        const QString problem = listProblem(word);
        if (!problem.isEmpty())
            return Status::failure(problem);
        const auto bytes = encodeLine(listLine(word), &status);
        if (!bytes)
            return status;
        out += *bytes;
    }
    // the words came from the reader: lines it could not read would be lost by this rewrite
    const QString path = resolveFile(dir, files::kSituations);
    const QString refusal = writeRefusal(path, true);
    if (!refusal.isEmpty())
        return Status::failure(refusal);
    return writeFileAtomic(path, out);
}

// The list file with every entry equal to @p oldWord replaced, one quoted entry a line;
// lines that cannot be read keep their bytes, so the rename loses nothing of the file.
std::optional<QByteArray> renamedList(const QByteArray& bytes, const QString& oldWord, const QString& newWord,
                                      int* replaced, Status* status) {
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
            const auto line = encodeLine(word.contains(QLatin1Char('"')) ? listLine(word) : quoted(word), status);
            if (!line)
                return std::nullopt;
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
    const QString problem = textFieldProblem(word, kWhat);
    if (!problem.isEmpty())
        return Status::failure(problem);
    Status status;
    const auto line = encodeLine(listLine(word), &status);
    if (!line)
        return status;
    const QString path = resolveFile(dir, files::kSituations);
    const QString refusal = writeRefusal(path, false);
    if (!refusal.isEmpty())
        return Status::failure(refusal);
    status = appendToFile(path, *line);
    if (status && added)
        *added = true;
    return status;
}

Status saveOrder(const QString& dir, const QStringList& words) {
    return writeList(dir, words);
}

Notice sortDone() {
    return {QStringLiteral("並び替えた順番で状況リストを作成しました"), QStringLiteral("並び替え完了")};
}

Notice deleteQuestion(const QString& word) {
    return {word + QStringLiteral("を削除します。よろしいですか？"), QStringLiteral("クリア確認")};
}

Notice noChoiceToDelete() {
    return {QStringLiteral("削除する状況をリストから選んでください"), QStringLiteral("状況未選択")};
}

std::optional<QStringList> deleteWord(const QString& dir, const QStringList& words, int index, Status* status) {
    if (index < 0 || index >= words.size())
        return std::nullopt;
    QStringList rest = words;
    rest.removeAt(index);
    const Status s = writeList(dir, rest);
    if (!s) {
        if (status)
            *status = s;
        return std::nullopt;
    }
    return rest;
}

Notice deleteDone() {
    return {QStringLiteral("選択したデータを削除しました"), QStringLiteral("削除完了")};
}

Notice deleteAllQuestion() {
    return {QStringLiteral("状況リストを全削除します。よろしいですか？"), QStringLiteral("クリア確認")};
}

Status deleteAll(const QString& dir) {
    return writeFileAtomic(resolveFile(dir, files::kSituations), QByteArray());
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
            QStringLiteral("クリア確認")};
}

Notice noChoiceToRename() {
    return {QStringLiteral("入れ替える状況をリストから選んでください"), QStringLiteral("状況未選択")};
}

Notice renameDone() {
    return {QStringLiteral("コメントを入れ替えました。"), QStringLiteral("コメント変更終了")};
}

Status renameWord(const QString& dir, const QString& oldWord, const QString& newWord, RenameResult* result) {
    if (result)
        *result = {};
    if (newWord.isEmpty())
        return Status::failure(renameEmpty().text);
    const QString problem = textFieldProblem(newWord, kWhat);
    if (!problem.isEmpty())
        return Status::failure(problem);

    // Both new contents are ready before the first file changes.
    Status status;
    const QString listPath = resolveFile(dir, files::kSituations);
    const auto list = readFileBytes(listPath, &status);
    if (!list)
        return status;
    int words = 0;
    std::optional<QByteArray> newList;
    if (list->exists && cp932::looksLikeUtf8(list->bytes))
        return Status::failure(cp932::utf8Message(QFileInfo(listPath).fileName()));
    if (list->exists) {
        newList = renamedList(list->bytes, oldWord, newWord, &words, &status);
        if (!newList)
            return status;
    }
    const QString logPath = resolveFile(dir, files::kData);
    const bool logExists = QFileInfo::exists(logPath);
    QByteArray logBefore; // the log as the rewrite read it, to put back if the list fails

    int records = 0;
    if (logExists) {
        status = datalog::REWRITE_DATA(
            dir, files::kDataRename,
            [&](WeightRecord& r) {
                if (r.situation != oldWord)
                    return false;
                r.situation = newWord;
                return true;
            },
            datalog::RewriteCheck(), &records, &logBefore);
        if (!status)
            return status;
    }
    if (newList) {
        status = writeFileAtomic(listPath, *newList, resolveFile(dir, files::kSituationsRename));
        if (!status) {
            if (!logExists)
                return status;
            // the list is as it was, so the log goes back too: both files stay as before
            const Status undo = writeFileAtomic(logPath, logBefore, resolveFile(dir, files::kDataRename));
            if (undo)
                return status;
            return Status::failure(
                status.message() +
                QStringLiteral("\r\n\r\n「%1」の状況はすでに『%2』に変わっています。").arg(files::kData, newWord));
        }
    }
    if (result)
        *result = {records, words};
    return {};
}

} // namespace puka::editing
