// The settings reader, on the path start-up and the options window take: the input is the store file;
// the settings are loaded with their overrides, saved as confirming the options saves them, and loaded
// again. The store the program wrote itself reads back with no problem and gives the same settings.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "fuzz_check.h"
#include "registry/registry.h"
#include "registry/settings_store.h"

namespace {

auto Fields(const ovn::Settings& s) {
  return std::tie(s.TypeNum, s.DevCount, s.RadCount, s.LogCount, s.MaxDevConv, s.ExpCount, s.PiCount,
                  s.ExpValue, s.PiValue, s.MemListFile, s.PastPath, s.BGButton, s.BGText, s.Main, s.LBText,
                  s.Memory);
}

// A folder of its own for the store, in memory when the machine has /dev/shm: every save syncs its file.
std::filesystem::path StoreFolder() {
  const std::filesystem::path base =
      std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
  std::string pattern = (base / "orvanel-settings-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  ::setenv("ORVANEL_CONFIG_DIR", pattern.c_str(), 1);
  return pattern;
}

ovn::Settings Load(std::string& problem) {
  ovn::Settings settings;
  problem = ovn::LoadSettings(settings) + ovn::LoadPrecisionOverrides(settings);
  return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = StoreFolder();
  for (const auto& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove(entry.path());
  std::ofstream(ovn::RegistryStorePath(), std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  std::string problem;
  const ovn::Settings loaded = Load(problem);
  const std::string saved = ovn::SaveSettings(loaded, ovn::Settings{});
  ovn::fuzz::Require(saved.empty() || !problem.empty(), "a sound store saves without a word");
  const ovn::Settings reloaded = Load(problem);
  ovn::fuzz::Require(problem.empty(), "the store the program wrote reads back with no problem");
  ovn::fuzz::Require(Fields(reloaded) == Fields(loaded), "saved settings load back the same");
  return 0;
}
