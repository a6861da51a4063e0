// Text and number functions as the program uses them. Text is std::string holding UTF-8;
// positions and lengths count bytes. Number text never depends on the locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fw {

struct Color {
  int red = 0, green = 0, blue = 0;  // each 0 to 255
  friend bool operator==(const Color&, const Color&) = default;
};

Color RGB(int red, int green, int blue);

// Decimal digits, "-" first if negative.
std::string Str(std::int32_t value);
std::string Str(std::int64_t value);
// Shortest text that reads back to the same value; negative zero is "0".
std::string Str(double value);
std::string Str(float value);
// "&h" and six upper-case hexadecimal digits: red, green, blue.
std::string Str(Color value);

// The number at the start of the text: decimal (optional sign, fraction, exponent) or "&h"
// hexadecimal in either case. What follows is ignored; no number reads as 0.
double Val(std::string_view text);

// Only the pattern "#.000" is used: three decimals, a point, a leading "0" when the integer
// part is zero, "-" before negatives.
std::string Format(double value, std::string_view pattern);

// Nearest whole number, halves away from zero.
double Round(double value);

// Double to Int32: truncation toward zero, clamped to the Int32 range.
std::int32_t ToInt32(double value);

// The first occurrence only; exact (case counts).
std::string Replace(std::string_view text, std::string_view find, std::string_view with);
// 1-based position of the first occurrence, 0 if absent.
int InStr(std::string_view text, std::string_view find);
// From 1-based position to the end, or n bytes from it.
std::string Mid(std::string_view text, int start);
std::string Mid(std::string_view text, int start, int count);
std::string Left(std::string_view text, int count);
int Len(std::string_view text);
// 0 to 127: that ASCII character; 128 to 255: the Latin-1 character, as UTF-8.
std::string Chr(int code);
// The code of the first character (a Latin-1 character read back from its UTF-8 form).
int Asc(std::string_view text);
std::int32_t BitAnd(std::int32_t a, std::int32_t b);

}  // namespace fw
