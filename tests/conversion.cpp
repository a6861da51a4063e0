#include "tests/conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/progress.h"
#include "framework/host.h"
#include "tests/obj_check.h"

Converter::Converter() : window(std::make_shared<Finestra>()) {
  window->Constructor();
}

Conversion Converter::convert(const std::vector<std::uint8_t>& bytes,
                              const std::string& source_name, const std::string& save_name) {
  auto source = dir.write(source_name, bytes);
  host.messages.clear();
  host.save_answers.clear();
  host.save_answers.push_back(save_name.empty() ? std::filesystem::path() : dir.path() / save_name);
  window->Drag_Flag = true;
  window->NomeFile = source.string();
  fw::RunHandler([&] { window->Legge_File(); });

  Conversion out;
  out.messages = host.messages;
  out.files = dir.files();
  if (!save_name.empty() && std::filesystem::exists(dir.path() / save_name)) {
    out.obj = readText(dir.path() / save_name);
    for (const auto& line : lines(out.obj)) {
      if (line.rfind("mtllib ", 0) == 0) out.mtl = readText(dir.path() / line.substr(7));
    }
  }
  return out;
}

namespace {
std::uint64_t getU32(const std::vector<std::uint8_t>& b, size_t at) {
  return (std::uint64_t{b[at]} << 24) | (std::uint64_t{b[at + 1]} << 16) |
         (std::uint64_t{b[at + 2]} << 8) | std::uint64_t{b[at + 3]};
}

void putU32(std::vector<std::uint8_t>& b, size_t at, std::uint64_t value) {
  for (size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// Walks the chunks from `start` and shortens the one the cut at the end of `bytes` runs through.
void refitFrom(std::vector<std::uint8_t>& bytes, size_t start,
               const std::vector<std::string>& containers) {
  const size_t n = bytes.size();
  for (size_t p = start; p + 8 <= n;) {
    const std::uint64_t length = getU32(bytes, p + 4);
    const size_t body = p + 8;
    if (body + length > n) {
      putU32(bytes, p + 4, n - body);
      const std::string id(bytes.begin() + static_cast<long>(p),
                           bytes.begin() + static_cast<long>(p + 4));
      if (std::find(containers.begin(), containers.end(), id) != containers.end()) {
        refitFrom(bytes, body, containers);
      }
      return;
    }
    p = body + length + (length & 1);
  }
}
}  // namespace

std::vector<std::uint8_t> refitted(std::vector<std::uint8_t> prefix,
                                   const std::vector<std::string>& containers) {
  if (prefix.size() < 12) return prefix;
  putU32(prefix, 4, prefix.size() - 8);
  refitFrom(prefix, 12, containers);
  return prefix;
}

void expectEveryPrefixEndsCleanly(const std::vector<std::uint8_t>& whole, size_t stride, bool refit,
                                  const std::vector<std::string>& containers) {
  Converter c;
  const auto full = c.convert(whole, "cut.iff", "cut.obj");
  ASSERT_TRUE(full.messages.empty());
  auto remove_output = [&] {
    std::filesystem::remove(c.dir.path() / "cut.obj");
    std::filesystem::remove(c.dir.path() / "cut.mtl");
  };
  auto ends_cleanly = [&](const Conversion& r, size_t n) {
    EXPECT_EQ(fw::FindOpenWindow(Progress::kClassName), nullptr) << n;
    EXPECT_FALSE(c.window->converting);
    const bool failed = r.files == std::vector<std::string>{"cut.iff"};
    if (failed) {
      EXPECT_EQ(r.messages.size(), 1u) << n;
      for (const auto& m : r.messages) EXPECT_TRUE(isRefusalOfTheFile(m)) << m;
    } else {
      EXPECT_EQ(r.files, (std::vector<std::string>{"cut.iff", "cut.mtl", "cut.obj"})) << n;
      EXPECT_EQ(objPairProblem(r.obj, r.mtl), "") << n;
      remove_output();
    }
    return !failed;
  };
  remove_output();
  for (size_t n = 0; n < whole.size(); ++n) {
    if (n % stride != 0 && n > 128 && n + 128 < whole.size()) continue;
    std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + static_cast<long>(n));
    auto r = c.convert(prefix, "cut.iff", "cut.obj");
    if (ends_cleanly(r, n)) {
      EXPECT_TRUE(r.messages.empty()) << n;
      EXPECT_EQ(r.obj, full.obj) << n;
      EXPECT_EQ(r.mtl, full.mtl) << n;
    }
    if (refit) ends_cleanly(c.convert(refitted(prefix, containers), "cut.iff", "cut.obj"), n);
  }
}

std::optional<std::filesystem::path> lightwaveSamples() {
  namespace fs = std::filesystem;
  std::vector<fs::path> candidates;
  if (const char* set = std::getenv("TARVELO_SAMPLES"); set && *set) {
    candidates = {fs::path(set) / "lwob", fs::path(set)};
  } else {
    candidates = {fs::path(TARVELO_SAMPLES_DIR) / "lwob"};
  }
  for (const auto& folder : candidates) {
    std::error_code ec;
    if (fs::is_directory(folder, ec)) return folder;
  }
  return std::nullopt;
}
