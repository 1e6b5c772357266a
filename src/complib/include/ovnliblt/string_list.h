// StringList: an ordered list of strings, items 1..Count. The controller passes the operands of the
// multi-operand operations to the engines in one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ovnliblt/component.h"
#include "ovnliblt/export.h"

namespace ovn {

class OVNLIBLT_API StringList : public Component {
 public:
  static constexpr std::string_view kClassName = "StringList";

  std::string_view ClassName() const noexcept override { return kClassName; }

  // All elements, element 0 included, with Separator between neighbours: a filled list's text starts
  // with Separator, because element 0 is empty. A list with no array gives "".
  std::string GetTextExpression(const std::string& Separator) const;
  // Replaces the items with the pieces of Value cut at Separator (exact comparison) and returns "".
  // An empty Value leaves the list as it was; an empty Separator gives one piece, Value itself.
  // More than 32,767 pieces raise error 6 and leave the list as it was.
  std::string LoadText(const std::string& Value, const std::string& Separator);
  // Replaces element Index; an Index that names no element is ignored.
  void NewValue(std::string Value, std::int16_t Index);
  // Element Index; 0 gives element 0 (empty unless NewValue wrote it). No such element: error 9.
  const std::string& Item(std::int16_t Index) const;
  // Releases the array: Count 0, and Item fails even for Index 0.
  void Clear();
  // Blanks element Index (none such: error 9), then drops every empty item, not only that one.
  void Remove(std::int16_t Index);
  // Appends Value as item Count + 1; a list of 32,767 items raises error 6.
  void Add(std::string Value);

  std::int16_t Count() const noexcept;
  // Accepted and ignored: only Add, LoadText, Remove and Clear change the number of items.
  void Count(std::int16_t /*vData*/) noexcept {}

 private:
  // Element 0 and items 1..Count, or nothing at all before the first Add and after Clear.
  std::vector<std::string> mCol;
};

}  // namespace ovn
