// The situation list: readSituationList on any file, then the append and both rewriting forms.

#include "fuzz/FuzzSupport.h"

#include "core/files/FileNames.h"
#include "core/files/SituationList.h"

using namespace puka;

namespace {

const QString kAdded = QStringLiteral("朝食後");

// A refused write leaves the file as it was.
void checkRefusal(const Status& s, const QString& dir, const std::optional<QByteArray>& before) {
    FUZZ_CHECK(!s.message().isEmpty());
    FUZZ_CHECK(fuzz::readFile(dir, files::kSituations) == before);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString& dir = fuzz::scratchDir();
    fuzz::clearDir(dir);
    fuzz::writeFile(dir, files::kSituations, fuzz::bytesOf(data, size));

    const situations::List first = situations::readSituationList(dir);
    FUZZ_CHECK(!first.missing);

    // an appended word stands last, after every word that was there, whatever the file's end
    std::optional<QByteArray> before = fuzz::readFile(dir, files::kSituations);
    const Status added = situations::appendWord(dir, kAdded);
    QStringList words = first.words;
    if (added && fuzz::takenForUtf8(dir, files::kSituations))
        return 0;
    if (added) {
        const situations::List appended = situations::readSituationList(dir);
        words.append(kAdded);
        FUZZ_CHECK(appended.words == words);
    } else {
        checkRefusal(added, dir, before);
    }

    // the quoted form keeps every word as it is
    before = fuzz::readFile(dir, files::kSituations);
    const Status quoted = situations::writeQuoted(dir, words);
    if (!quoted) {
        checkRefusal(quoted, dir, before);
        return 0;
    }
    if (fuzz::takenForUtf8(dir, files::kSituations))
        return 0;
    const situations::List back = situations::readSituationList(dir);
    FUZZ_CHECK(back.problem.isEmpty() && back.words == words);

    // the plain form splits a word at its commas and drops outer blanks
    before = fuzz::readFile(dir, files::kSituations);
    const Status plain = situations::writePlain(dir, words);
    if (!plain) {
        checkRefusal(plain, dir, before);
        return 0;
    }
    QStringList expected;
    for (const QString& w : words)
        expected += fuzz::plainFields(w);
    if (fuzz::takenForUtf8(dir, files::kSituations))
        return 0;
    const situations::List plainBack = situations::readSituationList(dir);
    FUZZ_CHECK(plainBack.problem.isEmpty() && plainBack.words == expected);
    return 0;
}
