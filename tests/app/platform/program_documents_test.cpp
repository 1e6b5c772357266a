// The documents shipped with the program: found beside it first, then in ../share/orvanel, and a document
// that is missing or cannot be opened is told to the user, naming what was looked for.
#include "platform/program_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"
#include "temporary_folder.h"

namespace ovn {
namespace {

class ProgramDocumentsTest : public TemporaryFolder {
 protected:
  std::filesystem::path Bin() const { return folder_ / "bin"; }
  std::filesystem::path Share() const { return folder_ / "share" / "orvanel"; }

  ProgramDocuments Documents(bool opens = true) {
    return ProgramDocuments(
        messages_,
        [this, opens](const std::string& file) {
          opened_.push_back(file);
          return opens;
        },
        Bin());
  }

  RecordingMessages messages_;
  std::vector<std::string> opened_;
};

TEST_F(ProgramDocumentsTest, BesideTheProgramComesBeforeTheShareFolder) {
  Put("bin/orvanel.html");
  Put("share/orvanel/orvanel.html");
  EXPECT_EQ(ProgramDocumentPath("orvanel.html", Bin()), Bin() / "orvanel.html");
}

TEST_F(ProgramDocumentsTest, ShareFolderBesideTheProgramsFolderIsTheSecondPlace) {
  std::filesystem::create_directories(Bin());
  Put("share/orvanel/README.md");
  EXPECT_EQ(ProgramDocumentPath("README.md", Bin()), Share() / "README.md");
}

TEST_F(ProgramDocumentsTest, AbsentDocumentOrAFolderOfThatNameGivesEmpty) {
  std::filesystem::create_directories(Bin() / "orvanel.html");
  EXPECT_TRUE(ProgramDocumentPath("orvanel.html", Bin()).empty());
  EXPECT_TRUE(ProgramDocumentPath("README.md", Bin()).empty());
}

TEST_F(ProgramDocumentsTest, RunningProgramsFolderIsThatOfItsExecutable) {
  EXPECT_EQ(ProgramFile().filename(), "platform_test");
  EXPECT_EQ(AppPath(), ProgramFile().parent_path());
}

TEST_F(ProgramDocumentsTest, FoundDocumentIsOpenedWithoutAWord) {
  Put("share/orvanel/orvanel.html");
  ProgramDocuments documents = Documents();
  EXPECT_TRUE(documents.Open(kHelpPage));
  EXPECT_EQ(opened_, std::vector<std::string>{(Share() / "orvanel.html").string()});
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ProgramDocumentsTest, MissingDocumentIsToldWithEveryPlaceLookedIn) {
  ProgramDocuments documents = Documents();
  EXPECT_FALSE(documents.Open(kHelpPage));
  EXPECT_TRUE(opened_.empty());
  ASSERT_EQ(messages_.shown.size(), 1U);
  const ShownMessage& message = messages_.shown[0];
  EXPECT_EQ(message.icon, MessageIcon::kWarning);
  EXPECT_EQ(message.title, "Файл не найден");
  EXPECT_EQ(message.text, "Файл «orvanel.html» не найден. Программа искала его здесь:\n" +
                              (Bin() / "orvanel.html").string() + "\n" + (Share() / "orvanel.html").string());
}

TEST_F(ProgramDocumentsTest, DocumentWhoseProgramDoesNotStartIsTold) {
  Put("bin/README.md");
  ProgramDocuments documents = Documents(false);
  EXPECT_FALSE(documents.Open(kReadme));
  ASSERT_EQ(messages_.shown.size(), 1U);
  EXPECT_EQ(messages_.shown[0].icon, MessageIcon::kWarning);
  EXPECT_EQ(messages_.shown[0].title, "Файл не открыт");
  EXPECT_NE(messages_.shown[0].text.find("«" + (Bin() / "README.md").string() + "»"), std::string::npos);
}

}  // namespace
}  // namespace ovn
