// Checked tables, declared by their inclusive upper bounds as the program declares them:
// Table<T>(N) has elements 0 to N, Table2<T>(N, M) rows 0 to N and columns 0 to M.
// Every access is checked; an index outside throws OutOfBoundsException before anything is
// touched. Elements start zero (numbers) or empty (text).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "framework/exceptions.h"

namespace fw {

namespace detail {
[[noreturn]] void throwOutOfBounds(const char* table, long long index, long long upper);

// Zero-filled storage. Numbers come from calloc, which maps fresh zero pages for large
// blocks: a big table costs no memory until rows are written.
template <typename T>
class Storage {
 public:
  explicit Storage(size_t count) : count_(count) {
    if constexpr (std::is_arithmetic_v<T>) {
      data_ = static_cast<T*>(std::calloc(count ? count : 1, sizeof(T)));
      if (!data_) throw std::bad_alloc();
    } else {
      owned_ = std::make_unique<T[]>(count ? count : 1);
      data_ = owned_.get();
    }
  }
  ~Storage() {
    if constexpr (std::is_arithmetic_v<T>) std::free(data_);
  }
  Storage(const Storage&) = delete;
  Storage& operator=(const Storage&) = delete;
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  size_t size() const { return count_; }

 private:
  size_t count_;
  T* data_ = nullptr;
  std::unique_ptr<T[]> owned_;
};
}  // namespace detail

template <typename T>
class Table {
 public:
  Table(const char* name, std::int32_t upper)
      : name_(name), upper_(upper), data_(static_cast<size_t>(upper) + 1) {}

  T& operator()(std::int64_t i) { return data_[check(i)]; }
  const T& operator()(std::int64_t i) const { return data_[check(i)]; }
  std::int32_t Ubound() const { return upper_; }

 private:
  size_t check(std::int64_t i) const {
    if (i < 0 || i > upper_) detail::throwOutOfBounds(name_, i, upper_);
    return static_cast<size_t>(i);
  }
  const char* name_;
  std::int32_t upper_;
  detail::Storage<T> data_;
};

template <typename T>
class Table2 {
 public:
  Table2(const char* name, std::int32_t rows_upper, std::int32_t cols_upper)
      : name_(name),
        rows_upper_(rows_upper),
        cols_upper_(cols_upper),
        data_((static_cast<size_t>(rows_upper) + 1) * (static_cast<size_t>(cols_upper) + 1)) {}

  T& operator()(std::int64_t row, std::int64_t col) { return data_[check(row, col)]; }
  const T& operator()(std::int64_t row, std::int64_t col) const { return data_[check(row, col)]; }
  std::int32_t Ubound(int dimension = 1) const {
    return dimension == 2 ? cols_upper_ : rows_upper_;
  }

 private:
  size_t check(std::int64_t row, std::int64_t col) const {
    if (row < 0 || row > rows_upper_) detail::throwOutOfBounds(name_, row, rows_upper_);
    if (col < 0 || col > cols_upper_) detail::throwOutOfBounds(name_, col, cols_upper_);
    return static_cast<size_t>(row) * (static_cast<size_t>(cols_upper_) + 1) +
           static_cast<size_t>(col);
  }
  const char* name_;
  std::int32_t rows_upper_, cols_upper_;
  detail::Storage<T> data_;
};

// A growable list of lines, kept as one run of characters and the end of each line. Element 0
// is never written by the program; lines are appended at Ubound + 1 and read back from
// element 1. A list holds at most kTextBudget bytes (its characters and 4 per line): appending
// or reserving past that throws OutOfBoundsException, so that no file can make a conversion
// ask for more memory than that.
class TextList {
 public:
  static constexpr std::int64_t kTextBudget = std::int64_t{1} << 30;

  explicit TextList(const char* name) : name_(name), ends_(1, 0) {}
  void Append(std::string_view line) {
    const size_t characters = size_ + line.size();
    checkBudget(static_cast<std::int64_t>(ends_.size()) + 1, static_cast<std::int64_t>(characters));
    if (characters > capacity_) grow(characters);
    if (!line.empty()) std::memcpy(chars_.get() + size_, line.data(), line.size());
    size_ = characters;
    ends_.push_back(static_cast<std::uint32_t>(characters));
  }
  // Makes room for lines up to that upper bound at once: appending them then moves no line end.
  // Throws as Append does when that many lines can't fit in the budget.
  void Reserve(std::int64_t upper) {
    const std::int64_t lines = std::max<std::int64_t>(upper, 0) + 1;
    checkBudget(lines, static_cast<std::int64_t>(size_));
    ends_.reserve(static_cast<size_t>(lines));
  }
  // Cuts the list back to upper bound n (n + 1 elements, new ones empty); 0 gives its memory
  // back.
  void Redim(std::int32_t upper) {
    const size_t lines = static_cast<size_t>(std::max(upper, 0)) + 1;
    if (lines == 1) {
      chars_.reset();
      size_ = capacity_ = 0;
      std::vector<std::uint32_t>(1, 0).swap(ends_);
    } else if (lines < ends_.size()) {
      ends_.resize(lines);
      size_ = ends_.back();
    } else {
      checkBudget(static_cast<std::int64_t>(lines), static_cast<std::int64_t>(size_));
      const std::uint32_t end = ends_.back();
      ends_.resize(lines, end);
    }
  }
  std::int32_t Ubound() const { return static_cast<std::int32_t>(ends_.size()) - 1; }
  // Valid until the list next changes.
  std::string_view operator()(std::int64_t i) const {
    if (i < 0 || i > Ubound()) detail::throwOutOfBounds(name_, i, Ubound());
    const size_t k = static_cast<size_t>(i);
    const std::uint32_t begin = k == 0 ? 0 : ends_[k - 1];
    return std::string_view(chars_.get() + begin, ends_[k] - begin);
  }

  // Tests: every list holds at most this many bytes from now on (at most kTextBudget).
  static void LimitTextForTests(std::int64_t bytes) {
    budget_ = std::clamp<std::int64_t>(bytes, 0, kTextBudget);
  }

 private:
  // The one check of the budget, for a list of that many lines and characters.
  static void checkBudget(std::int64_t lines, std::int64_t characters) {
    if (characters + lines * std::int64_t{sizeof(std::uint32_t)} > budget_) {
      throw OutOfBoundsException("Il file darebbe più di " + std::to_string(budget_ >> 20) +
                                 " MB di testo: è il massimo che Tarvelo può convertire.");
    }
  }
  // Characters grow by realloc: the system can extend a large block or remap its pages, where
  // a growing string copies it and briefly holds the old and the new block.
  void grow(size_t need) {
    const size_t capacity = std::max({need, 2 * capacity_, size_t{1} << 16});
    char* p = static_cast<char*>(std::realloc(chars_.get(), capacity));
    if (!p) throw std::bad_alloc();
    chars_.release();
    chars_.reset(p);
    capacity_ = capacity;
  }

  struct Free {
    void operator()(char* p) const { std::free(p); }
  };
  static inline std::int64_t budget_ = kTextBudget;
  const char* name_;
  std::unique_ptr<char, Free> chars_;
  size_t size_ = 0, capacity_ = 0;
  // Where each element ends in chars_; the budget keeps these within 32 bits.
  std::vector<std::uint32_t> ends_;
};
static_assert(TextList::kTextBudget <= std::int64_t{UINT32_MAX});

}  // namespace fw
