// The catalogue of item classes and the search codes of custom properties.
#include <gtest/gtest.h>

#include "itemtypes/item_class_fixture.h"
#include "platform/xml/TrzRecord.h"
#include "platform/xml/TrzRecords.h"
#include "support/automation_test.h"

namespace quillane::testing {
namespace {

class ItemClassCatalogue : public ItemClassTest {
 protected:
  void SetUp() override {
    ItemClassTest::SetUp();
    // Custom classes at the ends of both ranges, one of auxiliary properties, one without a name and
    // one whose name has no English text; 10000 lies outside the ranges.
    exec(path,
         "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FName_EN, FName_CHT, FType) VALUES "
         "(1000, 'A', '甲类', 'Class A', '甲類', 0), (1999, 'B', '乙类', 'Class B', '乙類', 0), "
         "(3000, 'C', '颜色', 'Colour', '顏色', 3), (3001, 'D', '', 'Nameless', '', 0), "
         "(9999, 'E', '戊类', NULL, '戊類', 0), (10000, 'F', '己类', 'Class F', '己類', 0), "
         "(2999, 'G', '庚类', 'Class G', '庚類', 4)");
  }
  // The listing as text: "id:name" per record, or the names, joined by ","; "Nothing" for no vector.
  std::string list(const char* member, bool bOnlyCustomer, const std::string& propsString, std::string* error = nullptr) {
    std::vector<Variant> args{propsString, bOnlyCustomer, ""};
    Variant result = classes->Call(member, args);
    if (error) *error = CStr(args[2]);
    const ObjectRef* object = result.tryAs<ObjectRef>();
    if (!object || !*object) return "Nothing";
    std::string text;
    for (const Variant& entry : *std::dynamic_pointer_cast<TrzRecords>(*object)) {
      if (!text.empty()) text += ",";
      if (auto record = entry.tryAs<ObjectRef>()) {
        auto r = std::dynamic_pointer_cast<TrzRecord>(*record);
        EXPECT_EQ(r->Key(1), "ICID");
        text += CStr(r->Item("ICID")) + ":" + CStr(r->Item("ICName"));
      } else {
        text += CStr(entry);
      }
    }
    return text;
  }
  bool isCustom(const std::string& name) { return CBool(CallByName(classes, "IsCustItemClass", {props(path), name})); }

  std::string path = newAccountSet();
};

TEST_F(ItemClassCatalogue, ListsTheClassesByTheirNames) {
  const std::string all = "客户,部门,职员,物料,仓库,计量单位,供应商,现金流量项目,分支机构,工作中心,甲类,乙类,成本对象,劳务输出,"
                          "成本项目,费用要素,费用,庚类,颜色,戊类,己类";
  for (const char* language : {"CHS", "EN", "CHT"}) {
    // The names are FName whatever language the props string names.
    const std::string propsString = props(path, std::string("UserID=16;AcctType=GY;Language=") + language);
    EXPECT_EQ(list("GetItemClassNames", false, propsString), all) << language;
    EXPECT_EQ(list("GetItemClassNames", true, propsString), "甲类,乙类,颜色,戊类") << language;
    // The records leave out the classes of auxiliary properties.
    EXPECT_EQ(list("GetItemClassNamesEx", true, propsString), "1000:甲类,1999:乙类,9999:戊类") << language;
    EXPECT_EQ(list("GetItemClassNamesEx", false, propsString),
              "1:客户,2:部门,3:职员,4:物料,5:仓库,7:计量单位,8:供应商,9:现金流量项目,10:分支机构,14:工作中心,1000:甲类,"
              "1999:乙类,2001:成本对象,2002:劳务输出,2003:成本项目,2004:费用要素,2014:费用,9999:戊类,10000:己类")
        << language;
  }
}

TEST_F(ItemClassCatalogue, AnAccountSetWithoutCustomClassesGivesAnEmptyList) {
  exec(path, "DELETE FROM t_ItemClass WHERE FItemClassID >= 1000 AND FItemClassID < 2000 OR FItemClassID >= 3000");
  EXPECT_EQ(list("GetItemClassNames", true, props(path)), "");
  EXPECT_EQ(list("GetItemClassNamesEx", true, props(path)), "");
}

TEST_F(ItemClassCatalogue, FailuresGiveNothingAndTheirText) {
  std::string error;
  EXPECT_EQ(list("GetItemClassNamesEx", false, "UserID=16", &error), "Nothing");
  EXPECT_TRUE(error.starts_with("错误号:5")) << error;
  exec(path, "DROP TABLE t_ItemClass");
  EXPECT_EQ(list("GetItemClassNames", false, props(path), &error), "Nothing");
  EXPECT_NE(error.find("t_ItemClass"), std::string::npos) << error;
  EXPECT_EQ(error.find("执行错误的SQL语句:"), std::string::npos) << error;
}

TEST_F(ItemClassCatalogue, TellsCustomClassesByTheirIdentifiers) {
  const std::pair<const char*, bool> cases[] = {
      {"物料", false}, {"商品", false}, {"无名类", true}, {"甲类", true},  {"乙类", true},  {"戊类", true},
      {"己类", false}, {"成本对象", false}, {"客户", false}, {"颜色", true}, {"庚类", false},
  };
  for (const auto& [name, custom] : cases) EXPECT_EQ(isCustom(name), custom) << name;
  // Goods and materials are never asked for: without t_ItemClass they still are no custom class.
  exec(path, "DROP TABLE t_ItemClass");
  EXPECT_FALSE(isCustom("物料"));
  EXPECT_EQ(ErrorOf([&] { isCustom("甲类"); }).source, "Microsoft OLE DB Provider for SQL Server");
}

TEST_F(ItemClassCatalogue, TellsCustomClassesByTheirNamesInTheUsersLanguage) {
  struct Case {
    const char* language;
    const char* name;
    bool custom;
  };
  // Goods and materials by their translations; other names against the name column of the language.
  const Case cases[] = {
      {"en", "Material", false}, {"en", "Goods", false},  {"en", "物料", true},     {"en", "Class A", true},
      {"en", "Class F", false},  {"en", "Customer", false}, {"en", "甲类", true},  {"cht", "物料", false},
      {"cht", "甲類", true},     {"cht", "客戶", false},  {"cht", "甲类", true},
  };
  for (const Case& c : cases) {
    useLanguage(c.language);
    EXPECT_EQ(isCustom(c.name), c.custom) << c.language << " " << c.name;
  }
}

TEST_F(ItemClassCatalogue, IsCustItemClassLetsItsErrorsThrough) {
  EXPECT_EQ(ErrorOf([&] { CallByName(classes, "IsCustItemClass", {std::string("UserID=16"), std::string("甲类")}); }).number, 5);
}

class SearchCodes : public ItemClassTest {
 protected:
  void SetUp() override {
    ItemClassTest::SetUp();
    exec(path,
         "INSERT INTO t_ItemClass (FItemClassID, FNumber, FName, FType) VALUES (3001, 'Z', 'Zone', 0)\r\n"
         "INSERT INTO t_SubMessage (FTypeID, FID, FName) VALUES (1, '01', '一般纳税人'), (55, '01', '行业'), "
         "(55, '02', '行业二')\r\n"
         "INSERT INTO com_SysType (FSysTypeID, FName) VALUES (56, '商业类别'), (2, '部门类别')");
  }
  // The codes are read over the connection of an earlier call of the object.
  void connect(const std::string& acctType) {
    std::vector<Variant> args{props(path, "UserID=16;AcctType=" + acctType), false, ""};
    classes->Call("GetItemClassNames", args);
  }
  std::string name(std::int32_t number) { return CStr(CallByName(classes, "GetNameBySearch", {number})); }
  std::int32_t number(const std::string& caption) { return CLng(CallByName(classes, "GetSearchByName", {caption})); }

  std::string path = newAccountSet();
};

TEST_F(SearchCodes, TranslateNumbersAndCaptionsBothWays) {
  connect("GY");
  const std::pair<std::int32_t, const char*> names[] = {
      {0, "--无--"}, {105, "科目"}, {120, "币别"}, {7, "计量单位"}, {2, "部门"}, {3001, "Zone"}, {55, "行业"}, {999, ""},
      // An item class and a type of auxiliary data both give "T1": the class, read first, keeps it.
      {1, "客户"},
  };
  for (const auto& [n, caption] : names) EXPECT_EQ(name(n), caption) << n;
  const std::pair<const char*, std::int32_t> numbers[] = {
      {" 科目 ", 105}, {"科 目", 0}, {"--无--", 0}, {"没有的", 0}, {"zone", 0}, {"Zone", 3001}, {"客户", 1},
      {"一般纳税人", 0}, {"行业", 55},
      // Two types of auxiliary data of one code: the first row read keeps it.
      {"行业二", 0},
  };
  for (const auto& [caption, n] : numbers) EXPECT_EQ(number(caption), n) << caption;
}

TEST_F(SearchCodes, CommercialAccountSetsTakeTheirTypesOfAuxiliaryDataFromTheirOwnTable) {
  connect("SY");
  EXPECT_EQ(name(56), "商业类别");
  EXPECT_EQ(name(55), "");
  EXPECT_EQ(name(2), "部门");
  EXPECT_EQ(number("商业类别"), 56);
}

TEST_F(SearchCodes, ATableThatCannotBeReadAnswersFromTheCodesReadBeforeIt) {
  // A new object has no connection to read the codes over: the four fixed codes answer.
  EXPECT_EQ(name(105), "科目");
  EXPECT_EQ(name(3001), "");
  EXPECT_EQ(number("币别"), 120);
  EXPECT_EQ(number("Zone"), 0);
  connect("GY");
  exec(path, "DROP TABLE t_SubMessage");
  EXPECT_EQ(number("Zone"), 3001);
  EXPECT_EQ(name(55), "");
}

}  // namespace
}  // namespace quillane::testing
