#include "ovnliblt/extrem_num_list.h"

#include <cstddef>
#include <utility>

#include "item_array.h"

namespace ovn {

void ExtremNumList::NewValue(std::shared_ptr<ExtremNum> Value, std::int16_t Index) {
  detail::ReplaceIfPresent(mCol, std::move(Value), Index);
}

std::shared_ptr<ExtremNum> ExtremNumList::Item(std::int16_t Index) const {
  detail::RequireElement(mCol, Index, "ExtremNumList.Item");
  return mCol[static_cast<std::size_t>(Index)];
}

void ExtremNumList::Clear() {
  detail::ReleaseArray(mCol);
}

void ExtremNumList::Remove(std::int16_t Index) {
  // Element 0 is not an item, so it cannot be removed.
  if (Index == 0) detail::RaiseIndexOutOfRange("ExtremNumList.Remove", Index, Count());
  detail::RequireElement(mCol, Index, "ExtremNumList.Remove");
  mCol.erase(mCol.begin() + Index);
}

void ExtremNumList::Add(std::shared_ptr<ExtremNum> Value) {
  detail::AppendItem(mCol, std::move(Value), "ExtremNumList.Add");
}

std::int16_t ExtremNumList::Count() const noexcept {
  return detail::UpperBound(mCol);
}

}  // namespace ovn
