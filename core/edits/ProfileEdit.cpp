#include "core/edits/ProfileEdit.h"

#include "core/base/NumberFormat.h"

namespace puka::profileedit {

Fields fieldsOf(const Profile& profile) {
    return {profile.userName, shortestText(profile.height), shortestText(profile.targetWeight)};
}

std::optional<Notice> firstRefusal(const Fields& fields) {
    if (auto r = newstart::profileRefusal(fields.heightText, fields.targetText))
        return r;
    return newstart::nameRefusal(fields.name);
}

Profile profileOf(const Fields& fields) {
    Profile p;
    p.userName = fields.name;
    p.height = static_cast<float>(leadingNumber(fields.heightText));
    p.targetWeight = static_cast<float>(leadingNumber(fields.targetText));
    return p;
}

Status save(const QString& dir, const Fields& fields, Profile* saved) {
    if (const auto refusal = firstRefusal(fields))
        return Status::failure(refusal->text);
    const Profile p = profileOf(fields);
    const Status status = settings::writeProfile(dir, p);
    if (status && saved)
        *saved = p;
    return status;
}

Notice savedNotice() {
    return {QStringLiteral("保存が終了しました"), QStringLiteral("保存終了")};
}

} // namespace puka::profileedit
