// The resource-string loader "Q7ResLoader.Loader" and the catalogues it reads, driven late-bound as the
// library drives it.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/automation/automation.h"
#include "platform/erp/catalogue.h"
#include "platform/erp/res_loader.h"
#include "support/automation_test.h"
#include "support/environment.h"

namespace quillane::erp {
namespace {

using quillane::testing::TempDir;
using quillane::testing::CallByName;
using quillane::testing::ErrorOf;

class ResLoaderTest : public ::testing::Test {
 protected:
  std::string load(const std::string& text) { return CStr(CallByName(loader, "LoadString", {Variant(text)})); }
  void useFolder(const std::string& folder, const std::string& language) {
    loader->Let("ResDirectory", Variant(folder));
    loader->Let("LanguageID", Variant(language));
  }

  ObjectRef loader = CreateObject("Q7ResLoader.Loader");
  TempDir dir;
};

TEST_F(ResLoaderTest, StartsOnTheShippedResourceSetInSimplifiedChinese) {
  EXPECT_EQ(CStr(loader->Get("ResDirectory")), "");
  EXPECT_EQ(CStr(loader->Get("ResFileBaseName")), "Q7Base");
  EXPECT_EQ(CStr(loader->Get("LanguageID")), "chs");
}

TEST_F(ResLoaderTest, LooksTextsUpInTheCatalogueOfTheLanguage) {
  dir.write("en.po", "msgid \"确定\"\nmsgstr \"OK\"\n");
  useFolder(dir.path().string(), "EN");
  EXPECT_EQ(CStr(loader->Get("LanguageID")), "en");
  EXPECT_EQ(load("确定"), "OK");

  AutomationError miss = ErrorOf([&] { load("取消"); });
  EXPECT_EQ(miss.number, kResourceNotFound);
  EXPECT_EQ(miss.source, "Q7ResLoader.Loader");
  EXPECT_THROW(load(" 确定"), AutomationError);  // looked up exactly as given

  // Simplified Chinese is the source language: nothing to look up, every text misses.
  loader->Let("LanguageID", Variant("chs"));
  EXPECT_EQ(ErrorOf([&] { load("确定"); }).number, kResourceNotFound);
}

TEST_F(ResLoaderTest, ReadsTheShippedCataloguesBesideTheLibraryByDefault) {
  loader->Let("LanguageID", Variant("en"));
  EXPECT_EQ(load("确定"), "OK");
  loader->Let("LanguageID", Variant("cht"));
  EXPECT_EQ(load("确定"), "確定");
  EXPECT_EQ(load("请输入新的核算项目代码!"), "請輸入新的核算項目代碼!");
}

TEST_F(ResLoaderTest, ReadsAgainWhenTheFolderChangesOrAReadFailed) {
  TempDir other;
  dir.write("en.po", "msgid \"确定\"\nmsgstr \"OK\"\n");
  other.write("en.po", "msgid \"确定\"\nmsgstr \"Fine\"\n");
  useFolder(dir.path().string() + "/", "en");
  EXPECT_EQ(load("确定"), "OK");
  loader->Let("ResDirectory", Variant(other.path().string()));
  EXPECT_EQ(load("确定"), "Fine");

  // A catalogue that was missing is found once it is there.
  loader->Let("LanguageID", Variant("cht"));
  EXPECT_EQ(ErrorOf([&] { load("确定"); }).number, kCatalogueFileError);
  other.write("cht.po", "msgid \"确定\"\nmsgstr \"確定\"\n");
  EXPECT_EQ(load("确定"), "確定");
}

TEST_F(ResLoaderTest, AnUnreadableCatalogueIsAnErrorNamingIt) {
  struct Case {
    const char* name;
    std::function<void(const TempDir&)> prepare;
    const char* fault;
  };
  const Case cases[] = {
      {"missing", [](const TempDir&) {}, "is missing or not a file"},
      {"a folder", [](const TempDir& d) { std::filesystem::create_directory(d.file("en.po")); },
       "is missing or not a file"},
      {"malformed", [](const TempDir& d) { d.write("en.po", "msgid \"a\"\nmsgstr \"1\"\nmsgid \"b\"\n"); },
       "malformed at line 3: msgid without msgstr"},
  };
  for (const Case& c : cases) {
    TempDir folder;
    c.prepare(folder);
    useFolder(folder.path().string(), "en");
    AutomationError e = ErrorOf([&] { load("确定"); });
    EXPECT_EQ(e.number, kCatalogueFileError) << c.name;
    EXPECT_NE(e.description.find(folder.file("en.po")), std::string::npos) << e.description;
    EXPECT_NE(e.description.find(c.fault), std::string::npos) << e.description;
  }
}

TEST_F(ResLoaderTest, RefusesUnknownLanguagesAndResourceSets) {
  EXPECT_EQ(ErrorOf([&] { loader->Let("LanguageID", Variant("de")); }).number, 5);
  EXPECT_EQ(ErrorOf([&] { loader->Let("LanguageID", Variant("../en")); }).number, 5);
  EXPECT_EQ(ErrorOf([&] { loader->Let("ResFileBaseName", Variant("Other")); }).number, 5);
  loader->Let("ResFileBaseName", Variant("q7base"));
  EXPECT_EQ(CStr(loader->Get("LanguageID")), "chs");  // a refused value changes nothing
}

// Every message has a translation in both shipped catalogues, and the two list the same messages.
TEST(ShippedCatalogues, TranslateTheSameMessages) {
  auto read = [](const char* language) {
    std::string path = std::string(QUILLANE_SOURCE_DATA_DIR) + "/lang/" + language + ".po";
    return ParsePo(quillane::testing::ReadFile(path));
  };
  PoMessages en = read("en");
  PoMessages cht = read("cht");
  ASSERT_FALSE(en.empty());
  for (const auto& [id, text] : en) EXPECT_TRUE(cht.contains(id)) << id << " has no traditional-Chinese text";
  for (const auto& [id, text] : cht) EXPECT_TRUE(en.contains(id)) << id << " has no English text";
}

}  // namespace
}  // namespace quillane::erp
