#include "sim/replay_scenario.h"

#include <rapidjson/error/en.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "host/numeric.h"
#include "sim/replay_datetime.h"
#include "sim/replay_inputs.h"
#include "sim/zone_rule.h"

namespace ostrel::sim {
namespace {

using rapidjson::Value;

[[noreturn]] void fail(const std::string& where, const std::string& problem) {
  throw ScenarioError(where + ": " + problem);
}

// Rejects members outside `allowed` (a typo would otherwise be silently ignored) and repeated
// members (only the first would count).
void checkMembers(const Value& object, const std::string& where,
                  std::initializer_list<const char*> allowed) {
  if (!object.IsObject()) fail(where, "expected an object");
  for (auto m = object.MemberBegin(); m != object.MemberEnd(); ++m) {
    const char* name = m->name.GetString();
    bool known = false;
    for (const char* a : allowed) known = known || std::strcmp(a, name) == 0;
    if (!known) fail(where, std::string("unknown field '") + name + "'");
    for (auto p = object.MemberBegin(); p != m; ++p) {
      if (std::strcmp(p->name.GetString(), name) == 0) {
        fail(where, std::string("field '") + name + "' given twice");
      }
    }
  }
}

const Value* member(const Value& object, const char* name) {
  auto it = object.FindMember(name);
  return it != object.MemberEnd() ? &it->value : nullptr;
}

std::int64_t readInteger(const Value& v, const std::string& where, std::int64_t lo,
                         std::int64_t hi) {
  bool ok = false;
  std::int64_t n = 0;
  if (v.IsInt64()) {
    n = v.GetInt64();
    ok = true;
  } else if (v.IsDouble()) {
    const double d = v.GetDouble();
    ok = std::isfinite(d) && std::floor(d) == d && std::fabs(d) < 9.0e18;
    if (ok) n = static_cast<std::int64_t>(d);
  }
  if (!ok || n < lo || n > hi) {
    fail(where, "expected an integer from " + std::to_string(lo) + " to " + std::to_string(hi));
  }
  return n;
}

std::int32_t readInt32(const Value& v, const std::string& where) {
  return static_cast<std::int32_t>(readInteger(v, where, INT32_MIN, INT32_MAX));
}

bool readFlag(const Value& v, const std::string& where) {
  if (v.IsBool()) return v.GetBool();
  if (v.IsInt() && (v.GetInt() == 0 || v.GetInt() == 1)) return v.GetInt() != 0;
  fail(where, "expected true, false, 0 or 1");
}

DateTime readDateTime(const Value& v, const std::string& where) {
  DateTime t = 0;
  if (!v.IsString() || !parseDateTime(v.GetString(), v.GetStringLength(), t)) {
    fail(where, "expected a date-time \"YYYY-MM-DD HH:MM:SS[.ffffff]\"");
  }
  return t;
}

std::string readString(const Value& v, const std::string& where) {
  if (!v.IsString()) fail(where, "expected a string");
  return std::string(v.GetString(), v.GetStringLength());
}

std::string joinPath(const std::string& base, const std::string& path) {
  const bool absolute =
      (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
  if (absolute || base.empty()) return path;
  return base + "/" + path;
}

void readResponse(const Value& v, const std::string& where, const std::string& base,
                  CallScript& script) {
  script.response_ready = true;
  if (v.IsNull()) return;
  if (v.IsString()) {
    script.response_text = readString(v, where);
    return;
  }
  checkMembers(v, where, {"file"});
  const Value* file = member(v, "file");
  if (file == nullptr) fail(where, "expected a string, null or {\"file\": PATH}");
  const std::string path = joinPath(base, readString(*file, where + ".file"));
  try {
    script.response_text = readFileBytes(path);
  } catch (const ScenarioError& e) {
    fail(where, e.what());
  }
}

void readConversion(const Value& v, const std::string& where, CallScript& script) {
  checkMembers(v, where, {"status", "body", "error"});
  DirectAnswer answer;
  const Value* error = member(v, "error");
  const Value* status = member(v, "status");
  const Value* body = member(v, "body");
  if (error != nullptr) {
    if (status != nullptr || body != nullptr) fail(where, "give either error or status/body");
    answer.ok = false;
    answer.error = readString(*error, where + ".error");
  } else {
    if (status == nullptr) fail(where, "expected {\"status\": N, \"body\": S} or {\"error\": S}");
    answer.status =
        static_cast<std::uint32_t>(readInteger(*status, where + ".status", 0, 4294967295LL));
    if (body != nullptr) answer.body = readString(*body, where + ".body");
  }
  script.conversion = answer;
}

void readPlaceFails(const Value& v, const std::string& where, CallScript& script) {
  if (v.IsString() && std::strcmp(v.GetString(), "all") == 0) {
    script.place_all_fail = true;
    return;
  }
  if (!v.IsArray()) fail(where, "expected \"all\" or a list of 1-based call numbers");
  for (rapidjson::SizeType i = 0; i < v.Size(); ++i) {
    script.place_fail_ordinals.push_back(static_cast<std::int32_t>(
        readInteger(v[i], where + "[" + std::to_string(i) + "]", 1, INT32_MAX)));
  }
}

ScenarioCall readCall(const Value& v, const std::string& where, const std::string& base) {
  checkMembers(v, where,
               {"time", "clock", "alt_clock", "use_alt_clock", "full_recalc", "removal",
                "suspended", "bar_count", "current_bar", "recalc_from_bar", "inputs", "response",
                "conversion", "start_request_fails", "place_drawing_fails", "stale_drawings",
                "find_drawing_sticky", "description"});
  ScenarioCall call;
  const auto at = [&](const char* name) { return where + "." + name; };
  if (const Value* f = member(v, "time")) call.time = readDateTime(*f, at("time"));
  if (const Value* f = member(v, "clock")) call.clock = readDateTime(*f, at("clock"));
  if (const Value* f = member(v, "alt_clock")) call.alt_clock = readDateTime(*f, at("alt_clock"));
  if (const Value* f = member(v, "use_alt_clock")) {
    call.use_alt_clock = readFlag(*f, at("use_alt_clock")) ? 1 : 0;
  }
  if (const Value* f = member(v, "full_recalc")) call.full_recalc = readFlag(*f, at("full_recalc"));
  if (const Value* f = member(v, "removal")) call.removal = readFlag(*f, at("removal"));
  if (const Value* f = member(v, "suspended")) call.suspended = readFlag(*f, at("suspended"));
  if (const Value* f = member(v, "bar_count")) {
    call.bar_count = static_cast<std::int32_t>(readInteger(*f, at("bar_count"), 0, kMaxBarCount));
  }
  if (const Value* f = member(v, "current_bar"))
    call.current_bar = readInt32(*f, at("current_bar"));
  if (const Value* f = member(v, "recalc_from_bar")) {
    call.recalc_from_bar = readInt32(*f, at("recalc_from_bar"));
  }
  if (const Value* f = member(v, "inputs")) call.inputs = parseInputWrites(*f, at("inputs"));
  if (const Value* f = member(v, "response")) readResponse(*f, at("response"), base, call.script);
  if (const Value* f = member(v, "conversion")) readConversion(*f, at("conversion"), call.script);
  if (const Value* f = member(v, "start_request_fails")) {
    call.script.start_request_fails = readFlag(*f, at("start_request_fails"));
  }
  if (const Value* f = member(v, "place_drawing_fails")) {
    readPlaceFails(*f, at("place_drawing_fails"), call.script);
  }
  if (const Value* f = member(v, "stale_drawings")) {
    if (!f->IsArray()) fail(at("stale_drawings"), "expected a list of drawing types");
    for (rapidjson::SizeType i = 0; i < f->Size(); ++i) {
      call.stale_drawings.push_back(
          readInt32((*f)[i], at("stale_drawings") + "[" + std::to_string(i) + "]"));
    }
  }
  if (const Value* f = member(v, "find_drawing_sticky")) {
    call.script.find_drawing_sticky = readFlag(*f, at("find_drawing_sticky"));
  }
  if (const Value* f = member(v, "description")) readString(*f, at("description"));
  return call;
}

ChartSetup readChart(const Value* v) {
  ChartSetup chart;
  chart.bar_start = dateTimeFromCivil(2026, 3, 10, (9 * 3600 + 30 * 60) * kMicrosPerSecond);
  if (v == nullptr) return chart;
  checkMembers(
      *v, "chart",
      {"host_zone", "bar_start", "bar_seconds", "bar_count", "tick", "host_build", "chart_id"});
  if (const Value* f = member(*v, "host_zone")) {
    chart.host_zone = readString(*f, "chart.host_zone");
    ZoneRule rule;
    if (chart.host_zone.empty() || !parseZoneRule(chart.host_zone.c_str(), rule)) {
      fail("chart.host_zone",
           "not a zone string such as \"EST-05EDT+01,M3.2.0/02:00,M11.1.0/02:00\"");
    }
  }
  if (const Value* f = member(*v, "bar_start"))
    chart.bar_start = readDateTime(*f, "chart.bar_start");
  if (const Value* f = member(*v, "bar_seconds")) {
    chart.bar_seconds = readInteger(*f, "chart.bar_seconds", 1, 86400LL * 366);
  }
  if (const Value* f = member(*v, "bar_count")) {
    chart.bar_count =
        static_cast<std::int32_t>(readInteger(*f, "chart.bar_count", 0, kMaxBarCount));
  }
  if (const Value* f = member(*v, "tick")) {
    if (!f->IsNumber()) fail("chart.tick", "expected a number");
    chart.tick = toFloat(f->GetDouble());
  }
  if (const Value* f = member(*v, "host_build"))
    chart.host_build = readInt32(*f, "chart.host_build");
  if (const Value* f = member(*v, "chart_id")) chart.chart_id = readInt32(*f, "chart.chart_id");
  return chart;
}

}  // namespace

std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ScenarioError("cannot read " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw ScenarioError("cannot read " + path);
  return bytes.str();
}

Scenario parseScenario(const std::string& json, const std::string& base_dir) {
  rapidjson::Document doc;
  // Iterative parsing: a deeply nested file must not exhaust the stack.
  doc.Parse<rapidjson::kParseIterativeFlag>(json.c_str(), json.size());
  if (doc.HasParseError()) {
    throw ScenarioError(std::string("not valid JSON: ") +
                        rapidjson::GetParseError_En(doc.GetParseError()) + " (offset " +
                        std::to_string(doc.GetErrorOffset()) + ")");
  }
  checkMembers(doc, "scenario", {"chart", "inputs", "calls", "description"});
  Scenario scenario;
  scenario.chart = readChart(member(doc, "chart"));
  if (const Value* f = member(doc, "inputs")) scenario.inputs = parseInputWrites(*f, "inputs");
  if (const Value* f = member(doc, "description")) readString(*f, "description");
  if (const Value* calls = member(doc, "calls")) {
    if (!calls->IsArray()) fail("calls", "expected a list of calls");
    for (rapidjson::SizeType i = 0; i < calls->Size(); ++i) {
      scenario.calls.push_back(readCall((*calls)[i], "calls[" + std::to_string(i) + "]", base_dir));
    }
  }
  return scenario;
}

Scenario loadScenario(const std::string& path) {
  const std::string json = readFileBytes(path);
  const std::size_t slash = path.find_last_of("/\\");
  return parseScenario(json, slash == std::string::npos ? std::string() : path.substr(0, slash));
}

}  // namespace ostrel::sim
