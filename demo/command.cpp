#include "demo/command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "demo/options.h"
#include "demo/picture.h"
#include "demo/session.h"
#include "mock/mock_service.h"

namespace ostrel::demo {

namespace {

bool writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

std::string logText(const DemoResult& r) {
  std::string text;
  for (std::size_t i = 0; i < r.log.size(); ++i) {
    text += r.log_times[i] + "  [" + std::to_string(r.log[i].flag) + "] " + r.log[i].text + "\n";
  }
  return text;
}

void printSummary(const DemoOptions& o, const DemoResult& r, const std::string& svg,
                  const std::string& png, const std::string& log) {
  const DemoStats& s = r.stats;
  long bars = 0, markers = 0, shown = 0, lines = 0;
  for (const DrawingSpec& d : r.chart.drawings) {
    if (d.DrawingType == kDrawingRectangle) ++bars;
    if (d.DrawingType == kDrawingMarker) ++markers, shown += d.Hidden == 1 ? 0 : 1;
    if (d.DrawingType == kDrawingHorizontalLine) ++lines;
  }
  std::printf("%s\n", r.chart.title.c_str());
  std::printf("  calls of the study      %ld (every %d s), full recalculations %ld\n", s.calls,
              o.step_seconds, s.full_recalcs);
  std::printf(
      "  profile requests        %ld: drawn %ld, not drawn %ld (faults injected %ld, "
      "no answer %ld)%s\n",
      s.profile_requests, s.profile_drawn, s.profile_not_drawn, s.faults_injected, s.http_failures,
      s.halted ? ", requests halted" : "");
  std::printf("  majors history          %ld requests, %ld bars with levels\n", s.history_requests,
              s.history_bars);
  std::printf("  futures conversion      %ld requests (%ld failed), premium x%.4f %+.2f\n",
              s.conversions, s.conversion_failures, static_cast<double>(s.multiplier),
              static_cast<double>(s.additive));
  std::printf("  drawings on the chart   %ld strike bars, %ld prior dots (%ld shown), %ld lines\n",
              bars, markers, shown, lines);
  std::vector<std::pair<long, std::string>> top;
  // Messages that differ only in numbers or an echoed body count as one.
  std::map<std::string, long> grouped;
  for (const auto& m : s.messages) {
    std::string key = m.first.substr(0, m.first.find('{'));
    for (char& ch : key) ch = (ch >= '0' && ch <= '9') ? '#' : ch;
    grouped[key] += m.second;
  }
  for (const auto& m : grouped) top.emplace_back(m.second, m.first);
  std::sort(top.rbegin(), top.rend());
  std::printf("  log                     %zu lines, %zu kinds%s\n", r.log.size(), top.size(),
              top.empty() ? "" : "; most frequent:");
  for (std::size_t i = 0; i < top.size() && i < 6; ++i) {
    std::printf("    %6ldx %.110s\n", top[i].first, top[i].second.c_str());
  }
  std::printf("  pictures                %s\n                          %s\n", png.c_str(),
              svg.c_str());
  std::printf("  study log               %s\n", log.c_str());
}

}  // namespace

int runDemoCommand(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
      std::fputs(kDemoUsage, stdout);
      return 0;
    }
  }
  DemoOptions options;
  std::string error;
  if (!parseDemoOptions(argc, argv, options, error)) {
    std::fprintf(stderr, "ostrel-sim demo: %s\n%s", error.c_str(), kDemoUsage);
    return 2;
  }

  mock::ServiceConfig config;
  config.seed = options.seed;
  config.speed = 0.0;  // every request carries the simulated time
  config.api_keys = {options.api_key};
  config.silent_ms = static_cast<int>(options.timeout_seconds * 1000.0) + 1000;
  mock::MockService service(config);
  if (!service.start(error)) {
    std::fprintf(stderr, "ostrel-sim demo: the local data service did not start: %s\n",
                 error.c_str());
    return 1;
  }
  std::fprintf(stderr, "ostrel-sim demo: data service on %s, session %s\n",
               service.baseUrl().c_str(), options.date.c_str());

  DemoResult result;
  if (!runDemoSession(options, service.port(), service.state().model, result, error)) {
    std::fprintf(stderr, "ostrel-sim demo: %s\n", error.c_str());
    return 1;
  }
  service.stop();
  service.wait();

  std::error_code fs_error;
  std::filesystem::create_directories(options.out_dir, fs_error);
  const std::string base = options.out_dir + "/ostrel-demo";
  const std::string svg_path = base + ".svg", png_path = base + ".png", log_path = base + ".log";
  if (!writeText(log_path, logText(result))) {
    std::fprintf(stderr, "ostrel-sim demo: cannot write into %s\n", options.out_dir.c_str());
    return 1;
  }
  if (!writePng(result.chart, png_path, error) || !writeSvg(result.chart, svg_path, error)) {
    std::fprintf(stderr, "ostrel-sim demo: %s\n", error.c_str());
    return 1;
  }
  printSummary(options, result, svg_path, png_path, log_path);
  return 0;
}

}  // namespace ostrel::demo
