#include "exchange/modFunction_xml.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/automation/automation.h"
#include "platform/registry/registry.h"
#include "platform/xml/TrzRecord.h"
#include "support/automation_test.h"
#include "support/environment.h"

namespace quillane::modFunction {
namespace {

using quillane::testing::ErrorOf;
using quillane::testing::ScopedEnv;
using quillane::testing::TempDir;

// Module state lives once per apartment; a new thread is a new apartment with an empty schema folder.
template <class F>
void inNewApartment(F&& f) {
  std::thread(std::forward<F>(f)).join();
}

class ModFunctionXmlTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedEnv registryFile{"QUILLANE_REGISTRY", dir.file("registry.ini")};
};

TEST_F(ModFunctionXmlTest, SchemaFolderIsReadOncePerApartment) {
  struct Case {
    std::optional<std::string> registered;
    std::string folder;
  };
  const std::vector<Case> cases = {
      {"/opt/velmora", "/opt/velmora/SCHEMA/"},
      {"/opt/velmora/", "/opt/velmora/SCHEMA/"},
      {"", "SCHEMA/"},
      {std::nullopt, "SCHEMA/"},
  };
  for (const Case& c : cases) {
    registry::DeleteKey(kSchemaPathKey);
    if (c.registered) registry::WriteValue(kSchemaPathKey, kSchemaPathValue, *c.registered);
    std::string before, first, second;
    inNewApartment([&] {
      before = SchemaFolder();
      InitSchemaFolder();
      first = SchemaFolder();
      registry::WriteValue(kSchemaPathKey, kSchemaPathValue, "/changed");
      InitSchemaFolder();
      second = SchemaFolder();
    });
    EXPECT_EQ(before, "");
    EXPECT_EQ(first, c.folder) << c.registered.value_or("(none)");
    EXPECT_EQ(second, c.folder);  // filled once, never changed afterwards
  }
}

TEST_F(ModFunctionXmlTest, SchemaFilesAreFoundWhereGivenThenBesideTheLibrary) {
  std::string own = dir.write("Customer.xsd", "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\"/>");
  EXPECT_EQ(ResolveSchemaFile(own), own);
  EXPECT_EQ(ResolveSchemaFile("SCHEMA/Delete.xsd"), DataFolder() + "/Schema/Delete.xsd");
  EXPECT_EQ(ResolveSchemaFile("C:\\Velmora\\SCHEMA\\Delete.xsd"), DataFolder() + "/Schema/Delete.xsd");
  // The last choice is taken without a test.
  EXPECT_EQ(ResolveSchemaFile(dir.file("Nowhere.xsd")), DataFolder() + "/Nowhere.xsd");
}

TEST_F(ModFunctionXmlTest, DeletionKeysRoundTripThroughTheShippedSchema) {
  auto vect = std::make_shared<TrzRecords>();
  for (const char* uuid : {"{0001}", "{0002}"}) {
    auto key = std::make_shared<TrzRecord>();
    key->SetValue("Remark", "核算项目--客户");
    key->SetValue("UUID", uuid);
    vect->Add(Variant(key));
  }
  std::string xml = "stale", error = "stale";
  ASSERT_TRUE(WriteVectorToXML(vect, xml, "SCHEMA/Delete.xsd", "Delete", error)) << error;
  EXPECT_EQ(error, "");
  EXPECT_EQ(xml,
            "<?xml version=\"1.0\"?><Root VelmoraNameSpace=\"Delete\"><Delete><Remark>核算项目--客户</Remark>"
            "<UUID>{0001}</UUID></Delete><Delete><Remark>核算项目--客户</Remark><UUID>{0002}</UUID></Delete></Root>");

  std::shared_ptr<TrzRecords> back;
  error = "stale";
  ASSERT_TRUE(ReadXMLToVector(back, xml, "SCHEMA/Delete.xsd", "Delete", error)) << error;
  ASSERT_EQ(back->Count(), 2);
  EXPECT_EQ(back->RecordAt(1)->Item("UUID"), Variant("{0002}"));
  EXPECT_FALSE(back->RecordAt(1)->Exists("Mark"));
}

TEST_F(ModFunctionXmlTest, InvalidDocumentsGiveFalseWithTheComponentsText) {
  std::shared_ptr<TrzRecords> vect;
  std::string error;
  EXPECT_FALSE(ReadXMLToVector(vect, "<Root VelmoraNameSpace=\"Delete\"><Delete><Colour/></Delete></Root>",
                               "SCHEMA/Delete.xsd", "Delete", error));
  EXPECT_NE(error.find("Colour"), std::string::npos) << error;
  EXPECT_EQ(vect->Count(), 0);

  std::string xml;
  auto notARecord = std::make_shared<TrzRecords>();
  notARecord->Add(Variant(std::make_shared<TrzRecords>()));
  EXPECT_FALSE(WriteVectorToXML(notARecord, xml, "SCHEMA/Delete.xsd", "Delete", error));
  EXPECT_EQ(xml, "");
  EXPECT_NE(error, "");
}

// A stand-in component that records what the bridge hands it and answers with a fixed error text.
class RecordingComponent : public AutomationObject {
 public:
  std::vector<Variant> received;
  const DispatchTable& dispatchTable() const override {
    static const DispatchTable table =
        DispatchBuilder<RecordingComponent>()
            .raw("InputXMLString", 1, InvokeKind::Method,
                 [](RecordingComponent& c, Arguments a) {
                   c.received.assign(a.begin(), a.end());
                   a[0] = Variant(std::make_shared<TrzRecords>());
                   a[4] = Variant("component's own text");
                   return Variant();
                 })
            .build();
    return table;
  }
};

TEST_F(ModFunctionXmlTest, TheComponentsTextPassesThroughUnchanged) {
  auto component = std::make_shared<RecordingComponent>();
  ClassOverride replaced("XMLTRZ2.Read", [&] { return component; });
  std::shared_ptr<TrzRecords> vect;
  std::string error;
  EXPECT_FALSE(ReadXMLToVector(vect, "<Root/>", "SCHEMA/Delete.xsd", "Delete", error));
  EXPECT_EQ(error, "component's own text");
  ASSERT_EQ(component->received.size(), 5u);
  EXPECT_EQ(component->received[2], Variant(DataFolder() + "/Schema/Delete.xsd"));
  EXPECT_EQ(component->received[3], Variant("Delete"));
  EXPECT_NE(vect, nullptr);
}

TEST_F(ModFunctionXmlTest, AComponentThatCannotBeCreatedRaisesWithItsProgID) {
  ClassOverride missing("XMLTRZ2.Write", [] { return ObjectRef(); });
  std::string xml, error;
  AutomationError e = ErrorOf([&] { WriteVectorToXML(std::make_shared<TrzRecords>(), xml, "x.xsd", "Delete", error); });
  EXPECT_EQ(e.number, 429);
  EXPECT_EQ(e.description, "ActiveX component can't create object -- XMLTRZ2.Write");
}

}  // namespace
}  // namespace quillane::modFunction
