// A fresh store folder per test, named by ORVANEL_CONFIG_DIR, removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

namespace ovn {

class TemporaryStore : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvanel-store-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    ::setenv("ORVANEL_CONFIG_DIR", folder_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("ORVANEL_CONFIG_DIR");
    std::filesystem::remove_all(folder_);
  }

  std::filesystem::path StoreFile() const { return folder_ / "registry.txt"; }

  void WriteStoreFile(std::string_view content) const {
    std::ofstream(StoreFile(), std::ios::binary) << content;
  }
  static std::string FileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::set<std::string> FolderEntries() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  std::filesystem::path folder_;
};

}  // namespace ovn
