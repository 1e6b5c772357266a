#include "registry/settings_store.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "decimal/double_text.h"
#include "ovnliblt/runtime_error.h"
#include "registry/registry.h"

namespace ovn {
namespace {

constexpr RegistryRoot kRoot = RegistryRoot::kLocalMachine;

struct CountValue {
  std::string_view name;
  std::int16_t Settings::*field;
  CountRange range;
};

// In the order LoadSettings reads them and SaveSettings writes them.
constexpr CountValue kCounts[] = {
    {"DevCount", &Settings::DevCount, kPrecisionRange}, {"ExpCount", &Settings::ExpCount, kExpRange},
    {"LogCount", &Settings::LogCount, kLogRange},       {"PiCount", &Settings::PiCount, kPiRange},
    {"RadCount", &Settings::RadCount, kPrecisionRange},
};
constexpr CountValue kMaxDevConv{"MaxDevConv", &Settings::MaxDevConv, kPrecisionRange};
constexpr CountValue kCountOverrides[] = {
    {"DevExact", &Settings::DevCount, kPrecisionRange},
    {"RadExact", &Settings::RadCount, kPrecisionRange},
    kMaxDevConv,
};

struct TextValue {
  std::string_view name;
  std::string Settings::*field;
};
constexpr TextValue kTexts[] = {{"PastPath", &Settings::PastPath}, {"MemListFile", &Settings::MemListFile}};

struct ColourValue {
  std::string_view name;
  std::uint32_t Settings::*field;
};
constexpr ColourValue kColours[] = {
    {"BGButton", &Settings::BGButton}, {"BGText", &Settings::BGText}, {"Main", &Settings::Main},
    {"LBText", &Settings::LBText},     {"Memory", &Settings::Memory},
};

// The stored number rounded half to even, as the platform converts to an integer; nothing when the value
// is missing or empty, or too large for a double (that reads as missing rather than stopping start-up).
std::optional<double> ReadNumber(const RegistryStore& store, std::string_view key, std::string_view name) {
  const std::optional<std::string> text = store.Find(kRoot, key, name);
  if (!text || text->empty()) return std::nullopt;
  try {
    return std::nearbyint(TextToDouble(*text));
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

std::optional<std::int16_t> ReadCount(const RegistryStore& store, const CountValue& count) {
  const std::optional<double> number = ReadNumber(store, kSettingsKey, count.name);
  if (!number) return std::nullopt;
  return static_cast<std::int16_t>(std::clamp<double>(*number, count.range.low, count.range.high));
}

// The combo box offers types 0, 1 and 2 only; anything else reads as the decimal engine.
std::optional<std::int32_t> ReadNumberType(const RegistryStore& store, std::string_view name) {
  const std::optional<double> number = ReadNumber(store, kSettingsKey, name);
  if (!number) return std::nullopt;
  return *number >= 0 && *number <= 2 ? static_cast<std::int32_t>(*number) : 1;
}

// A colour may be stored as a signed 32-bit value (system colours are then negative) or as an unsigned one.
std::optional<std::uint32_t> ReadColour(const RegistryStore& store, std::string_view name) {
  const std::optional<double> number = ReadNumber(store, kColorsKey, name);
  if (!number || *number < -2147483648.0 || *number > 4294967295.0) return std::nullopt;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(*number));
}

// The stored value of e or pi, or the reference cut to `places` when none is stored.
std::string ReadConstant(const RegistryStore& store, std::string_view name, std::string_view reference,
                         int places) {
  std::optional<std::string> text = store.Find(kRoot, kSettingsKey, name);
  return text && !text->empty() ? *std::move(text) : CutReference(reference, places);
}

}  // namespace

std::string LoadSettings(Settings& settings) {
  const RegistryStore store = RegistryStore::Open();
  const Settings defaults;
  for (const CountValue& count : kCounts) {
    settings.*count.field = ReadCount(store, count).value_or(defaults.*count.field);
  }
  settings.TypeNum = ReadNumberType(store, "TypeNum").value_or(defaults.TypeNum);
  for (const TextValue& text : kTexts) {
    settings.*text.field = store.Find(kRoot, kSettingsKey, text.name).value_or(defaults.*text.field);
  }
  for (const ColourValue& colour : kColours) {
    settings.*colour.field = ReadColour(store, colour.name).value_or(defaults.*colour.field);
  }
  settings.ExpValue = ReadConstant(store, "ExpValue", kReferenceE, settings.ExpCount);
  settings.PiValue = ReadConstant(store, "PiValue", kReferencePi, settings.PiCount);
  return store.problem();
}

std::string SaveSettings(const Settings& settings, const Settings& before) {
  return ChangeRegistry([&](RegistryStore& store) {
    // What this window did not change may be newer in the store, saved there by another instance.
    const auto save = [&](std::string_view key, std::string_view name, bool changed,
                          const std::string& text) {
      if (changed || !store.Find(kRoot, key, name)) store.Set(kRoot, key, name, text);
    };
    const auto save_number = [&](std::string_view key, std::string_view name, auto Settings::*field) {
      save(key, name, settings.*field != before.*field, std::to_string(settings.*field));
    };
    const auto save_text = [&](std::string_view name, std::string Settings::*field) {
      save(kSettingsKey, name, settings.*field != before.*field, settings.*field);
    };
    for (const CountValue& count : kCounts) save_number(kSettingsKey, count.name, count.field);
    save_number(kSettingsKey, "TypeNum", &Settings::TypeNum);
    save_text("MemListFile", &Settings::MemListFile);
    for (const ColourValue& colour : kColours) save_number(kColorsKey, colour.name, colour.field);
    save_text("ExpValue", &Settings::ExpValue);
    save_text("PiValue", &Settings::PiValue);
    save_number(kSettingsKey, kMaxDevConv.name, kMaxDevConv.field);
  });
}

std::string LoadPrecisionOverrides(Settings& settings) {
  const RegistryStore store = RegistryStore::Open();
  for (const CountValue& count : kCountOverrides) {
    if (const auto value = ReadCount(store, count)) settings.*count.field = *value;
  }
  if (const auto type = ReadNumberType(store, "NumType")) settings.TypeNum = *type;
  return store.problem();
}

std::string LoadStartSettings(Settings& settings) {
  std::string problem = LoadSettings(settings);
  const std::string overrides_problem = LoadPrecisionOverrides(settings);
  return problem.empty() ? overrides_problem : problem;
}

}  // namespace ovn
