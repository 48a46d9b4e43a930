// UTF-8 to UTF-16 for the wide-character arguments of Windows calls (Windows only).
//
// Empty or null text gives an empty string without calling the converter. Invalid UTF-8 is
// converted the way MultiByteToWideChar does it (replacement characters); a text it refuses
// gives an empty string. The terminator is not part of the result.
#pragma once

#if defined(_WIN32)

#include <string>

namespace ostrel {

std::wstring utf8ToUtf16(const char* text);

}  // namespace ostrel

#endif
