#include "study/carry_forward.h"

#include "host/host_calls.h"

namespace ostrel {

namespace {

constexpr std::int32_t kCarriedSubgraphs = 19;

}  // namespace

void carryForwardLevels(StudyHost& host) noexcept {
  if (host.BarCount <= 1) return;
  const std::int32_t last = host.BarCount - 1;
  Subgraph& first = host::subgraph(host, 0);
  if (!(first.value(last) == 0.0f && first.value(last - 1) > 0.0f)) return;
  const std::int32_t count =
      host.SubgraphCount < kCarriedSubgraphs ? host.SubgraphCount : kCarriedSubgraphs;
  for (std::int32_t i = 0; i < count; ++i) {
    Subgraph& sg = host::subgraph(host, i);
    sg.value(last) = sg.value(last - 1);
  }
}

}  // namespace ostrel
