// The transport seam under the direct HTTPS client: one blocking GET over TLS, implemented once
// per platform (https_transport_winhttp.cpp on Windows, https_transport_curl.cpp elsewhere).
//
// Contract shared by both backends:
// - TLS is always verified against the system's trust store (plus `ca_file` where supported);
//   redirects are not followed; the header block is sent as given, "Name: value\r\n" lines.
// - Each network phase (name resolution, connect, send, waiting for the answer, each read) is
//   bounded by kPhaseTimeoutMs; the whole exchange by kTotalTimeoutMs (the four phases back to
//   back), so a server that trickles bytes cannot hold the caller's thread indefinitely.
// - No response (connection, TLS, send or wait failure): ok 0, status 0, error names the failing
//   call and the native error ("... failed (GetLastError=%lu)", "curl_easy_perform failed
//   (CURLcode=%d: %s)"). The error text never contains the request's headers.
// - A response whose body read fails part-way, runs past kMaxBodyBytes or past the total
//   time-out: ok 1, the status as received, body what was read so far.
// - The body is cut at its first NUL byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/direct_https.h"

namespace ostrel {

constexpr std::int32_t kPhaseTimeoutMs = 5000;
constexpr std::int32_t kTotalTimeoutMs = 4 * kPhaseTimeoutMs;
constexpr std::size_t kMaxBodyBytes = 4u * 1024u * 1024u;

// Overrides for tests that talk to a loopback server. The study never sets them.
struct TransportOptions {
  const char* server = nullptr;   // replaces the request's server when set
  std::int32_t port = 0;          // replaces the request's port when nonzero
  const char* ca_file = nullptr;  // PEM bundle trusted instead of the system store (libcurl only)
};

// Fills `result` (which must be fresh) and returns its ok value. Never throws.
std::int32_t httpsGet(const DirectHttpsRequest& request, const TransportOptions& options,
                      DirectHttpsResult& result) noexcept;

}  // namespace ostrel
