#include "sim/parse_command.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/numeric.h"
#include "jsonout/json_writer.h"
#include "model/parse_gex_profile.h"
#include "model/parse_greek_profile.h"
#include "model/parse_majors_history.h"
#include "service/futures_conversion.h"
#include "sim/sim_host.h"
#include "study/input_ids.h"

namespace ostrel::sim {
namespace {

constexpr const char* kUsage =
    "usage: ostrel-sim parse gex|greek|history|conversion FILE "
    "[--add A] [--mul M]\n";
// The replay's default chart.
constexpr const char* kChartZone = "EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00";
constexpr DateTime kChartStart = 46091LL * 86400 * kMicrosPerSecond +  // 2026-03-10
                                 (9 * 3600 + 30 * 60) * kMicrosPerSecond;
constexpr std::int32_t kChartBars = 390;

struct Options {
  std::string kind;
  std::string file;
  float additive = 0.0f;
  float multiplier = 1.0f;
};

bool readFloat(const char* text, float& out) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0') return false;
  out = toFloat(value);
  return true;
}

bool readOptions(int argc, char** argv, Options& options) {
  if (argc < 3) return false;
  options.kind = argv[1];
  options.file = argv[2];
  for (int i = 3; i < argc; i += 2) {
    if (i + 1 >= argc) return false;
    float* target = std::strcmp(argv[i], "--add") == 0   ? &options.additive
                    : std::strcmp(argv[i], "--mul") == 0 ? &options.multiplier
                                                         : nullptr;
    if (target == nullptr || !readFloat(argv[i + 1], *target)) return false;
  }
  return true;
}

// The file's bytes up to the first NUL; false when it cannot be read (a directory included).
bool readText(const std::string& path, std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return false;
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return true;
}

void writeLog(JsonWriter& w, const std::vector<LogEntry>& log) {
  w.key("log");
  w.beginArray();
  for (const LogEntry& entry : log) {
    w.beginObject(/*inline_container=*/true);
    w.key("text");
    w.value(entry.text);
    w.key("flag");
    w.integer(entry.flag);
    w.endObject();
  }
  w.endArray();
}

void writeFloat(JsonWriter& w, const char* name, float value) {
  w.key(name);
  w.number(value);
}

void writeFloats(JsonWriter& w, const char* name, const std::vector<float>& values) {
  w.key(name);
  w.beginArray(/*inline_container=*/true);
  for (float value : values) w.number(value);
  w.endArray();
}

const char* outcomeName(ParseOutcome outcome) {
  switch (outcome) {
    case ParseOutcome::filled: return "filled";
    case ParseOutcome::retry: return "retry";
    case ParseOutcome::halt: return "halt";
  }
  return "retry";
}

void writeHeader(JsonWriter& w, ParseOutcome outcome, const SimHost& sim) {
  w.beginObject();
  w.key("outcome");
  w.value(outcomeName(outcome));
  writeLog(w, sim.lastCall().log);
  w.key("record");
  w.beginObject();
}

std::string runGex(const std::string& text) {
  SimHost sim;
  GexData d;
  const char* pointer = text.c_str();
  const ParseOutcome outcome = parseGexProfile(sim.host(), &pointer, &d);
  JsonWriter w;
  writeHeader(w, outcome, sim);
  w.key("timestamp");
  w.integer(d.timestamp);
  w.key("ticker");
  w.value(d.ticker.c_str());
  writeFloat(w, "spot", d.spot);
  writeFloat(w, "zero_gamma", d.zero_gamma);
  writeFloat(w, "major_pos_vol", d.major_pos_vol);
  writeFloat(w, "major_pos_oi", d.major_pos_oi);
  writeFloat(w, "major_neg_vol", d.major_neg_vol);
  writeFloat(w, "major_neg_oi", d.major_neg_oi);
  writeFloat(w, "sum_gex_vol", d.sum_gex_vol);
  writeFloat(w, "sum_gex_oi", d.sum_gex_oi);
  writeFloat(w, "delta_risk_reversal", d.delta_risk_reversal);
  writeFloats(w, "strike_prices", d.strike_prices);
  writeFloats(w, "gex_vol", d.gex_vol);
  writeFloats(w, "gex_oi", d.gex_oi);
  writeFloats(w, "priors", d.priors);
  w.key("max_priors");
  w.beginArray();
  for (const std::vector<float>& pair : d.max_priors) {
    w.beginArray(/*inline_container=*/true);
    for (float value : pair) w.number(value);
    w.endArray();
  }
  w.endArray();
  writeFloat(w, "max_abs_vol", d.max_abs_vol);
  writeFloat(w, "max_abs_oi", d.max_abs_oi);
  writeFloat(w, "max_abs_all", d.max_abs_all);
  w.endObject();
  w.endObject();
  return w.text();
}

std::string runGreek(const std::string& text) {
  SimHost sim;
  GreekData d;
  const char* pointer = text.c_str();
  const ParseOutcome outcome = parseGreekProfile(sim.host(), &pointer, &d);
  JsonWriter w;
  writeHeader(w, outcome, sim);
  w.key("timestamp");
  w.integer(d.timestamp);
  w.key("ticker");
  w.value(d.ticker.c_str());
  writeFloat(w, "spot", d.spot);
  writeFloat(w, "major_positive", d.major_positive);
  writeFloat(w, "major_negative", d.major_negative);
  writeFloat(w, "major_long_gamma", d.major_long_gamma);
  writeFloat(w, "major_short_gamma", d.major_short_gamma);
  writeFloats(w, "strike_prices", d.strike_prices);
  writeFloats(w, "value1", d.value1);
  writeFloats(w, "value2", d.value2);
  writeFloats(w, "value3", d.value3);
  writeFloats(w, "priors", d.priors);
  writeFloat(w, "max_abs_value", d.max_abs_value);
  w.endObject();
  w.endObject();
  return w.text();
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A write is told from an untouched bar by running twice over different fills (0 and 1): no
// value, NaN and -0 included, can look untouched in both runs.
std::string runHistory(const std::string& text, float additive, float multiplier) {
  constexpr float kFills[2] = {0.0f, 1.0f};
  SimHost sims[2];
  std::int32_t result = 0;
  for (int run = 0; run < 2; ++run) {
    SimHost& sim = sims[run];
    sim.setHostZone(kChartZone);
    sim.setBars(kChartStart, 60 * kMicrosPerSecond, kChartBars);
    for (std::int32_t k = 0; k < 3; ++k) {
      for (std::int32_t bar = 0; bar < kChartBars; ++bar) sim.subgraph(k).value(bar) = kFills[run];
    }
    const char* pointer = text.c_str();
    result = parseMajorsHistory(sim.host(), &pointer, additive, multiplier);
  }
  JsonWriter w;
  w.beginObject();
  w.key("result");
  w.integer(result);
  writeLog(w, sims[0].lastCall().log);
  w.key("earliest_changed_bar");
  const std::int32_t earliest = sims[0].host().EarliestChangedBar;
  if (earliest >= 0) {
    w.integer(earliest);
  } else {
    w.null();
  }
  w.key("writes");
  w.beginObject();
  for (std::int32_t k = 0; k < 3; ++k) {
    w.key(std::to_string(k).c_str());
    w.beginObject(/*inline_container=*/true);
    for (std::int32_t bar = 0; bar < kChartBars; ++bar) {
      const float first = sims[0].subgraph(k).value(bar);
      const float second = sims[1].subgraph(k).value(bar);
      if (sameBits(first, kFills[0]) && sameBits(second, kFills[1])) continue;
      w.key(std::to_string(bar).c_str());
      w.number(first);
    }
    w.endObject();
  }
  w.endObject();
  w.endObject();
  return w.text();
}

// As for history: the premiums start at 0 and 1, then at 0.5 and 2; a premium that ends the
// same in both runs was written.
std::string runConversion(const std::string& text) {
  constexpr float kStarts[2][2] = {{0.0f, 1.0f}, {0.5f, 2.0f}};
  SimHost sims[2];
  for (int run = 0; run < 2; ++run) {
    sims[run].input(in::kAdditivePremium).setFloat(kStarts[run][0]);
    sims[run].input(in::kMultiplicativePremium).setFloat(kStarts[run][1]);
    parseFuturesConversion(sims[run].host(), text.c_str(), "ES");
  }
  JsonWriter w;
  w.beginObject();
  writeLog(w, sims[0].lastCall().log);
  for (const auto& [name, index] :
       {std::pair<const char*, std::int32_t>{"multiplier", in::kMultiplicativePremium},
        {"additive", in::kAdditivePremium}}) {
    const StudyInput& first = sims[0].input(index);
    const StudyInput& second = sims[1].input(index);
    w.key(name);
    if (first.type == second.type && first.double_value == second.double_value) {
      w.number(static_cast<float>(first.double_value));
    } else {
      w.null();
    }
  }
  w.endObject();
  return w.text();
}

}  // namespace

bool parseReport(const std::string& kind, const std::string& text, float additive, float multiplier,
                 std::string& out) {
  if (kind == "gex") {
    out = runGex(text);
  } else if (kind == "greek") {
    out = runGreek(text);
  } else if (kind == "history") {
    out = runHistory(text, additive, multiplier);
  } else if (kind == "conversion") {
    out = runConversion(text);
  } else {
    return false;
  }
  return true;
}

int runParseCommand(int argc, char** argv) {
  Options options;
  if (!readOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string& kind = options.kind;
  if (kind != "gex" && kind != "greek" && kind != "history" && kind != "conversion") {
    std::fprintf(stderr, "ostrel-sim parse: unknown kind '%s' (gex, greek, history, conversion)\n",
                 kind.c_str());
    return 2;
  }
  std::string text;
  if (!readText(options.file, text)) {
    std::fprintf(stderr, "ostrel-sim parse: cannot read '%s'\n", options.file.c_str());
    return 1;
  }
  std::string out;
  parseReport(kind, text, options.additive, options.multiplier, out);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace ostrel::sim
