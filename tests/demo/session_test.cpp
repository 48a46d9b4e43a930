// End to end: a short session of the study against the mock service over loopback, as
// `ostrel-sim demo` runs it — profiles requested, parsed and drawn, the history in the first
// three subgraphs, the conversion applied, and injected faults survived.
#if defined(OSTREL_HAVE_MOCK)
#include <gtest/gtest.h>

#include <string>

#include <cairo.h>
#include "mock/mock_service.h"

#include "demo/chart.h"
#include "demo/picture.h"
#include "demo/session.h"

namespace ostrel::demo {
namespace {

struct Session {
  DemoResult result;
  bool ok = false;
};

Session run(DemoOptions options) {
  mock::ServiceConfig config;
  config.speed = 0.0;
  config.silent_ms = 1500;
  mock::MockService service(config);
  Session s;
  std::string error;
  if (!service.start(error)) {
    ADD_FAILURE() << error;
    return s;
  }
  options.progress = false;
  s.ok = runDemoSession(options, service.port(), service.state().model, s.result, error);
  EXPECT_TRUE(s.ok) << error;
  return s;
}

int countType(const ChartData& chart, std::int32_t type) {
  int n = 0;
  for (const DrawingSpec& d : chart.drawings) n += d.DrawingType == type ? 1 : 0;
  return n;
}

TEST(DemoSession, ShortSessionDrawsProfilesHistoryAndSurvivesFaults) {
  DemoOptions o;
  o.start_second = 9 * 3600 + 30 * 60;
  o.end_second = 9 * 3600 + 50 * 60;
  o.recalc_minutes = 10;
  o.faults = {"500", "broken", "truncated", "404", "silent", "badkey"};
  o.fault_every = 8;
  o.timeout_seconds = 0.5;
  const Session s = run(o);
  ASSERT_TRUE(s.ok);
  const DemoStats& st = s.result.stats;
  EXPECT_GT(st.profile_requests, 60);
  EXPECT_EQ(st.faults_injected, st.profile_requests / 8);
  EXPECT_GE(st.profile_not_drawn, st.faults_injected - 1);
  EXPECT_GT(st.profile_drawn, st.profile_requests - st.faults_injected - 3);
  EXPECT_GE(st.http_failures, 1);  // the silent fault
  EXPECT_GE(st.history_requests, 2);
  EXPECT_EQ(st.history_bars, 20);  // every bar of the session carries the majors
  EXPECT_GE(st.conversions, 2);    // 09:30 and 09:32
  EXPECT_EQ(st.conversion_failures, 0);
  EXPECT_EQ(st.multiplier, 1.0f);
  EXPECT_GT(st.additive, 25.0f);
  // The bad-key answer halts requests until the next full recalculation, which resumes them.
  EXPECT_GE(st.messages.count("Ostrel API Error: ERROR: Invalid API Key. Halting requests."), 1u);
  EXPECT_GE(st.messages.count("GEX Profile json parse error. Retrying."), 1u);

  const ChartData& chart = s.result.chart;
  EXPECT_GT(countType(chart, kDrawingRectangle), 20);
  EXPECT_GT(countType(chart, kDrawingMarker), 20);
  EXPECT_EQ(countType(chart, kDrawingHorizontalLine), 5);
  for (int bar = 0; bar < 20; ++bar) {
    EXPECT_NE(chart.values[2][static_cast<std::size_t>(bar)], 0.0f) << bar;
    EXPECT_TRUE(chart.candles[static_cast<std::size_t>(bar)].set) << bar;
  }
  // Subgraph levels are on the futures chart: zero gamma near the converted candles.
  EXPECT_NEAR(chart.values[2][19], chart.candles[19].close, chart.candles[19].close * 0.05f);

  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, kChartWidth, kChartHeight);
  cairo_t* cr = cairo_create(surface);
  drawChart(cr, chart);
  EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const unsigned char* pixels = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  long lit = 0;
  for (int y = 0; y < kChartHeight; ++y) {
    for (int x = 0; x < kChartWidth; ++x) {
      const unsigned char* p = pixels + y * stride + x * 4;  // B, G, R, unused
      lit += p[2] != (kChartBackground & 0xFF) || p[1] != ((kChartBackground >> 8) & 0xFF) ? 1 : 0;
    }
  }
  cairo_surface_destroy(surface);
  releaseFontCaches();
  EXPECT_GT(lit, 20000);
}

TEST(DemoSession, GammaProfileOfTheStatePackage) {
  DemoOptions o;
  o.kind = 3;
  o.package = 1;
  o.future = "";
  o.start_second = 11 * 3600;
  o.end_second = 11 * 3600 + 5 * 60;
  const Session s = run(o);
  ASSERT_TRUE(s.ok);
  EXPECT_GT(s.result.stats.profile_drawn, 10);
  EXPECT_EQ(s.result.stats.conversions, 0);
  EXPECT_EQ(countType(s.result.chart, kDrawingHorizontalLine), 2);
  EXPECT_NE(s.result.chart.values[5][4], 0.0f);  // major long gamma published
}

TEST(DemoSession, UnknownTickerHaltsRequests) {
  DemoOptions o;
  o.ticker = "XYZ";
  o.future = "";
  o.start_second = 10 * 3600;
  o.end_second = 10 * 3600 + 60;
  o.recalc_minutes = 0;
  const Session s = run(o);
  ASSERT_TRUE(s.ok);
  EXPECT_TRUE(s.result.stats.halted);
  EXPECT_EQ(s.result.stats.profile_drawn, 0);
  EXPECT_LE(s.result.stats.profile_requests, 2);  // one per full recalculation
  EXPECT_TRUE(s.result.chart.drawings.empty());
}

TEST(DemoOptionsParse, NamesAndErrors) {
  const char* argv[] = {"demo",   "--kind", "delta", "--display", "oi",       "--future",  "none",
                        "--from", "10:00",  "--to",  "10:30",     "--faults", "500,silent"};
  DemoOptions o;
  std::string error;
  ASSERT_TRUE(parseDemoOptions(13, const_cast<char**>(argv), o, error)) << error;
  EXPECT_EQ(o.kind, 5);
  EXPECT_EQ(o.package, 1);  // gamma and delta need the State package
  EXPECT_EQ(o.display, 1);
  EXPECT_TRUE(o.future.empty());
  EXPECT_EQ(o.start_second, 36000);
  EXPECT_EQ(o.faults.size(), 2u);
  for (auto bad : {std::vector<const char*>{"demo", "--kind", "vega"},
                   std::vector<const char*>{"demo", "--faults", "explode"},
                   std::vector<const char*>{"demo", "--from", "16:00", "--to", "09:30"},
                   std::vector<const char*>{"demo", "--step"}}) {
    DemoOptions x;
    EXPECT_FALSE(
        parseDemoOptions(static_cast<int>(bad.size()), const_cast<char**>(bad.data()), x, error));
  }
}

}  // namespace
}  // namespace ostrel::demo
#endif
