// What a fuzz target does when a property fails: say which, then crash, so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace ovn::fuzz {

inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property failed: %s\n", property);
  std::abort();
}

}  // namespace ovn::fuzz
