// The form-resource loader "FormLex.FormLexLoader" over the form interface, driven late-bound.
#include <gtest/gtest.h>

#include "platform/automation/automation.h"
#include "platform/erp/catalogue.h"
#include "platform/erp/form.h"
#include "platform/erp/text_list.h"
#include "support/automation_test.h"
#include "support/environment.h"

namespace quillane::erp {
namespace {

using quillane::testing::TempDir;
using quillane::testing::CallByName;
using quillane::testing::ErrorOf;

class FormLexLoaderTest : public ::testing::Test {
 protected:
  FormLexLoaderTest() {
    dir.write("en.po",
              "msgid \"基础资料冲突\"\nmsgstr \"Base data conflict\"\n"
              "msgid \"确定\"\nmsgstr \"OK\"\n"
              "msgid \"高级\"\nmsgstr \"Advanced\"\n");
    ok = form->AddControl(std::make_shared<FormControl>("cmdOK", "确定"));
    number = form->AddControl(std::make_shared<FormControl>("txtNewNumber", ""));
    untranslated = form->AddControl(std::make_shared<FormControl>("labNote", " 未翻译 "));
  }

  // The loader's list of untranslated captions.
  std::vector<std::string> load(const std::string& language, ObjectRef extra = nullptr) {
    Variant list = CallByName(loader, "LoadFormLexStrings",
                              {Variant(ObjectRef(form)), Variant(language), Variant(dir.path().string()),
                               Variant("Q7Base"), Variant(extra)});
    return list.objectAs<TextList>()->items();
  }

  TempDir dir;
  ObjectRef loader = CreateObject("FormLex.FormLexLoader");
  std::shared_ptr<Form> form = std::make_shared<Form>("frmConflict", "基础资料冲突");
  std::shared_ptr<FormControl> ok, number, untranslated;
};

TEST_F(FormLexLoaderTest, SetsTheCaptionsOfTheFormAndItsControls) {
  auto extra = std::make_shared<Form>("frmExtra", "");
  auto advanced = extra->AddControl(std::make_shared<FormControl>("Frame", "高级"));

  EXPECT_EQ(load("en", extra), std::vector<std::string>{" 未翻译 "});
  EXPECT_EQ(form->Caption(), "Base data conflict");
  EXPECT_EQ(ok->Caption(), "OK");
  EXPECT_EQ(number->Caption(), "");  // a text box shows no caption
  EXPECT_EQ(untranslated->Caption(), " 未翻译 ");
  EXPECT_EQ(advanced->Caption(), "Advanced");
}

TEST_F(FormLexLoaderTest, LeavesTheBuiltInCaptionsInSimplifiedChinese) {
  EXPECT_TRUE(load("chs").empty());
  EXPECT_EQ(form->Caption(), "基础资料冲突");
  EXPECT_EQ(ok->Caption(), "确定");
}

TEST_F(FormLexLoaderTest, SetsTheFontOfTheLanguage) {
  EXPECT_EQ(CStr(CallByName(loader, "SetFrmFont", {Variant(ObjectRef(form)), Variant("en")})), "Arial");
  for (const auto& c : {std::static_pointer_cast<FormControl>(form), ok, number}) {
    EXPECT_EQ(c->FontName(), "Arial");
    EXPECT_EQ(c->FontSize(), 9);
  }
  CallByName(loader, "SetFrmFont", {Variant(ObjectRef(form)), Variant("cht")});
  EXPECT_EQ(ok->FontName(), "新細明體");
  CallByName(loader, "SetFrmFont", {Variant(ObjectRef(form)), Variant("chs")});
  EXPECT_EQ(ok->FontName(), "宋体");
}

TEST_F(FormLexLoaderTest, RefusesBadArgumentsAndReportsAnUnreadableCatalogue) {
  EXPECT_EQ(ErrorOf([&] { load("de"); }).number, 5);
  EXPECT_EQ(ErrorOf([&] {
              CallByName(loader, "LoadFormLexStrings",
                         {Variant(ObjectRef(form)), Variant("en"), Variant(""), Variant("Other"), Variant()});
            }).number,
            5);
  EXPECT_EQ(ErrorOf([&] {
              CallByName(loader, "LoadFormLexStrings", {Variant(), Variant("chs"), Variant(""), Variant("Q7Base")});
            }).number,
            91);

  dir.write("en.po", "msgstr \"orphan\"\n");
  AutomationError e = ErrorOf([&] { load("en"); });
  EXPECT_EQ(e.number, kCatalogueFileError);
  EXPECT_EQ(e.source, "FormLex.FormLexLoader");
  EXPECT_NE(e.description.find(dir.file("en.po")), std::string::npos) << e.description;
  EXPECT_EQ(ok->Caption(), "确定");  // nothing changed
}

TEST(Form, ExposesItsControlsByPositionAndName) {
  auto form = std::make_shared<Form>("frm", "标题");
  auto first = form->AddControl(std::make_shared<FormControl>("Frame", "处理方式"));
  auto second = form->AddControl(std::make_shared<FormControl>("chkAll", "适用当前文件所有此类情况"));
  ObjectRef asObject = form;

  EXPECT_EQ(CLng(asObject->Get("ControlCount")), 2);
  EXPECT_EQ(CallByName(asObject, "Controls", {Variant(1)}).object(), second);
  EXPECT_EQ(CallByName(asObject, "Controls", {Variant("CHKALL")}).object(), second);
  EXPECT_EQ(CallByName(asObject, "Controls", {Variant("frame")}).object(), first);
  EXPECT_EQ(ErrorOf([&] { CallByName(asObject, "Controls", {Variant(2)}); }).number, 9);
  EXPECT_EQ(ErrorOf([&] { CallByName(asObject, "Controls", {Variant("none")}); }).number, 9);

  ObjectRef control = first;
  control->Let("Caption", Variant("Action"));
  control->Let("FontSize", Variant(10.5));
  EXPECT_EQ(CStr(control->Get("Caption")), "Action");
  EXPECT_EQ(CDbl(control->Get("FontSize")), 10.5);
  EXPECT_EQ(CStr(asObject->Get("Name")), "frm");
}

}  // namespace
}  // namespace quillane::erp
