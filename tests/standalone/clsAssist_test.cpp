// Auxiliary data in both kinds of account set: how an imported entry meets the target's types and
// entries, the records that fail, the keys an entry exports, and the tables each call chooses.
#include <gtest/gtest.h>

#include <functional>

#include "platform/automation/yield.h"
#include "standalone_fixture.h"

namespace quillane::testing {
namespace {

// One kind of account set: how its props string names it, and its tables as the tests fill and read
// them. "entries" lists every entry as id,number,name,type name,type UUID,entry UUID.
struct Kind {
  const char* name;
  const char* acctType;
  const char* addTypes;    // values (id, name, UUID)
  const char* addEntries;  // values (id, type, number, name, UUID)
  const char* entries;
};
const Kind kIndustrial{
    "industrial", "GY", "INSERT INTO t_SubMesType (FTypeID, FName, UUID) VALUES ",
    "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName, UUID) VALUES ",
    "SELECT m.FInterID, m.FID, m.FName, t.FName, t.UUID, m.UUID FROM t_SubMessage m LEFT JOIN t_SubMesType t ON "
    "t.FTypeID = m.FTypeID AND m.FParentID = m.FTypeID ORDER BY m.FInterID"};
const Kind kCommercial{
    "commercial", "SY", "INSERT INTO com_SysTypeClass (FTypeClassID, FTypeClassName, UUID) VALUES ",
    "INSERT INTO com_SysType (FSysTypeID, FClassID, FNumber, FName, UUID) VALUES ",
    "SELECT s.FSysTypeID, s.FNumber, s.FName, c.FTypeClassName, c.UUID, s.UUID FROM com_SysType s LEFT JOIN "
    "com_SysTypeClass c ON c.FTypeClassID = s.FClassID ORDER BY s.FSysTypeID"};

std::string entry(const std::string& number, const std::string& name, const std::string& extra = "") {
  return element("Name", name) + element("Number", number) + extra;
}
std::string assistType(const std::string& name, const std::string& uuid) {
  return "<AssistType>" + element("Name", name) + element("UUID", uuid) + "</AssistType>";
}

class AssistTest : public StandaloneTest {
 protected:
  static std::string propsOf(const std::string& path, const Kind& kind) {
    return props(path, std::string("UserID=16;AcctType=") + kind.acctType);
  }
  // Types 纳税人类别 and 区域; under them 一般纳税人 and 华东, and an entry 09 of type 99. Industrial: 99 is
  // no known type (an orphan); commercial: class 2, and predefined.
  static void fill(const std::string& path, const Kind& kind) {
    exec(path, std::string(kind.addTypes) + "(1, '纳税人类别', 'T1'), (2, '区域', 'T2')");
    exec(path, std::string(kind.addEntries) + "(10, 1, '01', '一般纳税人', 'E1'), (11, 2, '01', '华东', 'E2')");
    if (&kind == &kIndustrial) {
      exec(path, std::string(kind.addEntries) + "(12, 99, '09', '孤儿', 'E3')");
      exec(path, "UPDATE t_SubMessage SET FParentID = FTypeID");
    } else {
      exec(path, std::string(kind.addEntries) + "(12, 2, '09', '预设', 'E3')");
      exec(path, "UPDATE com_SysType SET FPreDefined = 1 WHERE FSysTypeID = 12");
    }
  }
};

struct AssistCase {
  const char* what;
  std::string record;
  std::function<void(ObjectRef&)> options;
  const char* industrial;  // the last rows of the entries afterwards (from id 11 on)
  const char* commercial;
  bool industrialFails = false;  // the industrial import fails the record (and writes nothing)
};
void PrintTo(const AssistCase& c, std::ostream* os) { *os << c.what; }

auto byUUID = [](ObjectRef& o) { o->Let("CheckByUUID", true); };
const char* kIndustrialAsBefore = "11,01,华东,区域,T2,E2;12,09,孤儿,NULL,NULL,E3";
const char* kCommercialAsBefore = "11,01,华东,区域,T2,E2;12,09,预设,区域,T2,E3";

const AssistCase kAssistCases[] = {
    {"a new entry under a new type: the type is made with its UUID",
     entry("01", "散户", assistType("客户类别", "T9") + element("UUID", "E9")), {},
     "11,01,华东,区域,T2,E2;12,09,孤儿,NULL,NULL,E3;13,01,散户,客户类别,T9,E9",
     "11,01,华东,区域,T2,E2;12,09,预设,区域,T2,E3;13,01,散户,客户类别,T9,E9"},
    {"the type and number find the entry, which takes the record's name",
     entry("01", "华东区", assistType("区域", "T2") + element("UUID", "E2")), {}, "11,01,华东区,区域,T2,E2;12,09,孤儿,NULL,NULL,E3",
     "11,01,华东区,区域,T2,E2;12,09,预设,区域,T2,E3"},
    {"with CheckByUUID a type found by its UUID is that type, whatever its name here",
     entry("02", "华北", assistType("地区", "T2") + element("UUID", "E8")), byUUID,
     "11,01,华东,区域,T2,E2;12,09,孤儿,NULL,NULL,E3;13,02,华北,区域,T2,E8",
     "11,01,华东,区域,T2,E2;12,09,预设,区域,T2,E3;13,02,华北,区域,T2,E8"},
    {"with CheckByUUID the entry's UUID finds it under any number",
     entry("07", "华东片", assistType("区域", "T2") + element("UUID", " E2 ")), byUUID,
     "11,07,华东片,区域,T2, E2 ;12,09,孤儿,NULL,NULL,E3", "11,07,华东片,区域,T2, E2 ;12,09,预设,区域,T2,E3"},
    {"AddNewOnly leaves a found entry as it was", entry("01", "华东区", assistType("区域", "T2")),
     [](ObjectRef& o) { o->Let("AddNewOnly", true); }, kIndustrialAsBefore, kCommercialAsBefore},
    // Stored under no type, an industrial entry would be out of every later export.
    {"an industrial entry without a type fails; a commercial one stands under none", entry("05", "无类", element("UUID", "E5")),
     {}, kIndustrialAsBefore, "11,01,华东,区域,T2,E2;12,09,预设,区域,T2,E3;13,05,无类,NULL,NULL,E5", true},
    {"an industrial entry of no known type, and a commercial predefined one, are left as they are",
     entry("09", "孤儿", assistType("区域", "T2")), {}, kIndustrialAsBefore, kCommercialAsBefore},
};

class AssistImport : public AssistTest, public ::testing::WithParamInterface<AssistCase> {};

TEST_P(AssistImport, Branches) {
  const AssistCase& c = GetParam();
  for (const Kind* kind : {&kIndustrial, &kCommercial}) {
    SCOPED_TRACE(kind->name);
    std::string target = newAccountSet(std::string(kind->name) + ".db");
    fill(target, *kind);
    ObjectRef assist = CreateObject("Quillane.clsAssist");
    if (c.options) c.options(assist);
    ImportResult result = ImportXml(assist, propsOf(target, *kind), document("Assist", {c.record}));
    const bool fails = c.industrialFails && kind == &kIndustrial;
    EXPECT_EQ(result.ok, !fails) << result.error;
    if (fails) {
      EXPECT_NE(result.error.find("记录缺少必需的键:AssistType"), std::string::npos) << result.error;
    }
    const std::string all = rows(target, kind->entries);
    EXPECT_EQ(all.substr(all.find(";") + 1), kind == &kIndustrial ? c.industrial : c.commercial);
  }
}

INSTANTIATE_TEST_SUITE_P(Records, AssistImport, ::testing::ValuesIn(kAssistCases));

TEST_F(AssistTest, IntoEmptyTablesTheFirstTypeAndEntryGetId1AndNoYieldFollowsARecord) {
  for (const Kind* kind : {&kIndustrial, &kCommercial}) {
    SCOPED_TRACE(kind->name);
    std::string target = newAccountSet(std::string(kind->name) + ".db");
    int yields = 0;
    auto previous = SetYieldHook([&] { ++yields; });
    ImportResult result = ImportXml(CreateObject("Quillane.clsAssist"), propsOf(target, *kind),
                                    document("Assist", {entry("01", "甲", assistType("类", "T1") + element("UUID", "E1")),
                                                        entry("02", "乙", assistType("类", "T1") + element("UUID", "E2"))}),
                                    Variant(std::int16_t{2}));
    SetYieldHook(previous);
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(yields, 0);
    EXPECT_EQ(rows(target, kind->entries), "1,01,甲,类,T1,E1;2,02,乙,类,T1,E2");
  }
  EXPECT_EQ(rows(dir_.file("industrial.db"), "SELECT FSystemType, FParentID FROM t_SubMessage"), "2,1;2,1");
  EXPECT_EQ(rows(dir_.file("commercial.db"), "SELECT FSystemType, FPreDefined FROM com_SysType"), "2,False;2,False");
}

TEST_F(AssistTest, AnEntryWhoseUpdateFailsFailsItsRecord) {
  for (const Kind* kind : {&kIndustrial, &kCommercial}) {
    SCOPED_TRACE(kind->name);
    std::string target = newAccountSet(std::string(kind->name) + ".db");
    fill(target, *kind);
    refuseUpdateTo(target, kind == &kIndustrial ? "t_SubMessage" : "com_SysType", "拒绝");
    ObjectRef assist = CreateObject("Quillane.clsAssist");
    ImportResult result = ImportXml(assist, propsOf(target, *kind),
                                    document("Assist", {entry("01", "拒绝", assistType("纳税人类别", "T1") + element("UUID", "E1")),
                                                        entry("02", "小规模", assistType("纳税人类别", "T1"))}));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(CLng(assist->Get("ErrorCount")), 1);
    EXPECT_TRUE(holds(result.error, "导入辅助资料记录(Number:01,Name:拒绝,UUID:E1)失败!")) << result.error;
    EXPECT_TRUE(holds(rows(target, kind->entries), "10,01,一般纳税人,纳税人类别,T1,E1;")) << rows(target, kind->entries);
    EXPECT_TRUE(holds(rows(target, kind->entries), ",02,小规模,纳税人类别,T1,")) << rows(target, kind->entries);
  }
}

TEST_F(AssistTest, EachCallExportsTheTablesOfItsKindOfAccountSet) {
  std::string source = newAccountSet();
  for (const Kind* kind : {&kIndustrial, &kCommercial}) {
    exec(source, std::string(kind->addTypes) + "(1, '纳税人类别', 'T1'), (2, '无码类', '')");
    // In stamp order: two entries of one type, one whose type is Null right after them, one of a type
    // without UUID, and one that is not exchanged.
    exec(source, std::string(kind->addEntries) + "(10, 1, '01', '" + kind->name + "甲', 'E1'), (11, 1, '02', '乙', 'E2'), "
                     "(12, NULL, '03', '丙', 'E3'), (13, 2, '04', '丁', 'E4'), (14, 1, '05', '戊', 'E5')");
  }
  exec(source, "UPDATE t_SubMessage SET FParentID = IsNull(FTypeID, 1) WHERE FInterID < 14");
  exec(source, "UPDATE com_SysType SET FPreDefined = 1 WHERE FSysTypeID = 14");
  const std::string type = "<AssistType><Name>纳税人类别</Name><UUID>T1</UUID></AssistType>";
  ObjectRef assist = CreateObject("Quillane.clsAssist");
  int call = 0;
  for (const Kind* kind : {&kIndustrial, &kCommercial, &kIndustrial}) {
    SCOPED_TRACE(kind->name);
    ++call;
    int yields = 0;
    auto previous = SetYieldHook([&] { ++yields; });
    ExportedPage page = ExportPage(assist, propsOf(source, *kind));
    SetYieldHook(previous);
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_TRUE(holds(page.xml, "<Assist><Name>" + std::string(kind->name) + "甲</Name><Number>01</Number>" + type +
                                    "<UUID>E1</UUID></Assist><Assist><Name>乙</Name><Number>02</Number>" + type +
                                    "<UUID>E2</UUID></Assist><Assist><Name>丙</Name><Number>03</Number><UUID>E3</UUID>"
                                    "</Assist><Assist><Name>丁</Name><Number>04</Number><AssistType><Name>无码类</Name><UUID/>"
                                    "</AssistType><UUID>E4</UUID></Assist></Root>"))
        << page.xml;
    EXPECT_EQ(yields, 4) << "one yield after each exported row";
    // The entry of the type without a UUID arrives under that type, found or made by its name.
    std::string target = newAccountSet("target" + std::to_string(call) + ".db");
    ObjectRef into = CreateObject("Quillane.clsAssist");
    ImportResult imported = ImportXml(into, propsOf(target, *kind), page.xml);
    // Only the entry without any type fails, and only where an entry must have one.
    EXPECT_EQ(imported.ok, kind != &kIndustrial) << imported.error;
    EXPECT_EQ(holds(imported.error, "(Number:03,"), kind == &kIndustrial) << imported.error;
    EXPECT_FALSE(holds(imported.error, "(Number:04,")) << imported.error;
    EXPECT_TRUE(holds(rows(target, kind->entries), ",04,丁,无码类,,E4")) << rows(target, kind->entries);
  }
}

}  // namespace
}  // namespace quillane::testing
