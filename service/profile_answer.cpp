#include "service/profile_answer.h"

#include <cstring>

#include "host/host_calls.h"
#include "host/out_of_memory.h"
#include "model/json_document.h"
#include "service/profile_records.h"
#include "study/state_keys.h"

namespace ostrel {

namespace {

constexpr const char* kRequestError = "HTTP_REQUEST_ERROR";
constexpr const char* kEmptyResponse = "EMPTY_RESPONSE";

}  // namespace

bool isUnknownTickerAnswer(const char* text, HostString& error) {
  if (text == nullptr || *text == '\0') return false;
  json::JsonDocument doc;
  if (!doc.parse(text) || !doc.root().IsObject()) return false;
  const char* message = json::readString(json::findMember(&doc.root(), "error"));
  if (message == nullptr || std::strstr(message, "Unknown ticker symbol") == nullptr) {
    return false;
  }
  assignText(error, message);
  return true;
}

bool handleProfileAnswer(StudyHost& host) {
  host::setStoredInt(host, key::profile_state, Done);
  const char* text = host.ResponseText;
  if (text == nullptr || *text == '\0') return false;

  const bool request_error = std::strcmp(text, kRequestError) == 0;
  const bool empty_response = std::strcmp(text, kEmptyResponse) == 0;
  if (request_error || empty_response) {
    host::logMessage(host, "There was an error requesting data from the server.", 1);
    clearProfileRecords(host);
    if (empty_response && host.RecalcFromBar == 0) {
      host::logMessage(host, "There are no Ostrel levels for the given parameters.", 0);
    }
    return false;
  }

  HostString error;
  if (!isUnknownTickerAnswer(text, error)) return false;
  // The service's text goes in only as an argument, never as the format.
  const HostString message =
      formatHostString("Ostrel API Error: %s. Halting requests.", error.c_str());
  logFormatted(host, message, 1);
  host::setStoredInt(host, key::requests_halted, 1);
  return true;
}

}  // namespace ostrel
