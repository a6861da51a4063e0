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
  std::error_code ec;
  fs::path abs = fs::absolute(path_, ec);
  return std::make_shared<FolderItem>((ec ? path_ : abs).parent_path());
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

namespace {
constexpr std::uint64_t kReadBlock = 1 << 20;

// An Italian sentence for the usual reasons a file can't be opened or written.
std::string reason(int err) {
  switch (err) {
    case ENOENT:
      return "il file o la cartella non esiste";
    case EACCES:
    case EPERM:
      return "permesso negato";
    case EROFS:
      return "il disco è protetto dalla scrittura";
    case ENOSPC:
      return "il disco è pieno";
    case EISDIR:
      return "è una cartella";
    case ENAMETOOLONG:
      return "il nome è troppo lungo";
    default:
      return "errore di sistema " + std::to_string(err);
  }
}
}  // namespace

BinaryStream::BinaryStream(std::vector<std::uint8_t> bytes, std::uint64_t fail_at)
    : data_(std::move(bytes)), length_(data_.size()), fail_at_(fail_at) {}

BinaryStream::~BinaryStream() {
  Close();
}

std::shared_ptr<BinaryStream> BinaryStream::Open(const FolderItem& item, bool /*read_write*/) {
  const std::string refused = "Impossibile aprire il file \"" + item.Name() + "\"";
  std::error_code ec;
  const auto status = fs::status(item.path(), ec);
  if (ec || !fs::exists(status)) throw IOException(refused, IOException::kOpenFailed);
  if (!fs::is_regular_file(status)) {
    throw IOException(refused + ": non è un file normale", IOException::kOpenFailed);
  }
  const auto size = fs::file_size(item.path(), ec);
  std::FILE* file = ec ? nullptr : std::fopen(item.path().c_str(), "rb");
  if (!file) throw IOException(refused + ": " + reason(errno), IOException::kOpenFailed);
  auto stream = std::shared_ptr<BinaryStream>(
      new BinaryStream({}, std::numeric_limits<std::uint64_t>::max()));
  stream->file_ = file;
  stream->length_ = size;
  stream->name_ = item.Name();
  return stream;
}

std::shared_ptr<BinaryStream> BinaryStream::FromBytes(std::vector<std::uint8_t> bytes,
                                                      std::uint64_t fail_at) {
  return std::shared_ptr<BinaryStream>(new BinaryStream(std::move(bytes), fail_at));
}

void BinaryStream::Close() {
  closed_ = true;
  if (file_) std::fclose(file_);
  file_ = nullptr;
  // The bytes read go too: the output step, with its save dialog, comes after the reader
  // closes its source.
  std::vector<std::uint8_t>().swap(data_);
}

void BinaryStream::load(std::uint64_t upto) {
  if (upto <= data_.size() || !file_) return;
  const std::uint64_t have = data_.size();
  const std::uint64_t want = std::min(length_, std::max(upto, have + kReadBlock));
  data_.resize(want);
  const size_t got = std::fread(data_.data() + have, 1, want - have, file_);
  if (got != want - have) {
    data_.resize(have + got);
    throw IOException("Errore di lettura del file \"" + name_ + "\"", IOException::kReadFailed);
  }
}

const std::uint8_t* BinaryStream::take(std::uint64_t n) {
  if (closed_) throw IOException("Il file di origine è già chiuso", IOException::kClosed);
  // Written as a subtraction so that no sum can overflow.
  if (pos_ > length_ || n > length_ - pos_) {
    throw IOException("Il file è troncato o danneggiato: i dati finiscono al byte " +
                          std::to_string(length_) + " prima della fine attesa.",
                      IOException::kPastEnd);
  }
  if (pos_ + n > fail_at_) {
    throw IOException("Errore di lettura del file al byte " + std::to_string(fail_at_),
                      IOException::kReadFailed);
  }
  load(pos_ + n);
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
  const std::string refused = "Impossibile creare il file \"" + item.Name() + "\"";
  std::error_code ec;
  if (fs::is_directory(target, ec))
    throw IOException(refused + ": è una cartella", IOException::kCreateFailed);
  fs::path temp = target;
  temp += ".tarvelo-tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) throw IOException(refused + ": " + reason(errno), IOException::kCreateFailed);
  return std::shared_ptr<TextOutputStream>(new TextOutputStream(target, temp, file));
}

TextOutputStream::~TextOutputStream() {
  Discard();
}

void TextOutputStream::WriteLine(std::string_view text) {
  if (!file_) throw IOException("Il file di uscita è già chiuso", IOException::kClosed);
  buffer_ += text;
  buffer_ += Delimiter;
  if (buffer_.size() >= (1u << 16)) flush();
}

void TextOutputStream::flush() {
  if (buffer_.empty()) return;
  const bool full = written_ + buffer_.size() > limit_;
  const size_t n = full ? 0 : std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
  written_ += n;
  if (n != buffer_.size()) {
    const int err = full ? ENOSPC : errno;
    const std::string name = target_.filename().string();
    Discard();
    throw IOException("Impossibile scrivere il file \"" + name + "\": " + reason(err),
                      IOException::kWriteFailed);
  }
  buffer_.clear();
}

void TextOutputStream::Finish() {
  if (!file_) return;
  flush();
  const std::string name = target_.filename().string();
  bool ok = std::fflush(file_) == 0;
  const int err = errno;
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  finished_ = true;
  if (!ok) {
    Discard();
    throw IOException("Impossibile scrivere il file \"" + name + "\": " + reason(err),
                      IOException::kWriteFailed);
  }
}

void TextOutputStream::Commit() {
  Finish();
  if (!finished_) return;
  std::error_code ec;
  fs::rename(temp_, target_, ec);
  if (ec) {
    Discard();
    throw IOException("Impossibile scrivere il file \"" + target_.filename().string() +
                          "\": " + reason(ec.value()),
                      IOException::kWriteFailed);
  }
  finished_ = false;
}

void TextOutputStream::CommitPair(TextOutputStream& first, TextOutputStream& second) {
  first.Finish();
  second.Finish();
  first.Commit();
  try {
    second.Commit();
  } catch (const IOException&) {
    std::error_code ec;
    fs::remove(first.target_, ec);
    throw;
  }
}

void TextOutputStream::Close() {
  Finish();
  Commit();
}

void TextOutputStream::Discard() {
  buffer_.clear();
  if (file_) std::fclose(file_);
  const bool temp_exists = file_ || finished_;
  file_ = nullptr;
  finished_ = false;
  std::error_code ec;
  if (temp_exists) fs::remove(temp_, ec);
}

}  // namespace fw
