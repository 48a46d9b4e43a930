// The binding's StudyHost operations one by one, run inside a binding call (runStep) over the
// simulated platform's record: bar look-ups and zone conversions at the ends of the range,
// stored texts, and requests the binding refuses.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "host/host_calls.h"
#include "platform/binding_instance.h"
#include "platform/platform_call.h"
#include "platform/platform_sdk.h"
#include "sim/platform_record.h"
#include "sim/replay_datetime.h"
#include "sim/sim_host.h"

namespace ostrel::sim {
namespace {

constexpr std::int64_t kMinute = 60 * kMicrosPerSecond;
constexpr DateTime kMin = std::numeric_limits<DateTime>::min();
constexpr DateTime kMax = std::numeric_limits<DateTime>::max();
const DateTime kOpen = dateTimeFromCivil(2026, 4, 14, (9 * 60 + 30) * kMinute);

struct Bench {
  Bench() : platform(sim, &platform::runPlatformCall) {
    sim.setBars(kOpen, kMinute, 60);
    sim.runDefaults(PlatformRecord::studyFunction());
    sim.runCall(nullptr);  // a fresh call record
    present();
  }
  // Copies the SimHost's state into the record, as a platform call would.
  void present() {
    sim.runCall(PlatformRecord::studyFunction());
    sim.runCall(nullptr);
  }
  template <typename Step>
  void run(Step step) {
    struct Box {
      Step* step;
    } box{&step};
    binding.runStep(
        platform.record(),
        [](StudyHost& host, void* context) { (*static_cast<Box*>(context)->step)(host); }, &box);
  }

  SimHost sim;
  PlatformRecord platform;
  platform::BindingInstance binding;
};

TEST(PlatformOperations, BarIndexAtIsDefinedOutsideTheChart) {
  Bench bench;
  struct Case {
    DateTime t;
    std::int32_t index;
  };
  const Case cases[] = {
      {kMin, -1}, {kOpen - 1, -1}, {kOpen, 0}, {kOpen + kMinute - 1, 0}, {kOpen + 59 * kMinute, 59},
      {kMax, 59}};
  bench.run([&](StudyHost& h) {
    for (const Case& c : cases) EXPECT_EQ(host::barIndexAt(h, c.t), c.index) << c.t;
  });
  bench.sim.setBars(kOpen, kMinute, 0);
  bench.present();
  bench.run([&](StudyHost& h) { EXPECT_EQ(host::barIndexAt(h, kOpen), -1); });
}

// A look-up that answers one index whatever it is asked.
int t_lookup_answer = 0;
int fixedLookup(int /*chart*/, const SCDateTime& /*t*/) { return t_lookup_answer; }

TEST(PlatformOperations, ATimeBeforeTheFirstBarIsNoBarWhateverTheLookUpAnswers) {
  Bench bench;
  bench.platform.record().GetContainingIndexForSCDateTime = &fixedLookup;
  const int answers[] = {
      0, 1, 30, 59, 60, std::numeric_limits<int>::max(), -1, std::numeric_limits<int>::min()};
  for (const int answer : answers) {
    t_lookup_answer = answer;
    bench.run([&](StudyHost& h) {
      EXPECT_EQ(host::barIndexAt(h, kOpen - 1), -1) << answer;
      EXPECT_EQ(host::barIndexAt(h, kMin), -1) << answer;
      // Inside the chart the answer is taken, clamped into the bars.
      const std::int32_t inside = answer < 0 ? -1 : (answer > 59 ? 59 : answer);
      EXPECT_EQ(host::barIndexAt(h, kOpen), inside) << answer;
    });
  }
}

TEST(PlatformOperations, ZoneConversionsAtTheEndsOfTheRangeAreTheHostsOwn) {
  Bench bench;
  const char* zones[] = {"", "UTC+00", "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00", "not a zone"};
  const DateTime times[] = {kMin, kMin + 1, 0, kOpen, kMax - 1, kMax};
  std::vector<DateTime> through_binding;
  bench.run([&](StudyHost& h) {
    for (const char* zone : zones) {
      for (DateTime t : times) {
        through_binding.push_back(host::hostTimeToZone(h, t, zone));
        through_binding.push_back(host::zoneTimeToHost(h, t, zone));
      }
    }
  });
  std::size_t k = 0;
  StudyHost& h = bench.sim.host();
  for (const char* zone : zones) {
    for (DateTime t : times) {
      EXPECT_EQ(through_binding[k++], host::hostTimeToZone(h, t, zone)) << zone << " " << t;
      EXPECT_EQ(through_binding[k++], host::zoneTimeToHost(h, t, zone)) << zone << " " << t;
    }
  }
  // An empty zone is the chart's own: the platform is not even asked.
  bench.platform.record().InternalConvertDateTimeFromChartTimeZone = nullptr;
  bench.run([&](StudyHost& host) { EXPECT_EQ(host::hostTimeToZone(host, kOpen, ""), kOpen); });
}

// The simulated platform's SetPersistentSCString, counted.
void (*t_set_text)(int, const SCString&) = nullptr;
int t_text_writes = 0;
void countedSetText(int key, const SCString& value) {
  ++t_text_writes;
  t_set_text(key, value);
}

TEST(PlatformOperations, StoredTextsAreWrittenBackOnceWhenChanged) {
  Bench bench;
  s_sc& sc = bench.platform.record();
  t_set_text = sc.SetPersistentSCString;
  t_text_writes = 0;
  sc.SetPersistentSCString = &countedSetText;
  bench.run([](StudyHost& h) {
    HostString* text = host::storedText(h, 1);
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->empty());
    text->assign("ES");
  });
  EXPECT_STREQ(sc.GetPersistentSCString(1).GetChars(), "ES");
  EXPECT_EQ(t_text_writes, 1);
  bench.run([](StudyHost& h) { EXPECT_STREQ(host::storedText(h, 1)->c_str(), "ES"); });
  EXPECT_EQ(t_text_writes, 1) << "an unchanged text is not written again";
}

TEST(PlatformOperations, RequestsTheBindingCannotCarryAreRefused) {
  Bench bench;
  bench.run([](StudyHost& h) {
    std::vector<HttpHeaderField> many(17);
    EXPECT_EQ(host::startHttpRequest(h, "https://x/", "", many.data(), 17), 0);
    EXPECT_EQ(host::startHttpRequest(h, "https://x/", "", nullptr, 2), 0);
    EXPECT_EQ(host::startHttpRequest(h, "https://x/", "", many.data(), -1), 0);
    EXPECT_NE(host::startHttpRequest(h, nullptr, nullptr, nullptr, 0), 0);
  });
  const auto& requests = bench.sim.lastCall().requests;
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].url, "");
  ASSERT_TRUE(requests[0].body.has_value());
  EXPECT_EQ(*requests[0].body, "");
}

}  // namespace
}  // namespace ostrel::sim
