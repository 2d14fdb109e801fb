#pragma once

#include <QString>

namespace puka {

/// A message box's text and title.
struct Notice {
    QString text;
    QString title;
};

} // namespace puka
