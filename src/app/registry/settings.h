// The settings variables of the calculator, in one object. The settings store loads and saves them; a
// missing configuration leaves the first-run defaults below, with which every operation works at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ovn {

// The reference texts the values of e and pi are cut from.
inline constexpr std::string_view kReferenceE = "2.718281828459045";
inline constexpr std::string_view kReferencePi = "3.1415926535897932384626433832795";

// The reference text cut to `places` digits after its point (all of it when it has fewer).
std::string CutReference(std::string_view reference, int places);

// The desktop's button-face colour, as a system colour value (0x80000000 plus the system colour index).
inline constexpr std::uint32_t kButtonFaceColour = 0x8000000F;

struct Settings {
  std::int32_t TypeNum = 1;  // 0 machine doubles, 1 decimal engine, 2 extreme engine
  std::int16_t DevCount = 12;
  std::int16_t RadCount = 12;
  std::int16_t LogCount = 12;
  std::int16_t MaxDevConv = 12;
  std::int16_t ExpCount = 14;
  std::int16_t PiCount = 31;
  std::string ExpValue = CutReference(kReferenceE, 14);
  std::string PiValue = CutReference(kReferencePi, 31);
  std::string MemListFile;
  std::string PastPath;
  // Colours as 0x00BBGGRR values or system colours; the defaults are the scheme of "Обновить".
  std::uint32_t BGButton = kButtonFaceColour;
  std::uint32_t BGText = 0xFFFFFF;
  std::uint32_t Main = kButtonFaceColour;
  std::uint32_t LBText = 0x000000;
  std::uint32_t Memory = kButtonFaceColour;
};

}  // namespace ovn
