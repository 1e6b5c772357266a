#include "literal_logarithm.h"

#include <gmp.h>

#include <cstddef>
#include <string>

namespace ovn::literal {
namespace {

struct Integer {
  Integer() { mpz_init(value); }
  ~Integer() { mpz_clear(value); }
  Integer(const Integer&) = delete;
  Integer& operator=(const Integer&) = delete;
  mpz_t value;
};

// A positive decimal text as digits / 10^scale.
struct Scaled {
  std::string digits;
  unsigned long scale = 0;
};

Scaled ParseText(const std::string& text) {
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return {text.empty() ? "0" : text, 0};
  std::string digits = text.substr(0, point) + text.substr(point + 1);
  return {digits.empty() ? "0" : digits, text.size() - point - 1};
}

// Compares base^(exponent text) with num exactly: base^(k / 10^f) against num is base^k against
// num^(10^f), each side cleared of its denominators. Returns -1, 0 or 1.
int ComparePower(const Scaled& base, const std::string& exponent, const Scaled& num) {
  const Scaled y = ParseText(exponent);
  unsigned long root = 1;
  for (unsigned long i = 0; i < y.scale; ++i) root *= 10;
  Integer k, left, right, factor;
  mpz_set_str(k.value, y.digits.c_str(), 10);
  const unsigned long power = mpz_get_ui(k.value);
  // B^k 10^(sx root) against X^root 10^(sb k)
  mpz_set_str(left.value, base.digits.c_str(), 10);
  mpz_pow_ui(left.value, left.value, power);
  mpz_ui_pow_ui(factor.value, 10, num.scale * root);
  mpz_mul(left.value, left.value, factor.value);
  mpz_set_str(right.value, num.digits.c_str(), 10);
  mpz_pow_ui(right.value, right.value, root);
  mpz_ui_pow_ui(factor.value, 10, base.scale * power);
  mpz_mul(right.value, right.value, factor.value);
  const int order = mpz_cmp(left.value, right.value);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// The digit rule: the largest digit at `position` for which the power does not exceed num, by the halving
// search 5; 3; 4 or 1; 2 or 0; 7; 6 or 9; 8. A digit whose power equals num is taken at once.
char FindDigit(std::string& y, std::size_t position, const Scaled& base, const Scaled& num) {
  auto order = [&](char digit) {
    y[position] = digit;
    return ComparePower(base, y, num);
  };
  auto fits = [&](char digit) { return order(digit) <= 0; };
  char digit;
  const int at5 = order('5');
  if (at5 == 0) {
    digit = '5';
  } else if (at5 > 0) {
    if (fits('3')) {
      digit = fits('4') ? '4' : '3';
    } else if (fits('1')) {
      digit = fits('2') ? '2' : '1';
    } else {
      digit = '0';
    }
  } else if (!fits('7')) {
    digit = fits('6') ? '6' : '5';
  } else if (fits('9')) {
    digit = '9';
  } else {
    digit = fits('8') ? '8' : '7';
  }
  y[position] = digit;
  return digit;
}

std::string WithoutLeadingZeros(const std::string& text) {
  const std::size_t first = text.find_first_not_of('0');
  return first == std::string::npos ? std::string{} : text.substr(first);
}

}  // namespace

std::string LiteralLogarithm(const std::string& num_text, const std::string& base_text, int Exact) {
  const Scaled num = ParseText(num_text);
  const Scaled base = ParseText(base_text);
  // Step 1: the order of magnitude.
  std::string e = "1";
  int order;
  do {
    order = ComparePower(base, e, num);
    e += "0";
  } while (order < 0);
  if (order > 0) e.resize(e.size() - 2);
  // Step 2: the integer digits, left to right.
  std::string y = e;
  for (std::size_t position = 0; position < y.size(); ++position) FindDigit(y, position, base, num);
  y = WithoutLeadingZeros(y);
  // Step 3: the fraction digits.
  if (Exact >= 1) {
    y += ".";
    for (int f = 1; f <= Exact; ++f) {
      y += "0";
      FindDigit(y, y.size() - 1, base, num);
    }
  }
  // Step 4.
  if (!y.empty() && y.front() == '.') y.insert(0, "0");
  return y;
}

}  // namespace ovn::literal
