// The setting files: the first byte picks the file, the rest is its content. Each reader's
// value, written back by its writer, reads back the same.

#include "FuzzSupport.h"

#include "FileNames.h"
#include "Settings.h"

using namespace puka;

namespace {

QString g_dir;
QString g_name;

std::optional<QByteArray> current() {
    return fuzz::readFile(g_dir, g_name);
}

// A writer that refuses leaves the file as it was; returns whether it wrote a file that reads back.
bool wrote(const Status& s, const std::optional<QByteArray>& before) {
    if (s)
        return !fuzz::takenForUtf8(g_dir, g_name);
    FUZZ_CHECK(!s.message().isEmpty());
    FUZZ_CHECK(current() == before);
    return false;
}

template <class T> void checkRead(const Setting<T>& s) {
    FUZZ_CHECK(!s.missing);
}

// The flag files hold one whole number in a range; whatever they read writes back as itself.
template <class Read, class Write> void flagFile(Read read, Write write, int low, int high) {
    const Setting<int> first = read(g_dir);
    checkRead(first);
    FUZZ_CHECK(first.value >= low && first.value <= high);
    FUZZ_CHECK(write(g_dir, first.value).ok());
    const Setting<int> back = read(g_dir);
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
    const Setting<Steps> first = settings::READ_KIZAMI(g_dir);
    checkRead(first);
    const auto before = current();
    if (!wrote(settings::WRITE_KIZAMI(g_dir, first.value), before))
        return;
    const Setting<Steps> back = settings::READ_KIZAMI(g_dir);
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
    const Setting<QString> first = settings::READ_IDOU(g_dir);
    checkRead(first);
    FUZZ_CHECK(!first.value.isEmpty());
    const auto before = current();
    if (!wrote(settings::WRITE_IDOU(g_dir, first.value), before))
        return;
    const Setting<QString> back = settings::READ_IDOU(g_dir);
    if (const auto expected = plainBack(first.value)) {
        FUZZ_CHECK(back.problem.isEmpty() && back.value == *expected);
    } else {
        FUZZ_CHECK(!back.problem.isEmpty() && back.value == settings::kDefaultWindow);
    }
}

void profile() {
    const Setting<Profile> first = settings::READ_PRIVATE(g_dir);
    checkRead(first);
    const auto before = current();
    if (!wrote(settings::WRITE_PRIVATE(g_dir, first.value), before))
        return;
    const Setting<Profile> back = settings::READ_PRIVATE(g_dir);
    FUZZ_CHECK(back.problem.isEmpty());
    FUZZ_CHECK(back.value.userName == first.value.userName);
    FUZZ_CHECK(back.value.height == fuzz::written(first.value.height));
    FUZZ_CHECK(back.value.targetWeight == fuzz::written(first.value.targetWeight));
    // once written, the numbers are stable
    FUZZ_CHECK(settings::WRITE_PRIVATE(g_dir, back.value).ok());
    const Setting<Profile> third = settings::READ_PRIVATE(g_dir);
    FUZZ_CHECK(third.value.height == back.value.height && third.value.targetWeight == back.value.targetWeight);
}

void notes() {
    const Setting<QString> first = settings::READ_KIZUKI(g_dir);
    checkRead(first);
    const auto before = current();
    if (!wrote(settings::WRITE_KIZUKI(g_dir, first.value), before))
        return;
    const Setting<QString> back = settings::READ_KIZUKI(g_dir);
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
    g_dir = fuzz::scratchDir();
    g_name = *kNames[which];
    fuzz::clearDir(g_dir);
    fuzz::writeFile(g_dir, g_name, fuzz::bytesOf(data + 1, size - 1));
    switch (which) {
    case 0:
        flagFile(settings::READ_SETTEI, settings::WRITE_SETTEI, 0, 1);
        break;
    case 1:
        steps();
        break;
    case 2:
        flagFile(settings::READ_JIKAN, settings::WRITE_JIKAN, 0, 1);
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
        flagFile(settings::READ_MARKER, settings::WRITE_MARKER, 0, 2);
        break;
    }
    return 0;
}
