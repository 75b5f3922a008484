// The own fields of employees, fees, warehouses, branches, suppliers and work centres where they are
// more than a column carried as it is: service-pack gates, texts that stand for no date, flags, values
// written whatever the document holds or when it lacks an element, and records that fail.
#include <gtest/gtest.h>

#include "item_type_fixture.h"

namespace quillane::testing {
namespace {

bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct ItemType {
  const char* progID;
  std::int32_t itemClassID;
  const char* table;   // the detail table
  const char* record;  // the record element
};
constexpr ItemType kEmployeeType{"Quillane.clsEmployee", 3, "t_Emp", "Employee"};
constexpr ItemType kStockType{"Quillane.clsStock", 5, "t_Stock", "Stock"};
constexpr ItemType kSupplierType{"Quillane.clsSupplier", 8, "t_Supplier", "Supplier"};
constexpr ItemType kSubCompanyType{"Quillane.clsSubCompany", 10, "t_SonCompany", "SubCompany"};
constexpr ItemType kWorkCenterType{"Quillane.clsWorkCenter", 14, "t_WorkCenter", "WorkCenter"};
constexpr ItemType kFeeType{"Quillane.clsFee", 2014, "t_Fee", "Fee"};

class ItemTypeFields : public ItemTypeTest {
 protected:
  // A new account set at the service pack, with the records that the cases link to.
  std::string accountSet(const std::string& name, const char* servicePack = "3.0.0.0") {
    std::string path = newAccountSet(name);
    exec(path, std::string("UPDATE t_SystemProfile SET FValue = '") + servicePack + "' WHERE FKey = 'ServicePack'");
    exec(path, "INSERT INTO t_JobType (FInterID, FName) VALUES (1, '装配'), (2, '焊接')");
    exec(path, "INSERT INTO t_Account (FAccountID, FNumber, FName, UUID) VALUES (1, '2221', '应交税费', 'A1'), "
               "(2, '2241', '其他应付款', 'A2')");
    exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, UUID) VALUES (900, 8, 'P1', '甲供应商', "
               "'U-P1'), (901, 8, 'P2', '乙供应商', 'U-P2'), (910, 1, 'C1', '甲客户', 'U-C1'), (911, 1, 'C2', "
               "'乙客户', 'U-C2')");
    return path;
  }
  // A detail item of the type, numbered "01" and named "甲", with the given own columns.
  static void addItem(const std::string& path, const ItemType& type, const std::string& columns = "",
                      const std::string& values = "") {
    exec(path, "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FFullNumber, FDetail, UUID) VALUES (10, " +
                   std::to_string(type.itemClassID) + ", '01', '甲', '01', 1, 'U-01')");
    exec(path, std::string("INSERT INTO ") + type.table + " (FItemID, FNumber, FName" + columns + ") VALUES (10, '01', '甲'" +
                   values + ")");
  }
  static std::string column(const std::string& path, const ItemType& type, const std::string& name) {
    return rows(path, "SELECT " + name + " FROM " + type.table + " WHERE FItemID = 10");
  }

  static Page exportOf(const ItemType& type, const std::string& path) {
    return exportPage(CreateObject(type.progID), props(path));
  }
  struct Outcome {
    bool ok;
    std::string error;
    std::int32_t errorCount;
  };
  static Outcome importOf(const ItemType& type, const std::string& path, const std::vector<std::string>& records) {
    ObjectRef object = CreateObject(type.progID);
    Imported imported = importXml(object, props(path), document(type.record, records));
    return Outcome{imported.ok, imported.error, CLng(object->Get("ErrorCount"))};
  }
  // Imports the record "01" 甲 with the given own elements.
  static Outcome importRecord(const std::string& path, const ItemType& type, const std::string& elements) {
    return importOf(type, path, {keys("01", "甲") + elements});
  }
};

// A field or group exchanged only from a service pack on: at the version below it neither leaves nor
// changes its column; at the version itself it does both.
struct GateCase {
  const ItemType* type;
  const char* below;
  const char* at;
  const char* column;
  const char* stored;    // the column's value in the row, as SQL
  const char* exported;  // what the export writes for it
  const char* imported;  // the element of the record imported over the row
  const char* written;   // the column after that import, when the gate holds
};

const GateCase kGates[] = {
    {&kEmployeeType, "2.0.0.5", "2.0.0.6", "FAllotPercent", "12.5", "<AllotPercent>12.5</AllotPercent>",
     "<AllotPercent>40</AllotPercent>", "40"},
    {&kEmployeeType, "2.0.0.5", "2.0.0.6", "FJobTypeID", "1", "<JobType>装配</JobType>", "<JobType>焊接</JobType>", "2"},
    {&kSubCompanyType, "2.0.0.3", "2.0.0.4", "FProviderID", "900", "<Provider><Number>P1</Number>",
     "<Provider><Number>P2</Number><Name>乙供应商</Name></Provider>", "901"},
    {&kSubCompanyType, "2.0.0.3", "2.0.0.4", "FSuperiorID", "900", "<Superior><Number>P1</Number>",
     "<Superior><Number>C2</Number><Name>乙客户</Name></Superior>", "911"},
    {&kSubCompanyType, "2.9.9.9", "3.0.0.0", "FCorCustomer", "910", "<CorCustomer><Number>C1</Number>",
     "<CorCustomer><Number>C2</Number><Name>乙客户</Name></CorCustomer>", "911"},
    {&kSupplierType, "2.9.9.9", "3.0.0.0", "FPayTaxAcctID", "1", "<PayTaxAcctID><Number>2221</Number>",
     "<PayTaxAcctID><Number>2241</Number><Name>其他应付款</Name></PayTaxAcctID>", "2"},
    {&kSupplierType, "2.0.0.2", "2.0.0.3", "FAlarmPeriod", "'2024-03-01'", "<AlarmPeriod>2024-03-01</AlarmPeriod>",
     "<AlarmPeriod>2025-04-02</AlarmPeriod>", "2025-04-02"},
    {&kSupplierType, "2.0.0.6", "2.0.0.7", "FValueAddRate", "13", "<ValueAddRate>13</ValueAddRate>",
     "<ValueAddRate>6</ValueAddRate>", "6"},
    {&kWorkCenterType, "2.0.0.5", "2.0.0.6", "FCalID", "3", "<CalID>3</CalID>", "<CalID>7</CalID>", "999"},
};

TEST_F(ItemTypeFields, ServicePackGatesHoldInBothDirections) {
  int n = 0;
  for (const GateCase& c : kGates) {
    for (const char* version : {c.below, c.at}) {
      const bool holdsGate = version == c.at;
      SCOPED_TRACE(std::string(c.type->record) + "." + c.column + " at " + version);
      std::string path = accountSet("gate" + std::to_string(++n) + ".db", version);
      addItem(path, *c.type, std::string(", ") + c.column, std::string(", ") + c.stored);
      const std::string before = column(path, *c.type, c.column);

      Page page = exportOf(*c.type, path);
      ASSERT_TRUE(page.ok) << page.error;
      EXPECT_EQ(holds(page.xml, c.exported), holdsGate) << page.xml;

      Outcome imported = importRecord(path, *c.type, c.imported);
      ASSERT_TRUE(imported.ok) << imported.error;
      EXPECT_EQ(column(path, *c.type, c.column), holdsGate ? c.written : before);
    }
  }
}

TEST_F(ItemTypeFields, FeesTravelOnlyFromServicePack2002On) {
  for (const char* version : {"2.0.0.1", "2.0.0.2"}) {
    SCOPED_TRACE(version);
    std::string path = accountSet(std::string("fee") + version + ".db", version);
    addItem(path, kFeeType, ", FUnit", ", '次'");
    const bool served = std::string(version) == "2.0.0.2";
    Page page = exportOf(kFeeType, path);
    EXPECT_EQ(page.ok, served) << page.error;
    EXPECT_EQ(holds(page.xml, "<Unit>次</Unit>"), served) << page.xml;
    Outcome imported = importRecord(path, kFeeType, element("Unit", "小时"));
    EXPECT_EQ(imported.ok, served) << imported.error;
    if (!served) {
      EXPECT_EQ(imported.error, "只有 Q7 9.2 及以上版本的工业账套才支持费用的导入导出!");
    }
    EXPECT_EQ(column(path, kFeeType, "FUnit"), served ? "小时" : "次");
  }
}

// One record imported over a row: what each column holds afterwards.
struct ImportCase {
  const char* what;
  const ItemType* type;
  const char* columns;   // the row's own columns, and their SQL values
  const char* values;
  const char* elements;  // the record's own elements
  const char* shown;     // the columns read back afterwards
  const char* expected;
};

const ImportCase kImports[] = {
    {"an employee's hire and leave dates skip the empty-date text 0001-01-01 alone", &kEmployeeType,
     ", FHireDate, FLeaveDate, FBirthday", ", '2001-02-03', '2002-03-04', '1980-01-01'",
     "<Birthday>1981-05-06</Birthday><HireDate>0001-01-01</HireDate><LeaveDate>0001-01-01</LeaveDate>",
     "FHireDate, FLeaveDate, FBirthday", "2001-02-03,2002-03-04,1981-05-06"},
    {"any other date is written", &kEmployeeType, ", FHireDate", ", '2001-02-03'",
     "<HireDate>2007-05-01</HireDate><LeaveDate>2009-01-31</LeaveDate>", "FHireDate, FLeaveDate",
     "2007-05-01,2009-01-31"},
    {"a supplier's four dates skip both empty-date texts", &kSupplierType,
     ", FLastTradeDate, FLastReceiveDate, FPaperPeriod, FAlarmPeriod",
     ", '2020-01-01', '2020-02-01', '2020-03-01', '2020-04-01'",
     "<LastTradeDate>1899-12-30</LastTradeDate><LastReceiveDate>0001-01-01</LastReceiveDate>"
     "<PaperPeriod>0001-01-01</PaperPeriod><AlarmPeriod>1899-12-30</AlarmPeriod>",
     "FLastTradeDate, FLastReceiveDate, FPaperPeriod, FAlarmPeriod", "2020-01-01,2020-02-01,2020-03-01,2020-04-01"},
    {"a supplier's date of another text is written", &kSupplierType, ", FLastTradeDate", ", '2020-01-01'",
     "<LastTradeDate>2007-05-01</LastTradeDate>", "FLastTradeDate", "2007-05-01"},
    {"flags take the True and False that the export writes, and numbers", &kStockType, ", FMRPAvail, FIsStockMgr",
     ", 0, 1", "<MRPAvail>True</MRPAvail><IsStockMgr>False</IsStockMgr>", "FMRPAvail, FIsStockMgr", "True,False"},
    {"flags as numbers", &kStockType, ", FMRPAvail, FIsStockMgr", ", 0, 1",
     "<MRPAvail>1</MRPAvail><IsStockMgr>0</IsStockMgr>", "FMRPAvail, FIsStockMgr", "True,False"},
    {"an employee's credit-manager flag", &kEmployeeType, ", FIsCreditMgr", ", 0",
     "<IsCreditManage>True</IsCreditManage>", "FIsCreditMgr", "True"},
    {"a supplier without StockAssignee gets no receiving warehouse", &kSupplierType, ", FStockIDAssignee", ", 57",
     "<Phone>1</Phone>", "FStockIDAssignee, FPhone", "0,1"},
    {"a StockAssignee that matches no warehouse writes 0", &kSupplierType, ", FStockIDAssignee", ", 57",
     "<StockAssignee><Number>W9</Number><Name>无</Name></StockAssignee>", "FStockIDAssignee", "0"},
    {"a supplier's Corperate, credit days and amounts", &kSupplierType, "", "",
     "<Corperate>15</Corperate><LastRPAmount>250.5</LastRPAmount><CreditDays>30</CreditDays>",
     "FCorperate, FLastRPAmount, FCreditDays", "15,250.5,30"},
    {"a work centre's calendar becomes 999 whatever the document holds", &kWorkCenterType, ", FCalID, FNote",
     ", 3, 'kept'", "<CalID></CalID>", "FCalID, FNote", "999,kept"},
    {"a work centre without CalID keeps its calendar", &kWorkCenterType, ", FCalID", ", 3",
     "<FWorkNumber>12</FWorkNumber><FUnitCost>0.5</FUnitCost>", "FCalID, FWorkNumber, FUnitCost", "3,12,0.5"},
    {"a fee with only Remark keeps its type and unit", &kFeeType, ", FFeeType, FUnit, FRemark", ", 7, '次', 'old'",
     "<Remark>新</Remark>", "FFeeType, FUnit, FRemark", "7,次,新"},
    {"an empty text element empties its column", &kEmployeeType, ", FNote", ", 'old'", "<Note></Note>", "FNote", ""},
};

TEST_F(ItemTypeFields, WhatAnImportWritesIntoTheDetailRow) {
  int n = 0;
  for (const ImportCase& c : kImports) {
    SCOPED_TRACE(c.what);
    std::string path = accountSet("import" + std::to_string(++n) + ".db");
    addItem(path, *c.type, c.columns, c.values);
    Outcome imported = importRecord(path, *c.type, c.elements);
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(column(path, *c.type, c.shown), c.expected);
  }
}

// What the export leaves out: links of 0 and the supplier's Corperate of 0.
TEST_F(ItemTypeFields, ZeroLinksAndAZeroCorperateWriteNoElement) {
  struct Case {
    const ItemType* type;
    const char* columns;
    const char* values;
    std::vector<const char*> absent, present;
  };
  const Case cases[] = {
      {&kSupplierType, ", FCorperate, FStatus, FCyID, FTypeID, FAPAccountID", ", '0', 0, NULL, 0, 1",
       {"<Corperate>", "<Status>", "<SettleCurrency>", "<SupplierClass>"}, {"<APAccount>"}},
      {&kSupplierType, ", FCorperate", ", '15'", {}, {"<Corperate>15</Corperate>"}},
      {&kStockType, ", FSPGroupID, FEmpID, FMRPAvail", ", 0, 0, 1", {"<StockPlaceGroup>", "<StockAdmin>"},
       {"<MRPAvail>True</MRPAvail>"}},
      {&kEmployeeType, ", FJobTypeID, FDepartmentID", ", 0, 0", {"<JobType>", "<Department>"}, {}},
      {&kFeeType, ", FFeeType", ", 0", {"<FeeType>"}, {}},
      {&kWorkCenterType, ", FDeptID, FTeamTimeID, FCapacityCalType", ", 0, 0, NULL",
       {"<Department>", "<FTeamTimeID>", "<FCapacityCalType>"}, {}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type->record) + c.values);
    std::string path = accountSet("export" + std::to_string(++n) + ".db");
    addItem(path, *c.type, c.columns, c.values);
    Page page = exportOf(*c.type, path);
    ASSERT_TRUE(page.ok) << page.error;
    for (const char* element : c.absent) EXPECT_FALSE(holds(page.xml, element)) << element << " in " << page.xml;
    for (const char* element : c.present) EXPECT_TRUE(holds(page.xml, element)) << element << " not in " << page.xml;
  }
}

// A branch's superior department is an entry of the auxiliary data. In the source its id is also that of
// a customer; in the target the entry stands under another id: the copy must name the target's entry,
// found by its UUID or by its number and name, never the source's id nor an item.
TEST_F(ItemTypeFields, ABranchsSuperiorDepartmentArrivesAsTheTargetsEntryOfTheAuxiliaryData) {
  for (bool byUUID : {false, true}) {
    SCOPED_TRACE(byUUID ? "by UUID" : "by number and name");
    const std::string tag = byUUID ? "uuid" : "name";
    const std::string source = accountSet("superdept-source-" + tag + ".db");
    const std::string target = accountSet("superdept-target-" + tag + ".db");
    exec(source, "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName, UUID) VALUES (910, 32, 'D1', '总部', 'U-D1')");
    exec(target, "INSERT INTO t_SubMessage (FInterID, FTypeID, FID, FName, UUID) VALUES (7, 32, 'D1', '总部', 'U-D1')");
    addItem(source, kSubCompanyType, ", FSuperDeptID", ", 910");

    Page page = exportOf(kSubCompanyType, source);
    ASSERT_TRUE(page.ok) << page.error;
    EXPECT_TRUE(holds(page.xml, "<SuperDept><Number>D1</Number><Name>总部</Name>")) << page.xml;
    ObjectRef branches = CreateObject(kSubCompanyType.progID);
    branches->Let("CheckByUUID", Variant(byUUID));
    Imported imported = importXml(branches, props(target), page.xml);
    ASSERT_TRUE(imported.ok) << imported.error;
    EXPECT_EQ(rows(target, "SELECT s.FSuperDeptID FROM t_SonCompany s JOIN t_Item i ON i.FItemID = s.FItemID "
                           "WHERE i.UUID = 'U-01'"),
              "7");
  }
}

// A record fails with its error line and leaves nothing behind; the records around it are imported.
TEST_F(ItemTypeFields, ASupplierThatCannotBeWrittenFailsAloneWithItsLine) {
  struct Case {
    const char* what;
    const char* elements;
    const char* alter;  // done to the account set first
    const char* line;
  };
  const Case cases[] = {
      {"an empty number", "<LastTradeAmount></LastTradeAmount>", nullptr, "LastTradeAmount的值必须是数字:"},
      {"a text where a number belongs", "<MaxDealAmount>很多</MaxDealAmount>", nullptr, "MaxDealAmount的值必须是数字:很多"},
      {"a detail UPDATE that the database refuses", "<Branch>苏州</Branch>", "ALTER TABLE t_Supplier DROP COLUMN FBr",
       "执行错误的SQL语句:UPDATE t_Supplier SET "},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = accountSet("fail" + std::to_string(++n) + ".db");
    if (c.alter) execSqlite(path, c.alter);
    Outcome imported = importOf(kSupplierType, path,
                                {keys("01", "甲") + element("Phone", "1"), keys("02", "乙") + c.elements,
                                 keys("03", "丙") + element("Phone", "3")});
    EXPECT_FALSE(imported.ok);
    EXPECT_EQ(imported.errorCount, 1);
    EXPECT_TRUE(holds(imported.error, "导入供应商记录(Number:02,Name:乙,UUID:U-02)失败!")) << imported.error;
    EXPECT_TRUE(holds(imported.error, c.line)) << imported.error;
    EXPECT_EQ(rows(path, "SELECT i.FNumber, s.FPhone FROM t_Item i JOIN t_Supplier s ON s.FItemID = i.FItemID "
                         "WHERE i.FItemClassID = 8 ORDER BY i.FNumber"),
              "01,1;03,3");
  }
}

}  // namespace
}  // namespace quillane::testing
