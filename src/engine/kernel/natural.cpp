#include "kernel/natural.h"

#include <algorithm>
#include <cassert>

#include "kernel/divide.h"
#include "kernel/limbs.h"
#include "kernel/multiply.h"

namespace ovn::kernel {
namespace {

void trim(std::vector<Limb>& limbs) {
  limbs.resize(significant_size(limbs.data(), limbs.size()));
}

}  // namespace

template <std::uint64_t Base>
Natural<Base>::Natural(std::uint64_t value) {
  for (; value != 0; value /= Base) limbs_.push_back(static_cast<Limb>(value % Base));
}

template <std::uint64_t Base>
Natural<Base> Natural<Base>::FromLimbs(std::vector<Limb> limbs) {
  assert(std::all_of(limbs.begin(), limbs.end(), [](Limb limb) { return limb < Base; }));
  trim(limbs);
  Natural result;
  result.limbs_ = std::move(limbs);
  return result;
}

template <std::uint64_t Base>
std::uint64_t Natural<Base>::low_u64() const noexcept {
  std::uint64_t value = 0;
  for (auto limb = limbs_.rbegin(); limb != limbs_.rend(); ++limb) value = value * Base + *limb;  // mod 2^64
  return value;
}

template <std::uint64_t Base>
std::strong_ordering operator<=>(const Natural<Base>& a, const Natural<Base>& b) noexcept {
  if (a.size() != b.size()) return a.size() <=> b.size();
  return compare_n(a.limbs().data(), b.limbs().data(), a.size()) <=> 0;
}

template <std::uint64_t Base>
Natural<Base> operator+(const Natural<Base>& a, const Natural<Base>& b) {
  const auto& longer = a.size() >= b.size() ? a : b;
  const auto& shorter = a.size() >= b.size() ? b : a;
  std::vector<Limb> sum(longer.size() + 1);
  sum.back() =
      add<Base>(sum.data(), longer.limbs().data(), longer.size(), shorter.limbs().data(), shorter.size());
  return Natural<Base>::FromLimbs(std::move(sum));
}

template <std::uint64_t Base>
Natural<Base> operator-(const Natural<Base>& a, const Natural<Base>& b) {
  assert(a >= b);
  std::vector<Limb> difference(a.size());
  sub<Base>(difference.data(), a.limbs().data(), a.size(), b.limbs().data(), b.size());
  return Natural<Base>::FromLimbs(std::move(difference));
}

template <std::uint64_t Base>
Natural<Base> operator*(const Natural<Base>& a, const Natural<Base>& b) {
  if (a.is_zero() || b.is_zero()) return {};
  std::vector<Limb> product(a.size() + b.size());
  std::vector<Limb> scratch(multiply_scratch_size(std::max(a.size(), b.size())));
  // The same object twice is a square, which multiply() recognises by the equal ranges.
  multiply<Base>(product.data(), a.limbs().data(), a.size(), b.limbs().data(), b.size(), scratch.data());
  return Natural<Base>::FromLimbs(std::move(product));
}

template <std::uint64_t Base>
QuotientRemainder<Base> DivMod(const Natural<Base>& dividend, const Natural<Base>& divisor) {
  assert(!divisor.is_zero());
  if (dividend < divisor) return {Natural<Base>{}, dividend};
  const std::size_t an = dividend.size();
  const std::size_t dn = divisor.size();
  std::vector<Limb> quotient(an - dn + 1);
  if (dn == 1) {
    const Limb rest = divrem_1<Base>(quotient.data(), dividend.limbs().data(), an, divisor.limbs()[0]);
    return {Natural<Base>::FromLimbs(std::move(quotient)), Natural<Base>(rest)};
  }
  // Scaling both by one limb brings the divisor's top limb to at least Base / 2 (Knuth's choice of
  // factor) and leaves the quotient alone; the dividend gains a top limb, so the quotient's top
  // limb from divide() is always 0.
  const auto factor = static_cast<Limb>(Base / (std::uint64_t{divisor.limbs()[dn - 1]} + 1));
  std::vector<Limb> d(dn);
  std::vector<Limb> a(an + 1);
  [[maybe_unused]] const Limb none = mul_1<Base>(d.data(), divisor.limbs().data(), dn, factor);
  assert(none == 0);
  a[an] = mul_1<Base>(a.data(), dividend.limbs().data(), an, factor);
  std::vector<Limb> scratch(divide_scratch_size(dn));
  [[maybe_unused]] const Limb high =
      divide<Base>(quotient.data(), a.data(), an + 1, d.data(), dn, scratch.data());
  assert(high == 0);
  a.resize(dn);
  [[maybe_unused]] const Limb exact = divrem_1<Base>(a.data(), a.data(), dn, factor);
  assert(exact == 0);
  return {Natural<Base>::FromLimbs(std::move(quotient)), Natural<Base>::FromLimbs(std::move(a))};
}

template <std::uint64_t Base>
Natural<Base> MulSmall(const Natural<Base>& a, Limb m, Limb addend) {
  assert(m < Base && addend < Base);
  std::vector<Limb> product(a.size() + 1);
  product.back() = mul_1<Base>(product.data(), a.limbs().data(), a.size(), m, addend);
  return Natural<Base>::FromLimbs(std::move(product));
}

template <std::uint64_t Base>
Natural<Base> ShiftLimbsLeft(const Natural<Base>& a, std::size_t count) {
  if (a.is_zero()) return {};
  std::vector<Limb> shifted(count + a.size());
  std::copy(a.limbs().begin(), a.limbs().end(), shifted.begin() + static_cast<std::ptrdiff_t>(count));
  return Natural<Base>::FromLimbs(std::move(shifted));
}

template <std::uint64_t Base>
Natural<Base> ShiftLimbsRight(const Natural<Base>& a, std::size_t count) {
  if (count >= a.size()) return {};
  return Natural<Base>::FromLimbs({a.limbs().begin() + static_cast<std::ptrdiff_t>(count), a.limbs().end()});
}

#define OVN_INSTANTIATE_NATURAL(Base)                                                             \
  template class Natural<Base>;                                                                   \
  template std::strong_ordering operator<=>(const Natural<Base>&, const Natural<Base>&) noexcept; \
  template Natural<Base> operator+(const Natural<Base>&, const Natural<Base>&);                   \
  template Natural<Base> operator-(const Natural<Base>&, const Natural<Base>&);                   \
  template Natural<Base> operator*(const Natural<Base>&, const Natural<Base>&);                   \
  template QuotientRemainder<Base> DivMod(const Natural<Base>&, const Natural<Base>&);            \
  template Natural<Base> MulSmall(const Natural<Base>&, Limb, Limb);                              \
  template Natural<Base> ShiftLimbsLeft(const Natural<Base>&, std::size_t);                       \
  template Natural<Base> ShiftLimbsRight(const Natural<Base>&, std::size_t);

OVN_INSTANTIATE_NATURAL(kDecimalBase)
OVN_INSTANTIATE_NATURAL(kBinaryBase)

}  // namespace ovn::kernel
