// The transport seam under the direct HTTPS client: one blocking GET over TLS, implemented once
// per platform (https_transport_winhttp.cpp on Windows, https_transport_curl.cpp elsewhere).
//
// Contract shared by both backends:
// - TLS is always verified against the system's trust store (plus `ca_file` where supported),
//   TLS 1.2 or later; redirects are not followed; the header block is sent as given, "Name:
//   value\r\n" lines.
// - Time: each network phase (name resolution, connect, TLS handshake, send, waiting for the
//   answer, each body read) is bounded by kPhaseTimeoutMs, and by what remains of
//   kTotalTimeoutMs for the whole exchange (TimeBudget), so no phase, however late it starts,
//   holds the caller's thread past the total; a server that trickles bytes cannot either.
// - No response (connection, TLS, send or wait failure, the total spent before the answer): ok
//   0, status 0, error names the phase that failed and the native error ("... failed
//   (GetLastError=%lu)", "curl_easy_perform failed while connecting (CURLcode=%d: %s)"). A
//   failure of the backend itself (an allocation, say) is reported the same way, with the phase
//   in which it happened. The error text never contains the request's headers.
// - A response whose body read fails part-way, runs past kMaxBodyBytes or past the total
//   time-out, or meets an allocation failure: ok 1, the status as received, body what was read
//   so far.
// - The body is cut at its first NUL byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/direct_https.h"
#include "service/time_budget.h"

namespace ostrel {

constexpr std::int32_t kPhaseTimeoutMs = 5000;
constexpr std::int32_t kTotalTimeoutMs = 4 * kPhaseTimeoutMs;
constexpr std::size_t kMaxBodyBytes = 4u * 1024u * 1024u;

// Overrides for tests that talk to a loopback server. The study never sets them.
struct TransportOptions {
  const char* server = nullptr;   // replaces the request's server when set
  std::int32_t port = 0;          // replaces the request's port when nonzero
  const char* ca_file = nullptr;  // PEM bundle trusted instead of the system store (libcurl only)
  // Shorter bounds, so that tests of stalling servers run in seconds; 0 keeps the defaults.
  std::int32_t phase_timeout_ms = 0;
  std::int32_t total_timeout_ms = 0;
};

// The budget of one exchange under `options`.
inline TimeBudget exchangeBudget(const TransportOptions& options) noexcept {
  return TimeBudget(options.phase_timeout_ms > 0 ? options.phase_timeout_ms : kPhaseTimeoutMs,
                    options.total_timeout_ms > 0 ? options.total_timeout_ms : kTotalTimeoutMs);
}

// Fills `result` (which must be fresh) and returns its ok value. Never throws.
std::int32_t httpsGet(const DirectHttpsRequest& request, const TransportOptions& options,
                      DirectHttpsResult& result) noexcept;

}  // namespace ostrel
