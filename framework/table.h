// Checked tables, declared by their inclusive upper bounds as the program declares them:
// Table<T>(N) has elements 0 to N, Table2<T>(N, M) rows 0 to N and columns 0 to M.
// Every access is checked; an index outside throws OutOfBoundsException before anything is
// touched. Elements start zero (numbers) or empty (text).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
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

// A growable list of lines. Element 0 is never written by the program; lines are appended
// at Ubound + 1 and read back from element 1.
class TextList {
 public:
  explicit TextList(const char* name) : name_(name), items_(1) {}
  void Append(std::string line) { items_.push_back(std::move(line)); }
  // Makes room for lines up to that upper bound at once: appending them then moves no line, and
  // a long list does not briefly take twice its memory as it grows.
  void Reserve(std::int64_t upper) {
    items_.reserve(static_cast<size_t>(upper < 0 ? 0 : upper) + 1);
  }
  // Cuts the list back to upper bound n (n + 1 elements, new ones empty).
  void Redim(std::int32_t upper) { items_.resize(static_cast<size_t>(upper < 0 ? 0 : upper) + 1); }
  std::int32_t Ubound() const { return static_cast<std::int32_t>(items_.size()) - 1; }
  const std::string& operator()(std::int64_t i) const {
    if (i < 0 || i > Ubound()) detail::throwOutOfBounds(name_, i, Ubound());
    return items_[static_cast<size_t>(i)];
  }

 private:
  const char* name_;
  std::vector<std::string> items_;
};

}  // namespace fw
