// The check compiled from a record schema decides as libxml2's validator does: a table of documents is
// given to both. A document the check does not accept goes to libxml2, so the check may leave an unusual
// form to it (the rows marked so), but it must never accept what libxml2 refuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/automation/automation.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "platform/xml/TrzWriter.h"
#include "platform/xml/libxml_support.h"
#include "platform/xml/record_schema.h"
#include "platform/xml/schema_check.h"
#include "support/environment.h"

namespace quillane::xml_detail {
namespace {

// A record schema as the shipped ones are built, with elements of every simple type the check knows,
// the shared complex types, bounds other than 0, 1 and unbounded, and a required element.
std::string checkSchema(const std::string& extraTypes = "", const std::string& extraElements = "") {
  return R"(<?xml version="1.0"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" elementFormDefault="qualified">
  <xs:include schemaLocation="Common.xsd"/>)" +
         extraTypes + R"(
  <xs:element name="Root">
    <xs:complexType>
      <xs:sequence>
        <xs:element name="Check" minOccurs="0" maxOccurs="unbounded">
          <xs:complexType>
            <xs:sequence>
              <xs:group ref="ItemKeys"/>
              <xs:element name="Code" type="xs:string"/>
              <xs:element name="Price" type="xs:double" minOccurs="0"/>
              <xs:element name="Tag" type="xs:string" minOccurs="0" maxOccurs="2"/>
              <xs:element name="Manager" type="LinkRef" minOccurs="0"/>
              <xs:element name="BarCodes" type="BarCodes" minOccurs="0" maxOccurs="unbounded"/>)" +
         extraElements + R"(
            </xs:sequence>
          </xs:complexType>
        </xs:element>
      </xs:sequence>
      <xs:attribute name="VelmoraNameSpace" type="xs:string" use="required"/>
    </xs:complexType>
  </xs:element>
</xs:schema>)";
}

// Feeds a parsed document to the check as the writer does: an element with child elements as start and
// end, any other as a leaf with its text.
void feed(const xmlNode* node, DocumentCheck& check) {
  bool hasChildren = false;
  for (const xmlNode* c = node->children; c; c = c->next) hasChildren = hasChildren || c->type == XML_ELEMENT_NODE;
  std::string name = Chars(node->name);
  if (!hasChildren) {
    check.Leaf(name, NodeText(node));
    return;
  }
  check.Start(name, node->properties ? Chars(node->properties->name) : "");
  for (const xmlNode* c = node->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE) feed(c, check);
  check.End();
}

class SchemaCheckTest : public ::testing::Test {
 protected:
  SchemaCheckTest() {
    std::filesystem::copy_file(std::string(QUILLANE_SOURCE_DATA_DIR) + "/schema/Common.xsd", dir.file("Common.xsd"));
    InitLibxml();
  }
  std::unique_ptr<RecordSchema> load(const std::string& name, const std::string& text) {
    std::string error;
    auto schema = RecordSchema::Load(dir.write(name, text), error);
    EXPECT_NE(schema, nullptr) << error;
    return schema;
  }
  bool checkAccepts(RecordSchema& schema, const std::string& markup) {
    LibxmlErrors errors;
    DocPtr doc = ParseText(markup, errors);
    EXPECT_NE(doc, nullptr) << markup;
    DocumentCheck check(*schema.Check());
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    // The root is started even when it is empty, as the writer starts it.
    check.Start(Chars(root->name), root->properties ? Chars(root->properties->name) : "");
    for (const xmlNode* c = root->children; c; c = c->next)
      if (c->type == XML_ELEMENT_NODE) feed(c, check);
    check.End();
    return check.Accepted();
  }

  testing::TempDir dir;
};

std::string document(const std::string& records, const std::string& root = "Root VelmoraNameSpace=\"Check\"") {
  return "<?xml version=\"1.0\"?><" + root + ">" + records + "</" + root.substr(0, root.find(' ')) + ">";
}
std::string record(const std::string& body) { return "<Check>" + body + "</Check>"; }
std::string withCode(const std::string& before, const std::string& after = "") {
  return record(before + "<Code>C1</Code>" + after);
}

TEST_F(SchemaCheckTest, AcceptsAndRefusesWhatLibxml2Does) {
  auto schema = load("Check.xsd", checkSchema());
  ASSERT_NE(schema->Check(), nullptr);
  struct Case {
    const char* what;
    std::string markup;
    bool valid;      // libxml2's verdict
    bool fast;       // the check's own verdict: false where it leaves a valid form to libxml2
  };
  auto valid = [](const char* what, std::string markup) { return Case{what, std::move(markup), true, true}; };
  auto refused = [](const char* what, std::string markup) { return Case{what, std::move(markup), false, false}; };
  auto leftToLibxml2 = [](const char* what, std::string markup) { return Case{what, std::move(markup), true, false}; };
  const std::string link = "<Number>01</Number><Name>总部</Name><UUID>{A}</UUID>";
  const std::vector<Case> cases = {
      valid("no records", "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Check\"/>"),
      valid("only the required element", document(withCode(""))),
      valid("every element",
            document(record("<Name>部门</Name><Number>01.02</Number><Parent>" + link +
                            "</Parent><Level>3</Level><IsDetail>1</IsDetail><UUID>{B}</UUID><IsDelete>0</IsDelete>"
                            "<Code>C1</Code><Price>12.5</Price><Tag>a</Tag><Tag>b</Tag><Manager>" +
                            link + "</Manager><BarCodes><BarCode>690</BarCode><Remark>箱</Remark></BarCodes>"
                                   "<BarCodes><BarCode>691</BarCode></BarCodes>"))),
      valid("several records", document(withCode("<Name>a</Name>") + withCode("<Name>b</Name>"))),
      valid("empty texts and links", document(withCode("<Name/><Parent/>", "<Tag/><Manager/><BarCodes/>"))),
      valid("link of one part", document(withCode("<Parent><UUID>{A}</UUID></Parent>"))),
      valid("negative integer", document(withCode("<Level>-5</Level>"))),
      valid("integer with a plus sign", document(withCode("<Level>+7</Level>"))),
      valid("integer with leading zeros", document(withCode("<Level>007</Level>"))),
      valid("integer of 24 digits", document(withCode("<Level>123456789012345678901234</Level>"))),
      valid("24 digits after leading zeros", document(withCode("<Level>000123456789012345678901234</Level>"))),
      valid("double with an exponent", document(withCode("", "<Price>1E+20</Price>"))),
      valid("negative double, negative exponent", document(withCode("", "<Price>-1.5E-07</Price>"))),
      valid("double beyond the range", document(withCode("", "<Price>1E+400</Price>"))),
      valid("whole double", document(withCode("", "<Price>3</Price>"))),
      valid("NaN", document(withCode("", "<Price>NaN</Price>"))),
      valid("INF", document(withCode("", "<Price>INF</Price>"))),
      valid("-INF", document(withCode("", "<Price>-INF</Price>"))),
      valid("text of any characters", document(withCode("<Name> a&amp;b&lt;c&#13;\n\t中 </Name>"))),

      refused("required element missing", document(record("<Name>a</Name>"))),
      refused("required element missing from an empty record", document("<Check/>")),
      refused("extra element", document(withCode("", "<Colour>red</Colour>"))),
      refused("extra element in a link", document(withCode("<Parent>" + link + "<Colour/></Parent>"))),
      refused("misordered elements", document(record("<Code>C1</Code><Name>a</Name>"))),
      refused("misordered link parts", document(withCode("<Parent><Name>总部</Name><Number>01</Number></Parent>"))),
      refused("misordered bar code parts",
              document(withCode("", "<BarCodes><Remark>箱</Remark><BarCode>690</BarCode></BarCodes>"))),
      refused("element once too often", document(record("<Code>C1</Code><Code>C2</Code>"))),
      refused("bounded element beyond its bound", document(withCode("", "<Tag>a</Tag><Tag>b</Tag><Tag>c</Tag>"))),
      refused("element after a vector it belongs before", document(withCode("", "<BarCodes/><Tag>a</Tag>"))),
      refused("record of another name", document("<Other/>")),
      refused("document of another root", "<?xml version=\"1.0\"?><Check><Code>C1</Code></Check>"),
      refused("root without its attribute", document(withCode(""), "Root")),
      refused("root with another attribute", document(withCode(""), "Root Other=\"Check\"")),
      refused("text as integer", document(withCode("<Level>high</Level>"))),
      refused("fraction as integer", document(withCode("<Level>1.5</Level>"))),
      refused("exponent as integer", document(withCode("<Level>1E+20</Level>"))),
      refused("empty integer", document(withCode("<Level/>"))),
      refused("sign alone as integer", document(withCode("<Level>-</Level>"))),
      refused("integer of 25 digits", document(withCode("<Level>1234567890123456789012345</Level>"))),
      refused("integer with a blank inside", document(withCode("<Level>1 2</Level>"))),
      refused("Boolean as integer", document(withCode("<IsDetail>True</IsDetail>"))),
      refused("text as double", document(withCode("", "<Price>cheap</Price>"))),
      refused("empty double", document(withCode("", "<Price/>"))),
      refused("NaN in capitals", document(withCode("", "<Price>NAN</Price>"))),
      refused("nan in small letters", document(withCode("", "<Price>nan</Price>"))),
      refused("inf in small letters", document(withCode("", "<Price>inf</Price>"))),
      refused("two decimal points", document(withCode("", "<Price>1.5.2</Price>"))),
      refused("decimal comma", document(withCode("", "<Price>1,5</Price>"))),
      refused("child elements in a text", document(record("<Code><Part>C</Part></Code>"))),
      refused("child elements in an integer", document(withCode("<Level><Part>1</Part></Level>"))),
      refused("text in a link", document(withCode("<Parent>01</Parent>"))),
      refused("text in a bar code", document(withCode("", "<BarCodes>690</BarCodes>"))),

      leftToLibxml2("integer with blanks around", document(withCode("<Level> 5 </Level>"))),
      leftToLibxml2("double with blanks around", document(withCode("", "<Price> 2.5 </Price>"))),
      leftToLibxml2("double without an integer part", document(withCode("", "<Price>.5</Price>"))),
      leftToLibxml2("double with a plus sign", document(withCode("", "<Price>+1.5</Price>"))),
      leftToLibxml2("blanks in a link", document(withCode("<Parent> </Parent>"))),
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.what) + ": " + c.markup);
    EXPECT_EQ(schema->ValidateText(c.markup), c.valid);
    EXPECT_EQ(checkAccepts(*schema, c.markup), c.fast);
  }
}

// A construct the check does not know leaves the schema to libxml2 whole: each of these, added to a
// schema the check knows, could change the verdict (a fixed value, a choice, a type of other values...).
TEST_F(SchemaCheckTest, ASchemaBeyondTheSubsetIsNotCompiled) {
  struct Case {
    const char* what;
    std::string types, elements;
  };
  const std::vector<Case> cases = {
      {"another simple type", "", R"(<xs:element name="Count" type="xs:int" minOccurs="0"/>)"},
      {"a simple type of its own",
       R"(<xs:simpleType name="Small"><xs:restriction base="xs:integer"><xs:maxInclusive value="9"/></xs:restriction></xs:simpleType>)",
       R"(<xs:element name="Count" type="Small" minOccurs="0"/>)"},
      {"a fixed value", "", R"(<xs:element name="Kind" type="xs:string" fixed="A" minOccurs="0"/>)"},
      {"a default value", "", R"(<xs:element name="Kind" type="xs:string" default="A" minOccurs="0"/>)"},
      {"a nillable element", "", R"(<xs:element name="Kind" type="xs:string" nillable="true" minOccurs="0"/>)"},
      {"an element of any type", "", R"(<xs:element name="Anything" minOccurs="0"/>)"},
      {"a choice", "",
       R"(<xs:choice minOccurs="0"><xs:element name="A" type="xs:string"/><xs:element name="B" type="xs:string"/></xs:choice>)"},
      {"a repeated sequence", "",
       R"(<xs:sequence maxOccurs="2"><xs:element name="A" type="xs:string"/></xs:sequence>)"},
      {"mixed content", R"(<xs:complexType name="Mixed" mixed="true"><xs:sequence/></xs:complexType>)",
       R"(<xs:element name="Note" type="Mixed" minOccurs="0"/>)"},
      {"simple content",
       R"(<xs:complexType name="Amount"><xs:simpleContent><xs:extension base="xs:double"/></xs:simpleContent></xs:complexType>)",
       R"(<xs:element name="Amount" type="Amount" minOccurs="0"/>)"},
      {"an attribute of another type",
       R"(<xs:complexType name="Counted"><xs:sequence/><xs:attribute name="n" type="xs:int"/></xs:complexType>)",
       R"(<xs:element name="Counted" type="Counted" minOccurs="0"/>)"},
      {"a substitution group",
       R"(<xs:element name="Head" type="xs:string"/><xs:element name="Member" type="xs:string" substitutionGroup="Head"/>)",
       R"(<xs:element ref="Head" minOccurs="0"/>)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto schema = load("Beyond.xsd", checkSchema(c.types, c.elements));
    ASSERT_NE(schema, nullptr);
    EXPECT_EQ(schema->Check(), nullptr);
  }
  std::string error;
  auto shipped = RecordSchema::Load(std::string(QUILLANE_SOURCE_DATA_DIR) + "/schema/Department.xsd", error);
  ASSERT_NE(shipped, nullptr) << error;
  EXPECT_NE(shipped->Check(), nullptr) << "the departments' schema lies within the subset";
}

// The writer takes the fast road for a schema the check knows; what the schema refuses still comes back
// with libxml2's message about the element.
TEST_F(SchemaCheckTest, TheWriterGivesLibxml2sMessageForARefusedDocument) {
  std::string xsd = dir.write("Check.xsd", checkSchema());
  auto records = [](std::initializer_list<std::pair<const char*, Variant>> entries) {
    auto r = std::make_shared<TrzRecord>();
    for (const auto& [key, value] : entries) r->SetValue(key, value);
    auto v = std::make_shared<TrzRecords>();
    v->Add(Variant(r));
    return v;
  };
  struct Case {
    const char* what;
    std::shared_ptr<TrzRecords> vect;
    std::string expected;  // the document, or the error
  };
  const std::string refused = "数据不符合架构 " + std::filesystem::path(xsd).filename().string() + ": ";
  const std::vector<Case> cases = {
      {"valid", records({{"Level", std::int32_t{3}}, {"Code", "C1"}, {"Price", 2.5}}),
       "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Check\"><Check><Level>3</Level><Code>C1</Code>"
       "<Price>2.5</Price></Check></Root>"},
      {"fraction as integer", records({{"Level", 1.5}, {"Code", "C1"}}),
       refused + "/Root/Check/Level: Element 'Level': '1.5' is not a valid value of the atomic type 'xs:integer'."},
      {"beyond an integer's digits", records({{"Level", "1234567890123456789012345"}, {"Code", "C1"}}),
       refused + "/Root/Check/Level: Element 'Level': '1234567890123456789012345' is not a valid value of the "
                 "atomic type 'xs:integer'."},
      {"text as double", records({{"Code", "C1"}, {"Price", "cheap"}}),
       refused + "/Root/Check/Price: Element 'Price': 'cheap' is not a valid value of the atomic type 'xs:double'."},
      {"required element missing", records({{"Name", "a"}}),
       refused + "/Root/Check: Element 'Check': Missing child element(s). Expected is one of ( Number, Parent, "
                 "Level, IsDetail, UUID, IsDelete, Code )."},
      {"misordered", records({{"Code", "C1"}, {"Name", "a"}}),
       refused + "/Root/Check/Name: Element 'Name': This element is not expected. Expected is one of ( Price, Tag, "
                 "Manager, BarCodes )."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string xml, error;
    TrzWriter().OutputXMLString(c.vect, xml, xsd, "Check", error);
    EXPECT_EQ(error.empty() ? xml : error, c.expected);
  }
}

}  // namespace
}  // namespace quillane::xml_detail
