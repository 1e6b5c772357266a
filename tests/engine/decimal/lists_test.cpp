// The list functions: the edge cases worth keeping, the decided mends, identity with the long way on
// small random lists (forms and error numbers included), GMP on long numbers, the length limit, the
// machine-double paths, cancellation and progress.
#include <gmp.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "decimal/func_lib_dec.h"
#include "literal_lists.h"
#include "literal_reference.h"

namespace ovn {
namespace {

constexpr std::uint64_t kSeed = 0x6CD2024;

using Items = std::vector<std::string>;

StringList ListOf(const Items& items) {
  StringList list;
  for (const std::string& item : items) list.Add(item);
  return list;
}

std::string Show(const Items& items) {
  std::string text = "{";
  for (const std::string& item : items)
    text += "\"" + (item.size() > 40 ? item.substr(0, 40) + "..." : item) + "\" ";
  return text + "}";
}

// A call's outcome as one comparable text: "=" and the result, or the error number.
std::string Outcome(const std::function<std::string()>& call) {
  try {
    return "=" + call();
  } catch (const RuntimeError& error) {
    return "error " + std::to_string(static_cast<int>(error.Number()));
  }
}

std::string Error(ErrorNumber number) {
  return "error " + std::to_string(static_cast<int>(number));
}

class ListsTest : public ::testing::Test {
 protected:
  std::string Nod(const Items& items) {
    return Outcome([&] { return engine.CalcNODIn(ListOf(items)); });
  }
  std::string Noc(const Items& items) {
    return Outcome([&] { return engine.CalcNOCIn(ListOf(items)); });
  }
  std::string Sum(const Items& items) {
    return Outcome([&] { return engine.SummAll(ListOf(items)); });
  }
  std::string Mid(const Items& items) {
    return Outcome([&] { return engine.MidIn(ListOf(items)); });
  }
  std::string GeoMid(const Items& items) {
    return Outcome([&] { return engine.GeoMIDIn(ListOf(items)); });
  }
  std::string Min(const Items& items) {
    return Outcome([&] { return std::to_string(engine.MinNumIn(ListOf(items))); });
  }
  std::string Max(const Items& items) {
    return Outcome([&] { return std::to_string(engine.MaxNumIn(ListOf(items))); });
  }

  FuncLibDec engine;
};

// Random small lists: every number form (signs, leading zeros, final fraction zeros, bare points), and
// positive whole numbers written in all the ways a list can hold them.
class RandomItems {
 public:
  explicit RandomItems(std::uint64_t seed) : random_(seed) {}

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(int percent) { return Between(1, 100) <= percent; }

  std::string Digits(int count) {
    std::string digits;
    for (int i = 0; i < count; ++i) digits += static_cast<char>('0' + Between(0, 9));
    return digits;
  }

  std::string Number() {
    static const Items kSpecial = {"",    "0",  "-",  "-0",    ".5", "5.",    "-.5",     ".", "1",
                                   "1.0", "01", "-1", "0.000", "10", "-0.05", "-007.50", "x", "1.2.3"};
    if (Chance(15))
      return kSpecial[static_cast<std::size_t>(Between(0, static_cast<int>(kSpecial.size()) - 1))];
    std::string text = Chance(30) ? "-" : "";
    if (Chance(15)) text += "0";
    text += Digits(Between(0, 3));
    if (Chance(50)) text += "." + Digits(Between(0, 3)) + (Chance(20) ? "0" : "");
    return text;
  }

  // A positive whole number up to `largest`, sometimes as "06", "6.0", "6." or "006.00".
  std::string Whole(int largest) {
    const std::string digits = std::to_string(Between(1, largest));
    switch (Between(0, 9)) {
      case 0:
        return "0" + digits;
      case 1:
        return digits + ".0";
      case 2:
        return digits + ".";
      case 3:
        return "00" + digits + ".00";
      default:
        return digits;
    }
  }

  Items List(int longest, const std::function<std::string()>& item) {
    Items items(static_cast<std::size_t>(Between(0, longest)));
    for (std::string& text : items) text = item();
    return items;
  }

 private:
  std::mt19937_64 random_;
};

// ---- Index searches ----

TEST_F(ListsTest, IndexSearchesKeepTheFirstOfEqualItems) {
  struct Case {
    Items items;
    std::string min;
    std::string max;
  };
  const Case cases[] = {{{"3", "1", "1"}, "=2", "=1"},
                        {{"5", "5"}, "=1", "=1"},
                        {{"-2", "-10", "0"}, "=2", "=3"},
                        {{"1.50", "1.5", "01.5"}, "=1", "=1"},
                        {{"7"}, "=1", "=1"},
                        {{"", "-0", "0.0"}, "=1", "=1"},
                        {{}, Error(ErrorNumber::kInvalidArgument), Error(ErrorNumber::kInvalidArgument)},
                        {{"1", "x"}, Error(ErrorNumber::kTypeMismatch), Error(ErrorNumber::kTypeMismatch)}};
  for (const Case& c : cases) {
    EXPECT_EQ(Min(c.items), c.min) << Show(c.items);
    EXPECT_EQ(Max(c.items), c.max) << Show(c.items);
  }
}

// ---- Sum and mean ----

TEST_F(ListsTest, SumAndMeanTakeTheFormsOfSummInAndDevideIn) {
  engine.DevExact(3);
  struct Case {
    Items items;
    std::string sum;
    std::string mean;
  };
  const Case cases[] = {{{"1", "2", "3", "4"}, "=10", "=2.5"},
                        {{"1", "2", "4"}, "=7", "=2.333"},
                        {{"-5", "5"}, "=", "=0.0"},
                        {{".5", "0.25"}, "=.75", "=0.375"},
                        {{"0"}, "=", "="},  // DevideIn by "1" returns the dividend as it came
                        {{}, "=0", Error(ErrorNumber::kInvalidArgument)},
                        {{"1", "1,5"}, Error(ErrorNumber::kTypeMismatch), Error(ErrorNumber::kTypeMismatch)}};
  for (const Case& c : cases) {
    EXPECT_EQ(Sum(c.items), c.sum) << Show(c.items);
    EXPECT_EQ(Mid(c.items), c.mean) << Show(c.items);
  }
}

TEST_F(ListsTest, SumsMeansAndIndexesMatchTheLongWayOnSmallRandomLists) {
  RandomItems random(kSeed);
  for (int i = 0; i < 1500; ++i) {
    const Items items = random.List(6, [&] { return random.Number(); });
    engine.DevExact(static_cast<std::int16_t>(random.Between(0, 6)));
    const auto literal_sum = [&] { return literal::SummAll(items); };
    const auto literal_mean = [&] {
      return literal::DevideIn(literal::SummAll(items), std::to_string(items.size()), engine.DevExact());
    };
    ASSERT_EQ(Sum(items), Outcome(literal_sum)) << Show(items) << ", seed " << kSeed;
    if (items.empty()) continue;  // the mean of no numbers is refused (a table above)
    ASSERT_EQ(Mid(items), Outcome(literal_mean)) << Show(items) << ", seed " << kSeed;
    ASSERT_EQ(Min(items), Outcome([&] { return std::to_string(literal::MinNumIn(items)); })) << Show(items);
    ASSERT_EQ(Max(items), Outcome([&] { return std::to_string(literal::MaxNumIn(items)); })) << Show(items);
  }
}

// ---- Divisors ----

TEST_F(ListsTest, DivisorsOfSmallWholeNumbers) {
  struct Case {
    Items items;
    std::string nod;
    std::string noc;
  };
  const Case cases[] = {{{"12", "18"}, "=6", "=36"},
                        {{"7", "13"}, "=1", "=91"},
                        {{"8", "8"}, "=8", "=8"},
                        {{"4", "6"}, "=2", "=12"},
                        {{"5", "5"}, "=5", "=5"},
                        {{"012", "18.00"}, "=6", "=36"},
                        {{"30"}, "=30", "=30"},
                        {{"6", "10", "15"}, "=1", "=30"},
                        {{"1"}, "=1", "=1"},
                        {{"1", "1.0", "01"}, "=1", "=1"},
                        // An item equal to the multiple but written otherwise still divides it.
                        {{"6.0", "3"}, "=3", "=6"},
                        {{"06"}, "=6", "=6"},
                        {{"6.", "2", "3"}, "=1", "=6"}};
  for (const Case& c : cases) {
    EXPECT_EQ(Nod(c.items), c.nod) << Show(c.items);
    EXPECT_EQ(Noc(c.items), c.noc) << Show(c.items);
  }
}

TEST_F(ListsTest, DivisorsRefuseItemsThatAreNotPositiveWholeNumbers) {
  const std::string invalid = Error(ErrorNumber::kInvalidArgument);
  const std::string not_number = Error(ErrorNumber::kTypeMismatch);
  const std::pair<Items, std::string> cases[] = {{{"12.5", "5"}, invalid},
                                                 {{"-4", "6"}, invalid},
                                                 {{"0", "5"}, invalid},
                                                 {{"", "5"}, invalid},
                                                 {{"-0", "3"}, invalid},
                                                 {{"6", "-"}, invalid},
                                                 {{}, invalid},
                                                 {{"x", "5"}, not_number},
                                                 {{"12.5", "1e5"}, not_number},
                                                 {{std::string(32768, '1')}, Error(ErrorNumber::kOverflow)}};
  for (const auto& [items, expected] : cases) {
    EXPECT_EQ(Nod(items), expected) << Show(items);
    EXPECT_EQ(Noc(items), expected) << Show(items);
  }
}

TEST_F(ListsTest, DivisorsMatchTheTrialSearchesOnSmallRandomLists) {
  RandomItems random(kSeed + 1);
  for (int i = 0; i < 300; ++i) {
    const Items for_divisor = random.List(4, [&] { return random.Whole(300); });
    if (!for_divisor.empty()) {
      ASSERT_EQ(Nod(for_divisor), "=" + literal::CalcNODIn(for_divisor))
          << Show(for_divisor) << ", seed " << kSeed;
    }
    const Items for_multiple = random.List(3, [&] { return random.Whole(12); });
    if (for_multiple.empty()) continue;
    // The decided mend: a list of ones has the multiple 1, where the search, which starts at 2, gives 2.
    const bool all_ones = std::all_of(for_multiple.begin(), for_multiple.end(), [](const std::string& item) {
      return literal::CompareIt(item, "1") == 1;
    });
    const std::string expected = all_ones ? "1" : literal::CalcNOCIn(for_multiple);
    ASSERT_EQ(Noc(for_multiple), "=" + expected) << Show(for_multiple) << ", seed " << kSeed;
  }
}

// ---- Geometric mean ----

TEST_F(ListsTest, GeometricMeanIsTheRootOfTheProduct) {
  engine.RadExact(4);
  EXPECT_EQ(GeoMid({"2", "8"}), "=4");
  EXPECT_EQ(GeoMid({}), Error(ErrorNumber::kInvalidArgument));           // a root of degree 0
  EXPECT_EQ(GeoMid({"-2", "8"}), Error(ErrorNumber::kInvalidArgument));  // an even root of -16
  EXPECT_EQ(GeoMid({"2", "x"}), Error(ErrorNumber::kTypeMismatch));
}

// The radicand is the text the long way's MuchIn chain writes, whose form (-0.5 or -.5, -007 or -7)
// depends on which factors were ones; the root of it must be the same.
TEST_F(ListsTest, GeometricMeanMatchesTheRootOfTheLongWaysProduct) {
  RandomItems random(kSeed + 2);
  for (int i = 0; i < 400; ++i) {
    const Items items = random.List(5, [&] {
      static const Items kFactors = {"1", "1.0", "01", "-1", "0", "-.5", "-0.50", "-007", "2.5", ".2", "4"};
      return random.Chance(50) ? kFactors[static_cast<std::size_t>(random.Between(0, 10))] : random.Number();
    });
    engine.RadExact(static_cast<std::int16_t>(random.Between(0, 5)));
    const auto long_way = [&] {
      return engine.RadicalIn(literal::ProductOfItems(items), std::to_string(items.size()),
                              engine.RadExact());
    };
    ASSERT_EQ(GeoMid(items), Outcome(long_way)) << Show(items) << ", seed " << kSeed;
  }
}

// ---- Long numbers and the length limit ----

std::string RandomDigits(std::size_t count, std::mt19937_64& random) {
  std::string digits(count, '0');
  for (char& digit : digits) digit = static_cast<char>('0' + random() % 10);
  digits.front() = static_cast<char>('1' + random() % 9);
  return digits;
}

class Mpz {
 public:
  explicit Mpz(const std::string& digits = "0") { mpz_init_set_str(value_, digits.c_str(), 10); }
  Mpz(const Mpz&) = delete;
  Mpz& operator=(const Mpz&) = delete;
  ~Mpz() { mpz_clear(value_); }
  mpz_ptr get() { return value_; }
  std::string Text() const {
    std::string text(mpz_sizeinbase(value_, 10) + 2, '\0');
    mpz_get_str(text.data(), 10, value_);
    text.resize(text.find('\0'));
    return text;
  }

 private:
  mpz_t value_;
};

TEST_F(ListsTest, LongDivisorsMatchGmp) {
  std::mt19937_64 random(kSeed + 3);
  for (const std::size_t digits : {20, 400, 3000, 10000}) {
    const std::string common = RandomDigits(digits / 2, random);
    Items items;
    Mpz gcd("0");
    Mpz lcm("1");
    for (int i = 0; i < 3; ++i) {
      Mpz item(common);
      Mpz other(RandomDigits(digits / 2 + static_cast<std::size_t>(i), random));
      mpz_mul(item.get(), item.get(), other.get());
      items.push_back(item.Text());
      mpz_gcd(gcd.get(), gcd.get(), item.get());
      mpz_lcm(lcm.get(), lcm.get(), item.get());
    }
    EXPECT_EQ(Nod(items), "=" + gcd.Text()) << digits << " digits, seed " << kSeed + 3;
    EXPECT_EQ(Noc(items), lcm.Text().size() <= FuncLibDec::kMaxTextLength ? "=" + lcm.Text()
                                                                          : Error(ErrorNumber::kOverflow))
        << digits << " digits";
  }
}

TEST_F(ListsTest, LongSumsMatchGmp) {
  std::mt19937_64 random(kSeed + 4);
  Items items;
  Mpz sum("0");
  for (int i = 0; i < 200; ++i) {
    const std::string digits = RandomDigits(1 + random() % 3000, random);
    const bool negative = random() % 2 == 0;
    items.push_back((negative ? "-" : "") + digits);
    Mpz item(digits);
    (negative ? mpz_sub : mpz_add)(sum.get(), sum.get(), item.get());
  }
  EXPECT_EQ(Sum(items), "=" + sum.Text()) << "seed " << kSeed + 4;
}

TEST_F(ListsTest, ResultsPastTheLengthLimitOverflow) {
  const std::string overflow = Error(ErrorNumber::kOverflow);
  const std::string nines(FuncLibDec::kMaxTextLength, '9');
  const std::string power = "1" + std::string(FuncLibDec::kMaxTextLength - 1, '0');  // 32,767 digits
  EXPECT_EQ(Noc({power, "2"}), "=" + power);
  EXPECT_EQ(Noc({power, "3"}), "=3" + power.substr(1));
  EXPECT_EQ(Noc({power, "11"}), overflow);
  EXPECT_EQ(Noc({nines, "2"}), overflow);
  EXPECT_EQ(Nod({nines, nines}), "=" + nines);
  EXPECT_EQ(Sum({nines, "1"}), overflow);
  EXPECT_EQ(Sum({nines, "1", "-1"}), overflow);  // the long way fails at the second partial sum
  EXPECT_EQ(Sum({nines, "-1", "1"}), "=" + nines);
  EXPECT_EQ(GeoMid({nines.substr(0, 20000), nines.substr(0, 20000)}), overflow);
  // A factor at the limit that another form would write one character longer is no overflow.
  EXPECT_EQ(GeoMid({"-." + std::string(FuncLibDec::kMaxTextLength - 2, '5')}), "=-0.5555555555555");
}

// ---- Machine doubles ----

TEST_F(ListsTest, MachineDoublePathsWriteEveryPartialSumAsTheirText) {
  engine.iTypeNum = 0;
  struct Case {
    Items items;
    std::string sum;
    std::string mean;
  };
  const Case cases[] = {
      {{"0.1", "0.2"}, "=0.3", "=0.15"},
      {{"1", "2", "3"}, "=6", "=2"},
      {{"1", "0", "0"}, "=1", "=0.333333333333333"},
      {{"0.00001", "0"}, "=0.00001", "=0.000005"},
      {{"100000000000000000000", "3"}, "=100000000000000000000", "=50000000000000000000"},
      {{"abc", "5x", " -2.5e1"}, "=-20", "=-6.66666666666667"},
      {{}, "=0", Error(ErrorNumber::kInvalidArgument)},
      {{"1" + std::string(400, '0')}, Error(ErrorNumber::kOverflow), Error(ErrorNumber::kOverflow)},
      {{"1E308", "1E308"}, Error(ErrorNumber::kOverflow), Error(ErrorNumber::kOverflow)}};
  for (const Case& c : cases) {
    EXPECT_EQ(Sum(c.items), c.sum) << Show(c.items);
    EXPECT_EQ(Mid(c.items), c.mean) << Show(c.items);
  }
  engine.iTypeNum = 2;
  EXPECT_EQ(Sum({"1", "2"}), "=0");
  EXPECT_EQ(Mid({"1", "2"}), "=");
}

// ---- Cancellation and progress ----

TEST_F(ListsTest, CancelStopsALongListOperation) {
  Items items(3000, "123456789012345678901234567890");
  int yields = 0;
  engine.SetYieldHook([&] {
    if (++yields == 50) throw RuntimeError(ErrorNumber::kCancelled, "test", "cancelled");
  });
  const std::string cancelled = Error(ErrorNumber::kCancelled);
  const std::function<std::string(const Items&)> calls[] = {
      [&](const Items& list) { return Nod(list); }, [&](const Items& list) { return Noc(list); },
      [&](const Items& list) { return Sum(list); }, [&](const Items& list) { return GeoMid(list); }};
  for (const auto& call : calls) {
    yields = 0;
    EXPECT_EQ(call(items), cancelled);
  }
}

TEST_F(ListsTest, DivisorProgressNeverGoesBackAndEndsComplete) {
  std::mt19937_64 random(kSeed + 5);
  Items items;
  for (int i = 0; i < 100; ++i) items.push_back(RandomDigits(200, random));
  std::vector<float> seen;
  engine.SetYieldHook([&] { seen.push_back(engine.StepCalculate()); });
  engine.ipNOD = true;
  engine.ipNOC = true;
  const std::function<std::string(const Items&)> calls[] = {[&](const Items& list) { return Nod(list); },
                                                            [&](const Items& list) { return Noc(list); }};
  for (const auto& call : calls) {
    seen.clear();
    engine.StepCalculate(0);
    EXPECT_EQ(call(items).front(), '=');
    seen.push_back(engine.StepCalculate());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 1000.0F);
  }
}

// The mean publishes the progress of its sum and division under their flags, without leaving them set.
TEST_F(ListsTest, MeanProgressNeverGoesBackAndLeavesTheFlagsAsTheyWere) {
  std::vector<float> seen;
  engine.SetYieldHook([&] { seen.push_back(engine.StepCalculate()); });
  EXPECT_EQ(Mid(Items(500, "1.5")), "=1.5");
  seen.push_back(engine.StepCalculate());
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_GT(std::count_if(seen.begin(), seen.end(), [](float step) { return step > 0 && step < 1000; }), 10);
  EXPECT_EQ(seen.back(), 1000.0F);
  EXPECT_FALSE(engine.iSumm);
  EXPECT_FALSE(engine.iDev);
}

}  // namespace
}  // namespace ovn
