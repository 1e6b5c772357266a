// Program-wide helpers shared by the windows and the controller.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ovn {

// Trims surrounding spaces and turns every "," into "."; the argument is changed the same way.
std::string NormalizeDecimalPoint(std::string& text);
// The number of a double's text written without an exponent part: "1.5E+20" gives
// "150000000000000000000", "-2.5E-07" gives "-0.00000025"; a text without "E" comes back unchanged.
std::string ExpandExponent(std::string_view text);
// The characters from `position` (1-based) up to and including the first one in `delimiters`, or to the
// end; without that delimiter when drop_delimiter is set. `position` moves past the token.
std::string GetToken(std::string_view text, std::int16_t& position, std::string_view delimiters,
                     bool drop_delimiter);
// True when the path, or anything its wildcards match, exists.
bool FileExists(const std::string& path);
// The part of a path after its last "/" or "\".
std::string FileTitle(std::string_view path);
// Opens a file or web address with the program the desktop associates with it (xdg-open); true when that
// program was started. The extension is accepted for the callers' sake; xdg-open finds the type itself.
bool OpenWithAssociatedProgram(const std::string& target, const std::string& extension = "");
// Runs command[0], found through PATH, with the rest as its arguments (no shell) and waits for it; its
// output and error output go nowhere when discard_output is set. True when it ran and exited with status 0.
bool RunAndWait(const std::vector<std::string>& command, bool discard_output = false);
// Starts the command as RunAndWait does but returns at once, never waiting for it. True when it started.
bool StartDetached(const std::vector<std::string>& command);
// The user's data folder: $XDG_DATA_HOME, or ~/.local/share when it is unset or relative; empty when
// neither gives an absolute folder.
std::filesystem::path UserDataHome();

}  // namespace ovn
