#include "global/global.h"

#include <fcntl.h>
#include <glob.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

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
  // xdg-open hands the target over and returns at once.
  return RunAndWait({"xdg-open", target});
}

bool RunAndWait(const std::vector<std::string>& command, bool discard_output) {
  if (command.empty()) return false;
  std::vector<std::string> arguments = command;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (discard_output) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  }
  pid_t child = 0;
  const bool started = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!started) return false;
  // Reaped here, so that it leaves no zombie.
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::filesystem::path UserDataHome() {
  // The XDG rules ignore a relative XDG_DATA_HOME.
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') return data;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/') {
    return std::filesystem::path(home) / ".local" / "share";
  }
  return {};
}

}  // namespace ovn
