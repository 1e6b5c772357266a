#include "ovnliblt/string_list.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "item_array.h"

namespace ovn {

namespace {

// Appends the pieces of value cut at every separator to col; more than 32,767 pieces raise error 6
// before col has grown past that.
void AppendPieces(const std::string& value, const std::string& separator, std::vector<std::string>& col) {
  if (separator.empty()) {
    col.push_back(value);
    return;
  }
  std::size_t start = 0;
  for (;;) {
    if (detail::UpperBound(col) == detail::kMaxItems) detail::RaiseTooManyItems("StringList.LoadText");
    const std::size_t end = value.find(separator, start);
    if (end == std::string::npos) break;
    col.emplace_back(value, start, end - start);
    start = end + separator.size();
  }
  col.emplace_back(value, start);
}

}  // namespace

std::string StringList::GetTextExpression(const std::string& Separator) const {
  std::string text;
  if (mCol.empty()) return text;
  std::size_t length = Separator.size() * (mCol.size() - 1);
  for (const std::string& element : mCol) length += element.size();
  text.reserve(length);
  text = mCol.front();
  for (std::size_t i = 1; i < mCol.size(); ++i) {
    text += Separator;
    text += mCol[i];
  }
  return text;
}

std::string StringList::LoadText(const std::string& Value, const std::string& Separator) {
  if (Value.empty()) return {};
  std::vector<std::string> col(1);
  AppendPieces(Value, Separator, col);
  if (!mCol.empty()) col.front() = std::move(mCol.front());  // element 0 keeps its content
  mCol = std::move(col);
  return {};
}

void StringList::NewValue(std::string Value, std::int16_t Index) {
  detail::ReplaceIfPresent(mCol, std::move(Value), Index);
}

const std::string& StringList::Item(std::int16_t Index) const {
  detail::RequireElement(mCol, Index, "StringList.Item");
  return mCol[static_cast<std::size_t>(Index)];
}

void StringList::Clear() {
  detail::ReleaseArray(mCol);
}

void StringList::Remove(std::int16_t Index) {
  detail::RequireElement(mCol, Index, "StringList.Remove");
  mCol[static_cast<std::size_t>(Index)].clear();
  // An empty item is a hole: every one goes, not only the item just blanked.
  const auto holes =
      std::remove_if(mCol.begin() + 1, mCol.end(), [](const std::string& item) { return item.empty(); });
  mCol.erase(holes, mCol.end());
}

void StringList::Add(std::string Value) {
  detail::AppendItem(mCol, std::move(Value), "StringList.Add");
}

std::int16_t StringList::Count() const noexcept {
  return detail::UpperBound(mCol);
}

}  // namespace ovn
