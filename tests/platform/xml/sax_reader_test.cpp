#include <gtest/gtest.h>

#include <fstream>

#include "platform/automation/automation.h"
#include "platform/xml/SAXXMLReader.h"
#include "support/automation_test.h"
#include "support/environment.h"
#include "utf16.h"

namespace quillane {
namespace {

using testing::ErrorOf;

// Writes down every call, pieces of text joined, and can throw at a chosen start tag.
class Recorder : public ISAXContentHandler, public ISAXErrorHandler {
 public:
  std::vector<std::string> calls;
  std::string throwAtElement;

  void startDocument() override { calls.push_back("startDocument"); }
  void endDocument() override { calls.push_back("endDocument"); }
  void startPrefixMapping(const std::string& prefix, const std::string& uri) override {
    calls.push_back("prefix " + prefix + "=" + uri);
  }
  void endPrefixMapping(const std::string& prefix) override { calls.push_back("endPrefix " + prefix); }
  void startElement(const std::string& uri, const std::string& localName, const std::string& qName,
                    const ISAXAttributes& attributes) override {
    if (localName == throwAtElement) throw std::runtime_error("handler refused " + localName);
    std::string call = "start " + uri + "|" + localName + "|" + qName;
    for (std::int32_t i = 0; i < attributes.getLength(); ++i)
      call += " " + attributes.getQName(i) + "{" + attributes.getURI(i) + "}" + attributes.getLocalName(i) + "=" +
              attributes.getValue(i);
    calls.push_back(call);
  }
  void endElement(const std::string& uri, const std::string& localName, const std::string& qName) override {
    calls.push_back("end " + uri + "|" + localName + "|" + qName);
  }
  void characters(const std::string& chars) override {
    if (!calls.empty() && calls.back().rfind("chars ", 0) == 0) calls.back() += chars;
    else calls.push_back("chars " + chars);
  }
  void processingInstruction(const std::string& target, const std::string& data) override {
    calls.push_back("pi " + target + " " + data);
  }
  void fatalError(const ISAXLocator& locator, const std::string& message, std::int32_t code) override {
    calls.push_back("fatalError line " + std::to_string(locator.getLineNumber()) + " code " +
                    std::to_string(code != 0) + ": " + message);
  }
};

class SAXReaderTest : public ::testing::Test {
 protected:
  std::vector<std::string> parse(const std::string& bytes, bool withErrorHandler = true) {
    SAXXMLReader reader;
    reader.putContentHandler(recorder);
    if (withErrorHandler) reader.putErrorHandler(recorder);
    reader.parseURL(dir.write("doc.xml", bytes));
    return recorder->calls;
  }

  testing::TempDir dir;
  std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

TEST_F(SAXReaderTest, ReportsAUtf16FileAsTheHandlerInterfacesDo) {
  std::vector<std::string> calls = parse(testing::Utf16LeFile(
      "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
      "<Root VelmoraNameSpace=\"Customer\" a=\"x&amp;y &quot;q&quot; &lt;&#38;\">"
      "<p:Item xmlns:p=\"urn:p\" p:k=\"v\">中文 &amp; &#x41;<![CDATA[<raw>]]></p:Item><?note data?></Root>"));
  std::vector<std::string> expected = {
      "startDocument",
      "start |Root|Root VelmoraNameSpace{}VelmoraNameSpace=Customer a{}a=x&y \"q\" <&",
      "prefix p=urn:p",
      "start urn:p|Item|p:Item p:k{urn:p}k=v",
      "chars 中文 & A<raw>",
      "end urn:p|Item|p:Item",
      "endPrefix p",
      "pi note data",
      "end |Root|Root",
      "endDocument"};
  EXPECT_EQ(calls, expected);
}

TEST_F(SAXReaderTest, ABrokenFileEndsInOneFatalErrorWithoutEndDocument) {
  struct Case {
    const char* what;
    std::string bytes;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"truncated", testing::Utf16LeFile("<Root VelmoraNameSpace=\"X\">\n<X><A>1</A></X>\n<X><A>"), "Premature end of data"},
      {"no XML", "just text", "Start tag expected"},
      {"empty", "", "Document is empty"},
      {"mismatched tags", "<Root><X></Y></Root>", "Opening and ending tag mismatch"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    recorder->calls.clear();
    std::vector<std::string> calls = parse(c.bytes);
    ASSERT_FALSE(calls.empty());
    EXPECT_NE(calls.back().find("fatalError"), std::string::npos) << calls.back();
    EXPECT_NE(calls.back().find(c.message), std::string::npos) << calls.back();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& s) { return s.find("fatalError") == 0; }), 1);
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "endDocument"), calls.end());
  }
  // What came before the break was reported.
  recorder->calls.clear();
  std::vector<std::string> calls = parse(cases[0].bytes);
  EXPECT_NE(std::find(calls.begin(), calls.end(), "end |X|X"), calls.end());
  EXPECT_NE(calls.back().find("line 3"), std::string::npos) << calls.back();
}

// libxml2 keeps the entities of an internal DTD in a document of its own; the sanitizer tree's leak
// check fails this test while that document is left behind.
TEST_F(SAXReaderTest, AFileWithAnInternalDtdIsReadAndLeavesNothingBehind) {
  std::vector<std::string> calls =
      parse("<?xml version=\"1.0\"?><!DOCTYPE Root [<!ENTITY co \"Acme\">]><Root><X>a</X></Root>");
  EXPECT_EQ(calls, (std::vector<std::string>{"startDocument", "start |Root|Root", "start |X|X", "chars a", "end |X|X",
                                             "end |Root|Root", "endDocument"}));
}

// The entities of the file's own DTD read as their text, in content and in attributes, each time they are
// used; attributes that the DTD would add are not reported, as a reader of the whole file sees none.
TEST_F(SAXReaderTest, TheFilesOwnEntitiesAreExpandedWhereverTheyStand) {
  std::vector<std::string> calls = parse(
      "<?xml version=\"1.0\"?><!DOCTYPE Root [<!ENTITY co \"A&amp;B\"><!ATTLIST X kind CDATA \"plain\">]>"
      "<Root><X a=\"&co;\">&co;</X><X>&co; again</X></Root>");
  EXPECT_EQ(calls, (std::vector<std::string>{"startDocument", "start |Root|Root", "start |X|X a{}a=A&B", "chars A&B",
                                             "end |X|X", "start |X|X", "chars A&B again", "end |X|X", "end |Root|Root",
                                             "endDocument"}));
}

// An entity declared to live in another file is never read: the document is refused at its use.
TEST_F(SAXReaderTest, AnEntityFromAnotherFileIsNeverRead) {
  std::string secret = dir.write("secret.txt", "secret");
  std::vector<std::string> calls =
      parse("<?xml version=\"1.0\"?><!DOCTYPE Root [<!ENTITY out SYSTEM \"" + secret + "\">]><Root><X>&out;</X></Root>");
  ASSERT_FALSE(calls.empty());
  EXPECT_NE(calls.back().find("fatalError"), std::string::npos) << calls.back();
  for (const std::string& call : calls) EXPECT_EQ(call.find("secret"), std::string::npos) << call;
}

// Bytes that the declared encoding cannot convert end the parse as a fatal error, and nothing is
// written to the process's stderr on the way.
TEST_F(SAXReaderTest, ABadlyEncodedFileIsReportedToTheErrorHandlerAlone) {
  ::testing::internal::CaptureStderr();
  std::vector<std::string> calls = parse(std::string("\xFF\xFE<\0R\0>\0a\0\0\xD8" "b\0<\0/\0R\0>\0", 18));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  ASSERT_FALSE(calls.empty());
  EXPECT_NE(calls.back().find("fatalError"), std::string::npos) << calls.back();
}

TEST_F(SAXReaderTest, WithoutAnErrorHandlerABrokenFileRaisesTheParsersMessage) {
  AutomationError e = ErrorOf([&] { parse("<Root><X>", false); });
  EXPECT_NE(e.description.find("doc.xml"), std::string::npos) << e.description;
  EXPECT_NE(e.description.find("Premature end of data"), std::string::npos) << e.description;
}

TEST_F(SAXReaderTest, AFileThatCannotBeOpenedRaisesAnErrorNamingIt) {
  SAXXMLReader reader;
  reader.putContentHandler(recorder);
  AutomationError e = ErrorOf([&] { reader.parseURL(dir.file("missing.xml")); });
  EXPECT_NE(e.description.find("missing.xml"), std::string::npos);
  EXPECT_TRUE(recorder->calls.empty());
}

TEST_F(SAXReaderTest, AnExceptionFromAHandlerReachesTheCallerAfterTheParse) {
  recorder->throwAtElement = "B";
  try {
    parse("<Root><A/><B/><C/></Root>");
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "handler refused B");
  }
  // The parser stopped at the throw: nothing after B was reported.
  std::vector<std::string> expected = {"startDocument", "start |Root|Root", "start |A|A", "end |A|A"};
  EXPECT_EQ(recorder->calls, expected);
}

TEST_F(SAXReaderTest, AnAutomationErrorFromAHandlerKeepsItsNumberAndSource) {
  class Raiser : public ISAXContentHandler {
   public:
    void endElement(const std::string&, const std::string&, const std::string&) override {
      throw AutomationError(static_cast<std::int32_t>(0x800400C8u), "Quillan.clsSAXParse", "not a standard document");
    }
  };
  SAXXMLReader reader;
  reader.putContentHandler(std::make_shared<Raiser>());
  AutomationError e = ErrorOf([&] { reader.parseURL(dir.write("doc.xml", "<Root><X/></Root>")); });
  EXPECT_EQ(e.number, static_cast<std::int32_t>(0x800400C8u));
  EXPECT_EQ(e.source, "Quillan.clsSAXParse");
}

// Peak resident memory of the process, in kB, since the last reset.
long peakKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

class Counter : public ISAXContentHandler {
 public:
  long records = 0;
  std::size_t textBytes = 0;
  void endElement(const std::string&, const std::string& localName, const std::string&) override {
    if (localName == "Customer") ++records;
  }
  void characters(const std::string& chars) override { textBytes += chars.size(); }
};

TEST_F(SAXReaderTest, AFiftyMegabyteFileIsReadInFlatMemory) {
  // Records with text that crosses the reader's chunk boundaries in every position, CJK included.
  const std::string record =
      "<Customer><Number>01.0001</Number><Name>上海客户有限公司 &amp; Co.</Name><Address>浦东新区世纪大道"
      "</Address><Remark>a remark long enough to make the record a few hundred bytes</Remark></Customer>\n";
  const std::size_t textPerRecord = std::string("01.0001上海客户有限公司 & Co.浦东新区世纪大道"
                                                "a remark long enough to make the record a few hundred bytes\n")
                                        .size();
  const long count = 50L * 1024 * 1024 / static_cast<long>(record.size()) + 1;
  std::string path = dir.file("big.xml");
  {
    std::ofstream out(path, std::ios::binary);
    out << "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Customer\">";
    for (long i = 0; i < count; ++i) out << record;
    out << "</Root>";
  }
  ASSERT_GE(std::filesystem::file_size(path), 50u * 1024 * 1024);

  auto counter = std::make_shared<Counter>();
  SAXXMLReader reader;
  reader.putContentHandler(counter);
  resetPeak();
  long before = peakKilobytes();
  reader.parseURL(path);
  long growth = peakKilobytes() - before;

  EXPECT_EQ(counter->records, count);
  EXPECT_EQ(counter->textBytes, static_cast<std::size_t>(count) * textPerRecord);
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine, so peak memory says nothing here";
#endif
  EXPECT_LT(growth, 8 * 1024) << "peak memory grew by " << growth << " kB reading "
                              << std::filesystem::file_size(path) / 1024 << " kB";
  std::cout << "peak memory growth " << growth << " kB for a file of " << std::filesystem::file_size(path) / 1024
            << " kB\n";
}

}  // namespace
}  // namespace quillane
