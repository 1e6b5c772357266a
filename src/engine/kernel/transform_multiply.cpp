#include "kernel/transform_multiply.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <vector>

namespace ovn::kernel {
namespace {

// Why two primes are enough: coefficient k of the product is a sum of at most min(an, bn) limb products,
// each below Base^2 <= 2^64, so it is below min(an, bn) 2^64. Both primes are above 2^61.9, their product
// above 2^123.8, which exceeds every coefficient while min(an, bn) < 2^59: the remainders modulo the two
// primes then determine each coefficient exactly. Both primes are c 2^50 + 1, so transforms up to
// 2^50 points exist, far beyond any length the engines reach.
__extension__ using Wide = unsigned __int128;
using Word = std::uint64_t;

constexpr int kRootOrderBits = 50;

// A factor w of the transforms with its quotient floor(w 2^64 / p), computed once, from which a product
// by w needs no reduction step of its own (Shoup's method).
struct Twiddle {
  Word value;
  Word quotient;
};

// Arithmetic modulo an odd prime p < 2^62: general products in Montgomery form (x R mod p for R = 2^64,
// three machine multiplications and no division), products by a known factor by Shoup's method. As
// 4p < 2^64, the transforms may leave values in [0, 2p) or [0, 4p) and reduce them only where needed.
class Prime {
 public:
  constexpr Prime(Word p, Word generator)
      : p_(p),
        inverse_(inverse_of(p)),
        one_(static_cast<Word>((Wide{1} << 64) % p)),
        r_squared_(static_cast<Word>(Wide{one_} * one_ % p)),
        generator_(generator) {}

  constexpr Word value() const { return p_; }
  constexpr Word one() const { return one_; }

  // a b / R mod p, below p, for a, b < 2p (then a b < p R).
  constexpr Word multiply(Word a, Word b) const {
    const Wide t = Wide{a} * b;
    const Word m = static_cast<Word>(t) * inverse_;  // m p has the low word of t, so t - m p ends in zeros
    const auto high = static_cast<Word>(t >> 64);
    const auto mp_high = static_cast<Word>((Wide{m} * p_) >> 64);
    return reduce_signed(high - mp_high);
  }
  constexpr Word subtract(Word a, Word b) const { return reduce_signed(a - b); }

  // x w mod p, in [0, 2p), for any x: the estimated quotient is at most one short.
  Word multiply(Word x, const Twiddle& w) const {
    const auto quotient = static_cast<Word>((Wide{x} * w.quotient) >> 64);
    return x * w.value - quotient * p_;
  }
  // w < p for products by Shoup's method.
  Twiddle twiddle(Word w) const { return {w, static_cast<Word>((Wide{w} << 64) / p_)}; }

  constexpr Word to_montgomery(Word x) const { return multiply(x, r_squared_); }
  constexpr Word from_montgomery(Word x) const { return multiply(x, 1); }
  // base^e for base and result in Montgomery form.
  constexpr Word power(Word base, Word e) const {
    Word result = one_;
    for (; e != 0; e /= 2) {
      if (e % 2 != 0) result = multiply(result, base);
      base = multiply(base, base);
    }
    return result;
  }
  // A root of unity of order n, a power of two up to 2^50, in Montgomery form.
  constexpr Word root(Word n) const { return power(to_montgomery(generator_), (p_ - 1) / n); }
  // The factor that turns the pointwise Montgomery product of two transforms of length n into the
  // transform of the product, divided by n ahead of the inverse transform: R / n.
  Twiddle pointwise_scale(Word n) const {
    const Word n_inverse = p_ - (p_ - 1) / n;  // n (p - 1) / n = p - 1 = -1
    return twiddle(static_cast<Word>(Wide{n_inverse} * one_ % p_));
  }

 private:
  // x + p if x, taken as signed, is in [-p, 0), else x: without a branch, as the outcome is a coin toss in
  // the transforms and a mispredicted branch would cost more than the arithmetic.
  constexpr Word reduce_signed(Word x) const {
    return x + (p_ & static_cast<Word>(static_cast<std::int64_t>(x) >> 63));
  }

  // p^-1 modulo 2^64 by Newton's iteration; each step doubles the correct low bits (3 to begin with).
  static constexpr Word inverse_of(Word p) {
    Word inverse = p;
    for (int step = 0; step < 5; ++step) inverse *= 2 - p * inverse;
    return inverse;
  }

  Word p_;
  Word inverse_;
  Word one_;
  Word r_squared_;
  Word generator_;
};

// 4038 2^50 + 1 and 4087 2^50 + 1, with primitive roots 10 and 3; the first is the smaller.
constexpr Prime kFirst(4546383823830515713U, 10);
constexpr Prime kSecond(4601552919265804289U, 3);
static_assert(kFirst.value() < kSecond.value() && Wide{kFirst.value()} * kSecond.value() > Wide{1} << 123);
// The roots of order 2^50 are true ones: their 2^49th power is -1, not 1.
constexpr bool has_full_root_order(const Prime& prime) {
  const Word half_order = Word{1} << (kRootOrderBits - 1);
  return prime.power(prime.root(2 * half_order), half_order) == prime.value() - prime.one();
}
static_assert(has_full_root_order(kFirst) && has_full_root_order(kSecond));

// The factors of every level of a transform of length n (n >= 2): entry half + j is w^j, for j < half,
// where w is the root of order 2 half derived from root (of order n, in Montgomery form). Entry 0 is
// unused. An entry depends on half and j only, so the table for n points starts the table for more points.
std::vector<Twiddle> twiddles(const Prime& prime, std::size_t n, Word root) {
  std::vector<Twiddle> table(n);
  const std::size_t top = n / 2;
  Word power = prime.one();
  for (std::size_t j = 0; j < top; ++j) {
    table[top + j] = prime.twiddle(prime.from_montgomery(power));
    power = prime.multiply(power, root);
  }
  for (std::size_t half = top / 2; half >= 1; half /= 2) {
    for (std::size_t j = 0; j < half; ++j) table[half + j] = table[2 * half + 2 * j];
  }
  return table;
}

// x - m if x >= m, else x; for x < 2m.
Word reduce_once(Word x, Word m) {
  return std::min(x, x - m);
}

// The twiddle factors of one prime for both directions. Each thread keeps the longest tables it has
// needed, and the longest work space: building tables, and above all touching fresh pages, costs more
// than the transforms themselves when every product allocates anew.
struct TransformTables {
  std::vector<Twiddle> forward;
  std::vector<Twiddle> inverse;

  // Makes the tables cover transforms of n points.
  void reserve(const Prime& prime, std::size_t n) {
    if (forward.size() >= n) return;
    const Word root = prime.root(n);
    forward = twiddles(prime, n, root);
    inverse = twiddles(prime, n, prime.power(root, n - 1));
  }
};
thread_local TransformTables first_tables;
thread_local TransformTables second_tables;
thread_local std::vector<Word> work_space;

// Decimation in frequency: x in natural order becomes its transform in bit-reversed order. Values in
// [0, 2p) stay there.
void forward_transform(const Prime& prime, Word* x, std::size_t n, const Twiddle* twiddle) {
  const Word twice = 2 * prime.value();
  for (std::size_t half = n / 2; half >= 2; half /= 2) {
    const Twiddle* w = twiddle + half;
    for (Word* low = x; low != x + n; low += 2 * half) {
      Word* high = low + half;
      for (std::size_t j = 0; j < half; ++j) {
        const Word u = low[j];
        const Word v = high[j];
        low[j] = reduce_once(u + v, twice);
        high[j] = prime.multiply(u - v + twice, w[j]);
      }
    }
  }
  // The last level's only factor is 1.
  for (Word* pair = x; pair != x + n; pair += 2) {
    const Word u = pair[0];
    const Word v = pair[1];
    pair[0] = reduce_once(u + v, twice);
    pair[1] = reduce_once(u - v + twice, twice);
  }
}

// Decimation in time with the inverse roots: undoes forward_transform, times n. Values in [0, 4p) stay
// there.
void inverse_transform(const Prime& prime, Word* x, std::size_t n, const Twiddle* twiddle) {
  const Word twice = 2 * prime.value();
  // The first level's only factor is 1.
  for (Word* pair = x; pair != x + n; pair += 2) {
    const Word u = reduce_once(pair[0], twice);
    const Word v = reduce_once(pair[1], twice);
    pair[0] = u + v;
    pair[1] = u - v + twice;
  }
  for (std::size_t half = 2; half < n; half *= 2) {
    const Twiddle* w = twiddle + half;
    for (Word* low = x; low != x + n; low += 2 * half) {
      Word* high = low + half;
      for (std::size_t j = 0; j < half; ++j) {
        const Word u = reduce_once(low[j], twice);
        const Word v = prime.multiply(high[j], w[j]);
        low[j] = u + v;
        high[j] = u - v + twice;
      }
    }
  }
}

// c[0..n) = the coefficients of a b modulo the prime, reduced, for n >= an + bn - 1 a power of two;
// b_transform is n words of work space, unused when square.
void convolve(const Prime& prime, TransformTables& tables, Word* c, Word* b_transform, const Limb* a,
              std::size_t an, const Limb* b, std::size_t bn, std::size_t n, bool square) {
  tables.reserve(prime, n);
  std::fill(std::copy_n(a, an, c), c + n, 0);
  forward_transform(prime, c, n, tables.forward.data());
  if (square) {
    b_transform = c;
  } else {
    std::fill(std::copy_n(b, bn, b_transform), b_transform + n, 0);
    forward_transform(prime, b_transform, n, tables.forward.data());
  }
  const Twiddle scale = prime.pointwise_scale(n);
  for (std::size_t i = 0; i < n; ++i) c[i] = prime.multiply(prime.multiply(c[i], b_transform[i]), scale);
  inverse_transform(prime, c, n, tables.inverse.data());
  const Word p = prime.value();
  for (std::size_t i = 0; i < n; ++i) c[i] = reduce_once(reduce_once(c[i], 2 * p), p);
}

// The low limb of value, which then keeps the rest. Radix 10^9 requires value < 10^9 2^64, so that the
// division goes by two 64-bit steps of 32 bits each.
template <std::uint64_t Base>
Limb take_limb(Wide& value) {
  if constexpr (Base == kBinaryBase) {
    const auto limb = static_cast<Limb>(value);
    value >>= 32;
    return limb;
  } else {
    const auto high = static_cast<Word>(value >> 64);
    const auto low = static_cast<Word>(value);
    assert(high < Base);
    const Word upper = high << 32 | low >> 32;
    const Word lower = upper % Base << 32 | (low & 0xffff'ffffU);
    value = Wide{upper / Base} << 32 | lower / Base;
    return static_cast<Limb>(lower % Base);
  }
}

// r[0..rn) = the coefficients c[k] < first second, known by their remainders first_c[k] and second_c[k]
// for k < rn - 1, carried into limbs: c[k] = first_c[k] + first t with t = (second_c[k] - first_c[k]) /
// first modulo second (first_c[k] < first < second needs no reduction), and indeed first_c[k] + first t
// <= first - 1 + first (second - 1) < first second.
template <std::uint64_t Base>
void combine(Limb* r, std::size_t rn, const Word* first_c, const Word* second_c) {
  constexpr Word kFirstInverse = kSecond.power(kSecond.to_montgomery(kFirst.value()), kSecond.value() - 2);
  // Every partial sum stays below the bound that take_limb needs: c[k] < min(an, bn) 2^64 and the carry
  // is below twice c[k] / Base.
  Wide value = 0;
  for (std::size_t k = 0; k + 1 < rn; ++k) {
    const Word t = kSecond.multiply(kSecond.subtract(second_c[k], first_c[k]), kFirstInverse);
    value += Wide{kFirst.value()} * t + first_c[k];
    r[k] = take_limb<Base>(value);
  }
  r[rn - 1] = take_limb<Base>(value);
  assert(value == 0);
}

}  // namespace

template <std::uint64_t Base>
void multiply_transform(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn) {
  const bool square = a == b && an == bn;
  const std::size_t n = std::bit_ceil(std::max<std::size_t>(an + bn - 1, 2));
  assert(n <= std::size_t{1} << kRootOrderBits);
  if (work_space.size() < 3 * n) work_space.resize(3 * n);
  Word* work = work_space.data();
  convolve(kFirst, first_tables, work, work + 2 * n, a, an, b, bn, n, square);
  convolve(kSecond, second_tables, work + n, work + 2 * n, a, an, b, bn, n, square);
  combine<Base>(r, an + bn, work, work + n);
}

template void multiply_transform<kDecimalBase>(Limb*, const Limb*, std::size_t, const Limb*, std::size_t);
template void multiply_transform<kBinaryBase>(Limb*, const Limb*, std::size_t, const Limb*, std::size_t);

}  // namespace ovn::kernel
