#include "global/global.h"

#include <fcntl.h>
#include <glob.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

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
  // Never waited for: without a desktop environment xdg-open runs the browser itself until it closes.
  return StartDetached({"xdg-open", target});
}

namespace {

// Starts command[0], found through PATH, with the rest as its arguments; the child's id, or -1 when it did
// not start.
pid_t Spawn(const std::vector<std::string>& command, bool discard_output) {
  if (command.empty()) return -1;
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
  return started ? child : -1;
}

}  // namespace

bool RunAndWait(const std::vector<std::string>& command, bool discard_output) {
  const pid_t child = Spawn(command, discard_output);
  if (child < 0) return false;
  // Reaped here, so that it leaves no zombie.
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool StartDetached(const std::vector<std::string>& command) {
  const pid_t child = Spawn(command, false);
  if (child < 0) return false;
  // Reaped on a thread of its own, so that the caller goes on at once and no zombie is left.
  std::thread([child] {
    int status = 0;
    waitpid(child, &status, 0);
  }).detach();
  return true;
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
