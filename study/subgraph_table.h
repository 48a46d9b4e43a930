// The study's 19 published subgraphs as data, in index order, and their declaration in the
// defaults call. Width and the third style attribute are declared only where `has_line` is set
// (the seven level lines); the others keep what the host gave them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/study_host.h"

namespace ostrel {

struct SubgraphSpec {
  const char* name;
  std::uint32_t colour;
  std::int32_t draw_style;
  bool has_line;
  std::int32_t width;
  std::int32_t third_style;
};

constexpr std::size_t kSubgraphSpecCount = 19;

const SubgraphSpec* subgraphSpecs() noexcept;

// Declares every subgraph the host has (at most 19): name, attributes, primary colour. False
// when memory ran out for a name (that name is then empty).
bool declareSubgraphs(StudyHost& host) noexcept;

}  // namespace ostrel
