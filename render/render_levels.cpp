#include "render/render_levels.h"

namespace ostrel {

// Placeholder until the render pass lands.
void renderLevels(StudyHost&, std::int32_t& drawingKey, const GexData*, const GreekData*, float,
                  float) {
  drawingKey = 8;
}

}  // namespace ostrel
