#pragma once

#include "DataLog.h"
#include "ViewModel.h"

#include <vector>

namespace puka {

/// The comment diary: every measurement with its comment, in file order.
namespace diary {

/// SET_MEMO_GRID: the empty grid `msgMemoList` with its headers, widths and alignments.
GridModel SET_MEMO_GRID();

/// DSP_MEMO: the grid filled from the records, scrolled to the end when they exceed 15.
GridModel DSP_MEMO(const SharedRecords& records);
/// DSP_MEMO() of a copy of @p records.
GridModel DSP_MEMO(const std::vector<WeightRecord>& records);

/// The diary view of a reading of the log, as the panel shows it after opening.
ViewModel view(const std::shared_ptr<const LogContents>& log);

} // namespace diary
} // namespace puka
