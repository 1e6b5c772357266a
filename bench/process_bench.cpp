// Whole processes, as a person runs them: orvanel-cli against a process that reads the same texts with
// GMP or MPFR, computes and writes the digits. Each side starts cold (our ln 2 ... ln 7 and MPFR's
// constants are built in the process). The time is the child's CPU time (user + system), which a busy
// machine disturbs less than the wall clock; the median of paired runs, and the ratio of the medians.
//   process_bench [runs]        the table (3 runs by default)
//   process_bench --oracle N    (internal) runs the oracle of workload N
// The environment variable ORVANEL_CLI names another orvanel-cli to time (an older build, say).
#include <fcntl.h>
#include <gmp.h>
#include <mpfr.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "gmp_yardstick.h"
#include "mpfr_yardstick.h"

namespace {

using bench::Mpfr;
using bench::Mpz;
using bench::RandomDigits;
using bench::ToText;

mpfr_prec_t BitsFor(std::size_t digits) {
  return static_cast<mpfr_prec_t>(3.3219281 * static_cast<double>(digits)) + 64;
}

// The digits of value to `places` places, cut off, as text.
void Write(const mpfr_t value, std::size_t places) {
  std::vector<char> text(places + 64);
  mpfr_snprintf(text.data(), text.size(), "%.*RZf", static_cast<int>(places), value);
  std::puts(text.data());
}

// log_base(x) to `places` places at `bits` bits: mpfr_log10 or mpfr_log for 10 and e, else a quotient.
void Logarithm(const std::string& x, const std::string& base, std::size_t places, mpfr_prec_t bits) {
  Mpfr value(bits), b(bits);
  mpfr_set_str(value.value, x.c_str(), 10, MPFR_RNDN);
  if (base == "10") {
    mpfr_log10(value.value, value.value, MPFR_RNDZ);
  } else if (base == "e") {
    mpfr_log(value.value, value.value, MPFR_RNDZ);
  } else {
    mpfr_set_str(b.value, base.c_str(), 10, MPFR_RNDN);
    mpfr_log(value.value, value.value, MPFR_RNDN);
    mpfr_log(b.value, b.value, MPFR_RNDN);
    mpfr_div(value.value, value.value, b.value, MPFR_RNDZ);
  }
  Write(value.value, places);
}

void Power(const std::string& base, const std::string& exponent, std::size_t places, mpfr_prec_t bits) {
  Mpfr value(bits), e(bits);
  mpfr_set_str(value.value, base.c_str(), 10, MPFR_RNDN);
  mpfr_set_str(e.value, exponent.c_str(), 10, MPFR_RNDN);
  mpfr_pow(value.value, value.value, e.value, MPFR_RNDZ);
  Write(value.value, places);
}

void GcdOrLcm(const std::string& a, const std::string& b, bool lcm) {
  Mpz x, y;
  mpz_set_str(x.value, a.c_str(), 10);
  mpz_set_str(y.value, b.c_str(), 10);
  (lcm ? mpz_lcm : mpz_gcd)(x.value, x.value, y.value);
  std::puts(ToText(x.value).c_str());
}

// Base-256 places of the extreme engine in bits, and the most decimal places it prints.
mpfr_prec_t BitsForBytes(std::size_t places) {
  return static_cast<mpfr_prec_t>(8 * places + 64);
}
constexpr std::size_t kExtremePlaces = 1001;

struct Workload {
  std::string name;
  std::vector<std::string> ours;  // orvanel-cli's arguments
  std::function<void()> oracle;
};

std::vector<Workload> Workloads() {
  const std::string a16 = RandomDigits(16000, 1), b16 = RandomDigits(16000, 2);
  const std::string a30 = RandomDigits(30000, 3), b30 = RandomDigits(30000, 4);
  std::vector<Workload> list;
  for (const std::size_t places : {2000, 30000}) {
    const std::string p = std::to_string(places);
    list.push_back({"log10 2, " + p + " places", {"--log", p, "2", "LOGARIFM", "10", "="}, [=] {
                      Logarithm("2", "10", places, BitsFor(places));
                    }});
    list.push_back({"ln 2, " + p + " places", {"--log", p, "2", "LN", "="}, [=] {
                      Logarithm("2", "e", places, BitsFor(places));
                    }});
  }
  list.push_back({"log7 of a 30,000-digit number, 30000 places",
                  {"--log", "30000", a30, "LOGARIFM", "7", "="},
                  [=] { Logarithm(a30, "7", 30000, BitsFor(30010)); }});
  list.push_back({"2^1.2345, 30000 places", {"--rad", "30000", "2", "STEP", "1.2345", "="}, [] {
                    Power("2", "1.2345", 30000, BitsFor(30000));
                  }});
  const std::string long_exponent = "1." + RandomDigits(120, 5);
  list.push_back({"2^(1.<120 digits>), 30000 places",
                  {"--rad", "30000", "2", "STEP", long_exponent, "="},
                  [=] { Power("2", long_exponent, 30000, BitsFor(30000)); }});
  list.push_back(
      {"GCD of two 16,000-digit numbers", {a16, "NOD", b16, "NOD", "="}, [=] { GcdOrLcm(a16, b16, false); }});
  list.push_back(
      {"LCM of two 16,000-digit numbers", {a16, "NOC", b16, "NOC", "="}, [=] { GcdOrLcm(a16, b16, true); }});
  list.push_back(
      {"GCD of two 30,000-digit numbers", {a30, "NOD", b30, "NOD", "="}, [=] { GcdOrLcm(a30, b30, false); }});
  for (const std::size_t places : {12458, 32767}) {
    const std::string p = std::to_string(places);
    list.push_back({"type 2: log10 2, " + p + " base-256 places",
                    {"--type", "2", "--log", p, "2", "LOGARIFM", "10", "="},
                    [=] { Logarithm("2", "10", kExtremePlaces, BitsForBytes(places)); }});
  }
  list.push_back({"type 2: 2^1.2345, 12458 base-256 places",
                  {"--type", "2", "--rad", "12458", "2", "STEP", "1.2345", "="},
                  [] { Power("2", "1.2345", kExtremePlaces, BitsForBytes(12458)); }});
  list.push_back({"type 2: 2^1.2345, 12458 places, conversion 1000",
                  {"--type", "2", "--rad", "12458", "--max-dev-conv", "1000", "2", "STEP", "1.2345", "="},
                  [] { Power("2", "1.2345", kExtremePlaces, BitsForBytes(12458)); }});
  list.push_back({"type 2: GCD of two 30,000-digit numbers",
                  {"--type", "2", a30, "NOD", b30, "NOD", "="},
                  [=] { GcdOrLcm(a30, b30, false); }});
  return list;
}

// Runs a program with its output thrown away; the child's CPU time in milliseconds.
double CpuMilliseconds(const std::vector<std::string>& argv) {
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "%s failed\n", argv[0].c_str());
  const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Workload> workloads = Workloads();
  if (argc == 3 && std::string(argv[1]) == "--oracle") {
    workloads.at(std::stoul(argv[2])).oracle();
    return 0;
  }
  const int runs = argc == 2 ? std::max(1, std::atoi(argv[1])) : 3;
  std::printf("%-50s %12s %12s %8s\n", "workload (whole process, CPU ms, median)", "ours", "GMP/MPFR",
              "ratio");
  for (std::size_t i = 0; i < workloads.size(); ++i) {
    const char* cli = std::getenv("ORVANEL_CLI");
    std::vector<std::string> ours{cli != nullptr ? cli : ORVANEL_CLI};
    ours.insert(ours.end(), workloads[i].ours.begin(), workloads[i].ours.end());
    const std::vector<std::string> oracle{"/proc/self/exe", "--oracle", std::to_string(i)};
    std::vector<double> our_times, oracle_times;
    for (int r = 0; r < runs; ++r) {
      our_times.push_back(CpuMilliseconds(ours));
      oracle_times.push_back(CpuMilliseconds(oracle));
    }
    const double a = Median(our_times), b = Median(oracle_times);
    std::printf("%-50s %12.1f %12.1f %8.2f\n", workloads[i].name.c_str(), a, b, a / std::max(b, 0.01));
    std::fflush(stdout);
  }
  return 0;
}
