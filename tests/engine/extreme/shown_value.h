// Whether a text the extreme engine wrote shows a base-256 value truly: the value's exact expansion, or the
// shortest decimal D with v <= D < v + 256^-k (k fraction digits), the smallest of that length, or, when no
// D has kShownPlaces places or fewer, the expansion cut after kShownPlaces places. GMP checks.
#pragma once

#include <gmp.h>
#include <gtest/gtest.h>

#include <string>

#include "literal_extreme.h"

namespace ovn::testing {

inline constexpr unsigned long kShownPlaces = 1001;

inline ::testing::AssertionResult ShowsValue(const std::string& text, literal::LiteralExtrem v) {
  v.devided.erase(v.devided.find_last_not_of('\0') + 1);  // k counts the digits of the normal form
  mpz_t m, n, unit, ten, left, right;
  for (mpz_ptr z : {m, n, unit, ten, left, right}) mpz_init(z);
  const std::string bytes = v.int_num + v.devided;
  mpz_import(m, bytes.size(), 1, 1, 0, 0, bytes.data());
  mpz_ui_pow_ui(unit, 256, v.devided.size());
  const bool negative = text.starts_with('-');
  std::string digits = text.substr(negative ? 1 : 0);
  const std::size_t point = digits.find('.');
  const std::size_t d = point == std::string::npos ? 0 : digits.size() - point - 1;
  if (point != std::string::npos) digits.erase(point, 1);
  mpz_set_str(n, digits.c_str(), 10);
  // left = M 10^d, right = N 256^k: exact when equal, else M 10^d < N 256^k < (M + 1) 10^d.
  const auto scale = [&](std::size_t places) {
    mpz_ui_pow_ui(ten, 10, places);
    mpz_mul(left, m, ten);
  };
  scale(d);
  mpz_mul(right, n, unit);
  std::string fault;
  if (negative != (!v.sign && mpz_sgn(m) != 0)) fault = "wrong sign";
  if (fault.empty() && mpz_cmp(left, right) != 0) {
    if (mpz_cmp(right, left) < 0) fault = "below the value";
    mpz_add(left, left, ten);
    if (fault.empty() && mpz_cmp(right, left) >= 0) fault = "does not cut to the value";
    mpz_sub(left, left, ten);
    mpz_sub(right, right, unit);  // (N - 1) 256^k must fall below M 10^d: N is the smallest
    if (fault.empty() && mpz_cmp(right, left) >= 0) fault = "a smaller text of this length cuts to the value";
    if (fault.empty() && d > 0) {
      scale(d - 1);  // the smallest text one place shorter, ceil(M 10^(d-1) / 256^k), must miss the interval
      mpz_cdiv_q(n, left, unit);
      mpz_mul(right, n, unit);
      mpz_add(left, left, ten);
      if (mpz_cmp(right, left) < 0) fault = "a shorter text cuts to the value";
    }
  }
  if (!fault.empty() && fault != "wrong sign" && d <= kShownPlaces) {
    mpz_set_str(n, digits.c_str(), 10);
    mpz_ui_pow_ui(ten, 10, kShownPlaces - d);
    mpz_mul(n, n, ten);  // the text in units of 10^-kShownPlaces
    mpz_ui_pow_ui(ten, 10, kShownPlaces);
    mpz_mul(left, m, ten);
    mpz_fdiv_q(right, left, unit);
    const bool cut_expansion = mpz_cmp(n, right) == 0;
    mpz_cdiv_q(right, left, unit);  // the least decimal of kShownPlaces places at or above v ...
    mpz_mul(right, right, unit);
    mpz_add(left, left, ten);  // ... must not fall below v + 256^-k
    if (cut_expansion && mpz_cmp(right, left) >= 0) fault.clear();
  }
  for (mpz_ptr z : {m, n, unit, ten, left, right}) mpz_clear(z);
  if (fault.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << text << ": " << fault;
}

// The value (negative ? -1 : 1) m / 256^places as base-256 digit strings.
inline literal::LiteralExtrem DyadicValue(mpz_srcptr m, std::size_t places, bool negative = false) {
  std::string bytes(mpz_sizeinbase(m, 256) + places, '\0');
  std::size_t count = 0;
  mpz_export(bytes.data(), &count, 1, 1, 0, 0, m);
  bytes.resize(count);
  if (bytes.size() < places) bytes.insert(0, places - bytes.size(), '\0');
  return {bytes.substr(0, bytes.size() - places), bytes.substr(bytes.size() - places), !negative};
}

}  // namespace ovn::testing
