// How promptly each operation answers Esc: every operation of both number types, at the largest operands
// the limits allow, run through the controller as the window runs it, with the engines' yield hook
// replaced by one that stamps the time and reads the progress the window would show. Per operation:
//   total     time to the answer (or "cut" when the hook stopped it at 2 s)
//   gap       the longest stretch without a yield call, start and end included: Esc waits at most this
//   stuck     the longest stretch in which the shown progress did not move
//   cancel    Esc pressed at 0.3 s (the next yield throws, as the controller's does): press to return
// Each run is a process of its own, so every operation pays its first-use costs as a user's would; a
// run still going at 20 s (no yield came after the 2 s cut) is killed and shown as such.
//   cancel_latency_bench [filter]   only the rows whose name contains the filter
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "calc/calculator.h"

namespace {

using Clock = std::chrono::steady_clock;
using ovn::Calculator;

constexpr double kCancelAt = 0.3;    // seconds: when the bench presses Esc
constexpr double kCutAt = 2.0;       // seconds: when a run is stopped anyway
constexpr unsigned kKillAfter = 20;  // seconds without an answer: the run is killed
constexpr int kLimit = 32767;
constexpr int kLongestList = 32766;

struct Case {
  std::string name;
  std::int32_t type;
  std::string code;
  std::string first;
  std::string second;
  std::vector<std::string> list;
  std::int16_t places = 12;      // DevCount, RadCount and LogCount
  std::int16_t conversion = 12;  // MaxDevConv
};

std::string Digits(std::size_t count, unsigned seed = 1) {
  std::mt19937 random(seed);
  std::string text(count, '0');
  for (char& digit : text) digit = static_cast<char>('0' + random() % 10);
  text[0] = static_cast<char>('1' + random() % 9);
  return text;
}

struct Run {
  double total = 0;
  double gap = 0;
  double stuck = 0;
  int yields = 0;
  bool cut = false;
  std::string outcome;
};

// Runs one evaluation; the hook throws the cancel error at its first call past `stop_at` seconds.
Run Measure(const Case& c, double stop_at) {
  ovn::Settings settings;
  settings.TypeNum = c.type;
  settings.DevCount = settings.RadCount = settings.LogCount = c.places;
  settings.MaxDevConv = c.conversion;
  struct Silent : ovn::MessageService, ovn::InputService, ovn::ClipboardService {
    void Show(const std::string&, const std::string&, ovn::MessageIcon) override {}
    std::optional<std::string> Ask(const std::string&, const std::string&, const std::string&) override {
      return std::nullopt;
    }
    void SetText(const std::string&) override {}
    std::string Text() override { return {}; }
  } silent;
  ovn::Platform platform{silent, silent, silent};
  Calculator calculator(settings, platform);
  calculator.FirstOperand = c.first;
  calculator.CurrentNumber = c.second;
  calculator.OperationCode = c.code;
  calculator.NewNumber = true;
  for (const std::string& item : c.list) calculator.NumberList().Add(item);

  Run run;
  const Clock::time_point start = Clock::now();
  double last_yield = 0;
  double last_move = 0;
  float shown = calculator.Progress();
  const auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  const std::function<void()> hook = [&] {
    const double now = seconds();
    ++run.yields;
    run.gap = std::max(run.gap, now - last_yield);
    last_yield = now;
    if (const float progress = calculator.Progress(); progress != shown) {
      shown = progress;
      run.stuck = std::max(run.stuck, now - last_move);
      last_move = now;
    }
    if (now >= stop_at) {
      run.cut = true;
      throw ovn::RuntimeError(ovn::ErrorNumber::kCancelled, "bench", "cancelled");
    }
  };
  calculator.DecimalEngine().SetYieldHook(hook);
  calculator.ExtremeEngine().SetYieldHook(hook);
  ovn::Evaluation evaluation = calculator.BeginEvaluation();
  calculator.Compute(evaluation);
  run.total = seconds();
  run.gap = std::max(run.gap, run.total - last_yield);
  run.stuck = std::max(run.stuck, run.total - last_move);
  if (evaluation.error) {
    run.outcome = *evaluation.error == ovn::MessageForError(ovn::ErrorNumber::kCancelled) ? "" : "error";
    if (*evaluation.error == ovn::MessageForError(ovn::ErrorNumber::kOverflow)) run.outcome = "error 6";
  } else {
    run.outcome = std::to_string(evaluation.result ? evaluation.result->size() : 0) + " chars";
  }
  return run;
}

// Measures in a child process; returns nothing when the child was killed or failed.
std::optional<Run> MeasureApart(const Case& c, double stop_at) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return std::nullopt;
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    alarm(kKillAfter);
    const Run run = Measure(c, stop_at);
    char line[256];
    const int length = std::snprintf(line, sizeof line, "%f %f %f %d %d %s", run.total, run.gap, run.stuck,
                                     run.yields, run.cut ? 1 : 0, run.outcome.c_str());
    if (write(pipe_ends[1], line, static_cast<std::size_t>(length)) != length) _exit(1);
    _exit(0);
  }
  close(pipe_ends[1]);
  char line[256] = {};
  std::size_t filled = 0;
  for (ssize_t got;
       filled < sizeof line - 1 && (got = read(pipe_ends[0], line + filled, sizeof line - 1 - filled)) > 0;) {
    filled += static_cast<std::size_t>(got);
  }
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  Run run;
  int cut = 0;
  char outcome[128] = {};
  if (std::sscanf(line, "%lf %lf %lf %d %d %127[^\n]", &run.total, &run.gap, &run.stuck, &run.yields, &cut,
                  outcome) < 5) {
    return std::nullopt;
  }
  run.cut = cut != 0;
  run.outcome = outcome;
  return run;
}

std::vector<Case> Cases() {
  const std::string big = Digits(kLimit, 1);
  const std::string big2 = Digits(kLimit, 2);
  const std::string half = Digits(16383, 3);
  const std::string half2 = Digits(16383, 4);
  const std::string fraction = "1." + Digits(kLimit - 2, 5);
  const std::string long_exponent = Digits(kLimit, 6);
  std::vector<Case> cases;
  for (std::int32_t type : {1, 2}) {
    const std::string t = type == 1 ? "1 " : "2 ";
    // Type 2 counts places in base-256 digits and shows at most 1,001 decimals of a fraction.
    const auto add = [&](std::string name, std::string code, std::string first, std::string second,
                         std::int16_t places = 12, std::int16_t conversion = 12) {
      cases.push_back(
          {t + name, type, std::move(code), std::move(first), std::move(second), {}, places, conversion});
    };
    const auto add_list = [&](std::string name, std::string code, std::vector<std::string> list,
                              std::int16_t places = 12) {
      cases.push_back({t + name, type, std::move(code), {}, {}, std::move(list), places, 12});
    };
    add("sum 32767 digits", "PLUS", big, big2);
    add("difference of fractions", "MINUS", fraction, big.substr(0, 16000), 12, kLimit);
    add("product 16383 x 16383", "MUCH", half, half2);
    add("product 32767 x 32767", "MUCH", big, big2);
    add("quotient 32767 / 16383", "DEV", big, half, 16000);
    add("quotient 1 / 7 places max", "DEV", "1", "7", 32000);
    add("quotient of fractions", "DEV", fraction, "3." + Digits(kLimit - 2, 7), 32000, kLimit);
    add("power whole 7^38000", "STEP", "7", "38000");
    add("power of fraction 1.5^50000", "STEP", "1.5", "50000");
    add("power negative 3^-20000", "STEP", "3", "-20000", 32000);
    add("power long exponent", "STEP", "2", long_exponent);
    add("power fractional 2^1.2345", "STEP", "2", "1.2345", 30000);
    add("power fractional long exp", "STEP", "2", "0." + Digits(1000, 8), 1000, 1000);
    add("power fractional exp max", "STEP", "2", "0." + Digits(kLimit - 2, 10), 100, kLimit);
    add("power fractional conv 1000", "STEP", "2", "1.2345", 1000, 1000);
    add("power fractional conv max", "STEP", "2", "1.2345", 1000, kLimit);
    add("power fraction^fraction", "STEP", fraction.substr(0, 16000), "2.5", 1000, kLimit);
    add("power fraction^whole conv max", "STEP", fraction, "50000", 100, kLimit);
    add("power negative fractional", "STEP", "2", "-1.2345", 30000, 30000);
    add("power big^0.5", "STEP", big, "0.5", 16000);
    add("root 2 of 32767 digits", "RAD", big, "2", 16000);
    add("root 2 of 2 places max", "RAD", "2", "2", 32000);
    add("root 3 of 2", "RAD", "2", "3", 30000);
    add("root huge degree", "RAD", "2", "123456789", 30000);
    add("root degree 129/128 of max", "RAD", big, "1.0078125", 12, kLimit);
    add("root negative degree", "RAD", "2", "-3", 30000);
    add("root fractional degree", "RAD", "2", "2.5", 30000);
    add("log10 2", "LOGARIFM", "2", "10", 30000);
    add("log7 of 30000 digits", "LOGARIFM", big.substr(0, 30000), "7", 30000);
    add("log base near 1", "LOGARIFM", "2", "1.0000001", 30000);
    add("log of fraction conv max", "LOGARIFM", fraction, "1.5", 30000, kLimit);
    add("log10 2 places max", "LOGARIFM", "2", "10", kLimit);
    add("ln 2", "LN", "2", "2", 30000);
    add("exponenta 2", "EXPONENTA", "2", "2", 30000);
    add("ln of 32767 digits", "LN", big, big, 30000);
    add("exponenta -2.5", "EXPONENTA", "-2.5", "-2.5", 30000);
    add("exponenta 75000", "EXPONENTA", "75000", "75000", 100);
    add("mod 32767 by 16383", "MOD", big, half);
    add("mod of fractions", "MOD", fraction, "1.5", 12, kLimit);
    add("tower 2^^5", "GIPERSTEP", "2", "5");
    add("tower 3^^3", "GIPERSTEP", "3", "3");
    add("tower 1.1^^3 places", "GIPERSTEP", "1.1", "3", 30000);
    add("tower 1.4^^huge places", "GIPERSTEP", "1.4", long_exponent, 1000);
    add("tower 1.0001^^5000", "GIPERSTEP", "1.0001", "5000");
    add("factorial 9000", "FACTOR", "9000", "9000");
    add("factorial 100000", "FACTOR", "100000", "100000");
    add("double factorial 16000", "FACTORDBL", "16000", "16000");
    add("combinations 100000 50000", "CCONBIN", "100000", "50000");
    add("combinations huge", "CCONBIN", big, "20000");
    add("permutations 100000 6000", "PEREST", "100000", "6000");
    add("permutations huge", "PEREST", big, "20000");
    add("min of 32767 digits", "MIN", big, big2);
    add_list("multinomial 3000 3000 3000", "MULTINOM", {"3000", "3000", "3000"});
    add_list("multinomial 9000 ones", "MULTINOM", std::vector<std::string>(9000, "1"));
    add_list("gcd 32767 digits", "NOD", {big, big2});
    add_list("lcm 16383 digits", "NOC", {half, half2});
    std::vector<std::string> list;
    for (int i = 0; i < kLongestList; ++i) list.push_back(Digits(30, static_cast<unsigned>(i + 10)));
    add_list("gcd of 32766 items", "NOD", list);
    add_list("lcm of 32766 items", "NOC", list);
    add_list("mean of 32766 items", "MID", list, 1000);
    add_list("geometric mean 32766", "GMID", list, 1000);
    add_list("geometric mean 2 x 16383", "GMID", {half, half2}, 1000);
    add_list("geometric mean 1000 items", "GMID", std::vector<std::string>(list.begin(), list.begin() + 1000),
             1000);
    add_list("mean 32766 x 1000 digits", "MID", std::vector<std::string>(kLongestList, Digits(1000, 9)),
             1000);
    cases.push_back({t + "mean 32766 fractions conv max",
                     type,
                     "MID",
                     {},
                     {},
                     std::vector<std::string>(kLongestList, "0." + Digits(1000, 11)),
                     12,
                     kLimit});
    add_list("ap term", "AP_NUM", {big, big2, "32767"});
    add_list("gp term 3 7 38000", "GP_NUM", {"3", "7", "38000"});
    add_list("ap sum", "AP_SUM", {big, big2, "32767"});
    add_list("gp sum 3 7 38000", "GP_SUM", {"3", "7", "38000"});
    add_list("gp sum fractions", "GP_SUM", {fraction, fraction, fraction}, 30000);
    add_list("gp term fraction", "GP_NUM", {"1.5", "1.5", "50000"}, 100);
    add("ap difference", "AP_RZ", big, big2);
    add("gp ratio", "GP_RZ", big, half, 16000);
  }
  return cases;
}

std::string Seconds(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string filter = argc > 1 ? argv[1] : "";
  std::printf("%-34s %9s %7s %9s %9s %9s  %s\n", "operation", "total s", "yields", "gap s", "stuck s",
              "cancel s", "answer");
  for (const Case& c : Cases()) {
    if (c.name.find(filter) == std::string::npos) continue;
    const std::optional<Run> run = MeasureApart(c, kCutAt);
    if (!run) {
      std::printf("%-34s   killed at %u s: no answer, and no yield after the cut\n", c.name.c_str(),
                  kKillAfter);
      std::fflush(stdout);
      continue;
    }
    std::string cancel = "-";
    if (run->total > kCancelAt) {
      const std::optional<Run> cancelled = MeasureApart(c, kCancelAt);
      // A run that ends before Esc has nothing to cancel.
      if (!cancelled) {
        cancel = "killed";
      } else if (cancelled->total > kCancelAt) {
        cancel = Seconds(cancelled->total - kCancelAt);
      }
    }
    std::printf("%-34s %9s %7d %9s %9s %9s  %s\n", c.name.c_str(),
                run->cut ? "cut" : Seconds(run->total).c_str(), run->yields, Seconds(run->gap).c_str(),
                Seconds(run->stuck).c_str(), cancel.c_str(), run->outcome.c_str());
    std::fflush(stdout);
  }
}
