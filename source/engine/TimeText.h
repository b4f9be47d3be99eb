// Time texts of profiles: durations and start times as "h:mm:ss.zzz" and milliseconds. Both the
// application and the profile editors use them, so they live below both.
#pragma once
#include <cstdint>
#include <string>

// The longest duration or start time a profile accepts: 200 hours.
constexpr int64_t MaxProfileTimeMilliseconds = 720000000;

// All sums are formed in 64 bits.
int64_t HMSToMilliseconds(int32_t hours, int32_t minutes, double seconds);  // seconds rounded half to even
int64_t HMSZToMilliseconds(int32_t hours, int32_t minutes, int32_t seconds, int32_t milliseconds);
void SplitMilliseconds(int64_t value, int32_t& hours, int32_t& minutes, int32_t& seconds, int32_t& milliseconds);
// "0:00:00.000" for 0; hours with as many digits as needed.
std::string MillisecondsToTimeText(int64_t value);
// Accepts h:m:s.z, m:s.z, s.z, s, m:s and h:m:s (digits only, parts unchecked, the part after "." a count
// of milliseconds). -1 for any other text. A part too long for 32 bits counts as the largest 32-bit
// value, so that such a text lies far beyond MaxProfileTimeMilliseconds instead of wrapping.
int64_t TimeTextToMilliseconds(const std::string& text);

// Pieces of TimeTextToMilliseconds, exposed for its tests.
bool IsTimeChars(const std::string& text);
bool IsDigitsAndDots(const std::string& text);
bool IsDigitsOnly(const std::string& text);
bool IsDigitsAndColons(const std::string& text);
bool IsDotAfterLastColon(const std::string& text);
int32_t CountOccurrences(const std::string& text, const std::string& sub);
int64_t ParseHMSZ(const std::string& text);
int64_t ParseMSZ(const std::string& text);
int64_t ParseSZ(const std::string& text);
int64_t ParseS(const std::string& text);
int64_t ParseMS(const std::string& text);
int64_t ParseHMS(const std::string& text);

