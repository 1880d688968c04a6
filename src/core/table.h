// Tables of the model store, each with a fixed capacity. Every access is checked against the
// capacity; going past it throws the subscript run error ("Input file too large?") instead of
// touching memory that is not there.
//
// A table grows as it is used: an entry comes into being, value-initialised (0, an empty
// text), the first time it is touched, for reading or writing, so an entry never written reads
// as 0 just as if the whole table had been cleared at the start. Room for the whole capacity
// is reserved when the first entry comes into being, so growing never moves an entry:
// references and the flat-array pointers that hot loops take from data() stay valid. A table
// never touched takes no memory, and only the entries in use are ever cleared, which keeps a
// parse of a small model from clearing megabytes of tables.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "core/run_error.h"

namespace ostrel {

// One-dimensional table with valid indices 0..size()-1.
template <class T>
class Table {
 public:
  Table(const char* name, int size) : name_(name), capacity_(checked_capacity(size)) {}
  Table(const Table& other) : name_(other.name_), capacity_(other.capacity_) {
    copy_entries(other);
  }
  Table& operator=(const Table& other) {
    if (this == &other) return *this;
    if (other.capacity_ != capacity_) data_ = std::vector<T>();
    name_ = other.name_;
    capacity_ = other.capacity_;
    copy_entries(other);
    return *this;
  }
  Table(Table&&) noexcept = default;
  Table& operator=(Table&&) noexcept = default;

  T& operator()(long index) {
    if (static_cast<unsigned long>(index) >= data_.size()) grow(index);
    return data_[static_cast<std::size_t>(index)];
  }
  const T& operator()(long index) const {
    if (static_cast<unsigned long>(index) >= data_.size()) grow(index);
    return data_[static_cast<std::size_t>(index)];
  }

  int size() const { return static_cast<int>(capacity_); }
  // The flat array of all size() entries.
  T* data() { return full(); }
  const T* data() const { return full(); }
  // Every entry reads as T() again. Pointers taken from data() before must be taken again.
  void clear() { data_.clear(); }
  const char* name() const { return name_; }

 private:
  static std::size_t checked_capacity(int size) {
    return static_cast<std::size_t>(std::max(size, 0));
  }

  // Brings entries up to `index` into being; the capacity check of every access.
  [[gnu::noinline]] void grow(long index) const {
    if (index < 0 || static_cast<unsigned long>(index) >= capacity_) {
      throw_subscript_error(name_, index);
    }
    // Geometric steps keep a table filled entry by entry from resizing at every entry.
    std::size_t wanted =
        std::max({static_cast<std::size_t>(index) + 1, 2 * data_.size(), std::size_t{16}});
    data_.reserve(capacity_);
    data_.resize(std::min(wanted, capacity_));
  }
  T* full() const {
    if (data_.size() < capacity_) {
      data_.reserve(capacity_);
      data_.resize(capacity_);
    }
    return data_.data();
  }
  void copy_entries(const Table& other) {
    data_.clear();
    if (other.data_.empty()) return;
    data_.reserve(capacity_);
    data_.assign(other.data_.begin(), other.data_.end());
  }

  const char* name_;
  std::size_t capacity_;
  mutable std::vector<T> data_;  // grows inside its reserved room only
};

// Two-dimensional table, row-major, with valid indices 0..rows()-1 and 0..columns()-1. It
// grows by whole rows.
template <class T>
class Table2 {
 public:
  Table2(const char* name, int rows, int columns)
      : name_(name), rows_(std::max(rows, 0)), columns_(std::max(columns, 0)) {}
  Table2(const Table2& other) : name_(other.name_), rows_(other.rows_), columns_(other.columns_) {
    copy_entries(other);
  }
  Table2& operator=(const Table2& other) {
    if (this == &other) return *this;
    if (other.rows_ != rows_ || other.columns_ != columns_) data_ = std::vector<T>();
    name_ = other.name_;
    rows_ = other.rows_;
    columns_ = other.columns_;
    copy_entries(other);
    return *this;
  }
  Table2(Table2&&) noexcept = default;
  Table2& operator=(Table2&&) noexcept = default;

  T& operator()(long row, long column) { return data_[offset(row, column)]; }
  const T& operator()(long row, long column) const { return data_[offset(row, column)]; }

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  // The flat array of one row's columns() entries.
  T* row_data(long row) { return &data_[offset(row, 0)]; }
  const T* row_data(long row) const { return &data_[offset(row, 0)]; }
  // Every entry reads as T() again. Pointers taken from row_data() before must be taken again.
  void clear() {
    data_.clear();
    filled_rows_ = 0;
  }

 private:
  std::size_t offset(long row, long column) const {
    if (static_cast<unsigned long>(row) >= static_cast<unsigned long>(filled_rows_)) grow(row);
    if (static_cast<unsigned long>(column) >= static_cast<unsigned long>(columns_)) {
      throw_subscript_error(name_, column);
    }
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(column);
  }

  // Brings rows up to `row` into being; the row check of every access.
  [[gnu::noinline]] void grow(long row) const {
    if (row < 0 || row >= rows_) throw_subscript_error(name_, row);
    filled_rows_ =
        static_cast<int>(std::min<long>(std::max<long>(row + 1, 2L * filled_rows_), rows_));
    data_.reserve(room());
    data_.resize(static_cast<std::size_t>(filled_rows_) * static_cast<std::size_t>(columns_));
  }
  std::size_t room() const {
    return static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_);
  }
  void copy_entries(const Table2& other) {
    data_.clear();
    filled_rows_ = other.filled_rows_;
    if (other.data_.empty()) return;
    data_.reserve(room());
    data_.assign(other.data_.begin(), other.data_.end());
  }

  const char* name_;
  int rows_;
  int columns_;
  mutable int filled_rows_ = 0;
  mutable std::vector<T> data_;  // grows inside its reserved room only
};

}  // namespace ostrel
