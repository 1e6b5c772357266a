#include "literal_extreme.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ovn::literal {

namespace {

const char kZeroDigit = '\0';

unsigned Digit(char c) {
  return static_cast<unsigned char>(c);
}
char MakeDigit(unsigned d) {
  return static_cast<char>(static_cast<unsigned char>(d));
}

bool IsZero(const LiteralExtrem& e) {
  return e.int_num.find_first_not_of(kZeroDigit) == std::string::npos &&
         e.devided.find_first_not_of(kZeroDigit) == std::string::npos;
}

LiteralExtrem DelNull(LiteralExtrem e) {
  const std::size_t first = e.int_num.find_first_not_of(kZeroDigit);
  e.int_num = first == std::string::npos ? "" : e.int_num.substr(first);
  const std::size_t last = e.devided.find_last_not_of(kZeroDigit);
  e.devided = last == std::string::npos ? "" : e.devided.substr(0, last + 1);
  return e;
}

LiteralExtrem Negated(LiteralExtrem e) {
  e.sign = !e.sign;
  return e;
}

// ---- Decimal digit strings (most significant first) ----

// Divides a decimal digit string by 256; the remainder comes back through `remainder`.
std::string DivideBy256(const std::string& number, unsigned& remainder) {
  std::string quotient;
  remainder = 0;
  for (char c : number) {
    const unsigned current = remainder * 10 + static_cast<unsigned>(c - '0');
    quotient.push_back(static_cast<char>('0' + current / 256));
    remainder = current % 256;
  }
  const std::size_t first = quotient.find_first_not_of('0');
  return first == std::string::npos ? "0" : quotient.substr(first);
}

// number * 256 + addend on a decimal digit string.
std::string TimesAndAdd(const std::string& number, unsigned addend) {
  std::string result = number;
  unsigned carry = addend;
  for (std::size_t i = result.size(); i-- > 0;) {
    const unsigned current = static_cast<unsigned>(result[i] - '0') * 256 + carry;
    result[i] = static_cast<char>('0' + current % 10);
    carry = current / 10;
  }
  for (; carry > 0; carry /= 10) result.insert(result.begin(), static_cast<char>('0' + carry % 10));
  const std::size_t first = result.find_first_not_of('0');
  return first == std::string::npos ? "0" : result.substr(first);
}

// ---- Unsigned workers ----

// Brings the fractions to one length (zeros on the right) and the integer parts to one (zeros on the left).
void Align(LiteralExtrem& a, LiteralExtrem& b) {
  const std::size_t f = std::max(a.devided.size(), b.devided.size());
  a.devided.append(f - a.devided.size(), kZeroDigit);
  b.devided.append(f - b.devided.size(), kZeroDigit);
  const std::size_t n = std::max(a.int_num.size(), b.int_num.size());
  a.int_num.insert(0, n - a.int_num.size(), kZeroDigit);
  b.int_num.insert(0, n - b.int_num.size(), kZeroDigit);
}

int CompareMagnitudes(LiteralExtrem a, LiteralExtrem b) {
  a = DelNull(std::move(a));
  b = DelNull(std::move(b));
  if (a.int_num.size() != b.int_num.size()) return a.int_num.size() < b.int_num.size() ? 0 : 2;
  Align(a, b);
  const std::string x = a.int_num + a.devided;
  const std::string y = b.int_num + b.devided;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (x[i] != y[i]) return Digit(x[i]) < Digit(y[i]) ? 0 : 2;
  }
  return 1;
}

LiteralExtrem SummUnsigned(LiteralExtrem a, LiteralExtrem b) {
  Align(a, b);
  const std::size_t f = a.devided.size();
  const std::string x = a.int_num + a.devided;
  const std::string y = b.int_num + b.devided;
  std::string s(x.size(), kZeroDigit);
  unsigned carry = 0;
  for (std::size_t i = x.size(); i-- > 0;) {
    const unsigned sum = Digit(x[i]) + Digit(y[i]) + carry;
    s[i] = MakeDigit(sum > 255 ? sum - 256 : sum);
    carry = sum > 255 ? 1 : 0;
  }
  if (carry != 0) s.insert(s.begin(), MakeDigit(1));
  return DelNull({s.substr(0, s.size() - f), s.substr(s.size() - f), true});
}

// a - b for a >= b >= 0.
LiteralExtrem MinusOrdered(LiteralExtrem a, LiteralExtrem b) {
  Align(a, b);
  const std::size_t n = a.int_num.size();
  const std::string x = a.int_num + a.devided;
  const std::string y = b.int_num + b.devided;
  std::string d(x.size(), kZeroDigit);
  int borrow = 0;
  for (std::size_t i = x.size(); i-- > 0;) {
    int diff = static_cast<int>(Digit(x[i])) - static_cast<int>(Digit(y[i])) - borrow;
    borrow = diff < 0 ? 1 : 0;
    if (diff < 0) diff += 256;
    d[i] = MakeDigit(static_cast<unsigned>(diff));
  }
  return DelNull({d.substr(0, n), d.substr(n), true});
}

LiteralExtrem MinusUnsigned(LiteralExtrem a, LiteralExtrem b) {
  if (CompareMagnitudes(a, b) == 0) return Negated(MinusOrdered(b, a));
  return MinusOrdered(a, b);
}

LiteralExtrem Magnitude(LiteralExtrem e) {
  e.sign = true;
  return e;
}

// The long division's running step: the quotient digit of R against the multiples, and R reduced.
unsigned NextQuotientDigit(const std::array<LiteralExtrem, 256>& multiples, LiteralExtrem& r) {
  unsigned q = 0;
  for (unsigned i = 1; i <= 255; ++i) {
    if (CompareMagnitudes(multiples[i], r) == 2) break;
    q = i;
  }
  r = MinusOrdered(r, multiples[q]);
  return q;
}

std::array<LiteralExtrem, 256> MultiplesOf(const LiteralExtrem& divisor) {
  std::array<LiteralExtrem, 256> multiples{};
  for (unsigned i = 1; i <= 255; ++i) multiples[i] = SummUnsigned(multiples[i - 1], divisor);
  return multiples;
}

// The divisor made whole by moving Fb digits into its integer part, the dividend shifted by as many.
void MakeDivisorWhole(LiteralExtrem& a, LiteralExtrem& b) {
  const std::size_t fb = b.devided.size();
  b.int_num += b.devided;
  b.devided.clear();
  const std::string moved = a.devided.substr(0, std::min(fb, a.devided.size()));
  a.int_num += moved;
  a.int_num.append(fb - moved.size(), kZeroDigit);
  a.devided = a.devided.substr(moved.size());
}

LiteralExtrem DevideUnsigned(LiteralExtrem a, LiteralExtrem b, int exact) {
  a = DelNull(std::move(a));
  b = DelNull(std::move(b));
  MakeDivisorWhole(a, b);
  const auto multiples = MultiplesOf(b);
  LiteralExtrem r;
  std::string whole;
  for (char c : a.int_num) {
    r.int_num.push_back(c);
    whole.push_back(MakeDigit(NextQuotientDigit(multiples, r)));
  }
  std::string fraction;
  std::size_t next = 0;
  while (static_cast<int>(fraction.size()) < exact && (!IsZero(r) || next < a.devided.size())) {
    r.int_num.push_back(next < a.devided.size() ? a.devided[next] : kZeroDigit);
    ++next;
    fraction.push_back(MakeDigit(NextQuotientDigit(multiples, r)));
  }
  return DelNull({whole, fraction, true});
}

}  // namespace

LiteralExtrem ConvertExtNum(std::string_view text, int max_dev_conv) {
  LiteralExtrem r;
  if (text.starts_with('-')) {
    r.sign = false;
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  std::string whole(text.substr(0, point));
  if (whole.empty()) whole = "0";
  std::string reversed;
  do {
    unsigned remainder = 0;
    whole = DivideBy256(whole, remainder);
    reversed.push_back(MakeDigit(remainder));
  } while (whole != "0");
  r.int_num.assign(reversed.rbegin(), reversed.rend());
  const std::string fraction = point == std::string_view::npos ? "" : std::string(text.substr(point + 1));
  if (fraction.empty()) return r;
  std::string f = fraction;
  for (int k = 0;; ++k) {
    // f * 256: the carry out of the top decimal digit is the base-256 digit.
    unsigned carry = 0;
    for (std::size_t i = f.size(); i-- > 0;) {
      const unsigned current = static_cast<unsigned>(f[i] - '0') * 256 + carry;
      f[i] = static_cast<char>('0' + current % 10);
      carry = current / 10;
    }
    r.devided.push_back(MakeDigit(carry));
    if (k >= max_dev_conv || f.find_first_not_of('0') == std::string::npos) break;
  }
  return r;
}

std::string ConvertDecNum(const LiteralExtrem& e) {
  std::string s = "0";
  for (char d : e.int_num) s = TimesAndAdd(s, Digit(d));
  if (!e.devided.empty()) {
    std::string g = e.devided;
    std::string places;
    for (int k = 0;; ++k) {
      unsigned c = 0;
      for (std::size_t i = g.size(); i-- > 0;) {
        const unsigned t = 10 * Digit(g[i]) + c;
        g[i] = MakeDigit(t % 256);
        c = t / 256;
      }
      places.push_back(static_cast<char>('0' + c));
      if (k == 1000 || g.find_first_not_of(kZeroDigit) == std::string::npos) break;
    }
    places.erase(places.find_last_not_of('0') + 1);
    if (!places.empty()) s += "." + places;
  }
  if (!e.sign && !IsZero(e)) s.insert(0, 1, '-');
  return s;
}

int CompareIt(LiteralExtrem a, LiteralExtrem b) {
  const bool a_negative = !a.sign && !IsZero(a);
  const bool b_negative = !b.sign && !IsZero(b);
  if (a_negative != b_negative) return a_negative ? 0 : 2;
  const int order = CompareMagnitudes(std::move(a), std::move(b));
  return a_negative ? 2 - order : order;
}

LiteralExtrem SummExt(LiteralExtrem a, LiteralExtrem b) {
  if (!a.sign && b.sign) return MinusUnsigned(b, Magnitude(a));
  if (a.sign && !b.sign) return MinusUnsigned(a, Magnitude(b));
  if (!a.sign && !b.sign) return Negated(SummUnsigned(Magnitude(a), Magnitude(b)));
  return SummUnsigned(a, b);
}

LiteralExtrem MinusExt(LiteralExtrem a, LiteralExtrem b) {
  if (a.sign && !b.sign) return SummUnsigned(a, Magnitude(b));
  if (!a.sign && b.sign) return Negated(SummUnsigned(b, Magnitude(a)));
  if (!a.sign && !b.sign) return MinusUnsigned(Magnitude(b), Magnitude(a));
  return MinusUnsigned(a, b);
}

LiteralExtrem MuchExt(LiteralExtrem a, LiteralExtrem b) {
  a = DelNull(std::move(a));
  b = DelNull(std::move(b));
  if (IsZero(a) || IsZero(b)) return {};
  const bool negative = a.sign != b.sign;
  const std::size_t f = a.devided.size() + b.devided.size();
  const std::string x = DelNull({a.int_num + a.devided, "", true}).int_num;
  const std::string y = DelNull({b.int_num + b.devided, "", true}).int_num;
  std::array<std::string, 256> cache{};
  LiteralExtrem sum;
  for (std::size_t r = 0; r < y.size(); ++r) {
    const unsigned digit = Digit(y[y.size() - 1 - r]);
    if (cache[digit].empty()) {
      std::string row;
      unsigned carry = 0;
      for (std::size_t i = x.size(); i-- > 0;) {
        const unsigned t = Digit(x[i]) * digit + carry;
        row.insert(row.begin(), MakeDigit(t % 256));
        carry = t / 256;
      }
      if (carry != 0) row.insert(row.begin(), MakeDigit(carry));
      cache[digit] = row;
    }
    sum = SummUnsigned(sum, {cache[digit] + std::string(r, kZeroDigit), "", true});
  }
  std::string s = sum.int_num;
  LiteralExtrem product;
  if (s.size() >= f) {
    product = {s.substr(0, s.size() - f), s.substr(s.size() - f), true};
  } else {
    product = {"", std::string(f - s.size(), kZeroDigit) + s, true};
  }
  product.sign = !negative;
  return product;
}

LiteralExtrem DevideExt(LiteralExtrem a, LiteralExtrem b, int exact, int dev_exact) {
  if (b.sign && CompareMagnitudes(b, {"\x01", "", true}) == 1) return a;
  const bool a_negative = !a.sign && !IsZero(a);
  const bool b_negative = !b.sign;
  if (a_negative != b_negative) return Negated(DevideExt(Magnitude(a), Magnitude(b), dev_exact, dev_exact));
  if (b_negative) return DevideExt(Magnitude(a), Magnitude(b), exact, dev_exact);
  return DevideUnsigned(a, b, exact);
}

LiteralExtrem ModExt(LiteralExtrem a, LiteralExtrem b) {
  a = DelNull(Magnitude(std::move(a)));
  b = DelNull(Magnitude(std::move(b)));
  const auto multiples = MultiplesOf(b);
  LiteralExtrem r;
  for (char c : a.int_num) {
    r.int_num.push_back(c);
    NextQuotientDigit(multiples, r);
  }
  return r;
}

}  // namespace ovn::literal
