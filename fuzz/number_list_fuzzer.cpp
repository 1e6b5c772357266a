// The number-list reader. The first byte picks the file name (plain or framed) and the kind of list (a
// number file, or the memory list: never framed, values verbatim); the rest is the file. Whatever the file holds, the records read
// from it, written again and read back, are the same records, with no error and no warning.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/number_list_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char* file = (data[0] & 1) != 0 ? "list.osv" : "list.num";
  const ovn::ListKind kind = (data[0] & 2) != 0 ? ovn::ListKind::kMemoryList : ovn::ListKind::kNumberFile;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  const ovn::NumberListContent read = ovn::ParseNumberList(text, file, kind);
  if (!read.error.empty()) return 0;
  const ovn::NumberListContent again =
      ovn::ParseNumberList(ovn::FormatNumberList(read.records, file, kind), file, kind);
  ovn::fuzz::Require(again.error.empty() && again.warning.empty(), "a written list reads back cleanly");
  ovn::fuzz::Require(again.records == read.records, "a written list reads back as the same records");
  return 0;
}
