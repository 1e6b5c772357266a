#include "global/global.h"

#include <glob.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>

#include "decimal/func_lib_dec.h"

extern char** environ;

namespace ovn {

std::string NormalizeDecimalPoint(std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  text = first == std::string::npos ? std::string{} : text.substr(first, text.find_last_not_of(' ') - first + 1);
  std::replace(text.begin(), text.end(), ',', '.');
  return text;
}

std::string ExpandExponent(std::string_view text) {
  // The engine's conversion of exponent notation writes exactly these forms.
  return FuncLibDec().ToExtNum(text);
}

std::string GetToken(std::string_view text, std::int16_t& position, std::string_view delimiters,
                     bool drop_delimiter) {
  const std::size_t start = position > 0 ? static_cast<std::size_t>(position - 1) : 0;
  if (start >= text.size()) return {};
  const std::size_t delimiter = text.find_first_of(delimiters, start);
  const std::size_t end = delimiter == std::string_view::npos ? text.size() : delimiter + 1;
  position = static_cast<std::int16_t>(end + 1);
  const std::size_t length = end - start - (delimiter != std::string_view::npos && drop_delimiter ? 1 : 0);
  return std::string(text.substr(start, length));
}

bool FileExists(const std::string& path) {
  glob_t matches{};
  const bool found = glob(path.c_str(), GLOB_NOSORT, nullptr, &matches) == 0 && matches.gl_pathc > 0;
  globfree(&matches);
  return found;
}

std::string FileTitle(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool OpenWithAssociatedProgram(const std::string& target, const std::string& /*extension*/) {
  std::string program = "xdg-open";
  std::string argument = target;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
  // xdg-open hands the target over and returns at once; reap it so that it leaves no zombie.
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace ovn
