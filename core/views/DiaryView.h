#pragma once

#include "core/base/ViewModel.h"
#include "core/files/DataLog.h"

#include <vector>

namespace puka {

/// The comment diary: every measurement with its comment, in file order.
namespace diary {

/// The empty grid `msgMemoList` with its headers, widths and alignments.
GridModel emptyDiaryList();

/// The grid filled from the records, scrolled to the end when they exceed 15.
GridModel buildDiaryList(const SharedRecords& records);
/// buildDiaryList() of a copy of @p records.
GridModel buildDiaryList(const std::vector<WeightRecord>& records);

/// The diary view of a reading of the log, as the panel shows it after opening.
ViewModel view(const std::shared_ptr<const LogContents>& log);

} // namespace diary
} // namespace puka
