// Text helpers of the ANSI program: trimming, case-insensitive comparison, number text that never
// depends on the user's locale.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

std::string Trim(const std::string& s);       // removes every character up to and including blank
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);
std::string UpperCase(const std::string& s);  // ASCII letters only
std::string LowerCase(const std::string& s);
bool SameText(const std::string& a, const std::string& b);
int CompareText(const std::string& a, const std::string& b);
bool StartsText(const std::string& prefix, const std::string& s);
// Replaces every occurrence of `from` (left to right, never rescanning replaced text).
std::string StringReplaceAll(const std::string& s, const std::string& from, const std::string& to);
// Position of `needle` in `s` ignoring case, or npos.
size_t FindText(const std::string& s, const std::string& needle, size_t from = 0);

std::string IntToStr(int64_t value);
// Integer text: optional blanks before, optional sign, decimal digits or hex after "$", "0x" or "x".
// Anything else (trailing characters, overflow of 32 bits) fails.
bool TryStrToInt(const std::string& s, int32_t& value);
bool TryStrToInt64(const std::string& s, int64_t& value);
int32_t StrToIntDef(const std::string& s, int32_t def);
int64_t StrToInt64Def(const std::string& s, int64_t def);

// Floating-point text always with "." as the decimal separator, whatever the locale.
std::string FloatToStr(double value);                 // shortest text that reads back (up to 15 digits)
std::string FormatFixed(double value, int decimals);  // "12.50"
// Plain decimal notation only: an optional sign, digits with at most one ".", an optional exponent.
// No blanks, hex, inf or nan.
bool IsPlainDecimalText(const std::string& t);
bool TryStrToFloat(const std::string& s, double& value);
double StrToFloatDef(const std::string& s, double def);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int64_t RoundHalfEven(double value);

std::vector<std::string> SplitLines(const std::string& text);  // on CR LF, LF or CR
// The pieces between the delimiters; a trailing delimiter gives an empty last piece.
std::vector<std::string> SplitText(const std::string& text, char delimiter);

// One argument of Format: a text or an integer.
struct TFormatArg {
    TFormatArg(const std::string& text) : IsText(true), Text(text) {}
    TFormatArg(const char* text) : IsText(true), Text(text) {}
    TFormatArg(int value) : Int(value) {}
    TFormatArg(long value) : Int(value) {}
    TFormatArg(long long value) : Int(value) {}
    TFormatArg(unsigned value) : Int(value) {}
    bool IsText = false;
    std::string Text;
    int64_t Int = 0;
};

// The placeholders of a pattern in order, one letter each ("%s" -> 's', "%d" -> 'd'; "%%" is a literal
// percent sign). False when the pattern holds any other use of "%".
bool PatternPlaceholders(const std::string& pattern, std::string& kinds);
// Formats "%s", "%d" and "%%". False (result untouched) when the pattern does not fit the arguments:
// another use of "%", a text where a number belongs or the other way round, or a different count.
bool TryFormat(const std::string& pattern, const std::vector<TFormatArg>& args, std::string& result);
// As TryFormat; raises Exception "Format '<pattern>' invalid or incompatible with argument" when it does
// not fit.
std::string Format(const std::string& pattern, const std::vector<TFormatArg>& args);
