// The direct HTTPS client of the futures conversion: one blocking GET of
// "/v2/futures/conversion?ticker=..&future=..&model=.." on the data service, port 443.
//
// The ticker is sent lower-cased (ASCII letters only, whatever the locale), the target as given;
// the model is "additive" for spx/es_spx with a target beginning "ES" and for ndx/nq_ndx with a
// target beginning "NQ", "affine" otherwise. A null ticker or target counts as empty.
//
// Both values go into the query unencoded, so a value holding any byte outside letters, digits
// and "-._~!$'()*,:@/" (space, '&', '#', '?', '%', '+', '=', controls, non-ASCII) is refused
// before anything is sent, as is an API key holding any byte outside printable ASCII (a
// control would end the header line; other bytes would change on the way into a header). A refusal,
// like any exchange without a response, gives ok false, status 0 and an error text; the error text
// never holds the API key or the header block.
//
// The request goes to host.Ops.DirectHttpsGet when the host provides one (the simulator and the
// tests stand in for the network there), otherwise to the platform transport.
#pragma once

#include <cstdint>

#include "host/host_string.h"
#include "host/study_host.h"
#include "service/https_transport.h"

namespace ostrel {

struct ConversionResult {
  bool ok = false;           // a response was received, whatever its status
  std::uint32_t status = 0;  // 0 when no status was read
  HostString body;           // empty when nothing was read
  HostString error;          // set when ok is false
};

constexpr const char* kConversionUserAgent = "SierraChart-Ostrel/1.0";
constexpr std::int32_t kServicePort = 443;

// "additive" or "affine" for the lower-cased ticker and the target.
const char* conversionModel(const char* lower_ticker, const char* futures_target) noexcept;

// The request path, or an empty string with `error` set when a value cannot be sent.
HostString conversionPath(const char* ticker, const char* futures_target,
                          HostString& error) noexcept;

ConversionResult fetchFuturesConversion(StudyHost& host, const char* ticker,
                                        const char* futures_target, const char* api_key) noexcept;

// The same request with transport overrides (a loopback server, a test CA); tests only.
ConversionResult fetchFuturesConversion(StudyHost& host, const char* ticker,
                                        const char* futures_target, const char* api_key,
                                        const TransportOptions& options) noexcept;

}  // namespace ostrel
