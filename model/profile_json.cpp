#include "model/profile_json.h"

#include "host/host_calls.h"
#include "host/host_string.h"
#include "host/numeric.h"
#include "host/out_of_memory.h"

namespace ostrel {

bool acceptProfileAnswer(StudyHost& host, const char* const* response_text,
                         const char* parse_error_text, json::JsonDocument& document,
                         ParseOutcome& outcome, std::int32_t& timestamp) {
  const char* text = response_text != nullptr ? *response_text : nullptr;
  if (!document.parse(text)) {
    host::logMessage(host, parse_error_text, 0);
    outcome = ParseOutcome::retry;
    return false;
  }
  const json::Value& root = document.root();
  if (!json::isNonEmptyObject(&root)) {
    outcome = ParseOutcome::retry;
    return false;
  }

  const json::Value* message = json::findMember(&root, "message");
  if (json::stringEquals(message, "ERROR: Invalid API Key.")) {
    const HostString line =
        formatHostString("Ostrel API Error: %s Halting requests.", json::readString(message));
    logFormatted(host, line, 1);
    outcome = ParseOutcome::halt;
    return false;
  }

  if (const char* error = json::readString(json::findMember(&root, "error"))) {
    const HostString line = formatHostString("Ostrel API Error: \"%s\". Retrying.", error);
    logFormatted(host, line, 1);
    outcome = ParseOutcome::retry;
    return false;
  }

  const json::Value* stamp = json::findMember(&root, "timestamp");
  if (stamp == nullptr || !stamp->IsInt()) {
    outcome = ParseOutcome::retry;
    return false;
  }
  timestamp = stamp->GetInt();
  return true;
}

float memberFloat(const json::Value& object, const char* name) noexcept {
  return toFloat(json::readNumber(json::findMember(&object, name)));
}

}  // namespace ostrel
