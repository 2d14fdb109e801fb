#pragma once

#include "core/base/ViewModel.h"

#include <QByteArray>

#include <functional>

namespace puka::report {

/// Receives the report's output a piece at a time, as it is produced; returns false when the
/// piece could not be written, which stops the output.
using OutputSink = std::function<bool(const char* data, qsizetype size)>;

/// The TSV form: each grid as "# NAME" and its rows (header first) joined by TAB, each label
/// as "NAME<TAB>TEXT", each chart as "# NAME" and a line per category. False when @p sink
/// refused a piece.
bool writeTsv(const ViewModel& view, const OutputSink& sink);

/// The JSON form: one object with "charts", "face", "grids", "labels" and "view", the keys of
/// every object in code-unit order and numbers and texts as Qt's compact JSON writes them.
/// False when @p sink refused a piece.
bool writeJson(const ViewModel& view, const OutputSink& sink);

/// writeTsv() gathered into one array.
QByteArray toTsv(const ViewModel& view);
/// writeJson() gathered into one array.
QByteArray toJson(const ViewModel& view);

} // namespace puka::report
