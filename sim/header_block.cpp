#include "sim/header_block.h"

namespace ostrel::sim {

HeaderList parseHeaderBlock(const char* block) {
  HeaderList headers;
  const std::string text = block != nullptr ? block : "";
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos) {
      std::size_t value = colon + 1;
      while (value < line.size() && line[value] == ' ') ++value;
      headers.emplace_back(line.substr(0, colon), line.substr(value));
    }
    start = end + 2;
  }
  return headers;
}

}  // namespace ostrel::sim
