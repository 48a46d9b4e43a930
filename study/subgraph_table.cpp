#include "study/subgraph_table.h"

#include "host/colour.h"

namespace ostrel {

namespace {

constexpr std::int32_t kLevelStyle = 4;
constexpr std::int32_t kValueStyle = 5;

constexpr SubgraphSpec level(const char* name, std::uint32_t colour) {
  return {name, colour, kLevelStyle, true, 2, 1};
}
constexpr SubgraphSpec value(const char* name, std::uint32_t colour) {
  return {name, colour, kValueStyle, false, 0, 0};
}

constexpr SubgraphSpec kSubgraphs[kSubgraphSpecCount] = {
    level("Major Call Gamma by Volume", rgb(3, 255, 53)),
    level("Major Put Gamma by Volume", rgb(255, 0, 0)),
    level("Zero Gamma", rgb(255, 165, 0)),
    level("Major Call Gamma by OI", rgb(3, 255, 53)),
    level("Major Put Gamma by OI", rgb(255, 0, 0)),
    level("Major Long Gamma", rgb(0, 255, 255)),
    level("Major Short Gamma", rgb(128, 0, 128)),
    value("Net GEX Volume", rgb(0, 255, 0)),
    value("Net GEX OI", rgb(0, 255, 0)),
    value("1 Minute Max Change Call/Put GEX Strike", rgb(255, 255, 255)),
    value("1 Minute Max Change Call/Put GEX Value", rgb(255, 255, 255)),
    value("5 Minute Max Change Call/Put GEX Strike", rgb(93, 214, 245)),
    value("5 Minute Max Change Call/Put GEX Value", rgb(93, 214, 245)),
    value("10 Minute Max Change Call/Put GEX Strike", rgb(0, 162, 222)),
    value("10 Minute Max Change Call/Put GEX Value", rgb(0, 162, 222)),
    value("15 Minute Max Change Call/Put GEX Strike", rgb(0, 108, 192)),
    value("15 Minute Max Change Call/Put GEX Value", rgb(0, 108, 192)),
    value("30 Minute Max Change Call/Put GEX Strike", rgb(0, 52, 148)),
    value("30 Minute Max Change Call/Put GEX Value", rgb(0, 52, 148)),
};

}  // namespace

const SubgraphSpec* subgraphSpecs() noexcept { return kSubgraphs; }

bool declareSubgraphs(StudyHost& host) noexcept {
  if (host.Subgraphs == nullptr) return true;
  bool complete = true;
  for (std::int32_t i = 0;
       i < static_cast<std::int32_t>(kSubgraphSpecCount) && i < host.SubgraphCount; ++i) {
    const SubgraphSpec& spec = kSubgraphs[i];
    Subgraph& out = host.Subgraphs[i];
    out.name = spec.name;
    out.draw_style = spec.draw_style;
    if (spec.has_line) {
      out.line_width = spec.width;
      out.third_style = spec.third_style;
    }
    out.primary_colour = spec.colour;
    if (out.name != spec.name) complete = false;
  }
  return complete;
}

}  // namespace ostrel
