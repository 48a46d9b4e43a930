// selectLargest: which strikes of a pass get a bar, in drawing order.
//
// Positive values first, largest first, then negative values, most negative first; zero and
// NaN values are dropped. Each side is cut to its count of LargestCounts when that count is
// positive (0 or negative keeps the side whole). Equal values come in no defined order.
// Strikes and values are paired up to the shorter sequence. The result replaces the contents
// of `out`, whose storage is reused.
#pragma once

#include <vector>

#include "render/float_span.h"
#include "render/largest_counts.h"
#include "render/strike_bar.h"

namespace ostrel {

void selectLargest(FloatSpan strikes, FloatSpan values, LargestCounts counts,
                   std::vector<StrikeBar>& out);

}  // namespace ostrel
