// Fixed-capacity tables of the model store. Every access is checked against the table's
// size; going past it throws the subscript run error ("Input file too large?") instead of
// touching memory that is not there. Hot loops take data() once and index the flat array.
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
  Table(const char* name, int size) : name_(name), data_(static_cast<std::size_t>(size)) {}

  T& operator()(long index) {
    if (index < 0 || index >= static_cast<long>(data_.size())) throw_subscript_error(name_, index);
    return data_[static_cast<std::size_t>(index)];
  }
  const T& operator()(long index) const {
    if (index < 0 || index >= static_cast<long>(data_.size())) throw_subscript_error(name_, index);
    return data_[static_cast<std::size_t>(index)];
  }

  int size() const { return static_cast<int>(data_.size()); }
  T* data() { return data_.data(); }
  const T* data() const { return data_.data(); }
  void fill(const T& value) { std::fill(data_.begin(), data_.end(), value); }
  const char* name() const { return name_; }

 private:
  const char* name_;
  std::vector<T> data_;
};

// Two-dimensional table, row-major, with valid indices 0..rows()-1 and 0..columns()-1.
template <class T>
class Table2 {
 public:
  Table2(const char* name, int rows, int columns)
      : name_(name),
        rows_(rows),
        columns_(columns),
        data_(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns)) {}

  T& operator()(long row, long column) { return data_[offset(row, column)]; }
  const T& operator()(long row, long column) const { return data_[offset(row, column)]; }

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  T* row_data(long row) { return &data_[offset(row, 0)]; }
  const T* row_data(long row) const { return &data_[offset(row, 0)]; }
  void fill(const T& value) { std::fill(data_.begin(), data_.end(), value); }

 private:
  std::size_t offset(long row, long column) const {
    if (row < 0 || row >= rows_) throw_subscript_error(name_, row);
    if (column < 0 || column >= columns_) throw_subscript_error(name_, column);
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(column);
  }

  const char* name_;
  int rows_;
  int columns_;
  std::vector<T> data_;
};

}  // namespace ostrel
