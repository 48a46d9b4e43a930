#include "service/log_excerpt.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

#include "host/out_of_memory.h"

namespace ostrel {
namespace {

constexpr std::size_t kMinSecretKeyBytes = 4;

std::string withoutKey(std::string_view text, std::string_view key) {
  std::string clean;
  if (key.size() < kMinSecretKeyBytes) return clean.assign(text);
  for (std::size_t from = 0;;) {
    const std::size_t found = text.find(key, from);
    if (found == std::string_view::npos) return clean.append(text.substr(from));
    clean.append(text.substr(from, found - from)).append("***");
    from = found + key.size();
  }
}

bool continuationByte(char c) noexcept { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

HostString logExcerpt(const char* text, const char* api_key) {
  text = text != nullptr ? text : "";
  api_key = api_key != nullptr ? api_key : "";
  const std::size_t length = std::strlen(text);
  const std::size_t key_length = std::strlen(api_key);
  // A key that begins inside the excerpt ends within this head, so it is replaced whole; the
  // head also holds the continuation bytes of a UTF-8 sequence that the cut would split.
  const std::string_view head(text, std::min(length, kLogExcerptBytes + key_length + 3));
  std::string clean = withoutKey(head, std::string_view(api_key, key_length));
  if (length > kLogExcerptBytes) {
    std::size_t cut = std::min(clean.size(), kLogExcerptBytes);
    // At most three continuation bytes follow a lead byte; stray ones are not worth chasing.
    for (int i = 0; i < 3 && cut > 0 && cut < clean.size() && continuationByte(clean[cut]); ++i) {
      --cut;
    }
    clean.resize(cut);
    const HostString suffix =
        formatHostString("... (%llu bytes)", static_cast<unsigned long long>(length));
    requireText(suffix);
    clean.append(suffix.c_str(), suffix.size());
  }
  HostString excerpt(clean.c_str(), clean.size());
  if (excerpt.size() != clean.size()) throw std::bad_alloc();
  return excerpt;
}

}  // namespace ostrel
