// Registration of the "num" files with the desktop, into a temporary data folder: what the two files say,
// how the program's path is written into Exec, that a second start rewrites nothing, and that a folder
// that cannot be written is passed over without a throw.
#include "platform/file_type_registration.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <optional>
#include <string>

#include "global/global.h"
#include "temporary_folder.h"

namespace ovn {
namespace {

constexpr const char* kPackage = "mime/packages/orvanel-num.xml";
constexpr const char* kEntry = "applications/orvanel.desktop";

class FileTypeRegistrationTest : public TemporaryFolder {
 protected:
  bool Register(const std::filesystem::path& program = "/opt/orvanel/bin/orvanel") const {
    return RegisterFileType(NumFileType(program), folder_);
  }
  std::string ExecLine() const {
    const std::string entry = Text(folder_ / kEntry);
    const std::size_t start = entry.find("\nExec=") + 1;
    return entry.substr(start, entry.find('\n', start) - start);
  }
};

TEST_F(FileTypeRegistrationTest, WritesTheMimePackageAndTheDesktopEntry) {
  ASSERT_TRUE(Register());
  EXPECT_EQ(Text(folder_ / kPackage),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"application/x-orvanel-num\">\n"
            "    <comment>Число Orvane'а</comment>\n"
            "    <icon name=\"orvanel\"/>\n"
            "    <glob pattern=\"*.num\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n");
  EXPECT_EQ(Text(folder_ / kEntry),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Orvane Lite\n"
            "Exec=/opt/orvanel/bin/orvanel %f\n"
            "Icon=orvanel\n"
            "Terminal=false\n"
            "Categories=Utility;Calculator;\n"
            "MimeType=application/x-orvanel-num;\n");
}

TEST_F(FileTypeRegistrationTest, ProgramPathIsQuotedAndEscapedAsDesktopEntriesRequire) {
  const struct {
    const char* program;
    const char* exec;
  } cases[] = {
      {"/home/me/my calc/orvanel", R"(Exec="/home/me/my calc/orvanel" %f)"},
      {"/home/me/100%/orvanel", "Exec=/home/me/100%%/orvanel %f"},
      // '$' and '\' are escaped inside the quotes; the line's own escaping doubles every backslash again.
      {R"(/home/me/a$b\c/orvanel)", R"(Exec="/home/me/a\\$b\\\\c/orvanel" %f)"},
  };
  for (const auto& item : cases) {
    ASSERT_TRUE(Register(item.program));
    EXPECT_EQ(ExecLine(), item.exec) << item.program;
  }
}

TEST_F(FileTypeRegistrationTest, SecondStartRewritesNothing) {
  ASSERT_TRUE(Register());
  const auto long_ago = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  for (const char* file : {kPackage, kEntry}) std::filesystem::last_write_time(folder_ / file, long_ago);
  const std::string entry = Text(folder_ / kEntry);

  ASSERT_TRUE(Register());
  for (const char* file : {kPackage, kEntry}) {
    EXPECT_EQ(std::filesystem::last_write_time(folder_ / file), long_ago) << file;
  }
  EXPECT_EQ(Text(folder_ / kEntry), entry);
}

TEST_F(FileTypeRegistrationTest, EntryOfAnotherProgramPlaceIsReplaced) {
  ASSERT_TRUE(Register("/old/place/orvanel"));
  ASSERT_TRUE(Register("/new/place/orvanel"));
  EXPECT_EQ(ExecLine(), "Exec=/new/place/orvanel %f");
}

TEST_F(FileTypeRegistrationTest, UnwritableDataFolderIsPassedOver) {
  const std::filesystem::path not_a_folder = Put("data-home-is-a-file");
  EXPECT_FALSE(RegisterFileType(NumFileType("/opt/orvanel/bin/orvanel"), not_a_folder));
  EXPECT_FALSE(RegisterFileType(NumFileType("/opt/orvanel/bin/orvanel"), "relative/data"));
  EXPECT_FALSE(std::filesystem::exists("relative"));
}

TEST_F(FileTypeRegistrationTest, MimeCacheIsRebuiltWhenTheToolIsInstalled) {
  if (!RunAndWait({"update-mime-database", "-v"}, true)) GTEST_SKIP() << "update-mime-database is missing";
  ASSERT_TRUE(Register());
  EXPECT_TRUE(std::filesystem::exists(folder_ / "mime" / "mime.cache"));
  EXPECT_NE(Text(folder_ / "mime" / "globs2").find("*.num"), std::string::npos);
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value, 1);
  }
  ~ScopedVariable() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UserDataHome, FollowsXdgDataHomeUnlessItIsRelative) {
  const ScopedVariable home("HOME", "/home/someone");
  {
    const ScopedVariable data("XDG_DATA_HOME", "/srv/data");
    EXPECT_EQ(UserDataHome(), "/srv/data");
  }
  const ScopedVariable relative("XDG_DATA_HOME", "data");
  EXPECT_EQ(UserDataHome(), "/home/someone/.local/share");
}

}  // namespace
}  // namespace ovn
