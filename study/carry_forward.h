// carryForwardLevels: a bar that has just begun shows the last published levels until the next
// answer writes new ones. When subgraph 0 holds exactly 0 on the last bar and more than 0 on
// the bar before, subgraphs 0..18 (those the host has) copy their values from the bar before.
// Colours are not copied. Nothing happens with fewer than two bars.
#pragma once

#include "host/study_host.h"

namespace ostrel {

void carryForwardLevels(StudyHost& host) noexcept;

}  // namespace ostrel
