// The settings store read from a file of 40,000 values, all under one key or each under a key of its own
// (a store grown by hand or by a script). The target: reading stays linear in the size of the file, so the
// options window opens at once whatever the store holds.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "registry/registry.h"

namespace {

constexpr int kValues = 40000;

std::filesystem::path StoreFile(bool key_per_value) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "orvanel_settings_bench.txt";
  std::ofstream out(file, std::ios::binary);
  for (int index = 0; index < kValues; ++index) {
    if (key_per_value || index == 0) out << "[HKEY_LOCAL_MACHINE\\Software\\Bench\\K" << index << "]\n";
    out << "Value" << index << '=' << index << '\n';
  }
  return file;
}

void ReadStore(benchmark::State& state) {
  const std::filesystem::path file = StoreFile(state.range(0) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(ovn::RegistryStore(file));
  std::filesystem::remove(file);
}
BENCHMARK(ReadStore)->ArgName("key_per_value")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
