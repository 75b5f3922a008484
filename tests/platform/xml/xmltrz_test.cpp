#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/automation/automation.h"
#include "platform/xml/TrzReader.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "platform/xml/TrzRegistry.h"
#include "platform/xml/TrzWriter.h"
#include "platform/xml/record_stream.h"
#include "platform/xml/record_values.h"
#include "support/environment.h"

namespace quillane {
namespace {

using RecordPtr = std::shared_ptr<TrzRecord>;
using VectorPtr = std::shared_ptr<TrzRecords>;

// A record schema as the shipped ones are built: the shared pieces, its own types, and a Root holding
// the record elements.
std::string recordSchema(const std::string& types, const std::string& recordElement) {
  return R"(<?xml version="1.0"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" elementFormDefault="qualified">
  <xs:include schemaLocation="Common.xsd"/>)" +
         types + R"(
  <xs:element name="Root">
    <xs:complexType>
      <xs:sequence>)" +
         recordElement + R"(
      </xs:sequence>
      <xs:attribute name="VelmoraNameSpace" type="xs:string" use="required"/>
    </xs:complexType>
  </xs:element>
</xs:schema>)";
}

// A record format with every kind of child: values of several simple types, a nested link, a vector of
// records and a vector of values.
const std::string kSampleXsd = recordSchema("", R"(
        <xs:element name="Sample" minOccurs="0" maxOccurs="unbounded">
          <xs:complexType>
            <xs:sequence>
              <xs:element name="Number" type="xs:string"/>
              <xs:element name="Name" type="xs:string" minOccurs="0"/>
              <xs:element name="Level" type="xs:int" minOccurs="0"/>
              <xs:element name="IsDelete" type="xs:boolean" minOccurs="0"/>
              <xs:element name="Price" type="xs:double" minOccurs="0"/>
              <xs:element name="Created" type="xs:dateTime" minOccurs="0"/>
              <xs:element name="Parent" type="LinkRef" minOccurs="0"/>
              <xs:element name="BarCodes" type="BarCodes" minOccurs="0" maxOccurs="unbounded"/>
              <xs:element name="Tag" type="xs:string" minOccurs="0" maxOccurs="unbounded"/>
              <xs:element name="Note" type="xs:string" minOccurs="0"/>
            </xs:sequence>
          </xs:complexType>
        </xs:element>)");

// Item classes: the records of a class are a vector of a named complex type.
const std::string kItemClassXsd = recordSchema(R"(
  <xs:complexType name="Item">
    <xs:sequence>
      <xs:element name="Number" type="xs:string"/>
      <xs:element name="BarCodes" type="BarCodes" minOccurs="0" maxOccurs="unbounded"/>
    </xs:sequence>
  </xs:complexType>)",
                                               R"(
        <xs:element name="ItemClass" minOccurs="0" maxOccurs="unbounded">
          <xs:complexType>
            <xs:sequence>
              <xs:element name="Name" type="xs:string"/>
              <xs:element name="Item" type="Item" minOccurs="0" maxOccurs="unbounded"/>
            </xs:sequence>
          </xs:complexType>
        </xs:element>)");

// A canonical text of a value, records and vectors included, for comparing whole trees.
std::string describe(const Variant& v) {
  if (const ObjectRef* o = v.tryAs<ObjectRef>()) {
    std::string text;
    if (auto r = std::dynamic_pointer_cast<TrzRecord>(*o)) {
      for (const auto& [key, value] : r->Entries()) text += (text.empty() ? "" : ",") + key + "=" + describe(value);
      return "{" + text + "}";
    }
    if (auto vec = std::dynamic_pointer_cast<TrzRecords>(*o)) {
      for (const Variant& entry : *vec) text += (text.empty() ? "" : ",") + describe(entry);
      return "[" + text + "]";
    }
    return "object";
  }
  return TypeName(v) + ":" + (v.isNull() ? "" : CStr(v));
}

RecordPtr record(std::initializer_list<std::pair<const char*, Variant>> entries) {
  auto r = std::make_shared<TrzRecord>();
  for (const auto& [key, value] : entries) r->SetValue(key, value);
  return r;
}

VectorPtr vector(std::initializer_list<Variant> entries) {
  auto v = std::make_shared<TrzRecords>();
  for (const Variant& e : entries) v->Add(e);
  return v;
}

class XmlTrzTest : public ::testing::Test {
 protected:
  XmlTrzTest() {
    std::filesystem::copy_file(std::string(QUILLANE_SOURCE_DATA_DIR) + "/schema/Common.xsd", dir.file("Common.xsd"));
  }

  std::string write(const VectorPtr& vect, const std::string& xsd, const std::string& type, std::string& error) {
    std::string xml = "left over";
    bool ok = TrzWriter().OutputXMLString(vect, xml, xsd, type, error);
    EXPECT_EQ(ok, error.empty());
    return xml;
  }
  VectorPtr read(const std::string& xml, const std::string& xsd, const std::string& type, std::string& error) {
    VectorPtr vect;
    bool ok = TrzReader().InputXMLString(vect, xml, xsd, type, error);
    EXPECT_EQ(ok, error.empty());
    EXPECT_NE(vect, nullptr);  // never null, also on failure
    return vect;
  }

  testing::TempDir dir;
  std::string sampleXsd = dir.write("Sample.xsd", kSampleXsd);
  std::string itemClassXsd = dir.write("ItemClass.xsd", kItemClassXsd);
};

TEST_F(XmlTrzTest, RecordsRoundTripThroughText) {
  auto full = record({{"Number", "01.&<>\"'"},
                      {"Name", "销售部 & <总部>"},
                      {"Level", std::int32_t{3}},
                      {"IsDelete", true},
                      {"Price", 12.5},
                      {"Created", Variant(MakeDate(2024, 1, 2, 10, 20, 30))},
                      {"Parent", Variant(record({{"Number", "01"}, {"Name", "总部"}, {"UUID", "{A-1}"}}))},
                      {"BarCodes", Variant(vector({Variant(record({{"BarCode", "690"}, {"Remark", "箱"}})),
                                                   Variant(record({{"BarCode", "691"}, {"Remark", Variant::null()}}))}))},
                      {"Tag", Variant(vector({"only"}))},
                      {"Note", Variant::null()}});
  auto sparse = record({{"Number", "02"},
                        {"Name", ""},
                        {"Parent", Variant(std::make_shared<TrzRecord>())},
                        {"BarCodes", Variant(std::make_shared<TrzRecords>())},
                        {"Tag", Variant(vector({"a", "b", "c"}))}});
  std::string error;
  std::string xml = write(vector({Variant(full), Variant(sparse)}), sampleXsd, "Sample", error);
  ASSERT_EQ(error, "");

  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Sample\"><Sample><Number>", 0), 0u) << xml;
  EXPECT_EQ(xml.substr(xml.size() - 7), "</Root>");
  EXPECT_EQ(xml.find("encoding"), std::string::npos);
  EXPECT_EQ(xml.find("Note"), std::string::npos);  // Null is left out
  EXPECT_NE(xml.find("<Created>2024-01-02T10:20:30</Created>"), std::string::npos);
  EXPECT_NE(xml.find("<IsDelete>true</IsDelete>"), std::string::npos);

  VectorPtr back = read(xml, sampleXsd, "Sample", error);
  ASSERT_EQ(error, "");
  ASSERT_EQ(back->Count(), 2);
  EXPECT_EQ(describe(back->Items()[0]),
            "{Number=String:01.&<>\"',Name=String:销售部 & <总部>,Level=Long:3,IsDelete=Boolean:True,"
            "Price=Double:12.5,Created=Date:2024-01-02 10:20:30,Parent={Number=String:01,Name=String:总部,"
            "UUID=String:{A-1}},BarCodes=[{BarCode=String:690,Remark=String:箱},{BarCode=String:691}],"
            "Tag=[String:only]}");
  // An empty link is an empty record, an empty text a text; a vector of zero comes back as no key, which
  // readers of a vector treat as an empty list.
  EXPECT_EQ(describe(back->Items()[1]), "{Number=String:02,Name=String:,Parent={},Tag=[String:a,String:b,String:c]}");
}

// The markup is written straight out, not serialised from a tree: it must be what libxml2 would write.
TEST_F(XmlTrzTest, TheMarkupIsWhatLibxml2WouldSerialise) {
  auto r = record({{"Number", "a&b<c>d\"e'f\r\ng\t中"},
                   {"Name", ""},
                   {"Parent", Variant(std::make_shared<TrzRecord>())},
                   {"Tag", Variant(vector({"x", ""}))}});
  std::string error;
  EXPECT_EQ(write(vector({Variant(r)}), sampleXsd, "Sample", error),
            "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Sample\"><Sample><Number>a&amp;b&lt;c&gt;d\"e'f&#13;\ng\t中"
            "</Number><Name/><Parent/><Tag>x</Tag><Tag/></Sample></Root>");
  EXPECT_EQ(error, "");
  EXPECT_EQ(write(vector({}), sampleXsd, "Sample", error), "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Sample\"/>");
}

TEST_F(XmlTrzTest, VectorsFollowTheSchemaNotTheCount) {
  std::string error;
  VectorPtr back = read(
      "<Root VelmoraNameSpace=\"Sample\"><Sample><Number>1</Number><BarCodes><BarCode>9</BarCode></BarCodes>"
      "<Tag>x</Tag></Sample></Root>",
      sampleXsd, "Sample", error);
  ASSERT_EQ(error, "");
  RecordPtr r = back->RecordAt(0);
  ASSERT_NE(r->GetVector("BarCodes"), nullptr);
  EXPECT_EQ(r->GetVector("BarCodes")->Count(), 1);
  ASSERT_NE(r->GetVector("Tag"), nullptr);
  EXPECT_EQ(r->GetVector("Tag")->Item(1), Variant("x"));
}

TEST_F(XmlTrzTest, TheSchemaShapeFollowsReferencesGroupsAndDerivedTypes) {
  std::string xsd = dir.write("Shapes.xsd", recordSchema(R"(
  <xs:simpleType name="Level"><xs:restriction base="xs:short"><xs:maxInclusive value="9"/></xs:restriction></xs:simpleType>
  <xs:element name="Code" type="xs:string"/>
  <xs:group name="Flags"><xs:sequence><xs:element name="Active" type="xs:boolean" minOccurs="0"/></xs:sequence></xs:group>
  <xs:complexType name="Base"><xs:sequence><xs:element name="Number" type="xs:string"/></xs:sequence></xs:complexType>
  <xs:complexType name="Link">
    <xs:complexContent><xs:extension base="Base"><xs:sequence>
      <xs:element name="Level" type="Level" minOccurs="0"/>
    </xs:sequence></xs:extension></xs:complexContent>
  </xs:complexType>
  <xs:complexType name="Amount"><xs:simpleContent><xs:extension base="xs:decimal">
    <xs:attribute name="currency" type="xs:string"/>
  </xs:extension></xs:simpleContent></xs:complexType>)",
                                                         R"(
        <xs:element name="Shape" maxOccurs="unbounded">
          <xs:complexType>
            <xs:sequence>
              <xs:element ref="Code" maxOccurs="unbounded"/>
              <xs:group ref="Flags"/>
              <xs:element name="Link" type="Link" minOccurs="0"/>
              <xs:choice minOccurs="0" maxOccurs="unbounded">
                <xs:element name="Price" type="Amount"/>
                <xs:element name="Note" type="xs:string"/>
              </xs:choice>
            </xs:sequence>
          </xs:complexType>
        </xs:element>)"));
  std::string error;
  VectorPtr back = read(
      "<Root VelmoraNameSpace=\"Shape\"><Shape><Code>A</Code><Active>1</Active><Link><Number>7</Number>"
      "<Level>3</Level></Link><Price currency=\"CNY\">2.5</Price></Shape></Root>",
      xsd, "Shape", error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(describe(back->Items()[0]),
            "{Code=[String:A],Active=Boolean:True,Link={Number=String:7,Level=Long:3},Price=[Double:2.5]}");
}

TEST_F(XmlTrzTest, ReadsTextWhoseDeclarationNamesAnotherEncoding) {
  // Batches cut from a UTF-16 file say so in their declaration, but arrive as the process's UTF-8 text.
  std::string error;
  VectorPtr back = read(
      "<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root VelmoraNameSpace=\"Sample\"><Sample><Number>编号</Number>"
      "</Sample></Root>",
      sampleXsd, "Sample", error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(back->RecordAt(0)->Item("Number"), Variant("编号"));
}

TEST_F(XmlTrzTest, ItemClassPagesCarryTheirNamespaceAndReadBack) {
  auto cls = record({{"Name", "颜色"},
                     {"Item", Variant(vector({Variant(record({{"Number", "R"}})), Variant(record({{"Number", "G"}}))}))}});
  std::string error;
  std::string xml = write(vector({Variant(cls)}), itemClassXsd, "ItemClass", error);
  ASSERT_EQ(error, "");
  EXPECT_NE(xml.find("<Root VelmoraNameSpace=\"ItemClass\"><ItemClass xmlns=\"" + std::string(kItemClassNamespace) +
                     "\"><Name>颜色</Name><Item><Number>R</Number></Item>"),
            std::string::npos)
      << xml;
  EXPECT_EQ(xml.substr(xml.size() - 19), "</ItemClass></Root>");
  ASSERT_EQ(kItemClassNamespace.substr(kItemClassNamespace.size() - 10), "/ItemClass");

  VectorPtr back = read(xml, itemClassXsd, "ItemClass", error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(describe(back->Items()[0]), "{Name=String:颜色,Item=[{Number=String:R},{Number=String:G}]}");
}

// A plain document is read from its parser's events, without a tree; a comment anywhere sends the same
// document down the tree road. Both give the same records, element for element.
TEST_F(XmlTrzTest, APlainDocumentReadsAsTheTreeReadsIt) {
  std::string openXsd = dir.write("Open.xsd", recordSchema("", R"(
        <xs:element name="Open" maxOccurs="unbounded">
          <xs:complexType>
            <xs:sequence>
              <xs:element name="Number" type="xs:string"/>
              <xs:any processContents="skip" minOccurs="0" maxOccurs="unbounded"/>
            </xs:sequence>
          </xs:complexType>
        </xs:element>)"));
  struct Case {
    const std::string* xsd;
    const char* type;
    std::string records;  // inside Root
    const char* first;    // the first record read
  };
  const Case cases[] = {
      {&sampleXsd, "Sample",
       "\n  <Sample>\n    <Number> 01 &amp; &lt;&#x4E00;&gt; </Number><Name/><Level>3</Level><IsDelete>true</IsDelete>"
       "<Price>2.5</Price><Created>2024-01-05T10:20:30</Created>"
       "<Parent><Number>P</Number><Name>父</Name><UUID>u</UUID></Parent>"
       "<BarCodes><BarCode>9</BarCode></BarCodes><BarCodes><BarCode>8</BarCode><Remark>r</Remark></BarCodes>"
       "<Tag>a</Tag><?note kept out?><Tag>b</Tag><Note>one\r\ntwo\tthree</Note>\n  </Sample>\n"
       "<Sample><Number>2</Number><Parent/><Tag></Tag></Sample>",
       "{Number=String: 01 & <一> ,Name=String:,Level=Long:3,IsDelete=Boolean:True,Price=Double:2.5,"
       "Created=Date:2024-01-05 10:20:30,Parent={Number=String:P,Name=String:父,UUID=String:u},"
       "BarCodes=[{BarCode=String:9},{BarCode=String:8,Remark=String:r}],Tag=[String:a,String:b],"
       "Note=String:one\ntwo\tthree}"},
      {&sampleXsd, "Sample", "", nullptr},
      {&openXsd, "Open",
       "<Open><Number>1</Number><X>a</X><X>b</X><Y><Z>1</Z><Z>2</Z></Y><W> t<V/>u </W><E/><F>  </F>"
       "<G><H>x<I>y</I></H></G></Open>",
       "{Number=String:1,X=[String:a,String:b],Y={Z=[String:1,String:2]},W={V=String:},E=String:,F=String:  ,"
       "G={H={I=String:y}}}"},
  };
  for (const Case& c : cases) {
    const std::string plain = "<Root VelmoraNameSpace=\"" + std::string(c.type) + "\">" + c.records + "</Root>";
    SCOPED_TRACE(plain);
    std::string error;
    auto schema = xml_detail::RecordSchema::Load(*c.xsd, error);
    ASSERT_TRUE(schema) << error;
    TrzRecords streamed;
    ASSERT_TRUE(xml_detail::ReadPlainDocument(streamed, plain, *schema, schema->RecordElement(c.type), c.type));
    VectorPtr tree = read("<!-- by the tree -->" + plain, *c.xsd, c.type, error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(streamed.Count(), tree->Count());
    for (std::int32_t k = 1; k <= tree->Count(); ++k) EXPECT_EQ(describe(streamed.Item(k)), describe(tree->Item(k)));
    if (c.first) {
      EXPECT_EQ(describe(streamed.Item(1)), c.first);
    }
    EXPECT_EQ(describe(Variant(read(plain, *c.xsd, c.type, error))), describe(Variant(tree)));
  }
}

TEST_F(XmlTrzTest, BadInputComesBackAsErrorTextNamingTheProblem) {
  struct Case {
    const char* what;
    std::string xml;
    std::string xsd;
    const char* type;
    std::vector<std::string> expected;
  };
  std::string brokenXsd = dir.write("Broken.xsd", "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">");
  const std::string good = "<Root VelmoraNameSpace=\"Sample\"><Sample><Number>1</Number></Sample></Root>";
  const std::vector<Case> cases = {
      {"missing XSD", good, dir.file("Nowhere.xsd"), "Sample", {"Nowhere.xsd", "does not exist"}},
      {"XSD that is no XML", good, brokenXsd, "Sample", {"Broken.xsd", "no valid XML schema"}},
      {"type the XSD lacks", good, sampleXsd, "Customer", {"declares no element Customer"}},
      {"text that is no XML", "not a document", sampleXsd, "Sample", {"not well-formed", "line 1"}},
      {"empty text", "", sampleXsd, "Sample", {"not well-formed"}},
      {"truncated document",
       "<Root VelmoraNameSpace=\"Sample\">\n<Sample><Number>1</Number>", sampleXsd, "Sample",
       {"not well-formed", "line 2"}},
      {"unknown element",
       "<Root VelmoraNameSpace=\"Sample\"><Sample><Number>1</Number><Colour>red</Colour></Sample></Root>",
       sampleXsd, "Sample", {"XML文本不符合架构 Sample.xsd: ", "Colour"}},
      {"value of the wrong type",
       "<Root VelmoraNameSpace=\"Sample\"><Sample><Number>1</Number><Level>high</Level></Sample></Root>",
       sampleXsd, "Sample", {"XML文本不符合架构 Sample.xsd: ", "'high'"}},
      {"root attribute missing", "<Root><Sample><Number>1</Number></Sample></Root>", sampleXsd, "Sample",
       {"VelmoraNameSpace"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    VectorPtr back = read(c.xml, c.xsd, c.type, error);
    EXPECT_EQ(back->Count(), 0);
    for (const std::string& part : c.expected) EXPECT_NE(error.find(part), std::string::npos) << error;
  }
}

TEST_F(XmlTrzTest, DataNoDocumentCanCarryComesBackAsErrorText) {
  auto self = record({{"Number", "1"}});
  self->SetObject("Parent", self);
  struct Case {
    const char* what;
    VectorPtr vect;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"no vector", nullptr, {"no data vector"}},
      {"key that is no element name", vector({Variant(record({{"Number", "1"}, {"Bad Key", "x"}}))}),
       {"record 1, key Bad Key", "no valid XML element name"}},
      {"control character", vector({Variant(record({{"Number", "a\x01"}}))}), {"key Number", "U+0001"}},
      {"invalid UTF-8", vector({Variant(record({{"Number", "\xff"}}))}), {"key Number", "no valid UTF-8"}},
      {"foreign object", vector({Variant(record({{"Number", Variant(std::make_shared<TrzRegistry>())}}))}),
       {"key Number", "class TrzRegistry"}},
      {"vector in a vector", vector({Variant(record({{"Tag", Variant(vector({Variant(vector({"x"}))}))}}))}),
       {"key Tag", "a vector inside a vector"}},
      {"record that contains itself", vector({Variant(self)}), {"key Parent/Parent", "64 levels"}},
      {"record the schema refuses", vector({Variant(record({{"Name", "no number"}}))}),
       {"数据不符合架构 Sample.xsd: ", "/Root/Sample"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    std::string xml = write(c.vect, sampleXsd, "Sample", error);
    EXPECT_EQ(xml, "");
    for (const std::string& part : c.expected) EXPECT_NE(error.find(part), std::string::npos) << error;
  }
  self->SetObject("Parent", nullptr);  // break the cycle
}

TEST_F(XmlTrzTest, ASchemaRefusalSpeaksTheUsersLanguageAndNamesTheSchemaWithoutItsFolder) {
  struct Case {
    const char* language;
    const char* read;   // the start of a refused document's error
    const char* write;  // the start of refused records' error
  };
  const Case cases[] = {{"chs", "XML文本不符合架构 Sample.xsd: ", "数据不符合架构 Sample.xsd: "},
                        {"en", "The XML text does not match the schema Sample.xsd: ",
                         "The data does not match the schema Sample.xsd: "},
                        {"cht", "XML文本不符合架構 Sample.xsd: ", "資料不符合架構 Sample.xsd: "}};
  for (const Case& c : cases) {
    testing::ScopedEnv language("QUILLANE_LANGUAGE", c.language);
    std::string error;
    read("<Root VelmoraNameSpace=\"Sample\"><Sample><Colour>red</Colour></Sample></Root>", sampleXsd, "Sample", error);
    EXPECT_TRUE(error.starts_with(c.read)) << error;
    write(vector({Variant(record({{"Name", "no number"}}))}), sampleXsd, "Sample", error);
    EXPECT_TRUE(error.starts_with(c.write)) << error;
    EXPECT_EQ(error.find(dir.path().string()), std::string::npos) << error;
  }
}

TEST_F(XmlTrzTest, ComponentsWorkLateBoundWithTheirArgumentsWrittenBack) {
  ObjectRef writer = CreateObject("XMLTRZ2.Write");
  std::vector<Variant> out{Variant(vector({Variant(record({{"Number", "7"}}))})), "", sampleXsd, "Sample", "stale"};
  EXPECT_EQ(writer->Call("OutputXMLString", out), Variant(true));
  EXPECT_EQ(out[4], Variant(""));

  ObjectRef reader = CreateObject("XMLTRZ2.Read");
  std::vector<Variant> in{Variant(), out[1], sampleXsd, "Sample", ""};
  EXPECT_EQ(reader->Call("InputXMLString", in), Variant(true));
  EXPECT_EQ(describe(in[0]), "[{Number=String:7}]");
}

TEST(RecordValuesTest, TextsBecomeValuesByTheirSimpleType) {
  using xml_detail::ValueKind;
  using xml_detail::ValueOfText;
  struct Case {
    const char* text;
    ValueKind kind;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {" 42 ", ValueKind::Text, "String: 42 "},
      {" 42\n", ValueKind::WholeNumber, "Long:42"},
      {"+7", ValueKind::WholeNumber, "Long:7"},
      {"9999999999", ValueKind::WholeNumber, "String:9999999999"},  // beyond a Long: kept as written
      {"-1.5E2", ValueKind::Number, "Double:-150"},
      {"123456789012345678.5", ValueKind::Number, "String:123456789012345678.5"},  // beyond a Double's digits
      {"0.12345678901234567", ValueKind::Number, "String:0.12345678901234567"},
      {"1", ValueKind::Boolean, "Boolean:True"},
      {"false", ValueKind::Boolean, "Boolean:False"},
      {"2024-02-29", ValueKind::Date, "Date:2024-02-29"},
      {"2024-02-29T08:00:00", ValueKind::Date, "Date:2024-02-29 08:00:00"},
      {"2024-02-29T08:00:00Z", ValueKind::Date, "String:2024-02-29T08:00:00Z"},
  };
  for (const Case& c : cases) EXPECT_EQ(describe(ValueOfText(c.text, c.kind)), c.expected) << c.text;
}

TEST(RecordValuesTest, ValuesBecomeTextsAsTheSchemaWants) {
  using xml_detail::TextOfValue;
  using xml_detail::ValueKind;
  EXPECT_EQ(TextOfValue(Variant(true), ValueKind::Boolean), "true");
  EXPECT_EQ(TextOfValue(Variant(true), ValueKind::Text), "True");
  EXPECT_EQ(TextOfValue(Variant(MakeDate(2024, 3, 1)), ValueKind::Date), "2024-03-01");
  EXPECT_EQ(TextOfValue(Variant(), ValueKind::Text), "");
  EXPECT_EQ(TextOfValue(Variant(std::int16_t{-1}), ValueKind::WholeNumber), "-1");
  EXPECT_EQ(TextOfValue(Variant(std::nan("")), ValueKind::Number), "NaN");
  EXPECT_EQ(TextOfValue(Variant(-HUGE_VAL), ValueKind::Number), "-INF");
}

// A float keeps CStr's text while 15 digits hold it, and gets the shortest text that reads back as the
// same Double when another program wrote it with 16 or 17.
TEST(RecordValuesTest, AFloatIsWrittenWithEveryDigitItNeedsToReadBackTheSame) {
  using xml_detail::TextOfValue;
  using xml_detail::ValueKind;
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.1, "0.1"},
      {20.5, "20.5"},
      {-0.0, "0"},
      {1e20, "1E+20"},
      {1.5e-5, "1.5E-05"},
      {123456789012345.0, "123456789012345"},
      {123456789012345.125, "123456789012345.12"},
      {0.30000000000000004, "0.30000000000000004"},
      {1.0000000000000002, "1.0000000000000002"},
      {9007199254740993.0, "9007199254740992"},  // 2^53 + 1 is no Double: its neighbour, whole
      {-1234567890123456.8, "-1234567890123456.8"},
      {1.7976931348623157e308, "1.7976931348623157e+308"},
      {4.9406564584124654e-324, "4.94065645841247E-324"},  // few digits of its own: CStr's reads back
  };
  for (const auto& c : cases) {
    const std::string text = TextOfValue(Variant(c.value), ValueKind::Number);
    EXPECT_EQ(text, c.text);
    // Read back as a Double, or, past 15 digits, as the text a statement converts for its column.
    EXPECT_EQ(CDbl(xml_detail::ValueOfText(text, ValueKind::Number)), c.value) << text;
  }
}

}  // namespace
}  // namespace quillane
