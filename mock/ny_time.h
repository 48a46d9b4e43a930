// New York wall-clock time for the mock: the trading session, its days and the clock option.
//
// Times inside the mock are Unix seconds (UTC). New York follows the US rule since 2007: daylight
// time from the second Sunday of March 02:00 to the first Sunday of November 02:00.
#pragma once

#include <cstdint>
#include <string>

namespace ostrel::mock {

constexpr std::int64_t kSessionOpenSecond = 9 * 3600 + 30 * 60;  // 09:30 New York
constexpr std::int64_t kSessionCloseSecond = 16 * 3600;          // 16:00 New York
constexpr std::int64_t kSessionSeconds = kSessionCloseSecond - kSessionOpenSecond;

// Offset of New York from UTC in seconds (-14400 or -18000) at a UTC instant.
std::int64_t newYorkOffset(std::int64_t unix_seconds) noexcept;

struct NewYorkTime {
  std::int64_t day = 0;     // civil day number (days since 1970-01-01) in New York
  std::int64_t second = 0;  // second of that day, 0..86399
};
NewYorkTime toNewYork(std::int64_t unix_seconds) noexcept;
// The UTC instant of a New York wall-clock time (an hour skipped in spring maps forward).
std::int64_t fromNewYork(std::int64_t day, std::int64_t second) noexcept;

// "YYYY-MM-DD HH:MM:SS" (seconds optional) read as New York wall-clock time, or a plain integer
// read as Unix seconds. False when the text is neither.
bool parseClockText(const std::string& text, std::int64_t& unix_seconds) noexcept;
std::string formatNewYork(std::int64_t unix_seconds);

}  // namespace ostrel::mock
