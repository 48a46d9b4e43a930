// libcurl backend of the transport seam (every platform but Windows).
//
// Time-outs: CURLOPT_CONNECTTIMEOUT_MS bounds name resolution, the TCP connect and the TLS
// handshake together; the low-speed limit (less than 1 byte/s over one phase time-out) ends a
// send, or a wait for the answer or for more body, that makes no progress; CURLOPT_TIMEOUT_MS
// bounds the whole exchange.
#include "service/https_transport.h"

#include <curl/curl.h>

#include <memory>
#include <string>

namespace ostrel {
namespace {

// What the callbacks collect during one transfer.
struct Transfer {
  CURL* curl = nullptr;
  std::string body;
  bool headers_done = false;  // the final (non-1xx) response's header block has ended
};

// The one place that turns a libcurl failure into the error text.
HostString curlError(const char* call, CURLcode code) {
  return formatHostString("%s failed (CURLcode=%d: %s)", call, static_cast<int>(code),
                          curl_easy_strerror(code));
}

size_t collectBody(char* data, size_t size, size_t count, void* user) {
  Transfer& transfer = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  const size_t room = kMaxBodyBytes - transfer.body.size();
  try {
    if (bytes > room) {
      transfer.body.append(data, room);
      return 0;  // ends the transfer with CURLE_WRITE_ERROR
    }
    transfer.body.append(data, bytes);
  } catch (...) {
    return 0;
  }
  return bytes;
}

size_t watchHeaders(char* data, size_t size, size_t count, void* user) {
  Transfer& transfer = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  const bool blank =
      (bytes == 2 && data[0] == '\r' && data[1] == '\n') || (bytes == 1 && data[0] == '\n');
  if (blank) {
    // An interim 1xx answer ends with a blank line too; only the final one counts.
    long status = 0;
    curl_easy_getinfo(transfer.curl, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 200) transfer.headers_done = true;
  }
  return bytes;
}

struct SlistFree {
  void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};
struct EasyCleanup {
  void operator()(CURL* curl) const noexcept { curl_easy_cleanup(curl); }
};
using HeaderList = std::unique_ptr<curl_slist, SlistFree>;

// Splits "Name: value\r\n" lines into a header list; false on allocation failure.
bool appendHeaders(const char* block, HeaderList& list) {
  std::string line;
  for (const char* p = block != nullptr ? block : "";; ++p) {
    const bool end = *p == '\0';
    const bool crlf = !end && p[0] == '\r' && p[1] == '\n';
    if (end || crlf) {
      if (!line.empty()) {
        curl_slist* grown = curl_slist_append(list.get(), line.c_str());
        if (grown == nullptr) return false;
        // curl_slist_append hands back the (possibly same) head: the new owner takes it.
        static_cast<void>(list.release());
        list.reset(grown);
      }
      if (end) return true;
      line.clear();
      ++p;
    } else {
      line.push_back(*p);
    }
  }
}

// Sets every option of the request; the first failure ends the setup.
CURLcode configure(CURL* curl, const std::string& url, const DirectHttpsRequest& request,
                   const TransportOptions& options, curl_slist* headers, Transfer& transfer) {
  CURLcode rc = CURLE_OK;
  auto set = [&](CURLoption option, auto value) {
    if (rc == CURLE_OK) rc = curl_easy_setopt(curl, option, value);
  };
  set(CURLOPT_URL, url.c_str());
#if LIBCURL_VERSION_NUM >= 0x075500
  set(CURLOPT_PROTOCOLS_STR, "https");
#else
  set(CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTPS));
#endif
  set(CURLOPT_HTTPGET, 1L);
  set(CURLOPT_FOLLOWLOCATION, 0L);
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_SSL_VERIFYPEER, 1L);
  set(CURLOPT_SSL_VERIFYHOST, 2L);
  if (options.ca_file != nullptr) set(CURLOPT_CAINFO, options.ca_file);
  set(CURLOPT_USERAGENT, request.user_agent != nullptr ? request.user_agent : "");
  set(CURLOPT_HTTPHEADER, headers);
  set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(kPhaseTimeoutMs));
  set(CURLOPT_LOW_SPEED_LIMIT, 1L);
  set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(kPhaseTimeoutMs / 1000));
  set(CURLOPT_TIMEOUT_MS, static_cast<long>(kTotalTimeoutMs));
  set(CURLOPT_WRITEFUNCTION, &collectBody);
  set(CURLOPT_WRITEDATA, static_cast<void*>(&transfer));
  set(CURLOPT_HEADERFUNCTION, &watchHeaders);
  set(CURLOPT_HEADERDATA, static_cast<void*>(&transfer));
  return rc;
}

std::int32_t fetch(const DirectHttpsRequest& request, const TransportOptions& options,
                   DirectHttpsResult& result) {
  const char* server = options.server != nullptr ? options.server : request.server;
  const std::int32_t port = options.port != 0 ? options.port : request.port;
  std::string url = "https://";
  url += server != nullptr ? server : "";
  url += ':';
  url += std::to_string(port);
  url += request.path != nullptr ? request.path : "/";

  std::unique_ptr<CURL, EasyCleanup> curl(curl_easy_init());
  if (!curl) {
    result.error = curlError("curl_easy_init", CURLE_FAILED_INIT);
    return 0;
  }
  HeaderList headers;
  if (!appendHeaders(request.header_block, headers)) {
    result.error = curlError("curl_slist_append", CURLE_OUT_OF_MEMORY);
    return 0;
  }
  Transfer transfer;
  transfer.curl = curl.get();
  const CURLcode setup = configure(curl.get(), url, request, options, headers.get(), transfer);
  if (setup != CURLE_OK) {
    result.error = curlError("curl_easy_setopt", setup);
    return 0;
  }
  const CURLcode performed = curl_easy_perform(curl.get());
  // A failure after the answer's headers (a read error, the body cap, the total time-out) keeps
  // the status and what was read.
  if (performed != CURLE_OK && !transfer.headers_done) {
    result.error = curlError("curl_easy_perform", performed);
    return 0;
  }
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);
  result.status = status > 0 ? static_cast<std::uint32_t>(status) : 0u;
  result.body.assign(transfer.body.c_str());  // ends at the first NUL byte
  result.ok = 1;
  return 1;
}

}  // namespace

std::int32_t httpsGet(const DirectHttpsRequest& request, const TransportOptions& options,
                      DirectHttpsResult& result) noexcept {
  try {
    return fetch(request, options, result);
  } catch (...) {
    result.ok = 0;
    result.status = 0;
    result.body.clear();
    result.error = curlError("curl_easy_perform", CURLE_OUT_OF_MEMORY);
    return 0;
  }
}

}  // namespace ostrel
