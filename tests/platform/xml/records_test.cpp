#include <gtest/gtest.h>

#include "platform/automation/automation.h"
#include "platform/registry/registry.h"
#include "platform/xml/TrzGlobal.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "support/automation_test.h"
#include "support/environment.h"

namespace quillane {
namespace {

using testing::CallByName;
using testing::ErrorOf;

TEST(TrzRecordTest, KeysKeepTheirFirstSpellingAndPositionAndIgnoreCase) {
  TrzRecord r;
  r.SetValue("Name", "a");
  r.SetValue("Number", "01");
  r.SetValue("FId", std::int32_t{7});
  r.SetValue("NAME", "b");  // replaces in place, keeps "Name" first

  ASSERT_EQ(r.Count(), 3);
  EXPECT_EQ(r.Key(1), "Name");
  EXPECT_EQ(r.Key(2), "Number");
  EXPECT_EQ(r.Key(3), "FId");
  EXPECT_EQ(r.Item("name"), Variant("b"));
  EXPECT_EQ(r.Item("FID"), Variant(std::int32_t{7}));
  EXPECT_TRUE(r.Exists("fid"));
  EXPECT_FALSE(r.Exists("UUID"));
}

TEST(TrzRecordTest, GetValueGivesTheDefaultOnlyForAMissingKey) {
  TrzRecord r;
  r.SetValue("Remark", Variant::null());
  EXPECT_EQ(r.GetValue("UUID", ""), Variant(""));
  EXPECT_TRUE(r.GetValue("Remark", "x").isNull());
}

TEST(TrzRecordTest, MissingKeyAndBadPositionRaiseErrorsNamingThem) {
  TrzRecord r;
  r.SetValue("Name", "a");
  AutomationError missing = ErrorOf([&] { r.Item("Number"); });
  EXPECT_EQ(missing.number, 5);
  EXPECT_NE(missing.description.find("Number"), std::string::npos);
  EXPECT_EQ(ErrorOf([&] { r.Key(0); }).number, 9);
  EXPECT_EQ(ErrorOf([&] { r.Key(2); }).number, 9);
}

TEST(TrzRecordTest, NestedRecordsAndVectorsAreToldApartFromValues) {
  auto parent = std::make_shared<TrzRecord>();
  auto codes = std::make_shared<TrzRecords>();
  TrzRecord r;
  r.SetObject("Parent", parent);
  r.SetObject("BarCodes", codes);
  r.SetValue("Name", "a");

  EXPECT_EQ(r.GetRecord("parent"), parent);
  EXPECT_EQ(r.GetVector("barcodes"), codes);
  EXPECT_EQ(r.GetRecord("Name"), nullptr);
  EXPECT_EQ(r.GetRecord("BarCodes"), nullptr);
  EXPECT_EQ(r.GetVector("Missing"), nullptr);
}

TEST(TrzRecordsTest, KeepsEntriesInOrderWithOneBasedPositions) {
  TrzRecords v;
  auto first = std::make_shared<TrzRecord>();
  v.Add(Variant(first));
  v.Add("an error text");
  ASSERT_EQ(v.Count(), 2);
  EXPECT_EQ(v.RecordAt(0), first);
  EXPECT_EQ(v.RecordAt(1), nullptr);
  EXPECT_EQ(v.Item(2), Variant("an error text"));
  EXPECT_EQ(ErrorOf([&] { v.Item(3); }).number, 9);
}

TEST(TrzRecordTest, LateBoundMembersReachTheSameRecord) {
  auto r = std::make_shared<TrzRecord>();
  ObjectRef o = r;
  CallByName(o, "SetValue", {"Number", "01"});
  CallByName(o, "SetObject", {"Parent", Variant(std::make_shared<TrzRecord>())});
  EXPECT_EQ(CallByName(o, "Exists", {"NUMBER"}), Variant(true));
  EXPECT_EQ(CallByName(o, "GetValue", {"UUID", "none"}), Variant("none"));
  EXPECT_EQ(o->Get("Count"), Variant(std::int32_t{2}));
  std::vector<Variant> key{std::int32_t{1}};
  EXPECT_EQ(o->Invoke("Key", InvokeKind::Get, key), Variant("Number"));
  std::vector<Variant> item{"number"};
  EXPECT_EQ(o->Invoke("Item", InvokeKind::Get, item), Variant("01"));
  EXPECT_EQ(ErrorOf([&] { CallByName(o, "SetObject", {"Parent", "text"}); }).number, 13);
  EXPECT_EQ(ErrorOf([&] { CallByName(o, "GetValue", {"UUID"}); }).number, 449);
}

TEST(TrzGlobalTest, NullBecomesTheDefaultAndEverythingElseStays) {
  EXPECT_EQ(TrzGlobal::NullToDefault(Variant::null(), ""), Variant(""));
  EXPECT_EQ(TrzGlobal::NullToDefault(Variant(std::int32_t{0}), ""), Variant(std::int32_t{0}));
  EXPECT_TRUE(TrzGlobal::NullToDefault(Variant(), "x").isEmpty());
}

TEST(TrzGlobalTest, RegistryReaderGivesValuesDefaultsAndKeyTests) {
  testing::TempDir dir;
  testing::ScopedEnv registryFile("QUILLANE_REGISTRY", dir.file("registry.ini"));
  registry::WriteValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE", "path", "/opt/velmora");

  auto global = std::make_shared<TrzGlobal>();
  auto reader = global->Registry();
  EXPECT_EQ(reader, global->Registry());
  EXPECT_EQ(reader->ReadValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\Velmora\\ZIVOVIZIRADE", "Path", ""),
            Variant("/opt/velmora"));
  EXPECT_EQ(reader->ReadValue("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE", "other", std::int32_t{3}),
            Variant(std::int32_t{3}));
  EXPECT_TRUE(reader->KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA"));
  EXPECT_FALSE(reader->KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE\\ConFlict"));

  // The same through late binding, as a component would call it.
  ObjectRef late = global->Get("TrzRegistry").object();
  EXPECT_EQ(CallByName(late, "ReadValue", {"HKEY_LOCAL_MACHINE\\SOFTWARE\\VELMORA\\ZIVOVIZIRADE", "path", ""}),
            Variant("/opt/velmora"));
  EXPECT_EQ(CallByName(late, "KeyExists", {"HKEY_LOCAL_MACHINE\\SOFTWARE"}), Variant(true));
}

}  // namespace
}  // namespace quillane
