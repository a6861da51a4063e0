#include "framework/files.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "framework/exceptions.h"

namespace fw {

namespace fs = std::filesystem;

FolderItem::FolderItem(fs::path path) : path_(std::move(path)) {}

std::string FolderItem::Name() const {
  return path_.filename().string();
}
std::string FolderItem::AbsolutePath() const {
  std::error_code ec;
  fs::path abs = fs::absolute(path_, ec);
  return (ec ? path_ : abs).string();
}
std::shared_ptr<FolderItem> FolderItem::Parent() const {
  return std::make_shared<FolderItem>(fs::absolute(path_).parent_path());
}
std::shared_ptr<FolderItem> FolderItem::Child(const std::string& name) const {
  return std::make_shared<FolderItem>(path_ / name);
}
bool FolderItem::Exists() const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path_, ec));
}
bool FolderItem::Directory() const {
  std::error_code ec;
  return fs::is_directory(path_, ec);
}
bool FolderItem::Alias() const {
  std::error_code ec;
  return fs::is_symlink(path_, ec);
}

std::shared_ptr<FolderItem> GetFolderItem(const std::string& path, int /*path_type*/) {
  if (path.empty()) return nullptr;
  return std::make_shared<FolderItem>(fs::path(path));
}

// ---- BinaryStream

std::shared_ptr<BinaryStream> BinaryStream::Open(const FolderItem& item, bool /*read_write*/) {
  std::ifstream in(item.path(), std::ios::binary);
  std::error_code ec;
  if (!in || fs::is_directory(item.path(), ec)) {
    throw IOException("Impossibile aprire il file \"" + item.Name() + "\"",
                      IOException::kOpenFailed);
  }
  std::vector<std::uint8_t> bytes;
  in.seekg(0, std::ios::end);
  auto size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) {
    bytes.resize(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
  }
  if (size < 0 || !in) {
    throw IOException("Impossibile leggere il file \"" + item.Name() + "\"",
                      IOException::kReadFailed);
  }
  return std::shared_ptr<BinaryStream>(
      new BinaryStream(std::move(bytes), std::numeric_limits<std::uint64_t>::max()));
}

std::shared_ptr<BinaryStream> BinaryStream::FromBytes(std::vector<std::uint8_t> bytes,
                                                      std::uint64_t fail_at) {
  return std::shared_ptr<BinaryStream>(new BinaryStream(std::move(bytes), fail_at));
}

const std::uint8_t* BinaryStream::take(std::uint64_t n) {
  if (closed_) throw IOException("Il file di origine è già chiuso", IOException::kClosed);
  // Written as a subtraction so that no sum can overflow.
  if (pos_ > data_.size() || n > data_.size() - pos_) {
    throw IOException("Il file è troncato o danneggiato: i dati finiscono al byte " +
                          std::to_string(data_.size()) + " prima della fine attesa.",
                      IOException::kPastEnd);
  }
  if (pos_ + n > fail_at_) {
    throw IOException("Errore di lettura del file al byte " + std::to_string(fail_at_),
                      IOException::kReadFailed);
  }
  const std::uint8_t* p = data_.data() + pos_;
  pos_ += n;
  return p;
}

std::int32_t BinaryStream::ReadByte() {
  return *take(1);
}

std::int32_t BinaryStream::ReadShort() {
  const std::uint8_t* p = take(2);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>((p[0] << 8) | p[1]));
}

std::int32_t BinaryStream::ReadLong() {
  const std::uint8_t* p = take(4);
  std::uint32_t v = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                    (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
  return static_cast<std::int32_t>(v);
}

float BinaryStream::ReadSingle() {
  return std::bit_cast<float>(static_cast<std::uint32_t>(ReadLong()));
}

void BinaryStream::Skip(std::int64_t n) {
  if (n > 0) take(static_cast<std::uint64_t>(n));
}

// ---- TextOutputStream

namespace {
std::uint64_t g_full_disk_after = std::numeric_limits<std::uint64_t>::max();
}

void TextOutputStream::SimulateFullDiskAfter(std::uint64_t bytes) {
  g_full_disk_after = bytes;
}

TextOutputStream::TextOutputStream(fs::path target, fs::path temp, std::FILE* file)
    : target_(std::move(target)), temp_(std::move(temp)), file_(file), limit_(g_full_disk_after) {}

std::shared_ptr<TextOutputStream> TextOutputStream::Create(const FolderItem& item) {
  const fs::path& target = item.path();
  std::error_code ec;
  if (fs::is_directory(target, ec)) {
    throw IOException("Impossibile creare il file \"" + item.Name() + "\": è una cartella",
                      IOException::kCreateFailed);
  }
  fs::path temp = target;
  temp += ".tarvelo-tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) {
    throw IOException("Impossibile creare il file \"" + item.Name() + "\" in " +
                          target.parent_path().string() + ": " + std::strerror(errno),
                      IOException::kCreateFailed);
  }
  return std::shared_ptr<TextOutputStream>(new TextOutputStream(target, temp, file));
}

TextOutputStream::~TextOutputStream() {
  Discard();
}

void TextOutputStream::WriteLine(const std::string& text) {
  if (!file_) throw IOException("Il file di uscita è già chiuso", IOException::kClosed);
  buffer_ += text;
  buffer_ += Delimiter;
  if (buffer_.size() >= (1u << 16)) flush();
}

void TextOutputStream::flush() {
  if (buffer_.empty()) return;
  bool full = written_ + buffer_.size() > limit_;
  size_t n = full ? 0 : std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  written_ += n;
  if (n != buffer_.size()) {
    std::string name = target_.filename().string();
    Discard();
    throw IOException("Impossibile scrivere il file \"" + name + "\" (disco pieno o protetto)",
                      IOException::kWriteFailed);
  }
  buffer_.clear();
}

void TextOutputStream::Close() {
  if (!file_) return;
  flush();
  std::string name = target_.filename().string();
  bool ok = std::fflush(file_) == 0;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  std::error_code ec;
  if (ok) fs::rename(temp_, target_, ec);
  if (!ok || ec) {
    fs::remove(temp_, ec);
    throw IOException("Impossibile scrivere il file \"" + name + "\"", IOException::kWriteFailed);
  }
}

void TextOutputStream::Discard() {
  buffer_.clear();
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
  std::error_code ec;
  fs::remove(temp_, ec);
}

}  // namespace fw
