// The demo chart written as files: a PNG (ARGB image surface) and an SVG (vector surface, text
// as outlines), both drawn by drawChart.
#pragma once

#include <string>

#include "demo/chart.h"

namespace ostrel::demo {

// False with a one-line reason when a file cannot be written.
bool writePng(const ChartData& data, const std::string& path, std::string& error);
bool writeSvg(const ChartData& data, const std::string& path, std::string& error);

// cairo and fontconfig keep font caches for the life of the process; this drops them (both
// writers call it when done, so a leak checker sees a clean exit). Only while no cairo object
// is alive; the next text drawn loads the fonts again.
void releaseFontCaches();

}  // namespace ostrel::demo
