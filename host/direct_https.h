// The seam for the study's one direct (blocking) HTTPS request.
//
// The futures conversion does not go through the host's request operation: the study makes a
// GET itself. A host, a test or the simulator may stand in for the network by setting
// StudyHost::DirectHttpsGet; when it is null the study uses its built-in client (WinHTTP on
// Windows, libcurl elsewhere). Either way the outcome has the same shape.
#pragma once

#include <cstdint>

#include "host/host_string.h"

namespace ostrel {

struct DirectHttpsRequest {
  const char* server;        // host name, no scheme
  std::int32_t port;         // 443 for the data service
  const char* path;          // path and query, not percent-encoded
  const char* header_block;  // "Name: value\r\n" lines
  const char* user_agent;
};

struct DirectHttpsResult {
  std::int32_t ok = 0;       // nonzero: a response was received, whatever its status
  std::uint32_t status = 0;  // HTTP status; 0 when none was read
  HostString body;           // as received; empty when nothing was read
  HostString error;          // when ok is 0: what failed, with the native error number
};

}  // namespace ostrel
