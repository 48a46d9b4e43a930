// Test support for the study and service tests: a simulated host that has had the defaults
// call, with a chart of one-minute bars from 09:30 New York time, and helpers for New York
// date-times. The fixture releases the study's records at the end of every test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "sim/replay_datetime.h"
#include "sim/sim_host.h"
#include "study/state_keys.h"
#include "study/study_entry.h"

namespace ostrel::test {

constexpr std::int64_t kSecond = 1000000;
constexpr std::int64_t kMinute = 60 * kSecond;
constexpr std::int64_t kHour = 60 * kMinute;

// Wall-clock date-time (the simulated host's zone is New York).
inline std::int64_t at(int year, int month, int day, int hour, int minute, int second = 0,
                       std::int64_t micros = 0) {
  return sim::dateTimeFromCivil(year, month, day,
                                hour * kHour + minute * kMinute + second * kSecond + micros);
}

inline void study(StudyHost& host) { studyFunction(host); }

// A small GEX answer: two strikes with five priors each, zero gamma and the four majors.
inline constexpr const char* kTwoStrikeProfile =
    "{\"timestamp\": 1773151200, \"ticker\": \"SPX\", \"spot\": 5492.25, \"zero_gamma\": 5480.5,"
    " \"major_pos_vol\": 5510, \"major_pos_oi\": 5525, \"major_neg_vol\": 5450,"
    " \"major_neg_oi\": 5400, \"sum_gex_vol\": 1843.75, \"sum_gex_oi\": -512.5,"
    " \"strikes\": [[5450, -310.5, -120.25, [-300, -290, -280, -250, -200]],"
    " [5510, 420, 210.75, [400, 380, 350, 320, 260]]]}";

// A majors history of one point: 09:45 New York on 2026-03-10, bar 15 of StudyTest's chart.
inline constexpr const char* kOneHistoryPoint =
    "[{\"timestamp\": 1773150300, \"major_call_gamma\": 5600, \"major_put_gamma\": 5400,"
    " \"zero_gamma\": 5500}]";

class StudyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim.setBars(at(2026, 3, 10, 9, 30), kMinute, 390);
    sim.runDefaults(&study);
  }
  void TearDown() override { sim.releaseStudy(&study); }

  // One update call at `time` (CurrentTime and ClockTime), on the last bar.
  const sim::CallRecord& call(std::int64_t time, const sim::CallScript& script = {}) {
    sim.host().CurrentBarIndex = sim.host().BarCount - 1;
    sim.host().CurrentTime = time;
    sim.host().ClockTime = time;
    const sim::CallRecord& rec = sim.runCall(&study, script);
    sim.host().IsFullRecalc = 0;
    return rec;
  }
  const sim::CallRecord& fullRecalc(std::int64_t time, const sim::CallScript& script = {}) {
    sim.host().IsFullRecalc = 1;
    return call(time, script);
  }
  static sim::CallScript answer(const char* text) {
    sim::CallScript s;
    s.response_ready = true;
    if (text != nullptr) s.response_text = std::string(text);
    return s;
  }

  std::int32_t stored(std::int32_t k) {
    const auto& v = sim.storedInts().values;
    const auto it = v.find(k);
    return it == v.end() ? 0 : it->second;
  }
  std::int64_t storedTime(std::int32_t k) {
    const auto& v = sim.storedTimes().values;
    const auto it = v.find(k);
    return it == v.end() ? 0 : it->second;
  }
  void* pointer(std::int32_t k) {
    const auto& v = sim.storedPointers().values;
    const auto it = v.find(k);
    return it == v.end() ? nullptr : it->second;
  }

  sim::SimHost sim;
};

// Messages of a call, as "flag:text" lines, for exact comparison.
inline std::string logOf(const sim::CallRecord& rec) {
  std::string out;
  for (const auto& e : rec.log) out += std::to_string(e.flag) + ":" + e.text + "\n";
  return out;
}

}  // namespace ostrel::test
