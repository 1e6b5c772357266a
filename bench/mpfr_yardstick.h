// An MPFR value that clears itself, for the benchmarks that hold our results against MPFR's.
#pragma once

#include <mpfr.h>

namespace bench {

struct Mpfr {
  explicit Mpfr(mpfr_prec_t bits) { mpfr_init2(value, bits); }
  ~Mpfr() { mpfr_clear(value); }
  Mpfr(const Mpfr&) = delete;
  Mpfr& operator=(const Mpfr&) = delete;
  mpfr_t value;
};

}  // namespace bench
