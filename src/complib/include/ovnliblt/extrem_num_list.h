// ExtremNumList: an ordered list of ExtremNum references, items 1..Count. It stores the objects it is
// given, not copies: Item returns the very object that was added, and the list keeps it alive.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "ovnliblt/component.h"
#include "ovnliblt/export.h"
#include "ovnliblt/extrem_num.h"

namespace ovn {

class OVNLIBLT_API ExtremNumList : public Component {
 public:
  static constexpr std::string_view kClassName = "ExtremNumList";

  std::string_view ClassName() const noexcept override { return kClassName; }

  // Replaces the reference in element Index; an Index that names no element is ignored.
  void NewValue(std::shared_ptr<ExtremNum> Value, std::int16_t Index);
  // The reference in element Index; 0 gives no object (unless NewValue wrote one). No such element: error 9.
  std::shared_ptr<ExtremNum> Item(std::int16_t Index) const;
  // Releases the array and every reference in it.
  void Clear();
  // Removes item Index (1..Count, else error 9); the items after it move up by one.
  void Remove(std::int16_t Index);
  // Appends Value as item Count + 1; a list of 32,767 items raises error 6.
  void Add(std::shared_ptr<ExtremNum> Value);

  std::int16_t Count() const noexcept;
  // Accepted and ignored: only Add, Remove and Clear change the number of items.
  void Count(std::int16_t /*vData*/) noexcept {}

 private:
  // Element 0 and items 1..Count, or nothing at all before the first Add and after Clear.
  std::vector<std::shared_ptr<ExtremNum>> mCol;
};

}  // namespace ovn
