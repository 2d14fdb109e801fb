// The setting files: the first byte picks the file, the rest is its content. Each reader's
// value, written back by its writer, reads back the same.

#include "fuzz/FuzzSupport.h"

#include "core/files/FileNames.h"
#include "core/files/Settings.h"

using namespace puka;

namespace {

QString currentScratchDir;
QString currentFileName;

std::optional<QByteArray> current() {
    return fuzz::readFile(currentScratchDir, currentFileName);
}

// A writer that refuses leaves the file as it was; returns whether it wrote a file that reads back.
bool wrote(const Status& s, const std::optional<QByteArray>& before) {
    if (s)
        return !fuzz::takenForUtf8(currentScratchDir, currentFileName);
    FUZZ_CHECK(!s.message().isEmpty());
    FUZZ_CHECK(current() == before);
    return false;
}

template <class T> void checkRead(const Setting<T>& s) {
    FUZZ_CHECK(!s.missing);
}

// The flag files hold one whole number in a range; whatever they read writes back as itself.
template <class Read, class Write> void flagFile(Read read, Write write, int low, int high) {
    const Setting<int> first = read(currentScratchDir);
    checkRead(first);
    FUZZ_CHECK(first.value >= low && first.value <= high);
    FUZZ_CHECK(write(currentScratchDir, first.value).ok());
    const Setting<int> back = read(currentScratchDir);
    FUZZ_CHECK(back.problem.isEmpty() && back.value == first.value);
}

// A text written in the plain form reads back as its first plain field.
std::optional<QString> plainBack(const QString& text) {
    const QStringList f = fuzz::plainFields(text);
    if (f.isEmpty() || f.first().isEmpty())
        return std::nullopt;
    return f.first();
}

void steps() {
    const Setting<Steps> first = settings::readSteps(currentScratchDir);
    checkRead(first);
    const auto before = current();
    if (!wrote(settings::writeSteps(currentScratchDir, first.value), before))
        return;
    const Setting<Steps> back = settings::readSteps(currentScratchDir);
    const auto weight = plainBack(first.value.weightStep);
    const auto fat = plainBack(first.value.fatStep);
    if (weight && fat) {
        FUZZ_CHECK(back.problem.isEmpty());
        FUZZ_CHECK(back.value.weightStep == *weight && back.value.fatStep == *fat);
    } else {
        FUZZ_CHECK(!back.problem.isEmpty());
    }
}

void movingAverage() {
    const Setting<QString> first = settings::readMovingAverage(currentScratchDir);
    checkRead(first);
    FUZZ_CHECK(!first.value.isEmpty());
    const auto before = current();
    if (!wrote(settings::writeMovingAverage(currentScratchDir, first.value), before))
        return;
    const Setting<QString> back = settings::readMovingAverage(currentScratchDir);
    if (const auto expected = plainBack(first.value)) {
        FUZZ_CHECK(back.problem.isEmpty() && back.value == *expected);
    } else {
        FUZZ_CHECK(!back.problem.isEmpty() && back.value == settings::kDefaultWindow);
    }
}

void profile() {
    const Setting<Profile> first = settings::readProfile(currentScratchDir);
    checkRead(first);
    const auto before = current();
    if (!wrote(settings::writeProfile(currentScratchDir, first.value), before))
        return;
    const Setting<Profile> back = settings::readProfile(currentScratchDir);
    FUZZ_CHECK(back.problem.isEmpty());
    FUZZ_CHECK(back.value.userName == first.value.userName);
    FUZZ_CHECK(back.value.height == fuzz::written(first.value.height));
    FUZZ_CHECK(back.value.targetWeight == fuzz::written(first.value.targetWeight));
    // once written, the numbers are stable
    FUZZ_CHECK(settings::writeProfile(currentScratchDir, back.value).ok());
    const Setting<Profile> third = settings::readProfile(currentScratchDir);
    FUZZ_CHECK(third.value.height == back.value.height && third.value.targetWeight == back.value.targetWeight);
}

void notes() {
    const Setting<QString> first = settings::readNotes(currentScratchDir);
    checkRead(first);
    const auto before = current();
    if (!wrote(settings::writeNotes(currentScratchDir, first.value), before))
        return;
    const Setting<QString> back = settings::readNotes(currentScratchDir);
    FUZZ_CHECK(back.problem.isEmpty() && back.value == first.value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const QString* const kNames[] = {&files::kHelpTour,      &files::kSteps,   &files::kTimeStamp,
                                            &files::kMovingAverage, &files::kProfile, &files::kNotes,
                                            &files::kMarker};
    const int which = data[0] % 7;
    currentScratchDir = fuzz::scratchDir();
    currentFileName = *kNames[which];
    fuzz::clearDir(currentScratchDir);
    fuzz::writeFile(currentScratchDir, currentFileName, fuzz::bytesOf(data + 1, size - 1));
    switch (which) {
    case 0:
        flagFile(settings::readHelpTour, settings::writeHelpTour, 0, 1);
        break;
    case 1:
        steps();
        break;
    case 2:
        flagFile(settings::readTimeStamp, settings::writeTimeStamp, 0, 1);
        break;
    case 3:
        movingAverage();
        break;
    case 4:
        profile();
        break;
    case 5:
        notes();
        break;
    case 6:
        flagFile(settings::readMarker, settings::writeMarker, 0, 2);
        break;
    }
    return 0;
}
