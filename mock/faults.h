// Fault modes of the mock service: one per way the real service or the network can fail.
//
//   slow       answers correctly after a delay (1.5 s by default)
//   silent     accepts the request and says nothing for a long time (30 s by default, cut short
//              when the service stops), longer than any client should wait
//   truncated  the answer's first half only
//   404        status 404 with a plain-text body
//   broken     a body that is not valid JSON (a trailing comma before the closing bracket)
//   badkey     the request's key is treated as invalid, whatever it is
//   500        status 500 with a plain-text body
//
// A fault applies to every request (service option) or to one request (header "X-Mock-Fault" or
// query parameter "mock_fault"; the per-request choice wins).
#pragma once

#include <string>

namespace ostrel::mock {

enum class Fault { kNone, kSlow, kSilent, kTruncated, kNotFound, kBroken, kBadKey, kServerError };

// "none", "slow", "silent", "truncated", "404", "broken", "badkey", "500"; false otherwise.
bool parseFault(const std::string& text, Fault& fault) noexcept;
const char* faultName(Fault fault) noexcept;

// The body and status a fault turns a good answer into (slow, silent and badkey change neither).
void applyBodyFault(Fault fault, int& status, std::string& body, std::string& content_type);

}  // namespace ostrel::mock
