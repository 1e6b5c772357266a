#include "kernel/multiply.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <vector>

#include "kernel/limbs.h"
#include "kernel/transform_multiply.h"

namespace ovn::kernel {
namespace {

// Sums of limb products into 64-bit entries: entry k gets a[k - r] * m[r] for r < Rows, 0 <= k - r < n.
// Taking several rows per pass loads and stores each entry once for all of them.
template <std::size_t Rows, class Sink>
[[gnu::always_inline]] inline void add_rows(const Sink& sink, const Limb* a, std::size_t n, const Limb* m) {
  // The first and last Rows - 1 entries miss some of the products.
  const auto edge = [&](std::size_t k) {
    std::array<std::uint64_t, Rows> products{};
    for (std::size_t r = 0; r < Rows; ++r) {
      if (k >= r && k - r < n) products[r] = std::uint64_t{a[k - r]} * m[r];
    }
    sink(k, products);
  };
  for (std::size_t k = 0; k < std::min(Rows - 1, n + Rows - 1); ++k) edge(k);
  for (std::size_t k = Rows - 1; k < n; ++k) {
    std::array<std::uint64_t, Rows> products;
    for (std::size_t r = 0; r < Rows; ++r) products[r] = std::uint64_t{a[k - r]} * m[r];
    sink(k, products);
  }
  for (std::size_t k = std::max(n, Rows - 1); k < n + Rows - 1; ++k) edge(k);
}

// Radix 10^9: four products fit in an entry's headroom as one sum.
struct WholeEntries {
  std::uint64_t* entries;
  template <std::size_t Rows>
  void operator()(std::size_t k, const std::array<std::uint64_t, Rows>& products) const {
    std::uint64_t sum = 0;
    for (std::uint64_t product : products) sum += product;
    entries[k] += sum;
  }
};

// Radix 2^32: the low and the high halves of the products go to separate entries.
struct SplitEntries {
  std::uint64_t* low;
  std::uint64_t* high;
  template <std::size_t Rows>
  void operator()(std::size_t k, const std::array<std::uint64_t, Rows>& products) const {
    std::uint64_t low_sum = 0;
    std::uint64_t high_sum = 0;
    for (std::uint64_t product : products) {
      low_sum += product & 0xffff'ffffU;
      high_sum += product >> 32;
    }
    low[k] += low_sum;
    high[k] += high_sum;
  }
};

// These loops carry nearly all of the base case's time; they are compiled once more for AVX2, and the
// loader picks the variant the processor runs. Elsewhere they are plain loops the compiler vectorises.
#if defined(__x86_64__) && defined(__GNUC__)
#define OVN_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define OVN_VECTOR_CLONES
#endif

OVN_VECTOR_CLONES
void accumulate_row(std::uint64_t* entries, const Limb* a, std::size_t n, Limb m) {
  add_rows<1>(WholeEntries{entries}, a, n, &m);
}
OVN_VECTOR_CLONES
void accumulate_four_rows(std::uint64_t* entries, const Limb* a, std::size_t n, const Limb* m) {
  add_rows<4>(WholeEntries{entries}, a, n, m);
}
OVN_VECTOR_CLONES
void accumulate_split_row(std::uint64_t* low, std::uint64_t* high, const Limb* a, std::size_t n, Limb m) {
  add_rows<1>(SplitEntries{low, high}, a, n, &m);
}
OVN_VECTOR_CLONES
void accumulate_split_four_rows(std::uint64_t* low, std::uint64_t* high, const Limb* a, std::size_t n,
                                const Limb* m) {
  add_rows<4>(SplitEntries{low, high}, a, n, m);
}

// The base case works on windows of the product: at most kWindowRows limbs of the shorter operand times
// kWindowColumns limbs of the longer one, accumulated in 64-bit entries on the stack and carried once.
constexpr std::size_t kWindowRows = 252;
constexpr std::size_t kWindowColumns = 512;
constexpr std::size_t kWindowSize = kWindowRows + kWindowColumns;
// square() leaves to the base case only squares that fit one window.
static_assert(2 * (kKaratsubaSquareThreshold<kDecimalBase> - 1) <= kWindowSize);
static_assert(2 * (kKaratsubaSquareThreshold<kBinaryBase> - 1) <= kWindowSize);

template <std::uint64_t Base>
class ProductWindow;

// Radix 10^9: a limb product is below 10^18, so 18 of them fit in an entry on top of a partly carried
// value (below 2 * 10^10); after at most 18 rows the entries touched are carried partway, which has no
// chain.
template <>
class ProductWindow<kDecimalBase> {
 public:
  explicit ProductWindow(std::size_t size) : size_(size) { std::fill_n(acc_.begin(), size + 1, 0); }
  ProductWindow(const Limb* start, std::size_t size) : size_(size) {
    std::copy_n(start, size, acc_.begin());
    acc_[size] = 0;
  }

  // Adds a[0..n) * factors[r] at entry offset + r for r < count (1 or 4); from call to call neither the
  // offset nor the end of the entries touched decreases.
  void add_rows(std::size_t offset, const Limb* a, std::size_t n, const Limb* factors, std::size_t count) {
    if (pending_rows_ + count > kLazyRows) {
      carry_partway(pending_begin_, pending_end_);
      pending_rows_ = 0;
    }
    if (pending_rows_ == 0) pending_begin_ = offset;
    if (count == 4) {
      accumulate_four_rows(acc_.data() + offset, a, n, factors);
    } else {
      accumulate_row(acc_.data() + offset, a, n, *factors);
    }
    pending_end_ = std::max(pending_end_, offset + n + count - 1);
    pending_rows_ += count;
  }

  // Doubles the window and adds a[i]^2 at entry 2i: the last step of a square.
  void double_and_add_squares(const Limb* a, std::size_t n) {
    carry_partway(0, size_);
    for (std::size_t i = 0; i < n; ++i) {
      acc_[2 * i] = 2 * acc_[2 * i] + std::uint64_t{a[i]} * a[i];
      acc_[2 * i + 1] *= 2;
    }
    acc_[size_] *= 2;
  }

  // Writes the window as size limbs; returns the carry out of the top.
  Limb store(Limb* r) {
    carry_partway(0, size_);  // entries below 2 * 10^10
    carry_partway(0, size_);  // entries below Base + 20
    Limb carry = 0;
    for (std::size_t k = 0; k < size_; ++k) {
      const std::uint64_t value = acc_[k] + carry;
      carry = value >= kBase;
      r[k] = static_cast<Limb>(carry ? value - kBase : value);
    }
    assert(acc_[size_] + carry < kBase);
    return static_cast<Limb>(acc_[size_] + carry);
  }

 private:
  static constexpr std::uint64_t kBase = kDecimalBase;
  static constexpr std::size_t kLazyRows = 18;

  // Keeps each entry's remainder modulo Base and moves the quotient one entry up.
  void carry_partway(std::size_t begin, std::size_t end) {
    std::uint64_t moved = 0;
    for (std::size_t k = begin; k < end; ++k) {
      const std::uint64_t value = acc_[k];
      acc_[k] = value % kBase + moved;
      moved = value / kBase;
    }
    acc_[end] += moved;
  }

  std::array<std::uint64_t, kWindowSize + 1> acc_;
  std::size_t size_;
  std::size_t pending_rows_ = 0;
  std::size_t pending_begin_ = 0;
  std::size_t pending_end_ = 0;
};

// Radix 2^32: the low and high halves of the products are summed apart, so nothing overflows for 2^31
// rows, and the only carrying is the final pass.
template <>
class ProductWindow<kBinaryBase> {
 public:
  explicit ProductWindow(std::size_t size) : size_(size) {
    std::fill_n(low_.begin(), size, 0);
    std::fill_n(high_.begin(), size, 0);
  }
  ProductWindow(const Limb* start, std::size_t size) : size_(size) {
    std::copy_n(start, size, low_.begin());
    std::fill_n(high_.begin(), size, 0);
  }

  void add_rows(std::size_t offset, const Limb* a, std::size_t n, const Limb* factors, std::size_t count) {
    if (count == 4) {
      accumulate_split_four_rows(low_.data() + offset, high_.data() + offset, a, n, factors);
    } else {
      accumulate_split_row(low_.data() + offset, high_.data() + offset, a, n, *factors);
    }
  }

  void double_and_add_squares(const Limb* a, std::size_t n) {
    for (std::size_t k = 0; k < size_; ++k) {
      low_[k] *= 2;
      high_[k] *= 2;
    }
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t square = std::uint64_t{a[i]} * a[i];
      low_[2 * i] += square & 0xffff'ffffU;
      high_[2 * i] += square >> 32;
    }
  }

  Limb store(Limb* r) {
    std::uint64_t carry = 0;
    for (std::size_t k = 0; k < size_; ++k) {
      const std::uint64_t value = low_[k] + carry;
      r[k] = static_cast<Limb>(value);
      carry = (value >> 32) + high_[k];
    }
    assert(carry < kBinaryBase);
    return static_cast<Limb>(carry);
  }

 private:
  std::array<std::uint64_t, kWindowSize> low_;
  std::array<std::uint64_t, kWindowSize> high_;
  std::size_t size_;
};

// |x - y| into r (xn limbs), for xn >= yn; returns whether x < y.
template <std::uint64_t Base>
bool subtract_magnitudes(Limb* r, const Limb* x, std::size_t xn, const Limb* y, std::size_t yn) {
  const bool below = significant_size(x + yn, xn - yn) == 0 && compare_n(x, y, yn) < 0;
  if (below) {
    sub_n<Base>(r, y, x, yn);
    std::fill(r + yn, r + xn, 0);
  } else {
    sub<Base>(r, x, xn, y, yn);
  }
  return below;
}

// target[i] += x[i] + y[i] + m[i] for i < n, where y has yn <= n limbs and m is taken as Base - 1 - m[i]
// when complement is set; returns the carry (below 4).
template <std::uint64_t Base>
Limb add_three(Limb* target, const Limb* x, const Limb* y, std::size_t yn, const Limb* m, std::size_t n,
               bool complement, Limb carry) {
  const std::uint64_t flip = complement ? Base - 1 : 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint64_t m_i = complement ? flip - m[i] : m[i];
    const std::uint64_t sum = std::uint64_t{target[i]} + x[i] + (i < yn ? y[i] : 0) + m_i + carry;
    carry = static_cast<Limb>((sum >= Base) + (sum >= 2 * Base) + (sum >= 3 * Base));
    target[i] = static_cast<Limb>(sum - carry * Base);
  }
  return carry;
}

// r[0..rn) holds z0 = a0 b0 (2h limbs) and z2 = a1 b1 above it; adds the middle coefficient
// z0 + z2 - (a0 - a1)(b0 - b1) at limb h in one pass, given |(a0 - a1)(b0 - b1)| in middle (2h limbs) and
// its sign. saved is h limbs of scratch.
template <std::uint64_t Base>
void add_karatsuba_middle(Limb* r, std::size_t rn, std::size_t h, const Limb* middle, bool middle_negative,
                          Limb* saved) {
  const std::size_t z2n = rn - 2 * h;
  // The pass writes r[h..2h), the upper half of z0, before it reads it as part of z0.
  std::copy_n(r + h, h, saved);
  // A positive middle is subtracted as its complement plus one, less Base^2h at the top.
  const bool complement = !middle_negative;
  Limb carry = add_three<Base>(r + h, r, r + 2 * h, h, middle, h, complement, complement ? 1 : 0);
  carry = add_three<Base>(r + 2 * h, saved, r + 3 * h, z2n - h, middle + h, h, complement, carry);
  // The middle coefficient is not negative, so with a complement the carry is at least 1.
  assert(carry >= Limb{complement});
  [[maybe_unused]] const Limb top = add_1<Base>(r + 3 * h, r + 3 * h, rn - 3 * h, carry - complement);
  assert(top == 0);
}

// r[offset..offset + bn + slice) = r[offset..offset + bn) + product[0..bn + slice), where r holds the
// products of the slices of a below offset (times b, bn limbs) and product is the next slice's.
template <std::uint64_t Base>
void add_slice_product(Limb* r, std::size_t offset, const Limb* product, std::size_t bn, std::size_t slice) {
  const Limb carry = add_n<Base>(r + offset, r + offset, product, bn);
  std::copy_n(product + bn, slice, r + offset + bn);
  [[maybe_unused]] const Limb top = add_1<Base>(r + offset + bn, r + offset + bn, slice, carry);
  assert(top == 0);
}

// a (an limbs) times a shorter b, in slices of a as long as b.
template <std::uint64_t Base>
void multiply_unbalanced(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn,
                         Limb* scratch) {
  multiply<Base>(r, a, bn, b, bn, scratch);
  Limb* product = scratch;
  for (std::size_t offset = bn; offset < an; offset += bn) {
    const std::size_t slice = std::min(bn, an - offset);
    multiply<Base>(product, a + offset, slice, b, bn, scratch + 2 * bn);
    add_slice_product<Base>(r, offset, product, bn, slice);
  }
}

// Whether the transform, given a product past its threshold, beats Karatsuba: its time doubles at each
// power of two points, so it pays for a product that fills most of its transform, or that multiply_long
// splits, or that is long enough to win at any fill.
constexpr bool transform_pays(std::size_t an, std::size_t bn) {
  const std::size_t points = std::bit_ceil(an + bn - 1);
  return an + bn - 1 >= points / 4 * 3 || an + bn - 1 <= points / 2 + points / 16 ||
         std::min(an, bn) >= kTransformAnyFillThreshold;
}

// The transform takes a power of two points, at least an + bn - 1, for an >= bn. Just past a power, the
// low limbs of a that fill the shorter transform exactly go through it and the few left over make a thin
// product: about half the time of the transform twice as long.
template <std::uint64_t Base>
void multiply_long(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn, Limb* scratch) {
  const std::size_t points = std::bit_floor(an + bn - 1);
  const std::size_t excess = an + bn - 1 - points;
  if (excess == 0 || excess > points / 8) {
    multiply_transform<Base>(r, a, an, b, bn);
    return;
  }
  const std::size_t low = an - excess;  // low + bn - 1 == points
  multiply_transform<Base>(r, a, low, b, bn);
  std::vector<Limb> product(excess + bn);
  multiply<Base>(product.data(), a + low, excess, b, bn, scratch);
  add_slice_product<Base>(r, low, product.data(), bn, excess);
}

}  // namespace

template <std::uint64_t Base>
void multiply_basecase(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn) {
  if (an < bn) {
    std::swap(a, b);
    std::swap(an, bn);
  }
  const std::size_t first_size = std::min(bn, kWindowRows) + std::min(an, kWindowColumns);
  std::fill(r + first_size, r + an + bn, 0);
  for (std::size_t row = 0; row < bn; row += kWindowRows) {
    const std::size_t rows = std::min(kWindowRows, bn - row);
    for (std::size_t column = 0; column < an; column += kWindowColumns) {
      const std::size_t columns = std::min(kWindowColumns, an - column);
      Limb* start = r + row + column;
      const std::size_t size = rows + columns;
      // The first window starts from zero; the others add to what earlier windows left in r.
      ProductWindow<Base> window = start == r ? ProductWindow<Base>(size) : ProductWindow<Base>(start, size);
      std::size_t i = 0;
      for (; i + 4 <= rows; i += 4) window.add_rows(i, a + column, columns, b + row + i, 4);
      for (; i < rows; ++i) window.add_rows(i, a + column, columns, b + row + i, 1);
      const Limb carry = window.store(start);
      const std::size_t above = an + bn - (row + column + size);
      [[maybe_unused]] const Limb top = add_1<Base>(start + size, start + size, above, carry);
      assert(top == 0);
    }
  }
}

template <std::uint64_t Base>
void square_basecase(Limb* r, const Limb* a, std::size_t n) {
  if (2 * n > kWindowSize) {
    multiply_basecase<Base>(r, a, n, a, n);
    return;
  }
  // The products a[i] a[j] for i < j once, then doubled, then the squares a[i]^2.
  ProductWindow<Base> window(2 * n);
  for (std::size_t i = 0; i + 1 < n; ++i) window.add_rows(2 * i + 1, a + i + 1, n - i - 1, a + i, 1);
  window.double_and_add_squares(a, n);
  [[maybe_unused]] const Limb carry = window.store(r);
  assert(carry == 0);
}

template <std::uint64_t Base>
void multiply_karatsuba(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn,
                        Limb* scratch) {
  const std::size_t h = (an + 1) / 2;
  assert(an >= bn && bn > h);
  // a = a1 B^h + a0, b = b1 B^h + b0; a0 b1 + a1 b0 = a0 b0 + a1 b1 - (a0 - a1)(b0 - b1).
  Limb* middle = scratch;
  Limb* diff_a = scratch + 2 * h;  // dead once middle is made; then h limbs for add_karatsuba_middle
  Limb* diff_b = scratch + 3 * h;
  Limb* next = scratch + 4 * h;
  const bool negative = subtract_magnitudes<Base>(diff_a, a, h, a + h, an - h) !=
                        subtract_magnitudes<Base>(diff_b, b, h, b + h, bn - h);
  multiply<Base>(middle, diff_a, h, diff_b, h, next);
  multiply<Base>(r, a, h, b, h, next);
  multiply<Base>(r + 2 * h, a + h, an - h, b + h, bn - h, next);
  add_karatsuba_middle<Base>(r, an + bn, h, middle, negative, diff_a);
}

template <std::uint64_t Base>
void square_karatsuba(Limb* r, const Limb* a, std::size_t n, Limb* scratch) {
  const std::size_t h = (n + 1) / 2;
  assert(n >= 2);
  Limb* middle = scratch;
  Limb* diff = scratch + 2 * h;  // dead once middle is made; then h limbs for add_karatsuba_middle
  Limb* next = scratch + 3 * h;
  subtract_magnitudes<Base>(diff, a, h, a + h, n - h);
  square<Base>(middle, diff, h, next);
  square<Base>(r, a, h, next);
  square<Base>(r + 2 * h, a + h, n - h, next);
  add_karatsuba_middle<Base>(r, 2 * n, h, middle, false, diff);
}

template <std::uint64_t Base>
void multiply(Limb* r, const Limb* a, std::size_t an, const Limb* b, std::size_t bn, Limb* scratch) {
  if (an < bn) {
    std::swap(a, b);
    std::swap(an, bn);
  }
  if (a == b && an == bn) {
    square<Base>(r, a, an, scratch);
  } else if (bn < kKaratsubaThreshold<Base>) {
    multiply_basecase<Base>(r, a, an, b, bn);
  } else if (bn >= kTransformThreshold<Base> && transform_pays(an, bn)) {
    multiply_long<Base>(r, a, an, b, bn, scratch);
  } else if (bn <= (an + 1) / 2) {
    multiply_unbalanced<Base>(r, a, an, b, bn, scratch);
  } else {
    multiply_karatsuba<Base>(r, a, an, b, bn, scratch);
  }
}

template <std::uint64_t Base>
void square(Limb* r, const Limb* a, std::size_t n, Limb* scratch) {
  if (n < kKaratsubaSquareThreshold<Base>) {
    square_basecase<Base>(r, a, n);
  } else if (n >= kTransformSquareThreshold<Base> && transform_pays(n, n)) {
    multiply_long<Base>(r, a, n, a, n, scratch);
  } else {
    square_karatsuba<Base>(r, a, n, scratch);
  }
}

#define OVN_INSTANTIATE_MULTIPLY(Base)                                                                      \
  template void multiply<Base>(Limb*, const Limb*, std::size_t, const Limb*, std::size_t, Limb*);           \
  template void square<Base>(Limb*, const Limb*, std::size_t, Limb*);                                       \
  template void multiply_basecase<Base>(Limb*, const Limb*, std::size_t, const Limb*, std::size_t);         \
  template void square_basecase<Base>(Limb*, const Limb*, std::size_t);                                     \
  template void multiply_karatsuba<Base>(Limb*, const Limb*, std::size_t, const Limb*, std::size_t, Limb*); \
  template void square_karatsuba<Base>(Limb*, const Limb*, std::size_t, Limb*);

OVN_INSTANTIATE_MULTIPLY(kDecimalBase)
OVN_INSTANTIATE_MULTIPLY(kBinaryBase)

}  // namespace ovn::kernel
