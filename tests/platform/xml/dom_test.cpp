#include <gtest/gtest.h>

#include "platform/automation/automation.h"
#include "platform/xml/DOMDocument.h"
#include "support/automation_test.h"
#include "support/environment.h"
#include "utf16.h"

namespace quillane {
namespace {

using testing::ErrorOf;

constexpr const char* kItemClassPage =
    "<Root VelmoraNameSpace=\"ItemClass\"><ItemClass xmlns=\"urn:velmora:trz/ItemClass\" Kind=\"3\">"
    "<Name>颜色</Name><Item><Number>R</Number></Item><Item><Number>G</Number></Item></ItemClass></Root>";

TEST(DOMDocumentTest, LoadsFilesInTheirOwnEncoding) {
  testing::TempDir dir;
  const std::string body = "<Root VelmoraNameSpace=\"X\"><X><Name>中文 &amp; 英文</Name></X></Root>";
  struct Case {
    const char* what;
    std::string bytes;
    bool declared;
  };
  const std::vector<Case> cases = {
      {"UTF-16 LE with BOM", testing::Utf16LeFile("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n" + body), true},
      {"UTF-16 LE with BOM, no declaration", testing::Utf16LeFile(body), false},
      {"UTF-16 BE with BOM", testing::Utf16BeFile("<?xml version=\"1.0\"?>" + body), true},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + body, false},
      {"GB2312 as declared",
       "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root VelmoraNameSpace=\"X\"><X><Name>\xD6\xD0\xCE\xC4 &amp; "
       "\xD3\xA2\xCE\xC4</Name></X></Root>",
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DOMDocument doc;
    ASSERT_TRUE(doc.load(dir.write("page.xml", c.bytes))) << doc.parseError()->reason();
    EXPECT_EQ(doc.parseError()->errorCode(), 0);
    EXPECT_EQ(doc.documentElement()->nodeName(), "Root");
    EXPECT_EQ(doc.selectSingleNode("Root/X/Name")->text(), "中文 & 英文");
    EXPECT_EQ(doc.xml(), std::string(c.declared ? "<?xml version=\"1.0\"?>\r\n" : "") + body + "\r\n");
  }
}

TEST(DOMDocumentTest, FailedLoadsGiveFalseAnEmptyDocumentAndTheReason) {
  testing::TempDir dir;
  DOMDocument doc;
  ASSERT_TRUE(doc.loadXML("<Root/>"));

  EXPECT_FALSE(doc.loadXML("<Root><X></Root>"));
  EXPECT_EQ(doc.documentElement(), nullptr);
  EXPECT_EQ(doc.xml(), "");
  EXPECT_NE(doc.parseError()->errorCode(), 0);
  EXPECT_EQ(doc.parseError()->line(), 1);
  EXPECT_NE(doc.parseError()->reason().find("line 1"), std::string::npos) << doc.parseError()->reason();

  EXPECT_FALSE(doc.load(dir.file("missing.xml")));
  EXPECT_NE(doc.parseError()->reason().find("missing.xml"), std::string::npos);
  EXPECT_FALSE(doc.load(dir.write("truncated.xml", testing::Utf16LeFile("<Root><X>"))));
  EXPECT_NE(doc.parseError()->reason().find("Premature end"), std::string::npos) << doc.parseError()->reason();
  EXPECT_FALSE(doc.load(dir.write("empty.xml", "")));
}

TEST(DOMDocumentTest, SimplePathsFindNodesWhateverTheirNamespace) {
  DOMDocument doc;
  ASSERT_TRUE(doc.loadXML(kItemClassPage));
  EXPECT_EQ(doc.selectNodes("Root/ItemClass/Item")->length(), 2);
  EXPECT_EQ(doc.selectNodes("Root/ItemClass/Item")->item(1)->xml(), "<Item><Number>G</Number></Item>");
  EXPECT_EQ(doc.selectNodes("Root/*/Item")->length(), 2);
  EXPECT_EQ(doc.selectNodes("Root/ItemClass/Missing")->length(), 0);
  EXPECT_EQ(doc.selectSingleNode("Root/Missing"), nullptr);

  auto root = doc.documentElement();
  EXPECT_EQ(root->selectSingleNode("ItemClass/Name")->text(), "颜色");
  EXPECT_EQ(root->selectSingleNode("/Root/ItemClass")->nodeName(), "ItemClass");
  for (const char* path : {"Root//Item", "Root/Item[1]", "Root/@Kind", "Root/"})
    EXPECT_EQ(ErrorOf([&] { doc.selectNodes(path); }).number, 5) << path;
}

TEST(DOMDocumentTest, ChildNodesAndNodeMarkup) {
  DOMDocument doc;
  ASSERT_TRUE(doc.loadXML("<Root VelmoraNameSpace=\"X\">\n  <X><A>a&lt;b</A></X>\n  <X/>\n</Root>"));
  auto children = doc.documentElement()->childNodes();
  // Whitespace between elements is not kept.
  ASSERT_EQ(children->length(), 2);
  EXPECT_EQ(children->item(0)->xml(), "<X><A>a&lt;b</A></X>");
  EXPECT_EQ(children->item(1)->xml(), "<X/>");
  EXPECT_EQ(children->item(2), nullptr);
  EXPECT_EQ(children->item(-1), nullptr);
}

TEST(DOMDocumentTest, RemovingTheDefaultNamespaceTakesItOutOfTheMarkup) {
  DOMDocument doc;
  ASSERT_TRUE(doc.loadXML(kItemClassPage));
  auto cls = doc.selectSingleNode("Root/ItemClass");
  cls->removeAttribute("xmlns");
  cls->removeAttribute("Kind");
  cls->removeAttribute("NotThere");
  std::string xml = cls->xml();
  EXPECT_EQ(xml, "<ItemClass><Name>颜色</Name><Item><Number>R</Number></Item><Item><Number>G</Number></Item></ItemClass>");
  // The document still reads as it did, now without the namespace.
  DOMDocument again;
  ASSERT_TRUE(again.loadXML(doc.xml()));
  EXPECT_EQ(again.selectNodes("Root/ItemClass/Item")->length(), 2);
}

TEST(DOMDocumentTest, SaveWritesUtf8ThatLoadsBack) {
  testing::TempDir dir;
  DOMDocument doc;
  ASSERT_TRUE(doc.loadXML("<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root><A>中文</A></Root>"));
  std::string path = dir.file("saved.xml");
  doc.save(path);
  EXPECT_EQ(testing::ReadFile(path).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
  DOMDocument back;
  ASSERT_TRUE(back.load(path));
  EXPECT_EQ(back.selectSingleNode("Root/A")->text(), "中文");

  AutomationError e = ErrorOf([&] { doc.save(dir.file("no/such/folder/saved.xml")); });
  EXPECT_EQ(e.number, 70);
  EXPECT_NE(e.description.find("no/such/folder"), std::string::npos);
}

TEST(DOMDocumentTest, NodesOutliveAReload) {
  DOMDocument doc;
  ASSERT_TRUE(doc.loadXML("<Root><A>first</A></Root>"));
  auto a = doc.selectSingleNode("Root/A");
  ASSERT_TRUE(doc.loadXML("<Other/>"));
  EXPECT_EQ(a->text(), "first");
  EXPECT_EQ(doc.documentElement()->nodeName(), "Other");
}

TEST(DOMDocumentTest, LateBoundCallsReachTheDocumentAndItsNodes) {
  ObjectRef doc = CreateObject("MSXML2.DOMDocument.3.0");
  std::vector<Variant> text{kItemClassPage};
  EXPECT_EQ(doc->Call("loadXML", text), Variant(true));
  std::vector<Variant> path{"Root/ItemClass/Item"};
  ObjectRef items = doc->Call("selectNodes", path).object();
  EXPECT_EQ(items->Get("length"), Variant(std::int32_t{2}));
  std::vector<Variant> index{std::int32_t{0}};
  ObjectRef first = items->Invoke("item", InvokeKind::Get, index).object();
  EXPECT_EQ(first->Get("xml"), Variant("<Item><Number>R</Number></Item>"));
  EXPECT_EQ(doc->Get("documentElement").object()->Get("nodeName"), Variant("Root"));
  EXPECT_EQ(doc->Get("parseError").object()->Get("errorCode"), Variant(std::int32_t{0}));
  EXPECT_EQ(CStr(doc->Get("xml")).substr(0, 6), "<Root ");
}

}  // namespace
}  // namespace quillane
