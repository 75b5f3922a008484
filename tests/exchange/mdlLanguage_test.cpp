#include "exchange/mdlLanguage.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/automation/automation.h"
#include "platform/erp/form.h"
#include "platform/registry/registry.h"
#include "support/environment.h"

namespace quillane::mdlLanguage {
namespace {

using quillane::testing::ScopedEnv;
using quillane::testing::TempDir;

// Each test picks its language; the apartment's cache is emptied around it.
class MdlLanguageTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetForTests(); }
  void TearDown() override { ResetForTests(); }
  void useLanguage(const char* language) {
    languageEnv.emplace("QUILLANE_LANGUAGE", language);
    ResetForTests();
  }

  TempDir dir;
  ScopedEnv registryFile{"QUILLANE_REGISTRY", dir.file("registry.ini")};
  ScopedEnv noLanguage{"QUILLANE_LANGUAGE", std::nullopt};
  std::optional<ScopedEnv> languageEnv;
};

// A resource loader that accepts its settings and fails every lookup, leaving its error in Err as a
// component that ran "resume next" inside would.
class FailingLoader : public AutomationObject {
 public:
  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table =
        DispatchBuilder<FailingLoader>()
            .raw("ResDirectory", 1, InvokeKind::Let, [](FailingLoader&, Arguments) { return Variant(); })
            .raw("ResFileBaseName", 2, InvokeKind::Let, [](FailingLoader&, Arguments) { return Variant(); })
            .raw("LanguageID", 3, InvokeKind::Let, [](FailingLoader&, Arguments) { return Variant(); })
            .raw("LoadString", 4, InvokeKind::Method,
                 [](FailingLoader&, Arguments) -> Variant {
                   AutomationError e(kObjectErrorBase + 1, "Q7ResLoader.Loader", "no such text");
                   Err().set(e);
                   throw e;
                 })
            .build();
    return table;
  }
};

const ErrState& APendingError() {
  static const ErrState pending = [] {
    ErrState e;
    e.set(AutomationError(-2147217873, "Microsoft OLE DB Provider for SQL Server", "违反了 PRIMARY KEY 约束",
                          "help.chm", 42));
    return e;
  }();
  return pending;
}

TEST_F(MdlLanguageTest, SimplifiedChineseKeepsEveryText) {
  EXPECT_EQ(GetLanguageID(), 1);
  EXPECT_EQ(GetLanguageName(), "chs");
  for (const char* text : {"", "   ", "请输入新的核算项目代码!", "  请输入新的核算项目代码!", " UUID:", "no entry"})
    EXPECT_EQ(LoadLangString(text), text);
}

TEST_F(MdlLanguageTest, TranslatesAndKeepsTheBlanksAroundTheText) {
  struct Case {
    const char* language;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"en", "  请输入新的核算项目代码!", "  Please enter a new accounting item number!"},
      {"en", "错误号:", "Error number:"},
      {"en", " 确定  ", " OK  "},
      {"en", "记录", " record "},  // the translation's own spacing is its own
      {"en", "没有这条", "没有这条"},  // not in the catalogue
      {"en", "", ""},
      {"en", "   ", "   "},
      {"cht", ")失败!", ")失敗!"},
      {"cht", "\t确定", "\t确定"},  // only blanks are trimmed, so this text is not in the catalogue
  };
  for (const Case& c : cases) {
    useLanguage(c.language);
    EXPECT_EQ(LoadLangString(c.text), c.expected) << c.language << ": " << c.text;
  }
}

TEST_F(MdlLanguageTest, KeepsTheCallersPendingError) {
  for (const char* language : {"chs", "en"}) {
    useLanguage(language);
    Err() = APendingError();
    LoadLangString("错误号:");
    EXPECT_EQ(Err(), APendingError()) << language;
  }

  // Also when the loader fails and leaves its own error behind.
  ClassOverride failing("Q7ResLoader.Loader", [] { return std::make_shared<FailingLoader>(); });
  useLanguage("en");
  Err() = APendingError();
  EXPECT_EQ(LoadLangString("  请输入新的核算项目代码!"), "  请输入新的核算项目代码!");
  EXPECT_EQ(Err(), APendingError());

  // Without a pending error, the loader's failure is cleared.
  Err().Clear();
  EXPECT_EQ(LoadLangString("错误号:"), "错误号:");
  EXPECT_EQ(Err().Number, 0);
  Err().Clear();
}

TEST_F(MdlLanguageTest, MissingComponentsLeaveTheTextsAsTheyAre) {
  useLanguage("en");
  {
    ClassOverride none("Q7ResLoader.Loader", [] { return ObjectRef(); });
    EXPECT_EQ(LoadLangString("确定"), "确定");
    EXPECT_EQ(GetResLoader(""), nullptr);
  }
  // A loader that could not be created is not cached: the next call creates it.
  EXPECT_EQ(LoadLangString("确定"), "OK");

  ClassOverride noLangInfo("Q7LangInfo.LangInfo", [] { return ObjectRef(); });
  ResetForTests();
  EXPECT_EQ(GetLanguageID(), 1);
}

TEST_F(MdlLanguageTest, AsksTheLanguageOncePerApartment) {
  registry::WriteValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE", "Language", "cht");
  EXPECT_EQ(GetLanguageID(), 3);

  registry::WriteValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE", "Language", "en");
  EXPECT_EQ(GetLanguageName(), "cht");  // cached

  std::int16_t otherApartment = 0;
  std::thread([&] { otherApartment = GetLanguageID(); }).join();
  EXPECT_EQ(otherApartment, 2);
  EXPECT_EQ(GetLanguageID(), 3);

  ResetForTests();
  EXPECT_EQ(GetLanguageID(), 2);
}

TEST_F(MdlLanguageTest, QueryLanguageMapsTheComponentsAnswer) {
  const std::pair<const char*, std::int16_t> cases[] = {{"cht", 3}, {"en", 2}, {"chs", 1}, {"de", 1}};
  for (const auto& [language, id] : cases) {
    useLanguage(language);
    EXPECT_EQ(QueryLanguage(), id) << language;
  }
  // An unreadable registry is no language at all: simplified Chinese.
  dir.write("registry.ini", "not a registry\n");
  languageEnv.reset();
  EXPECT_EQ(QueryLanguage(), 1);
}

TEST_F(MdlLanguageTest, LangFieldName) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"en", " FName ", "FName_en"}, {"cht", "FName", "FName_cht"}, {"chs", " FName ", " FName "}};
  for (const auto& [language, field, expected] : cases) {
    useLanguage(language);
    EXPECT_EQ(LangFieldName(field), expected) << language;
  }
}

TEST_F(MdlLanguageTest, GetResLoaderSetsTheLanguageOnTheCachedLoader) {
  useLanguage("en");
  ObjectRef loader = GetResLoader("");
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(CStr(loader->Get("LanguageID")), "en");
  EXPECT_EQ(CStr(loader->Get("ResFileBaseName")), "Q7Base");
  EXPECT_EQ(GetResLoader("cht"), loader);
  EXPECT_EQ(CStr(loader->Get("LanguageID")), "cht");
  EXPECT_EQ(GetResLoader("xx"), nullptr);  // the loader refuses the name
  EXPECT_EQ(GetFormResLoader(), GetFormResLoader());
}

class FormTextTest : public MdlLanguageTest {
 protected:
  FormTextTest() {
    ok = form->AddControl(std::make_shared<erp::FormControl>("cmdOK", "确定"));
    cancel = form->AddControl(std::make_shared<erp::FormControl>("cmdCancel", "取消"));
    note = form->AddControl(std::make_shared<erp::FormControl>("labNote", "未翻译的说明"));
  }

  std::shared_ptr<erp::Form> form = std::make_shared<erp::Form>("frmConflict", "基础资料冲突");
  std::shared_ptr<erp::FormControl> ok, cancel, note;
};

TEST_F(FormTextTest, LoadsCaptionsAndFontOfTheLanguage) {
  useLanguage("en");
  EXPECT_EQ(LoadFormText(form, nullptr), "未翻译的说明\r\n");
  EXPECT_EQ(form->Caption(), "Base data conflict");
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(cancel->Caption(), "Cancel");
  EXPECT_EQ(note->Caption(), "未翻译的说明");
  EXPECT_EQ(ok->FontName(), "Arial");

  useLanguage("cht");
  auto fresh = std::make_shared<erp::Form>("frmConflict", "基础资料冲突");
  LoadFormText(fresh, nullptr);
  EXPECT_EQ(fresh->Caption(), "基礎資料衝突");
  EXPECT_EQ(SetFormFont(fresh), "新細明體");
}

TEST_F(FormTextTest, KeepsTheBuiltInCaptionsInSimplifiedChineseOrWithoutALoader) {
  EXPECT_EQ(LoadFormText(form, nullptr), "");
  EXPECT_EQ(ok->Caption(), "确定");
  EXPECT_EQ(ok->FontName(), "宋体");

  useLanguage("en");
  ClassOverride none("FormLex.FormLexLoader", [] { return ObjectRef(); });
  EXPECT_EQ(LoadFormText(form, nullptr), "");
  EXPECT_EQ(SetFormFont(form), "");
  EXPECT_EQ(ok->Caption(), "确定");
  EXPECT_EQ(LoadFormText(nullptr, nullptr), "");  // no form: nothing to do, nothing raised
}

}  // namespace
}  // namespace quillane::mdlLanguage
