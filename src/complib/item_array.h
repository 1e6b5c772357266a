// The array both lists keep: element 0, which is never an item, then items 1..Count; or no array at all
// (an empty vector) before the first Add and after Clear. Count is 16-bit, so a list holds at most
// 32,767 items.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "ovnliblt/runtime_error.h"

namespace ovn::detail {

inline constexpr std::int16_t kMaxItems = std::numeric_limits<std::int16_t>::max();

template <class T>
std::int16_t UpperBound(const std::vector<T>& col) noexcept {
  return col.empty() ? 0 : static_cast<std::int16_t>(col.size() - 1);
}

template <class T>
bool HasElement(const std::vector<T>& col, std::int16_t index) noexcept {
  return index >= 0 && static_cast<std::size_t>(index) < col.size();
}

[[noreturn]] inline void RaiseIndexOutOfRange(const char* source, std::int16_t index, std::int16_t count) {
  throw RuntimeError(ErrorNumber::kIndexOutOfRange, source,
                     "Subscript out of range: index " + std::to_string(index) +
                         " names no item of a list of " + std::to_string(count));
}

template <class T>
void RequireElement(const std::vector<T>& col, std::int16_t index, const char* source) {
  if (!HasElement(col, index)) RaiseIndexOutOfRange(source, index, UpperBound(col));
}

template <class T>
void ReplaceIfPresent(std::vector<T>& col, T value, std::int16_t index) {
  if (HasElement(col, index)) col[static_cast<std::size_t>(index)] = std::move(value);
}

[[noreturn]] inline void RaiseTooManyItems(const char* source) {
  throw RuntimeError(ErrorNumber::kOverflow, source,
                     "Overflow: a list holds at most " + std::to_string(kMaxItems) + " items");
}

// Amortised O(1): the vector grows geometrically, never by one copy per call.
template <class T>
void AppendItem(std::vector<T>& col, T value, const char* source) {
  if (UpperBound(col) == kMaxItems) RaiseTooManyItems(source);
  if (col.empty()) col.emplace_back();  // element 0
  col.push_back(std::move(value));
}

template <class T>
void ReleaseArray(std::vector<T>& col) noexcept {
  col = std::vector<T>();  // frees the storage, unlike clear()
}

}  // namespace ovn::detail
