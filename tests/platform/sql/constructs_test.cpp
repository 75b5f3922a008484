// The SQL Server constructs the library sends, one row each: the text goes in unchanged, and its
// effect is what the statement returns, or what the check query reads back afterwards.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/sql/procedures.h"
#include "platform/sql/database.h"
#include "sql_fixture.h"

namespace quillane::testing {
namespace {

struct Construct {
  const char* name;
  const char* statement;
  const char* check;     // a query run after the statement; nullptr: the statement's own rows
  const char* expected;  // rows as RenderRows writes them; "error 80040E2F" for a failure, then " then " and the check
};

const Construct kConstructs[] = {
    // TOP n, also in a derived table and with the count in parentheses
    {"top", "SELECT TOP 2 FNumber FROM t_Item ORDER BY FNumber", nullptr, "01;02"},
    {"top in derived table", "SELECT MAX(u.FNumber) FMT FROM ( SELECT TOP 2 * FROM t_Item ORDER BY FNumber) u",
     nullptr, "02"},
    {"top in parentheses", "SELECT TOP (1) FName FROM t_Item ORDER BY FItemID", nullptr, "Bolt"},
    {"distinct top", "SELECT DISTINCT TOP 1 FItemClassID FROM t_Item ORDER BY FItemClassID DESC", nullptr, "4"},
    {"top percent", "SELECT TOP 50 PERCENT * FROM t_Item", nullptr, "error 80040E14"},
    // binary literals: row versions of the fixture are 1, 2, 3
    {"binary literal", "SELECT FNumber FROM t_Item WHERE FModifyTime > 0x0000000000000002", nullptr, "C1"},
    {"binary 0x alone", "SELECT COUNT(*) FROM t_Item WHERE FModifyTime > 0x", nullptr, "3"},
    {"binary all ones", "SELECT COUNT(*) FROM t_Item WHERE FModifyTime < 0xFFFFFFFFFFFFFFFF", nullptr, "3"},
    {"binary odd digits", "SELECT 0x1, 0x", nullptr, "0x01,0x"},
    // a number glued to the keyword after it
    {"number before ORDER", "SELECT FNumber FROM t_Item WHERE FItemID <> 0ORDER BY FNumber DESC", nullptr, "C1;02;01"},
    {"number before AND", "SELECT FNumber FROM t_Item WHERE FItemClassID = 4AND FItemID = 2", nullptr, "02"},
    {"page query of the item engine",
     "SELECT TOP 100 * FROM t_Item WHERE (FSystemType=1) AND (FModifyTime>0x0000000000000001) AND FItemClassID=4 AND "
     "FItemID <> 0ORDER BY FModifyTime",
     nullptr, "2,4,02,Nut,True,0,1,0x0000000000000002"},
    {"page query with filter",
     "SELECT TOP 1 FNumber FROM t_Item WHERE (FModifyTime>0x0000000000000000) AND ((FNumber+FName) LIKE '0%') AND "
     "FItemClassID=4 AND FItemID <> 0ORDER BY FModifyTime",
     nullptr, "01"},
    // INSERT without INTO
    {"insert without into", "INSERT t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (4,1,'A','')",
     "SELECT FBarCode FROM t_BarCode", "A"},
    {"insert select without into", "INSERT t_BarCode SELECT FItemClassID, FItemID, FNumber, FName FROM t_Item WHERE FItemClassID=4",
     "SELECT FBarCode, FRemark FROM t_BarCode ORDER BY FBarCode", "01,Bolt;02,Nut"},
    // IsNull
    {"isnull", "SELECT IsNull(NULL, 'x'), ISNULL('a', 'x')", nullptr, "x,a"},
    {"isnull of an empty maximum", "SELECT IsNull(MAX(FModifyTime),0) as FMT FROM t_Item WHERE FItemID < 0", nullptr, "0"},
    // "+" joins texts, adds numbers, and passes NULL on
    {"plus on text", "SELECT FItemID,(FNumber+FName) as FNN From t_Item Where FItemID = 1", nullptr, "1,01Bolt"},
    {"plus on numbers", "SELECT FItemID + FItemClassID FROM t_Item WHERE FItemID = 3", nullptr, "4"},
    {"plus with null", "SELECT FNumber + NULL FROM t_Item WHERE FItemID = 1", nullptr, "NULL"},
    {"plus chains keep precedence", "SELECT 'n' + FNumber + '-' + FName, 2 + 3 * 4 - 1, 10 - 2 + 3 FROM t_Item WHERE FItemID = 2",
     nullptr, "n02-Nut,13,11"},
    {"plus of a number text and a number", "SELECT '1' + 1", nullptr, "2"},
    {"plus of a text and a number", "SELECT 'a' + 1", nullptr, "error 80040E07"},
    {"plus inside functions and CASE", "SELECT IsNull(FName + '!', ''), CASE WHEN FItemID = 1 THEN FNumber + 'x' END FROM t_Item WHERE FItemID = 1",
     nullptr, "Bolt!,01x"},
    {"plus in a WHERE", "SELECT FItemID FROM t_Item WHERE FNumber + FName = '02NUT'", nullptr, "2"},
    // batches
    {"batch split at semicolons",
     "INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode) VALUES (1,1,'a'); INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode) VALUES (1,1,'b');",
     "SELECT FBarCode FROM t_BarCode ORDER BY FBarCode", "a;b"},
    {"batch split at line breaks",
     "\r\nINSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FRemark) VALUES (4,1,'a','r')\r\nINSERT INTO t_BarCode "
     "(FTypeID,FItemID,FBarCode,FRemark) VALUES (4,1,'b','')",
     "SELECT FBarCode, FRemark FROM t_BarCode ORDER BY FBarCode", "a,r;b,"},
    {"batch without separators",
     "UPDATE t_ICItem SET FNumber =i.F1  FROM (SELECT FNumber F1,FItemID FID1,FParentID FPID1 FROM t_Item WHERE "
     "FNumber LIKE '0%' AND FItemClassID = 4) i WHERE FItemID=i.FID1   UPDATE t_ICItem SET FParentID =  7 WHERE FItemID = 2",
     "SELECT FNumber, FParentID FROM t_ICItem ORDER BY FItemID", "01,0;02,7"},
    {"insert select across a line break",
     " INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode) \r\n SELECT 9,FItemID,FNumber FROM t_Item WHERE FItemID=1",
     "SELECT FTypeID, FBarCode FROM t_BarCode", "9,01"},
    {"CASE ... END inside a statement",
     "UPDATE t_Item SET FName = CASE FItemID WHEN 1 THEN 'One' ELSE FName END WHERE FItemID < 3 UPDATE t_Item SET FDetail = 0 WHERE FItemID = 3",
     "SELECT FName, FDetail FROM t_Item ORDER BY FItemID", "One,True;Nut,True;Acme,False"},
    {"first rows of a batch", "UPDATE t_Item SET FName = 'X' WHERE FItemID = 1 SELECT FName FROM t_Item WHERE FItemID = 1 SELECT 5",
     nullptr, "X"},
    {"a failing batch changes nothing",
     "INSERT INTO t_Log VALUES ('x')\r\nINSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName) VALUES (1, 4, 'x', 'y')",
     "SELECT COUNT(*) FROM t_Log", "error 80040E2F then 0"},
    // IF [NOT] EXISTS, BEGIN ... END, ELSE
    {"if exists", "IF EXISTS (SELECT 1 FROM t_Item WHERE FNumber='01') UPDATE t_Item SET FName='Found' WHERE FNumber='01'",
     "SELECT FName FROM t_Item WHERE FItemID = 1", "Found"},
    {"if not exists that holds not",
     " IF NOT EXISTS (Select 1 from t_Item Where FItemClassID = 4 And FNumber ='01') \r\n INSERT INTO t_Item "
     "(FItemClassID,FNumber,FName) VALUES ( 4,'01','Dup')",
     "SELECT COUNT(*) FROM t_Item WHERE FNumber = '01'", "1"},
    {"if not exists begin end and the statement after",
     " IF NOT EXISTS (SELECT 1 FROM t_Item WHERE FNumber ='02' AND FItemClassID = 2001 )\r\n BEGIN \r\n INSERT INTO "
     "t_Item (FItemClassID,FNumber,FName) \r\n SELECT 2001,FNumber,FName FROM t_Item WHERE FNumber ='02' AND "
     "FItemClassID = 4 \r\n END \r\n UPDATE t_Item SET FParentID = 0 WHERE FNumber ='02' AND FItemClassID = 2001",
     "SELECT FItemClassID, FName FROM t_Item WHERE FNumber = '02' ORDER BY FItemClassID", "4,Nut;2001,Nut"},
    {"if else", "IF EXISTS (SELECT 1 FROM t_Item WHERE FItemID = 99) UPDATE t_Item SET FName = 'A' WHERE FItemID = 1 ELSE UPDATE t_Item SET FName = 'B' WHERE FItemID = 1",
     "SELECT FName FROM t_Item WHERE FItemID = 1", "B"},
    {"if with an expression", "IF (SELECT COUNT(*) FROM t_Item) > 2 SELECT 'many'", nullptr, "many"},
    {"end without begin", "UPDATE t_Item SET FName = 'A' END", nullptr, "error 80040E14"},
    // the system catalogue
    {"sysobjects table", "SELECT name, type FROM sysobjects WHERE name = 'T_ITEM' AND type = 'U'", nullptr, "t_Item,U"},
    {"sysobjects view", "SELECT type FROM sysobjects WHERE name = 'vwMaterial'", nullptr, "V"},
    {"sysobjects trigger", "SELECT name From sysobjects WHERE  name = 't_Item_Log' AND type = 'TR'", nullptr, "t_Item_Log"},
    {"sysobjects hides the engine", "SELECT COUNT(*) FROM sysobjects WHERE name LIKE 'quillane%'", nullptr, "0"},
    {"syscolumns", "SELECT name FROM syscolumns WHERE id=(SELECT id FROM sysobjects WHERE name='t_Item') AND name='fname'",
     nullptr, "FName"},
    {"object_id", "SELECT COUNT(*) FROM syscolumns WHERE id = object_id('t_BarCode')", nullptr, "4"},
    {"object_id of nothing", "SELECT CASE WHEN object_id('nosuch') IS NULL THEN 'none' END", nullptr, "none"},
    // DDL with SQL Server types
    {"alter table add",
     "ALTER TABLE t_BarCode ADD FQty smallint, FAmount money, FWhen datetime, FFlag bit, FRate decimal(28,10), "
     "FCode varchar(20), FCount int, FReal real, FFloat float",
     "SELECT name, lower(typename) FROM syscolumns WHERE id = object_id('t_BarCode') AND colid > 4 ORDER BY colid",
     "FQty,smallint;FAmount,money;FWhen,datetime;FFlag,bit;FRate,decimal(28,10);FCode,varchar(20);FCount,int;"
     "FReal,real;FFloat,float"},
    {"added text columns ignore case",
     "ALTER TABLE t_BarCode ADD FCode varchar(20)\r\nINSERT INTO t_BarCode (FTypeID,FItemID,FBarCode,FCode) VALUES (1,1,'b','abc')",
     "SELECT FBarCode FROM t_BarCode WHERE FCode = 'ABC'", "b"},
    {"add a column unless it is there",
     "IF NOT EXISTS (SELECT name FROM syscolumns WHERE id=(SELECT id FROM sysobjects WHERE name='t_Log') AND name='F_101')\r\n"
     "ALTER TABLE t_Log ADD F_101 varchar(255)\r\n"
     "IF NOT EXISTS (SELECT name FROM syscolumns WHERE id=(SELECT id FROM sysobjects WHERE name='t_Log') AND name='F_101')\r\n"
     "ALTER TABLE t_Log ADD F_101 varchar(255)",
     "SELECT COUNT(*) FROM syscolumns WHERE id = object_id('t_Log')", "2"},
    {"create table with timestamp",
     "CREATE TABLE t_Item_3001(FItemID int Not NULL PRIMARY KEY, FModifyTime TIMESTAMP NULL,FNumber varchar(80),FName "
     "varchar(255))\r\nINSERT INTO t_Item_3001 (FItemID,FNumber,FName) VALUES (1,'a','b')",
     "SELECT FModifyTime FROM t_Item_3001 WHERE FNumber = 'A'", "0x0000000000000004"},
    {"add a timestamp column", "INSERT INTO t_Log VALUES ('a')\r\nALTER TABLE t_Log ADD FStamp timestamp",
     "SELECT FText, FStamp FROM t_Log", "a,0x0000000000000004"},
    {"create table that exists", "CREATE TABLE t_Log (FText varchar(10))", nullptr, "error 80040E14"},
    {"identity never hands out an id again",
     "CREATE TABLE t_Seq (FID int IDENTITY(1,1) NOT NULL PRIMARY KEY, FText varchar(9))\r\n"
     "INSERT INTO t_Seq (FText) VALUES ('a') INSERT INTO t_Seq (FText) VALUES ('b')\r\n"
     "DELETE FROM t_Seq WHERE FID = 2 INSERT INTO t_Seq (FText) VALUES ('c')",
     "SELECT FID, FText FROM t_Seq ORDER BY FID", "1,a;3,c"},
    {"identity with a seed", "CREATE TABLE t_Seq (FText varchar(9), FID int IDENTITY (100, 1))\r\n"
     "INSERT INTO t_Seq (FText) VALUES ('a')", "SELECT FID FROM t_Seq", "100"},
    {"identity of another step", "CREATE TABLE t_Seq (FID int IDENTITY(1,2))", nullptr, "error 80040E14"},
    {"identity added to a table", "ALTER TABLE t_Log ADD FID int IDENTITY", nullptr, "error 80040E14"},
    // values written follow the column's declared type, whatever the statement's shape
    {"insert select converts", "INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode) SELECT FNumber, FItemID, FName FROM t_Item WHERE FItemClassID = 4",
     "SELECT FTypeID, typeof(FTypeID) FROM t_BarCode ORDER BY FTypeID", "1,integer;2,integer"},
    {"insert select refuses as a whole", "INSERT t_BarCode (FTypeID,FItemID,FBarCode) SELECT FNumber, FItemID, FName FROM t_Item",
     "SELECT COUNT(*) FROM t_BarCode", "error 80040E07 then 0"},
    {"insert select of all columns", "INSERT t_BarCode SELECT TOP 1 '5', FItemID, FName, NULL FROM t_Item ORDER BY FItemID",
     "SELECT FTypeID, typeof(FTypeID), FBarCode FROM t_BarCode", "5,integer,Bolt"},
    {"insert without a column list", "INSERT t_BarCode VALUES ('7', 1, 'b', NULL)", "SELECT typeof(FTypeID) FROM t_BarCode", "integer"},
    {"insert of several rows", "INSERT INTO t_BarCode (FTypeID,FItemID,FBarCode) VALUES (1,1,'a'),('x',1,'b')",
     "SELECT COUNT(*) FROM t_BarCode", "error 80040E07 then 0"},
    {"update from", "UPDATE t_ICItem SET FParentID = i.FNumber FROM (SELECT FNumber, FItemID FID FROM t_Item) i WHERE FItemID = i.FID",
     "SELECT FParentID, typeof(FParentID) FROM t_ICItem ORDER BY FItemID", "1,integer;2,integer"},
    {"update of several columns", "UPDATE t_Item SET FName = FName + '!', FDetail = 'False', FParentID = '' WHERE FItemID = 1",
     "SELECT FName, FDetail, FParentID FROM t_Item WHERE FItemID = 1", "Bolt!,False,0"},
    {"added column follows its type", "ALTER TABLE t_Log ADD FQty smallint\r\nINSERT INTO t_Log (FText, FQty) VALUES ('a', 99999)",
     "SELECT COUNT(*) FROM t_Log", "error 80040E57 then 0"},
    {"row version in an insert", "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName, FModifyTime) VALUES (9, 4, 'x', 'y', NULL)",
     nullptr, "error 80040E14"},
    {"row version in an update", "UPDATE t_Item SET FModifyTime = NULL", nullptr, "error 80040E14"},
    // triggers
    {"disable trigger", "ALTER TABLE t_Item DISABLE TRIGGER t_Item_Log\r\nDELETE FROM t_Item WHERE FItemID = 3",
     "SELECT COUNT(*) FROM t_Log", "0"},
    {"disable and enable trigger",
     "ALTER TABLE t_Item DISABLE TRIGGER t_Item_Log\r\nALTER TABLE t_Item ENABLE TRIGGER t_Item_Log\r\nDELETE FROM t_Item WHERE FItemID = 3",
     "SELECT FText FROM t_Log", "deleted C1"},
    {"disabled trigger stays a catalogue object",
     "IF EXISTS (SELECT name From sysobjects WHERE  name = 't_Item_Log' AND type = 'TR') ALTER TABLE t_Item DISABLE TRIGGER t_Item_Log",
     "SELECT type FROM sysobjects WHERE name = 't_Item_Log'", "TR"},
    {"disable twice", "ALTER TABLE t_Item DISABLE TRIGGER t_Item_Log ALTER TABLE t_Item DISABLE TRIGGER t_Item_Log",
     "SELECT COUNT(*) FROM sysobjects WHERE type = 'TR'", "1"},
    {"disable a trigger of another table", "ALTER TABLE t_Log DISABLE TRIGGER t_Item_Log", nullptr, "error 80040E37"},
    // stored procedures
    {"exec", "EXEC test_Record 'a', 5", "SELECT FText FROM t_Log", "a|5"},
    {"execute in any case", "Execute TEST_RECORD -1", "SELECT FText FROM t_Log", "-1"},
    {"exec of no procedure", "EXEC nosuch 1", nullptr, "error 80040E14"},
    // other SQL Server spellings
    {"national text", "SELECT FName FROM t_Item WHERE FName = N'bolt'", nullptr, "Bolt"},
    {"bracketed names", "SELECT [FName] FROM [t_Item] WHERE FItemID=1", nullptr, "Bolt"},
    {"comments", "SELECT FName -- the name\r\nFROM t_Item /* all /* nested */ */ WHERE FItemID=1", nullptr, "Bolt"},
    {"text compares without case", "SELECT FItemID FROM t_Item WHERE FNumber = 'c1' AND FName LIKE 'ac%'", nullptr, "3"},
    {"variables", "SELECT @x", nullptr, "error 80040E14"},
    {"unclosed text", "SELECT 'abc", nullptr, "error 80040E14"},
    {"unknown table", "SELECT * FROM t_Nothing", nullptr, "error 80040E37"},
    {"duplicate key", "INSERT INTO t_Item (FItemID, FItemClassID, FNumber, FName) VALUES (1, 4, 'x', 'y')", nullptr,
     "error 80040E2F"},
};

// A procedure of the tests: writes its arguments into t_Log, joined by "|".
const sql::ProcedureRegistrar recordArguments{"test_Record", [](sql::Database& db, std::span<const Variant> args) {
                                                std::string text;
                                                for (const Variant& a : args) text += (text.empty() ? "" : "|") + CStr(a);
                                                Variant value(text);
                                                db.run("INSERT INTO t_Log (FText) VALUES (?1)", {&value, 1});
                                              }};

std::string errorText(const AutomationError& e) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(e.number));
  return std::string("error ") + hex;
}

void PrintTo(const Construct& c, std::ostream* os) { *os << c.name; }

class Constructs : public ::testing::TestWithParam<Construct> {};

TEST_P(Constructs, RunOnSQLite) {
  const Construct& c = GetParam();
  SqlFixture db;
  std::string outcome;
  try {
    auto rows = db.connection().Execute(c.statement);
    if (!c.check) outcome = RenderRows(*rows);
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.source, "Microsoft OLE DB Provider for SQL Server");
    outcome = errorText(e);
  }
  if (c.check) {
    std::string checked = RenderRows(*db.connection().GetAnyRecordSet(c.check));
    outcome = outcome.empty() ? checked : outcome + " then " + checked;
  }
  EXPECT_EQ(outcome, c.expected) << c.statement;
}

INSTANTIATE_TEST_SUITE_P(Table, Constructs, ::testing::ValuesIn(kConstructs), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
});

}  // namespace
}  // namespace quillane::testing
