#pragma once

#include "core/base/Status.h"

#include <QString>
#include <QStringList>

namespace puka {

/// The situation list file "状況リスト.txt": one word a line, plain or in double quotes.
namespace situations {

struct List {
    QStringList words;
    bool missing = false;
    QString problem; ///< Japanese, when lines could not be read
};

/// readSituationList's reading: every field of every line is one word, in file order.
/// A plain line "朝,夜" gives two words; a quoted line keeps its commas and blanks.
List readSituationList(const QString& dir);

/// appendWord's file side: the word appended as one quoted line, under the folder's write lock.
Status appendWord(const QString& dir, const QString& word);

/// The whole list written anew in the plain form, one word a line.
Status writePlain(const QString& dir, const QStringList& words);

/// The whole list written anew in the quoted form.
Status writeQuoted(const QString& dir, const QStringList& words);

} // namespace situations
} // namespace puka
