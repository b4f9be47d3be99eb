#include "TimeText.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

#include "Strings.h"


int64_t HMSToMilliseconds(int32_t hours, int32_t minutes, double seconds)
{
    return int64_t(hours) * 3600000 + int64_t(minutes) * 60000 + RoundHalfEven(seconds * 1000);
}

int64_t HMSZToMilliseconds(int32_t hours, int32_t minutes, int32_t seconds, int32_t milliseconds)
{
    return int64_t(hours) * 3600000 + int64_t(minutes) * 60000 + int64_t(seconds) * 1000 + milliseconds;
}

void SplitMilliseconds(int64_t value, int32_t& hours, int32_t& minutes, int32_t& seconds, int32_t& milliseconds)
{
    hours = int32_t(value / 1000 / 3600);
    minutes = int32_t(value / 1000 % 3600 / 60);
    seconds = int32_t(value / 1000 % 60);
    milliseconds = int32_t(value % 1000);
}

namespace {

// At least `digits` digits, a minus sign in front of the padding (as "%.2d" does).
std::string PaddedNumber(int64_t value, int digits)
{
    std::string text = IntToStr(value < 0 ? -value : value);
    if (int(text.size()) < digits) text.insert(0, size_t(digits) - text.size(), '0');
    return value < 0 ? "-" + text : text;
}

// One part of a time text: digits or nothing. Empty counts as 0; a part too long for 32 bits as the
// largest 32-bit value (the sum then lies far beyond any accepted time instead of wrapping).
int32_t TimePart(const std::string& part)
{
    if (part.empty()) return 0;
    int32_t value;
    if (TryStrToInt(part, value)) return value;
    return IsDigitsOnly(part) ? std::numeric_limits<int32_t>::max() : 0;
}

// The parts of "a:b:c" (or fewer), each converted; missing parts are 0.
void ColonParts(const std::string& text, int32_t* parts, int count)
{
    const std::vector<std::string> pieces = SplitText(text, ':');
    for (int i = 0; i < count; ++i) parts[i] = size_t(i) < pieces.size() ? TimePart(pieces[size_t(i)]) : 0;
}

// Splits "before.after" at its one dot.
void DotParts(const std::string& text, std::string& before, std::string& after)
{
    const std::vector<std::string> pieces = SplitText(text, '.');
    before = pieces[0];
    after = pieces.size() > 1 ? pieces[1] : std::string();
}

bool OnlyChars(const std::string& text, const char* allowed)
{
    if (text.empty()) return false;
    for (char c : text)
        if (!(c >= '0' && c <= '9') && !std::strchr(allowed, c)) return false;
    return true;
}

}  // namespace

std::string MillisecondsToTimeText(int64_t value)
{
    // Hours are taken in 64 bits here so that a very long value never prints wrapped hours.
    const int64_t hours = value / 1000 / 3600;
    int32_t hours32, minutes, seconds, milliseconds;
    SplitMilliseconds(value, hours32, minutes, seconds, milliseconds);
    static_cast<void>(hours32);
    return PaddedNumber(hours, 1) + ":" + PaddedNumber(minutes, 2) + ":" + PaddedNumber(seconds, 2) + "." +
           PaddedNumber(milliseconds, 3);
}

bool IsTimeChars(const std::string& text) { return OnlyChars(text, ":."); }
bool IsDigitsAndDots(const std::string& text) { return OnlyChars(text, "."); }
bool IsDigitsOnly(const std::string& text) { return OnlyChars(text, ""); }
bool IsDigitsAndColons(const std::string& text) { return OnlyChars(text, ":"); }

bool IsDotAfterLastColon(const std::string& text)
{
    // Positions counted from 1, 0 for "none".
    const size_t colon = text.rfind(':');
    const size_t dot = text.find('.');
    const size_t colonPos = colon == std::string::npos ? 0 : colon + 1;
    const size_t dotPos = dot == std::string::npos ? 0 : dot + 1;
    return colonPos < dotPos;
}

int32_t CountOccurrences(const std::string& text, const std::string& sub)
{
    if (sub.empty()) return 0;
    int32_t count = 0;
    for (size_t at = text.find(sub); at != std::string::npos; at = text.find(sub, at + sub.size())) ++count;
    return count;
}

int64_t ParseHMSZ(const std::string& text)
{
    std::string hms, z;
    DotParts(text, hms, z);
    int32_t p[3];
    ColonParts(hms, p, 3);
    return HMSZToMilliseconds(p[0], p[1], p[2], TimePart(z));
}

int64_t ParseMSZ(const std::string& text)
{
    std::string ms, z;
    DotParts(text, ms, z);
    int32_t p[2];
    ColonParts(ms, p, 2);
    return HMSZToMilliseconds(0, p[0], p[1], TimePart(z));
}

int64_t ParseSZ(const std::string& text)
{
    std::string s, z;
    DotParts(text, s, z);
    return HMSZToMilliseconds(0, 0, TimePart(s), TimePart(z));
}

int64_t ParseS(const std::string& text) { return HMSZToMilliseconds(0, 0, TimePart(text), 0); }

int64_t ParseMS(const std::string& text)
{
    int32_t p[2];
    ColonParts(text, p, 2);
    return HMSZToMilliseconds(0, p[0], p[1], 0);
}

int64_t ParseHMS(const std::string& text)
{
    int32_t p[3];
    ColonParts(text, p, 3);
    return HMSZToMilliseconds(p[0], p[1], p[2], 0);
}

int64_t TimeTextToMilliseconds(const std::string& text)
{
    const int32_t colons = CountOccurrences(text, ":");
    const int32_t dots = CountOccurrences(text, ".");
    if (IsTimeChars(text) && colons == 2 && dots == 1 && IsDotAfterLastColon(text)) return ParseHMSZ(text);
    if (IsTimeChars(text) && colons == 1 && dots == 1 && IsDotAfterLastColon(text)) return ParseMSZ(text);
    if (IsDigitsAndDots(text) && dots == 1) return ParseSZ(text);
    if (IsDigitsOnly(text)) return ParseS(text);
    if (IsDigitsAndColons(text) && colons == 1) return ParseMS(text);
    if (IsDigitsAndColons(text) && colons == 2) return ParseHMS(text);
    return -1;
}

