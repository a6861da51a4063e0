#include "core/finestra.h"
#include "framework/exceptions.h"
#include "framework/host.h"

namespace {
fw::BinaryStream& source(const std::shared_ptr<fw::BinaryStream>& stream) {
  if (!stream) throw fw::NilObjectException("Nessun file di origine aperto");
  return *stream;
}
}  // namespace

std::int32_t Finestra::Byte() {
  return source(stream).ReadByte();
}
std::int32_t Finestra::Byte2() {
  return source(stream).ReadShort();
}
std::int32_t Finestra::Word() {
  return source(stream).ReadLong();
}

std::string Finestra::CharWord() {
  auto& s = source(stream);
  std::string id;
  for (int i = 0; i < 4; ++i) id += fw::Chr(s.ReadByte());
  return id;
}

void Finestra::salta() {
  auto& s = source(stream);
  for (std::int32_t i = 1; i <= dim_chunk; ++i) {
    s.ReadByte();
    fw::Yield();
  }
}
