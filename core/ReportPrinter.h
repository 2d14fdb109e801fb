#pragma once

#include "ViewModel.h"

#include <QByteArray>

namespace puka::report {

/// The TSV form: each grid as "# NAME" and its rows (header first) joined by TAB, each label
/// as "NAME<TAB>TEXT", each chart as "# NAME" and a line per category.
QByteArray toTsv(const ViewModel& view);

/// The JSON form: one object with "view", "grids", "labels", "charts" and "face".
QByteArray toJson(const ViewModel& view);

} // namespace puka::report
