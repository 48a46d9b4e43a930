#include "service/https_client.h"

#include <cstring>
#include <string>

namespace ostrel {
namespace {

constexpr const char* kHeaderFormat =
    "Authorization: Bearer %s\r\nAccept: application/json\r\nX-ostrel-plugin: v2.2026.03.05\r\n";

const char* orEmpty(const char* text) noexcept { return text != nullptr ? text : ""; }

// Bytes that may stand unencoded in a query value without changing the query's meaning.
bool querySafe(unsigned char c) noexcept {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != '\0' && std::strchr("-._~!$'()*,:@/", c) != nullptr;
}

bool checkQueryValue(const char* what, const char* value, HostString& error) noexcept {
  for (std::size_t i = 0; value[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (!querySafe(c)) {
      error = formatHostString(
          "%s holds a byte that cannot be sent in a URL query (0x%02X at offset %lu); request "
          "not sent",
          what, static_cast<unsigned>(c), static_cast<unsigned long>(i));
      return false;
    }
  }
  return true;
}

// The key goes into a header line as it is (on Windows through a UTF-16 conversion, which
// would turn stray bytes into other characters), so only printable ASCII passes. The error
// names the offset, never a byte of the key.
bool checkApiKey(const char* key, HostString& error) noexcept {
  for (std::size_t i = 0; key[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(key[i]);
    if (c < 0x20 || c > 0x7E) {
      error = formatHostString(
          "API KEY holds a byte outside printable ASCII (at offset %lu); request not sent",
          static_cast<unsigned long>(i));
      return false;
    }
  }
  return true;
}

bool startsWith(const char* text, const char* prefix) noexcept {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

ConversionResult fetch(StudyHost& host, const char* ticker, const char* futures_target,
                       const char* api_key, const TransportOptions& options) noexcept {
  ConversionResult out;
  api_key = orEmpty(api_key);
  HostString path = conversionPath(ticker, futures_target, out.error);
  if (path.empty()) return out;
  if (!checkApiKey(api_key, out.error)) return out;
  const HostString headers = formatHostString(kHeaderFormat, api_key);
  if (headers.empty()) {
    out.error = "out of memory composing the request headers";
    return out;
  }

  const DirectHttpsRequest request{OSTREL_SERVICE_HOST, kServicePort, path.c_str(), headers.c_str(),
                                   kConversionUserAgent};
  DirectHttpsResult result;
  if (host.Ops.DirectHttpsGet != nullptr) {
    host.Ops.DirectHttpsGet(&host, &request, &result);
  } else {
    httpsGet(request, options, result);
  }
  out.ok = result.ok != 0;
  if (out.ok) {
    out.status = result.status;
    out.body.assign(result.body.c_str());
    if (out.body.empty() && !result.body.empty()) {
      out.ok = false;
      out.error = "out of memory reading the answer";
    }
  } else {
    out.error = std::move(result.error);
  }
  return out;
}

}  // namespace

const char* conversionModel(const char* lower_ticker, const char* futures_target) noexcept {
  lower_ticker = orEmpty(lower_ticker);
  futures_target = orEmpty(futures_target);
  const auto is = [&](const char* name) { return std::strcmp(lower_ticker, name) == 0; };
  if ((is("spx") || is("es_spx")) && startsWith(futures_target, "ES")) return "additive";
  if ((is("ndx") || is("nq_ndx")) && startsWith(futures_target, "NQ")) return "additive";
  return "affine";
}

HostString conversionPath(const char* ticker, const char* futures_target,
                          HostString& error) noexcept {
  ticker = orEmpty(ticker);
  futures_target = orEmpty(futures_target);
  if (!checkQueryValue("ticker", ticker, error) ||
      !checkQueryValue("futures target", futures_target, error)) {
    return HostString();
  }
  try {
    std::string lower(ticker);
    for (char& c : lower) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    HostString path =
        formatHostString("/v2/futures/conversion?ticker=%s&future=%s&model=%s", lower.c_str(),
                         futures_target, conversionModel(lower.c_str(), futures_target));
    if (path.empty()) error = "out of memory composing the request path";
    return path;
  } catch (...) {
    error = "out of memory composing the request path";
    return HostString();
  }
}

ConversionResult fetchFuturesConversion(StudyHost& host, const char* ticker,
                                        const char* futures_target, const char* api_key) noexcept {
  return fetch(host, ticker, futures_target, api_key, TransportOptions{});
}

ConversionResult fetchFuturesConversion(StudyHost& host, const char* ticker,
                                        const char* futures_target, const char* api_key,
                                        const TransportOptions& options) noexcept {
  return fetch(host, ticker, futures_target, api_key, options);
}

}  // namespace ostrel
