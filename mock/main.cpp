// ostrel-mock-service: the local Ostrel data service for development, tests and the demo.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "mock/mock_service.h"
#include "mock/ny_time.h"

namespace {

const char kUsage[] =
    "usage: ostrel-mock-service [options]\n"
    "  --host ADDR        address to listen on (default 127.0.0.1)\n"
    "  --port N           port (default 0: any free port, printed on start)\n"
    "  --seed N           market seed (default 1)\n"
    "  --start TIME       clock start: \"YYYY-MM-DD HH:MM:SS\" New York time or Unix seconds\n"
    "                     (default: now)\n"
    "  --speed X          clock acceleration (default 1; 0 freezes the clock)\n"
    "  --api-key KEY      accepted key, repeatable (default demo-key)\n"
    "  --fault MODE       slow|silent|truncated|404|broken|badkey|500 for every request\n"
    "  --slow-ms N        delay of the slow fault (default 1500)\n"
    "  --silent-ms N      how long the silent fault holds a request (default 30000)\n"
    "  --record-dir DIR   serve recorded answers from DIR/<path>[.json] when present\n"
    "  --cert FILE --key FILE   serve HTTPS with this certificate and private key\n"
    "  --verbose          one line per request on stderr\n"
    "Per request: headers X-Mock-Time and X-Mock-Fault (or query mock_time, mock_fault).\n";

bool readInt(const char* text, long long& out) {
  char* end = nullptr;
  out = std::strtoll(text, &end, 10);
  return end != text && *end == '\0';
}

int fail(const std::string& message) {
  std::fprintf(stderr, "ostrel-mock-service: %s\n%s", message.c_str(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ostrel::mock;
  ServiceConfig config;
  bool keys_given = false;
  for (int i = 1; i < argc; ++i) {
    const std::string opt = argv[i];
    if (opt == "--help" || opt == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (opt == "--verbose") {
      config.verbose = true;
      continue;
    }
    if (i + 1 >= argc) return fail("missing value after " + opt);
    const char* value = argv[++i];
    long long n = 0;
    if (opt == "--host") {
      config.host = value;
    } else if (opt == "--port" && readInt(value, n) && n >= 0 && n <= 65535) {
      config.port = static_cast<int>(n);
    } else if (opt == "--seed" && readInt(value, n)) {
      config.seed = static_cast<std::uint64_t>(n);
    } else if (opt == "--start") {
      std::int64_t t = 0;
      if (!parseClockText(value, t)) return fail(std::string("bad time: ") + value);
      config.start_time = t;
    } else if (opt == "--speed") {
      config.speed = std::atof(value);
    } else if (opt == "--api-key") {
      if (!keys_given) config.api_keys.clear();
      keys_given = true;
      config.api_keys.push_back(value);
    } else if (opt == "--fault") {
      if (!parseFault(value, config.fault)) return fail(std::string("unknown fault: ") + value);
    } else if (opt == "--slow-ms" && readInt(value, n) && n >= 0) {
      config.slow_ms = static_cast<int>(n);
    } else if (opt == "--silent-ms" && readInt(value, n) && n >= 0) {
      config.silent_ms = static_cast<int>(n);
    } else if (opt == "--record-dir") {
      config.record_dir = value;
    } else if (opt == "--cert") {
      config.cert_file = value;
    } else if (opt == "--key") {
      config.key_file = value;
    } else {
      return fail("bad option or value: " + opt + " " + value);
    }
  }

  // Block the stop signals before any thread starts, then wait for one here.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  MockService service(config);
  std::string error;
  if (!service.start(error)) {
    std::fprintf(stderr, "ostrel-mock-service: %s\n", error.c_str());
    return 1;
  }
  std::printf("ostrel-mock-service listening on %s (seed %llu, clock %s, speed %g)\n",
              service.baseUrl().c_str(), static_cast<unsigned long long>(config.seed),
              formatNewYork(service.state().clock.now()).c_str(), config.speed);
  std::fflush(stdout);
  int received = 0;
  sigwait(&signals, &received);
  service.stop();
  service.wait();
  std::printf("ostrel-mock-service: stopped after %ld requests\n", service.state().requests.load());
  return 0;
}
