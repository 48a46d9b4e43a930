#include "model/parse_majors_history.h"

#include <limits>

#include "host/host_calls.h"
#include "host/host_string.h"
#include "host/numeric.h"
#include "host/out_of_memory.h"
#include "host/time_units.h"
#include "model/json_document.h"

namespace ostrel {
namespace {

constexpr std::int64_t kUnixEpoch = 2209161600000000;  // 1970-01-01 in host date-time

// Unix seconds as a host date-time; false when the result would not fit in int64. 0 stays 0.
bool unixToDateTime(std::int64_t seconds, DateTime& out) noexcept {
  if (seconds == 0) {
    out = 0;
    return true;
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  if (seconds > kMax / kMicrosPerSecond || seconds < kMin / kMicrosPerSecond) return false;
  const std::int64_t micros = seconds * kMicrosPerSecond;
  if (micros > kMax - kUnixEpoch) return false;
  out = micros + kUnixEpoch;
  return true;
}

struct Conversion {
  float additive;
  float multiplier;
};

void writeHistoryLevel(StudyHost& host, std::int32_t subgraph, std::int32_t bar,
                       const json::Value* value, Conversion conversion) {
  if (value == nullptr || !value->IsNumber()) return;
  // Two statements, so that no compiler fuses them into one rounding (FMA).
  const float product = toFloat(value->GetDouble()) * conversion.multiplier;
  const float converted = product + conversion.additive;
  host::subgraph(host, subgraph).value(bar) = converted;
}

std::int32_t readPoints(StudyHost& host, const json::Value& points, Conversion conversion) {
  const std::size_t count = json::arraySize(&points);
  if (count == 0) return 0;
  const bool has_subgraphs = host.Subgraphs != nullptr && host.SubgraphCount > 0;
  std::int32_t earliest = host.BarCount;
  for (std::size_t k = 0; k < count; ++k) {
    const json::Value& point = json::arrayElement(points, k);
    if (!json::isNonEmptyObject(&point)) continue;
    const json::Value* stamp = json::findMember(&point, "timestamp");
    if (stamp == nullptr || !stamp->IsInt64()) continue;
    DateTime utc = 0;
    if (!unixToDateTime(stamp->GetInt64(), utc)) continue;
    const DateTime local = host::zoneTimeToHost(host, utc, "UTC+00");
    const std::int32_t bar = host::barIndexAt(host, local);
    if (bar < 0 || bar >= host.BarCount) continue;
    if (bar < earliest) earliest = bar;
    if (!has_subgraphs) continue;
    writeHistoryLevel(host, 0, bar, json::findMember(&point, "major_call_gamma"), conversion);
    writeHistoryLevel(host, 1, bar, json::findMember(&point, "major_put_gamma"), conversion);
    writeHistoryLevel(host, 2, bar, json::findMember(&point, "zero_gamma"), conversion);
  }
  if (earliest < host.BarCount) host.EarliestChangedBar = earliest;
  return 0;
}

std::int32_t readObject(StudyHost& host, const json::Value& root) {
  if (json::findMember(&root, "timestamp") != nullptr) return 0;
  if (const char* message = json::readString(json::findMember(&root, "message"))) {
    const HostString line = formatHostString("Ostrel History: API message: %s. Skipping.", message);
    logFormatted(host, line, 1);
    return 2;
  }
  if (const char* error = json::readString(json::findMember(&root, "error"))) {
    const HostString line = formatHostString("Ostrel History: API error: %s. Skipping.", error);
    logFormatted(host, line, 1);
    return 2;
  }
  return 2;
}

}  // namespace

std::int32_t parseMajorsHistory(StudyHost& host, const char* const* response_text, float additive,
                                float multiplier) {
  json::JsonDocument document;
  if (!document.parse(response_text != nullptr ? *response_text : nullptr)) {
    host::logMessage(host, "Ostrel History: JSON parse error. Skipping.", 0);
    return 2;
  }
  const json::Value& root = document.root();
  if (root.IsArray()) return readPoints(host, root, Conversion{additive, multiplier});
  if (json::isNonEmptyObject(&root)) return readObject(host, root);
  return 2;
}

}  // namespace ostrel
