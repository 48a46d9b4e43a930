#include "demo/picture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace ostrel::demo {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A small chart with what the picture has to cope with: two levels a point apart (their tags
// must be spread), a level far off the candles' range, a bar, a marker and a legend.
ChartData smallChart() {
  ChartData d;
  d.title = "Title \xE9 not UTF-8";  // cairo refuses such text; it must still draw
  d.subtitle = "subtitle";
  for (int i = 0; i < 30; ++i) {
    const float p = 5000.0f + static_cast<float>(i % 7);
    d.candles.push_back({p, p + 3.0f, p - 2.0f, p + 1.0f, true});
  }
  for (float level : {5004.0f, 5005.0f, 9000.0f}) {
    DrawingSpec line;
    line.DrawingType = kDrawingHorizontalLine;
    line.BeginValue = level;
    line.Color = hostColour(0, 255, 0);
    line.Text = "LEVEL";
    d.drawings.push_back(line);
  }
  DrawingSpec bar;
  bar.DrawingType = kDrawingRectangle;
  bar.BeginValue = 5001.0f;
  bar.EndValue = 5002.0f;
  bar.BeginTime = 0;
  bar.EndTime = 86400000000LL * 20;
  bar.FillColor = hostColour(255, 0, 0);
  d.drawings.push_back(bar);
  d.legend.push_back({LegendEntry::kBox, hostColour(38, 166, 154), 0, "candles"});
  d.legend.push_back({LegendEntry::kDot, hostColour(255, 255, 255), 0, "priors"});
  for (auto& v : d.values) v.assign(d.candles.size(), 0.0f);
  for (auto& c : d.colours) c.assign(d.candles.size(), 0u);
  return d;
}

TEST(DemoPicture, PngAndSvgComeFromTheSameDrawing) {
  const fs::path dir = fs::temp_directory_path() / ("ostrel-picture-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string error;
  ASSERT_TRUE(writePng(smallChart(), (dir / "c.png").string(), error)) << error;
  ASSERT_TRUE(writeSvg(smallChart(), (dir / "c.svg").string(), error)) << error;
  EXPECT_EQ(readBytes(dir / "c.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
  const std::string svg = readBytes(dir / "c.svg");
  EXPECT_NE(svg.find("width=\"1600px\" height=\"960px\""), std::string::npos);
  EXPECT_NE(svg.find("<path"), std::string::npos);  // the text, as glyph outlines
  fs::remove_all(dir);
}

TEST(DemoPicture, AFileThatCannotBeWrittenIsReported) {
  std::string error;
  EXPECT_FALSE(writePng(smallChart(), "/nonexistent-dir/c.png", error));
  EXPECT_NE(error.find("/nonexistent-dir/c.png"), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(writeSvg(smallChart(), "/nonexistent-dir/c.svg", error));
  EXPECT_NE(error.find("/nonexistent-dir/c.svg"), std::string::npos) << error;
}

}  // namespace
}  // namespace ostrel::demo
