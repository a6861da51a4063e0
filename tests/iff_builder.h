// Builds IFF source files in memory: Form("LWOB", Bytes().chunk("PNTS", points)).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Bytes {
 public:
  Bytes& u8(int v);
  Bytes& u16(int v);           // big-endian, also for negative values (two's complement)
  Bytes& u32(std::int64_t v);  // big-endian, also for negative values
  Bytes& f32(float v);
  Bytes& id(const std::string& four_chars);
  // The text's bytes, then a zero byte when asked.
  Bytes& text(const std::string& s, bool zero_terminated = false);
  Bytes& append(const Bytes& other);
  // id, 32-bit body length, body, and a pad byte after an odd body.
  Bytes& chunk(const std::string& id, const Bytes& body, bool pad = true);
  // id, 16-bit body length, body, pad byte after an odd body (LightWave surface sub-chunks).
  Bytes& chunk16(const std::string& id, const Bytes& body, bool pad = true);
  // id and a stated length that need not match the body that follows.
  Bytes& chunkWithLength(const std::string& id, std::int64_t stated, const Bytes& body);

  const std::vector<std::uint8_t>& data() const { return data_; }
  std::size_t size() const { return data_.size(); }

 private:
  std::vector<std::uint8_t> data_;
};

// "FORM", the length of type + body, the type, the body.
std::vector<std::uint8_t> Form(const std::string& type, const Bytes& body);
