// The facade's bulk files of custom item classes, over a stand-in clsItemClass that pages fixed
// documents per class and records what it is given to import.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "facade_fixture.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/TrzWriter.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

// Pages as clsItemClass writes them: the class element carries the item-class default namespace.
std::string classPage(const std::string& name, const std::string& items) {
  return "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"ItemClass\"><ItemClass xmlns=\"" + std::string(kItemClassNamespace) + "\" Name=\"" + name +
         "\">" + items + "</ItemClass></Root>";
}
std::string item(const std::string& name) { return "<Item><Name>" + name + "</Name></Item>"; }

class FakeItemClass : public AutomationObject {
 public:
  struct Script {
    // The pages of each class; a class whose pages run out before its last stamp fails there.
    std::map<std::string, std::vector<std::string>> pages;
    std::map<std::string, std::size_t> pageCount;  // the highest stamp, when it differs from pages.size()
    std::vector<std::string> imported;
    std::vector<std::string> options;
    std::int32_t failuresPerImport = 0;
    std::int32_t errorCount = 0;
  };
  explicit FakeItemClass(std::shared_ptr<Script> script) : script_(std::move(script)) {}

  bool Export(std::string&, std::string strItemClassName, std::string& strXML, std::int32_t,
              std::string& strTimeStamp, std::string& strMaxTimeStamp, std::string& strError) {
    const std::vector<std::string>& pages = script_->pages[strItemClassName];
    auto count = script_->pageCount.find(strItemClassName);
    const std::size_t last = count == script_->pageCount.end() ? pages.size() : count->second;
    const std::size_t next = strTimeStamp == "0x0000000000000000" ? 0 : std::stoul(strTimeStamp.substr(2));
    strMaxTimeStamp = "0x0" + std::to_string(last);
    if (next >= pages.size()) {
      strError = "export of " + strItemClassName + " failed";
      return false;
    }
    strXML = pages[next];
    strTimeStamp = "0x0" + std::to_string(next + 1);
    return true;
  }
  bool Import(std::string&, std::string strXML, std::string& strError, Variant&) {
    script_->imported.push_back(strXML);
    script_->errorCount = script_->failuresPerImport;
    if (script_->failuresPerImport > 0) strError += "batch failed\r\n";
    return script_->failuresPerImport == 0;
  }
  void option(const char* name, const Variant& value) { script_->options.push_back(std::string(name) + "=" + CStr(value)); }
  void setFilter(std::string v) { option("Filter", v); }
  void setCheckByUUID(bool v) { option("CheckByUUID", v); }
  void setAddNewOnly(bool v) { option("AddNewOnly", v); }
  void setbProgress(bool v) { option("bProgress", v); }
  void setHaveInterFace(bool v) { option("HaveInterFace", v); }
  std::int32_t ErrorCount() const { return script_->errorCount; }

  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table =
        DispatchBuilder<FakeItemClass>()
            .method("Export", 1, &FakeItemClass::Export)
            .method("Import", 2, &FakeItemClass::Import)
            .let("Filter", 3, &FakeItemClass::setFilter)
            .let("CheckByUUID", 4, &FakeItemClass::setCheckByUUID)
            .let("AddNewOnly", 5, &FakeItemClass::setAddNewOnly)
            .let("bProgress", 6, &FakeItemClass::setbProgress)
            .let("HaveInterFace", 8, &FakeItemClass::setHaveInterFace)
            .get("ErrorCount", 7, &FakeItemClass::ErrorCount)
            .build();
    return table;
  }
  std::string className() const override { return "clsItemClass"; }

 private:
  std::shared_ptr<Script> script_;
};

class CustomFileTest : public FacadeTest {
 protected:
  void SetUp() override {
    FacadeTest::SetUp();
    exec(path,
         "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_EN, FName_CHT, FType) VALUES "
         "(3001, 'P', '项目', 'Projects', '項目', 0), (3002, 'C', '合同', 'Contracts', '合同', 0), "
         "(3003, 'R', '区域', 'Regions', '區域', 0)");
    // User 20 may export projects and regions only.
    exec(path,
         "INSERT INTO t_User (FUserID, FName) VALUES (20, 'clerk'); INSERT INTO t_AccessControl "
         "(FObjectType, FObjectID, FUserID, FAccessType, FAccessMask) VALUES (3, 3001, 20, 1, 8388608), "
         "(3, 3003, 20, 1, 8388608)");
  }
  struct Result {
    bool ok;
    std::string stamp, maxStamp, error;
  };
  Result exportFile(const std::string& names, const std::string& user = "16", const std::string& language = "CHS") {
    std::vector<Variant> args{props(path, "UserID=" + user + ";AcctType=GY;Language=" + language), names, file,
                              std::int32_t{50}, "", "", "old"};
    bool ok = CBool(facade->Call("ExportCustIOToFile", args));
    return Result{ok, CStr(args[4]), CStr(args[5]), CStr(args[6])};
  }
  std::pair<bool, std::string> importFile(const std::string& from) {
    std::vector<Variant> args{props(path), "", from, std::int32_t{7}, ""};
    bool ok = CBool(facade->Call("ImportCustIOFromFile", args));
    return {ok, CStr(args[4])};
  }
  // The file's text, after checking that it is UTF-16 LE with its byte-order mark.
  std::string fileText() {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
    return Utf16LeToUtf8(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
  }
  void expectWellFormed() {
    DOMDocument document;
    EXPECT_TRUE(document.load(file)) << document.parseError()->reason();
  }

  std::string path = newAccountSet();
  std::string file = dir_.file("classes.xml");
  std::shared_ptr<FakeItemClass::Script> script = std::make_shared<FakeItemClass::Script>();
  ClassOverride override_{"Quillane.clsItemClass", [s = script] {
                            return std::static_pointer_cast<AutomationObject>(std::make_shared<FakeItemClass>(s));
                          }};
  const std::string ns = " xmlns=\"" + std::string(kItemClassNamespace) + "\"";
};

TEST_F(CustomFileTest, SeveralClassesAreStitchedIntoOneFile) {
  script->pages["项目"] = {classPage("项目", item("p1") + item("p&amp;2")), classPage("项目", item("p3"))};
  script->pages["合同"] = {classPage("合同", item("c1")), classPage("合同", item("c2") + item("c3"))};
  std::ofstream(file) << "an older, longer file that must not shine through";
  facade->Let("Filter", "F");
  facade->Let("ErrorCount", std::int32_t{4});

  Result result = exportFile("合同|未知|项目");
  // A name that no class bears is missing from the file: said, and the export fails; the classes that
  // exist are exported all the same.
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "自定义核算项目(未知)不存在！");
  EXPECT_EQ(result.stamp, "0x02");
  EXPECT_EQ(result.maxStamp, "0x02");
  // Classes in the database's order; the namespace is kept on the first class only.
  EXPECT_EQ(fileText(), "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"ItemClass\"><ItemClass" + ns + " Name=\"项目\">" + item("p1") +
                            item("p&amp;2") + item("p3") + "</ItemClass><ItemClass Name=\"合同\">" + item("c1") +
                            item("c2") + item("c3") + "</ItemClass></Root>");
  expectWellFormed();
  EXPECT_EQ(script->options, (std::vector<std::string>{"bProgress=False", "Filter=F"}));
  EXPECT_EQ(CLng(facade->Get("ErrorCount")), 4) << "the custom export neither resets nor adds";
}

// The caller names classes in its language; the class export is handed the name it looks a class up
// by. A class without a name in that language matches nothing.
TEST_F(CustomFileTest, NamesAreMatchedInTheUsersLanguage) {
  exec(path, "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName) VALUES (3004, 'N', '无译名')");
  script->pages["项目"] = {classPage("项目", item("p1"))};
  for (const char* language : {"en", "cht"}) {
    SCOPED_TRACE(language);
    Result result = exportFile(std::string(language) == "en" ? "Projects|项目" : "項目|Projects", "16", language);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, std::string("自定义核算项目(") + (std::string(language) == "en" ? "项目" : "Projects") + ")不存在！");
    EXPECT_EQ(fileText(), "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"ItemClass\"><ItemClass" + ns +
                              " Name=\"项目\">" + item("p1") + "</ItemClass></Root>");
  }
}

TEST_F(CustomFileTest, ClassesWithoutTheExportRightAreLeftOut) {
  script->pages["项目"] = {classPage("项目", item("p1"))};
  Result result = exportFile("项目|合同", "20");
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.error, "自定义核算项目(合同)没有导出权限！");
  EXPECT_EQ(fileText(), "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"ItemClass\"><ItemClass" + ns + " Name=\"项目\">" + item("p1") +
                            "</ItemClass></Root>");

  std::filesystem::remove(file);
  result = exportFile("合同", "20");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, "自定义核算项目(合同)没有导出权限！");
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(CustomFileTest, AClassFailingInTheMiddleGivesFalseAndAWellFormedFile) {
  // Projects fail on their second page, contracts on their first; regions come through whole.
  script->pages["项目"] = {classPage("项目", item("p1"))};
  script->pageCount["项目"] = 3;
  script->pages["区域"] = {classPage("区域", item("r1"))};

  Result result = exportFile("项目|合同|区域");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(fileText(), "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"ItemClass\"><ItemClass" + ns + " Name=\"项目\">" + item("p1") +
                            "</ItemClass><ItemClass Name=\"区域\">" + item("r1") + "</ItemClass></Root>");
  expectWellFormed();
}

TEST_F(CustomFileTest, APageWithoutItsClosingTagsIsRefusedAndTheFileRemoved) {
  script->pages["项目"] = {classPage("项目", item("p1")), classPage("项目", item("p2"))};
  script->pages["合同"] = {"<Root><ItemClass Name=\"合同\"/></Root>"};
  AutomationError e = ErrorOf([&] { exportFile("项目|合同"); });
  EXPECT_TRUE(e.description.starts_with("导出的页面不是以</ItemClass></Root>结尾的完整文档:")) << e.description;
  EXPECT_FALSE(std::filesystem::exists(file));

  script->pages["项目"] = {classPage("项目", item("p1")) + "\r\n"};
  e = ErrorOf([&] { exportFile("项目"); });
  EXPECT_TRUE(e.description.starts_with("导出的页面不是以</ItemClass></Root>结尾的完整文档:")) << e.description;
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(CustomFileTest, ASmallFileIsImportedWhole) {
  script->pages["项目"] = {classPage("项目", item("p1")), classPage("项目", item("p2"))};
  script->pages["合同"] = {classPage("合同", item("c1"))};
  ASSERT_TRUE(exportFile("项目|合同").ok);
  facade->Let("CheckByUUID", true);
  facade->Let("Filter", "not handed on");
  script->options.clear();

  auto [ok, error] = importFile(file);
  ASSERT_TRUE(ok) << error;
  ASSERT_EQ(script->imported.size(), 1u);
  DOMDocument document;
  ASSERT_TRUE(document.loadXML(script->imported[0]));
  EXPECT_EQ(document.selectNodes("Root/ItemClass")->length(), 2);
  EXPECT_EQ(document.selectNodes("Root/ItemClass/Item")->length(), 3);
  EXPECT_EQ(script->options,
            (std::vector<std::string>{"bProgress=False", "AddNewOnly=False", "CheckByUUID=True", "HaveInterFace=False"}));
}

TEST_F(CustomFileTest, ALargeFileIsImportedInBatchesOfAHundred) {
  std::string items;
  for (int i = 0; i < 2500; ++i) items += item("项目 &amp; &lt;" + std::to_string(i) + "&gt; " + std::string(200, 'x'));
  std::ofstream(file, std::ios::binary) << classPage("项目", items);
  ASSERT_GE(std::filesystem::file_size(file), 512000u);
  script->failuresPerImport = 1;

  auto [ok, error] = importFile(file);
  EXPECT_FALSE(ok);
  // 25 batches of items, and the class's last document, which has none left.
  ASSERT_EQ(script->imported.size(), 26u) << error;
  DOMDocument batch;
  ASSERT_TRUE(batch.loadXML(script->imported[24])) << batch.parseError()->reason();
  EXPECT_EQ(batch.selectNodes("Root/ItemClass/Item")->length(), 100);
  EXPECT_EQ(batch.selectSingleNode("Root/ItemClass/Item/Name")->text(), "项目 & <2400> " + std::string(200, 'x'));
  EXPECT_EQ(CLng(facade->Get("ErrorCount")), 26) << "each batch's failures are added to the facade's";
  EXPECT_NE(error.find("batch failed"), std::string::npos) << error;
}

// The caller may call the facade from its SAXProgress handler; such a call releases the facade's
// members, and the import goes on with the class object it holds.
TEST_F(CustomFileTest, ANestedCallFromSAXProgressLeavesTheImportItsClass) {
  std::string items;
  for (int i = 0; i < 2500; ++i) items += item("项目" + std::to_string(i) + std::string(200, 'x'));
  std::ofstream(file, std::ios::binary) << classPage("项目", items);
  int nested = 0;
  facade->Advise([&](std::string_view event, DispId, Arguments) {
    if (event == "SAXProgress" && nested++ == 0) facadeExport(10);  // refused, and every member released
  });

  auto [ok, error] = importFile(file);
  EXPECT_TRUE(ok) << error;
  EXPECT_EQ(script->imported.size(), 26u);
}

TEST_F(CustomFileTest, FilesThatCannotBeReadEndWithTheirError) {
  std::ofstream(file) << "<Root><ItemClass>";
  auto [ok, error] = importFile(file);
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("导入的文件不是完整的XML文档:"), std::string::npos) << error;

  std::tie(ok, error) = importFile(dir_.file("absent.xml"));
  EXPECT_FALSE(ok);
  EXPECT_NE(error, "");
  EXPECT_TRUE(script->imported.empty());
}

class WithoutItemClassTest : public FacadeTest {
 protected:
  std::string path = newAccountSet();
  std::string file = dir_.file("classes.xml");
  ClassOverride missing_{"Quillane.clsItemClass", [] { return ObjectRef(); }};
};

TEST_F(WithoutItemClassTest, AnAbsentClassComponentFailsWithItsText) {
  exec(path, "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FType) VALUES (3001, 'P', '项目', 0)");
  std::vector<Variant> args{props(path, "UserID=16;AcctType=GY;Language=CHS"), "项目", file, std::int32_t{50}, "", "", ""};
  AutomationError e = ErrorOf([&] { facade->Call("ExportCustIOToFile", args); });
  EXPECT_TRUE(e.description.ends_with(" -- Quillane.clsItemClass")) << e.description;

  std::ofstream(file) << "<Root/>";
  std::vector<Variant> importArgs{props(path), "项目", file, std::int32_t{50}, ""};
  EXPECT_FALSE(CBool(facade->Call("ImportCustIOFromFile", importArgs)));
  EXPECT_NE(CStr(importArgs[4]).find(" -- Quillane.clsItemClass"), std::string::npos) << CStr(importArgs[4]);
}

}  // namespace
}  // namespace quillane::testing
