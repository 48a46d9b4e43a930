#include "service/utf8_to_utf16.h"

#if defined(_WIN32)

#include <windows.h>

namespace ostrel {

std::wstring utf8ToUtf16(const char* text) {
  if (text == nullptr || text[0] == '\0') return std::wstring();
  // Length -1: the count includes the terminator.
  const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (units < 1) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  const int written = MultiByteToWideChar(CP_UTF8, 0, text, -1, &wide[0], units);
  if (written < 1) return std::wstring();
  wide.resize(static_cast<std::size_t>(written) - 1);
  return wide;
}

}  // namespace ostrel

#endif
