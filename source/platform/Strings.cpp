#include "Strings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "Errors.h"

namespace {

char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string TrimLeft(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && IsBlankOrControl(s[i])) ++i;
    return s.substr(i);
}

std::string TrimRight(const std::string& s)
{
    size_t n = s.size();
    while (n > 0 && IsBlankOrControl(s[n - 1])) --n;
    return s.substr(0, n);
}

std::string Trim(const std::string& s) { return TrimLeft(TrimRight(s)); }

std::string UpperCase(const std::string& s)
{
    std::string r(s);
    for (char& c : r) c = UpperChar(c);
    return r;
}

std::string LowerCase(const std::string& s)
{
    std::string r(s);
    for (char& c : r) c = LowerChar(c);
    return r;
}

int CompareText(const std::string& a, const std::string& b)
{
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = LowerChar(a[i]), y = LowerChar(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameText(const std::string& a, const std::string& b) { return CompareText(a, b) == 0; }

bool StartsText(const std::string& prefix, const std::string& s)
{
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to)
{
    if (from.empty()) return s;
    std::string r;
    size_t pos = 0;
    for (;;) {
        const size_t hit = s.find(from, pos);
        if (hit == std::string::npos) break;
        r.append(s, pos, hit - pos).append(to);
        pos = hit + from.size();
    }
    return r.append(s, pos, std::string::npos);
}

size_t FindText(const std::string& s, const std::string& needle, size_t from)
{
    return LowerCase(s).find(LowerCase(needle), from);
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

bool TryStrToInt64(const std::string& s, int64_t& value)
{
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    } else if (i < s.size() && (s[i] == 'x' || s[i] == 'X')) {
        base = 16;
        ++i;
    }
    if (i == s.size()) return false;
    uint64_t magnitude = 0;
    const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        if (magnitude > (limit - digit) / base) return false;
        magnitude = magnitude * base + digit;
    }
    value = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    return true;
}

bool TryStrToInt(const std::string& s, int32_t& value)
{
    int64_t wide;
    if (!TryStrToInt64(s, wide)) return false;
    // Hex texts name a 32-bit pattern ("$FFFFFFFF" is -1); decimal texts must fit.
    const bool hex = s.find_first_of("$xX") != std::string::npos;
    if (hex && wide >= 0 && wide <= 0xFFFFFFFFLL) {
        value = int32_t(uint32_t(wide));
        return true;
    }
    if (wide < std::numeric_limits<int32_t>::min() || wide > std::numeric_limits<int32_t>::max()) return false;
    value = int32_t(wide);
    return true;
}

int32_t StrToIntDef(const std::string& s, int32_t def)
{
    int32_t v;
    return TryStrToInt(s, v) ? v : def;
}

int64_t StrToInt64Def(const std::string& s, int64_t def)
{
    int64_t v;
    return TryStrToInt64(s, v) ? v : def;
}

std::string FloatToStr(double value)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buf[64];
    for (int digits = 1; digits <= 15; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, value);
        if (std::strtod(buf, nullptr) == value) break;
    }
    std::string r(buf);
    // snprintf honours the C locale, which the program never changes; make sure of ".".
    for (char& c : r)
        if (c == ',') c = '.';
    return r;
}

std::string FormatFixed(double value, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string r(buf);
    for (char& c : r)
        if (c == ',') c = '.';
    return r;
}

bool IsPlainDecimalText(const std::string& t)
{
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digits = 0, dots = 0;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9') ++digits;
        else if (t[i] == '.' && dots == 0) ++dots;
        else break;
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        size_t expDigits = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == t.size();
}

bool TryStrToFloat(const std::string& s, double& value)
{
    const std::string t = Trim(s);
    if (!IsPlainDecimalText(t)) return false;
    errno = 0;
    const double v = std::strtod(t.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(v)) return false;
    value = v;
    return true;
}

double StrToFloatDef(const std::string& s, double def)
{
    double v;
    return TryStrToFloat(s, v) ? v : def;
}

int64_t RoundHalfEven(double value) { return int64_t(std::nearbyint(value)); }

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::vector<std::string> SplitText(const std::string& text, char delimiter)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t at = text.find(delimiter); at != std::string::npos; at = text.find(delimiter, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

bool PatternPlaceholders(const std::string& pattern, std::string& kinds)
{
    std::string found;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') continue;
        const char kind = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        if (kind == 's' || kind == 'd') {
            found += kind;
        } else if (kind != '%') {
            return false;
        }
        ++i;
    }
    kinds = found;
    return true;
}

bool TryFormat(const std::string& pattern, const std::vector<TFormatArg>& args, std::string& result)
{
    std::string kinds;
    if (!PatternPlaceholders(pattern, kinds) || kinds.size() != args.size()) return false;
    for (size_t i = 0; i < args.size(); ++i)
        if ((kinds[i] == 's') != args[i].IsText) return false;
    std::string text;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            text += pattern[i];
            continue;
        }
        const char kind = pattern[++i];
        if (kind == '%') {
            text += '%';
        } else {
            const TFormatArg& arg = args[next++];
            text += kind == 's' ? arg.Text : IntToStr(arg.Int);
        }
    }
    result = text;
    return true;
}

std::string Format(const std::string& pattern, const std::vector<TFormatArg>& args)
{
    std::string result;
    if (!TryFormat(pattern, args, result))
        throw Exception("Format '" + pattern + "' invalid or incompatible with argument");
    return result;
}
