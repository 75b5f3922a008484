#include "platform/erp/lang_info.h"

#include <gtest/gtest.h>

#include "platform/automation/automation.h"
#include "platform/registry/registry.h"
#include "support/automation_test.h"
#include "support/environment.h"

namespace quillane::erp {
namespace {

using quillane::testing::ScopedEnv;
using quillane::testing::TempDir;
using quillane::testing::ErrorOf;

class LangInfoTest : public ::testing::Test {
 protected:
  std::string current() { return CStr(CreateObject("Q7LangInfo.LangInfo")->Get("CurrentLanguage")); }

  TempDir dir;
  ScopedEnv registryFile{"QUILLANE_REGISTRY", dir.file("registry.ini")};
  ScopedEnv language{"QUILLANE_LANGUAGE", std::nullopt};
};

TEST_F(LangInfoTest, EnvironmentThenRegistryThenSimplifiedChinese) {
  EXPECT_EQ(current(), "chs");

  registry::WriteValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\ZIVOVIZIRADE", "language", " CHT ");
  EXPECT_EQ(current(), "cht");

  ScopedEnv english("QUILLANE_LANGUAGE", " EN ");
  EXPECT_EQ(current(), "en");
  ScopedEnv blank("QUILLANE_LANGUAGE", "  ");
  EXPECT_EQ(current(), "cht");
}

TEST_F(LangInfoTest, AnUnreadableRegistryIsReported) {
  dir.write("registry.ini", "Language=en\n");
  AutomationError e = ErrorOf([&] { current(); });
  EXPECT_EQ(e.number, registry::kRegistryFileError);
  EXPECT_NE(e.description.find(dir.file("registry.ini")), std::string::npos) << e.description;

  // The environment's language needs no registry.
  ScopedEnv english("QUILLANE_LANGUAGE", "en");
  EXPECT_EQ(current(), "en");
}

}  // namespace
}  // namespace quillane::erp
