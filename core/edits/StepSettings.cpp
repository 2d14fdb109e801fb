#include "core/edits/StepSettings.h"

#include "core/base/NumberFormat.h"
#include "core/edits/MeasurementEntry.h"
#include "core/files/FileNames.h"
#include "core/files/FolderWriteLock.h"

namespace puka::increments {
namespace {

// Only the chosen step changes: the other one is taken from the file as it is under the lock,
// so a step another window changed meanwhile is kept (and shown from now on).
Status write(const QString& dir, Steps& steps, Kind kind, const QString& step) {
    const FolderWriteLock lock(dir);
    if (!lock.locked())
        return lock.failure(resolveFile(dir, files::kSteps));
    const Setting<Steps> onFile = settings::readSteps(dir);
    Steps next = onFile.missing || !onFile.problem.isEmpty() ? steps : onFile.value;
    (kind == Kind::Weight ? next.weightStep : next.fatStep) = step;
    const Status status = settings::writeSteps(dir, next);
    if (status)
        steps = next;
    return status;
}

} // namespace

QString optionStep(int index) {
    switch (index) {
    case 1:
        return QStringLiteral("0.1");
    case 2:
        return QStringLiteral("0.2");
    case 3:
        return QStringLiteral("0.5");
    default:
        return QString();
    }
}

QStringList optionCaptions(Kind kind) {
    if (kind == Kind::Weight)
        return {QStringLiteral("０．１ Ｋｇ"), QStringLiteral("０．２ Ｋｇ"), QStringLiteral("０．５ Ｋｇ")};
    return {QStringLiteral("０．１ ％"), QStringLiteral("０．２ ％"), QStringLiteral("０．５ ％")};
}

int optionFor(const QString& step) {
    for (int index = 1; index <= 3; ++index)
        if (step == optionStep(index))
            return index;
    return 0;
}

Result<QString> freeStep(const QString& typed) {
    const QString text = typed.trimmed();
    const auto value = entry::isNumeric(text) ? parseNumber(text) : std::nullopt;
    if (!value || *value <= 0)
        return Status::failure(QStringLiteral("刻みは 0 より大きい数を半角の数字で入力してください（例: 0.05）"),
                               QStringLiteral("刻み入力エラー"));
    return text;
}

Status chooseOption(const QString& dir, Steps& steps, Kind kind, int index) {
    const QString step = optionStep(index);
    if (step.isEmpty())
        return {};
    return write(dir, steps, kind, step);
}

Status confirmFree(const QString& dir, Steps& steps, Kind kind, const QString& typed) {
    const auto step = freeStep(typed);
    if (!step)
        return step.status();
    return write(dir, steps, kind, *step);
}

} // namespace puka::increments
