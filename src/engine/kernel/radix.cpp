#include "kernel/radix.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "kernel/limbs.h"

namespace ovn::kernel {
namespace {

constexpr Limb kBillion = 1'000'000'000;

// (10^9)^(2^k) in radix 2^32, the split points of both conversions. Computed on first use by squaring
// and kept for the life of the process; the entries never move, so a reference stays valid.
const BinaryNatural& BinaryPower(std::size_t k) {
  static std::mutex mutex;
  static std::vector<std::unique_ptr<const BinaryNatural>> powers;
  const std::lock_guard lock(mutex);
  while (powers.size() <= k) {
    powers.push_back(std::make_unique<const BinaryNatural>(powers.empty() ? BinaryNatural(kBillion)
                                                                          : *powers.back() * *powers.back()));
  }
  return *powers[k];
}

// Reports the share of a conversion done, counting every limb once per level of the recursion it passes.
class WorkTracker {
 public:
  WorkTracker(const StepHook& hook, std::size_t limbs) : hook_(hook) {
    const double levels = std::log2(static_cast<double>(limbs) / kRadixSplitThreshold + 1.0) + 1.0;
    total_ = static_cast<double>(limbs) * levels;
  }
  void Done(std::size_t limbs) {
    if (!hook_) return;
    done_ += static_cast<double>(limbs);
    hook_(std::min(done_ / total_, 1.0));
  }

 private:
  const StepHook& hook_;
  double total_ = 1.0;
  double done_ = 0.0;
};

// Horner's rule over the decimal limbs, most significant first: n multiplications by 10^9 of a growing
// binary number.
BinaryNatural DecimalLimbsToBinary(std::span<const Limb> digits) {
  std::vector<Limb> binary(digits.size() + 1, 0);
  std::size_t used = 0;
  for (auto limb = digits.rbegin(); limb != digits.rend(); ++limb) {
    const Limb high = mul_1<kBinaryBase>(binary.data(), binary.data(), used, kBillion, *limb);
    if (high != 0) binary[used++] = high;
  }
  binary.resize(used);
  return BinaryNatural::FromLimbs(std::move(binary));
}

BinaryNatural PieceToBinary(std::span<const Limb> digits, WorkTracker& tracker) {
  if (digits.size() <= kRadixSplitThreshold) return DecimalLimbsToBinary(digits);
  // Split at the largest power (10^9)^(2^k) below the top limb: value = high * 10^(9 * 2^k) + low.
  std::size_t k = 0;
  while ((std::size_t{2} << k) < digits.size()) ++k;
  const std::size_t split = std::size_t{1} << k;
  const BinaryNatural low = PieceToBinary(digits.first(split), tracker);
  const BinaryNatural high = PieceToBinary(digits.subspan(split), tracker);
  BinaryNatural value = high * BinaryPower(k) + low;
  tracker.Done(digits.size());
  return value;
}

// Repeated division by 10^9; the limbs go to out from the least significant, which has room for them.
void BinaryToDecimalLimbs(const BinaryNatural& value, Limb* out) {
  std::vector<Limb> rest(value.limbs().begin(), value.limbs().end());
  std::size_t used = rest.size();
  while (used > 0) {
    *out++ = divrem_1<kBinaryBase>(rest.data(), rest.data(), used, kBillion);
    used = significant_size(rest.data(), used);
  }
}

// Writes the decimal limbs of value to out[0..), which is zeroed and long enough.
void PieceToDecimal(const BinaryNatural& value, Limb* out, WorkTracker& tracker) {
  if (value.size() <= kRadixSplitThreshold) {
    BinaryToDecimalLimbs(value, out);
    return;
  }
  // The largest power whose length is at most half the value's: the quotient and the remainder then
  // both have about half the limbs, and the remainder below 10^(9 * 2^k) fills exactly 2^k limbs.
  std::size_t k = 0;
  while (2 * BinaryPower(k + 1).size() <= value.size() + 1) ++k;
  const auto [quotient, remainder] = DivMod(value, BinaryPower(k));
  PieceToDecimal(remainder, out, tracker);
  PieceToDecimal(quotient, out + (std::size_t{1} << k), tracker);
  tracker.Done(value.size());
}

}  // namespace

BinaryNatural ToBinary(const DecimalNatural& value, const StepHook& on_step) {
  WorkTracker tracker(on_step, value.size());
  return PieceToBinary(value.limbs(), tracker);
}

DecimalNatural ToDecimal(const BinaryNatural& value, const StepHook& on_step) {
  // 2^32 < 10^(9 * 1.0704), so n binary limbs need at most 1.0704 n + 1 decimal limbs.
  std::vector<Limb> decimal(value.size() + value.size() / 8 + 2, 0);
  WorkTracker tracker(on_step, value.size());
  PieceToDecimal(value, decimal.data(), tracker);
  return DecimalNatural::FromLimbs(std::move(decimal));
}

}  // namespace ovn::kernel
