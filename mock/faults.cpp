#include "mock/faults.h"

namespace ostrel::mock {

namespace {
struct FaultName {
  const char* name;
  Fault fault;
};
const FaultName kFaults[] = {
    {"none", Fault::kNone},           {"slow", Fault::kSlow},       {"silent", Fault::kSilent},
    {"truncated", Fault::kTruncated}, {"404", Fault::kNotFound},    {"broken", Fault::kBroken},
    {"badkey", Fault::kBadKey},       {"500", Fault::kServerError},
};
}  // namespace

bool parseFault(const std::string& text, Fault& fault) noexcept {
  for (const FaultName& f : kFaults) {
    if (text == f.name) {
      fault = f.fault;
      return true;
    }
  }
  return false;
}

const char* faultName(Fault fault) noexcept {
  for (const FaultName& f : kFaults) {
    if (f.fault == fault) return f.name;
  }
  return "none";
}

void applyBodyFault(Fault fault, int& status, std::string& body, std::string& content_type) {
  switch (fault) {
    case Fault::kTruncated: body.resize(body.size() / 2); break;
    case Fault::kNotFound:
      status = 404;
      body = "404 Not Found";
      content_type = "text/plain";
      break;
    case Fault::kBroken:
      if (!body.empty() && (body.back() == '}' || body.back() == ']')) {
        const char close = body.back();
        body.pop_back();
        body += ", ";
        body += close;
      } else {
        body += "}";
      }
      break;
    case Fault::kServerError:
      status = 500;
      body = "500 Internal Server Error";
      content_type = "text/plain";
      break;
    default: break;
  }
}

}  // namespace ostrel::mock
