#include "service/futures_conversion.h"

#include <cmath>
#include <cstdint>

#include "host/host_calls.h"
#include "host/numeric.h"
#include "host/out_of_memory.h"
#include "model/json_document.h"
#include "service/https_client.h"
#include "service/log_excerpt.h"
#include "service/market_clock.h"
#include "study/input_ids.h"
#include "study/state_keys.h"

namespace ostrel {
namespace {

constexpr DateTime kMinute = kMicrosPerMinute;
constexpr DateTime kHour = kMicrosPerHour;
constexpr DateTime kPeriodicInterval = 15 * kMinute;

const char* textOrEmpty(const char* text) noexcept { return text != nullptr ? text : ""; }

void log(StudyHost& host, const HostString& text, std::int32_t flag) {
  logFormatted(host, text, flag);
}

// Compares the inputs with the ticker and target of the last decision and stores them when
// either differs. A host without a text store cannot remember them: nothing counts as changed.
bool tickerOrTargetChanged(StudyHost& host, const char* ticker, const char* target) {
  HostString* stored_ticker = host::storedText(host, key::conversion_ticker);
  HostString* stored_target = host::storedText(host, key::conversion_target);
  if (stored_ticker == nullptr || stored_target == nullptr) return false;
  if (*stored_ticker == ticker && *stored_target == target) return false;
  // Texts that could not be stored would read as a change on every call.
  assignText(*stored_ticker, ticker);
  assignText(*stored_target, target);
  return true;
}

// The daily 09:30 and 09:32 New York triggers, re-armed before 09:00.
bool dailyTriggerFires(StudyHost& host) {
  const CalendarPosition now =
      calendarPosition(host::hostTimeToZone(host, marketClock(host), kNewYorkZone));
  const DateTime tod = now.time_of_day;
  const std::int32_t weekday = now.weekday;
  if (tod < 9 * kHour) {
    host::setStoredInt(host, key::conversion_0930_done, 0);
    host::setStoredInt(host, key::conversion_0932_done, 0);
    return false;
  }
  if (tod < 9 * kHour + 30 * kMinute || weekday < 1 || weekday > 5) return false;
  if (tod < 9 * kHour + 31 * kMinute && host::storedInt(host, key::conversion_0930_done) == 0) {
    host::setStoredInt(host, key::conversion_0930_done, 1);
    return true;
  }
  if (tod >= 9 * kHour + 32 * kMinute && tod < 9 * kHour + 33 * kMinute &&
      host::storedInt(host, key::conversion_0932_done) == 0) {
    host::setStoredInt(host, key::conversion_0932_done, 1);
    return true;
  }
  return false;
}

// Fifteen minutes since the last request. A last request later than now means the chart's
// clock went back (zone change, fall-back switch, correction): due at once rather than after
// the clock has caught up again.
bool periodElapsed(DateTime now, DateTime last) {
  if (last == 0) return false;
  if (now < last) return true;
  return static_cast<std::uint64_t>(now) - static_cast<std::uint64_t>(last) >=
         static_cast<std::uint64_t>(kPeriodicInterval);
}

// A number member as a float, or `fallback` when absent or not a number.
float numberOr(const json::Value& root, const char* name, float fallback) {
  const json::Value* member = json::findMember(&root, name);
  if (member == nullptr || !member->IsNumber()) return fallback;
  return toFloat(json::readNumber(member));
}

// The answer parser; texts from the answer are logged without `api_key`.
void parseAnswer(StudyHost& host, const char* body, const char* futures_target,
                 const char* api_key) {
  json::JsonDocument document;
  if (!document.parse(body) || !document.root().IsObject()) {
    host::logMessage(host, "Ostrel Futures Conversion: JSON parse error. Will retry later.", 0);
    return;
  }
  const json::Value& root = document.root();
  if (const char* error = json::readString(json::findMember(&root, "error"))) {
    log(host,
        formatHostString("Ostrel Futures Conversion API Error: \"%s\".",
                         logExcerpt(error, api_key).c_str()),
        1);
    return;
  }
  float multiplier = numberOr(root, "multiplier", 1.0f);
  const float additive = numberOr(root, "additive", 0.0f);
  if (multiplier == 0.0f) multiplier = 1.0f;
  // A value beyond the float range would turn every converted price into an infinity.
  if (!std::isfinite(multiplier) || !std::isfinite(additive)) {
    host::logMessage(host, "Ostrel Futures Conversion: JSON parse error. Will retry later.", 0);
    return;
  }
  if (host.Inputs != nullptr && host.InputCount > in::kMultiplicativePremium) {
    host::input(host, in::kMultiplicativePremium).setFloat(multiplier);
    host::input(host, in::kAdditivePremium).setFloat(additive);
  }
  const char* name = json::readString(json::findMember(&root, "future_contract"));
  if (name == nullptr) name = textOrEmpty(futures_target);
  log(host,
      formatHostString("Ostrel Futures Conversion: -> %s  x%.4f  %+.2f",
                       logExcerpt(name, api_key).c_str(), static_cast<double>(multiplier),
                       static_cast<double>(additive)),
      0);
}

}  // namespace

void updateFuturesConversion(StudyHost& host, const char* ticker, const char* futures_target,
                             const char* api_key) {
  // Without a time store every call would look like the first and block on a request.
  if (host.Ops.StoredTime == nullptr) return;
  ticker = textOrEmpty(ticker);
  futures_target = textOrEmpty(futures_target);
  api_key = textOrEmpty(api_key);

  const DateTime last = host::storedTime(host, key::last_conversion_request);
  bool changed = last == 0;
  if (tickerOrTargetChanged(host, ticker, futures_target)) changed = true;
  const bool daily = dailyTriggerFires(host);
  if (!daily && !periodElapsed(host.CurrentTime, last) && !changed) return;

  host::setStoredTime(host, key::last_conversion_request, host.CurrentTime);
  log(host,
      formatHostString("Ostrel Futures Conversion: sending request (ticker=%s -> future=%s)...",
                       ticker, futures_target),
      0);
  const ConversionResult result = fetchFuturesConversion(host, ticker, futures_target, api_key);
  if (!result.ok) {
    log(host,
        formatHostString("Ostrel Futures Conversion: request failed: %s",
                         logExcerpt(result.error.c_str(), api_key).c_str()),
        1);
  } else if (result.status != 200) {
    log(host,
        formatHostString("Ostrel Futures Conversion: HTTP %d: %s", static_cast<int>(result.status),
                         logExcerpt(result.body.c_str(), api_key).c_str()),
        1);
  } else {
    log(host,
        formatHostString("Ostrel Futures Conversion: raw response: %s",
                         logExcerpt(result.body.c_str(), api_key).c_str()),
        0);
    parseAnswer(host, result.body.c_str(), futures_target, api_key);
  }
}

void parseFuturesConversion(StudyHost& host, const char* body, const char* futures_target) {
  parseAnswer(host, body, futures_target, "");
}

}  // namespace ostrel
