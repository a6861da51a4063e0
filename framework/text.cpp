#include "framework/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace fw {

Color RGB(int red, int green, int blue) {
  return Color{red & 0xFF, green & 0xFF, blue & 0xFF};
}

std::string Str(std::int32_t value) {
  return std::to_string(value);
}
std::string Str(std::int64_t value) {
  return std::to_string(value);
}

namespace {
template <typename F>
std::string shortest(F value) {
  if (value == 0) return "0";  // also negative zero
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}
}  // namespace

std::string Str(double value) {
  return shortest(value);
}
std::string Str(float value) {
  return shortest(value);
}

std::string Str(Color value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "&h";
  for (int c : {value.red, value.green, value.blue}) {
    out += kHex[(c >> 4) & 0xF];
    out += kHex[c & 0xF];
  }
  return out;
}

double Val(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  text.remove_prefix(i);
  if (text.size() >= 2 && text[0] == '&' && (text[1] == 'h' || text[1] == 'H')) {
    std::uint64_t v = 0;
    auto first = text.data() + 2;
    auto [ptr, ec] = std::from_chars(first, text.data() + text.size(), v, 16);
    if (ec != std::errc()) return 0;
    return static_cast<double>(v);
  }
  const char* first = text.data();
  if (!text.empty() && text[0] == '+') ++first;
  double v = 0;
  auto [ptr, ec] = std::from_chars(first, text.data() + text.size(), v);
  if (ec == std::errc::result_out_of_range) {
    return (first < text.data() + text.size() && *first == '-')
               ? -std::numeric_limits<double>::infinity()
               : std::numeric_limits<double>::infinity();
  }
  return ec == std::errc() ? v : 0;
}

std::string Format(double value, std::string_view pattern) {
  // "#.000": as many decimals as there are zeros after the point.
  int decimals = 0;
  if (auto dot = pattern.find('.'); dot != std::string_view::npos) {
    decimals = static_cast<int>(pattern.size() - dot - 1);
  }
  char buf[400];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return Str(value);
  return std::string(buf, end);
}

double Round(double value) {
  return std::round(value);
}

std::int32_t ToInt32(double value) {
  if (std::isnan(value)) return 0;
  double t = std::trunc(value);
  if (t >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (t <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(t);
}

std::string Replace(std::string_view text, std::string_view find, std::string_view with) {
  std::string out(text);
  if (find.empty()) return out;
  if (auto pos = out.find(find); pos != std::string::npos) out.replace(pos, find.size(), with);
  return out;
}

int InStr(std::string_view text, std::string_view find) {
  auto pos = text.find(find);
  return pos == std::string_view::npos ? 0 : static_cast<int>(pos) + 1;
}

std::string Mid(std::string_view text, int start) {
  if (start < 1) start = 1;
  if (static_cast<size_t>(start) > text.size()) return {};
  return std::string(text.substr(start - 1));
}

std::string Mid(std::string_view text, int start, int count) {
  if (count <= 0) return {};
  std::string rest = Mid(text, start);
  if (rest.size() > static_cast<size_t>(count)) rest.resize(count);
  return rest;
}

std::string Left(std::string_view text, int count) {
  if (count <= 0) return {};
  return std::string(text.substr(0, std::min<size_t>(count, text.size())));
}

int Len(std::string_view text) {
  return static_cast<int>(text.size());
}

std::string Chr(int code) {
  code &= 0xFF;
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  std::string out;
  out += static_cast<char>(0xC0 | (code >> 6));
  out += static_cast<char>(0x80 | (code & 0x3F));
  return out;
}

int Asc(std::string_view text) {
  if (text.empty()) return 0;
  auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80 || text.size() < 2) return b0;
  auto b1 = static_cast<unsigned char>(text[1]);
  if ((b0 & 0xE0) == 0xC0 && (b1 & 0xC0) == 0x80) return ((b0 & 0x1F) << 6) | (b1 & 0x3F);
  return b0;
}

std::int32_t BitAnd(std::int32_t a, std::int32_t b) {
  return a & b;
}

}  // namespace fw
