#include "exchange/clsSAXParse.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "exchange/mdlLanguage.h"
#include "platform/automation/errors.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/xml/DOMDocument.h"
#include "platform/xml/SAXXMLReader.h"
#include "tests/support/environment.h"

namespace quillane {
namespace {

using mdlLanguage::LoadLangString;

std::string records(int count, int first = 1) {
  std::string text;
  for (int i = first; i < first + count; ++i)
    text += "<Department><FNumber>" + std::to_string(i) + "</FNumber><FName>D" + std::to_string(i) + "</FName></Department>\n";
  return text;
}

std::string normalFile(const std::string& body) {
  return "<?xml version=\"1.0\"?>\n<Root VelmoraNameSpace=\"Department\" Version=\"1\">\n" + body + "</Root>\n";
}

// Runs the splitter over a file, keeping every batch and every Progress (lCur, lTotal).
class SplitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parse->Advise([this](std::string_view event, DispId, Arguments args) {
      if (event == "HandleXML") {
        batches.push_back(CStr(args[0]));
        if (!batchAnswer.empty()) args[1] = Variant(batchAnswer);
      } else if (event == "Progress") {
        progress.push_back({CLng(args[0]), CLng(args[1])});
        if (cancelAt == static_cast<int>(progress.size())) args[2] = Variant(true);
      } else if (event == "RecordFailed") {
        failed.push_back(CStr(args[0]));
      }
    });
  }

  // The file is written in UTF-16 LE with a byte-order mark, as bulk files are.
  void run(const std::string& text) {
    std::vector<unsigned char> units = Utf8ToUtf16Le(text);
    std::string path = dir.write("in.xml", "\xFF\xFE" + std::string(units.begin(), units.end()));
    SAXXMLReader reader;
    reader.putContentHandler(parse);
    reader.putErrorHandler(parse);
    reader.parseURL(path);
  }

  // Each batch must load on its own; returns it.
  std::shared_ptr<DOMDocument> batch(std::size_t index) {
    auto doc = std::make_shared<DOMDocument>();
    EXPECT_TRUE(doc->loadXML(batches.at(index))) << doc->parseError()->reason() << "\n" << batches.at(index);
    return doc;
  }
  int recordCount(std::size_t index, const std::string& path = "Root/Department") {
    return batch(index)->selectNodes(path)->length();
  }

  testing::TempDir dir;
  std::shared_ptr<clsSAXParse> parse = std::make_shared<clsSAXParse>();
  std::vector<std::string> batches;
  std::vector<std::pair<int, int>> progress;
  std::vector<std::string> failed;  // the lines of RecordFailed
  std::string batchAnswer;
  int cancelAt = 0;
};

TEST_F(SplitterTest, CutsBatchesOfPerCountWithTheRootCopiedIntoEach) {
  run(normalFile(records(250)));
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(recordCount(0), 100);
  EXPECT_EQ(recordCount(1), 100);
  EXPECT_EQ(recordCount(2), 50);
  EXPECT_EQ(batch(2)->selectSingleNode("Root/Department/FNumber")->text(), "201");
  EXPECT_EQ(batches[0].rfind("<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root VelmoraNameSpace=\"Department\" Version=\"1\">", 0), 0u);

  std::vector<std::pair<int, int>> expected;
  for (int batchSize : {100, 100, 50})
    for (int i = 1; i <= batchSize; ++i) expected.push_back({i, 100});
  expected.push_back({50, 100});  // the end of the document, before the last batch
  EXPECT_EQ(progress, expected);
  EXPECT_EQ(parse->strError, "");
}

TEST_F(SplitterTest, AFileOfWholeBatchesEndsWithAnEmptyDocument) {
  parse->setPerCount(2);
  run(normalFile(records(4)));
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(recordCount(2), 0);
}

TEST_F(SplitterTest, ValuesAreEscapedAgainSoTheBatchStaysWellFormed) {
  run(normalFile("<Department Note=\"a&amp;b &lt;c&gt; &quot;q&quot;\"><FName>R&amp;D &lt;研发&gt; 部門</FName>"
                 "<FNote><![CDATA[x < y & z]]></FNote></Department>"));
  ASSERT_EQ(batches.size(), 1u);
  auto doc = batch(0);
  auto record = doc->selectSingleNode("Root/Department");
  EXPECT_EQ(record->selectSingleNode("FName")->text(), "R&D <研发> 部門");
  EXPECT_EQ(record->selectSingleNode("FNote")->text(), "x < y & z");
  EXPECT_NE(batches[0].find("<Department Note=\"a&amp;b &lt;c&gt; &quot;q&quot;\">"), std::string::npos);
}

// Line breaks written as character references reach the splitter in pieces of their own.
TEST_F(SplitterTest, TabsBecomeBlanksAndLineBreaksGo) {
  run(normalFile("<Department><FName>a\tb</FName><FNote>c&#13;&#10;d&#xD;&#xA;</FNote><FCode>e&#13;f&#13;</FCode>"
                 "</Department>"));
  EXPECT_EQ(batch(0)->selectSingleNode("Root/Department/FName")->text(), "a b");
  EXPECT_EQ(batch(0)->selectSingleNode("Root/Department/FNote")->text(), "cd");
  EXPECT_EQ(batch(0)->selectSingleNode("Root/Department/FCode")->text(), "e\rf\r") << "a CR on its own stays";
}

TEST_F(SplitterTest, NamespaceDeclarationsAreWrittenWhereTheReaderReportsThem) {
  run("<Root xmlns=\"urn:quillane:root\" xmlns:q=\"urn:quillane:q\" VelmoraNameSpace=\"Department\">"
      "<Department q:Kind=\"1\"><q:FName>x</q:FName></Department></Root>");
  ASSERT_EQ(batches.size(), 1u);
  batch(0);
  EXPECT_NE(batches[0].find("<Root xmlns=\"urn:quillane:root\" xmlns:q=\"urn:quillane:q\" VelmoraNameSpace="),
            std::string::npos);
  EXPECT_NE(batches[0].find("<q:FName>x</q:FName>"), std::string::npos);
}

TEST_F(SplitterTest, ARecordIsCountedOnlyAtRecordDepth) {
  parse->setPerCount(2);
  run(normalFile("<Department><Department>inner</Department></Department><Department/><Department/>"));
  ASSERT_EQ(batches.size(), 2u);
  EXPECT_EQ(recordCount(0), 2);
  EXPECT_EQ(recordCount(1), 1);
}

TEST_F(SplitterTest, TheRecordNameAttributeIsMatchedWithoutRegardToCase) {
  run("<Root velmoranamespace=\"Department\">" + records(3) + "</Root>");
  EXPECT_EQ(recordCount(0), 3);
}

TEST_F(SplitterTest, ARootWithoutTheRecordNameIsNotAStandardDocument) {
  try {
    run("<Root><Department/></Root>");
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number, kLibraryRefusal);
    EXPECT_EQ(e.description, LoadLangString("该XML文档不符合维墨标准文档!"));
  }
  EXPECT_TRUE(batches.empty());
}

TEST_F(SplitterTest, ACancelStopsANormalParseAtThatRecord) {
  cancelAt = 150;
  try {
    run(normalFile(records(250)));
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.source, "Quillane.clsSAXParse");
    EXPECT_EQ(e.description, LoadLangString("解析过程中被用户取消！"));
  }
  EXPECT_EQ(batches.size(), 1u);
  EXPECT_EQ(progress.size(), 150u);
}

TEST_F(SplitterTest, TheBatchesErrorLinesAreCollectedAndTheParseGoesOn) {
  batchAnswer = "line";
  run(normalFile(records(150)));
  EXPECT_EQ(batches.size(), 2u);
  EXPECT_EQ(parse->strError, "line\r\nline\r\n");
}

// Where the file breaks off, the complete records before the break still go out, and the record cut
// off is told as failed, named, after the lines of the batches.
TEST_F(SplitterTest, AMalformedFileHandsOnEveryCompleteRecordAndFailsTheCutOne) {
  batchAnswer = "batch failed";
  run(normalFile(records(250) + "<Department><FName>broken</Department>"));
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(recordCount(2), 50);
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_NE(failed[0].find(LoadLangString("  错误源：") + "Quillane.clsSAXParse" + LoadLangString("  错误描述：")),
            std::string::npos);
  EXPECT_TRUE(failed[0].ends_with("(" + LoadLangString("出错的记录：") + "#251)")) << failed[0];
  EXPECT_EQ(parse->strError, "batch failed\r\nbatch failed\r\nbatch failed\r\n" + failed[0] + "\r\n");
}

TEST(StringBufferTest, AppendsCountsCharactersAndResets) {
  clsStringBuffer buffer;
  for (int i = 0; i < 100; ++i) buffer.Append("部門ab");
  EXPECT_EQ(buffer.Length(), 400);
  EXPECT_EQ(buffer.Result().substr(0, 8), "部門ab");
  buffer.SetResult("xyz");
  EXPECT_EQ(buffer.Length(), 3);
  buffer.Append("w");
  EXPECT_EQ(buffer.Result(), "xyzw");
  buffer.SetResult("");
  EXPECT_EQ(buffer.Length(), 0);
  EXPECT_EQ(buffer.Result(), "");
}

// ---- Custom item classes: Root/ItemClass/Item ----

std::string itemClass(const std::string& name, int items) {
  std::string text = "<ItemClass xmlns=\"urn:quillane:ItemClass\" Name=\"" + name + "\"><FName>" + name + "</FName>";
  for (int i = 1; i <= items; ++i)
    text += "<Item><FNumber>" + name + std::to_string(i) + "</FNumber><Item>nested</Item></Item>";
  return text + "</ItemClass>";
}

std::string customFile(const std::string& classes) { return "<Root VelmoraNameSpace=\"Item\">" + classes + "</Root>"; }

TEST_F(SplitterTest, CustomBatchesNeverMixClassesAndCarryTheirClassHeader) {
  parse->bCustom = true;
  parse->setPerCount(2);
  run(customFile(itemClass("A", 3) + itemClass("Empty", 0) + itemClass("B", 2)));
  ASSERT_EQ(batches.size(), 5u);
  struct Expected {
    const char* className;
    std::vector<std::string> numbers;
  };
  // Every class ends with a document of its own, also a class without items (its definition travels)
  // and one whose items filled their batches.
  const Expected expected[] = {{"A", {"A1", "A2"}}, {"A", {"A3"}}, {"Empty", {}}, {"B", {"B1", "B2"}}, {"B", {}}};
  for (std::size_t i = 0; i < batches.size(); ++i) {
    SCOPED_TRACE(batches[i]);
    EXPECT_NE(batches[i].find("<ItemClass xmlns=\"urn:quillane:ItemClass\" Name=\"" +
                              std::string(expected[i].className) + "\"><FName>"),
              std::string::npos);
    batch(i);
    std::vector<std::string> numbers;
    for (std::size_t at = batches[i].find("<FNumber>"); at != std::string::npos; at = batches[i].find("<FNumber>", at + 1))
      numbers.push_back(batches[i].substr(at + 9, batches[i].find('<', at + 9) - at - 9));
    EXPECT_EQ(numbers, expected[i].numbers);
    EXPECT_EQ(batches[i].substr(batches[i].size() - 19), "</ItemClass></Root>");
  }
}

// A record whose text passes the bound, by a text of its own or an entity of the file used over and
// over, fails alone with a line that names it; its neighbours in the same batch still go out.
TEST_F(SplitterTest, ARecordPastTheTextBoundFailsAloneAndItsBatchGoesOn) {
  const std::string entity = "<!DOCTYPE Root [<!ENTITY e \"" + std::string(1000, 'e') + "\">]>";
  std::string uses;
  for (int i = 0; i < 1100; ++i) uses += "&e;";
  struct Case {
    const char* name;
    bool custom;
    std::string file;
    const char* records;
  };
  const Case cases[] = {
      {"an entity used over and over", false,
       entity + "<Root VelmoraNameSpace=\"Department\">" + records(2) +
           "<Department><Number>N3</Number><FName>" + uses + "</FName></Department>" + records(2, 4) + "</Root>",
       "Root/Department"},
      {"a long text of an item", true,
       customFile(itemClass("A", 2) + "<ItemClass Name=\"B\"><Item><Number>N3</Number><FName>" +
                  std::string(BoundedRecord::kTextLimit, 'x') + "</FName></Item>" + "<Item><Number>B4</Number></Item></ItemClass>"),
       "Root/ItemClass/Item"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    parse = std::make_shared<clsSAXParse>();
    batches.clear();
    failed.clear();
    SetUp();
    parse->bCustom = c.custom;
    run(c.file);
    int arrived = 0;
    for (std::size_t i = 0; i < batches.size(); ++i) arrived += recordCount(i, c.records);
    EXPECT_EQ(arrived, c.custom ? 3 : 4);
    const std::string line = LoadLangString("记录的文本超过了上限，未导入:") + "#3 (Number:N3), > 1048576 bytes";
    EXPECT_EQ(failed, std::vector<std::string>{line});
    EXPECT_EQ(parse->strError, line + "\r\n");
  }
}

// A batch closes the Root (and the class) by the names the file opened them with.
TEST_F(SplitterTest, APrefixedRootOrClassIsClosedByItsOwnName) {
  run("<r:Root xmlns:r=\"urn:r\" VelmoraNameSpace=\"Department\">" + records(1) + "</r:Root>");
  parse = std::make_shared<clsSAXParse>();
  SetUp();
  parse->bCustom = true;
  run("<r:Root xmlns:r=\"urn:r\" VelmoraNameSpace=\"Item\"><r:ItemClass><FName>A</FName><Item/></r:ItemClass></r:Root>");
  ASSERT_EQ(batches.size(), 2u);
  for (std::size_t i = 0; i < batches.size(); ++i) batch(i);
  EXPECT_EQ(batches[1].substr(batches[1].size() - 23), "</r:ItemClass></r:Root>");
}

TEST_F(SplitterTest, ACustomCancelTakesEffectOnlyAtTheEndOfTheDocument) {
  parse->bCustom = true;
  cancelAt = 1;
  run(customFile(itemClass("A", 3)));
  EXPECT_EQ(batches.size(), 1u);
  cancelAt = static_cast<int>(progress.size()) + 4;  // the end of the second run
  batches.clear();
  EXPECT_THROW(run(customFile(itemClass("A", 3))), AutomationError);
  EXPECT_EQ(batches.size(), 1u);
}

}  // namespace
}  // namespace quillane
