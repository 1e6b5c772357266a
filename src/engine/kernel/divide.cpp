#include "kernel/divide.h"

#include <cassert>

#include "kernel/limbs.h"
#include "kernel/multiply.h"

namespace ovn::kernel {
namespace {

// The quotient limb of the window a[0..dn] by d, for a[1..dn] < d: estimated from the top two limbs of
// each (Knuth's test leaves it at most one too large), then multiplied out and subtracted.
template <std::uint64_t Base>
Limb divide_window(Limb* a, const Limb* d, std::size_t dn) {
  const std::uint64_t d1 = d[dn - 1];
  const std::uint64_t d0 = d[dn - 2];
  const std::uint64_t top = std::uint64_t{a[dn]} * Base + a[dn - 1];  // below Base^2
  std::uint64_t estimate = 0;
  std::uint64_t rest = 0;
  if (a[dn] >= d1) {  // then a[dn] == d1 and the estimate would reach Base
    estimate = Base - 1;
    rest = top - estimate * d1;
  } else {
    estimate = top / d1;
    rest = top % d1;
  }
  while (rest < Base && estimate * d0 > rest * Base + a[dn - 2]) {
    --estimate;
    rest += d1;
  }
  const Limb borrow = submul_1<Base>(a, d, dn, static_cast<Limb>(estimate));
  if (borrow > a[dn]) {  // one too large: the window went below zero
    --estimate;
    add_n<Base>(a, a, d, dn);
  }
  a[dn] = 0;
  return static_cast<Limb>(estimate);
}

// Divides a[0..dn+qn) by d for qn <= dn; the quotient's qn low limbs go to q, its top limb is returned.
template <std::uint64_t Base>
Limb divide_block(Limb* q, Limb* a, const Limb* d, std::size_t dn, std::size_t qn, Limb* scratch) {
  if (qn < kDivideRecursiveThreshold<Base>) return divide_schoolbook<Base>(q, a, dn + qn, d, dn);
  return divide_recursive<Base>(q, a, dn + qn, d, dn, scratch);
}

}  // namespace

template <std::uint64_t Base>
Limb divide_schoolbook(Limb* q, Limb* a, std::size_t an, const Limb* d, std::size_t dn) {
  assert(dn >= 2 && an >= dn && d[dn - 1] >= Base / 2);
  const std::size_t qn = an - dn;
  const Limb high = compare_n(a + qn, d, dn) >= 0;
  if (high != 0) sub_n<Base>(a + qn, a + qn, d, dn);
  for (std::size_t j = qn; j-- > 0;) q[j] = divide_window<Base>(a + j, d, dn);
  return high;
}

template <std::uint64_t Base>
Limb divide_recursive(Limb* q, Limb* a, std::size_t an, const Limb* d, std::size_t dn, Limb* scratch) {
  const std::size_t qn = an - dn;
  assert(qn >= 4 && qn <= dn && d[dn - 1] >= Base / 2);
  if (qn < dn) {
    // Estimate from the top qn limbs of d (never more than 2 too large, d being normalised), then take
    // the quotient times the skipped low limbs of d off the remainder.
    const std::size_t skipped = dn - qn;
    Limb high = divide_block<Base>(q, a + skipped, d + skipped, qn, qn, scratch);
    Limb* product = scratch;
    multiply<Base>(product, q, qn, d, skipped, scratch + dn);
    Limb borrow = sub_n<Base>(a, a, product, dn);
    if (high != 0) borrow += sub_n<Base>(a + qn, a + qn, d, skipped);
    while (borrow != 0) {
      high -= sub_1<Base>(q, q, qn, 1);
      borrow -= add_n<Base>(a, a, d, dn);
    }
    return high;
  }
  // The upper half of the quotient, then the lower half from its remainder (whose top limb is then 0).
  const std::size_t low = qn / 2;
  const Limb high = divide_recursive<Base>(q + low, a + low, dn + qn - low, d, dn, scratch);
  [[maybe_unused]] const Limb none = divide_recursive<Base>(q, a, dn + low, d, dn, scratch);
  assert(none == 0);
  return high;
}

template <std::uint64_t Base>
Limb divide(Limb* q, Limb* a, std::size_t an, const Limb* d, std::size_t dn, Limb* scratch) {
  assert(dn >= 2 && an >= dn && d[dn - 1] >= Base / 2);
  const std::size_t qn = an - dn;
  if (qn < kDivideRecursiveThreshold<Base> || dn < kDivideRecursiveThreshold<Base>) {
    return divide_schoolbook<Base>(q, a, an, d, dn);
  }
  // Quotient blocks of dn limbs from the top, the shortest first; each block's remainder is the top of
  // the next block's dividend.
  std::size_t position = qn - (qn % dn == 0 ? dn : qn % dn);
  const Limb high = divide_block<Base>(q + position, a + position, d, dn, qn - position, scratch);
  while (position > 0) {
    position -= dn;
    [[maybe_unused]] const Limb none = divide_block<Base>(q + position, a + position, d, dn, dn, scratch);
    assert(none == 0);
  }
  return high;
}

#define OVN_INSTANTIATE_DIVIDE(Base)                                                          \
  template Limb divide<Base>(Limb*, Limb*, std::size_t, const Limb*, std::size_t, Limb*);     \
  template Limb divide_schoolbook<Base>(Limb*, Limb*, std::size_t, const Limb*, std::size_t); \
  template Limb divide_recursive<Base>(Limb*, Limb*, std::size_t, const Limb*, std::size_t, Limb*);

OVN_INSTANTIATE_DIVIDE(kDecimalBase)
OVN_INSTANTIATE_DIVIDE(kBinaryBase)

}  // namespace ovn::kernel
