// Products of many factors. Neighbours are multiplied pairwise, level by level (a balanced product tree),
// so that the two operands of every multiplication have about the same length, where Karatsuba gains
// most; a running product would instead multiply a long number by a short one n times.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "kernel/natural.h"
#include "kernel/step_hook.h"

namespace ovn::kernel {

// The product of the factors; no factors give 1.
template <std::uint64_t Base>
Natural<Base> ProductOf(std::vector<Natural<Base>> factors, const StepHook& on_step = {});

// The product of machine words; runs of small words are first multiplied together while they fit a limb.
template <std::uint64_t Base>
Natural<Base> ProductOfWords(std::span<const std::uint64_t> words, const StepHook& on_step = {});

struct WordPower {
  std::uint64_t word;
  std::uint64_t exponent;
};
// The product of word^exponent over the list. Horner's rule over the exponents' bits, from the top:
// square the product so far, then multiply in the words whose exponent has that bit. For the prime
// powers of a factorial this turns most of the work into squarings of half-length numbers.
template <std::uint64_t Base>
Natural<Base> ProductOfPowers(std::span<const WordPower> powers, const StepHook& on_step = {});

// The primes up to `limit`, by the sieve of Eratosthenes.
std::vector<std::uint64_t> PrimesUpTo(std::uint64_t limit);
// The exponent of the prime p in n! (Legendre's formula).
std::uint64_t LegendreExponent(std::uint64_t p, std::uint64_t n);

}  // namespace ovn::kernel
