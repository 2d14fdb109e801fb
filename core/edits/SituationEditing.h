#pragma once

#include "core/base/Notice.h"
#include "core/base/Status.h"
#include "core/base/ViewModel.h"
#include "core/edits/LogEdits.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace puka {

/// The situation list editor of the edit panel, and the edit panel's texts.
namespace editing {

/// The back colour of `cmdSort` while a dragged order is not yet saved.
inline constexpr Rgb kOrderChangedColour = rgb(255, 224, 192);

/// The guidance text of the edit panel for the help tour.
QString guidanceText();

/// The list after a drag, and where the dragged word now stands.
struct Drop {
    QStringList words;
    int placedAt = -1;
};

/**
 * The drag rule of `lstKoumoku`: the word at @p source is taken out and put directly before
 * the word at @p target. Nothing (no change, `cmdSort` keeps its colour) when the target is
 * the source itself or the word right after it, or when either index is outside the list.
 * A word cannot go below the last word: dropping on the last word puts it just before it.
 */
std::optional<Drop> dropWord(const QStringList& words, int source, int target);

/// The input box of `cmdNew2`.
Notice addPrompt();

/**
 * `cmdNew2`: @p word appended to "状況リスト.txt" as one line. An empty word changes nothing
 * and is no failure. A word with a double quote, a line break or a character code page 932
 * cannot hold is refused. The line is plain; a word that a plain line would not give back
 * (one with a comma or with blanks at either end) is written in quotes so it reads back whole.
 * @p added tells whether a line was written.
 */
Status addWord(const QString& dir, const QString& word, bool* added = nullptr);

/**
 * `cmdSort`: "状況リスト.txt" written anew in the order of @p shown, one word a line, plain where
 * a plain line gives the word back, else quoted. The order applies to the file as it is when the
 * folder's write lock is taken: a word another window or program added since the list was shown
 * is kept after the shown ones, and a word deleted elsewhere stays deleted. @p written receives
 * the words as written, for the lists to show.
 */
Status saveOrder(const QString& dir, const QStringList& shown, QStringList* written = nullptr);
Notice sortDone();

/// `cmdDel`: the question, and the message when no word is chosen.
Notice deleteQuestion(const QString& word);
Notice noChoiceToDelete();
/**
 * `cmdDel` after OK: the word at @p index of @p shown removed from the list file as it is now,
 * and the file written in the order of the remaining shown words as saveOrder() does. Returns
 * the words written, or the failure: noChoiceToDelete() when @p index chooses no word, or why
 * the file could not be written; nothing is written then.
 */
Result<QStringList> deleteWord(const QString& dir, const QStringList& shown, int index);
Notice deleteDone();

/// `cmdDel2`: the question; after OK every word of @p shown is removed from "状況リスト.txt", which
/// then is an existing, empty file unless another window or program added a word since the list
/// was shown. @p written receives the words left.
Notice deleteAllQuestion();
Status deleteAll(const QString& dir, const QStringList& shown, QStringList* written = nullptr);
/// Its three lines are separated by single line feeds.
Notice deleteAllDone();

/// `cmdChg`: the refusal of an empty new word, the question, the message when no word is
/// chosen, and the closing message.
Notice renameEmpty();
Notice renameQuestion(const QString& oldWord, const QString& newWord);
Notice noChoiceToRename();
Notice renameDone();

/// What a rename changed.
struct RenameResult {
    int records = 0;               ///< measurements whose situation became the new word
    int words = 0;                 ///< entries of the list that became the new word
    logedits::LogChange logChange; ///< the measurements it changed, to take the rename back
    QByteArray listBefore;         ///< the list file before and after (a missing file as empty)
    QByteArray listAfter;
};

/**
 * `cmdChg` after OK: every measurement whose situation equals @p oldWord exactly gets
 * @p newWord (every other field and line kept), then every entry of "状況リスト.txt" equal to
 * @p oldWord becomes @p newWord and the whole list is written in the quoted form; list lines
 * that cannot be read keep their bytes. Both files are read and written under one hold of the
 * folder's write lock.
 *
 * An empty @p newWord, or one with a double quote, a line break or a character code page 932
 * cannot hold, is refused before anything is written. When the list cannot be written after
 * the log was, the log is put back as it was, so a failure leaves both files unchanged.
 * A folder flush that fails after a file was replaced stops nothing: the failure then tells
 * that the new contents may not have reached the disk yet.
 */
Status renameWord(const QString& dir, const QString& oldWord, const QString& newWord, RenameResult* result = nullptr);

} // namespace editing
} // namespace puka
