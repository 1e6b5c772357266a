// What the benchmarks share: random operands and GMP values held and written as text, so that GMP pays
// for text in and out as our engines do.
#pragma once

#include <gmp.h>

#include <random>
#include <string>

namespace bench {

// `count` random decimal digits, the first not zero.
inline std::string RandomDigits(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> digit(0, 9);
  std::string text(count, '0');
  for (char& c : text) c = static_cast<char>('0' + digit(random));
  text.front() = static_cast<char>('1' + digit(random) % 9);
  return text;
}

struct Mpz {
  Mpz() { mpz_init(value); }
  ~Mpz() { mpz_clear(value); }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
  mpz_t value;
};

inline std::string ToText(const mpz_t value, int base = 10) {
  std::string text(mpz_sizeinbase(value, base) + 2, '\0');
  mpz_get_str(text.data(), base, value);
  text.resize(text.find('\0'));
  return text;
}

}  // namespace bench
