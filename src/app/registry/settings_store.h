// Loading and saving the calculator's settings in the registry store. Every value is stored as text,
// numbers as decimal text. Start-up calls LoadSettings, then, last, LoadPrecisionOverrides; the options
// and colour windows call SaveSettings when confirmed.
#pragma once

#include <string>
#include <string_view>

#include "registry/settings.h"

namespace ovn {

inline constexpr std::string_view kSettingsKey = "Software\\Orvane\\Lite";
inline constexpr std::string_view kColorsKey = "Software\\Orvane\\Lite\\Colors";

// The range of each count, as its control in the options window allows it.
struct CountRange {
  int low;
  int high;
};
inline constexpr CountRange kPrecisionRange{0, 20000};  // DevCount, RadCount, MaxDevConv
inline constexpr CountRange kLogRange{0, 2000};
inline constexpr CountRange kPiRange{2, 32};
inline constexpr CountRange kExpRange{2, 14};

// Reads "DevCount", "ExpCount", "LogCount", "PiCount", "RadCount", "TypeNum", "PastPath", "MemListFile",
// the five colours under kColorsKey, then "ExpValue" and "PiValue". A number is the longest leading number
// of its text, rounded half to even; a count outside the range its options control allows is clamped
// into it, a "TypeNum" other than 0, 1, 2 reads as 1, a colour outside 32 bits as its default. A missing
// or empty value reads as its first-run default; a missing e or pi is cut from the reference text by its
// count. Returns the problem with the store file, "" when none: the settings are read either way.
[[nodiscard]] std::string LoadSettings(Settings& settings);

// Writes the counts, "TypeNum", "MemListFile", the colours, "ExpValue", "PiValue" and "MaxDevConv" in one
// atomic change of the store (ChangeRegistry): each value that differs from `before` (what the settings
// were when the window opened) or that the store lacks. The others are left as stored, so confirming one
// window never undoes what another instance saved meanwhile. Returns what the user should be told about the
// store file (why it was not written, or where the copy of a malformed one was kept), "" when all went well.
[[nodiscard]] std::string SaveSettings(const Settings& settings, const Settings& before);

// Replaces DevCount by "DevExact", RadCount by "RadExact", TypeNum by "NumType" and MaxDevConv by
// "MaxDevConv", each only when that value is stored, read as LoadSettings reads numbers. Returns the
// problem with the store file, "" when none.
[[nodiscard]] std::string LoadPrecisionOverrides(Settings& settings);

// The start-up's reading: LoadSettings, then LoadPrecisionOverrides. Both read the one store file, so a
// problem with it is returned once, to be told once.
[[nodiscard]] std::string LoadStartSettings(Settings& settings);

}  // namespace ovn
