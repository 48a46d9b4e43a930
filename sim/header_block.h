// The headers of a direct request as the study hands them over: "Name: value\r\n" lines. Both
// stand-ins for the network (the demo's and the soak's) forward them to the mock service.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace ostrel::sim {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// Each line with a colon becomes (name, value), spaces after the colon dropped; lines without a
// colon are skipped. A null block gives no headers.
HeaderList parseHeaderBlock(const char* block);

}  // namespace ostrel::sim
