// UTF-8 repair for the tools' JSON output: service texts are echoed as they arrived, and any
// byte string must still print as valid UTF-8.
//
// Each maximal subpart of an ill-formed sequence becomes one U+FFFD (EF BF BD), the replacement
// that decoders following the Unicode recommendation make: a lead byte with the continuation
// bytes that could still complete it counts as one subpart; a byte that can start nothing
// (80..BF alone, C0, C1, F5..FF) is a subpart of its own. So overlong forms (C0 AF, E0 80 AF),
// surrogates (ED A0 80), code points above U+10FFFF (F4 90 80 80) and truncated sequences
// (E2 82 at the end, or before an ASCII byte) are replaced; well-formed text is unchanged.
// Embedded NUL bytes are well-formed and kept.
#pragma once

#include <cstddef>
#include <string>

namespace ostrel {

// True when [text, text + length) is well-formed UTF-8.
bool isValidUtf8(const char* text, std::size_t length) noexcept;

// `out` receives the repaired text (replacing what it held). At most three bytes per input byte.
void repairUtf8(const char* text, std::size_t length, std::string& out);

std::string repairedUtf8(const std::string& text);

}  // namespace ostrel
