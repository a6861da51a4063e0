// Files and streams: a file item, a read-only big-endian input stream that can't read past
// the end, and a text output stream that leaves nothing half-written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class FolderItem {
 public:
  explicit FolderItem(std::filesystem::path path);
  std::string Name() const;
  std::string AbsolutePath() const;
  std::shared_ptr<FolderItem> Parent() const;
  // The item of that name in this folder, also for a file not yet there.
  std::shared_ptr<FolderItem> Child(const std::string& name) const;
  bool Exists() const;
  bool Directory() const;  // follows a link: a link to a folder is a folder too
  bool Alias() const;      // a symbolic link
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The item of an absolute path (path type 0 is the only one); none for an empty path.
std::shared_ptr<FolderItem> GetFolderItem(const std::string& path, int path_type = 0);

// Read-only source data, big-endian. Every read first checks that enough bytes are left and
// throws IOException otherwise, so no loop can read on past the end of the data. A file is
// read from disk only as far as the reads go: a large file refused after its first bytes
// costs nothing more.
class BinaryStream {
 public:
  // A regular file (a link to one too). Throws IOException when it can't be opened: missing,
  // a folder, a device or a pipe.
  static std::shared_ptr<BinaryStream> Open(const FolderItem& item, bool read_write = false);
  // Bytes in memory; from fail_at on, every read reports a read error (a failing device).
  static std::shared_ptr<BinaryStream> FromBytes(
      std::vector<std::uint8_t> bytes,
      std::uint64_t fail_at = std::numeric_limits<std::uint64_t>::max());
  ~BinaryStream();

  std::int32_t ReadByte();   // 0 to 255
  std::int32_t ReadShort();  // signed 16-bit
  std::int32_t ReadLong();   // signed 32-bit
  float ReadSingle();        // IEEE single
  // Steps over n bytes (nothing when n <= 0); throws when fewer are left.
  void Skip(std::int64_t n);

  std::uint64_t Position() const { return pos_; }
  void SetPosition(std::uint64_t pos) { pos_ = pos; }
  std::uint64_t Length() const { return length_; }
  bool Eof() const { return pos_ >= length_; }
  // Closes the file and lets go of the bytes read; every later read throws.
  void Close();
  bool IsClosed() const { return closed_; }

 private:
  BinaryStream(std::vector<std::uint8_t> bytes, std::uint64_t fail_at);
  // Checks that n more bytes can be read and returns where they start.
  const std::uint8_t* take(std::uint64_t n);
  // Reads from the file until the first `upto` bytes are in memory.
  void load(std::uint64_t upto);

  std::vector<std::uint8_t> data_;  // the bytes read so far, from the start
  std::uint64_t length_;
  std::FILE* file_ = nullptr;  // none for bytes in memory
  std::string name_;
  std::uint64_t pos_ = 0;
  std::uint64_t fail_at_;
  bool closed_ = false;
};

// Writes a new text file. Lines go to a temporary file beside the target, which replaces the
// target only at Close; a stream dropped or discarded before Close leaves no file behind.
class TextOutputStream {
 public:
  // Throws IOException when the file can't be created.
  static std::shared_ptr<TextOutputStream> Create(const FolderItem& item);
  ~TextOutputStream();
  TextOutputStream(const TextOutputStream&) = delete;
  TextOutputStream& operator=(const TextOutputStream&) = delete;

  std::string Delimiter = "\n";
  void WriteLine(std::string_view text);
  // Flushes and closes the temporary file; throws IOException when it can't be written.
  void Finish();
  // Puts the finished file in place of the target; throws IOException when it can't.
  void Commit();
  // Finishes both, then commits first and second, in that order. Should the second fail, the
  // first is removed again: the two files appear together or not at all.
  static void CommitPair(TextOutputStream& first, TextOutputStream& second);
  // Finish, then Commit.
  void Close();
  // Drops what was written; the target is left as it was.
  void Discard();
  bool IsClosed() const { return file_ == nullptr; }  // finished, committed or discarded

  // Tests: every stream created from now on fails once it has written this many bytes.
  static void SimulateFullDiskAfter(std::uint64_t bytes);

 private:
  TextOutputStream(std::filesystem::path target, std::filesystem::path temp, std::FILE* file);
  void flush();

  std::filesystem::path target_, temp_;
  std::FILE* file_;
  bool finished_ = false;
  std::string buffer_;
  std::uint64_t written_ = 0;
  std::uint64_t limit_;
};

}  // namespace fw
