// What no single example shows about number-list files: any list is read back exactly as it was written,
// in every form, and a save killed at any moment leaves the old file or the new one, never a mix.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "files/number_list_file.h"
#include "platform/temporary_folder.h"

namespace ovn {
namespace {

constexpr unsigned kSeed = 20261209;

// What names and values are made of: ASCII, Cyrillic in UTF-8, and bytes that are no UTF-8 at all (the
// single-byte Cyrillic code page of older files, a lone continuation byte, a cut-off sequence).
const std::vector<std::string> kPieces = {
    "a", "Z", "7", "_", "-", ".", "%", "число", "Ё", "\xF7\xE8\xF1\xEB\xEE", "\x80", "\xD0", "\xFF"};

std::string RandomText(std::mt19937& rng, std::size_t most_pieces) {
  std::string text;
  for (std::size_t n = std::uniform_int_distribution<std::size_t>(1, most_pieces)(rng); n > 0; --n) {
    text += kPieces[std::uniform_int_distribution<std::size_t>(0, kPieces.size() - 1)(rng)];
  }
  return text;
}

// A number, now and then one of the longest an operand can be, or any text: values are not checked. Values
// of the memory list are kept verbatim, so theirs may start and end with spaces.
std::string RandomValue(std::mt19937& rng, ListKind kind) {
  std::string value;
  switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
    case 0:
      value = std::string(32767, '9');
      break;
    case 1:
      value = RandomText(rng, 6) + " " + RandomText(rng, 6);
      break;
    default:
      value = std::to_string(std::uniform_int_distribution<long long>()(rng)) + ".25";
      break;
  }
  return kind == ListKind::kMemoryList && value.size() % 2 == 0 ? "  " + value + " " : value;
}

using NumberListPropertiesTest = TemporaryFolder;

TEST_F(NumberListPropertiesTest, AnyListIsReadBackAsWritten) {
  struct Form {
    const char* file;
    ListKind kind;
  };
  const Form forms[] = {{"list.num", ListKind::kNumberFile},
                        {"list.osv", ListKind::kNumberFile},
                        {"memlist.num", ListKind::kMemoryList}};
  std::mt19937 rng(kSeed);
  for (const Form& form : forms) {
    for (int round = 0; round < 40; ++round) {
      std::vector<NumberRecord> records(std::uniform_int_distribution<std::size_t>(0, 60)(rng));
      for (NumberRecord& record : records) record = {RandomText(rng, 8), RandomValue(rng, form.kind)};
      // Every list is formatted and parsed; every tenth goes through a file as well.
      const std::filesystem::path file = folder_ / form.file;
      NumberListContent read;
      if (round % 10 == 0) {
        ASSERT_EQ(WriteNumberList(file, records, form.kind), "");
        read = ReadNumberList(file, form.kind);
      } else {
        read = ParseNumberList(FormatNumberList(records, file, form.kind), file, form.kind);
      }
      EXPECT_EQ(read.error + read.warning, "") << form.file << ", seed " << kSeed << ", round " << round;
      EXPECT_EQ(read.records, records) << form.file << ", seed " << kSeed << ", round " << round;
    }
  }
}

// A child process saves a large list over a smaller one and is killed at a random moment from its start to
// the end of an undisturbed save; the file is then always whole, old or new.
TEST_F(NumberListPropertiesTest, SaveKilledAtAnyMomentLeavesTheOldFileOrTheNewOne) {
  using Clock = std::chrono::steady_clock;
  const std::filesystem::path file = folder_ / "list.num";
  const std::vector<NumberRecord> old_records(1000, {"old", "1"});
  const std::vector<NumberRecord> new_records(kMaxLinesAfterHeader, {"new", std::string(20, '7')});
  const std::string old_text = FormatNumberList(old_records, file);
  const std::string new_text = FormatNumberList(new_records, file);
  // Starts the save in a child, kills it after `delay` (never, when none), and waits for it.
  const auto save_in_child = [&](std::optional<std::chrono::microseconds> delay) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(WriteNumberList(file, new_records).empty() ? 0 : 1);
    ASSERT_GT(child, 0);
    if (delay) {
      std::this_thread::sleep_for(*delay);
      ::kill(child, SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (!delay) {
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
  };

  // The quickest of three undisturbed saves: the first one of all is slower than those that follow.
  auto whole_save = std::chrono::microseconds::max();
  for (int run = 0; run < 3; ++run) {
    ASSERT_EQ(WriteNumberList(file, old_records), "");
    const Clock::time_point started = Clock::now();
    save_in_child(std::nullopt);
    whole_save =
        std::min(whole_save, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started));
    ASSERT_EQ(Text(file), new_text);
  }

  std::mt19937 rng(kSeed);
  // Most of a save in a child is starting and ending the process. A kill that leaves the old file and no
  // temporary one came too early, one that finds the new file too late: the delays narrow to the moments
  // in between (widening again when timing noise closes the window) until five kills came mid-save.
  constexpr int kKillsWhileSaving = 5;
  int killed_while_saving = 0;
  long long earliest = 0, latest = whole_save.count();
  for (int round = 0; round < 100 && killed_while_saving < kKillsWhileSaving; ++round) {
    if (earliest >= latest) {
      earliest = 0;
      latest = whole_save.count();
    }
    ASSERT_EQ(WriteNumberList(file, old_records), "");
    const std::chrono::microseconds delay(std::uniform_int_distribution<long long>(earliest, latest)(rng));
    save_in_child(delay);
    const std::string text = Text(file);
    EXPECT_TRUE(text == old_text || text == new_text)
        << "seed " << kSeed << ", round " << round << ", killed after " << delay.count()
        << " us: " << text.size() << " bytes";
    bool mid_save = false;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      if (entry.path() == file) continue;
      mid_save = true;
      std::filesystem::remove(entry.path());
    }
    if (mid_save) {
      ++killed_while_saving;
    } else if (text == old_text) {
      earliest = delay.count();
    } else {
      latest = delay.count();
    }
  }
  EXPECT_EQ(killed_while_saving, kKillsWhileSaving) << "saves of " << whole_save.count() << " us";
}

}  // namespace
}  // namespace ovn
