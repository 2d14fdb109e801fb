#pragma once

#include "core/base/Status.h"
#include "core/edits/NewStart.h"
#include "core/files/Settings.h"

#include <QString>

#include <optional>

namespace puka {

/// The profile frame "プライベートデータ" of the edit panel.
namespace profileedit {

/// The texts of `txtPriData`, `txtSincyou` and `txtMokuTai`.
struct Fields {
    QString name;
    QString heightText;
    QString targetText;
};

/// The fields as the edit panel fills them on opening: the numbers in their shortest
/// decimal form without blanks (168.5, 65).
Fields fieldsOf(const Profile& profile);

/// The first check of `cmdPHozon1` that does not pass: height (empty, then no positive
/// number), target weight (alike), then a name the profile file cannot hold; or nothing.
std::optional<Notice> firstRefusal(const Fields& fields);

/// The profile of checked fields (blanks around the numbers allowed).
Profile profileOf(const Fields& fields);

/**
 * `cmdPHozon1` after its checks: the profile written by writeProfile. Fields that do not
 * pass firstRefusal() are refused with its text and nothing is written. On success
 * @p saved receives the stored profile, for the program's values and windowCaption's caption.
 */
Status save(const QString& dir, const Fields& fields, Profile* saved = nullptr);

/// The message after saving.
Notice savedNotice();

} // namespace profileedit
} // namespace puka
