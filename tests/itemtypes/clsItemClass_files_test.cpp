// The sample account set's custom item classes through the facade's bulk files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "itemtypes/item_class_fixture.h"
#include "platform/automation/vbtext.h"

namespace quillane::testing {
namespace {

class ItemClassFiles : public ItemClassTest {
 protected:
  void SetUp() override {
    ItemClassTest::SetUp();
    accountset::CreateSample(source, 30);
  }
  struct Result {
    bool ok;
    std::string error;
    std::string maxStamp;
  };
  Result exportFile(const std::string& names, const std::string& file, const std::string& language = "CHS",
                    std::int32_t perCount = 7, const std::string& since = "") {
    std::vector<Variant> args{props(source, "UserID=16;AcctType=GY;Language=" + language), names, file,
                              perCount, since, "", ""};
    bool ok = CBool(facade->Call("ExportCustIOToFile", args));
    return Result{ok, CStr(args[6]), CStr(args[5])};
  }
  std::string highestStamp(const std::string& classes) {
    return rows(source, "SELECT MAX(FModifyTime) AS FMT FROM t_Item WHERE FItemClassID IN (" + classes + ")");
  }
  static std::string fileText(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
    return Utf16LeToUtf8(reinterpret_cast<const std::uint8_t*>(bytes.data()) + 2, bytes.size() - 2);
  }
  // The text of the class element that starts with its name.
  static std::string classElement(const std::string& text, const std::string& name) {
    std::size_t start = text.find("<Name>" + name + "</Name><Number>");
    if (start == std::string::npos) return "";
    return text.substr(start, text.find("</ItemClass>", start) - start);
  }
  static std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
  }

  // The exit status of xmllint validating file against the shipped schema, its messages in report.
  static int xmllint(const std::string& file, std::string& report) {
    const std::string command = "xmllint --noout --schema '" + std::string(QUILLANE_SOURCE_DATA_DIR) +
                                "/schema/ItemClass.xsd' '" + file + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[512];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) report.append(buffer, n);
    return pclose(pipe);
  }

  std::string source = dir_.file("source.db");
  std::string file = dir_.file("classes.xml");
  ObjectRef facade = CreateObject("Quillane.clsExpImp");
};

TEST_F(ItemClassFiles, TheSampleClassesAreStitchedIntoOneValidFile) {
  Result result = exportFile("项目|合同|颜色", file);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.error, "");
  const std::string text = fileText(file);
  for (const char* name : {"项目", "合同", "颜色"}) {
    std::string element = classElement(text, name);
    // Two groups and thirty items, over five pages of seven; each class's definition once.
    EXPECT_EQ(count(element, "<Item>"), 32u) << name;
    EXPECT_EQ(count(element, "<SQLTableName>"), 1u) << name;
  }
  const std::string projects = classElement(text, "项目");
  EXPECT_EQ(count(projects, "<CustomPropertyStruct>"), 5u);
  EXPECT_NE(projects.find(tag("Search", "币别")), std::string::npos);
  // Looked-up values travel by their display text; a flag as True or False.
  EXPECT_NE(projects.find(tag("PropertyName", "币别") + tag("PropertyValue", "美元")), std::string::npos);
  EXPECT_NE(projects.find(tag("PropertyName", "币别") + tag("PropertyValue", "人民币")), std::string::npos);
  EXPECT_NE(projects.find(tag("PropertyName", "已结束") + tag("PropertyValue", "True")), std::string::npos);
  EXPECT_NE(classElement(text, "合同").find(tag("PropertyName", "纳税人类型") + tag("PropertyValue", "小规模纳税人")),
            std::string::npos);

  std::string report;
  EXPECT_EQ(xmllint(file, report), 0) << report;
}

// The newest item of a class is a deleted one, after whole pages: the file still carries it, and the
// highest stamp is its own.
TEST_F(ItemClassFiles, ANewestItemThatIsDeletedIsCarriedAndCounted) {
  exec(source, "UPDATE t_Item SET FDeleted=1 WHERE FItemClassID=1001 AND FNumber='02.0030'");
  Result result = exportFile("项目", file, "CHS", 31);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(count(classElement(fileText(file), "项目"), "<Item>"), 32u);
  EXPECT_EQ(result.maxStamp, highestStamp("1001"));
}

// A later export starts where the caller says: only what changed since, in every class; the highest
// stamp returned is the highest of all the classes, where the next export starts.
TEST_F(ItemClassFiles, AnExportSinceAStampCarriesOnlyWhatChangedSince) {
  Result first = exportFile("项目|合同", file);
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(first.maxStamp, highestStamp("1001,3001"));
  exec(source, "UPDATE t_Item SET FName=FName || '*' WHERE FItemClassID=1001 AND FNumber IN ('01.0001','02.0002')");
  exec(source, "UPDATE t_Item SET FDeleted=1 WHERE FItemClassID=3001 AND FNumber='01.0003'");

  Result second = exportFile("项目|合同", file, "CHS", 7, first.maxStamp);
  ASSERT_TRUE(second.ok) << second.error;
  std::string text = fileText(file);
  EXPECT_EQ(count(classElement(text, "项目"), "<Item>"), 2u);
  EXPECT_EQ(count(classElement(text, "合同"), "<Item>"), 1u);
  EXPECT_EQ(second.maxStamp, highestStamp("1001,3001"));

  Result third = exportFile("项目|合同", file, "CHS", 7, second.maxStamp);
  ASSERT_TRUE(third.ok) << third.error;
  EXPECT_EQ(count(fileText(file), "<Item>"), 0u);
}

TEST_F(ItemClassFiles, ClassesAreNamedInTheLanguageOfThePropsString) {
  struct Case {
    const char* language;
    const char* names;
  };
  // The colours have no English name: in English they are no class of that name.
  const Case cases[] = {{"EN", "Projects|Contracts|Colours"}, {"CHT", "項目|合約|顏色"}, {"CHS", "项目|合同|颜色"}};
  for (const Case& c : cases) {
    Result result = exportFile(c.names, file, c.language);
    // A name that no class bears is missing from the file: said, and the export fails; the others are
    // exported all the same.
    const bool english = std::string(c.language) == "EN";
    EXPECT_EQ(result.ok, !english) << c.language << " " << result.error;
    const std::string text = fileText(file);
    EXPECT_EQ(count(classElement(text, "项目"), "<Item>"), 32u) << c.language;
    EXPECT_EQ(count(classElement(text, "合同"), "<Item>"), 32u) << c.language;
    EXPECT_EQ(count(classElement(text, "颜色"), "<Item>"), english ? 0u : 32u) << c.language;
    EXPECT_EQ(result.error, english ? "自定义核算项目(Colours)不存在！" : "") << c.language;
  }
  // When none of the names is a class, the export fails and says which they are.
  Result none = exportFile("|Colours|Shapes", file, "EN");
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.error, "自定义核算项目(Colours、Shapes)不存在！");
}

// A class that fails before another is exported fails the export with its text: the next class's
// call must not wipe it out.
TEST_F(ItemClassFiles, AClassThatFailsBeforeAnotherFailsTheExportAndSaysWhy) {
  exec(source, "DROP TABLE t_Item_1001");
  Result result = exportFile("项目|合同", file);
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.error.find("t_Item_1001"), std::string::npos) << result.error;
}

TEST_F(ItemClassFiles, AnyClassOfTheAccountSetIsExportedByItsName) {
  // The cost objects list their products after their bar codes, as the engine writes them for any holder.
  Page page = exportClass(props(source), "成本对象");
  ASSERT_TRUE(page.ok) << page.error;
  EXPECT_NE(page.xml.find("<Material><Number>"), std::string::npos);
}

}  // namespace
}  // namespace quillane::testing
