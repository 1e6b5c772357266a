#include "ovnliblt/component.h"

#include <gtest/gtest.h>

#include <string>

#include "expect_error.h"
#include "ovnliblt/extrem_num.h"
#include "ovnliblt/extrem_num_list.h"
#include "ovnliblt/string_list.h"

namespace ovn {
namespace {

TEST(CreateObject, CreatesEachClassByItsName) {
  EXPECT_NE(std::dynamic_pointer_cast<StringList>(CreateObject("StringList")), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<ExtremNum>(CreateObject("ExtremNum")), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<ExtremNumList>(CreateObject("ExtremNumList")), nullptr);
  for (const char* name : {"StringList", "ExtremNum", "ExtremNumList"}) {
    EXPECT_EQ(CreateObject(name)->ClassName(), name);
  }
}

TEST(CreateObject, EveryCallGivesANewObject) {
  const auto first = CreateObjectAs<StringList>("StringList");
  const auto second = CreateObjectAs<StringList>("StringList");
  first->Add("x");
  EXPECT_NE(first, second);
  EXPECT_EQ(second->Count(), 0);
}

TEST(CreateObject, UnknownNameRaisesError5NamingIt) {
  for (const char* name : {"", "stringlist", "Collection", "ExtremNumList "}) {
    try {
      CreateObject(name);
      ADD_FAILURE() << "no error for \"" << name << '"';
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), ErrorNumber::kInvalidArgument);
      EXPECT_EQ(error.Source(), "CreateObject");
      EXPECT_NE(error.Description().find('"' + std::string(name) + '"'), std::string::npos);
    }
  }
}

TEST(CreateObjectAs, ClassOfAnotherTypeRaisesError13) {
  EXPECT_RUNTIME_ERROR(CreateObjectAs<ExtremNum>("ExtremNumList"), ErrorNumber::kTypeMismatch);
  EXPECT_RUNTIME_ERROR(CreateObjectAs<StringList>("Nothing"), ErrorNumber::kInvalidArgument);
  EXPECT_NE(CreateObjectAs<Component>("ExtremNum"), nullptr);
}

}  // namespace
}  // namespace ovn
