#include "tests/iff_builder.h"

#include <bit>

Bytes& Bytes::u8(int v) {
  data_.push_back(static_cast<std::uint8_t>(v & 0xFF));
  return *this;
}
Bytes& Bytes::u16(int v) {
  return u8(v >> 8).u8(v);
}
Bytes& Bytes::u32(std::int64_t v) {
  auto u = static_cast<std::uint32_t>(v);
  return u8(static_cast<int>(u >> 24))
      .u8(static_cast<int>(u >> 16))
      .u8(static_cast<int>(u >> 8))
      .u8(static_cast<int>(u));
}
Bytes& Bytes::f32(float v) {
  return u32(std::bit_cast<std::uint32_t>(v));
}
Bytes& Bytes::id(const std::string& four_chars) {
  return text(four_chars.substr(0, 4));
}
Bytes& Bytes::text(const std::string& s, bool zero_terminated) {
  for (char c : s) u8(static_cast<unsigned char>(c));
  if (zero_terminated) u8(0);
  return *this;
}
Bytes& Bytes::append(const Bytes& other) {
  data_.insert(data_.end(), other.data_.begin(), other.data_.end());
  return *this;
}
Bytes& Bytes::chunk(const std::string& id_text, const Bytes& body, bool pad) {
  id(id_text).u32(static_cast<std::int64_t>(body.size())).append(body);
  if (pad && body.size() % 2 == 1) u8(0);
  return *this;
}
Bytes& Bytes::chunk16(const std::string& id_text, const Bytes& body, bool pad) {
  id(id_text).u16(static_cast<int>(body.size())).append(body);
  if (pad && body.size() % 2 == 1) u8(0);
  return *this;
}
Bytes& Bytes::chunkWithLength(const std::string& id_text, std::int64_t stated, const Bytes& body) {
  return id(id_text).u32(stated).append(body);
}

std::vector<std::uint8_t> Form(const std::string& type, const Bytes& body) {
  Bytes out;
  out.id("FORM").u32(static_cast<std::int64_t>(body.size()) + 4).id(type).append(body);
  return out.data();
}
