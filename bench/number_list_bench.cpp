// Number-list files at their largest: 32,766 records of 100-digit values (about 3.5 MB), read and parsed,
// then written back whole through a temporary file and a rename (with its fsync). The target: the open
// window and the memory list stay instant for any list the format allows.
//   number_list_bench --benchmark_filter='Read'    parsing alone, the file already in the page cache
//   number_list_bench --benchmark_filter='Write'   formatting and the atomic replace, fsync included
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "files/number_list_file.h"

namespace {

std::vector<ovn::NumberRecord> LargestList() {
  std::mt19937_64 random(42);
  std::vector<ovn::NumberRecord> records;
  for (std::size_t index = 0; index < ovn::kMaxLinesAfterHeader; ++index) {
    std::string value(100, '0');
    for (char& digit : value) digit = static_cast<char>('0' + random() % 10);
    records.push_back({"n" + std::to_string(index), value});
  }
  return records;
}

std::filesystem::path BenchFile() {
  return std::filesystem::temp_directory_path() / "orvanel_number_list_bench.num";
}

void ReadLargestList(benchmark::State& state) {
  const std::filesystem::path file = BenchFile();
  if (!ovn::WriteNumberList(file, LargestList()).empty()) state.SkipWithError("cannot write the list");
  for (auto _ : state) benchmark::DoNotOptimize(ovn::ReadNumberList(file));
  std::filesystem::remove(file);
}
BENCHMARK(ReadLargestList)->Unit(benchmark::kMillisecond);

void WriteLargestList(benchmark::State& state) {
  const std::filesystem::path file = BenchFile();
  const std::vector<ovn::NumberRecord> records = LargestList();
  for (auto _ : state) {
    if (!ovn::WriteNumberList(file, records).empty()) state.SkipWithError("cannot write the list");
  }
  std::filesystem::remove(file);
}
BENCHMARK(WriteLargestList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
