// The render pass's subgraph writes at the host's CurrentBarIndex.
//
// Price levels are written converted and only when the record's value is not 0 (the bar keeps
// what it had); the net GEX values are written as sent, always. The max-change subgraphs
// (9..18) are written only when max_priors holds at least five entries: entry k gives strike
// subgraph 9 + 2k (element 0 converted, 0 before conversion when absent) with a per-bar colour
// (green when the entry has two elements and element 1 > 0, else red) and value subgraph
// 10 + 2k (element 1, 0 when absent). A subgraph the host did not provide is skipped.
#pragma once

#include "host/study_host.h"
#include "model/gex_data.h"
#include "model/greek_data.h"

namespace ostrel {

void publishGexLevels(StudyHost& host, const GexData& gex, float additive, float multiplier);
void publishGexNet(StudyHost& host, const GexData& gex);
void publishMaxChanges(StudyHost& host, const GexData& gex, float additive, float multiplier);
void publishGreekLevels(StudyHost& host, const GreekData& greek, float additive, float multiplier);

}  // namespace ostrel
